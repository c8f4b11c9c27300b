#include "translate/NameSection.h"

#include <unordered_map>

#include "platform/Bytes.h"

namespace translate {

bool IsNamedSignal(const TSignal& s) {
    return s.Driver >= 0 || !SameText(s.Name.SubString(1, 4), "_var");
}

std::string BuildNameSection(const TMemoryMap& map, const std::vector<TCommentLine>& comments) {
    std::unordered_map<AnsiString, AnsiString, AnsiStringHash> comment;
    for (const TCommentLine& c : comments) comment.emplace(AnsiUpperCase(c.Name), c.Comment); // the first one counts
    ByteWriter w;
    for (const TSignal& s : map.Signals()) {
        if (!IsNamedSignal(s)) continue;
        w.U16(TMemoryMap::Operand(s, false));
        w.Bytes(s.Name.view());
        w.U8(0);
        auto it = comment.find(AnsiUpperCase(s.Name));
        if (it != comment.end()) w.Bytes(it->second.view());
        w.U8(0);
        w.U16(0);
    }
    std::string bytes = w.Take();
    if (!bytes.empty()) bytes.resize(bytes.size() - 2);
    return bytes;
}

} // namespace translate
