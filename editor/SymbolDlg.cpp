#include "editor/SymbolDlg.h"

#include "editor/ElementDlg.h"
#include "model/Link.h"

TForm3* Form3 = nullptr;
TForm6* Form6 = nullptr;
TfmPrewIm* fmPrewIm = nullptr;

// ---- what to do with a symbol ----------------------------------------------------------------

TForm3::TForm3(TComponent* owner) : TForm(owner) {
    SetName("Form3");
    SetCaption("Свойства символа"_a);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(330);
    SetClientHeight(176);
    ExLabel1 = NewControl<TExLabel>(this, this, "ExLabel1");
    ExLabel1->SetCaption("Выберите операцию из списка"_a);
    ExLabel1->SetShadowSize(1);
    ExLabel1->SetShadowColor(clWhite);
    ExLabel1->SetShadowPos(spRightBottom);
    ExLabel1->SetBounds(8, 8, 300, 18);
    Check = NewControl<TRadioGroup>(this, this, "Check");
    Check->SetBounds(8, 30, 314, 100);
    for (const char* item : {"Обновить (считать символ из файла)", "Открыть схему символа", "Редактировать свойства"})
        Check->Items()->Add(Utf8ToAnsi(item));
    Check->SetItemIndex(1);
    Button1 = NewControl<TButton>(this, this, "Button1");
    Button1->SetCaption("ОК"_a);
    Button1->SetDefault(true);
    Button1->ModalResult = mrOk;
    Button1->SetBounds(8, 140, 100, 27);
    Button2 = NewControl<TButton>(this, this, "Button2");
    Button2->SetCaption("Выход"_a);
    Button2->SetCancel(true);
    Button2->ModalResult = mrCancel;
    Button2->SetBounds(222, 140, 100, 27);
    SetActiveControl(Check);
}

TForm3::~TForm3() {
    if (Form3 == this) Form3 = nullptr;
}

// ---- a wire ----------------------------------------------------------------------------------

TForm6::TForm6(TComponent* owner) : TForm(owner) {
    SetName("Form6");
    SetCaption("Свойства связи"_a);
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(264);
    SetClientHeight(168);
    GroupBox1 = NewControl<TGroupBox>(this, this, "GroupBox1");
    GroupBox1->SetCaption("Имя"_a);
    GroupBox1->SetBounds(8, 6, 248, 50);
    Name = NewControl<TEdit>(this, GroupBox1, "Name");
    Name->SetBounds(8, 20, 232, 21);
    GroupBox2 = NewControl<TGroupBox>(this, this, "GroupBox2");
    GroupBox2->SetCaption("Имя цепи"_a);
    GroupBox2->SetBounds(8, 62, 248, 50);
    Chain = NewControl<TEdit>(this, GroupBox2, "Chain");
    Chain->SetBounds(8, 20, 232, 21);
    Bevel1 = NewControl<TBevel>(this, this, "Bevel1");
    Bevel1->SetShape(bsTopLine);
    Bevel1->SetBounds(8, 122, 248, 4);
    MakeApplyCancel(this, "Button1", "Button2", 132, 100, Button1, Button2);
    SetActiveControl(Name);
}

TForm6::~TForm6() {
    if (Form6 == this) Form6 = nullptr;
}

void TForm6::LoadEntity(TLink* link) {
    if (!link) return;
    Name->SetText(link->Name());
    Chain->SetText(link->ChainName());
}

void TForm6::StoreEntity(TLink* link) {
    if (!link) return;
    link->SetName(Name->Text());
    // Only a name the user typed renames the chain: a generated one stays
    // generated.
    if (!Chain->Modified) return;
    if (TChain* chain = link->Chain()) chain->SetName(Chain->Text());
    else link->SetChain(Chain->Text(), 0);
}

// ---- the image form --------------------------------------------------------------------------

TfmPrewIm::TfmPrewIm(TComponent* owner) : TForm(owner) {
    SetName("fmPrewIm");
    SetCaption("Просмотр изображения"_a);
    SetClientWidth(200);
    SetClientHeight(160);
    Image1 = NewControl<TImage>(this, this, "Image1");
    Image1->SetBounds(0, 0, 200, 160);
}

TfmPrewIm::~TfmPrewIm() {
    if (fmPrewIm == this) fmPrewIm = nullptr;
}
