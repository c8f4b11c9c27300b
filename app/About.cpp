#include "app/About.h"

#include "app/SplashSource.h"
#include "platform/Graphics.h"
#include "platform/FileUtils.h"

namespace {

TLabel* MakeLabel(TAboutBox* box, TWinControl* parent, const char* name, const AnsiString& caption, int x, int y) {
    TLabel* l = NewControl<TLabel>(box, parent, name);
    l->SetCaption(caption);
    l->SetLeft(x);
    l->SetTop(y);
    return l;
}

void MakeLink(TLabel* l) {
    l->Font()->SetColor(clBlue);
    l->Font()->SetStyle(TFontStyles() << fsUnderline);
    l->SetCursor(crHandPoint);
}

} // namespace

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {
    SetName("AboutBox");
    SetCaption("О программе"_a);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(247);
    SetClientHeight(285);

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetBounds(8, 8, 231, 234);
    Panel1->SetBevelOuter(bvLowered);

    ProgramIcon = NewControl<TImage>(this, Panel1, "ProgramIcon");
    ProgramIcon->SetBounds(8, 8, 65, 57);
    ProgramIcon->SetStretch(true);
    PaintProgramPicture(ProgramIcon->Canvas(), 65, 57);

    ProductName = MakeLabel(this, Panel1, "ProductName", "Графический редактор"_a, 80, 8);
    ProductName->Font()->SetName("Times New Roman");
    ProductName->Font()->SetHeight(-15);
    ProductName->Font()->SetColor(clNavy);
    ProductName->Font()->SetStyle(TFontStyles() << fsBold << fsItalic);
    Label1 = MakeLabel(this, Panel1, "Label1", "(логики работы контроллера"_a, 80, 28);
    Label2 = MakeLabel(this, Panel1, "Label2", "автоматики)"_a, 80, 44);
    Version = MakeLabel(this, Panel1, "Version", "Версия 1.3"_a, 80, 62);
    Copyright = MakeLabel(this, Panel1, "Copyright", "Редактор схем и конечных автоматов,"_a, 8, 80);
    Comments = MakeLabel(this, Panel1, "Comments", "транслятор и отладчик программ контроллера"_a, 8, 96);

    Memo1 = NewControl<TMemo>(this, Panel1, "Memo1");
    Memo1->SetBounds(7, 114, 217, 60);
    Memo1->SetReadOnly(true);
    Memo1->SetScrollBars(ssVertical);

    Label3 = MakeLabel(this, Panel1, "Label3", "По всем вопросам обращайтесь :"_a, 8, 180);
    Label6 = MakeLabel(this, Panel1, "Label6", "Поддержка:"_a, 8, 196);
    Label4 = MakeLabel(this, Panel1, "Label4", "support@example.org", 88, 196);
    MakeLink(Label4);
    Label4->OnClick = [this](TObject* s) { Label4Click(s); };
    Label7 = MakeLabel(this, Panel1, "Label7", "Веб сайт:"_a, 8, 212);
    Label5 = MakeLabel(this, Panel1, "Label5", "www.example.org", 88, 212);
    MakeLink(Label5);
    Label5->OnClick = [this](TObject* s) { Label5Click(s); };

    OKButton = NewControl<TButton>(this, this, "OKButton");
    OKButton->SetCaption("ДА"_a);
    OKButton->SetDefault(true);
    OKButton->SetCancel(true);
    OKButton->ModalResult = mrOk;
    OKButton->SetBounds(86, 252, 75, 25);

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TAboutBox::FormCreate(TObject*) {
    // The notes are optional; a file that exists but cannot be read is
    // reported by the application's handler and the memo stays empty.
    if (FileExists("readme.txt")) Memo1->Lines()->LoadFromFile("readme.txt");
}

void TAboutBox::Label4Click(TObject*) {
    UiPort().OpenUrl("mailto:"_a + Label4->Caption());
}

void TAboutBox::Label5Click(TObject*) {
    UiPort().OpenUrl("http://"_a + Label5->Caption());
}
