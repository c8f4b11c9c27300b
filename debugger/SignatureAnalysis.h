#pragma once
// The signature analysis of a loaded program and the check of a CASE table,
// both run on the one emulator.
//
// TSignalLists picks the signals to analyse from the loaded code: the named
// signals that elements read become inputs, those they write become outputs,
// and every other named signal joins the side of its driver (a signal with no
// driver counts as an output).
//
// TSignatureAnalysis drives the emulator through every combination of the
// inputs, twice (first setting each input to 1 and then to 0, then the other
// way round), running 1 + T scans and T timer ticks after every change, and
// lists the outputs that never changed with the value they kept. The work
// grows as 2^n in the number of inputs, so it runs in slices (Step) that a
// window can interleave with its events, and can be cancelled.
//
// While either runs, the emulator's display is suppressed: the debugger rows
// neither feed inputs nor take outputs, and forced inputs do not apply.

#include <cstdint>
#include <vector>

#include "platform/StringList.h"

class TVAC;

// A signal the analysis sets or watches.
struct TAnalysisSignal {
    int Index = 0;       // its signal record
    int ByteAddress = 0;
    int Bit = 0;
    int Changed = 0;     // the reading left its first value at some point
    int FirstValue = 0;  // masked bit read after the two initial scans
};

class TSignalLists {
public:
    // Lines "name=index" taken from the signal-index list, with the records
    // of the same position.
    TStringList Inputs, Outputs;
    std::vector<TAnalysisSignal> InputRecords, OutputRecords;

    // Rebuilds both lists from the loaded code and sets the emulator's
    // analysis timer value: 2, or the preset of the last timer whose stop
    // input is not a named signal.
    void BuildSignalLists(TVAC& vac);

    // After BuildSignalLists: whether a signal other than "_null_in_" lives
    // at that bit.
    bool IsNamedSignal(int byteAddress, int bit) const;
    // The first line of the signal-index list at that bit joins the inputs
    // (outputs) unless it is there already.
    void AddAnalysisInput(int byteAddress, int bit);
    void AddAnalysisOutput(int byteAddress, int bit);

    // The comments of the signals, one line per signal that has one, and for
    // each line its signal's index.
    static void CollectComments(const TVAC& vac, TStrings& comments, std::vector<int>& signalOfLine);
    // The index a line "name=index" of the signal-index list names, -1 when
    // it names no record of the loaded program.
    static int IndexOfLine(const TVAC& vac, int line);

private:
    struct Line {
        int Index;
        int ByteAddress;
        int Bit;
        bool InInputs;
        bool InOutputs;
    };
    void Add(int line, bool output);
    static constexpr int kNone = -1;
    const TVAC* vac_ = nullptr;
    std::vector<Line> lines_;
    // Per bit of the image (byte * 8 + bit): the first line there, and the
    // first line there that is not "_null_in_".
    std::vector<int> firstLine_, firstNamed_;
};

class TSignatureAnalysis {
public:
    explicit TSignatureAnalysis(TSignalLists& lists) : lists_(lists) {}
    virtual ~TSignatureAnalysis() = default;

    // Raises the emulator's suppress flag and prepares the run over lists
    // already built for it. Nothing runs yet. False (and nothing changed)
    // when the emulator holds no program.
    bool Begin(TVAC& vac);
    // Scans the whole run takes: 2 + 6 (2^n - 1)(1 + T) for n inputs (at
    // least one: with none the enumeration still runs one level), saturated.
    uint64_t Estimate() const;
    // Runs at most maxScans scans (at least one); true once the run has ended
    // (finished or cancelled). At the end the constant list is filled and the
    // suppress flag dropped.
    bool Step(uint64_t maxScans);
    // Ends the run where it stands: no constants, suppress flag dropped.
    void Cancel();

    bool Active() const { return phase_ != kIdle && phase_ != kFinished && phase_ != kCancelled; }
    bool Finished() const { return phase_ == kFinished; }
    bool Cancelled() const { return phase_ == kCancelled; }
    uint64_t ScansDone() const { return scans_; }
    // Lines "name=0" or "name=1" of the outputs that never changed.
    const TStringList& Constants() const { return constants_; }

protected:
    // The emulator operations the run is made of (tests watch them).
    virtual void Scan();
    virtual void Tick();
    virtual void ClearImages();
    // Input k := value; inputs that do not exist are skipped.
    virtual void SetInput(int k, int value);

private:
    enum Phase { kIdle, kFirstScan, kSecondScan, kEnumerate, kFinished, kCancelled };
    struct Frame {
        int K;
        int Stage; // 0 evaluate, 1 set a, 2 evaluate, 3 set b, 4 evaluate, 5 return
    };
    // Runs the evaluation in progress; returns the scans it used.
    uint64_t Evaluate(uint64_t budget);
    // First values of the outputs, and the bits to watch.
    void Watch();
    void Compare();
    // Moves the enumeration to its next evaluation; false when both top-level
    // calls have ended.
    bool Advance();
    void End(Phase how);

    TSignalLists& lists_;
    TVAC* vac_ = nullptr;
    Phase phase_ = kIdle;
    int timerValue_ = 0;
    int topCall_ = 0; // 0: inputs to 1 then 0; 1: to 0 then 1
    std::vector<Frame> stack_;
    bool evaluating_ = false;
    bool firstScanDone_ = false;
    int passCounter_ = 0;
    uint64_t scans_ = 0;
    // The outputs whose changed flag is still 0, as bits of the image taken
    // eight bytes at a time: the words that hold such bits, the bits in each
    // word and their first values. A scan's comparison is then a few hundred
    // word tests, and an output leaves them once it has changed.
    std::vector<uint32_t> watchedWords_;
    std::vector<uint64_t> watchMask_, firstBits_;
    // (bit position in the image, output) of every watched output, sorted.
    std::vector<std::pair<uint32_t, uint32_t>> outputAt_;
    TStringList constants_;
};

// The check of a CASE table: inputs 0..15 go through every value n of 16 bits,
// one scan each, and word n gets bit i for every output i (0..15) that reads
// 1. Missing inputs are skipped, missing outputs read 0. The lists must have
// been built. False (and nothing filled) without a loaded program.
bool CompareOutputs(TVAC& vac, const TSignalLists& lists, std::vector<int32_t>& outputs);
