#pragma once
// TSecretPanel: a panel that, while Active, hides its child controls and
// plays its Lines as text scrolling through it, upwards like closing credits
// (sdVertical) or sideways like a ticker (sdHorizontal; from the left edge
// to the right one where text reads from right to left), with an optional
// glyph beside the text. The animation runs on a TExTimer and draws through
// an off-screen bitmap.
//
// Drawing happens on the UI thread only: with AsyncDrawing (the default) the
// timer ticks on its worker, which only advances the position and asks the UI
// thread for one frame (at most one request is pending); the stop at the end
// of the text is made on the UI thread through the timer's Synchronize.
// Without AsyncDrawing every tick runs on the UI thread.

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "controls/gui/ExTimer.h"
#include "platform/Bitmap.h"
#include "platform/gui/ExtCtrls.h"

enum TGlyphLayout { glGlyphLeft, glGlyphRight, glGlyphTop, glGlyphBottom };
enum TScrollDirection { sdVertical, sdHorizontal };
using TPanelDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect Rect)>;

class TSecretPanel : public TCustomPanel {
public:
    explicit TSecretPanel(TComponent* owner);
    ~TSecretPanel() override;

    void Play() { SetActive(true); }
    void Stop() { SetActive(false); }
    bool Active() const { return active_; }
    void SetActive(bool v);
    // The alignment of the lines (the panel's own, taCenter by default).
    void SetAlignment(TAlignment a);
    bool AsyncDrawing() const { return !timer_->SyncEvent(); }
    void SetAsyncDrawing(bool v);
    bool Cycled() const;
    void SetCycled(bool v);
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* glyph) { glyph_->Assign(glyph); }
    TGlyphLayout GlyphLayout() const { return glyphLayout_; }
    void SetGlyphLayout(TGlyphLayout layout);
    unsigned Interval() const { return timer_->Interval(); }
    void SetInterval(unsigned ms) { timer_->SetInterval(ms); }
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* lines) { lines_->Assign(lines); }
    TScrollDirection ScrollDirection() const { return direction_; }
    void SetScrollDirection(TScrollDirection d);
    TBevelCut TextStyle() const { return textStyle_; }
    void SetTextStyle(TBevelCut style);
    TPanelDrawEvent OnPaintClient;
    TNotifyEvent OnStartPlay;
    TNotifyEvent OnStopPlay;

    // Fires OnPaintClient, else fills the rectangle with the brush.
    virtual void PaintClient(TCanvas* canvas, const TRect& rect);
    // One step: the position grows by a pixel up to the scroll length, then
    // starts again (Cycled) or the panel stops.
    virtual void TimerExpired(TObject* sender);

    // The run-time state, for the picture's users and for tests.
    int ScrollPos() const;
    int ScrollLength() const;
    int LineHeight() const { return lineHeight_; }
    TRect TextRect() const { return textRect_; }
    TRect PaintRect() const { return paintRect_; }
    TPoint GlyphOrigin() const { return glyphOrigin_; }
    // The off-screen picture (null while stopped).
    TBitmap* MemoryImage() const { return memoryImage_.get(); }
    TExTimer* Timer() const { return timer_; }

    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

protected:
    virtual void StartPlay();
    virtual void StopPlay();
    void Paint() override;
    void AlignControls(TRect& rect) override;

private:
    void RecalcDrawRect();
    void UpdateMemoryImage();
    void PaintText();
    // From any thread: the frame is painted on the UI thread.
    void RequestFrame();
    void Rebuild(bool repaint);
    void LinesChanged();
    void GlyphChanged();
    int InflateWidth() const;

    TExTimer* timer_ = nullptr;
    std::unique_ptr<TStringList> lines_;
    std::unique_ptr<TBitmap> glyph_;
    std::unique_ptr<TBitmap> memoryImage_;
    // The children hidden while playing, with a token that expires when one
    // is freed.
    std::vector<std::pair<TControl*, std::weak_ptr<char>>> hidden_;
    std::atomic<bool> active_{false};
    std::atomic<bool> framePending_{false};
    TGlyphLayout glyphLayout_ = glGlyphLeft;
    TScrollDirection direction_ = sdVertical;
    TBevelCut textStyle_ = bvNone;

    // What a tick reads and writes, under the mutex.
    mutable std::mutex mutex_;
    bool cycled_ = false;
    int scrollPos_ = 0;
    int scrollLength_ = 0;

    int firstLine_ = 0;
    int lineHeight_ = 0;
    int widest_ = 0; // the width of the widest line
    TRect textRect_;
    TRect paintRect_;
    TPoint glyphOrigin_;
};
