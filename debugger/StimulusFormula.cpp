#include "debugger/StimulusFormula.h"

#include <cstdint>
#include <limits>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

int NextFormulaLetter(const AnsiString& text) {
    const int h = text.Pos("H");
    const int l = text.Pos("L");
    if (h == 0) return l;
    if (l == 0) return h;
    return h < l ? h : l;
}

bool CheckFormula(AnsiString& text) {
    if (NextFormulaLetter(text) <= 1) {
        text = AnsiString();
        return false;
    }
    // base: how many characters of the whole text lie before rest.
    int base = 0;
    AnsiString rest = text;
    for (int p = NextFormulaLetter(rest); p != 0; p = NextFormulaLetter(rest)) {
        if (p == 1) {
            // A letter right after a letter: a step without a duration.
            text = text.SubString(1, base + 1);
            return false;
        }
        int64_t value = 0;
        for (int i = 1; i < p; ++i) {
            const char c = rest[i];
            if (IsDigit(c)) value = value * 10 + (c - '0');
            if (!IsDigit(c) || value > std::numeric_limits<int32_t>::max()) {
                text = text.SubString(1, base + i);
                return false;
            }
        }
        base += p;
        rest = rest.SubString(p + 1, rest.Length() - p);
    }
    int32_t durations[kMaxFormulaSteps + 1];
    uint8_t levels[kMaxFormulaSteps];
    const int count = ParseFormula(text, durations, levels);
    for (int k = 0; k < count; ++k)
        if (durations[k] > 0) return true;
    // Every step would end at once, over and over, and no tick would pass.
    return false;
}

int ParseFormula(const AnsiString& text, int32_t durations[kMaxFormulaSteps + 1], uint8_t levels[kMaxFormulaSteps]) {
    int k = 0;
    AnsiString rest = text;
    for (int p = NextFormulaLetter(rest); p != 0 && k < kMaxFormulaSteps; p = NextFormulaLetter(rest)) {
        // A checked text has only digits here and fits; anything else reads
        // as far as it goes and stops at the largest duration.
        int64_t value = 0;
        for (int i = 1; i < p && IsDigit(rest[i]); ++i)
            value = std::min<int64_t>(value * 10 + (rest[i] - '0'), std::numeric_limits<int32_t>::max());
        durations[k] = int32_t(value);
        levels[k] = rest[p] == 'H' ? 1 : 0;
        rest = rest.SubString(p + 1, rest.Length() - p);
        ++k;
    }
    durations[k] = -1;
    return k;
}

AnsiString FormulaNormalForm(const FormulStr& formula) {
    AnsiString text;
    for (int k = 0; k < formula.Count; ++k) text += IntToStr(formula.Durations[k]) + (formula.Levels[k] ? "H" : "L");
    return text;
}

// ---- TFormulaSet ---------------------------------------------------------------------------

int TFormulaSet::Find(const AnsiString& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(formulas_[std::size_t(i)].Name, name)) return i;
    return -1;
}

int TFormulaSet::Append() {
    if (Count() >= kMaxFormulas) return -1;
    formulas_.emplace_back();
    return Count() - 1;
}

void TFormulaSet::Set(int index, const AnsiString& name, int row, const AnsiString& text, IFormulaSink& sink) {
    FormulStr& f = (*this)[index];
    f.Name = name;
    f.Row = row;
    f.Count = ParseFormula(text, f.Durations, f.Levels);
    f.Text = FormulaNormalForm(f);
    Start(index, sink);
}

void TFormulaSet::Start(int index, IFormulaSink& sink) {
    FormulStr& f = (*this)[index];
    f.Step = 0;
    f.Elapsed = 0;
    NextStep(index, false, sink);
}

void TFormulaSet::Restart(IFormulaSink& sink) {
    for (int i = 0; i < Count(); ++i) Start(i, sink);
}

void TFormulaSet::NextStep(int index, bool advance, IFormulaSink& sink) {
    FormulStr& f = (*this)[index];
    if (f.Count <= 0) return;
    if (advance) f.Step = f.Step >= f.Count - 1 ? 0 : f.Step + 1;
    if (f.Elapsed < 2 && f.Levels[f.Step] != sink.InputLevel(f)) sink.ToggleInput(f);
}

void TFormulaSet::Step(int increment, IFormulaSink& sink) {
    int pulses = 0;
    for (int i = 0; i < Count();) {
        FormulStr& f = formulas_[std::size_t(i)];
        if (f.Count <= 0 || f.Durations[f.Step] > f.Elapsed) {
            f.Elapsed += increment;
            ++i;
            pulses = 0;
            continue;
        }
        f.Elapsed = 1;
        NextStep(i, true, sink);
        // A checked formula has a step that lasts, so the pulses end within
        // one round; the bound keeps any other from holding the program.
        if (f.Durations[f.Step] == 0 && pulses++ <= f.Count) {
            sink.Scan();
            sink.OutputsFollow();
            sink.ToggleInput(f);
            NextStep(i, true, sink);
            f.Elapsed = 0;
            continue; // the same formula again, in its new step
        }
        ++i;
        pulses = 0;
    }
}

void TFormulaSet::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    formulas_.erase(formulas_.begin() + index);
}

void TFormulaSet::Remember(const AnsiString& text) {
    if (!text.IsEmpty() && history_.IndexOf(text) < 0) history_.Add(text);
}

void TFormulaSet::Retire(int index) {
    if (index < 0 || index >= Count()) return;
    Remember((*this)[index].Text);
    Delete(index);
}

void TFormulaSet::RetireAll() {
    for (const FormulStr& f : formulas_) Remember(f.Text);
    Release();
}
