// The library's entry points: one translation from the work files to a data
// file, and the check of a written data file.
#include "translate/TranslateApi.h"

#include <exception>
#include <string>
#include <vector>

#include "debugger/DebugDataFile.h"
#include "debugger/ElementCode.h"
#include "platform/FileIO.h"
#include "translate/CodeGenerator.h"
#include "translate/DataFileWriter.h"
#include "translate/Diagnostics.h"
#include "translate/MemoryMap.h"
#include "translate/NameSection.h"
#include "translate/Netlist.h"
#include "translate/WorkFiles.h"

namespace translate {

namespace {

// The emulator's reader and code checker; problem is the checker's text.
bool CheckDataFile(const std::string& bytes, AnsiString& problem) {
    DebugDataFile file;
    if (ReadDebugDataFile(bytes, file) != kLoadOk) {
        problem = "файл неполон"_a;
        return false;
    }
    emu::TElementCode code;
    return code.Decode(file.Code, file.Header.RecordCount, file.Header.TimerCount, problem);
}

void Generate(const TWorkFileNames& names, const AnsiString& dataFile, uint16_t iterations, bool controllerCopy,
              TDiagnostics& diag) {
    TWorkFiles files;
    TMemoryMap map;
    if (!ReadWorkFiles(names, files, diag) || !map.Build(files, diag)) return;
    std::vector<TBlock> blocks;
    TProgram program;
    ParseNetlist(files.Elements, names.Elements, blocks, diag);
    if (!GenerateCode(blocks, map, program, diag) || diag.Failed()) return;
    const std::string bytes = BuildDataFile(map, program, iterations, controllerCopy,
                                            controllerCopy ? std::string() : BuildNameSection(map, files.Comments));
    // The emulator must be able to run what is written; a file it would
    // refuse is never put on disk.
    AnsiString problem;
    if (!CheckDataFile(bytes, problem))
        diag.Error(kTranslateNetlistError, "Файл данных не прошёл проверку: "_a + problem);
    else if (!WriteDataFile(dataFile, bytes))
        diag.Error(kTranslateWriteError, "Не могу записать файл "_a + dataFile);
}

} // namespace

} // namespace translate

extern "C" int _GenerateDatFile(const char* driverTypesFile, const char* driversFile, const char* signalsFile,
                                const char* commentsFile, const char* elementsFile, const char* dataFile,
                                const char* logFile, uint16_t iterations, int32_t copyFlag) {
    using namespace translate;
    // Nothing may cross the C boundary.
    try {
        TDiagnostics diag;
        const AnsiString data(dataFile);
        try {
            Generate(TWorkFileNames{driverTypesFile, driversFile, signalsFile, commentsFile, elementsFile}, data,
                     iterations, copyFlag != 0, diag);
        } catch (const std::exception& e) {
            diag.Error(kTranslateNetlistError, "Ошибка библиотеки трансляции: "_a + e.what());
        } catch (...) {
            diag.Error(kTranslateNetlistError, "Ошибка библиотеки трансляции"_a);
        }
        if (diag.Failed()) RemoveDataFile(data);
        diag.AppendTo(AnsiString(logFile));
        return diag.Result();
    } catch (...) {
        return kTranslateNetlistError;
    }
}

extern "C" int _ConvertDatFile(const char* dataFile) {
    try {
        std::string bytes;
        if (!dataFile || !ReadWholeFile(AnsiString(dataFile), bytes)) return kConvertUnreadable;
        AnsiString problem;
        return translate::CheckDataFile(bytes, problem) ? kConvertOk : kConvertDamaged;
    } catch (...) {
        return kConvertDamaged;
    }
}
