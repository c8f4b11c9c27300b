#include "app/FileKinds.h"

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

} // namespace

AnsiString SchemeSaveName(const AnsiString& chosen, int filterIndex) {
    AnsiString ext;
    const AnsiString base = CutExtension(chosen, ext);
    if (base.IsEmpty()) return AnsiString();
    switch (filterIndex) {
    case 1: return base + ".tvs";
    case 2: return base + ".sch";
    case 3: return base + ".tvy";
    default:
        if (ext == ".tvs" || ext == ".sch" || ext == ".tvy") return base + ext;
        return base + ".tvs";
    }
}

AnsiString FsmSaveName(const AnsiString& chosen) {
    AnsiString ext;
    const AnsiString base = CutExtension(chosen, ext);
    return base.IsEmpty() ? AnsiString() : base + ".fsm";
}
