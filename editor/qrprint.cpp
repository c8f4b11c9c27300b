#include "editor/qrprint.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

#include "document/EditorChild.h"
#include "document/Scheme.h"
#include "editor/EditorHooks.h"
#include "fsm/FsmView.h"
#include "fsm/fsmScheme.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/gui/Dialogs.h"

TReport1* Report1 = nullptr;

void TwoColourPicture(TBitmap& picture, int width, int height, const std::function<void(TCanvas*)>& draw) {
    picture.SetSize(width, height);
    TCanvas* canvas = picture.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, width, height));
    canvas->CopyMode = cmSrcInvert;
    draw(canvas);
    picture.Mask(clWhite);
}

int PrintZoom(const TRect& target, int width, int height) {
    if (width <= 0 || height <= 0) return 100;
    const int64_t zx = int64_t(target.Width()) * 100 / width;
    const int64_t zy = int64_t(target.Height()) * 100 / height;
    return int(std::clamp<int64_t>(std::min(zx, zy), 100, 100000));
}

void PrintPicture(TCanvas* canvas, const TRect& target, int width, int height, int zoom,
                  const std::function<void(TCanvas*, int zoom)>& draw, bool monochrome) {
    TBitmap picture;
    TwoColourPicture(picture, int(int64_t(width) * zoom / 100), int(int64_t(height) * zoom / 100),
                     [&](TCanvas* c) { draw(c, zoom); });
    if (monochrome) picture.SetMonochrome(true);
    canvas->CopyMode = cmSrcCopy;
    canvas->StretchDraw(target, &picture);
}

struct TReport1::Cache {
    // The window, its document's change count, the extent, the scale, the
    // magnification, the position and the page's size.
    using Key = std::tuple<TForm*, unsigned long long, int, int, int, int, int, int, int>;
    Key key{};
    bool valid = false;
    TBitmap page;
};

TReport1::TReport1(TComponent* owner) : TForm(owner), cache_(std::make_unique<Cache>()) {
    SetName("Report1");
    SetCaption("Предварительный просмотр"_a);
    SetBounds(Left(), Top(), 787, 546);

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(65);
    Panel1->SetBevelOuter(bvNone);

    RadioGroup2 = NewControl<TRadioGroup>(this, Panel1, "RadioGroup2");
    RadioGroup2->SetCaption("Ориентация"_a);
    RadioGroup2->SetBounds(4, 2, 105, 58);
    RadioGroup2->Items()->Add("Книжная"_a);
    RadioGroup2->Items()->Add("Альбомная"_a);
    RadioGroup2->SetItemIndex(0);

    GroupBox2 = NewControl<TGroupBox>(this, Panel1, "GroupBox2");
    GroupBox2->SetCaption("Масштаб"_a);
    GroupBox2->SetHint("Масштаб просмотра"_a);
    GroupBox2->SetShowHint(true);
    GroupBox2->SetBounds(114, 2, 90, 58);
    ComboBox2 = NewControl<TComboBox>(this, GroupBox2, "ComboBox2");
    ComboBox2->SetStyle(csDropDownList);
    for (const char* s : {"25", "50", "75", "100", "200", "400"}) ComboBox2->Items()->Add(s);
    ComboBox2->SetBounds(8, 24, 74, 21);

    RadioGroup1 = NewControl<TRadioGroup>(this, Panel1, "RadioGroup1");
    RadioGroup1->SetCaption("Позиция"_a);
    RadioGroup1->SetBounds(209, 2, 115, 58);
    RadioGroup1->Items()->Add("На страницу"_a);
    RadioGroup1->Items()->Add("Как есть"_a);
    RadioGroup1->SetItemIndex(0);

    GroupBox3 = NewControl<TGroupBox>(this, Panel1, "GroupBox3");
    GroupBox3->SetCaption("Увелич. картинку"_a);
    GroupBox3->SetHint("Масштаб картинки на листе|Увеличить/уменьшить картинку на листе"_a);
    GroupBox3->SetShowHint(true);
    GroupBox3->SetBounds(329, 2, 120, 58);
    ComboBox3 = NewControl<TComboBox>(this, GroupBox3, "ComboBox3");
    ComboBox3->SetStyle(csDropDownList);
    for (int k = 1; k <= 8; ++k) ComboBox3->Items()->Add(IntToStr(k));
    ComboBox3->SetBounds(8, 24, 104, 21);

    SpeedButton1 = NewControl<TSpeedButton>(this, Panel1, "SpeedButton1");
    SpeedButton1->SetCaption(" Печать"_a);
    SpeedButton1->SetBounds(456, 18, 90, 30);

    GroupBox1 = NewControl<TGroupBox>(this, Panel1, "GroupBox1");
    GroupBox1->SetCaption("Бумага"_a);
    GroupBox1->SetBounds(552, 2, 90, 58);
    GroupBox1->SetVisible(false);
    ComboBox1 = NewControl<TComboBox>(this, GroupBox1, "ComboBox1");
    ComboBox1->SetStyle(csDropDownList);
    ComboBox1->Items()->Add("А4"_a);
    ComboBox1->Items()->Add("А3"_a);
    ComboBox1->SetBounds(8, 24, 74, 21);

    Button1 = NewControl<TButton>(this, Panel1, "Button1");
    Button1->SetCaption("Выход"_a);
    Button1->SetBounds(Panel1->Width() - 95, 18, 85, 30);
    Button1->SetAnchors(TAnchors(akTop) | TAnchors(akRight));

    ScrollBox1 = NewControl<TScrollBox>(this, this, "ScrollBox1");
    ScrollBox1->SetAlign(alClient);
    PaintBox1 = NewControl<TPaintBox>(this, ScrollBox1, "PaintBox1");
    PaintBox1->SetBounds(32, 8, 150, 210);
    PaintBox1->SetColor(clWhite);

    OnShow = [this](TObject* s) { FormActivate(s); };
    PaintBox1->OnPaint = [this](TObject* s) { PaintBox1Paint(s); };
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    RadioGroup2->OnClick = [this](TObject* s) { RadioGroup2Click(s); };
    ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };
    ComboBox2->OnChange = [this](TObject* s) { ComboBox2Change(s); };
    ComboBox3->OnChange = [this](TObject* s) { ComboBox3Change(s); };
}

TReport1::~TReport1() {
    if (Report1 == this) Report1 = nullptr;
}

void TReport1::PreviewScheme(TForm* window) {
    cache_->valid = false;
    schemeWindow_ = window;
    schemeAlive_ = window ? window->Alive() : std::weak_ptr<char>();
    Show();
    ResizePage();
    PaintBox1->Repaint();
}

void TReport1::PreviewFSM(TForm* window) {
    cache_->valid = false;
    fsmWindow_ = window;
    fsmAlive_ = window ? window->Alive() : std::weak_ptr<char>();
    // A scheme window set before would win over the state machine.
    schemeWindow_ = nullptr;
    schemeAlive_.reset();
    Show();
    ResizePage();
    PaintBox1->Repaint();
}

bool TReport1::Previewing() const {
    if (schemeWindow_) return !schemeAlive_.expired();
    return fsmWindow_ && !fsmAlive_.expired();
}

bool TReport1::Extent(int& maxX, int& maxY) const {
    maxX = maxY = 0;
    if (!Previewing()) return false;
    if (schemeWindow_) {
        auto* s = dynamic_cast<ISchemeChild*>(schemeWindow_);
        if (!s || !s->SchemeDocument()) return false;
        s->SchemeDocument()->GetExtent(maxX, maxY);
        return true;
    }
    auto* f = dynamic_cast<IFsmChild*>(fsmWindow_);
    if (!f || !f->FsmDocument()) return false;
    f->FsmDocument()->GetExtent(&maxX, &maxY);
    return true;
}

unsigned long long TReport1::DocumentChanges() const {
    if (auto* s = schemeWindow_ ? dynamic_cast<ISchemeChild*>(schemeWindow_) : nullptr)
        return s->SchemeDocument() ? s->SchemeDocument()->ChangeCount() : 0;
    auto* f = dynamic_cast<IFsmChild*>(fsmWindow_);
    return f && f->FsmDocument() ? f->FsmDocument()->ChangeCount() : 0;
}

void TReport1::Draw(TCanvas* canvas) const {
    if (auto* s = schemeWindow_ ? dynamic_cast<ISchemeChild*>(schemeWindow_) : nullptr) s->PrintSchemeTo(canvas);
    else if (auto* f = dynamic_cast<IFsmChild*>(fsmWindow_)) f->PrintSchemeTo(canvas);
}

int TReport1::Magnification() const { return std::max(1, ComboBox3->Text().ToIntDef(1)); }

void TReport1::FormActivate(TObject*) {
    // Each showing starts at 100 % on A4, the picture as it is.
    PreviewScale = 100;
    ComboBox1->SetItemIndex(0);
    ComboBox2->SetItemIndex(3);
    ComboBox3->SetItemIndex(0);
    ResizePage();
}

void TReport1::ResizePage() {
    TPrinter* printer = Printer();
    const int w = printer->PageWidth() * PreviewScale / 100 / 4;
    const int h = printer->PageHeight() * PreviewScale / 100 / 4;
    if (PaintBox1->Width() != w || PaintBox1->Height() != h) PaintBox1->SetBounds(PaintBox1->Left(), PaintBox1->Top(), w, h);
    PaintBox1->Repaint();
}

void TReport1::PaintBox1Paint(TObject*) {
    TCanvas* canvas = PaintBox1->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(canvas->ClipRect());
    int maxX = 0, maxY = 0;
    if (!Extent(maxX, maxY)) {
        cache_->valid = false;
        return;
    }
    const int k = Magnification();
    const int s = PreviewScale;
    const bool asIs = RadioGroup1->ItemIndex() == 1;
    TRect target = asIs ? Rect((s * 20 / 100) / 4, (s * 20 / 100) / 4, (s * k * maxX / 100) / 4 + (s * 50 / 100) / 4,
                               (s * k * maxY / 100) / 4 + (s * 50 / 100) / 4)
                        : Rect(20, 20, PaintBox1->Width() - 20, PaintBox1->Height() - 20);
    TForm* window = schemeWindow_ ? schemeWindow_ : fsmWindow_;
    const Cache::Key key{window, DocumentChanges(), maxX, maxY, s, k, asIs ? 1 : 0, PaintBox1->Width(),
                         PaintBox1->Height()};
    if (!cache_->valid || cache_->key != key) {
        TBitmap drawing;
        TwoColourPicture(drawing, maxX + 30, maxY + 30, [this](TCanvas* c) { Draw(c); });
        TBitmap& page = cache_->page;
        page.SetSize(PaintBox1->Width(), PaintBox1->Height());
        page.Canvas()->Brush()->SetColor(clWhite);
        page.Canvas()->FillRect(Rect(0, 0, page.Width(), page.Height()));
        page.Canvas()->CopyMode = cmSrcCopy;
        page.Canvas()->StretchDraw(target, &drawing);
        cache_->key = key;
        cache_->valid = true;
    }
    const TCopyMode mode = canvas->CopyMode;
    canvas->CopyMode = cmSrcCopy;
    canvas->Draw(0, 0, &cache_->page);
    canvas->CopyMode = mode;
}

void TReport1::SpeedButton1Click(TObject*) {
    int maxX = 0, maxY = 0;
    // A window that has closed leaves nothing to print.
    if (!Extent(maxX, maxY)) return;
    if (!SchemeFrame().PrintDialog()->Execute()) return;
    if (!Extent(maxX, maxY)) return;
    const int k = Magnification();
    TPrinter* printer = Printer();
    printer->SetOrientation(RadioGroup2->ItemIndex() == 1 ? poLandscape : poPortrait);
    const TRect target = RadioGroup1->ItemIndex() == 1
                             ? Rect(40, 40, k * maxX + 40, k * maxY + 40)
                             : Rect(20, 20, printer->PageWidth() - 20, printer->PageHeight() - 20);
    // A scheme is drawn at the page's scale; a state machine's pictures are
    // drawn at their own size and stretched.
    auto* scheme = schemeWindow_ ? dynamic_cast<ISchemeChild*>(schemeWindow_) : nullptr;
    const int zoom = scheme ? PrintZoom(target, maxX + 30, maxY + 30) : 100;
    printer->Title = "Печать схемы"_a;
    printer->BeginDoc();
    PrintPicture(printer->Canvas(), target, maxX + 30, maxY + 30, zoom,
                 [&](TCanvas* c, int z) {
                     if (scheme) scheme->PrintSchemeTo(c, z);
                     else Draw(c);
                 },
                 true);
    printer->EndDoc();
}

void TReport1::Button1Click(TObject*) { Close(); }

void TReport1::RadioGroup1Click(TObject*) { PaintBox1->Repaint(); }

void TReport1::RadioGroup2Click(TObject*) {
    Printer()->SetOrientation(RadioGroup2->ItemIndex() == 1 ? poLandscape : poPortrait);
    ResizePage();
}

void TReport1::ComboBox1Change(TObject*) {
    // Only A4 is there to print on.
    if (ComboBox1->ItemIndex() == 0) ResizePage();
}

void TReport1::ComboBox2Change(TObject*) {
    PreviewScale = ComboBox2->Text().ToIntDef(100);
    ResizePage();
}

void TReport1::ComboBox3Change(TObject*) { PaintBox1->Repaint(); }
