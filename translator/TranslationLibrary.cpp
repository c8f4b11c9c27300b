#include "translator/TranslationLibrary.h"

TTranslationLibrary::TTranslationLibrary(const AnsiString& name) {
    module_ = LoadLibraryA(name);
    if (!module_) {
        error_ = LastLibraryError();
        return;
    }
    generate_ = reinterpret_cast<TGenerateDatFileFn>(GetProcAddress(module_, kGenerateEntry));
    if (!generate_)
        error_ = LastLibraryError();
    convert_ = reinterpret_cast<TConvertDatFileFn>(GetProcAddress(module_, kConvertEntry));
}

TTranslationLibrary::~TTranslationLibrary() {
    if (module_)
        FreeLibrary(module_);
}

int TTranslationLibrary::Generate(const TWorkFilePaths& files, const AnsiString& dataFile, const AnsiString& logFile,
                                  uint16_t iterations, int32_t copyFlag) const {
    return generate_(files.DriverTypes.c_str(), files.Drivers.c_str(), files.Signals.c_str(), files.Comments.c_str(),
                     files.Elements.c_str(), dataFile.c_str(), logFile.c_str(), iterations, copyFlag);
}

int TTranslationLibrary::Convert(const AnsiString& dataFile) const { return convert_(dataFile.c_str()); }
