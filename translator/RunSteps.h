#pragma once
// The steps that the project run and the single-scheme runs share: the
// driver, net and element text of one scheme, the bit ordering and check,
// the library call, and the frame of a run (frame disabled, the translator
// installed as the elements' error log, one run at a time). Internal to the
// translator.

#include <unordered_map>
#include <unordered_set>

#include "document/Scheme.h"
#include "translator/Logfile.h"
#include "translator/ScanOrder.h"
#include "translator/TranslatorHost.h"

// Thrown after a failure has been logged and counted: the run goes straight
// to its closing step.
struct TRunStopped {};

// A list with a case-insensitive record of the lines it holds, for the
// "add unless an equal line is there" steps of long runs.
class TLineSet {
public:
    explicit TLineSet(TStrings& list);
    // Appends the line unless the list holds it (letter case aside); true when added.
    bool AddOnce(const AnsiString& line);
    // Appends the line in any case; true when the list did not hold it yet.
    bool Add(const AnsiString& line);
    TStrings& List() const { return list_; }

private:
    TStrings& list_;
    std::unordered_set<std::string> seen_;
};

class TLogFile::Run : public TScheme::IOutsideFeeds {
public:
    explicit Run(TLogFile& log);
    ~Run() override;
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // False when another run is in progress: this one must do nothing.
    bool Started() const { return started_; }

    ITranslationProgress& Progress() const { return TranslatorHooks().ProgressWindow(); }
    void Advance() const;
    void Show(const AnsiString& text) const;
    void LetWindowsRepaint() const;

    // The lists the scheme steps write into (the project's or a scheme run's).
    void UseLists(TStrings& elements, TStrings& signalList, TStrings& comments);
    // Project statistics to count, or null.
    int32_t* Statistics = nullptr;
    // The running count of variable signals.
    int VarCount = 0;
    TStringList Transitions;

    // The signal table holds no two signals whose names differ only in letter
    // case (a stored table may): the library would take them for one signal
    // with two bits. Each such pair is an error naming both rows; false then.
    bool CheckSignalTable();
    // Driver pins: signal lines, bit comment lines, transition lines.
    void TranslateDrivers(TScheme& scheme);
    // What every scheme of a project writes, listed before the first is
    // translated: a chain without a source of its own reads what writes one
    // of its names in another scheme.
    void ListOutsideFeeds(const TScheme& scheme);
    const TScheme::TOutsideFeed* FeedOf(const AnsiString& name, const TScheme& scheme) const override;
    // Then, every scheme listed, what each one reads from an element's
    // output in an earlier scheme: its copy runs right after the block that
    // writes the name there, so a jump into the reading scheme skips no copy
    // (the naming is done here once more than the run needs, for its copies).
    void ListCopiesElsewhere(TScheme& scheme);
    // Net names: signal lines and transition lines. A net's transition line
    // is appended even when an equal line is there (the library takes the
    // first line of a name); only a new line counts as a temporary signal.
    // A chain fed by two sources is an error naming both; so is a connector
    // that two input signals feed in different schemes, and one that an
    // element's output feeds there as well is warned about, saying which
    // source the readers get (a later scheme may overwrite it on purpose).
    void NameNets(TScheme& scheme);
    // The elements in processing order: netlist blocks and temporary
    // signals, each block followed by the copies that other schemes read from
    // a name it writes; then a warning for every edge input that nothing
    // earlier in the scan writes and the same or a later element of the
    // scheme does (TScanOrderCheck). The copies of input signals, and of
    // names read from them elsewhere, are kept for the start of the scan.
    void TranslateElements(TScheme& scheme);
    // Warns of every edge input that only a later scheme writes, and puts
    // the copies of input signals in front of every element.
    void FinishElements();
    // Orders the comment lines (by driver and bit, or the table's bit order)
    // and checks the driver bits against the drivers list (drivers work-file
    // lines, replaced by the check). True on a conflict.
    bool OrderAndCheckBits(bool byDrivers, TStrings& drivers);
    // Saves a list; a failure is logged, counted and stops the run.
    void Save(const TStrings& list, const AnsiString& fileName) const;

    // The library step: one call for firstData with firstFlag; when it
    // succeeds and secondData is given, one more for the debugging copy;
    // then the conversion of convertData when given. Returns whether the
    // library was called.
    struct LibraryCall {
        TWorkFilePaths Files;
        AnsiString LogFile;
        uint16_t Iterations = 0;
        AnsiString FirstData;
        int32_t FirstFlag = 0;
        AnsiString SecondData;
        AnsiString ConvertData;
    };
    void CallLibrary(const LibraryCall& call);

    // Logs an exception that escaped a step and counts it.
    void Failed(const AnsiString& what);

private:
    TLogFile& log_;
    bool started_ = false;
    ITranslationLog* previousLog_ = nullptr;
    IFsmServices* previousFsm_ = nullptr;
    TFrameDisabledScope frame_;
    TStrings* elements_ = nullptr;
    TStrings* signals_ = nullptr;
    std::unique_ptr<TLineSet> comments_;
    TLineSet transitions_{Transitions};
    std::unordered_set<std::string> unknownPins_;
    // The source that fed each connector first in this run, by its name in capitals.
    struct Feed {
        AnsiString scheme;
        TScheme::TSource source;
        bool reported = false;
    };
    std::unordered_map<std::string, Feed> connectorFeeds_;
    void CheckConnectorFeeds(const TScheme& scheme);
    // After an element's block (lines from first): the copies that other
    // schemes read from a name it writes.
    void AddCopiesElsewhere(const TScheme& scheme, int first);
    // Every name a scheme of the run writes, by its name in capitals: the
    // scheme's full file name and the source, in project order.
    std::unordered_map<std::string, std::vector<std::pair<AnsiString, TScheme::TOutsideFeed>>> outsideFeeds_;
    // The schemes listed, in the project's order.
    std::vector<AnsiString> listed_;
    // The copies of names read from an element's output in an earlier
    // scheme, by the name read in capitals: the writer's file and the copy;
    // and the reading scheme's file + "\n" + that name, for each of them.
    std::unordered_map<std::string, std::vector<std::pair<AnsiString, TScheme::TLooseCopy>>> copiesElsewhere_;
    std::unordered_set<std::string> carried_;
    // The copy blocks of input signals, for the front of the elements, and
    // after them those of names read from an input's chain in another scheme.
    TStringList inputCopies_;
    TStringList inputReads_;
    // The scan as the elements are translated, scheme after scheme.
    TScanOrderCheck scanOrder_;
};

// The texts of the runs.
namespace runtext {
AnsiString Ok();              // "Ок" (Cyrillic)
AnsiString TranslationOk();   // "Tрансляция Ок" (Latin T)
AnsiString TranslationFailed();
AnsiString OrderQuestion(const AnsiString& path); // path empty: the single-scheme text
AnsiString WritingWorkFiles();
AnsiString ErrorsQuestion();
} // namespace runtext
