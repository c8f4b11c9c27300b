// The single-scheme run (F8, "Проверить схему") and the CASE run: the live
// document of a window, its own work files named after the scheme, one
// library call for the debugging data file.
#include <memory>

#include "document/DriversInfo.h"
#include "platform/FileUtils.h"
#include "platform/UiPort.h"
#include "translator/RunSteps.h"

namespace {
// Symbol expansion is for this run only: the document's own mode comes back
// on every way out, and the transient copies go.
class ExpandSymbolsScope {
public:
    explicit ExpandSymbolsScope(TScheme& scheme) : scheme_(scheme), previous_(scheme.ExpandSymbols()) {}
    ~ExpandSymbolsScope() { End(); }
    void Begin() { scheme_.SetExpandSymbols(true); }
    void End() {
        scheme_.SetExpandSymbols(false);
        scheme_.SetExpandSymbols(previous_);
    }

private:
    TScheme& scheme_;
    bool previous_;
};
} // namespace

class TLogFile::SchemeRun {
public:
    SchemeRun(TLogFile& log, Run& run, TScheme& scheme, const AnsiString& projectDir, const AnsiString& logFile,
              bool caseRun)
        : log_(log), run_(run), scheme_(scheme), expand_(scheme), logFile_(logFile), caseRun_(caseRun),
          name_(SchemeBaseName(scheme.GetName())), paths_(SchemeRunPaths(projectDir, name_, CurrentWorkFileNames())) {}

    // Checks the scheme, writes its work files and calls the library; the
    // caller closes with Finish.
    void Execute();
    // The closing step: deletes the drivers work files, saves the log and reports.
    bool Finish();

private:
    bool CheckOrder();
    void WriteWorkFiles();

    TLogFile& log_;
    Run& run_;
    TScheme& scheme_;
    ExpandSymbolsScope expand_;
    AnsiString logFile_;
    bool caseRun_;
    AnsiString name_;
    TSchemeRunPaths paths_;
};

void TLogFile::SchemeRun::Execute() {
    log_.SchemeElementLines = std::make_unique<TStringList>();
    log_.SchemeSignalLines = std::make_unique<TStringList>();
    log_.SchemeCommentLines = std::make_unique<TStringList>();
    run_.UseLists(*log_.SchemeElementLines, *log_.SchemeSignalLines, *log_.SchemeCommentLines);
    log_.Messages.Clear();
    log_.ErrorCount = 0;
    log_.HasWarnings = false;
    ITranslationProgress& progress = run_.Progress();
    progress.SetMax(6);
    progress.SetProgress(0);
    progress.ShowProgress();

    run_.Advance();
    run_.Show(" Проверка схемы "_a + name_);
    log_.Message(" Проверка схемы "_a + name_ + "...");
    if (!run_.CheckSignalTable())
        return;
    run_.Show(" Проверка порядка обработки схемы "_a + name_);
    log_.Message(" Проверка порядка обработки схемы "_a + name_ + "...");
    // The window's symbols were read when it opened: their files are read
    // again, so that this run translates what a project run reads.
    scheme_.ReloadSymbols();
    expand_.Begin();
    if (!CheckOrder())
        return;
    log_.Message(runtext::Ok());

    run_.TranslateDrivers(scheme_);
    run_.Advance();
    run_.LetWindowsRepaint();
    run_.Show(" Получение временных связей "_a + name_);
    run_.Advance();
    run_.NameNets(scheme_);
    run_.TranslateElements(scheme_);
    run_.FinishElements();
    // Errors that elements report fail this run as they fail a project run.
    if (log_.ErrorCount > 0)
        return;
    log_.Message(runtext::Ok());

    expand_.End();
    AnsiString heading = "Проверка выходных сигналов"_a;
    run_.Show(heading);
    log_.Message(heading);
    log_.CheckSchemes(*log_.SchemeElementLines, *log_.SchemeSignalLines);
    if (caseRun_) {
        run_.LetWindowsRepaint();
        run_.Advance();
    } else {
        if (TranslatorOptions().Get(TTranslatorOptions::DoTextLogicFile)) {
            log_.LogicLines = std::make_unique<TStringList>();
            log_.DoTextLogicFile(*log_.SchemeElementLines);
            std::unique_ptr<TStringList> logic = std::move(log_.LogicLines);
            run_.Save(*logic, paths_.Logic);
        }
        run_.LetWindowsRepaint();
        run_.Advance();
    }

    WriteWorkFiles();
    if (log_.ErrorCount > 0)
        return;

    run_.Show(" Трансляция "_a + name_);
    log_.Message("Трансляция "_a + name_);
    Run::LibraryCall call;
    call.Files = paths_.Work;
    call.LogFile = logFile_;
    call.Iterations = 0;
    call.FirstData = paths_.DebugData;
    call.FirstFlag = 0;
    run_.CallLibrary(call);
    run_.LetWindowsRepaint();
}

bool TLogFile::SchemeRun::CheckOrder() {
    int r = scheme_.CheckNumbers(0);
    if (r == 0)
        return true;
    if (MessageDlg(runtext::OrderQuestion(AnsiString()), mtWarning, mbYesNo, 0) == mrYes) {
        if (scheme_.CheckNames())
            log_.Message(r == 3 ? " Схема не упорядочена! Порядок обработки установлен по именам."_a
                                : " Схема  не упорядочена! Порядок обработки установлен по именам."_a);
        else
            ++log_.ErrorCount;
    } else if (r == 1) {
        log_.Message(" Схема  не упорядочена! "_a);
    } else {
        log_.Error(r == 3 ? "В схеме обнаружены элементы с порядком 0. Трансляция прервана."_a
                          : "В схеме несколько элементов с одинаковым порядком. Трансляция прервана."_a);
        run_.Progress().HideProgress();
    }
    return log_.ErrorCount == 0;
}

void TLogFile::SchemeRun::WriteWorkFiles() {
    TStringList& signals = *log_.SchemeSignalLines;
    TStringList& comments = *log_.SchemeCommentLines;
    run_.Show(" Запись временных файлов..."_a);
    log_.Message(runtext::WritingWorkFiles());
    run_.Save(*log_.SchemeElementLines, paths_.Work.Elements);
    run_.Save(signals, paths_.Work.Signals);
    DriversInUse().ListDrivers(&signals);
    run_.Save(signals, paths_.Work.Drivers);
    bool byDrivers = !caseRun_ && TranslatorOptions().Get(TTranslatorOptions::SortBits);
    bool conflict = run_.OrderAndCheckBits(byDrivers, signals);
    signals.Clear();
    comments.AddStrings(&run_.Transitions);
    run_.Transitions.Clear();
    if (conflict) {
        ++log_.ErrorCount;
        return;
    }
    run_.Save(comments, paths_.Work.Comments);
    DriversInUse().ListDriverTypes(&signals);
    run_.Save(signals, paths_.Work.DriverTypes);
    log_.Message(runtext::Ok());
    run_.Advance();
    run_.LetWindowsRepaint();
}

bool TLogFile::SchemeRun::Finish() {
    expand_.End();
    log_.SchemeElementLines.reset();
    log_.SchemeSignalLines.reset();
    log_.SchemeCommentLines.reset();
    log_.LogicLines.reset();
    run_.Advance();
    run_.Show("Удаление временных файлов..."_a);
    log_.Message("Удаление временных файлов..."_a);
    for (const AnsiString& file : {paths_.Work.Drivers, paths_.Work.DriverTypes})
        if (FileExists(file))
            DeleteFile(file);
    run_.Progress().HideProgress();
    const bool logWritten = SaveList(log_.Messages, logFile_);
    if (log_.ErrorCount > 0) {
        if (FileExists(paths_.DebugData))
            DeleteFile(paths_.DebugData);
        log_.OfferLog(mtError, logWritten, logFile_);
        return false;
    }
    const AnsiString success = "Трансляция схемы "_a + name_ + " прошла успешно."_a;
    if (log_.HasWarnings) {
        // A program that translates but may not work as drawn (an edge input
        // written later in the scan): the log stays, and is offered; the
        // success is told either way.
        log_.OfferLog(mtWarning, logWritten, logFile_, success);
        return true;
    }
    if (FileExists(logFile_))
        DeleteFile(logFile_);
    MessageDlg(success, mtInformation, mbYesOnly, 0);
    return true;
}

bool TLogFile::TranslateOneScheme(const AnsiString& projectDir, const AnsiString& logFile, TScheme* scheme,
                                  bool caseRun) {
    // The run's files are named after the scheme: without a base name they
    // would be the project's own work files and debugging copy.
    if (!scheme || SchemeBaseName(scheme->GetName()).IsEmpty())
        return false;
    Run run(*this);
    if (!run.Started())
        return false;
    SchemeRun schemeRun(*this, run, *scheme, projectDir, logFile, caseRun);
    try {
        schemeRun.Execute();
    } catch (const TRunStopped&) {
    } catch (const Exception& e) {
        run.Failed(e.Message);
    }
    return schemeRun.Finish();
}

bool TLogFile::TranslateScheme(const AnsiString& projectDir, const AnsiString& logFile, TScheme* scheme) {
    return TranslateOneScheme(projectDir, logFile, scheme, false);
}

bool TLogFile::TranslateCase(const AnsiString& projectDir, const AnsiString& logFile, TScheme* scheme) {
    return TranslateOneScheme(projectDir, logFile, scheme, true);
}
