#pragma once
// The translation library as the translator loads it for one run: by name
// through the platform's library loading ("translate.dll" stands for
// libtranslate.so beside the program), with its two entry points, released
// when the object goes.
//
// The entry points take program paths (Windows-1251 bytes, zero-terminated)
// and return 0 on success:
//   _GenerateDatFile(driver types, drivers, signals, comments, elements,
//                    data file to write, log file, iterations, copy flag)
//     copy flag: 1 the controller data file, 0 its debugging copy;
//   _ConvertDatFile(controller data file).
// The library appends its own lines to the log file.

#include <cstdint>

#include "platform/DynamicLibrary.h"

using TGenerateDatFileFn = int (*)(const char* driverTypes, const char* drivers, const char* signalList,
                                     const char* comments, const char* elements, const char* dataFile,
                                     const char* logFile, uint16_t iterations, int32_t copyFlag);
using TConvertDatFileFn = int (*)(const char* dataFile);

inline constexpr const char* kTranslationLibrary = "translate.dll";
inline constexpr const char* kGenerateEntry = "_GenerateDatFile";
inline constexpr const char* kConvertEntry = "_ConvertDatFile";

// The work files of one library call.
struct TWorkFilePaths {
    AnsiString DriverTypes;
    AnsiString Drivers;
    AnsiString Signals;
    AnsiString Comments;
    AnsiString Elements;
};

class TTranslationLibrary {
public:
    // Loads the library and looks its entry points up.
    explicit TTranslationLibrary(const AnsiString& name);
    ~TTranslationLibrary();
    TTranslationLibrary(const TTranslationLibrary&) = delete;
    TTranslationLibrary& operator=(const TTranslationLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    bool HasGenerate() const { return generate_ != nullptr; }
    bool HasConvert() const { return convert_ != nullptr; }
    // The system's words for a failed load or lookup.
    const AnsiString& LoadError() const { return error_; }

    int Generate(const TWorkFilePaths& files, const AnsiString& dataFile, const AnsiString& logFile,
                 uint16_t iterations, int32_t copyFlag) const;
    int Convert(const AnsiString& dataFile) const;

private:
    HMODULE module_ = nullptr;
    TGenerateDatFileFn generate_ = nullptr;
    TConvertDatFileFn convert_ = nullptr;
    AnsiString error_;
};
