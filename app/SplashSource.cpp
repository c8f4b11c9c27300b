#include "app/SplashSource.h"

#include <array>

#include "app/Version.h"
#include "platform/FileUtils.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"

TSplashForm* SplashForm = nullptr;

void PaintProgramPicture(TCanvas* c, int width, int height) {
    c->Brush()->SetColor(TColor(0x00603010));
    c->FillRect(Rect(0, 0, width, height));
    // Two logic elements wired into a third, in the colours of a scheme.
    const int w = width / 5, h = height / 4;
    const std::array<TRect, 3> boxes{{Bounds(width / 10, height / 8, w, h),
                                      Bounds(width / 10, height * 5 / 8, w, h),
                                      Bounds(width * 3 / 5, height * 3 / 8, w, h)}};
    c->Pen()->SetColor(TColor(0x000000FF));
    c->Pen()->SetWidth(2);
    for (int i = 0; i < 2; ++i) {
        const TRect& from = boxes[std::size_t(i)];
        const int y = (from.Top + from.Bottom) / 2;
        const int midX = (from.Right + boxes[2].Left) / 2;
        const int toY = boxes[2].Top + (i + 1) * (boxes[2].Bottom - boxes[2].Top) / 3;
        c->MoveTo(from.Right, y);
        c->LineTo(midX, y);
        c->LineTo(midX, toY);
        c->LineTo(boxes[2].Left, toY);
    }
    c->Pen()->SetColor(clWhite);
    c->Brush()->SetColor(TColor(0x00A06020));
    for (const TRect& r : boxes) c->Rectangle(r);
}

TSplashForm::TSplashForm(TComponent* owner) : TForm(owner) {
    SetName("SplashForm");
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientWidth(457);
    SetClientHeight(353);

    ProgressBar = NewControl<TProgressBar>(this, this, "ProgressBar");
    ProgressBar->SetHeight(16);
    ProgressBar->SetAlign(alBottom);
    ProgressBar->SetMin(0);
    ProgressBar->SetMax(100);

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alClient);
    Panel1->SetBevelOuter(bvRaised);
    Panel1->SetBevelInner(bvLowered);

    Image1 = NewControl<TImage>(this, Panel1, "Image1");
    Image1->SetBounds(8, 8, 441, 150);
    Image1->SetStretch(true);
    PaintProgramPicture(Image1->Canvas(), 441, 150);

    Label1 = NewControl<TLabel>(this, Panel1, "Label1");
    Label1->SetCaption("Графический редактор электроавтоматики"_a);
    Label1->Font()->SetHeight(-16);
    Label1->Font()->SetStyle(TFontStyles() << fsBold);
    Label1->SetBounds(16, 168, 425, 20);
    Version = NewControl<TLabel>(this, Panel1, "Version");
    Version->SetCaption(VersionText());
    Version->Font()->SetStyle(TFontStyles() << fsBold);
    Version->SetBounds(16, 194, 200, 16);
    Label2 = NewControl<TLabel>(this, Panel1, "Label2");
    Label2->SetCaption("Загрузка программы..."_a);
    Label2->SetBounds(240, 194, 200, 16);

    ScrollText = NewControl<TMemo>(this, Panel1, "ScrollText");
    ScrollText->BorderStyle = bsNone;
    ScrollText->SetColor(clWhite);
    ScrollText->SetReadOnly(true);
    ScrollText->SetBounds(16, 218, 425, 112);

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TSplashForm::FormCreate(TObject*) {
    // The notes shown while the program starts are optional: a file that is
    // missing or cannot be read leaves the memo empty.
    if (FileExists("readme.txt")) {
        try {
            ScrollText->Lines()->LoadFromFile("readme.txt");
        } catch (const Exception&) {
            ScrollText->Lines()->Clear();
        }
    }
    ProgressBar->SetPosition(0);
}
