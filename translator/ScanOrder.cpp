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

void TScanOrderCheck::BeginScheme(const AnsiString& scheme) {
    schemes_.push_back(scheme);
    schemeReaders_ = readers_.size();
}

void TScanOrderCheck::AddWrite(const AnsiString& signal, Writer writer) {
    auto [it, added] = firstWriter_.try_emplace(Key(signal), writer);
    if (!added && writer.step < it->second.step)
        it->second = writer;
}

void TScanOrderCheck::AddCopies(const TStrings& lines, int first, bool front) {
    const int step = front ? 0 : ++steps_;
    for (int i = first; i < lines.Count(); ++i) {
        AnsiString signal;
        bool output = false;
        if (ParsePinLine(lines.Get(i), signal, output) && output)
            AddWrite(signal, {step, -1});
    }
}

void TScanOrderCheck::AddElement(const TElement& element, const TStrings& lines, int first) {
    const int index = int(elements_.size());
    elements_.push_back({element.Name(), int(schemes_.size()) - 1, ++steps_});
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
                AddWrite(signal, {steps_, index});
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

const TScanOrderCheck::Writer* TScanOrderCheck::FirstWriter(const Reader& r) const {
    auto it = firstWriter_.find(Key(r.signal));
    if (it == firstWriter_.end() || it->second.step < elements_[std::size_t(r.element)].step || it->second.element < 0)
        return nullptr;
    return &it->second;
}

AnsiString TScanOrderCheck::Start(const Reader& r) const {
    const Element& reader = elements_[std::size_t(r.element)];
    return "Схема "_a + schemes_[std::size_t(reader.scheme)] + ": элемент "_a + reader.name + ", вход "_a + r.pin +
           ": сигнал "_a + r.signal;
}

namespace {
AnsiString Missed(TPreviousRead read) {
    return read == TPreviousRead::Edge ? "фронт на входе не будет замечен никогда"_a
                                       : "изменение на входе не будет замечено никогда"_a;
}
} // namespace

std::vector<AnsiString> TScanOrderCheck::Warnings() const {
    std::vector<AnsiString> out;
    for (std::size_t i = schemeReaders_; i < readers_.size(); ++i) {
        const Reader& r = readers_[i];
        const Writer* w = FirstWriter(r);
        if (!w)
            continue;
        const AnsiString& reader = elements_[std::size_t(r.element)].name;
        const AnsiString& writer = elements_[std::size_t(w->element)].name;
        AnsiString text = Start(r);
        if (w->element == r.element)
            text += " пишет только сам элемент "_a + reader + ", поэтому "_a + Missed(r.read) +
                    ". Подайте сигнал на вход через элемент с номером меньше, чем у "_a + reader + "."_a;
        else
            text += " пишет только элемент "_a + writer + ", который обрабатывается позже, поэтому "_a +
                    Missed(r.read) + ". Дайте элементу "_a + writer + " номер меньше, чем у "_a + reader + "."_a;
        out.push_back(text);
    }
    return out;
}

std::vector<AnsiString> TScanOrderCheck::LaterSchemeWarnings() const {
    std::vector<AnsiString> out;
    for (const Reader& r : readers_) {
        const Writer* w = FirstWriter(r);
        if (!w)
            continue;
        const Element& writer = elements_[std::size_t(w->element)];
        const int scheme = elements_[std::size_t(r.element)].scheme;
        // Written first by the reader's own scheme: warned about with that scheme.
        if (writer.scheme == scheme)
            continue;
        const AnsiString& later = schemes_[std::size_t(writer.scheme)];
        out.push_back(Start(r) + " пишет только элемент "_a + writer.name + " схемы "_a + later +
                      ", которая обрабатывается позже, поэтому "_a + Missed(r.read) + ". Поставьте схему "_a + later +
                      " в списке проекта перед схемой "_a + schemes_[std::size_t(scheme)] + "."_a);
    }
    return out;
}
