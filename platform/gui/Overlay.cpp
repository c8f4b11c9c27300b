#include "platform/gui/Overlay.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <vector>

#include "platform/Canvas.h"
#include "platform/QtText.h"
#include "platform/gui/Controls.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000u;

bool Drawn(uint32_t pixel) { return (pixel & 0xFFFFFFu) != 0; }

// The widget above a control's client area: it shows the layer combined with
// what the control and its children painted under it.
class OverWidget : public QWidget {
public:
    OverWidget(QWidget* parent, const QImage* layer) : QWidget(parent), layer_(layer) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    // The control and its children under the widget are painted first (the
    // widget is not opaque), so the layer combines with their picture.
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(e->rect().topLeft(), *layer_, e->rect());
    }

private:
    const QImage* layer_;
};

// The window above the desktop: shaped to the drawn pixels, showing them as
// they are.
class DesktopWindow : public QWidget {
public:
    explicit DesktopWindow(const QImage* layer)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput |
                               Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
          layer_(layer) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
    }
    QPoint origin; // the layer's (0, 0) on the screen

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        QRect area = e->rect().translated(pos() - origin);
        p.drawImage(e->rect().topLeft(), *layer_, area);
    }

private:
    const QImage* layer_;
};

} // namespace

class TOverlay::Layer {
public:
    explicit Layer(TWinControl* over) : over_(over), canvas_(std::make_unique<TCanvas>()) {
        QRect area;
        if (over) {
            alive_ = over->Alive();
            area = QRect(0, 0, std::max(over->ClientWidth(), 1), std::max(over->ClientHeight(), 1));
        } else {
            QScreen* s = QGuiApplication::primaryScreen();
            area = s ? s->virtualGeometry() : QRect(0, 0, 1, 1);
        }
        origin_ = area.topLeft();
        image_ = QImage(area.size(), QImage::Format_RGB32);
        image_.fill(kBlack);
        canvas_->SetImage(&image_);
        // The desktop layer's coordinates are screen coordinates.
        if (!over && origin_ != QPoint(0, 0)) canvas_->SetViewport(Bounds(-origin_.x(), -origin_.y(), area.width(), area.height()));
        canvas_->OnChange = [this](TObject*) { Schedule(); };
    }
    ~Layer() {
        delete window_;
        delete over_widget_.data();
    }

    TCanvas* Canvas() { return canvas_.get(); }
    const QImage& Image() const { return image_; }

    void Clear() {
        image_.fill(kBlack);
        Update();
    }

    // The drawn rows and their extent, in layer pixels.
    QRect Scan() const {
        int w = image_.width(), h = image_.height();
        if (black_.size() != std::size_t(w)) black_.assign(std::size_t(w), kBlack);
        int top = -1, bottom = -1, left = w, right = -1;
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(image_.constScanLine(y));
            if (std::memcmp(row, black_.data(), std::size_t(w) * 4) == 0) continue;
            if (top < 0) top = y;
            bottom = y;
            int a = 0;
            while (a < w && !Drawn(row[a])) ++a;
            int b = w - 1;
            while (b > a && !Drawn(row[b])) --b;
            left = std::min(left, a);
            right = std::max(right, b);
        }
        return top < 0 ? QRect() : QRect(left, top, right - left + 1, bottom - top + 1);
    }

    QRect DrawnRect() const {
        QRect r = Scan();
        return r.isNull() ? r : r.translated(origin_);
    }

    bool Showing() const {
        if (over_) return over_widget_ && over_widget_->isVisible();
        return window_ && window_->isVisible();
    }

    // Several figures in a row show once.
    void Schedule() {
        if (pending_) return;
        pending_ = true;
        QTimer::singleShot(0, [this, guard = std::weak_ptr<bool>(token_)] {
            if (!guard.expired()) Update();
        });
    }

    void Update() {
        pending_ = false;
        QRect drawn = Scan();
        if (over_) UpdateOver(drawn);
        else UpdateDesktop(drawn);
    }

private:
    void UpdateOver(const QRect& drawn) {
        if (alive_.expired()) return;
        QWidget* client = over_->ClientWidget();
        if (!client) return;
        if (!over_widget_) {
            over_widget_ = new OverWidget(client, &image_);
            over_widget_->setGeometry(QRect(QPoint(0, 0), image_.size()));
        }
        // Hidden, the widget lets the picture under it show again as it is.
        if (drawn.isNull()) {
            over_widget_->hide();
            return;
        }
        over_widget_->raise();
        over_widget_->show();
        over_widget_->update();
    }

    void UpdateDesktop(const QRect& drawn) {
        if (drawn.isNull()) {
            if (window_) window_->hide();
            return;
        }
        if (!window_) window_ = new DesktopWindow(&image_);
        window_->origin = origin_;
        // The shape: the drawn runs of every row.
        std::vector<QRect> runs;
        for (int y = drawn.top(); y <= drawn.bottom(); ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(image_.constScanLine(y));
            for (int x = drawn.left(); x <= drawn.right();) {
                if (!Drawn(row[x])) {
                    ++x;
                    continue;
                }
                int a = x;
                while (x <= drawn.right() && Drawn(row[x])) ++x;
                runs.emplace_back(a - drawn.left(), y - drawn.top(), x - a, 1);
            }
        }
        QRegion shape;
        shape.setRects(runs.data(), int(runs.size()));
        window_->setGeometry(drawn.translated(origin_));
        window_->setMask(shape);
        window_->show();
        window_->update();
    }

    TWinControl* over_;
    std::weak_ptr<char> alive_;
    std::unique_ptr<TCanvas> canvas_;
    QImage image_;
    QPoint origin_;
    mutable std::vector<uint32_t> black_;
    QPointer<QWidget> over_widget_;
    DesktopWindow* window_ = nullptr;
    bool pending_ = false;
    // Expires with the layer, for the update queued after a drawing.
    std::shared_ptr<bool> token_ = std::make_shared<bool>(true);
};

TOverlay::TOverlay(TWinControl* over) : layer_(std::make_unique<Layer>(over)) {}

TOverlay::~TOverlay() = default;

TCanvas* TOverlay::Canvas() { return layer_->Canvas(); }

void TOverlay::Clear() { layer_->Clear(); }

TRect TOverlay::DrawnRect() const {
    QRect r = layer_->DrawnRect();
    return r.isNull() ? TRect() : FromQRect(r);
}

bool TOverlay::Showing() const { return layer_->Showing(); }
