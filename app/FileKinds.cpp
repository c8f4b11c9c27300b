#include "app/FileKinds.h"

#include <algorithm>

#include "platform/FileNames.h"

TFileKind FileKindOf(const AnsiString& fileName) {
    const AnsiString ext = ExtractFileExt(fileName);
    if (ext == ".prj" || ext == ".tvp") return TFileKind::Project;
    if (ext == ".sch" || ext == ".tvs" || ext == ".tvy") return TFileKind::Scheme;
    if (ext == ".tvt") return TFileKind::Recovery;
    if (ext == ".fsm") return TFileKind::Fsm;
    if (ext == ".tvc") return TFileKind::CaseTable;
    return TFileKind::None;
}

bool IsSymbolFile(const AnsiString& fileName) { return ExtractFileExt(fileName) == ".tvy"; }

namespace {

// The chosen name without the extension of its last component; "" when only
// an extension was given.
AnsiString CutExtension(const AnsiString& chosen, AnsiString& ext) {
    ext = ExtractFileExt(chosen);
    const AnsiString bare = ExtractFileName(chosen);
    if (bare.Length() <= ext.Length()) return AnsiString();
    return chosen.SubString(1, chosen.Length() - ext.Length());
}

// The scheme kinds of the save dialog, in the order of its filters.
const char* const kSchemeExtensions[] = {".tvs", ".sch", ".tvy"};

// The filter index (1-based) of a scheme kind's extension; 0 for another.
int SchemeKindIndex(const AnsiString& ext) {
    for (int i = 0; i < 3; ++i)
        if (ext == kSchemeExtensions[i]) return i + 1;
    return 0;
}

} // namespace

AnsiString SchemeSaveName(const AnsiString& chosen, int filterIndex) {
    AnsiString ext;
    const AnsiString base = CutExtension(chosen, ext);
    if (base.IsEmpty()) return AnsiString();
    // The kind the user typed is the kind written, whatever the filter.
    if (SchemeKindIndex(ext) != 0) return chosen;
    const bool schemeFilter = filterIndex >= 1 && filterIndex <= 3;
    return base + kSchemeExtensions[schemeFilter ? filterIndex - 1 : 0];
}

int SchemeFilterIndex(const AnsiString& fileName) { return std::max(1, SchemeKindIndex(ExtractFileExt(fileName))); }

AnsiString FsmSaveName(const AnsiString& chosen) {
    AnsiString ext;
    const AnsiString base = CutExtension(chosen, ext);
    return base.IsEmpty() ? AnsiString() : base + ".fsm";
}
