#pragma once
// TInOut: one pin of an element: name, direction (0 input, 1 output),
// inversion flag and its place relative to the element's box (the pin's tip,
// where wires and other pins join it). The scheme's net building gives each
// pin its connection point and net; a pin whose net holds no other pin is
// unconnected and writes the null names in the netlist.

#include <vector>

#include "model/Entity.h"

class TElement;
class TEPoint;
class TList;
class TNet;

class TInOut : public TEntity {
public:
    TInOut(TElement* element, int direction);
    TEntityKind Kind() const override { return TEntityKind::Pin; }

    TElement* Element() const { return element_; }
    int Direction() const { return direction_; }
    void SetDirection(int direction) { direction_ = direction ? 1 : 0; }
    bool Inverse() const { return inverse_; }
    // Sets the flag, hiding and showing the element around the change.
    void SetInverse(bool inverse);
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    void SetOffsetX(int dx);
    void SetOffsetY(int dy);
    // The tip in scheme units (the element's mirror flag applied).
    int TipX() const;
    int TipY() const;
    void SetName(const AnsiString& name) override;

    // Nets (kept by the scheme).
    TEPoint* Point() const { return point_; }
    TNet* Net() const { return net_; }
    // Joined to at least one other pin.
    bool Connected() const;
    void SetNet(TNet* net, TEPoint* point) { net_ = net; point_ = point; }
    // The signal the pin reads or writes in the netlist: the net's name, the
    // fixed signal of a transient copy, or "_null_in_" / "_null_out_".
    AnsiString SignalName() const;
    bool IsNull() const;
    // A transient copy made for one translation carries its signal here.
    void SetFixedSignal(const AnsiString& signal, bool connected);
    // The signals that a copy block after the element's block writes through
    // this pin (the net's copies, when the net chose this pin to carry them;
    // a transient copy's fixed ones); null when none.
    const std::vector<AnsiString>* CopyTargets() const;
    void SetFixedCopyTargets(std::vector<AnsiString> targets);

    // Every pin of a non-link element reachable from pin through its
    // connection point and wires, pin itself excluded.
    static void CollectNetPins(TInOut* pin, TList* out);

    // Whether the pin was drawn as connected (remembered by the element's Show).
    bool drawnConnected = false;

protected:
    void Paint(TPainter&) const override {}

private:
    TElement* element_;
    int direction_;
    bool inverse_ = false;
    int offsetX_ = 0;
    int offsetY_ = 0;
    TEPoint* point_ = nullptr;
    TNet* net_ = nullptr;
    bool hasFixed_ = false;
    bool fixedConnected_ = false;
    AnsiString fixed_;
    std::vector<AnsiString> fixedCopies_;
};

extern const char* const kNullIn;  // "_null_in_"
extern const char* const kNullOut; // "_null_out_"
