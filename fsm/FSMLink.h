#pragma once
// TfsmLink: a transition, a cubic Bezier curve from its source state (point 0)
// to its target state (point 3, the arrow head), with an input condition box.
// Its ends follow geometry at the end of every drag: each end connects to the
// state under it and snaps onto that state's circle. A loaded transition
// joins the states its record names (see AttachLoaded).
// TfsmResetLink: the machine's reset transition; it has a target and never a
// source, and shows a reset symbol at its start.
//
// Printed (DrawTo), a transition is not where the window draws it: its
// picture stands at the smaller corner of its points less 5 pixels instead of
// less 10, so on paper the curve lies 5 pixels right of and below its states.
// The old program printed machines so, and a printout made here matches one
// made there; the reset transition prints as a plain one (no reset symbol),
// and a selected transition keeps its handles on paper.

#include "fsm/FSMElement.h"
#include "fsm/FsmRecords.h"

class TfsmLink : public TfsmElement {
public:
    explicit TfsmLink(TFSMScheme* owner);
    ~TfsmLink() override;

    void Draw() override;
    void Move(int dx, int dy) override;
    bool Properties() override { return false; }
    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;
    bool HitTest(int x, int y, bool select) override;
    void CommitPosition() override {}
    void EndDrag() override;
    void DrawTo(TCanvas* canvas) override;
    void SetCoords(int, int, int, int) override {}
    int GetX() const override;
    int GetY() const override;
    int GetRight() const override;
    int GetBottom() const override;

    virtual bool IsReset() const { return false; }

    void SetPointX(int i, int x);
    int GetPointX(int i) const;
    void SetPointY(int i, int y);
    int GetPointY(int i) const;
    void SetStraight(bool s);
    bool IsStraight() const { return straight_; }
    int GetDragMask() const { return dragMask_; }
    void SetDragMask(int m) { dragMask_ = m; }

    TfsmElement* GetSource() const { return source_; }
    TfsmElement* GetTarget() const { return target_; }
    // Connect an end: the end point snaps onto the state's circle and the
    // state's list learns of the transition. Null disconnects and leaves the
    // point where it is. A reset transition takes no source.
    void SetSource(TfsmElement* s);
    void SetTarget(TfsmElement* s);
    // The source and target ids the loaded record named (places in the file).
    int FileSourceId() const { return fileSource_; }
    int FileTargetId() const { return fileTarget_; }
    // After a load: joins the given states (null leaves an end free). An end
    // that already lies on its state's circle stays exactly where the file put
    // it, so that loading what was saved changes nothing; only an end off the
    // circle snaps onto it.
    void AttachLoaded(TfsmElement* source, TfsmElement* target);
    // Whether an end point lies on the circle where a snap puts it.
    bool EndOnCircle(int end, const TfsmElement* s) const;

    void BezierPoint(double t, double* x, double* y, bool inPicture) const;
    bool HitCurve(double x, double y) const;
    // Whether (x, y) lies less than reach document units from the curve.
    bool NearCurve(double x, double y, double reach) const;
    static bool NearSegment(double x, double y, double ax, double ay, double bx, double by);
    bool HitHandles(int x, int y);
    void ConditionAnchor(int* x, int* y) const;

    // Parts of the picture.
    virtual void DrawFigure(TBitmap* b);
    void DrawArrow(TBitmap* b);
    void DrawFreeEndMarker(TBitmap* b, int x, int y);

protected:
    friend class TFSMScheme;
    // Forgets a state without touching its lists (the state is leaving the document).
    void ForgetState(TfsmElement* s);
    void ConnectEnd(int end, TfsmElement* s);
    // Takes the points, the flag and the named states' ids; the ends are
    // joined later by the loader (AttachLoaded).
    void TakeRecord(const fsmfile::TransitionRecord& rec, bool straightAlways);
    fsmfile::TransitionRecord MakeRecord() const;
    // The picture of the curve: size, the four points in it, handles and curve.
    void PictureSize(int* w, int* h) const;
    void PicturePoints(TPoint p[4]) const;
    void DrawHandles(TBitmap* b);
    // The figure: handles when asked, the arrow, the reset symbol or the
    // free-start marker, the free-end marker.
    void DrawParts(TBitmap* b, bool handles, bool resetSymbol);
    void DrawCurve(TBitmap* b);

    int px_[4] = {0, 0, 0, 0};
    int py_[4] = {0, 0, 0, 0};
    bool straight_ = false;
    int dragMask_ = 0;
    TfsmElement* source_ = nullptr;
    TfsmElement* target_ = nullptr;
    int fileSource_ = 0;
    int fileTarget_ = 0;
};

class TfsmResetLink : public TfsmLink {
public:
    explicit TfsmResetLink(TFSMScheme* owner);
    ~TfsmResetLink() override;

    void LoadFromStream(ByteReader& r) override;
    void SaveToStream(ByteWriter& w) override;
    // The reset symbol at the start instead of the free-start marker; the
    // printed picture (DrawTo) is the plain transition's.
    void DrawFigure(TBitmap* b) override;
    bool IsReset() const override { return true; }
};
