#pragma once
// TRegIniFile: ini-style access to a registry key (Registry.h). A section is a
// subkey of the key named at construction, an ident a value in it; the empty
// section is the key itself. Numbers and flags are stored as text ("1"/"0"
// for flags), as the form-storage components expect, and read back from
// either text or an integer value. Every read has a default; missing keys are
// never created by reading.

#include "platform/Registry.h"

class TRegIniFile : public TRegistry {
public:
    // Opens (and creates) the key under HKEY_CURRENT_USER.
    explicit TRegIniFile(const AnsiString& fileName);
    // With an access that does not allow writing the key is only opened, never created.
    TRegIniFile(const AnsiString& fileName, REGSAM access);

    // The key named at construction.
    const AnsiString& FileName() const { return fileName_; }

    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) const;
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
    // Decimal, or hexadecimal after "$" or "0x"; anything else gives def.
    int ReadInteger(const AnsiString& section, const AnsiString& ident, int def) const;
    void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
    // An integer (non-zero is true) or "true"/"false" in any letter case; anything else gives def.
    bool ReadBool(const AnsiString& section, const AnsiString& ident, bool def) const;
    // Writes "1" or "0".
    void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);

    // The value names of a section (the list is cleared first).
    void ReadSection(const AnsiString& section, TStrings* strings) const;
    // The subkeys of the key, that is its sections.
    void ReadSections(TStrings* strings) const;
    // "ident=value" lines of a section.
    void ReadSectionValues(const AnsiString& section, TStrings* strings) const;
    // Removes the section's subkey with everything below it.
    void EraseSection(const AnsiString& section);
    // Removes one value of a section.
    void DeleteKey(const AnsiString& section, const AnsiString& ident);
    using TRegistry::DeleteKey;
    using TRegistry::ReadBool;
    using TRegistry::ReadInteger;
    using TRegistry::ReadString;
    using TRegistry::ValueExists;
    using TRegistry::WriteBool;
    using TRegistry::WriteInteger;
    using TRegistry::WriteString;
    bool SectionExists(const AnsiString& section) const;
    bool ValueExists(const AnsiString& section, const AnsiString& ident) const;

private:
    // The key path of a section; false when no key is open or the name is invalid.
    bool SectionPath(const AnsiString& section, AnsiString& path) const;
    // The text of a value of either type; false when it is missing.
    bool ReadText(const AnsiString& section, const AnsiString& ident, AnsiString& text) const;
    AnsiString fileName_;
};
