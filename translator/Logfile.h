#pragma once
// TLogFile: the translator. The frame owns the one instance; every
// translation runs on it: the whole project (TranslateProject), the scheme of
// the active window (TranslateScheme) and the scheme of a CASE-forming window
// (TranslateCase). It keeps the message log of the last run with its error
// count and warning flag, the work directory, and the lists of text lines
// that become the work files. Elements report their translation errors into
// it (ITranslationLog) while a run is in progress.
//
// A run disables the frame for its whole length and enables it again on
// every way out; it lets the windows repaint (never user input) only at its
// fixed points. A run never throws: failures are logged, counted, and the run
// goes on to its closing step.

#include <memory>

#include "controller/ElementTypes.h"
#include "model/ModelHooks.h"
#include "platform/StringList.h"
#include "platform/UiPort.h"
#include "translator/TranslationLibrary.h"
#include "translator/WorkPaths.h"

class TProject;
class TScheme;

// The element keyword table: the keywords of the element types below the
// state machine (controller/ElementTypes.h); a keyword's index is its type.
inline constexpr int kElementKeywordCount = kKeywordTableTypes;
inline constexpr const char* const* ElementKeywords = kElementTypeKeywords;
// The index of a keyword (exact, case-sensitive), -1 when it is not one.
int ElementKeywordIndex(const AnsiString& keyword);

class TLogFile : public TObject, public ITranslationLog {
public:
    TLogFile();
    ~TLogFile() override;

    // ---- the message log ------------------------------------------------------------
    TStringList Messages;
    int ErrorCount = 0;
    bool HasWarnings = false;
    // Appends the text as one line and counts an error.
    void Error(const AnsiString& text) override;
    // Appends the text as one line; counts nothing.
    void Message(const AnsiString& text);
    // A warning line: appended, and the warning flag is raised.
    void Warning(const AnsiString& text);

    // ---- work directory and lists of the project run ----------------------------------
    // Ends in a separator whenever it is not empty.
    const AnsiString& Directory() const { return directory_; }
    void SetDirectory(const AnsiString& directory);
    TStringList ElementLines;
    TStringList SignalLines;
    TStringList CommentLines;
    // Made by a run with the Boolean-logic option for the length of that step.
    std::unique_ptr<TStringList> LogicLines;
    // The lists of a single-scheme or CASE run, made new for each such run.
    std::unique_ptr<TStringList> SchemeElementLines;
    std::unique_ptr<TStringList> SchemeSignalLines;
    std::unique_ptr<TStringList> SchemeCommentLines;

    // The library a run loads ("translate.dll").
    AnsiString LibraryName = kTranslationLibrary;

    // ---- the runs --------------------------------------------------------------------
    // Saves the scheme windows, translates every scheme of the project into
    // the work files of its directory, calls the library for the controller
    // data file and its debugging copy, and closes with ShowResults. False
    // when no run took place: a null project, a run already in progress, or
    // a scheme of the project whose window could not be saved.
    bool TranslateProject(TProject* project);
    // Translates the document of a scheme window for debugging; its work
    // files carry the scheme's base name. True when no error was counted; a
    // scheme without a base name (untitled) is not run and gives false.
    bool TranslateScheme(const AnsiString& projectDir, const AnsiString& logFile, TScheme* scheme);
    // The same for the scheme of a CASE-forming window: never a Boolean-logic
    // text, the comments always in the signal table's bit order.
    bool TranslateCase(const AnsiString& projectDir, const AnsiString& logFile, TScheme* scheme);
    // Whether a run is in progress (a second one is refused meanwhile).
    bool Running() const { return running_; }

    // The closing step of a project run: hides the progress window, saves
    // the log to the project's error file, deletes both data files when
    // errors were counted, and shows the closing question or report.
    void ShowResults(TProject* project);

    // ---- the output-signal check -------------------------------------------------------
    // Reports signals driven by more than one element and transition signals
    // only written or only read; true when it reported anything.
    bool CheckSchemes(const TStrings& elements, const TStrings& signalList);
    // Whether a line of the signals list, trimmed, is exactly the name.
    static bool IsSignal(const AnsiString& name, const TStrings& signalList);

    // ---- driver bits -------------------------------------------------------------------
    // Reorders the comment lines into the signal table's bit order (lines of
    // pins the table does not know are dropped; of equal pin names the last wins).
    void SortBits(TStrings& comments, const TStrings& unused);
    // Reorders the comment lines by driver (inputs first) and bit, reporting
    // every two lines on one driver bit; 1 when there was such a pair. The
    // drivers list (drivers work-file lines) is replaced by direction entries.
    int SortByDrivers(TStrings& comments, TStrings& drivers);
    // Puts the lines of one driver into out, sorted by bit, reporting pairs
    // on one bit; 1 when it found one.
    int CheckBit(const AnsiString& driver, const TStrings& comments, TStrings& out);
    // The third ';' field of a comment line (the driver name).
    static AnsiString GetDriverField(const AnsiString& line);

    // ---- the Boolean-logic text ----------------------------------------------------------
    // Appends the equations of every element block to LogicLines (made when
    // missing). A block that cannot become equations is logged and skipped.
    void DoTextLogicFile(const TStrings& elements);
    // Fills the pin entries ("net=0" / "net=1") of the block whose header is
    // at index header.
    static void SplitPins(TStrings& inputs, TStrings& outputs, const TStrings& elements, int header);
    // The operand of an entry; flip inverts it.
    static AnsiString PinOperand(const AnsiString& entry, bool flip);
    static bool IsNullPin(const AnsiString& entry);
    // The CASE rows ("%%") between the header and the next empty line.
    static int CountCaseRows(const TStrings& elements, int header);
    // The equations of one element; false when the block lacks a pin its
    // equations need.
    static bool BuildEquations(int keyword, const TStrings& inputs, const TStrings& outputs, TStrings& out);

private:
    // The steps of the runs (RunSteps.h, ProjectRun.cpp, SchemeRun.cpp).
    class Run;
    class ProjectRun;
    class SchemeRun;
    bool TranslateOneScheme(const AnsiString& projectDir, const AnsiString& logFile, TScheme* scheme, bool caseRun);
    // Saves a list; false when it could not be written.
    static bool SaveList(const TStrings& list, const AnsiString& fileName);
    // Offers the log for viewing (the program's text viewer).
    static void ViewLog(const AnsiString& fileName);
    // The closing question of a run that found errors (mtError) or warnings
    // (mtWarning): the log is offered only when it was written; otherwise
    // the box says so, with the first error or warning of the run. The
    // outcome, when given, is the box's first line either way.
    void OfferLog(TMsgDlgType type, bool logWritten, const AnsiString& logFile,
                  const AnsiString& outcome = AnsiString());

    AnsiString directory_;
    bool running_ = false;
    // The first error (Error) and the first warning (Warning) logged by the
    // current run, told when the log that would hold them cannot be written.
    AnsiString firstError_;
    AnsiString firstWarning_;
};
