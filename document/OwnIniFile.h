#pragma once
// Reading and writing the ini-text files whose layout this program designs
// itself (the signal table, the project). Each such file opens with a section
// that names its kind and holds "Version"; a reader accepts its own version
// and older ones, and treats everything else as not its file. Values are read
// strictly: what does not parse is damage, never a guess.

#include <string>
#include <vector>

#include "platform/IniDocument.h"

namespace ownini {

enum class OpenResult {
    Ok,         // the file is of the expected kind and version
    Missing,    // no such file
    Unreadable, // it exists but cannot be read
    NotOurs,    // not an ini text of the expected kind (or far too large to be one)
    Newer,      // written by a newer version of the program
};

// Whether a text holds no control bytes (so it fits on one line of a file).
bool IsPlainText(const AnsiString& s);

// Reads and parses the file and checks its header section.
OpenResult Open(const AnsiString& path, const AnsiString& headerSection, int maxVersion, IniDocument& doc);

// The report for a result other than Ok and Missing; kind is the genitive
// noun phrase of the file kind ("проекта", "таблицы сигналов").
AnsiString OpenFailureText(OpenResult result, const AnsiString& kind, const AnsiString& name);
// The report for a file that loaded only in part.
AnsiString DamageText(const AnsiString& kind, const AnsiString& name);

// Strict reads: false when the key is missing or its text is not a value of
// the kind asked for. Int: optional '-' and decimal digits, within [lo, hi].
bool ReadInt(const IniDocument& doc, const AnsiString& section, const AnsiString& key, int lo, int hi, int& out);
// Hex: 1 to 8 hexadecimal digits.
bool ReadHex(const IniDocument& doc, const AnsiString& section, const AnsiString& key, unsigned& out);
// Text: the raw value, which must hold no control bytes.
bool ReadText(const IniDocument& doc, const AnsiString& section, const AnsiString& key, AnsiString& out);

// The numbers of the rows of a section that its keys name ("Name7" names
// row 7), in ascending order, within 1 .. its "Count" and at most capacity
// of them; the work is bounded by the keys present, however large the count.
// Sets damaged when the section or its count is missing or unreadable, or
// fewer rows are named than the count says.
std::vector<int> RowNumbers(const IniDocument& doc, const AnsiString& section, int capacity, bool& damaged);

// Starts a document with its header section.
void Begin(IniDocument& doc, const AnsiString& headerSection, int version);
// Writes the document through a temporary file.
bool Write(const AnsiString& path, const IniDocument& doc);

} // namespace ownini
