#include "editor/EntryForm.h"

TEntryForm::TEntryForm(TComponent* owner, const AnsiString& caption, int panelHeight) : TForm(owner) {
    SetCaption(caption);
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poDesktopCenter);
    SetClientWidth(330);
    SetClientHeight(panelHeight + 16);
    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetBounds(8, 8, 226, panelHeight);
    Panel1->SetBevelOuter(bvLowered);
    Button1 = NewControl<TButton>(this, this, "Button1");
    Button1->SetCaption("Применить"_a);
    Button1->SetHint("Добавить"_a);
    Button1->SetShowHint(true);
    Button1->SetDefault(true);
    Button1->ModalResult = mrOk;
    Button1->SetBounds(244, 8, 78, 25);
    Button2 = NewControl<TButton>(this, this, "Button2");
    Button2->SetCaption("Отмена"_a);
    Button2->SetHint("Отменить"_a);
    Button2->SetShowHint(true);
    Button2->SetCancel(true);
    Button2->ModalResult = mrCancel;
    Button2->SetBounds(244, 40, 78, 25);
}

TLabel* TEntryForm::FieldLabel(const char* name, const AnsiString& caption, int top) {
    TLabel* l = NewControl<TLabel>(this, Panel1, name);
    l->SetCaption(caption);
    l->SetLeft(8);
    l->SetTop(top);
    return l;
}
