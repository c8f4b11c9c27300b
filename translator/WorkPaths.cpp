#include "translator/WorkPaths.h"

#include "document/InitModule.h"
#include "platform/FileNames.h"

TWorkFileNames CurrentWorkFileNames() {
    if (!InitModule)
        return {"1.$$$", "2.$$$", "3.$$$", "4.$$$", "5.$$$", "tvca.dat", "tvca.txt"};
    return {InitModule->DriverTypesFile, InitModule->DriversFile, InitModule->SignalsFile, InitModule->ElementsFile,
            InitModule->CommentsFile,    InitModule->DataFile,    InitModule->LogicFile};
}

int CurrentTimerIncrement() { return InitModule ? InitModule->TimerIncrement : 50; }

AnsiString WithDebugPrefix(const AnsiString& path) {
    AnsiString result = path;
    result.Insert(kDebugPrefix, path.LastDelimiter("/\\") + 1);
    return result;
}

AnsiString SchemeBaseName(const AnsiString& fileName) {
    AnsiString bare = ExtractFileName(fileName);
    int dot = bare.LastDelimiter(".");
    return dot > 0 ? bare.SubString(1, dot - 1) : bare;
}

TSchemeRunPaths SchemeRunPaths(const AnsiString& projectDir, const AnsiString& baseName, const TWorkFileNames& names) {
    AnsiString front = projectDir + baseName;
    TSchemeRunPaths p;
    p.Work = {front + names.DriverTypes, front + names.Drivers, front + names.Signals, front + names.Comments,
              front + names.Elements};
    p.Logic = front + names.LogicFile;
    p.DebugData = WithDebugPrefix(front + names.DataFile);
    return p;
}

TWorkFilePaths ProjectWorkPaths(const AnsiString& directory, const TWorkFileNames& names) {
    return {PathJoin(directory, names.DriverTypes), PathJoin(directory, names.Drivers),
            PathJoin(directory, names.Signals), PathJoin(directory, names.Comments),
            PathJoin(directory, names.Elements)};
}
