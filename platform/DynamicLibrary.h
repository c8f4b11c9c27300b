#pragma once
// Loading a library at run time, as the program loads its translation library:
// a Windows name "X.dll" (or "X" without an extension) stands for the shared
// object "libX.so". A bare name is looked for first in the folder of the
// executable, then along the system's library path; a name with a folder part
// is loaded from that folder only. Entry points keep their names.

#include "platform/AnsiString.h"

struct HINSTANCE__;
using HMODULE = HINSTANCE__*; // opaque; null when loading failed
using HINSTANCE = HMODULE;
using FARPROC = void (*)();  // cast to the entry point's own type before the call

// The shared-object file name of a library name: "translate.dll" -> "libtranslate.so".
AnsiString SharedLibraryFileName(const AnsiString& name);

// Null when the library cannot be loaded, the system's error number then
// left for GetLastError (platform/FileUtils.h): that of a file missing or
// unreadable, ENOEXEC for a file that is no library, ENOENT when a bare
// name is found nowhere.
HMODULE LoadLibraryA(const AnsiString& name);
// Null when the handle is null or the entry point is missing.
FARPROC GetProcAddress(HMODULE module, const char* name);
bool FreeLibrary(HMODULE module);
// The system's text for the last failed load or lookup ("" when none).
AnsiString LastLibraryError();
