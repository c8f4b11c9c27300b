#pragma once
// TWantedSignalList: the signals the engineer wants to watch in the debugger,
// kept across reloads of the debugging data. Each line is a signal name, "="
// and a kind: 0 for an input, 1 for an output. A name has one line: the first
// one added for it stays (names compare without regard to letter case), so a
// signal asked for as an input and later as an output stays an input.

#include "platform/StringList.h"

class TWantedSignalList {
public:
    enum Kind { kInput = 0, kOutput = 1 };

    // Appends "name=kind" unless the name has a line already; true when added.
    bool Add(const AnsiString& name, int kind);
    // Appends "name=kind" as it is: the debugger's rows kept aside, where a
    // signal shown on both sides keeps both lines.
    void Append(const AnsiString& name, int kind) { lines_.Add(name + "=" + IntToStr(kind)); }
    // Removes the first line of the name; false when there is none.
    bool Remove(const AnsiString& name);
    void Clear() { lines_.Clear(); }

    int Count() const { return lines_.Count(); }
    AnsiString Name(int index) const { return lines_.Names(index); }
    // The kind of a line: its value as a number (0 when it is not one).
    int KindOf(int index) const;
    const TStringList& Lines() const { return lines_; }

private:
    TStringList lines_;
};
