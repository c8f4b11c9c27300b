#include "translator/Logfile.h"

#include "document/Project.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/UiPort.h"
#include "translator/RunSteps.h"

const char* const ElementKeywords[kElementKeywordCount] = {
    "and", "or",         "trigger",   "timer",   "delay", "dtrigger", "cnt",    "dcd",    "drstrigger", "d8trigger", "d8rscnt",
    "cbyte", "xor",      "predtimer", "cdec",    "rcnt",  "ifgoto",   "cdec16", "cMask",  "cDiap",      "commut"};

int ElementKeywordIndex(const AnsiString& keyword) {
    for (int i = 0; i < kElementKeywordCount; ++i)
        if (keyword == ElementKeywords[i])
            return i;
    return -1;
}

TLogFile::TLogFile() { SetDirectory(GetCurrentDir()); }

TLogFile::~TLogFile() {
    if (ModelHooks().Log == this)
        ModelHooks().Log = nullptr;
}

void TLogFile::SetDirectory(const AnsiString& directory) { directory_ = IncludeTrailingPathDelimiter(directory); }

void TLogFile::Error(const AnsiString& text) {
    Messages.Add(text);
    ++ErrorCount;
}

void TLogFile::Message(const AnsiString& text) { Messages.Add(text); }

void TLogFile::Warning(const AnsiString& text) {
    Messages.Add(text);
    HasWarnings = true;
}

void TLogFile::ViewLog(const AnsiString& fileName) { UiPort().ViewTextFile(fileName); }

bool TLogFile::SaveList(const TStrings& list, const AnsiString& fileName) {
    if (WriteFileAtomic(fileName, list.Text().str()))
        return true;
    Error("Не могу создать файл "_a + fileName);
    return false;
}

void TLogFile::ShowResults(TProject* project) {
    TranslatorHooks().ProgressWindow().HideProgress();
    if (!project)
        return;
    AnsiString errorFile = project->GetErrorFile();
    SaveList(Messages, errorFile);
    if (ErrorCount > 0) {
        // Neither data file may outlive a run that failed: the debugger would
        // load the copy of an earlier run as if it were this one's.
        AnsiString data = PathJoin(project->GetDir(), CurrentWorkFileNames().DataFile);
        for (const AnsiString& file : {data, WithDebugPrefix(data)})
            if (FileExists(file))
                DeleteFile(file);
        if (MessageDlg(runtext::ErrorsQuestion(), mtError, mbYesNo, 0) == mrYes)
            ViewLog(errorFile);
    } else if (HasWarnings) {
        if (MessageDlg("Обнаружены предупреждения\nПросмотреть результаты?"_a, mtWarning, mbYesNo, 0) == mrYes)
            ViewLog(errorFile);
    } else {
        MessageDlg("Трансляция прошла успешно."_a, mtInformation, mbYesOnly, 0);
    }
}
