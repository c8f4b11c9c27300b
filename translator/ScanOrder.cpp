#include "translator/ScanOrder.h"

#include "model/Element.h"
#include "model/InOut.h"

namespace {
// A pin line of a block: "%" + the signal + blanks + "in " or "out " (...).
// Table rows ("%%") and state-machine lines ("%~") are none.
bool ParsePinLine(const AnsiString& line, AnsiString& signal, bool& output) {
    if (line.Length() < 2 || line[1] != '%' || line[2] == '%' || line[2] == '~')
        return false;
    AnsiString rest = line.SubString(2, line.Length());
    const int blank = rest.Pos(" ");
    if (blank <= 1)
        return false;
    signal = rest.SubString(1, blank - 1);
    AnsiString word = rest.SubString(blank + 1, rest.Length()).TrimLeft();
    output = word.SubString(1, 4) == "out ";
    return output || word.SubString(1, 3) == "in ";
}

std::string Key(const AnsiString& name) { return AnsiUpperCase(name).str(); }
} // namespace

void TScanOrderCheck::AddElement(const TElement& element, const TStrings& lines, int first) {
    const int index = int(names_.size());
    names_.push_back(element.Name());
    const int type = ElementTypeOf(element.Label().str());
    const int inputs = element.InputCount();
    // The element's own block runs to the first empty line; copy blocks follow.
    bool own = true;
    int input = 0;
    for (int i = first; i < lines.Count(); ++i) {
        const AnsiString line = lines.Get(i);
        if (line.IsEmpty()) {
            own = false;
            continue;
        }
        AnsiString signal;
        bool output = false;
        if (!ParsePinLine(line, signal, output))
            continue;
        if (output) {
            if (signal != kNullOut)
                firstWriter_.emplace(Key(signal), index);
            continue;
        }
        if (!own)
            continue;
        const TPreviousRead read = PreviousRead(type, input, inputs);
        if (read != TPreviousRead::None && signal != kNullIn) {
            const TInOut* pin = element.GetInput(input);
            readers_.push_back({index, pin ? pin->Name() : IntToStr(input), signal, read});
        }
        ++input;
    }
}

std::vector<AnsiString> TScanOrderCheck::Warnings(const AnsiString& scheme) const {
    std::vector<AnsiString> out;
    for (const Reader& r : readers_) {
        auto it = firstWriter_.find(Key(r.signal));
        if (it == firstWriter_.end() || it->second < r.element)
            continue;
        const AnsiString& reader = names_[std::size_t(r.element)];
        const AnsiString& writer = names_[std::size_t(it->second)];
        const AnsiString missed = r.read == TPreviousRead::Edge ? "фронт на входе не будет замечен никогда"_a
                                                                : "изменение на входе не будет замечено никогда"_a;
        AnsiString text = "Схема "_a + scheme + ": элемент "_a + reader + ", вход "_a + r.pin + ": сигнал "_a + r.signal;
        if (it->second == r.element)
            text += " пишет только сам элемент "_a + reader + ", поэтому "_a + missed +
                    ". Подайте сигнал на вход через элемент с номером меньше, чем у "_a + reader + "."_a;
        else
            text += " пишет только элемент "_a + writer + ", который обрабатывается позже, поэтому "_a + missed +
                    ". Дайте элементу "_a + writer + " номер меньше, чем у "_a + reader + "."_a;
        out.push_back(text);
    }
    return out;
}
