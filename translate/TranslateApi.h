#pragma once
// The two entry points of the translation library, as the translator finds
// them by name in "translate.dll" (libtranslate.so), and the results they
// return. Paths are zero-terminated Windows-1251 program paths.

#include <cstdint>

// Results of _GenerateDatFile.
enum : int {
    kTranslateOk = 0,
    kTranslateUnreadable = 1, // a work file is missing, unreadable, or has a line of the wrong form
    kTranslateNetlistError = 2,
    kTranslateLimitExceeded = 3,
    kTranslateWriteError = 4,
};

// Results of _ConvertDatFile.
enum : int {
    kConvertOk = 0,
    kConvertUnreadable = 1, // no file, or it cannot be read
    kConvertDamaged = 2,    // the emulator's reader or code checker refuses it
};

#define GE_TRANSLATE_EXPORT __attribute__((visibility("default")))

extern "C" {

// Reads the driver-types, drivers, signals, comments and elements work files
// and writes the data file: the controller copy (copyFlag 1, no signal names)
// or the debugging copy (copyFlag 0, with the name section). Problems are
// appended to the log file. A run that fails leaves no data file behind.
GE_TRANSLATE_EXPORT int _GenerateDatFile(const char* driverTypesFile, const char* driversFile, const char* signalsFile,
                                         const char* commentsFile, const char* elementsFile, const char* dataFile,
                                         const char* logFile, uint16_t iterations, int32_t copyFlag);

// Checks a written data file with the emulator's reader and code checker.
GE_TRANSLATE_EXPORT int _ConvertDatFile(const char* dataFile);

typedef int (*TGenerateDatFileProc)(const char*, const char*, const char*, const char*, const char*, const char*,
                                    const char*, uint16_t, int32_t);
typedef int (*TConvertDatFileProc)(const char*);
}
