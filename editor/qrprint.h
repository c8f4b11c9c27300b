#pragma once
// TReport1: the print preview ("Предварительный просмотр"). It shows the
// drawing of a scheme window or of a state-machine window, reduced to black
// and white, on a quarter-size image of the printer's page, at a preview
// scale, fitted to the page or as it is with a magnification, and prints it
// so. The windows are held by their alive tokens: once the window closes the
// page stays blank and nothing is printed.

#include <functional>
#include <memory>

#include "platform/Types.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TBitmap;
class TCanvas;
class TPrinter;

// A drawing in two colours on a white picture of width by height: what draw
// puts on it in any colour but white becomes black. The picture's copy mode
// is the inverting one, which the drawings of schemes expect.
void TwoColourPicture(TBitmap& picture, int width, int height, const std::function<void(TCanvas*)>& draw);
// The zoom percent at which a picture of width by height is drawn for target
// on a page: at the scale of the target (the smaller of its two ratios), so
// that its lines and letters are drawn at the printer's resolution rather
// than enlarged afterwards; never below 100 (a smaller target takes the
// picture reduced as it is).
int PrintZoom(const TRect& target, int width, int height);
// Prints a two-colour picture of width by height stretched into target on
// the canvas, drawn at zoom (draw is given the zoom), black and white only
// when monochrome.
void PrintPicture(TCanvas* canvas, const TRect& target, int width, int height, int zoom,
                  const std::function<void(TCanvas*, int zoom)>& draw, bool monochrome);

class TReport1 : public TForm {
public:
    explicit TReport1(TComponent* owner);
    ~TReport1() override;

    TPanel* Panel1;
    TRadioGroup* RadioGroup2; // "Ориентация"
    TGroupBox* GroupBox2;     // "Масштаб"
    TComboBox* ComboBox2;
    TRadioGroup* RadioGroup1; // "Позиция"
    TGroupBox* GroupBox3;     // "Увелич. картинку"
    TComboBox* ComboBox3;
    TSpeedButton* SpeedButton1;
    TButton* Button1;
    TGroupBox* GroupBox1; // "Бумага", hidden
    TComboBox* ComboBox1;
    TScrollBox* ScrollBox1;
    TPaintBox* PaintBox1;

    // Preview scale in percent.
    int PreviewScale = 100;

    // The window to preview (a scheme window or a state-machine window), shown.
    void PreviewScheme(TForm* window);
    void PreviewFSM(TForm* window);
    // Whether a window is being previewed and is still open.
    bool Previewing() const;

    void FormActivate(TObject* Sender);
    void PaintBox1Paint(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void RadioGroup2Click(TObject* Sender);
    void ComboBox1Change(TObject* Sender);
    void ComboBox2Change(TObject* Sender);
    void ComboBox3Change(TObject* Sender);
    // The page image takes the printer's page at the preview scale, a quarter size.
    void ResizePage();

private:
    // The extent of the drawing; false when no window is open to draw.
    bool Extent(int& maxX, int& maxY) const;
    // The change count of the document drawn (while Extent answers true).
    unsigned long long DocumentChanges() const;
    void Draw(TCanvas* canvas) const;
    int Magnification() const;

    TForm* schemeWindow_ = nullptr;
    std::weak_ptr<char> schemeAlive_;
    TForm* fsmWindow_ = nullptr;
    std::weak_ptr<char> fsmAlive_;
    // The page as last painted and what it was painted from, the document's
    // content included: drawing 10,000 elements anew for every repaint would
    // make the preview sluggish, and an edit must show at the next one.
    struct Cache;
    std::unique_ptr<Cache> cache_;
};

extern TReport1* Report1;
