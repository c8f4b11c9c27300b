#include "translator/Logfile.h"

#include "document/Project.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/UiPort.h"
#include "translator/RunSteps.h"

int ElementKeywordIndex(const AnsiString& keyword) {
    const int type = ElementTypeOf(keyword.str());
    return type < kElementKeywordCount ? type : -1;
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
    if (firstError_.IsEmpty())
        firstError_ = text;
}

void TLogFile::Message(const AnsiString& text) { Messages.Add(text); }

void TLogFile::Warning(const AnsiString& text) {
    Messages.Add(text);
    HasWarnings = true;
    if (firstWarning_.IsEmpty())
        firstWarning_ = text;
}

void TLogFile::ViewLog(const AnsiString& fileName) { UiPort().ViewTextFile(fileName); }

bool TLogFile::SaveList(const TStrings& list, const AnsiString& fileName) {
    return WriteFileAtomic(fileName, list.Text().str());
}

void TLogFile::OfferLog(TMsgDlgType type, bool logWritten, const AnsiString& logFile, const AnsiString& outcome) {
    const AnsiString lead = outcome.IsEmpty() ? AnsiString() : outcome + "\n";
    if (logWritten) {
        const AnsiString question =
            type == mtError ? runtext::ErrorsQuestion() : "Обнаружены предупреждения\nПросмотреть результаты?"_a;
        if (MessageDlg(lead + question, type, mbYesNo, 0) == mrYes)
            ViewLog(logFile);
        return;
    }
    // No log to offer: the box itself tells what went wrong.
    AnsiString text = lead + (type == mtError ? "Обнаружены ошибки"_a : "Обнаружены предупреждения"_a);
    const AnsiString& first = type == mtError ? firstError_ : firstWarning_;
    if (!first.IsEmpty())
        text += "\n" + first;
    text += "\nФайл сообщений "_a + logFile + " не записан."_a;
    MessageDlg(text, type, mbOKOnly, 0);
}

void TLogFile::ShowResults(TProject* project) {
    TranslatorHooks().ProgressWindow().HideProgress();
    if (!project)
        return;
    AnsiString errorFile = project->GetErrorFile();
    const bool logWritten = SaveList(Messages, errorFile);
    if (ErrorCount > 0) {
        // Neither data file may outlive a run that failed: the debugger would
        // load the copy of an earlier run as if it were this one's.
        AnsiString data = PathJoin(project->GetDir(), CurrentWorkFileNames().DataFile);
        for (const AnsiString& file : {data, WithDebugPrefix(data)})
            if (FileExists(file))
                DeleteFile(file);
        OfferLog(mtError, logWritten, errorFile);
    } else if (HasWarnings) {
        OfferLog(mtWarning, logWritten, errorFile);
    } else {
        MessageDlg("Трансляция прошла успешно."_a, mtInformation, mbYesOnly, 0);
    }
}
