#pragma once
// Settings access shared by every storing component: single values read and
// written in an ini file or the registry store through one set of calls, the
// default ini file name, and the line-break escaping of stored texts. The
// window half of the unit (default sections, window placements, MDI children,
// grid layouts, form lookup) is controls/gui/Apputils.h.

#include <functional>

#include "platform/IniFile.h"
#include "platform/RegIniFile.h"
#include "platform/StringList.h"

// When set, supplies the default ini file name.
extern std::function<AnsiString()> OnGetDefaultIniName;
// When not empty, put between "Software\" and the program name in the default registry key.
extern AnsiString DefCompanyName;
// When true and the application has a title, the title names the registry key.
extern bool RegUseAppTitle;

// OnGetDefaultIniName's answer, or the executable's name with ".INI" in place
// of its extension and no folder (the ini service puts it in the settings folder).
AnsiString GetDefaultIniName();
// "Software\" + [DefCompanyName + "\"] + the executable's base name (or the
// application title given, with RegUseAppTitle).
AnsiString GetDefaultIniRegKey(const AnsiString& applicationTitle);

// Values in either kind of store: a TRegIniFile gets the registry form of the
// call, a TIniFile the ini form; for any other object (or null) a read gives
// the default and a write, erase or delete does nothing. An ini value whose
// first and last characters are both '"' or both '\'' is written inside one
// more pair of double quotes, because the ini reader strips one pair.
AnsiString IniReadString(TObject* iniFile, const AnsiString& section, const AnsiString& ident, const AnsiString& def);
void IniWriteString(TObject* iniFile, const AnsiString& section, const AnsiString& ident, const AnsiString& value);
int IniReadInteger(TObject* iniFile, const AnsiString& section, const AnsiString& ident, int def);
void IniWriteInteger(TObject* iniFile, const AnsiString& section, const AnsiString& ident, int value);
bool IniReadBool(TObject* iniFile, const AnsiString& section, const AnsiString& ident, bool def);
void IniWriteBool(TObject* iniFile, const AnsiString& section, const AnsiString& ident, bool value);
void IniEraseSection(TObject* iniFile, const AnsiString& section);
void IniDeleteKey(TObject* iniFile, const AnsiString& section, const AnsiString& ident);
void IniReadSections(TObject* iniFile, TStrings* strings);

// Line breaks (CR LF, LF CR, CR, LF) to the two characters "\n", and "\n"
// back to CR LF. Input longer than 4096 characters raises "Line too long".
AnsiString StrToIniStr(const AnsiString& str);
AnsiString IniStrToStr(const AnsiString& str);

// The first name, made from the mask with I = 0, 1, 2 ... in place of "%d",
// that is not a file in the folder; "" when none up to 2147483647 is free.
AnsiString GetUniqueFileNameInDir(const AnsiString& path, const AnsiString& fileNameMask);
