// TEditEx: the flat edit box.
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QWidget>

#include "platform/Canvas.h"
#include "platform/gui/Bridge.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExPaint.h"

namespace {

constexpr int kFrame = 3;

} // namespace

// Shows the border image over the edit's outer three pixels and lets the
// mouse through to the edit.
class TEditEx::Overlay : public QWidget {
public:
    Overlay(TEditEx* e, QWidget* parent) : QWidget(parent), edit(e) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }
    TEditEx* edit;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!edit->border_) return;
        QPainter p(this);
        const QImage& img = edit->border_->Image();
        QRegion ring(rect());
        ring -= rect().adjusted(kFrame, kFrame, -kFrame, -kFrame);
        p.setClipRegion(ring);
        p.drawImage(0, 0, img);
    }
};

TEditEx::TEditEx(TComponent* owner) : TCustomEdit(owner) {
    SetBorderStyle(bsNone);
    edit_->setFrame(false);
    edit_->setTextMargins(kFrame, kFrame, kFrame, kFrame);
    overlay_ = new Overlay(this, edit_);
    overlay_->show();
    SetHeight(19);
    RedrawBorder();
}

TEditEx::~TEditEx() = default;

void TEditEx::Loaded() {
    TCustomEdit::Loaded();
    FitHeight();
}

void TEditEx::FitHeight() {
    TBitmap probe;
    probe.Canvas()->Font()->Assign(Font());
    SetHeight(probe.Canvas()->TextHeight("Wg") + 6);
}

bool TEditEx::BorderLit() const {
    if (Focused()) return true;
    if (!mouseInControl_) return false;
    QWidget* f = QApplication::focusWidget();
    auto* other = f ? dynamic_cast<TEditEx*>(gebridge::ControlAround(f)) : nullptr;
    return !(other && other != this);
}

void TEditEx::RedrawBorder() {
    int w = std::max(Width(), 1), h = std::max(Height(), 1);
    if (!border_) border_ = std::make_unique<TBitmap>();
    border_->SetSize(w, h);
    TCanvas* c = border_->Canvas();
    TRect r = Rect(0, 0, w, h);
    FillSolid(c, r, Color());
    if (BorderLit()) {
        DrawEdgeLines(c, r, clBtnShadow, clBtnHighlight);
        InflateRect(r, -1, -1);
        FillSolid(c, Rect(r.Left, r.Top, r.Left + 1, r.Bottom), clBtnFace);
        FillSolid(c, Rect(r.Left, r.Top, r.Right, r.Top + 1), clBtnFace);
        FillSolid(c, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), cl3DLight);
        FillSolid(c, Rect(r.Right - 1, r.Top, r.Right, r.Bottom), cl3DLight);
        InflateRect(r, -1, -1);
        c->Brush()->SetColor(clWindow);
        c->FrameRect(r);
    } else {
        for (int i = 0; i < 2; ++i) {
            c->Brush()->SetColor(clBtnFace);
            c->FrameRect(r);
            InflateRect(r, -1, -1);
        }
        c->Brush()->SetColor(clWindow);
        c->FrameRect(r);
    }
    if (overlay_) {
        overlay_->setGeometry(0, 0, w, h);
        overlay_->raise();
        overlay_->update();
    }
}

void TEditEx::WndProc(TMessage& m) {
    TCustomEdit::WndProc(m);
    switch (m.Msg) {
    case CM_MOUSEENTER:
        mouseInControl_ = true;
        RedrawBorder();
        break;
    case CM_MOUSELEAVE:
        mouseInControl_ = false;
        RedrawBorder();
        break;
    case CM_ENTER:
    case CM_EXIT:
    case WM_SIZE:
        RedrawBorder();
        break;
    case CM_FONTCHANGED:
        if (!IsLoading()) FitHeight();
        break;
    case CM_ENABLEDCHANGED:
        SetColor(Enabled() ? clWindow : clBtnFace);
        RedrawBorder();
        break;
    default:
        break;
    }
}
