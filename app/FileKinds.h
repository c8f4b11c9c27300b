#pragma once
// Which document a file name stands for, and the name a document is saved
// under. A file's kind is decided by the final extension of its bare name
// (letter case counts: "S.TVS" is no scheme), so a folder with a point in its
// name never changes the kind, and every file is of one kind only.

#include "platform/AnsiString.h"

enum class TFileKind {
    None,     // none of the program's files
    Project,  // ".prj", ".tvp"
    Scheme,   // ".sch", ".tvs", ".tvy"
    Recovery, // ".tvt": the autosave copy of a scheme
    Fsm,      // ".fsm"
    CaseTable // ".tvc": the scheme of a CASE-forming window
};

TFileKind FileKindOf(const AnsiString& fileName);
// Whether the name is a symbol file (".tvy").
bool IsSymbolFile(const AnsiString& fileName);

// The name a document is saved under, from the name chosen in the save
// dialog and the dialog's filter index. Only the last path component's
// extension is cut. A scheme keeps a scheme extension the user typed
// (".tvs", ".sch", ".tvy"), whatever the filter; otherwise it gets the
// extension of the filter (1 ".tvs", 2 ".sch", 3 ".tvy"), with another filter
// ".tvs". A state machine always gets ".fsm". "" when nothing is left of the
// name (the save then stops).
AnsiString SchemeSaveName(const AnsiString& chosen, int filterIndex);
AnsiString FsmSaveName(const AnsiString& chosen);
// The save dialog's filter index of a scheme file's own kind (1 ".tvs",
// 2 ".sch", 3 ".tvy"); 1, the new format, for an untitled scheme.
int SchemeFilterIndex(const AnsiString& fileName);
