#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

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

void* Open(const AnsiString& path) {
    void* h = ::dlopen(ToFsPath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) NoteError();
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
    if (name.IsEmpty()) return nullptr;
    AnsiString file = SharedLibraryFileName(name);
    int cut = name.LastDelimiter("/\\");
    void* h = nullptr;
    if (cut > 0) {
        h = Open(name.SubString(1, cut) + file);
    } else {
        AnsiString beside = PathJoin(ExecutableFolder(), file);
        h = FileExists(beside) ? Open(beside) : nullptr;
        if (!h) h = Open(file);
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
