#pragma once
// TScanOrderCheck: the inputs of a run that read an edge (or a change)
// which the controller can never see. The controller runs the elements of a
// scan in processing order, scheme after scheme in the project's order, and
// takes an edge against the image at the end of the last complete scan; an
// input that nothing writes earlier in the scan, and that the same or a later
// element writes (of its scheme or of a later one), therefore holds, when its
// element reads it, the value it had at the end of the last scan, and never
// shows an edge. The check reads the netlist blocks the elements wrote,
// element by element in processing order, and the copy blocks that run in
// front of them. Internal to the translator.

#include <string>
#include <unordered_map>
#include <vector>

#include "controller/ElementTypes.h"
#include "platform/AnsiString.h"
#include "platform/StringList.h"

class TElement;

class TScanOrderCheck {
public:
    // The scheme (named as given) of the elements and copies added from now on.
    void BeginScheme(const AnsiString& scheme);
    // Copy blocks in the list from index first to its end: their output lines
    // are written before the elements added after them; front: before every
    // element of the scan (the copies of input signals).
    void AddCopies(const TStrings& lines, int first, bool front);
    // The lines the element wrote into the list, from index first to its end:
    // its own block, then the copy blocks of its nets.
    void AddElement(const TElement& element, const TStrings& lines, int first);
    // One warning per input of the current scheme that nothing writes earlier
    // in the scan and the same or a later element of the scheme writes, in
    // processing order of the readers.
    std::vector<AnsiString> Warnings() const;
    // After the last scheme: one warning per input that nothing writes
    // earlier in the scan and an element of a later scheme writes.
    std::vector<AnsiString> LaterSchemeWarnings() const;

private:
    struct Reader {
        int element;
        AnsiString pin;
        AnsiString signal;
        TPreviousRead read;
    };
    struct Element {
        AnsiString name;
        int scheme;
        int step;
    };
    // A write: its step in the scan and its element (-1: a copy block).
    struct Writer {
        int step;
        int element;
    };
    void AddWrite(const AnsiString& signal, Writer writer);
    const Writer* FirstWriter(const Reader& r) const;
    AnsiString Start(const Reader& r) const;

    std::vector<AnsiString> schemes_;
    std::vector<Element> elements_;
    // Elements and copy groups in scan order, from 1; 0 is the front of the scan.
    int steps_ = 0;
    // Upper-case signal name -> its first write in the scan.
    std::unordered_map<std::string, Writer> firstWriter_;
    std::vector<Reader> readers_;
    // The first reader of the current scheme.
    std::size_t schemeReaders_ = 0;
};
