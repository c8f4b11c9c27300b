#pragma once
// Stimulus formulas: a formula drives one input of the timing diagram by
// itself, a cyclic sequence of up to 24 steps, each a number of emulator
// ticks and a level. The text has no separators: every step is a decimal
// number followed by the capital letter "H" (high) or "L" (low), so 10H5L is
// ten ticks high, then five ticks low, and over again. Text after the last
// letter and steps after the 24th are ignored.
//
// The timing diagram keeps its formulas in a TFormulaSet and advances them
// on every tick of its timer; what a step does to the program (a scan, the
// output traces following the debugger, an input flipping) goes through an
// IFormulaSink, so the stepping rules work without a window.

#include <cstdint>
#include <vector>

#include "platform/StringList.h"

constexpr int kMaxFormulaSteps = 24;

struct FormulStr {
    int32_t Row = 0;    // the input trace row the formula drives
    AnsiString Text;    // the formula in normal form
    AnsiString Name;    // the signal
    int32_t Durations[kMaxFormulaSteps + 1] = {-1}; // the entry after the last step is -1
    uint8_t Levels[kMaxFormulaSteps] = {};          // 1 high, 0 low
    int32_t Elapsed = 0; // ticks counted in the current step
    int32_t Step = 0;    // 0 .. Count - 1
    int32_t Count = 0;   // steps, 0 .. 24
};

// The position (from 1) of the first "H" or "L" of the text, 0 when it has neither.
int NextFormulaLetter(const AnsiString& text);

// Checks a formula text as the engineer typed it. A refused text is left as
// it should show: cleared when it has no letter or starts with one; cut
// right after the first character that is no digit, after a letter that
// directly follows another (an empty duration), or after the digit that
// takes a duration beyond 2^31-1; unchanged when every duration of its
// steps is 0 (a formula that would never let a tick pass).
bool CheckFormula(AnsiString& text);

// Reads the steps of a checked text into durations (the entry after the last
// step set to -1) and levels; answers the number of steps.
int ParseFormula(const AnsiString& text, int32_t durations[kMaxFormulaSteps + 1], uint8_t levels[kMaxFormulaSteps]);

// Every step's duration in decimal followed by its letter: 007H10L reads as 7H10L.
AnsiString FormulaNormalForm(const FormulStr& formula);

// What the formulas act on.
class IFormulaSink {
public:
    virtual ~IFormulaSink() = default;
    // One scan of the program.
    virtual void Scan() = 0;
    // The output traces take the debugger's values.
    virtual void OutputsFollow() = 0;
    // The level (0 or 1) the formula's input has now.
    virtual int InputLevel(const FormulStr& formula) = 0;
    // Flips the formula's input.
    virtual void ToggleInput(const FormulStr& formula) = 0;
};

// The formulas of the timing diagram, at most one per input row, and the
// history of the texts of removed formulas that the formula editor offers again.
class TFormulaSet {
public:
    static constexpr int kMaxFormulas = 30;

    int Count() const { return int(formulas_.size()); }
    FormulStr& operator[](int index) { return formulas_.at(std::size_t(index)); }
    const FormulStr& operator[](int index) const { return formulas_.at(std::size_t(index)); }
    // The formula of the signal (names compare without regard to letter case); -1 when none.
    int Find(const AnsiString& name) const;
    // Appends an empty formula; -1 (nothing added) when there are kMaxFormulas.
    int Append();
    // Formula index takes a checked text for the signal on the row: it starts
    // at its first step, and the input takes that step's level.
    void Set(int index, const AnsiString& name, int row, const AnsiString& text, IFormulaSink& sink);
    // Every formula starts again at its first step, its input at that step's
    // level (after the signals were zeroed).
    void Restart(IFormulaSink& sink);
    // To the next step (after the last one the first) when advance is set;
    // then, at the start of a step, the input takes the step's level.
    void NextStep(int index, bool advance, IFormulaSink& sink);
    // One tick for every formula. A step of duration 0 makes a pulse of the
    // opposite level that lasts one scan.
    void Step(int increment, IFormulaSink& sink);
    // Removes a formula; the later ones move up.
    void Delete(int index);
    // Removes every formula (the history stays).
    void Release() { formulas_.clear(); }
    // Removes a formula and keeps its text in the history.
    void Retire(int index);
    // Every formula's text joins the history (once), and all are removed.
    void RetireAll();
    TStringList& History() { return history_; }
    const TStringList& History() const { return history_; }

private:
    // The first step, with no tick counted yet: it lasts its whole count of
    // ticks from the next one, as every later step does from the tick that
    // starts it.
    void Start(int index, IFormulaSink& sink);
    void Remember(const AnsiString& text);

    std::vector<FormulStr> formulas_;
    TStringList history_;
};
