#pragma once
// TIniFile: a settings file of sections and "key=value" lines with the old
// profile rules the program's settings were written under:
// - section and key names ignore letter case (Cyrillic included);
// - a key may end in a blank ("Радиус состояния "), and that blank is part of it;
// - values are read trimmed, and one pair of enclosing quotes (' or ") is
//   stripped, so a value that must keep its blanks or quotes is written quoted;
// - a missing file, section or key reads as the caller's default;
// - the text is Windows-1251 with CR LF; comments and blank lines survive.
// A bare file name (no directory part) names a file in the settings folder
// (Paths.h), which is created on the first write.
//
// Every write goes to the file at once, through a temporary file and a rename;
// when it fails the old file stays as it was and EIniFileException("Unable to
// write to <path>") is raised. A name that cannot be written so that it reads
// back as itself (a line break anywhere, '=' in a key, a key starting with ';'
// or '[') raises EIniFileException too, and nothing is written.
//
// TMemIniFile reads the file once and keeps every change in memory until
// UpdateFile, for documents written whole (many values at a time).

#include <memory>

#include "platform/Classes.h"
#include "platform/IniStore.h"
#include "platform/StringList.h"

class TIniFile : public TObject {
public:
    explicit TIniFile(const AnsiString& fileName);
    ~TIniFile() override;

    // The path of the file: the settings-folder path for a bare name.
    const AnsiString& FileName() const { return store_->Path(); }

    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) const;
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
    // Decimal, or hexadecimal after "$" or "0x"; anything else gives def.
    int ReadInteger(const AnsiString& section, const AnsiString& ident, int def) const;
    void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
    // An integer (non-zero is true) or "true"/"false" in any letter case; anything else gives def.
    bool ReadBool(const AnsiString& section, const AnsiString& ident, bool def) const;
    // Writes "1" or "0".
    void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);

    // The keys of a section, in file order (the list is cleared first).
    void ReadSection(const AnsiString& section, TStrings* strings) const;
    // The section names, in file order.
    void ReadSections(TStrings* strings) const;
    // "key=value" lines of a section, each value as ReadString gives it.
    void ReadSectionValues(const AnsiString& section, TStrings* strings) const;
    void EraseSection(const AnsiString& section);
    void DeleteKey(const AnsiString& section, const AnsiString& ident);
    bool SectionExists(const AnsiString& section) const;
    bool ValueExists(const AnsiString& section, const AnsiString& ident) const;
    // TIniFile writes every change at once, so there is nothing left to write;
    // TMemIniFile writes its changes here.
    virtual void UpdateFile() {}

protected:
    virtual const IniDocument& Doc() const;
    // Applies a change that f reports (true = something changed).
    virtual void Change(const std::function<bool(IniDocument&)>& f);
    IniStore& Store() const { return *store_; }

private:
    std::shared_ptr<IniStore> store_;
};

class TMemIniFile : public TIniFile {
public:
    explicit TMemIniFile(const AnsiString& fileName);
    // Writes the changes made since the file was read or last written; raises
    // EIniFileException when that fails (the changes stay in memory).
    void UpdateFile() override;
    bool Modified() const { return modified_; }

protected:
    const IniDocument& Doc() const override { return doc_; }
    void Change(const std::function<bool(IniDocument&)>& f) override;

private:
    IniDocument doc_;
    bool modified_ = false;
};
