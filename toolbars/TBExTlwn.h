#pragma once
// TToolWindowEx: a dockable, resizable panel whose client area holds any
// controls at the size the user chooses (the project pane of the frame).

#include "toolbars/TBEx.h"

class TToolWindowEx : public TCustomToolWindowEx {
public:
    explicit TToolWindowEx(TComponent* owner);
    ~TToolWindowEx() override;

    // The client size (the whole size while the window has no parent).
    int ClientAreaWidth() const;
    void SetClientAreaWidth(int w) { SetClientAreaSize(w, ClientAreaHeight()); }
    int ClientAreaHeight() const;
    void SetClientAreaHeight(int h) { SetClientAreaSize(ClientAreaWidth(), h); }
    void SetClientAreaSize(int width, int height);
    int MinClientWidth = 32;
    int MinClientHeight = 32;
    // The client size the window keeps for itself.
    int BarWidth() const { return barWidth_; }
    int BarHeight() const { return barHeight_; }

    int GetBarSize(TDockType dockType) override;
    void GetMinimumSize(int& clientWidth, int& clientHeight) override;
    TPoint OrderControls(bool canMoveControls, TDockType previousDockType, TDockEx* dockingTo) override;
    void SizeChanging(int width, int height) override;
    void ReadPositionData(const TPositionReader& reader) override;
    void WritePositionData(const TPositionWriter& writer) override;

private:
    int barWidth_ = 32;
    int barHeight_ = 32;
};
