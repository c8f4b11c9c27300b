#pragma once
// IniDocument: the text of an ini file held as sections of lines, kept as
// written (comments, blank lines, letter case, order), so that a file written
// back differs from the one read only where something was changed. Section and
// key names are found ignoring letter case, Cyrillic included. The ini file
// (TIniFile) and the registry store (TRegistry) both sit on it; each decides
// what the raw text after a key's '=' means.
//
// Line rules: leading blanks of a line are not part of it; "[name]" opens a
// section (the name runs to the last ']'); a line starting with ';' is a
// comment; "key=value" is a key line whose key is the text before the first
// '=' (trailing blanks included: "Радиус состояния " is its own key). Other
// lines are kept and ignored. Sections named twice are merged into the first.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/AnsiString.h"

// A flag as ini-style stores read it: an integer (non-zero is true) or
// "true"/"false" in any letter case; anything else gives def.
bool IniTextToBool(const AnsiString& text, bool def);

class IniDocument {
public:
    // Lines end at CR LF, LF or CR.
    void Parse(std::string_view bytes);
    // Every line followed by CR LF.
    std::string Serialize() const;
    void Clear();

    bool SectionExists(const AnsiString& section) const;
    // The raw text after the first '=' of the key's line (nothing trimmed),
    // or null when the section or the key is absent.
    const AnsiString* Find(const AnsiString& section, const AnsiString& key) const;
    // Sets the raw text of a key, adding the key after the last non-blank line
    // of its section, and the section at the end, when they are missing. The
    // key is taken without leading blanks; the caller makes sure that neither
    // name nor value holds a line break and that the key holds no '='.
    // Returns whether anything changed.
    bool Set(const AnsiString& section, const AnsiString& key, const AnsiString& raw);
    // Adds an empty section when it is missing; returns whether it was missing.
    bool AddSection(const AnsiString& section);
    // Removes every line of the key; false when there was none.
    bool DeleteKey(const AnsiString& section, const AnsiString& key);
    // Removes the section with all its lines; false when there was none.
    bool EraseSection(const AnsiString& section);

    // The section's name as the file spells it, or null when it is absent.
    const AnsiString* SectionSpelling(const AnsiString& section) const;
    // Section names in file order, spelled as in the file.
    std::vector<AnsiString> SectionNames() const;
    // The keys of a section in file order (each once, the first spelling)
    // with their raw texts.
    std::vector<std::pair<AnsiString, AnsiString>> Entries(const AnsiString& section) const;

    // Whether a key or a section name can be written so that it reads back as
    // itself: no line break; a key also not empty after its leading blanks, no
    // '=' and not starting with ';' or '['.
    static bool ValidSectionName(const AnsiString& section);
    static bool ValidKeyName(const AnsiString& key);

private:
    struct Line {
        AnsiString text;  // the line as it stands in the file
        AnsiString key;   // key lines only
        AnsiString value; // key lines only: raw text after '='
        bool isKey = false;
    };
    struct Section {
        AnsiString name;
        AnsiString header;
        std::vector<Line> lines;
        mutable std::unordered_map<std::string, std::size_t> keys; // folded key -> first line
        mutable bool keysValid = false;
    };

    static std::string Fold(const AnsiString& s);
    Section* FindSection(const AnsiString& name);
    const Section* FindSection(const AnsiString& name) const;
    Section& AddSectionRaw(const AnsiString& name, const AnsiString& header);
    static const std::unordered_map<std::string, std::size_t>& KeyIndex(const Section& s);
    void Reindex();

    std::vector<Line> preamble_; // lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> index_; // folded name -> section
};
