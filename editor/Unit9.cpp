#include "editor/Unit9.h"

#include "document/DriversInfo.h"
#include "editor/EditorHooks.h"
#include "editor/FindGlyph.h"
#include "model/Driver.h"
#include "platform/UiPort.h"

TForm9* Form9 = nullptr;

TForm9::TForm9(TComponent* owner) : TForm(owner) {
    SetName("Form9");
    SetCaption("Соединение"_a);
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(279);
    SetClientHeight(178);

    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1");
    PageControl1->SetBounds(4, 4, 271, 130);
    TabSheet1 = NewControl<TTabSheet>(this, nullptr, "TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption("Параметры"_a);
    Label1 = NewControl<TLabel>(this, TabSheet1, "Label1");
    Label1->SetCaption("Имя"_a);
    Label1->SetBounds(8, 8, 40, 16);
    NameBox = NewControl<TComboBox>(this, TabSheet1, "NameBox");
    NameBox->SetBounds(8, 26, 200, 21);
    NameBox->SetDropDownCount(16);
    NameBox->OnChange = [this](TObject* s) { NameBoxChange(s); };
    btFind = NewControl<TBitBtn>(this, TabSheet1, "btFind");
    btFind->SetBounds(220, 20, 33, 33);
    btFind->SetHint("Найти сигнал"_a);
    btFind->SetGlyph(MakeFindSignalGlyph().get());
    btFind->SetShowHint(true);
    btFind->OnClick = [this](TObject* s) { btFindClick(s); };
    EditComment = NewControl<TEdit>(this, TabSheet1, "EditComment");
    EditComment->SetBounds(8, 62, 245, 21);

    Button3 = NewControl<TButton>(this, this, "Button3");
    Button3->SetCaption("Применить"_a);
    Button3->SetDefault(true);
    Button3->ModalResult = mrOk;
    Button3->SetBounds(4, 144, 86, 27);
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    btAddToDebug = NewControl<TButton>(this, this, "btAddToDebug");
    btAddToDebug->SetCaption("В отладчик"_a);
    btAddToDebug->SetHint("Добавить вывод в отладчик"_a);
    btAddToDebug->SetShowHint(true);
    btAddToDebug->ModalResult = mrOk;
    btAddToDebug->SetBounds(96, 144, 86, 27);
    btAddToDebug->OnClick = [this](TObject* s) { btAddToDebugClick(s); };
    Button4 = NewControl<TButton>(this, this, "Button4");
    Button4->SetCaption("Отменить"_a);
    Button4->SetCancel(true);
    Button4->ModalResult = mrCancel;
    Button4->SetBounds(188, 144, 86, 27);

    // The dialog is only ever shown modally: it becomes the active window
    // exactly when it is shown. Run then, not when it is active again after a
    // window it opened, the refill cannot undo what its own handler just did.
    OnShow = [this](TObject* s) { FormActivate(s); };
}

TForm9::~TForm9() {
    if (Form9 == this) Form9 = nullptr;
}

void TForm9::LoadEntity(TVarDriver* element) {
    if (!element) return;
    NameBox->SetText(element->Name());
    EditComment->SetText(element->GetComment());
}

void TForm9::StoreEntity(TVarDriver* element) {
    if (!element) return;
    element->SetName(NameBox->Text());
    element->SetComment(EditComment->Text());
}

void TForm9::FormActivate(TObject*) {
    const AnsiString name = NameBox->Text();
    const AnsiString comment = EditComment->Text();
    PageControl1->SetActivePage(TabSheet1);
    NameBox->Clear();
    DriversInUse().GetVarBitNames(NameBox->Items());
    NameBox->SetText(name);
    NameBox->SelectAll();
    if (NameBox->CanFocus()) NameBox->SetFocus();
    EditComment->SetText(comment);
    shownName_ = name;
    // The search and debugger buttons show only when the frame offers them.
    btFind->SetVisible(SchemeFrame().SignalSearchPresent());
    btAddToDebug->SetVisible(SchemeFrame().DebuggerPresent());
}

void TForm9::NameBoxChange(TObject*) {
    const AnsiString name = NameBox->Text();
    AnsiString comment, before;
    if (DriversInUse().FindVarBitAnyCase(name, comment)) {
        EditComment->SetText(comment);
    } else if (DriversInUse().FindVarBitAnyCase(shownName_, before) && EditComment->Text() == before) {
        // The comment shown is another signal's (the one offered last): a
        // name the table does not know gets none of it, only what is typed.
        EditComment->SetText(AnsiString());
    }
    shownName_ = name;
}

bool TForm9::KeepSignal(bool updateComment) {
    const AnsiString name = NameBox->Text();
    const AnsiString comment = EditComment->Text();
    if (NameBox->Items()->IndexOf(name) < 0) return DriversInUse().AddVarBit(name, comment);
    return !updateComment || DriversInUse().SetVarBitComment(name, comment);
}

void TForm9::Button3Click(TObject*) {
    // A refusal keeps the dialog open: nothing is stored.
    if (!KeepSignal(true)) ModalResult = mrNone;
}

void TForm9::btAddToDebugClick(TObject*) {
    const AnsiString name = NameBox->Text();
    if (NameBox->Items()->IndexOf(name) < 0) {
        if (!KeepSignal(false)) {
            ModalResult = mrNone;
            return;
        }
        ShowMessage(" Этого сигнала нет в файле данных.\n Транслируйте проект (Ctrl+F9)"_a);
        return;
    }
    IFrameServices* frame = ModelHooks().Frame;
    const int kind = frame ? frame->AskSignalDirection(name) : -1;
    if (kind >= 0) SchemeFrame().AddSignalToDebug(name, kind);
}

void TForm9::btFindClick(TObject*) { SchemeFrame().FindSignal(NameBox->Text()); }
