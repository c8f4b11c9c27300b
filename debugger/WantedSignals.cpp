#include "debugger/WantedSignals.h"

bool TWantedSignalList::Add(const AnsiString& name, int kind) {
    if (lines_.IndexOfName(name) >= 0) return false;
    lines_.Add(name + "=" + IntToStr(kind));
    return true;
}

bool TWantedSignalList::Remove(const AnsiString& name) {
    const int i = lines_.IndexOfName(name);
    if (i < 0) return false;
    lines_.Delete(i);
    return true;
}

int TWantedSignalList::KindOf(int index) const {
    const AnsiString line = lines_[index];
    return line.SubString(line.Pos("=") + 1, line.Length()).Trim().ToIntDef(0);
}
