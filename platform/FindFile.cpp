#include "platform/FindFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/FileIO.h"
#include "platform/FileNames.h"

struct FindState {
    std::vector<TSearchRec> entries;
    std::size_t next = 0;
};

namespace {

constexpr int kSpecial = faHidden | faSysFile | faVolumeID | faDirectory;

bool Same(char a, char b) {
    return AnsiUpperChar(static_cast<unsigned char>(a)) == AnsiUpperChar(static_cast<unsigned char>(b));
}

// '*' and '?' over the whole name; iterative with one backtrack point.
bool Wild(const std::string& name, const std::string& mask) {
    std::size_t n = 0, m = 0, starM = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && Same(mask[m], name[n])))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

} // namespace

bool MatchesMask(const AnsiString& name, const AnsiString& mask) {
    const std::string& n = name.str();
    const std::string& m = mask.str();
    if (m.size() >= 2 && m.compare(m.size() - 2, 2, ".*") == 0 && Wild(n, m.substr(0, m.size() - 2))) return true;
    if (!m.empty() && m.back() == '.' && (m.size() < 2 || m[m.size() - 2] != '.'))
        return n.find('.') == std::string::npos && Wild(n, m.substr(0, m.size() - 1));
    return Wild(n, m);
}

int FindFirst(const AnsiString& path, int attr, TSearchRec& sr) {
    FindClose(sr);
    int cut = path.LastDelimiter("/\\");
    AnsiString dir = path.SubString(1, cut);
    AnsiString mask = path.SubString(cut + 1, path.Length());
    std::error_code ec;
    auto fsDir = dir.IsEmpty() ? std::filesystem::path(".") : ToFsPath(dir);
    std::filesystem::directory_iterator it(fsDir, ec);
    if (ec) return ERROR_PATH_NOT_FOUND;

    auto state = std::make_shared<FindState>();
    int exclude = ~attr & kSpecial;
    for (const auto& entry : it) {
        TSearchRec rec;
        rec.Name = FromFsPath(entry.path().filename());
        if (mask.IsEmpty() || !MatchesMask(rec.Name, mask)) continue;
        AnsiString full = dir + rec.Name;
        rec.Attr = FileGetAttr(full);
        if (rec.Attr < 0 || (rec.Attr & exclude)) continue;
        rec.Size = rec.Attr & faDirectory ? 0 : FileSizeOf(full);
        FileAge(full, rec.Time);
        rec.ExcludeAttr = exclude;
        state->entries.push_back(std::move(rec));
    }
    if (state->entries.empty()) return ERROR_FILE_NOT_FOUND;
    std::sort(state->entries.begin(), state->entries.end(), [](const TSearchRec& a, const TSearchRec& b) {
        int c = AnsiCompareText(a.Name, b.Name);
        return c ? c < 0 : a.Name < b.Name;
    });
    sr.FindHandle = state;
    return FindNext(sr);
}

int FindNext(TSearchRec& sr) {
    FindState* s = sr.FindHandle.get();
    if (!s || s->next >= s->entries.size()) return ERROR_NO_MORE_FILES;
    std::shared_ptr<FindState> keep = sr.FindHandle;
    sr = s->entries[s->next++];
    sr.FindHandle = keep;
    return 0;
}

void FindClose(TSearchRec& sr) { sr.FindHandle.reset(); }
