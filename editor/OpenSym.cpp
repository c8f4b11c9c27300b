#include "editor/OpenSym.h"

#include "model/Symbol.h"
#include "platform/Canvas.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"

TfmOpenSymbolFile* fmOpenSymbolFile = nullptr;

namespace {

constexpr int kCollapsedWidth = 314;
constexpr int kExpandedWidth = 592;
const char* const kShowPreview = "Просмотр >>";
const char* const kHidePreview = "Просмотр <<";

} // namespace

TfmOpenSymbolFile::TfmOpenSymbolFile(TComponent* owner) : TForm(owner) {
    SetName("fmOpenSymbolFile");
    SetCaption("Символы"_a);
    SetBorderStyle(bsDialog);
    SetBorderIcons(0);
    SetPosition(poDesktopCenter);
    SetClientWidth(kCollapsedWidth);
    SetClientHeight(255);

    ExLabel1 = NewControl<TExLabel>(this, this, "ExLabel1");
    ExLabel1->SetCaption("Выберите файл символа"_a);
    ExLabel1->Font()->SetHeight(-16);
    ExLabel1->Font()->SetStyle(TFontStyles() << fsBold);
    ExLabel1->SetShadowSize(0);
    ExLabel1->SetBounds(8, 8, 298, 22);
    FilenameEdit = NewControl<TFilenameEdit>(this, this, "FilenameEdit");
    FilenameEdit->SetDefaultExt("sch");
    FilenameEdit->SetFilter("Файлы символов|*.tvy"_a);
    FilenameEdit->SetBounds(8, 40, 298, 21);
    FilenameEdit->OnChange = [this](TObject* s) { FilenameEditChange(s); };
    ExLabel2 = NewControl<TExLabel>(this, this, "ExLabel2");
    ExLabel2->SetCaption("Имя"_a);
    ExLabel2->SetShadowSize(0);
    ExLabel2->SetBounds(8, 76, 40, 16);
    Edit1 = NewControl<TEdit>(this, this, "Edit1");
    Edit1->SetBounds(52, 72, 160, 21);
    Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
    Edit1->SetText("Symbol");
    InsertIncrement = NewControl<TCheckBox>(this, this, "InsertIncrement");
    InsertIncrement->SetCaption("Вставка с увеличением"_a);
    InsertIncrement->SetBounds(8, 108, 220, 17);

    Button1 = NewControl<TButton>(this, this, "Button1");
    Button1->SetCaption("OK");
    Button1->SetDefault(true);
    Button1->SetBounds(8, 220, 92, 27);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2 = NewControl<TButton>(this, this, "Button2");
    Button2->SetCaption("Отмена"_a);
    Button2->SetCancel(true);
    Button2->ModalResult = mrCancel;
    Button2->SetBounds(108, 220, 92, 27);
    Button3 = NewControl<TButton>(this, this, "Button3");
    Button3->SetCaption(Utf8ToAnsi(kShowPreview));
    Button3->SetHint("Просмотр элемента"_a);
    Button3->SetShowHint(true);
    Button3->SetBounds(208, 220, 100, 27);
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };

    ScrollBox1 = NewControl<TScrollBox>(this, this, "ScrollBox1");
    ScrollBox1->SetBounds(kCollapsedWidth + 2, 2, 276, 251);
    PaintBox1 = NewControl<TPaintBox>(this, ScrollBox1, "PaintBox1");
    PaintBox1->SetColor(clBlack);
    PaintBox1->SetBounds(0, 0, 271, 246);
    PaintBox1->OnPaint = [this](TObject* s) { PaintBox1Paint(s); };

    OnShow = [this](TObject* s) { FormShow(s); };
}

TfmOpenSymbolFile::~TfmOpenSymbolFile() {
    if (fmOpenSymbolFile == this) fmOpenSymbolFile = nullptr;
}

bool TfmOpenSymbolFile::Expanded() const { return Button3->Caption() != Utf8ToAnsi(kShowPreview); }

void TfmOpenSymbolFile::FormShow(TObject*) {
    Edit1->SetText("Symbol");
    SymbolName = "Symbol";
}

void TfmOpenSymbolFile::Edit1Change(TObject*) {
    // An emptied edit keeps the last name.
    if (!Edit1->Text().IsEmpty()) SymbolName = Edit1->Text();
}

void TfmOpenSymbolFile::FilenameEditChange(TObject*) {
    if (Expanded()) BuildPreview();
}

void TfmOpenSymbolFile::Button1Click(TObject*) {
    const AnsiString bare = ExtractFileName(FilenameEdit->FileName());
    if (bare.Pos(".tvy") <= 1) return;
    SymbolName = Edit1->Text();
    InsertCounter = 0;
    ModalResult = mrOk;
}

void TfmOpenSymbolFile::Button3Click(TObject*) {
    if (!Expanded()) {
        SetClientWidth(kExpandedWidth);
        Button3->SetCaption(Utf8ToAnsi(kHidePreview));
        // A file chosen while the preview was closed is shown now.
        if (FilenameEdit->FileName() != previewFile_) BuildPreview();
        PaintBox1->Repaint();
    } else {
        SetClientWidth(kCollapsedWidth);
        Button3->SetCaption(Utf8ToAnsi(kShowPreview));
    }
}

void TfmOpenSymbolFile::BuildPreview() {
    const AnsiString file = FilenameEdit->FileName();
    // A name that names no file leaves the picture as it was.
    if (!FileExists(file)) return;
    previewFile_ = file;
    auto picture = std::make_unique<TBitmap>();
    picture->SetSize(1, 1);
    TPaintBoxOwner owner(picture->Canvas());
    {
        TSymbol symbol(&owner);
        symbol.LoadSymbolFile(file);
        const int w = symbol.GetWidth() + 150, h = symbol.GetHeight() + 150;
        picture->SetSize(w, h);
        picture->Canvas()->Brush()->SetColor(clBlack);
        picture->Canvas()->FillRect(Rect(0, 0, w, h));
        symbol.SetX(40);
        symbol.SetY(40);
        symbol.Changed = false;
        symbol.DrawTo(picture->Canvas(), false, 100);
    }
    preview_ = std::move(picture);
    PaintBox1->SetBounds(0, 0, preview_->Width(), preview_->Height());
    PaintBox1->Repaint();
}

void TfmOpenSymbolFile::PaintBox1Paint(TObject*) {
    TCanvas* c = PaintBox1->Canvas();
    c->Brush()->SetColor(clBlack);
    c->FillRect(PaintBox1->ClientRect());
    if (Expanded() && !FilenameEdit->Text().IsEmpty() && preview_) {
        c->CopyMode = cmSrcCopy;
        c->Draw(0, 0, preview_.get());
    }
}
