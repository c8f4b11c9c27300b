#include "app/About.h"

#include <algorithm>

#include "app/SplashSource.h"
#include "app/Version.h"
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

} // namespace

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {
    SetName("AboutBox");
    SetCaption("О программе"_a);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
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
    Label1 = MakeLabel(this, Panel1, "Label1", "(логики работы контроллера"_a, 80, 30);
    Label2 = MakeLabel(this, Panel1, "Label2", "автоматики)"_a, 80, 46);
    Version = MakeLabel(this, Panel1, "Version", VersionText(), 80, 64);
    Copyright = MakeLabel(this, Panel1, "Copyright", "Редактор схем и конечных автоматов,"_a, 8, 84);
    Comments = MakeLabel(this, Panel1, "Comments", "транслятор и отладчик программ контроллера"_a, 8, 100);

    // The box is as wide as its longest line: nothing is cut at its edge.
    int right = 0;
    for (TLabel* l : {ProductName, Label1, Label2, Version, Copyright, Comments})
        right = std::max(right, l->Left() + l->Width());
    const int panelWidth = std::max(231, right + 8);
    Memo1 = NewControl<TMemo>(this, Panel1, "Memo1");
    Memo1->SetBounds(7, 122, panelWidth - 14, 60);
    Memo1->SetReadOnly(true);
    Memo1->SetScrollBars(ssVertical);
    Panel1->SetBounds(8, 8, panelWidth, 190);

    SetClientWidth(panelWidth + 16);
    SetClientHeight(Panel1->Top() + Panel1->Height() + 43);
    OKButton = NewControl<TButton>(this, this, "OKButton");
    OKButton->SetCaption("ДА"_a);
    OKButton->SetDefault(true);
    OKButton->SetCancel(true);
    OKButton->ModalResult = mrOk;
    OKButton->SetBounds((ClientWidth() - 75) / 2, Panel1->Top() + Panel1->Height() + 10, 75, 25);

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TAboutBox::FormCreate(TObject*) {
    // The notes are optional; a file that exists but cannot be read is
    // reported by the application's handler and the box still opens, its
    // memo empty.
    if (!FileExists("readme.txt")) return;
    try {
        Memo1->Lines()->LoadFromFile("readme.txt");
    } catch (Exception& e) {
        Memo1->Lines()->Clear();
        Application->HandleException(this, e);
    }
}
