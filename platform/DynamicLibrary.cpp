#include "platform/DynamicLibrary.h"

#include <cerrno>

#include <dlfcn.h>
#include <unistd.h>

#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"

namespace {

AnsiString& LastError() {
    static AnsiString error;
    return error;
}

void NoteError() {
    const char* e = ::dlerror();
    LastError() = e ? Utf8ToAnsi(e) : AnsiString();
}

// The error number of a library file the loader did not take: that of a
// file missing or unreadable, ENOEXEC for a file that is no library. (The
// loader itself leaves no reliable error number.)
int FileError(const AnsiString& path) { return ::access(ToFsPath(path).c_str(), R_OK) == 0 ? ENOEXEC : errno; }

// Loads a library file; on failure notes the loader's text and the error
// number. A bare name is looked for along the system's path, where a
// failure means that no library of that name was found (ENOENT).
void* Open(const AnsiString& path, bool searched) {
    void* h = ::dlopen(ToFsPath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        NoteError();
        SetLastError(searched ? ENOENT : FileError(path));
    }
    return h;
}

} // namespace

AnsiString SharedLibraryFileName(const AnsiString& name) {
    AnsiString bare = name.SubString(name.LastDelimiter("/\\") + 1, name.Length());
    AnsiString ext = ExtractFileExt(bare);
    if (SameText(ext, ".dll")) bare = bare.SubString(1, bare.Length() - ext.Length());
    else if (!ext.IsEmpty()) return bare; // "libX.so" and other real file names stay
    return "lib" + bare + ".so";
}

HMODULE LoadLibraryA(const AnsiString& name) {
    LastError() = AnsiString();
    if (name.IsEmpty()) {
        SetLastError(ENOENT);
        return nullptr;
    }
    AnsiString file = SharedLibraryFileName(name);
    int cut = name.LastDelimiter("/\\");
    void* h = nullptr;
    if (cut > 0) {
        h = Open(name.SubString(1, cut) + file, false);
    } else if (AnsiString beside = PathJoin(ExecutableFolder(), file); FileExists(beside)) {
        h = Open(beside, false);
        if (!h) {
            // A library beside the program that cannot be loaded is the
            // failure to report when none along the path loads either.
            const AnsiString text = LastError();
            const int error = GetLastError();
            h = Open(file, true);
            if (!h) {
                LastError() = text;
                SetLastError(error);
            }
        }
    } else {
        h = Open(file, true);
    }
    return static_cast<HMODULE>(h);
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
    if (!module || !name) return nullptr;
    ::dlerror();
    void* p = ::dlsym(module, name);
    if (!p) {
        NoteError();
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(p);
}

bool FreeLibrary(HMODULE module) { return module && ::dlclose(module) == 0; }

AnsiString LastLibraryError() { return LastError(); }
