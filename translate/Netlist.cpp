#include "translate/Netlist.h"

#include <algorithm>

#include "translate/TranslateApi.h"
#include "translate/WorkFiles.h"

namespace translate {

namespace {

bool IsBlank(const AnsiString& line) { return Trim(line).IsEmpty(); }

// "%~" followed by numbers and blanks only: the counts of a state-machine
// table (a pin whose net name starts with "~" has a direction word).
bool IsTableCount(const AnsiString& line) {
    if (line.Length() < 3 || line[1] != '%' || line[2] != '~') return false;
    bool digit = false;
    for (int i = 3; i <= line.Length(); ++i) {
        const char c = line[i];
        if (c >= '0' && c <= '9') digit = true;
        else if (c != ' ' && c != '\t') return false;
    }
    return digit;
}

// "%" + net + blanks + "in" | "out" [+ "inverse"].
bool ParsePin(const AnsiString& line, TPinLine& pin) {
    const std::vector<AnsiString> f = SplitFields(line.SubString(2, line.Length()));
    if (line.Length() < 2 || line[2] == ' ' || line[2] == '\t' || f.size() < 2 || f.size() > 3) return false;
    if (f[1] != "in" && f[1] != "out") return false;
    if (f.size() == 3 && f[2] != "inverse") return false;
    pin.Net = f[0];
    pin.Output = f[1] == "out";
    pin.InverseWord = f.size() == 3;
    return true;
}

} // namespace

void ParseNetlist(const std::vector<AnsiString>& lines, const AnsiString& fileName, std::vector<TBlock>& blocks,
                  TDiagnostics& diag) {
    std::size_t i = 0;
    while (i < lines.size()) {
        if (IsBlank(lines[i])) {
            ++i;
            continue;
        }
        const std::size_t header = i;
        while (i < lines.size() && !IsBlank(lines[i])) ++i; // the block runs to the next empty line
        if (lines[header].Length() > 0 && lines[header][1] == '%') {
            diag.Error(kTranslateNetlistError,
                       Format("Файл %s, строка %d: нет заголовка элемента"_a, fileName, int(header) + 1));
            continue;
        }
        TBlock b;
        b.Line = int(header) + 1;
        // "name keyword [parameters]"; a line that starts with a blank has no name.
        std::vector<AnsiString> f = SplitFields(lines[header]);
        const char first = lines[header][1];
        if (first == ' ' || first == '\t') f.insert(f.begin(), AnsiString());
        b.Name = f[0];
        if (f.size() > 1) b.Keyword = f[1];
        b.Params.assign(f.begin() + std::min<std::size_t>(2, f.size()), f.end());
        for (std::size_t k = header + 1; k < i; ++k) {
            const AnsiString& line = lines[k];
            const bool row = line.Length() >= 2 && line[1] == '%' && line[2] == '%';
            if (row || IsTableCount(line)) {
                b.Rows.push_back(line);
                continue;
            }
            TPinLine pin;
            if (line[1] != '%' || !ParsePin(line, pin)) {
                diag.Error(kTranslateNetlistError, "Элемент "_a + b.Name + ": неверная строка вывода \""_a + line + "\"");
                b.Damaged = true;
                continue;
            }
            b.Pins.push_back(pin);
        }
        blocks.push_back(std::move(b));
    }
}

} // namespace translate
