// The table of element kinds (model/ElementKinds.h) and the controller's
// element types (controller/ElementTypes.h) held to the documents that fix
// them: the record tags of docs/file-formats.md, its record types per
// keyword, and the keywords and pin lists of docs/netlist.md. The documents
// are read as they stand in the checkout.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "controller/ElementTypes.h"
#include "model/Element.h"
#include "model/ElementKinds.h"
#include "model/Elements.h"
#include "model/Records.h"

namespace {

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(' ');
    const std::size_t last = s.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

// The cells of a table row "| a | b |".
std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream row(line.substr(1));
    std::string cell;
    while (std::getline(row, cell, '|'))
        cells.push_back(Trim(cell));
    return cells;
}

// The rows of the first table whose header starts so after the heading that starts so.
std::vector<std::vector<std::string>> Table(const std::string& file, const std::string& heading,
                                            const std::string& header) {
    std::ifstream in(std::string(GE_DOCS_DIR) + "/" + file);
    EXPECT_TRUE(in.good()) << file;
    std::string line;
    while (std::getline(in, line) && line.rfind(heading, 0) != 0) {
    }
    while (std::getline(in, line) && line.rfind(header, 0) != 0) {
    }
    std::vector<std::vector<std::string>> rows;
    std::getline(in, line); // |---|
    while (std::getline(in, line) && line.rfind("|", 0) == 0)
        rows.push_back(Cells(line));
    EXPECT_FALSE(rows.empty()) << file << ": " << heading;
    return rows;
}

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> items;
    std::stringstream s(list);
    std::string item;
    while (std::getline(s, item, ','))
        items.push_back(Trim(item));
    return items;
}

// "`and`" -> "and"; "" when the text is not one backticked word.
std::string Unquoted(const std::string& cell) {
    if (cell.size() < 3 || cell.front() != '`' || cell.back() != '`')
        return {};
    return cell.substr(1, cell.size() - 2);
}

// What docs/file-formats.md calls the records that are not named by a keyword.
std::string Described(TEntityKind kind) {
    switch (kind) {
    case TEntityKind::Element: return "plain element";
    case TEntityKind::Symbol: return "symbol";
    case TEntityKind::Driver: return "driver pin";
    case TEntityKind::VarDriver: return "connector";
    case TEntityKind::Link: return "wire";
    default: return "?";
    }
}

TEST(ElementKinds, TagsAreThoseOfTheSchemeFileFormat) {
    std::map<int, std::string> documented;
    for (const auto& row : Table("file-formats.md", "## Scheme files", "| tag | kind | tag | kind"))
        for (std::size_t i = 0; i + 1 < row.size(); i += 2)
            if (!row[i].empty())
                documented[std::stoi(row[i])] = row[i + 1];
    std::set<int> tags = {int(TEntityKind::Link)};
    for (const TElementKind& k : ElementKinds()) {
        const int tag = int(k.Kind);
        tags.insert(tag);
        SCOPED_TRACE(tag);
        ASSERT_TRUE(documented.count(tag));
        // A kind that the controller runs is named by its keyword; the others by what they are.
        EXPECT_EQ(documented[tag], k.Type >= 0 ? "`" + std::string(k.Keyword) + "`" : Described(k.Kind));
        // A record of the tag reads back as an object of the kind.
        std::unique_ptr<TEntity> made = CreateEntityForTag(uint8_t(tag), nullptr);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->Kind(), k.Kind);
        ByteWriter w;
        WriteEntityRecord(w, *made);
        EXPECT_EQ(uint8_t(w.Data()[0]), tag);
    }
    EXPECT_EQ(documented[int(TEntityKind::Link)], Described(TEntityKind::Link));
    std::set<int> documentedTags;
    for (const auto& [tag, kind] : documented)
        documentedTags.insert(tag);
    EXPECT_EQ(documentedTags, tags) << "every documented tag is a kind of the table or the wire";
    // A tag that no kind has reads as no object.
    EXPECT_EQ(CreateEntityForTag(0, nullptr), nullptr);
    EXPECT_EQ(CreateEntityForTag(uint8_t(*tags.rbegin() + 1), nullptr), nullptr);
    EXPECT_EQ(CreateEntityForTag(uint8_t(TEntityKind::Point), nullptr), nullptr);
}

TEST(ElementKinds, RecordTypesAreThoseOfTheControllerFormat) {
    std::map<std::string, int> typeOf;
    for (const auto& row : Table("file-formats.md", "### Records per keyword", "| keyword | type |")) {
        const std::vector<std::string> keywords = Split(row[0]);
        const std::vector<std::string> types = Split(row[1]);
        ASSERT_EQ(keywords.size(), types.size()) << row[0];
        for (std::size_t i = 0; i < keywords.size(); ++i)
            typeOf[keywords[i]] = std::stoi(types[i]);
    }
    ASSERT_EQ(int(typeOf.size()), kElementTypeCount) << "one keyword per type";
    for (const auto& [keyword, type] : typeOf) {
        SCOPED_TRACE(keyword);
        EXPECT_EQ(ElementTypeOf(keyword), type);
        ASSERT_TRUE(type >= 0 && type < kElementTypeCount);
        EXPECT_EQ(std::string(kElementTypeKeywords[type]), keyword);
    }
    EXPECT_EQ(ElementTypeOf("AND"), -1);
    EXPECT_EQ(ElementTypeOf("symbol"), -1);
    // A kind's keyword asks for the kind's type; the kinds the controller does not run have none.
    int run = 0;
    for (const TElementKind& k : ElementKinds()) {
        SCOPED_TRACE(int(k.Kind));
        const std::string keyword = k.Keyword ? k.Keyword : "";
        EXPECT_EQ(k.Type, typeOf.count(keyword) ? typeOf[keyword] : -1);
        run += k.Type >= 0 ? 1 : 0;
    }
    EXPECT_EQ(run, kElementTypeCount - 1) << "every type but the refused delay has a kind";
}

// A pin list as "name<" / "name>" / "name>~" tokens, each followed by a blank.
std::string PinList(const TElement& e) {
    std::string s;
    for (int i = 0; i < e.PinCount(); ++i)
        s += e.Pin(i)->Name().str() + (e.Pin(i)->Direction() ? ">" : "<") + (e.Pin(i)->Inverse() ? "~" : "") + " ";
    return s;
}

// The pins column of docs/netlist.md with its defaults, as such a list; false
// when a count in it is not a number ("k-1", "the machine's inputs").
bool DocumentedPins(const std::string& pins, const std::string& defaults, std::string& list) {
    auto countOf = [&](const std::string& word) {
        const std::size_t at = defaults.find(" " + word);
        std::size_t from = at;
        while (from > 0 && std::isdigit(static_cast<unsigned char>(defaults[from - 1])))
            --from;
        return at == std::string::npos || from == at ? 1 : std::stoi(defaults.substr(from, at - from));
    };
    auto numbered = [](const std::string& name, std::string& prefix, int& number) {
        const std::size_t digits = name.find_first_of("0123456789");
        if (digits == std::string::npos || name.find_first_not_of("0123456789", digits) != std::string::npos)
            return false;
        prefix = name.substr(0, digits);
        number = std::stoi(name.substr(digits));
        return true;
    };
    if (pins.find('`') == std::string::npos)
        return false;
    list.clear();
    std::string gap;
    std::string previous;
    std::size_t at = 0;
    while (true) {
        const std::size_t open = pins.find('`', at);
        const std::string between = pins.substr(at, open == std::string::npos ? std::string::npos : open - at);
        if (between.rfind(" (inverted)", 0) == 0)
            list.insert(list.size() - 1, "~");
        if (open == std::string::npos)
            return true;
        const std::size_t close = pins.find('`', open + 1);
        const std::string token = pins.substr(open + 1, close - open - 1);
        const std::string name = token.substr(0, token.size() - 1);
        const std::string direction = token.substr(token.size() - 1);
        if (Trim(between) == "..") {
            std::string prefix;
            std::string lastPrefix;
            int first = 0;
            int last = 0;
            if (!numbered(previous, prefix, first) || !numbered(name, lastPrefix, last) || prefix != lastPrefix)
                return false;
            for (int n = first + 1; n <= last; ++n)
                list += prefix + std::to_string(n) + direction + " ";
        } else {
            const std::string context = Trim(between);
            int repeat = 1;
            for (const char* word : {"inputs", "outputs"})
                if (context.size() >= std::string(word).size() &&
                    context.compare(context.size() - std::string(word).size(), std::string::npos, word) == 0)
                    repeat = countOf(word);
            for (int i = 0; i < repeat; ++i)
                list += token + " ";
        }
        previous = name;
        at = close + 1;
    }
}

TEST(ElementKinds, KeywordsAndPinsAreThoseOfTheNetlist) {
    std::set<std::string> documented;
    int compared = 0;
    for (const auto& row : Table("netlist.md", "### Pin lists", "| keyword | pins")) {
        for (const std::string& item : Split(row[0])) {
            const std::string keyword = Unquoted(item);
            ASSERT_FALSE(keyword.empty()) << row[0];
            documented.insert(keyword);
            const TElementKind* k = FindElementKind(AnsiString(keyword));
            ASSERT_NE(k, nullptr) << keyword;
            std::string pins;
            if (!DocumentedPins(row[1], row[2], pins))
                continue;
            // A new element of the kind as a record's is made, before its body is read.
            std::unique_ptr<TElement> e(k->Make(nullptr, k->DefaultCount));
            EXPECT_EQ(PinList(*e), pins) << keyword;
            EXPECT_EQ(e->Label().str(), keyword);
            ++compared;
        }
    }
    EXPECT_GE(compared, 15) << "the pin lists of every kind with fixed pins";
    std::set<std::string> written;
    for (const TElementKind& k : ElementKinds())
        if (k.Type >= 0)
            written.insert(k.Keyword);
    EXPECT_EQ(written, documented) << "every kind that writes a netlist block, and no other";
}

// The copy command's copies: the kind of the source's keyword with the
// source's counts, and a delay only from a source that has one.
TEST(ElementKinds, ACopyTakesADelayOnlyFromATimer) {
    std::vector<std::unique_ptr<TElement>> added;
    auto add = [&](TElement* e) { added.emplace_back(e); };
    TPredTimerElement timer(nullptr, 3);
    timer.SetDelay(700);
    TElement* copy = NewCopy(timer, nullptr, add);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Kind(), TEntityKind::PredTimer);
    EXPECT_EQ(copy->InputCount(), 5);
    EXPECT_EQ(static_cast<TTimerElement*>(copy)->Delay(), 700);
    // A plain element whose record types it "timer" or "predtimer" is no
    // timer: its copy is a timer of that keyword with the default delay.
    for (const char* keyword : {"timer", "predtimer"}) {
        SCOPED_TRACE(keyword);
        TElement typed(nullptr, keyword);
        typed.SetInputCount(4);
        copy = NewCopy(typed, nullptr, add);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->Label().str(), keyword);
        EXPECT_EQ(static_cast<TTimerElement*>(copy)->Delay(), 1000);
    }
    EXPECT_EQ(added.size(), 3u);
    // No kind of the keyword, or a kind that is never copied: nothing is made.
    for (const char* keyword : {"", "AND", "symbol", "driver", "var"})
        EXPECT_EQ(NewCopy(TElement(nullptr, keyword), nullptr, add), nullptr) << keyword;
    EXPECT_EQ(added.size(), 3u);
}

TEST(ElementKinds, PinColumnsSpellRangesAndRepeats) {
    const std::vector<TPinSpec> pins = ParsePinSpec("Out>*3 D0..D2< >> Q>~ 9..11>");
    std::string list;
    for (const TPinSpec& p : pins)
        list += p.Name.str() + (p.Direction ? ">" : "<") + (p.Inverse ? "~" : "") + " ";
    EXPECT_EQ(list, "Out> Out> Out> D0< D1< D2< >> Q>~ 9> 10> 11> ");
    EXPECT_TRUE(ParsePinSpec("").empty());
}

} // namespace
