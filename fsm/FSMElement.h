#pragma once
// TfsmElement: a state of the machine, a circle with the state's name. It
// keeps the lists of its incoming and outgoing transitions (the transitions
// maintain them), the condition box that gives its output value, the
// simulator's highlight and its number in the transition table. Transitions
// derive from it for its condition reference and its box operations.

#include <vector>

#include "fsm/FSMEntity.h"

class TfsmLink;
class TfsmCond;

class TfsmElement : public TfsmEntity {
public:
    explicit TfsmElement(TFSMScheme* owner);
    ~TfsmElement() override;

    void Draw() override;
    void Move(int dx, int dy) override;
    bool Properties() override;
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;
    bool HitTest(int x, int y, bool select) override;
    bool HitTestRect(const TRect& r, bool select) override;
    void EndDrag() override;
    void Translate(TStrings* out) override;
    void DrawTo(TCanvas* canvas) override;
    void SetX(int x) override;
    void SetY(int y) override;

    // ---- virtual operations added here ------------------------------------
    virtual void SetRight(int x);
    virtual void SetBottom(int y);
    virtual int GetRight() const;
    virtual int GetBottom() const;
    virtual int GetWidth() const;
    virtual int GetHeight() const;

    void SetWidth(int w);
    void SetHeight(int h);
    int GetRadius() const { return radius_; }
    void SetRadius(int r) { radius_ = r; }
    TfsmCond* GetCondition() const { return condition_; }
    void SetCondition(TfsmCond* c) { condition_ = c; }
    bool IsActive() const { return active_; }
    void SetActive(bool v);
    int GetTranslationNumber() const { return translationNumber_; }
    void SetTranslationNumber(int n) { translationNumber_ = n; }

    // A transition joins a list once: at place `at` when that is a place of
    // the list, else at its end. Removing one answers the place it had (-1
    // when it was not there), so that an undo can put it back there.
    void AddIncoming(TfsmLink* l, int at = -1);
    int RemoveIncoming(TfsmLink* l);
    void AddOutgoing(TfsmLink* l, int at = -1);
    int RemoveOutgoing(TfsmLink* l);
    // List walks, one cursor per list: First restarts it.
    TfsmLink* FirstIncoming();
    TfsmLink* NextIncoming();
    TfsmLink* FirstOutgoing();
    TfsmLink* NextOutgoing();
    int OutgoingCount() const { return int(outgoing_.size()); }
    const std::vector<TfsmLink*>& Incoming() const { return incoming_; }
    const std::vector<TfsmLink*>& Outgoing() const { return outgoing_; }

    // The point on the circle of radius r - 2 toward (x, y).
    void EdgePoint(double x, double y, double* ox, double* oy) const;

    // A new last signal of value 0 in the attached box; signal i removed.
    bool AddSignal();
    bool RemoveSignal(int i);

protected:
    // The state's picture: white pen, black background, the given fill and
    // name colour; the active frame and selection frame when asked.
    void PaintPicture(TBitmap* b, TColor fill, TColor font, bool withName, bool activeFrame) const;
    int PictureWidth(TBitmap* b) const;

    int width_, height_;
    int inCursor_ = 0, outCursor_ = 0;
    std::vector<TfsmLink*> incoming_;
    std::vector<TfsmLink*> outgoing_;
    int radius_;
    TfsmCond* condition_ = nullptr;
    bool active_ = false;
    int translationNumber_ = 0;
    TColor activeColor_;
};
