#pragma once
// The toolbar and its separator. A toolbar lays its controls out in one row
// (docked on a top or bottom dock), one column (docked left or right) or in
// wrapped rows (floating), split into groups at separators; a floating
// toolbar's resize snaps to the shapes its content allows.

#include <memory>
#include <vector>

#include "toolbars/TBEx.h"

class TToolbarSepEx;

struct TToolbarParams {
    bool InitializeOrderByPosition = true; // the order follows the positions after loading
    bool DesignOrderByPosition = true;
};

class TCustomToolbarEx : public TCustomToolWindowEx {
public:
    explicit TCustomToolbarEx(TComponent* owner);
    ~TCustomToolbarEx() override;

    // The wrap width of the floating layout (0: one row).
    int FloatingWidth() const { return floatingRightX_; }
    void SetFloatingWidth(int v);

    // The layout order of the children. EInvalidOperation for a control that
    // is not a child.
    int GetOrderIndex(TControl* control) const;
    void SetOrderIndex(TControl* control, int value);
    int OrderCount() const { return int(order_.size()); }
    TControl* OrderItems(int index) const { return order_.at(std::size_t(index)); }

    // Of the pair, only the member that fits the orientation is shown.
    void SetSlaveControl(TControl* topBottom, TControl* leftRight);
    bool ShouldControlBeVisible(TControl* control, bool leftOrRight) const;

    // A row break of the floating layout: the separator that caused it drew
    // a line at y - 4 (unless it is blank).
    struct TLineSep {
        int Y;
        bool Blank;
    };
    const std::vector<TLineSep>& LineSeps() const { return lineSeps_; }

    // The outer sizes a floating resize snaps to (during a resize).
    struct TSizeCandidate {
        TSize Size;
        bool SingleRow;
    };
    std::vector<TSizeCandidate> SizeCandidates() const;
    int SizeSensitivity() const;

    int GetBarSize(TDockType dockType) override;
    void GetMinimumSize(int& clientWidth, int& clientHeight) override;
    TPoint OrderControls(bool canMoveControls, TDockType previousDockType, TDockEx* dockingTo) override;
    void InitializeOrdering() override;
    void ReadPositionData(const TPositionReader& reader) override;
    void WritePositionData(const TPositionWriter& writer) override;
    void ResizeBegin(int hitTest) override;
    void ResizeTrack(TRect& rect, const TRect& origRect) override;
    void ResizeEnd(bool accept) override;
    bool ChildControlTransparent(TControl* control) override;
    void WndProc(TMessage& message) override;

    // Paints what shows behind a child (the toolbar's colour or the dock's
    // background) onto the child's canvas.
    void PaintChildBackground(TControl* child, TCanvas* canvas);

protected:
    void Paint() override;
    void ControlsChanged() override;
    TToolbarParams toolbarParams_;

private:
    friend class TToolbarSepEx;
    struct Group {
        std::vector<TControl*> members;
        int widthSum = 0;
        int heightSum = 0;
    };
    void BuildGroupInfo(std::vector<Group>& groups, bool temp, TDockType visibilityDockType, TDockType orderDockType);
    void SyncOrder();
    void WatchChild(TControl* c);
    void ChildVisibilityChanged();
    bool Vertical() const;

    int floatingRightX_ = 0;
    std::vector<TControl*> order_;
    std::vector<Group> groupInfo_;
    std::vector<TLineSep> lineSeps_;
    struct Slave {
        TControl* topBottom;
        TControl* leftRight;
    };
    std::vector<Slave> slaves_;
    struct Watched {
        TControl* control;
        std::weak_ptr<char> alive;
    };
    std::vector<Watched> watched_;
    struct SizeData;
    std::unique_ptr<SizeData> sizeData_;
};

class TToolbarEx : public TCustomToolbarEx {
public:
    explicit TToolbarEx(TComponent* owner) : TCustomToolbarEx(owner) {}
};

// The separator of a toolbar: a gap with an etched line across it.
class TToolbarSepEx : public TGraphicControl {
public:
    explicit TToolbarSepEx(TComponent* owner);
    // No line is drawn.
    bool Blank() const { return blank_; }
    void SetBlank(bool v);
    // Width in a horizontal layout and height in a vertical one (1 or more).
    int SizeHorz() const { return sizeHorz_; }
    void SetSizeHorz(int v);
    int SizeVert() const { return sizeVert_; }
    void SetSizeVert(int v);
    // EInvalidOperation on anything but a toolbar.
    void SetParent(TWinControl* parent) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;

private:
    bool blank_ = false;
    int sizeHorz_ = 6;
    int sizeVert_ = 6;
};
