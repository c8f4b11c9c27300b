#pragma once
// Driver pins: elements that bind a net to a signal.
//  - TDriver: a bit of the machine-signal table, found by the element's name;
//    driver name, bit number and comment come from the table in use.
//  - TVarDriver: a connector: a variable signal that joins schemes without a
//    driver bit; its driver name is "var".
// A driver pin has one pin, on its right edge (on its left when mirrored).

#include "model/Element.h"

class TDriver : public TElement {
public:
    // owner may be null for a temporary element.
    explicit TDriver(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Driver; }
    // The driver name.
    AnsiString Label() const override { return GetDriverName(); }
    AnsiString Symbol() const override { return Name(); }

    // The signal's row in the table in use, looked up by Name as the
    // translation library compares names (letter case aside): false, with "",
    // 0 and "", when the table does not know it. Every lookup of the pin
    // (direction, bit, comment, hint, its signal line) is this one.
    bool FindSignal(AnsiString& driver, int& bit, AnsiString& comment) const;
    // Looked up by Name in the signal table in use: 0, "" and "" when absent.
    virtual int GetBitNumber() const;
    virtual AnsiString GetDriverName() const;
    virtual AnsiString GetComment() const;
    // 0 input driver, 1 output driver, 2 no driver.
    int GetDirection() const;
    // The values the dialog last stored (kept in the record).
    void SetBitNumber(int bit) { bitNumber_ = bit; }
    void SetDriverName(const AnsiString& name) { driverName_ = name; }
    void SetComment(const AnsiString& comment) { comment_ = comment; }
    int StoredBitNumber() const { return bitNumber_; }
    const AnsiString& StoredDriverName() const { return driverName_; }
    const AnsiString& StoredComment() const { return comment_; }
    // Moves the pin to the other edge.
    void SetMirrored(bool mirrored) override;
    TInOut* Terminal() const { return Pin(0); }

    // Appends the signal line (name left-aligned in 15, a blank, driver name,
    // a blank, bit number) when the list does not hold it yet; a name that the
    // signal table does not know is written as an internal signal, its padded
    // name alone. The line of every run.
    void Translate(TStrings* lines) override;
    bool Properties() override;

    // The hint shown when the mouse is over the pin: name, driver, bit, comment.
    virtual AnsiString Hint() const;

    static constexpr int kWidth = 60;
    static constexpr int kHeight = 20;

protected:
    TDriver(IEntityOwner* owner, TEntityKind kind);
    void SaveExtra(ByteWriter& w) const override;
    void LoadExtra(ByteReader& r) override;
    void Paint(TPainter& painter) const override;
    TColor CurrentColor() const override;
    void PlaceTerminal();

    int bitNumber_ = 0;
    AnsiString driverName_;
    AnsiString comment_;
};

class TVarDriver : public TDriver {
public:
    explicit TVarDriver(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::VarDriver; }
    AnsiString Label() const override { return "var"; }
    int GetBitNumber() const override { return 0; }
    AnsiString GetDriverName() const override { return "var"; }
    // The comment of the variable signal of that name ("" when absent).
    AnsiString GetComment() const override;
    // Appends the name left-aligned in 15 when the list does not hold it yet.
    void Translate(TStrings* lines) override;
    bool Properties() override;
    AnsiString Hint() const override;

protected:
    void SaveExtra(ByteWriter& w) const override;
    void LoadExtra(ByteReader& r) override;
    TColor CurrentColor() const override;
};
