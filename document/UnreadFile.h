#pragma once
// The file a document's load could not take in whole: cut short, damaged, of
// another version or of another kind. The document then holds only what it
// read, perhaps nothing, and a write under that name would put it in place of
// what the file still holds. So a write to that name asks the user first and
// "Нет" writes nothing; a write that went through (agreed to, or under
// another name) ends the mark. Both editors' documents keep one.

#include "platform/AnsiString.h"

class TUnreadFile {
public:
    // The load of the file of this name stopped short of the whole file.
    void Mark(const AnsiString& fileName) { name_ = fileName; }
    // A load that read the whole file, or a write that went through.
    void Clear() { name_ = AnsiString(); }
    // True when fileName may be written: it is not the file that was not read
    // whole, or the user agrees to write over it.
    bool MayWrite(const AnsiString& fileName) const;

private:
    AnsiString name_;
};
