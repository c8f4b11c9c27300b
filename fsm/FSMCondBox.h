#pragma once
// TfsmCond: the text box that carries a state's output value or a
// transition's input condition, one character per signal ('1', '0' or 'X'
// for don't care), the last signal first. It is drawn only while its owner or
// the box itself is selected, with a leader line to an anchor on the owner.

#include "fsm/FSMEntity.h"

class TfsmElement;

class TfsmCond : public TfsmEntity {
public:
    explicit TfsmCond(TFSMScheme* owner);
    ~TfsmCond() override;

    void Draw() override;
    void Move(int dx, int dy) override;
    bool Properties() override;
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;
    bool HitTest(int x, int y, bool select) override;
    void CommitPosition() override {}
    void EndDrag() override;
    void DrawTo(TCanvas*) override {}
    // Shifts the anchor by (a, b): the owner carries the leader line along.
    void SetCoords(int a, int b, int c, int d) override;

    // The text is kept upper-cased, so a typed 'x' is the don't-care 'X'.
    void SetText(const AnsiString& text);
    const AnsiString& GetText() const { return text_; }
    // Attaches the box to a state or transition (null detaches it); the
    // previous owner forgets the box.
    void SetOwner(TfsmElement* owner);
    TfsmElement* GetOwner() const { return boxOwner_; }
    // Forgets the owner without touching it (the owner is gone).
    void DropOwner();

    void SetWidth(int w) { width_ = w; }
    int GetWidth() const { return width_; }
    void SetHeight(int h) { height_ = h; }
    int GetHeight() const { return height_; }
    void SetAnchorX(int x) { anchorX_ = x; }
    int GetAnchorX() const { return anchorX_; }
    void SetAnchorY(int y) { anchorY_ = y; }
    int GetAnchorY() const { return anchorY_; }
    void SetAnchor(int x, int y);
    void SetAnchorGrabbed(bool v) { anchorGrabbed_ = v; }
    bool IsAnchorGrabbed() const { return anchorGrabbed_; }

    // The text with every 'X' as '0'; and '1' for every 'X', '0' elsewhere.
    AnsiString GetValueBits() const;
    AnsiString GetMaskBits() const;

private:
    void MeasureText();

    AnsiString text_;
    TfsmElement* boxOwner_ = nullptr;
    int width_ = 0, height_ = 0;
    int anchorX_ = -1, anchorY_ = -1;
    bool anchorGrabbed_ = false;
    TColor selectedColor_;
    TColor textColor_;
};
