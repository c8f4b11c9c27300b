#include "translate/MachineTable.h"

#include <string>
#include <vector>

#include "translate/TranslateApi.h"
#include "translate/WorkFiles.h"

namespace translate {

namespace {

// A transition: value and mask bytes and the target state.
struct TItem {
    std::string Value, Mask;
    int Target = 0;
};

struct TStateBlock {
    std::string Outputs;
    std::vector<TItem> Rows;
};

// '0'/'1' text (an 'X' counts as 0 where allowed) of whole bytes, bit 7 first.
bool TextBytes(const std::string& text, std::size_t bytes, bool allowX, std::string& out) {
    if (text.size() != bytes * 8) return false;
    out.assign(bytes, '\0');
    for (std::size_t j = 0; j < text.size(); ++j) {
        const char c = text[j];
        if (c == '1') out[j / 8] = char(out[j / 8] | 0x80 >> (j % 8));
        else if (c != '0' && !(allowX && c == 'X')) return false;
    }
    return true;
}

class TTableReader {
public:
    TTableReader(const TBlock& b, int inputs, int outputs, TDiagnostics& diag)
        : b_(b), ib_(std::size_t(inputs + 7) / 8), ob_(std::size_t(outputs + 7) / 8), diag_(diag) {}

    bool Read(int& states, int& transitions, TItem& start, TItem& reset, std::vector<TStateBlock>& blocks);

private:
    bool Bad(const AnsiString& row) {
        diag_.Error(kTranslateNetlistError,
                    "Элемент "_a + b_.Name + ": неверная строка таблицы переходов \""_a + row + "\"");
        return false;
    }
    // "v-m=t": v and m of ib bytes, t one byte.
    bool Item(const std::string& text, TItem& item) const {
        const std::size_t dash = text.find('-'), eq = text.find('=');
        if (dash == std::string::npos || eq == std::string::npos || eq < dash) return false;
        std::string target;
        if (!TextBytes(text.substr(0, dash), ib_, false, item.Value) ||
            !TextBytes(text.substr(dash + 1, eq - dash - 1), ib_, false, item.Mask) ||
            !TextBytes(text.substr(eq + 1), 1, false, target))
            return false;
        item.Target = uint8_t(target[0]);
        return true;
    }
    // Items "v-m=t;" back to back, each ending in ';'.
    bool Items(const std::string& text, std::vector<TItem>& items) const {
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find(';', pos);
            TItem item;
            if (end == std::string::npos || !Item(text.substr(pos, end - pos), item)) return false;
            items.push_back(item);
            pos = end + 1;
        }
        return true;
    }
    // The numbers of a "%~" line.
    static std::vector<long long> Counts(const AnsiString& row) {
        std::vector<long long> v;
        for (const AnsiString& f : SplitFields(row.SubString(3, row.Length()))) {
            long long n = 0;
            ParseInteger(f, n);
            v.push_back(n);
        }
        return v;
    }
    static bool IsCount(const AnsiString& row) { return row.Length() >= 2 && row[2] == '~'; }
    static std::string Body(const AnsiString& row) { return row.str().substr(2); }

    const TBlock& b_;
    std::size_t ib_, ob_;
    TDiagnostics& diag_;
};

bool TTableReader::Read(int& states, int& transitions, TItem& start, TItem& reset, std::vector<TStateBlock>& blocks) {
    const std::vector<AnsiString>& rows = b_.Rows;
    if (rows.empty()) {
        diag_.Error(kTranslateNetlistError, "Элемент "_a + b_.Name + ": нет таблицы переходов автомата"_a);
        return false;
    }
    const std::vector<long long> head = Counts(rows[0]);
    if (!IsCount(rows[0]) || head.size() != 2) return Bad(rows[0]);
    if (head[0] > kMaxMachineStates) {
        diag_.Error(kTranslateLimitExceeded, Format("Элемент %s: у автомата %s состояний, допустимо не более %d"_a,
                                                    b_.Name, IntToStr(head[0]), kMaxMachineStates));
        return false;
    }
    states = int(head[0]);
    const long long declared = head[1];
    std::size_t r = 1;
    for (TItem* item : {&start, &reset}) {
        if (r >= rows.size()) return Bad(rows.back());
        std::vector<TItem> one;
        if (IsCount(rows[r]) || !Items(Body(rows[r]), one) || one.size() != 1) return Bad(rows[r]);
        *item = one[0];
        ++r;
    }
    long long total = 0;
    for (int s = 0; s < states; ++s) {
        if (r >= rows.size()) return Bad(rows.back());
        const std::vector<long long> k = Counts(rows[r]);
        if (!IsCount(rows[r]) || k.size() != 1) return Bad(rows[r]);
        ++r;
        // The first row holds the output pattern and the first items;
        // continuation rows hold items only, until k items are read.
        if (r >= rows.size() || IsCount(rows[r])) return Bad(rows[r - 1]);
        const std::string first = Body(rows[r]);
        const std::size_t semi = first.find(';');
        TStateBlock block;
        if (semi == std::string::npos || !TextBytes(first.substr(0, semi), ob_, true, block.Outputs) ||
            !Items(first.substr(semi + 1), block.Rows))
            return Bad(rows[r]);
        ++r;
        while (r < rows.size() && !IsCount(rows[r]) && (long long)block.Rows.size() < k[0]) {
            if (!Items(Body(rows[r]), block.Rows)) return Bad(rows[r]);
            ++r;
        }
        if ((long long)block.Rows.size() != k[0]) return Bad(rows[r - 1]);
        total += k[0];
        blocks.push_back(std::move(block));
    }
    if (r != rows.size() || total != declared) {
        diag_.Error(kTranslateNetlistError,
                    "Элемент "_a + b_.Name + ": число состояний или переходов не совпадает с таблицей"_a);
        return false;
    }
    transitions = int(total);
    std::vector<int> targets{start.Target, reset.Target};
    for (const TStateBlock& block : blocks)
        for (const TItem& item : block.Rows) targets.push_back(item.Target);
    for (int t : targets)
        if (t > states) {
            diag_.Error(kTranslateNetlistError,
                        Format("Элемент %s: переход в состояние %d, а состояний %d"_a, b_.Name, t, states));
            return false;
        }
    return true;
}

} // namespace

bool WriteMachineTable(const TBlock& b, int inputs, int outputs, ByteWriter& w, TDiagnostics& diag) {
    int states = 0, transitions = 0;
    TItem start, reset;
    std::vector<TStateBlock> blocks;
    if (!TTableReader(b, inputs, outputs, diag).Read(states, transitions, start, reset, blocks)) return false;
    w.U16(uint16_t(states));
    w.U16(uint16_t(transitions));
    for (const TItem* item : {&start, &reset}) {
        w.Bytes(item->Value);
        w.Bytes(item->Mask);
        w.U8(uint8_t(item->Target));
    }
    for (const TStateBlock& block : blocks) {
        w.U16(uint16_t(block.Rows.size()));
        w.Bytes(block.Outputs);
        for (const TItem& item : block.Rows) {
            w.Bytes(item.Value);
            w.Bytes(item.Mask);
            w.U8(uint8_t(item.Target));
        }
    }
    return true;
}

} // namespace translate
