#pragma once
// TScanOrderCheck: the inputs of a scheme that read an edge (or a change)
// which the controller can never see. The controller runs the elements of a
// scan in processing order and takes an edge against the image at the end of
// the last complete scan; an input that only the same or a later element of
// the scheme writes therefore holds, when its element reads it, the value it
// had at the end of the last scan, and never shows an edge. The check reads
// the netlist blocks the elements wrote, element by element in processing
// order. Internal to the translator.

#include <string>
#include <unordered_map>
#include <vector>

#include "controller/ElementTypes.h"
#include "platform/AnsiString.h"
#include "platform/StringList.h"

class TElement;

class TScanOrderCheck {
public:
    // The lines the element wrote into the list, from index first to its end:
    // its own block, then the copy blocks of its nets.
    void AddElement(const TElement& element, const TStrings& lines, int first);
    // One warning per such input, in processing order of the readers; the
    // scheme is named as given.
    std::vector<AnsiString> Warnings(const AnsiString& scheme) const;

private:
    struct Reader {
        int element;
        AnsiString pin;
        AnsiString signal;
        TPreviousRead read;
    };
    std::vector<AnsiString> names_;
    // Upper-case signal name -> the first element (by index) that writes it.
    std::unordered_map<std::string, int> firstWriter_;
    std::vector<Reader> readers_;
};
