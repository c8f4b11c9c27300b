#include "model/ElementKinds.h"

#include <array>
#include <type_traits>

#include "model/CaseElements.h"
#include "model/Driver.h"
#include "model/Elements.h"
#include "model/FSM.h"
#include "model/Symbol.h"

namespace {

template <class T>
TElement* Make(IEntityOwner* owner, int count) {
    if constexpr (std::is_constructible_v<T, IEntityOwner*, int>) {
        return new T(owner, count);
    } else {
        (void)count;
        return new T(owner);
    }
}

// clang-format off
#define GE_KIND_ROW(kind, tag, cls, factory, keyword, type, name, pins, count, made, extra, entry)              \
    TElementKind{TEntityKind::kind, keyword, type, name, pins, TKindCount::count, made, TKindExtra::extra, entry, \
                 &Make<cls>},
constexpr TElementKind kKinds[] = {GE_ELEMENT_KINDS(GE_KIND_ROW)};
#undef GE_KIND_ROW
// clang-format on

constexpr int kNoRow = -1;

// The row of every tag.
constexpr std::array<int, 256> kRowOfTag = [] {
    std::array<int, 256> rows{};
    rows.fill(kNoRow);
    for (int i = 0; i < int(std::size(kKinds)); ++i)
        rows[std::size_t(kKinds[i].Kind)] = i;
    return rows;
}();

constexpr bool TagsAscendAndMissTheOthers() {
    for (std::size_t i = 0; i < std::size(kKinds); ++i) {
        const int tag = int(kKinds[i].Kind);
        if ((i > 0 && tag <= int(kKinds[i - 1].Kind)) || tag == int(TEntityKind::Link) ||
            tag >= int(TEntityKind::Point))
            return false;
    }
    return true;
}
static_assert(TagsAscendAndMissTheOthers(), "a tag of its own for every kind, not the wire's nor an unstored one's");

constexpr bool OfferedOncePerPosition() {
    for (int position = 0; position < kOfferedKindCount; ++position) {
        int rows = 0;
        for (const TElementKind& k : kKinds)
            rows += k.Entry.Position == position ? 1 : 0;
        if (rows != 1)
            return false;
    }
    for (const TElementKind& k : kKinds)
        if (k.Entry.Position >= kOfferedKindCount ||
            (k.Entry.Position >= 0) != (k.Count != TKindCount::Machine && k.Count != TKindCount::NoCopy))
            return false;
    return true;
}
static_assert(OfferedOncePerPosition(), "the dialog offers every kind that is made with a count or none, once");

constexpr bool KeywordsAskForTheirTypes() {
    for (const TElementKind& k : kKinds)
        if (k.Type >= 0 && (!k.Keyword || ElementTypeOf(k.Keyword) != k.Type))
            return false;
    return true;
}
static_assert(KeywordsAskForTheirTypes(), "a kind's keyword is the keyword of its record type");

// One token of a Pins column: "name<", "name>~", "A0..A7<", "0..7>", "Out>*4".
void AddPins(std::string_view token, std::vector<TPinSpec>& pins) {
    int repeat = 1;
    if (std::size_t star = token.rfind('*'); star != std::string_view::npos) {
        repeat = 0;
        for (char c : token.substr(star + 1))
            repeat = repeat * 10 + (c - '0');
        token = token.substr(0, star);
    }
    TPinSpec pin;
    if (token.ends_with('~')) {
        pin.Inverse = true;
        token.remove_suffix(1);
    }
    pin.Direction = token.ends_with('>') ? 1 : 0;
    token.remove_suffix(1);
    if (std::size_t dots = token.find(".."); dots != std::string_view::npos) {
        // A numbered range: the prefix of the first name, then the numbers up to the last's.
        const std::string_view first = token.substr(0, dots);
        const std::size_t digits = first.find_first_of("0123456789");
        const std::string_view prefix = first.substr(0, digits);
        int from = 0;
        int to = 0;
        for (char c : first.substr(digits))
            from = from * 10 + (c - '0');
        for (char c : token.substr(dots + 2 + prefix.size()))
            to = to * 10 + (c - '0');
        for (int n = from; n <= to; ++n) {
            pin.Name = AnsiString(prefix) + AnsiString(n);
            pins.push_back(pin);
        }
        return;
    }
    pin.Name = AnsiString(token);
    for (int i = 0; i < repeat; ++i)
        pins.push_back(pin);
}

} // namespace

std::span<const TElementKind> ElementKinds() { return kKinds; }

const TElementKind* FindElementKind(TEntityKind kind) {
    const int row = kRowOfTag[std::size_t(kind)];
    return row == kNoRow ? nullptr : &kKinds[row];
}

const TElementKind* FindElementKind(const AnsiString& keyword) {
    for (const TElementKind& k : kKinds)
        if (k.Keyword && keyword == k.Keyword)
            return &k;
    return nullptr;
}

std::vector<TPinSpec> ParsePinSpec(const char* pins) {
    std::vector<TPinSpec> list;
    std::string_view rest(pins);
    while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        if (blank != 0)
            AddPins(rest.substr(0, blank), list);
        if (blank == std::string_view::npos)
            break;
        rest.remove_prefix(blank + 1);
    }
    return list;
}

const std::vector<TPinSpec>& DefaultPins(TEntityKind kind) {
    static const std::array<std::vector<TPinSpec>, std::size(kKinds)> pins = [] {
        std::array<std::vector<TPinSpec>, std::size(kKinds)> all;
        for (std::size_t i = 0; i < std::size(kKinds); ++i)
            all[i] = ParsePinSpec(kKinds[i].Pins);
        return all;
    }();
    static const std::vector<TPinSpec> none;
    const int row = kRowOfTag[std::size_t(kind)];
    return row == kNoRow ? none : pins[std::size_t(row)];
}

TElement* NewElement(const TElementKind& kind, IEntityOwner* owner, int count, int delay) {
    const bool counted = kind.Count == TKindCount::Factors || kind.Count == TKindCount::MadeOutputs;
    TElement* e = kind.Make(owner, counted ? count : kind.DefaultCount);
    switch (kind.Count) {
    case TKindCount::Inputs: e->SetInputCount(count); break;
    case TKindCount::Outputs: e->SetOutputCount(count); break;
    case TKindCount::Pairs: static_cast<TCommutatorElement*>(e)->SetPinCount(2 * count + 1); break;
    default: break;
    }
    if (kind.Extra == TKindExtra::Delay)
        static_cast<TTimerElement*>(e)->SetDelay(delay);
    return e;
}

TElement* NewCopy(const TElement& source, IEntityOwner* owner, const std::function<void(TElement*)>& add) {
    const TElementKind* kind = FindElementKind(source.Label());
    if (!kind || kind->Count == TKindCount::NoCopy)
        return nullptr;
    int made = kind->DefaultCount;
    if (kind->Count == TKindCount::Factors)
        made = source.InputCount() - 2;
    else if (kind->Count == TKindCount::MadeOutputs)
        made = source.OutputCount();
    TElement* copy = kind->Make(owner, made);
    add(copy);
    switch (kind->Count) {
    case TKindCount::Inputs: copy->SetInputCount(source.InputCount()); break;
    case TKindCount::Outputs: copy->SetOutputCount(source.OutputCount()); break;
    case TKindCount::Pairs: static_cast<TCommutatorElement*>(copy)->SetPinCount(source.InputCount()); break;
    case TKindCount::Machine:
        copy->SetInputCount(source.InputCount());
        copy->SetOutputCount(source.OutputCount());
        break;
    default: break;
    }
    // A plain element typed with a timer's keyword has no delay to take.
    const auto* timer = dynamic_cast<const TTimerElement*>(&source);
    if (kind->Extra == TKindExtra::Delay && timer)
        static_cast<TTimerElement*>(copy)->SetDelay(timer->Delay());
    else if (kind->Extra == TKindExtra::Height)
        copy->SetHeight(source.GetHeight());
    return copy;
}
