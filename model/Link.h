#pragma once
// The wiring of a scheme.
//  - TLink: a straight wire between two points, with its own name and the name
//    of the chain it belongs to.
//  - TEPoint: a connection point: a place where wire ends and pin tips meet.
//    Where three or more of them meet it is a junction and draws a dot.
//  - TNet: everything joined at connection points and along wires (kept by
//    the scheme, rebuilt from the geometry after every edit).
//  - TChain: the wires of one net that carry one chain name, either generated
//    ("_chain%6.6d", a number above 0) or given by the user (number 0).
// Connectivity follows the drawing: ends that lie on one point are joined.

#include <vector>

#include "model/Entity.h"

class TChain;
class TDriver;
class TEPoint;
class TNet;

class TLink : public TEntity {
public:
    explicit TLink(IEntityOwner* owner, int x1 = 0, int y1 = 0, int x2 = 0, int y2 = 0);
    TEntityKind Kind() const override { return TEntityKind::Link; }

    int X1() const { return x1_; }
    int Y1() const { return y1_; }
    int X2() const { return x2_; }
    int Y2() const { return y2_; }
    // Sets both ends (hidden and shown around the change when shown).
    void SetEnds(int x1, int y1, int x2, int y2);
    bool IsZeroLength() const { return x1_ == x2_ && y1_ == y2_; }
    // Whether the point lies on the wire between its ends (ends excluded).
    bool PassesThrough(int x, int y) const;
    bool HasEnd(int x, int y) const { return (x == x1_ && y == y1_) || (x == x2_ && y == y2_); }

    // Position: the smaller coordinates of the two ends.
    int GetX() const override;
    int GetY() const override;
    void SetX(int x) override;
    void SetY(int y) override;
    int GetWidth() const override;
    int GetHeight() const override;
    void Move(int dx, int dy) override;
    TRect Bounds() const override;
    bool HitTest(int x, int y) const override;
    bool InRect(const TRect& r) const override;
    void Load(ByteReader& r) override;
    void Save(ByteWriter& w) const override;
    bool Properties() override;
    // A wire writes nothing: nets are named by the scheme.
    void Translate(TStrings* lines) override { (void)lines; }

    // The chain name stored with the wire, and its number (0: given by the user).
    const AnsiString& ChainName() const { return chainName_; }
    int ChainNumber() const { return chainNumber_; }
    void SetChain(const AnsiString& name, int number) { chainName_ = name; chainNumber_ = number; }
    TChain* Chain() const { return chain_; }
    TNet* Net() const { return net_; }
    TEPoint* P1() const { return p1_; }
    TEPoint* P2() const { return p2_; }
    void SetNet(TNet* net, TChain* chain, TEPoint* p1, TEPoint* p2) {
        net_ = net;
        chain_ = chain;
        p1_ = p1;
        p2_ = p2;
    }

protected:
    void Paint(TPainter& painter) const override;
    TColor CurrentColor() const override;

private:
    int x1_, y1_, x2_, y2_;
    AnsiString chainName_;
    int chainNumber_ = 0;
    TChain* chain_ = nullptr;
    TNet* net_ = nullptr;
    TEPoint* p1_ = nullptr;
    TEPoint* p2_ = nullptr;
};

class TInOut;

class TEPoint : public TEntity {
public:
    TEPoint(IEntityOwner* owner, int x, int y) : TEntity(owner) { x_ = x; y_ = y; }
    TEntityKind Kind() const override { return TEntityKind::Point; }
    std::vector<TInOut*> Pins;
    std::vector<TLink*> Links; // wires with an end here (a wire of length 0 twice)
    TNet* Net = nullptr;
    // Three or more wire ends and pins meet here.
    bool IsJunction() const { return Pins.size() + Links.size() >= 3; }
    TRect Bounds() const override;
    bool HitTest(int x, int y) const override { return x == x_ && y == y_; }

protected:
    void Paint(TPainter& painter) const override;
    TColor CurrentColor() const override;
};

class TChain {
public:
    TChain(ISchemeContext* scheme, const AnsiString& name, int number) : scheme_(scheme), name_(name), number_(number) {}
    const AnsiString& Name() const { return name_; }
    int Number() const { return number_; }
    // Gives every wire of the chain the name and makes the number 0 (a name
    // chosen by the user); marks the document modified.
    void SetName(const AnsiString& name);
    std::vector<TLink*> Links;
    TNet* Net = nullptr;

    // "_chain%6.6d"
    static AnsiString GeneratedName(int number);

private:
    ISchemeContext* scheme_;
    AnsiString name_;
    int number_;
};

class TNet {
public:
    std::vector<TInOut*> Pins; // pins of elements and driver pins, in document order
    std::vector<TLink*> Links;
    std::vector<TEPoint*> Points;
    std::vector<TChain*> Chains;
    // Driver pins and connectors on the net, in document order.
    std::vector<TDriver*> Drivers;
    // The distinct signal names of the drivers, first first.
    std::vector<AnsiString> Signals;
    // The name the net carries in the netlist: the first signal, or the name
    // the scheme's net naming gave it (empty until then).
    AnsiString Name;
    // A chain that carries several names and is written by an output: the
    // output pin (an element's, whose block is followed by the copy block, or
    // a symbol's, whose inner writer carries it) and every name the copy
    // block writes (set by the net naming).
    TInOut* CopyPin = nullptr;
    std::vector<AnsiString> CopyTargets;
    bool HasDriver() const { return !Drivers.empty(); }
};
