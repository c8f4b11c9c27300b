#pragma once
// TElement: a box with a type keyword, a name, a processing-order number and
// an ordered list of pins. The pin list's order is the order of the pin lines
// in the netlist text (docs/netlist.md gives it for every kind). Inputs sit on
// the left edge, outputs on the right, one every 10 units.

#include <memory>
#include <vector>

#include "model/Entity.h"
#include "model/InOut.h"

class TElement : public TEntity {
public:
    // A plain element typed only by its keyword (an empty keyword reports
    // "Элемент <name>не имеет типа." when translated).
    explicit TElement(IEntityOwner* owner, const AnsiString& label = AnsiString());
    ~TElement() override;
    TEntityKind Kind() const override { return TEntityKind::Element; }

    // ---- pins ---------------------------------------------------------------------
    TInOut* FirstPin() override;
    TInOut* NextPin() override;
    // Appends an input pin named "In" at the element's left edge.
    virtual TInOut* AddPin();
    // Removes the pin at that list position (nothing when out of range),
    // marks the document modified and sets the height to 10 + 10 x max(inputs, outputs).
    void DeletePin(int index);
    int PinCount() const { return int(pins_.size()); }
    // The pin at a list position; null out of range.
    TInOut* Pin(int index) const;
    int PinIndex(const TInOut* pin) const;
    int InputCount() const;
    int OutputCount() const;
    // The i-th input / output in list order; null when absent.
    TInOut* GetInput(int i) const;
    TInOut* GetOutput(int i) const;
    // Replace all input / output pins by n new pins named "In" / "Out" in
    // their standard places; the box grows to 10 + 10 x n when smaller.
    virtual void SetInputCount(int n);
    virtual void SetOutputCount(int n);

    // ---- box --------------------------------------------------------------------------
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    void SetHeight(int height);
    void SetWidth(int width);
    TRect Bounds() const override;
    bool HitTest(int x, int y) const override;
    bool InRect(const TRect& r) const override;
    void SetMirrored(bool mirrored) override;

    // ---- processing order ------------------------------------------------------
    int Number() const { return number_; }
    // With a scheme window, "Проверять порядок элементов" on and another
    // device of that number: "Елемент с номером N уже существует", number kept.
    void SetNumber(int number);
    // Sets the number without any check (renumbering by the document).
    void AssignNumber(int number) { number_ = number; }

    // ---- records and netlist -------------------------------------------------------
    void Load(ByteReader& r) override;
    void Save(ByteWriter& w) const override;
    void Translate(TStrings* lines) override;
    bool Properties() override;

    // The pin line: "%" + signal left-aligned in 15 + " " + "in " / "out " +
    // "inverse" (for a null pin "inverse" stands when the pin is NOT inverted).
    static AnsiString PinLine(const AnsiString& signal, bool output, bool inverseWord);
    // The text in the box.
    virtual AnsiString Symbol() const;

protected:
    // Netlist parts; Translate writes header, rows, pins, the copies of
    // several-signal outputs and the closing empty line.
    virtual AnsiString HeaderLine() const;
    virtual void TranslateRows(TStrings* lines) const { (void)lines; }
    virtual bool ClosesWithEmptyLine() const { return true; }
    // Lines after the pin lines, before the closing empty line.
    virtual void TranslateTail(TStrings* lines) { (void)lines; }
    // Kind-specific record fields after the pins.
    virtual void SaveExtra(ByteWriter& w) const { (void)w; }
    virtual void LoadExtra(ByteReader& r) { (void)r; }
    // The dialog of the kind.
    virtual TPropertyDialog Dialog() const { return TPropertyDialog::Element; }

    // A new element of a kind of the table (model/ElementKinds.h): its type
    // keyword, name and pins; the kind's constructor adds what its count
    // gives and places the pins (Finish).
    TElement(IEntityOwner* owner, TEntityKind kind);

    void Paint(TPainter& painter) const override;
    void RememberDrawnState() override;
    // Draws the box, name, symbol and pins; kinds add to it.
    void PaintBox(TPainter& painter) const;
    // The heights of the symbol and of the pin names in the box.
    static constexpr int kSymbolHeight = 8;
    static constexpr int kPinNameHeight = 7;
    // A pin's name as the box shows it: nothing for the plain "In" and "Out".
    static AnsiString ShownPinName(const TInOut& pin);

    TInOut* NewPin(const AnsiString& name, int direction);
    // Changes the pins between a hide and a show, then lets the scheme
    // rebuild its nets (which hold the pins).
    template <class F>
    void ChangePins(F change) {
        Redrawn([&] {
            change();
            Changed = true;
        });
        RebuildSchemeNets();
    }
    void RebuildSchemeNets();
    // The pins as they are, to be followed once they are made anew.
    std::vector<TPinTip> PinTips() const;
    // After the pins were made anew from a file: what was joined to the old
    // pins follows the pins of their names (ISchemeContext::FollowPins); the
    // user is told of the pins that the file no longer has.
    void FollowPinsByName(const std::vector<TPinTip>& before, const AnsiString& fileName);
    // Replaces the pins of one direction by n pins of that name in their
    // standard places; the box grows to 10 + 10 x n when smaller.
    void ReplacePins(int direction, int n, const AnsiString& name);
    // Places the pins: input i at (-10, 10(i+1)), output i at (width+10, 10(i+1)).
    void LayoutPins();
    // The height that holds every pin: 10 + 10 x max(inputs, outputs).
    void FitHeight();
    // Standard pin places and a box that holds them (a new element's last step).
    void Finish() {
        LayoutPins();
        FitHeight();
    }
    void RemovePins(int direction);
    // Pins named by their decimal index from "0".
    void AddNumberedPins(int count, int direction, int first = 0);
    void AddNamedPins(std::initializer_list<const char*> names, int direction);

    std::vector<std::unique_ptr<TInOut>> pins_;

private:
    int width_ = 40;
    int height_ = 20;
    int number_ = 0;
    int cursor_ = 0;
};

// The pin counts and text limits a record may claim.
constexpr int kMaxPins = 1024;
