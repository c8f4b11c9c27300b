#pragma once
// TRegistry: the key/value tree the program keeps its form placements and
// stored values in. It is held in the registry store file, registry.ini in the
// settings folder (Paths.h): one section per key, named by its root and path
// ("HKEY_CURRENT_USER\Software\ge\TMainForm"), one line per value. Values are
// kept byte for byte (leading and trailing blanks, quotes, '=', line breaks);
// docs/file-formats.md describes the escapes. Every change is written to the
// file at once through a temporary file and a rename; a change that cannot be
// written raises ERegistryException and leaves the file as it was.
//
// Key paths are separated by '\'. A path that starts with '\' is taken from
// the root; any other path from the open key (or from the root when no key is
// open). Key and value names ignore letter case.

#include <cstdint>
#include <vector>

#include "platform/Classes.h"
#include "platform/StringList.h"

using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

// Access rights: a registry object without the two write bits reads only.
using REGSAM = std::uint32_t;
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// The text name of a root ("HKEY_CURRENT_USER"); "" for an unknown value.
AnsiString RootKeyName(HKEY root);
// The registry store file: registry.ini in the settings folder as it is now.
AnsiString RegistryStoreFile();

class TRegistry : public TObject {
public:
    TRegistry() : TRegistry(KEY_ALL_ACCESS) {}
    explicit TRegistry(REGSAM access) : Access(access) {}

    // Changing the root closes the open key.
    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY root);
    REGSAM Access;
    bool ReadOnly() const { return (Access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) == 0; }

    // The open key's path below the root, without a leading '\'.
    const AnsiString& CurrentPath() const { return path_; }
    bool KeyOpen() const { return open_; }

    // Opens a key; a missing key is created (with its parents) only when
    // canCreate is set and the access allows writing. Opening for reading
    // never changes the store.
    bool OpenKey(const AnsiString& key, bool canCreate);
    bool OpenKeyReadOnly(const AnsiString& key);
    void CloseKey();
    bool CreateKey(const AnsiString& key);
    bool KeyExists(const AnsiString& key) const;
    // Removes the key with all its subkeys and values; false when it did not
    // exist (a root cannot be deleted).
    bool DeleteKey(const AnsiString& key);
    bool HasSubKeys() const;
    // The names of the open key's direct subkeys, sorted ignoring letter case.
    void GetKeyNames(TStrings* strings) const;
    // The names of the open key's values, in the order they were first written.
    void GetValueNames(TStrings* strings) const;

    bool ValueExists(const AnsiString& name) const;
    TRegDataType GetDataType(const AnsiString& name) const;
    bool DeleteValue(const AnsiString& name);
    // "" when the value is missing; ERegistryException "Invalid data type for
    // '<name>'" when it holds an integer.
    AnsiString ReadString(const AnsiString& name) const;
    void WriteString(const AnsiString& name, const AnsiString& value);
    // ERegistryException "Failed to get data for '<name>'" when the value is
    // missing and "Invalid data type for '<name>'" when it is not an integer.
    int ReadInteger(const AnsiString& name) const;
    void WriteInteger(const AnsiString& name, int value);
    bool ReadBool(const AnsiString& name) const { return ReadInteger(name) != 0; }
    void WriteBool(const AnsiString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

protected:
    // One stored value: a string or an integer.
    struct Value {
        TRegDataType type = rdUnknown;
        AnsiString text;
        int number = 0;
    };
    // The full key path (no leading '\') of a path relative to the open key,
    // or false when it names no valid key.
    bool Resolve(const AnsiString& key, AnsiString& path) const;
    // The section of a key path under the current root.
    AnsiString SectionOf(const AnsiString& path) const;
    bool KeyPathExists(const AnsiString& path) const;
    bool CreateKeyPath(const AnsiString& path);
    bool ReadValue(const AnsiString& path, const AnsiString& name, Value& value) const;
    // Raises ERegistryException "Failed to set data for '<name>'" when the
    // store is read-only, the key does not exist or the file cannot be written.
    void WriteValue(const AnsiString& path, const AnsiString& name, const Value& value);
    bool DeleteValueAt(const AnsiString& path, const AnsiString& name);
    std::vector<AnsiString> SubKeysOf(const AnsiString& path) const;
    std::vector<AnsiString> ValueNamesOf(const AnsiString& path) const;

private:
    HKEY root_ = HKEY_CURRENT_USER;
    AnsiString path_;
    bool open_ = false;
};
