#pragma once
// TVAC: the controller emulator. It holds the controller's bit memory (the
// current image and the image at the end of the last complete scan), the 128
// timer counters and the loaded program, runs the program one scan at a time,
// counts timer ticks, and builds from the data file the driver table and the
// signal records through which the debugger windows name signals.
//
// One instance lives at a time; every call comes from the user-interface
// thread. The debugger window plugs in as the host (EmulatorHost.h) and the
// signal table in use as the driver table (controller/DriverTable.h); both are optional.

#include <cstdint>
#include <vector>

#include "controller/DriverTable.h"
#include "debugger/DebugDataFile.h"
#include "debugger/ElementCode.h"
#include "debugger/EmulatorHost.h"
#include "platform/Classes.h"
#include "platform/StringList.h"

// An entry of the driver table: entry 0 stands for "no driver", then one per
// input-driver record and one per output-driver record, in file order.
struct DriversStr {
    AnsiString Name;
    int FirstByte = 0;
    int TypeCode = 0; // -1 for entry 0
    int Side = 0;     // 0 input driver, 1 output driver, -1 for entry 0
};

// A named signal of the loaded program, indexed by its position in the
// name section. Records with an empty name stay all zero.
struct SignalsStr {
    AnsiString Name;
    int DriverType = 0;  // type code of its driver, -1 when in no driver's area
    int DriverIndex = 0; // its driver's entry in the driver table, 0 when none
    AnsiString Comment;
    int Bit = 0;         // 0-7
    int ByteAddress = 0; // 0-4095
    int Offset = 0;      // byte address less the driver's first byte (less 3072 when none)
    int Side = 0;        // 0 input driver, 1 output driver; 0 when none
    // Working fields of the signature analysis.
    int Changed = 0;
    int FirstValue = 0;
};

// A forced input: after every element record its bit takes the check mark of
// its row in the debugger's input list.
struct TForcedInput {
    int ByteAddress = 0;
    int Bit = 0;
    int Row = 0;
    int Enabled = 0;
};

class TVAC : public TObject {
public:
    static constexpr int kImageSize = emu::kImageSize;
    static constexpr int kTimerCount = emu::kTimerCounters;
    static constexpr int kNoDriverFirstByte = 3072;
    static constexpr int kNoTimerPreset = 101; // MinTimerPreset without timer records

    explicit TVAC(IEmulatorHost* host = nullptr, const IDriverTable* drivers = nullptr);
    ~TVAC() override;

    void SetHost(IEmulatorHost* host) { host_ = host; }
    IEmulatorHost* Host() const { return host_; }
    void SetDriverTable(const IDriverTable* drivers) { drivers_ = drivers; }

    // The debugging data file Load reads.
    AnsiString FileName;

    // ---- Running ------------------------------------------------------------
    // The four virtual operations, in their fixed order.
    // One scan; nothing when no program is loaded.
    virtual void Run();
    // Loads FileName; returns kLoadOk, kLoadBadData, kLoadNoMemory,
    // kLoadCannotOpen or kLoadNoFile. Every load starts by dropping the
    // previous program, its tables, the forced inputs, the counters and both
    // images (the 128 timer counters are kept), also the driver table and
    // the signal records when the file has no name section: records left
    // from another file would name the new program's bits wrongly.
    virtual int Load();
    // Start- and end-of-scan exchange with the host (skipped while the display is suppressed).
    virtual void ReadInputs();
    virtual void ShowOutputs();
    bool Loaded() const { return loaded_; }
    // One timer tick: the first T counters that are not 0 go down by one.
    void Tick();

    // ---- Bit memory -----------------------------------------------------------
    // Bits outside the image are ignored (SetBit) or read as 0 (GetBit).
    void SetBit(int byteAddress, int bit, int value);
    // The masked bit: non-zero when set.
    int GetBit(int byteAddress, int bit) const;
    int GetPreviousBit(int byteAddress, int bit) const;
    void ClearImages();
    void SavePrevious();
    const uint8_t* ImageBytes() const { return image_; }
    const uint8_t* PreviousImageBytes() const { return previous_; }
    // Counter index 0-127.
    int32_t TimerCounter(int index) const { return index >= 0 && index < kTimerCount ? timers_[index] : 0; }

    // ---- Forced inputs ----------------------------------------------------------
    // Adds an enabled entry; -1 (and nothing added) when the bit is outside the image.
    int AddForcedInput(int byteAddress, int bit, int row);
    int ForcedInputCount() const { return int(forced_.size()); }
    const TForcedInput& ForcedInput(int index) const { return forced_.at(std::size_t(index)); }
    void SetForcedInputEnabled(int index, bool enabled);
    // The input row was deleted: its entries are disabled, and entries of later
    // rows move up with their rows.
    void InputRowDeleted(int row);
    void ClearForcedInputs();
    // Sets every enabled forced input's bit to its row's check mark (asks the host);
    // nothing while the display is suppressed.
    void ApplyForcedInputs();

    // ---- Program ----------------------------------------------------------------
    // The smallest preset of the timer records (kNoTimerPreset when none); sets
    // AnalysisTimerValue to 0. A record that ends the scan stops the walk with
    // the message " Ошибка файла данных отладчика " and the loaded file's name.
    int MinTimerPreset();
    const DebugDataHeader& Header() const { return header_; }
    const std::vector<DebugDriverRecord>& InputDrivers() const { return inputDrivers_; }
    const std::vector<DebugDriverRecord>& OutputDrivers() const { return outputDrivers_; }
    // The loaded code with the state the scans wrote into it.
    const std::vector<uint8_t>& Code() const { return code_; }
    int RecordCount() const { return int(program_.Records.size()); }
    // The decoded records: their operands, as the scan reads them.
    const emu::TElementCode& Program() const { return program_; }
    // Byte offset and size of record i by the record-size rule.
    int RecordOffset(int i) const { return int(program_.Offsets.at(std::size_t(i))); }
    int RecordSize(int i) const { return int(program_.Offsets.at(std::size_t(i) + 1) - program_.Offsets.at(std::size_t(i))); }

    // ---- Signal tables ----------------------------------------------------------
    const std::vector<DriversStr>& Drivers() const { return driverTable_; }
    std::vector<SignalsStr>& Signals() { return signals_; }
    const std::vector<SignalsStr>& Signals() const { return signals_; }
    // Lines "name=index" of every named signal, in name-section order.
    TStringList& SignalIndex() { return signalIndex_; }
    const TStringList& SignalIndex() const { return signalIndex_; }
    // The driver record whose area holds the byte: input records first, then
    // output records, each in file order. Sets side, type code, first byte and
    // the driver-table entry; on failure sets only firstByte (to 3072).
    bool FindDriverOfAddress(int& side, int& typeCode, int& firstByte, int byteAddress, int* tableIndex = nullptr) const;
    // The name of the (occurrence + 1)-th driver of the signal table whose
    // type has this user type number and whose direction is this side; "" when none.
    AnsiString DriverNameOf(int typeCode, int side, int occurrence = 0) const;

    // ---- State shared with the debugger windows --------------------------------------
    int RunCount = 0;  // scans started since the last load ("CountRun")
    int TickCount = 0; // ticks since the last load ("TimerTicks")
    // Raised by the signature analysis and the CASE check while they drive
    // the emulator: no input/output exchange, no forced inputs and no tick
    // display.
    bool SuppressDisplay = false;
    // The signature analysis's number of extra scan-and-tick passes.
    int AnalysisTimerValue = 0;

private:
    void DropProgram();
    void BuildDriverTable();
    void BuildSignals(const std::vector<SignalNameRecord>& names);
    void ShowMsg(const AnsiString& text);
    void PrepareForced();
    void MarkForcedWriters();
    struct ForcedBit;
    void Force(const ForcedBit& f);
    void ApplyPrepared();
    void ApplyPreparedFor(std::size_t record);
    void Execute(const emu::Record& r, std::size_t& next);

    IEmulatorHost* host_ = nullptr;
    const IDriverTable* drivers_ = nullptr;
    uint8_t image_[kImageSize];
    uint8_t previous_[kImageSize];
    int32_t timers_[kTimerCount];
    bool loaded_ = false;

    DebugDataHeader header_;
    std::vector<DebugDriverRecord> inputDrivers_;
    std::vector<DebugDriverRecord> outputDrivers_;
    std::vector<uint8_t> code_;
    emu::TElementCode program_;
    AnsiString loadedName_; // the file the program came from

    std::vector<DriversStr> driverTable_;
    std::vector<SignalsStr> signals_;
    TStringList signalIndex_;

    std::vector<TForcedInput> forced_;
    unsigned forcedVersion_ = 1;  // changes with every change of forced_
    unsigned markedVersion_ = 0;  // forcedVersion_ the records' TouchesForced flags were set for
    // Per scan: the enabled forced bits with their rows' check marks.
    struct ForcedBit {
        uint16_t Addr;
        uint8_t Mask;
        uint8_t Value;
    };
    std::vector<ForcedBit> forcedNow_;
    // For each record that writes forced bits, the positions in forcedNow_ of
    // the entries it can overrule: touchList_[touchStart_[i] .. touchStart_[i + 1]).
    std::vector<uint32_t> touchStart_;
    std::vector<uint32_t> touchList_;
};
