// The checks of the translated text: signals driven twice, transition signals
// used in one direction only, and two outputs on one driver bit.
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "document/DriversInfo.h"
#include "platform/UiPort.h"
#include "translator/Logfile.h"

namespace {
std::string Key(const AnsiString& name) { return AnsiUpperCase(name).str(); }

// Trims blanks and control characters at both ends.
AnsiString TrimmedLine(const AnsiString& line) { return line.Trim(); }

// The signal name of a pin line: from its second character up to the first blank.
AnsiString PinSignal(const AnsiString& line) {
    AnsiString rest = line.SubString(2, line.Length());
    int blank = rest.Pos(" ");
    return blank > 0 ? rest.SubString(1, blank - 1) : rest;
}

bool IsNullName(const AnsiString& name) { return name == "_null_out_" || name == "_null_in_"; }

// The n-th (0-based) ';' field of a comment line.
AnsiString Field(const AnsiString& line, int n) {
    int start = 1;
    for (int i = 0; i < n; ++i) {
        int cut = line.SubString(start, line.Length()).Pos(";");
        if (cut == 0)
            return AnsiString();
        start += cut;
    }
    AnsiString rest = line.SubString(start, line.Length());
    int cut = rest.Pos(";");
    return cut > 0 ? rest.SubString(1, cut - 1) : rest;
}

int BitOf(const AnsiString& line) { return StrToIntDef(Field(line, 0), 0); }
} // namespace

bool TLogFile::IsSignal(const AnsiString& name, const TStrings& signalList) {
    for (int i = 0; i < signalList.Count(); ++i)
        if (TrimmedLine(signalList.Get(i)) == name)
            return true;
    return false;
}

bool TLogFile::CheckSchemes(const TStrings& elements, const TStrings& signalList) {
    // Letter case aside, as the library takes names: "xx" read is XX written.
    std::unordered_set<std::string> signalNames;
    for (int i = 0; i < signalList.Count(); ++i)
        signalNames.insert(Key(TrimmedLine(signalList.Get(i))));

    // Transition signals by direction: '0' only read, '1' only written, '2' both.
    struct Direction {
        AnsiString name;
        char code;
    };
    std::vector<Direction> directions;
    std::unordered_map<std::string, std::size_t> directionIndex;
    std::unordered_set<std::string> driven;
    std::unordered_set<std::string> drivenTwiceSeen;
    std::vector<AnsiString> drivenTwice;

    for (int i = 0; i < elements.Count(); ++i) {
        AnsiString line = elements.Get(i);
        if (line.IsEmpty() || line[1] != '%')
            continue;
        AnsiString name = PinSignal(line);
        bool output = line.Pos(" out") > 0;
        if (signalNames.count(Key(name)) && !IsNullName(name)) {
            auto [it, added] = directionIndex.emplace(Key(name), directions.size());
            if (added)
                directions.push_back({name, output ? '1' : '0'});
            else if ((directions[it->second].code != '0') != output)
                directions[it->second].code = '2';
        } else if (output && line.Pos("_null_out_") == 0) {
            if (!driven.insert(Key(name)).second && drivenTwiceSeen.insert(Key(name)).second)
                drivenTwice.push_back(name);
        }
    }

    bool reported = false;
    for (const AnsiString& name : drivenTwice) {
        AnsiString text = "Сигнал "_a + name + " является выходным более чем для одного элемента!"_a;
        ShowMessage(text);
        Message(text);
        reported = true;
    }
    if (!reported)
        Message("Ok");
    Message("Проверка переходных сигналов (переходов со схемы на схему) "_a);
    for (const Direction& d : directions) {
        if (d.code == '2')
            continue;
        Message("Сигнал "_a + d.name +
                (d.code == '1' ? "  не является входным ни на одной схеме"_a : "  не является выходным ни на одной схеме"_a));
        reported = true;
    }
    if (!reported)
        Message("Ok");
    return reported;
}

AnsiString TLogFile::GetDriverField(const AnsiString& line) { return Field(line, 2); }

void TLogFile::SortBits(TStrings& comments, const TStrings& unused) {
    (void)unused;
    TStringList bitNames;
    DriversInUse().GetBitNames(&bitNames);
    // A pin finds its row letter case aside, as everywhere in the translation.
    std::unordered_map<std::string, int> lastLine;
    for (int i = 0; i < comments.Count(); ++i)
        lastLine[Key(Field(comments.Get(i), 1))] = i;
    TStringList result;
    for (int b = 0; b < bitNames.Count(); ++b) {
        auto it = lastLine.find(Key(bitNames.Get(b)));
        if (it != lastLine.end())
            result.Add(comments.Get(it->second));
    }
    comments.Assign(&result);
}

int TLogFile::SortByDrivers(TStrings& comments, TStrings& drivers) {
    // One entry per driver: its name and whether it is an input driver.
    struct Entry {
        AnsiString name;
        bool input;
    };
    std::vector<Entry> entries;
    std::unordered_set<std::string> names;
    for (int i = 0; i < drivers.Count(); ++i) {
        AnsiString line = drivers.Get(i);
        int blank = line.Pos(" ");
        AnsiString name = blank > 0 ? line.SubString(1, blank - 1) : line;
        AnsiString direction = blank > 0 ? line.SubString(blank + 1, 3) : AnsiString();
        if (names.insert(Key(name)).second)
            entries.push_back({name, direction == "in "});
    }
    // Input drivers go to the front, each in turn, so they end up in the
    // reverse of their table order, before the output drivers.
    std::vector<Entry> ordered;
    for (const Entry& e : entries)
        if (e.input)
            ordered.insert(ordered.begin(), e);
    for (const Entry& e : entries)
        if (!e.input)
            ordered.push_back(e);

    drivers.Clear();
    for (const Entry& e : ordered)
        drivers.Add(e.name + "=" + (e.input ? "0" : "1"));

    TStringList result;
    TStringList out;
    int conflict = 0;
    for (const Entry& e : ordered) {
        int r = CheckBit(e.name, comments, out);
        if (conflict == 0)
            conflict = r;
        result.AddStrings(&out);
    }
    comments.Assign(&result);
    return conflict;
}

int TLogFile::CheckBit(const AnsiString& driver, const TStrings& comments, TStrings& out) {
    out.Clear();
    if (driver.IsEmpty())
        return 0;
    for (int i = 0; i < comments.Count(); ++i)
        if (GetDriverField(comments.Get(i)) == driver)
            out.Add(comments.Get(i));

    int found = 0;
    auto report = [&](int a, bool whileMoving) {
        AnsiString first = Field(out.Get(a), 1);
        AnsiString second = Field(out.Get(a + 1), 1);
        AnsiString head = " Два выхода "_a + first + " и "_a + second;
        AnsiString tail = IntToStr(BitOf(out.Get(a))) + "-й бит в драйвере "_a + driver;
        // The box of a pair met while a line moves down has always read without
        // the indent; the log keeps it.
        ShowMessage(head + (whileMoving ? "\nзанимают один "_a : "\n    занимают один "_a) + tail);
        Message(head + "\n    занимают один "_a + tail);
        found = 1;
    };
    for (int i = 0; i + 1 < out.Count(); ++i) {
        int j = i;
        if (BitOf(out.Get(j)) == BitOf(out.Get(j + 1)))
            report(j, false);
        while (j >= 0 && BitOf(out.Get(j)) > BitOf(out.Get(j + 1))) {
            out.Exchange(j, j + 1);
            if (j == 0)
                break;
            --j;
            if (BitOf(out.Get(j)) == BitOf(out.Get(j + 1)))
                report(j, true);
        }
    }
    return found;
}
