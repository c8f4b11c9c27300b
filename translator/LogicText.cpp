// The Boolean-logic text: one equation per element output, read back from
// the element netlist blocks. An output for the engineer; nothing reads it.
#include <functional>

#include "translator/Logfile.h"
#include "translator/WorkPaths.h"

namespace {
bool IsCaseKind(int keyword) {
    return keyword == etCDec || keyword == etCDec16 || keyword == etCMask || keyword == etCDiap || keyword == etCommut;
}

// Whether a header's type text carries a parameter: a blank that is not its
// last character ("xor " carries none).
bool HasParameter(const AnsiString& typeText) {
    for (int i = 1; i < typeText.Length(); ++i)
        if (typeText[i] == ' ')
            return true;
    return false;
}

// The operands of one element's pin entries.
class Operands {
public:
    Operands(const TStrings& inputs, const TStrings& outputs) : inputs_(inputs), outputs_(outputs) {}
    int Inputs() const { return inputs_.Count(); }
    int Outputs() const { return outputs_.Count(); }
    AnsiString I(int k, bool flip = false) const { return TLogFile::PinOperand(inputs_.Get(k), flip); }
    AnsiString O(int j, bool flip = false) const { return TLogFile::PinOperand(outputs_.Get(j), flip); }
    // The rising edge of input k.
    AnsiString Edge(int k) const { return I(k) + "^"; }
    bool Written(int j) const { return !TLogFile::IsNullPin(outputs_.Get(j)); }
    // "*" o(j-1) "*" ... "*" o0: the carry of a counting output.
    AnsiString Carry(int j) const {
        AnsiString s;
        for (int m = j - 1; m >= 0; --m)
            s += "*" + O(m);
        return s;
    }
    // "/" "(" ak "~" bk ")" of the byte comparator.
    AnsiString Differs(int k) const { return "/(" + I(k) + "~" + I(k + 8) + ")"; }

private:
    const TStrings& inputs_;
    const TStrings& outputs_;
};

// "o0", "o1", "o2" of the byte comparator; greater: A > B, else A < B.
AnsiString CompareLine(const Operands& p, bool greater) {
    auto term = [&](int k) { return greater ? p.I(k) + "*" + p.I(k + 8, true) : p.I(k, true) + "*" + p.I(k + 8); };
    AnsiString s = p.O(greater ? 0 : 2) + "=((" + p.Differs(7) + "+" + term(7) + ")";
    for (int k = 6; k >= 0; --k) {
        s += "+(" + term(k);
        for (int m = k + 1; m <= 7; ++m)
            s += "*" + p.Differs(m);
        s += ")";
    }
    return s + "*" + p.O(1, true) + ");";
}
} // namespace

bool TLogFile::IsNullPin(const AnsiString& entry) {
    AnsiString name = entry.SubString(1, entry.Length() - 2);
    return name == "_null_out_" || name == "_null_in_";
}

AnsiString TLogFile::PinOperand(const AnsiString& entry, bool flip) {
    bool x = (entry.Length() > 0 && entry[entry.Length()] == '1') != flip;
    if (IsNullPin(entry))
        return x ? "0" : "1";
    AnsiString name = entry.SubString(1, entry.Length() - 2);
    return x ? "/" + name : name;
}

void TLogFile::SplitPins(TStrings& inputs, TStrings& outputs, const TStrings& elements, int header) {
    inputs.Clear();
    outputs.Clear();
    int i = header + 1;
    const int n = elements.Count();
    while (i < n && elements.Get(i).Length() >= 2 && elements.Get(i)[2] == '%')
        ++i;
    for (; i < n; ++i) {
        AnsiString line = elements.Get(i);
        if (line.IsEmpty())
            break;
        int blank = line.Pos(" ");
        if (blank == 0)
            continue;
        AnsiString rest = line.SubString(blank, line.Length());
        AnsiString entry = line.SubString(2, blank - 2) + (rest.Pos("inverse") > 0 ? "=1" : "=0");
        if (rest.Pos("in ") > 0)
            inputs.Add(entry);
        else if (rest.Pos("out ") > 0)
            outputs.Add(entry);
    }
}

int TLogFile::CountCaseRows(const TStrings& elements, int header) {
    int rows = 0;
    for (int i = header + 1; i < elements.Count() && !elements.Get(i).IsEmpty(); ++i)
        if (elements.Get(i).Length() >= 2 && elements.Get(i)[2] == '%')
            ++rows;
    return rows;
}

bool TLogFile::BuildEquations(int keyword, const TStrings& inputs, const TStrings& outputs, TStrings& out) {
    Operands p(inputs, outputs);
    const int ni = p.Inputs();
    const int no = p.Outputs();
    // Each output that is not a null pin, in order.
    auto eachOutput = [&](const std::function<AnsiString(int)>& line) {
        for (int j = 0; j < no; ++j)
            if (p.Written(j))
                out.Add(line(j));
    };
    switch (keyword) {
    case etAnd:
    case etOr: {
        if (ni < 1)
            return false;
        AnsiString expr = p.I(0);
        for (int k = 1; k < ni; ++k)
            expr += (keyword == etAnd ? "*" : "+") + p.I(k);
        eachOutput([&](int j) { return p.O(j) + "=" + expr + ";"; });
        return true;
    }
    case etXor:
        if (ni < 2)
            return false;
        eachOutput([&](int j) { return p.O(j) + "=" + p.I(0) + "~" + p.I(1) + ";"; });
        return true;
    case etTrigger:
        if (ni < 2)
            return false;
        if (no > 0 && p.Written(0))
            out.Add(p.O(0) + "=" + p.I(0, true) + "*" + p.I(1));
        if (no > 1 && p.Written(1))
            out.Add(p.O(1) + "=" + p.I(0));
        return true;
    case etDTrigger:
        if (ni < 2)
            return false;
        if (no > 0 && p.Written(0))
            out.Add(p.O(0) + "=" + p.Edge(1) + "*" + p.I(0));
        if (no > 1 && p.Written(1))
            out.Add(p.O(1) + "=" + p.Edge(1) + "*" + p.I(0, true));
        return true;
    case etDrsTrigger:
        if (ni < 4)
            return false;
        if (no > 0 && p.Written(0))
            out.Add(p.O(0) + "=" + p.I(3, true) + "*(" + p.Edge(2) + "*" + p.I(1) + "+" + p.I(0) + ");");
        if (no > 1 && p.Written(1))
            out.Add(p.O(1) + "=" + p.I(3) + "+(" + p.Edge(2) + "*" + p.I(1, true) + ");");
        return true;
    case etCnt:
        if (ni < 2)
            return false;
        eachOutput([&](int j) {
            if (j == 0)
                return p.O(0) + "=" + p.I(1, true) + "*" + p.Edge(0) + "*" + p.O(0, true) + ";";
            return p.O(j) + "=" + p.I(1, true) + "*(" + p.Edge(0) + p.Carry(j) + "*" + p.O(j, true) + ");";
        });
        return true;
    case etDcd:
        if (ni < 4)
            return false;
        eachOutput([&](int j) {
            AnsiString s = p.O(j) + "=";
            for (int k = 0; k < 4; ++k)
                s += (k ? "*" : "") + p.I(k, ((j >> k) & 1) == 0);
            return s + ";";
        });
        return true;
    case etD8Trigger:
        // Data inputs D0-D7, then the clock and the reset.
        if (ni < 10 || no > 8)
            return false;
        eachOutput([&](int j) { return p.O(j) + "=" + p.I(9, true) + "*(" + p.Edge(8) + "*" + p.I(j) + ");"; });
        return true;
    case etD8RsCnt:
        // Data inputs D0-D7, then load, reset and count.
        if (ni < 11 || no > 8)
            return false;
        eachOutput([&](int j) {
            return p.O(j) + "=" + p.I(9, true) + "*((" + p.Edge(10) + p.Carry(j) + "*" + p.O(j, true) + ")+(" +
                   p.Edge(8) + "*" + p.I(j) + "));";
        });
        return true;
    case etCByte:
        if (ni < 16 || no < 3)
            return false;
        if (p.Written(0))
            out.Add(CompareLine(p, true));
        if (p.Written(1)) {
            AnsiString s = p.O(1) + "=" + p.Differs(7);
            for (int k = 6; k >= 0; --k)
                s += "*" + p.Differs(k);
            out.Add(s + ";");
        }
        if (p.Written(2))
            out.Add(CompareLine(p, false));
        return true;
    case etTimer:
    case etDelay:
    case etRCnt:
    case etIfGoto:
    case etPredTimer:
        return true;
    default:
        return IsCaseKind(keyword);
    }
}

void TLogFile::DoTextLogicFile(const TStrings& elements) {
    if (!LogicLines)
        LogicLines = std::make_unique<TStringList>();
    TStringList inputs, outputs;
    const int n = elements.Count();
    int i = 0;
    while (i < n) {
        AnsiString header = elements.Get(i);
        if (header.IsEmpty()) {
            ++i;
            continue;
        }
        int blank = header.Pos(" ");
        AnsiString name = blank > 0 ? header.SubString(1, blank - 1) : header;
        AnsiString typeText = blank > 0 ? header.SubString(blank + 1, header.Length()) : header;
        // The block runs up to the next empty line.
        int end = i + 1;
        while (end < n && !elements.Get(end).IsEmpty())
            ++end;
        AnsiString skipped;
        if (HasParameter(typeText)) {
            // A timer's time: the parameter in ticks of "Инкремент таймера".
            AnsiString parameter = typeText.SubString(typeText.Pos(" ") + 1, typeText.Length());
            double ticks = 0;
            SplitPins(inputs, outputs, elements, i);
            if (!TryStrToFloat(parameter.Trim(), ticks)) {
                skipped = typeText + " is not used type";
            } else if (inputs.Count() < 2) {
                skipped = "Элемент "_a + name + " не записан: не хватает выводов"_a;
            } else {
                Operands p(inputs, outputs);
                AnsiString time = IntToStr((long long)(ticks * CurrentTimerIncrement()));
                for (int j = 0; j < outputs.Count(); ++j)
                    if (p.Written(j))
                        LogicLines->Add(p.O(j) + "=" + p.Edge(0) + "*(" + time + "ms)*" + p.I(1, true) + ";");
            }
        } else {
            int keyword = ElementKeywordIndex(typeText.Trim());
            if (keyword < 0) {
                skipped = typeText + " is not used type";
            } else if (!IsCaseKind(keyword)) {
                SplitPins(inputs, outputs, elements, i);
                if (!BuildEquations(keyword, inputs, outputs, *LogicLines))
                    skipped = "Элемент "_a + name + " не записан: не хватает выводов"_a;
            }
        }
        // A block that cannot become equations is named in the log; the text
        // goes on with the next block.
        if (!skipped.IsEmpty())
            Message(skipped);
        i = end;
    }
}
