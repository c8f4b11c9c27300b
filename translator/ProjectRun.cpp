// The project run: every scheme of the project, read from its file, into the
// work files of the project directory, then the library for the controller
// data file and its debugging copy.
#include <memory>

#include "document/DriversInfo.h"
#include "document/Project.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/UiPort.h"
#include "translator/RunSteps.h"

class TLogFile::ProjectRun {
public:
    ProjectRun(TLogFile& log, TProject& project, Run& run) : log_(log), project_(project), run_(run) {}

    // Reads and translates every scheme of the project, writes the work files
    // and calls the library; the caller closes with ShowResults.
    void Execute();

private:
    void Prepare();
    // A scheme of the project as it was read (no scheme: no file).
    struct Loaded {
        AnsiString path;
        std::unique_ptr<TScheme> scheme;
        bool read = false;
    };
    std::vector<Loaded> schemes_;
    // Checks the processing order of one scheme read and translates its
    // drivers and elements; false when the run must stop.
    bool TranslateFile(Loaded& file);
    // The processing-order check of a scheme; false when it counted an error.
    bool CheckOrder(TScheme& scheme, const AnsiString& path);
    void WriteWorkFiles();
    void CallLibrary();

    TLogFile& log_;
    TProject& project_;
    Run& run_;
    TWorkFileNames names_ = CurrentWorkFileNames();
};

void TLogFile::ProjectRun::Prepare() {
    log_.HasWarnings = false;
    run_.VarCount = 0;
    log_.ElementLines.Clear();
    log_.SignalLines.Clear();
    log_.CommentLines.Clear();
    log_.Messages.Clear();
    for (int32_t& counter : project_.Statistics)
        counter = 0;
    run_.Statistics = project_.Statistics;
    run_.UseLists(log_.ElementLines, log_.SignalLines, log_.CommentLines);
    ITranslationProgress& progress = run_.Progress();
    progress.SetMax(3 * project_.GetFileCount() + 3);
    progress.SetProgress(0);
    progress.ShowProgress();
    log_.ErrorCount = 0;
    log_.SetDirectory(project_.GetDir());
    unsigned iterations = project_.Iterations;
    if (iterations == 0 || iterations > unsigned(TProject::MaxIterations)) {
        log_.Error(" Недопустимое количество итераций: "_a + IntToStr(iterations));
        progress.HideProgress();
    }
}

void TLogFile::ProjectRun::Execute() {
    Prepare();
    run_.CheckSignalTable();
    // Every scheme is read first, and what it writes listed: a chain without
    // a source reads a name that a later scheme may write. A file that cannot
    // be read is reported when its turn comes.
    for (AnsiString path = project_.GetFilePath(project_.FirstFile()); !path.IsEmpty();
         path = project_.GetFilePath(project_.NextFile())) {
        Loaded& l = schemes_.emplace_back();
        l.path = path;
        if (!FileExists(path))
            continue;
        l.scheme = std::make_unique<TScheme>();
        l.scheme->SetFileName(path);
        l.read = l.scheme->LoadFromFile();
        if (l.read)
            run_.ListOutsideFeeds(*l.scheme);
    }
    for (Loaded& l : schemes_)
        if (l.read)
            run_.ListCopiesElsewhere(*l.scheme);
    for (Loaded& l : schemes_) {
        if (log_.ErrorCount > 0)
            break;
        if (!TranslateFile(l))
            return;
    }
    if (log_.ErrorCount > 0)
        return;
    run_.FinishElements();
    WriteWorkFiles();
    if (log_.ErrorCount > 0)
        return;
    CallLibrary();
    run_.Advance();
    run_.LetWindowsRepaint();
}

bool TLogFile::ProjectRun::TranslateFile(Loaded& file) {
    const AnsiString& path = file.path;
    run_.Advance();
    run_.Show("Чтение файла "_a + path);
    log_.Message("Чтение файла "_a + path + "...");
    // A scheme that cannot be read would otherwise translate as an empty one.
    if (!file.scheme) {
        log_.Error("Не найден файл схемы "_a + path);
        return false;
    }
    if (!file.read) {
        log_.Error("Ошибка чтения файла схемы "_a + path);
        return false;
    }
    std::unique_ptr<TScheme> scheme = std::move(file.scheme);
    if (!CheckOrder(*scheme, path))
        return false;
    log_.Message(runtext::Ok());

    run_.Advance();
    run_.Show("Обработка файла "_a + path);
    log_.Message("Обработка файла "_a + path + "...");
    run_.TranslateDrivers(*scheme);
    run_.Advance();
    run_.LetWindowsRepaint();
    run_.NameNets(*scheme);
    run_.TranslateElements(*scheme);
    scheme.reset();
    if (log_.ErrorCount > 0)
        return false;
    log_.Message(runtext::Ok());
    return true;
}

bool TLogFile::ProjectRun::CheckOrder(TScheme& scheme, const AnsiString& path) {
    int r = scheme.CheckNumbers(0);
    if (r == 0)
        return true;
    log_.HasWarnings = true;
    if (MessageDlg(runtext::OrderQuestion(path), mtWarning, mbYesNo, 0) == mrYes) {
        if (scheme.CheckNames())
            log_.Message(" Схема "_a + path + " не упорядочена! Порядок обработки установлен по именам."_a);
        else
            ++log_.ErrorCount;
    } else if (r == 1) {
        log_.Message(" Схема "_a + path + " не упорядочена! "_a);
    } else {
        log_.Error(r == 3 ? "В схеме "_a + path + " обнаружены элементы с порядком 0. Трансляция прервана."_a
                          : "В схеме "_a + path + " несколько элементов с одинаковым порядком. Трансляция прервана."_a);
        run_.Progress().HideProgress();
    }
    return log_.ErrorCount == 0;
}

void TLogFile::ProjectRun::WriteWorkFiles() {
    run_.Advance();
    run_.Show("Запись временных файлов"_a);
    run_.LetWindowsRepaint();
    log_.Message(runtext::WritingWorkFiles());
    AnsiString heading = "Проверка выходных сигналов по всем схемам "_a;
    run_.Show(heading);
    log_.Message(heading);
    if (log_.CheckSchemes(log_.ElementLines, log_.SignalLines))
        log_.HasWarnings = true;

    TWorkFilePaths files = ProjectWorkPaths(log_.Directory(), names_);
    if (TranslatorOptions().Get(TTranslatorOptions::DoTextLogicFile)) {
        log_.LogicLines = std::make_unique<TStringList>();
        log_.DoTextLogicFile(log_.ElementLines);
        std::unique_ptr<TStringList> logic = std::move(log_.LogicLines);
        run_.Save(*logic, PathJoin(log_.Directory(), names_.LogicFile));
    }
    run_.Save(log_.ElementLines, files.Elements);
    run_.Save(log_.SignalLines, files.Signals);
    DriversInUse().ListDrivers(&log_.SignalLines);
    run_.Save(log_.SignalLines, files.Drivers);
    bool conflict = run_.OrderAndCheckBits(TranslatorOptions().Get(TTranslatorOptions::SortBits), log_.SignalLines);
    DriversInUse().ListDriverTypes(&log_.SignalLines);
    run_.Save(log_.SignalLines, files.DriverTypes);
    log_.CommentLines.AddStrings(&run_.Transitions);
    run_.Transitions.Clear();
    if (conflict) {
        ++log_.ErrorCount;
        return;
    }
    run_.Save(log_.CommentLines, files.Comments);
    log_.Message(runtext::Ok());
}

void TLogFile::ProjectRun::CallLibrary() {
    run_.Advance();
    run_.Show("Трансляция..."_a);
    run_.LetWindowsRepaint();
    log_.Message("Трансляция..."_a);
    Run::LibraryCall call;
    call.Files = ProjectWorkPaths(log_.Directory(), names_);
    call.LogFile = project_.GetErrorFile();
    call.Iterations = project_.Iterations;
    call.FirstData = PathJoin(project_.GetDir(), names_.DataFile);
    call.FirstFlag = 1;
    call.SecondData = WithDebugPrefix(call.FirstData);
    if (project_.Convert != 0)
        call.ConvertData = call.FirstData;
    run_.CallLibrary(call);
}

bool TLogFile::TranslateProject(TProject* project) {
    if (!project)
        return false;
    Run run(*this);
    if (!run.Started())
        return false;
    if (ITranslatorFrame* frame = TranslatorHooks().Frame)
        if (!frame->SaveSchemeWindows(*project))
            return false;
    try {
        ProjectRun(*this, *project, run).Execute();
    } catch (const TRunStopped&) {
    } catch (const Exception& e) {
        run.Failed(e.Message);
    }
    LogicLines.reset();
    ShowResults(project);
    return true;
}
