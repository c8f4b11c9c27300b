#pragma once
// TFSM: a state machine placed in a scheme. Its pins are the machine's input
// and output signals; the ".fsm" file (named without its folder) holds the
// machine. Reading and writing the file's pin names and the transition-table
// text come from the state-machine editor through IFsmServices
// (ModelHooks().Fsm); without it the pins stay as they are and the netlist
// block holds no table.
//
// Its pins are named by the machine, so the box is sized from them when it
// gets them (from the file, or as a copy): tall enough for the longer side,
// as every kind is, and wide enough that an input's and an output's names on
// one row never meet, nor the title the names of the first row, at every
// zoom. Names edited in the element dialog keep the box: a wider one would
// move the outputs away from their wires.
//
// Properties' first choice ("pick a machine") binds the element to the
// machine chosen and takes that machine's pins, following the wires by pin
// name. The old program opened the chosen machine in a window and pushed the
// element's pin names into it while the element stayed bound to its old
// file: the machine the user chose was then not the one translated, and a
// machine of another pin count could not be chosen at all. Opening the
// element's own machine with its pins checked is the second choice.

#include "model/Element.h"

class TFSM : public TElement {
public:
    explicit TFSM(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::FSM; }
    AnsiString Symbol() const override { return "FSM"; }

    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& name);
    // The file's full path through the frame's project path; without a frame
    // the name as stored when it has a folder, else beside the scheme's file
    // or in the current folder.
    AnsiString GetFullFileName() const;
    // Reads the file's pin names and sets the pins and height; keeps the file
    // name without its folder. Nothing changes when the file cannot be read.
    void LoadPinsFromFile(const AnsiString& fileName);
    // Writes the element's pin names into the file.
    bool SavePinsToFile(const AnsiString& fileName);
    // Input and output pin names in order.
    void PinNames(TStrings* inputs, TStrings* outputs) const;
    // Widens or narrows the box to its pins' names (the outputs follow).
    void FitToPins();
    // The width that holds the pins' names: at least 40, in steps of 10.
    int WidthForPins() const;

    // Header and pins, then the transition table when the file is valid;
    // nothing but a translation error when the pins are not the file's
    // signals.
    void Translate(TStrings* lines) override;
    bool Properties() override;

protected:
    void SaveExtra(ByteWriter& w) const override;
    void LoadExtra(ByteReader& r) override;
    // The transition table after the pin lines.
    void TranslateTail(TStrings* lines) override;

private:
    // Whether the pins differ from the file's signals in count or names (the
    // first difference in words); false when the file cannot be read.
    bool DiffersFromFile(const AnsiString& file, AnsiString& difference) const;
    AnsiString fileName_;
};
