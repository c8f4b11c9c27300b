#pragma once
// TDriversInfo: the machine-signal table. It lists the controller's driver
// types, its drivers (input or output devices with an address, a bit count and
// an interrupt), the signals bound to driver bits ("bits") and the variable
// signals that join schemes without occupying a driver bit ("var bits").
//
// The table in use is reached through DriversInUse(); the signal-setup dialog
// installs the table it holds, and until then a table owned by this module
// serves, so headless code (the translator, tests) always finds one.
//
// Names are compared exactly (letter case counts) and the first match in table
// order wins; the translation looks signals up letter case aside
// (FindBitAnyCase), so the table refuses a signal (driver or internal) whose
// name differs from another's only in letter case. Every editing operation
// checks its input and refuses what would break the work files built from the
// table: the refusal code tells why, and LastError() holds the text that
// explains it to the user.

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "platform/StringList.h"

// A driver type: the name and the number that the controller knows it by.
struct _drvtype {
    AnsiString Name;
    int UserType = 0;
    friend bool operator==(const _drvtype&, const _drvtype&) = default;
};

// A driver: Type is the index of its driver type; Direction is 0 for an input
// driver and 1 for an output driver.
struct _drv {
    AnsiString Name;
    int Type = -1;
    int Direction = 0;
    uint32_t Address = 0;
    int BitCount = 0;
    int Interrupt = 0;
    friend bool operator==(const _drv&, const _drv&) = default;
};

// A signal bound to a driver bit: Driver is the index of its driver.
struct _bit {
    AnsiString Name;
    int Driver = -1;
    int Bit = 0;
    AnsiString Comment;
    friend bool operator==(const _bit&, const _bit&) = default;
};

// A variable signal (a connector's name) with its comment.
struct _varbit {
    AnsiString Name;
    AnsiString Comment;
};

class TDriversInfo : public TObject {
public:
    static constexpr int MaxDriverTypes = 20;
    static constexpr int MaxDrivers = 200;
    static constexpr int MaxBits = 2000;
    static constexpr int MaxVarBits = 2000;
    static constexpr int MaxNameLength = 64;      // bytes
    static constexpr int MaxCommentLength = 255;  // bytes
    static constexpr int MaxUserType = 100;
    static constexpr int MaxInterrupt = 15;
    static constexpr int MaxBitCount = 65535;
    static const char* const DefaultFileName;     // "bittblsv.btb"
    static const char* const VarDriverName;       // "var": marks connectors, never a table driver

    // Results of the editing operations.
    enum : int {
        Ok = 0,
        ErrNameExists = -1,   // a row of that name exists
        ErrNoDriver = -2,     // no driver (or driver type) of that name or index
        ErrBitRange = -3,     // "CheckBit": the bit lies outside the driver
        ErrBitBusy = -4,      // "CheckBit": another signal occupies the driver bit
        ErrFull = -5,         // the table holds its capacity
        ErrBadName = -6,      // empty, too long, or holds blanks, control bytes, ';' or '='
        ErrBadComment = -7,   // too long or holds control bytes
        ErrNotFound = -8,     // no row of that name or index
        ErrInUse = -9,        // rows of the table still refer to it
        ErrBadValue = -10,    // a number outside its range
        ErrReservedName = -11 // "var"
    };

    TDriversInfo() = default;

    // The file the table was loaded from or saved to.
    AnsiString FileName = DefaultFileName;
    bool Modified = false;

    // Whether the "CheckBit" checks apply to AddBit and EditBit (the bit lies
    // inside its driver and is not occupied by another signal). The frame
    // installs a query of its stored option; unset means off.
    static std::function<bool()> CheckBitOption;

    // Text of the last refusal (empty after a success).
    const AnsiString& LastError() const { return lastError_; }

    int GetDriverTypeCount() const { return int(types_.size()); }
    int GetDriverCount() const { return int(drivers_.size()); }
    int GetBitCount() const { return int(bits_.size()); }
    int GetVarBitCount() const { return int(varBits_.size()); }
    // Copies of the records; an index out of range gives an empty record.
    _drvtype GetDriverType(int index) const;
    _drv GetDriver(int index) const;
    _bit GetBit(int index) const;
    _varbit GetVarBit(int index) const;

    // Driver types.
    int AddDriverType(const AnsiString& name, int userType);
    int EditDriverType(int index, const AnsiString& name, int userType);
    int DeleteDriverType(int index); // refused while a driver has that type
    int FindDriverType(const AnsiString& name) const; // -1 when none

    // Drivers; d.Type is the index of a driver type.
    int AddDriver(const _drv& d);
    int EditDriver(int index, const _drv& d);
    int DeleteDriver(int index); // refused while a signal is bound to it
    int FindDriverNumber(const AnsiString& name) const; // -1 when none

    // Bits. AddBit shows nothing (callers look at the result); EditBit shows
    // the refusal text itself. Both mark the table modified when it changes.
    int AddBit(const AnsiString& name, const AnsiString& driverName, int bitNumber, const AnsiString& comment);
    int EditBit(const AnsiString& oldName, const AnsiString& newName, const AnsiString& driverName, int bitNumber,
                const AnsiString& comment);
    int DeleteBit(int index);
    // Exact name match; on a miss "", 0, "" and false.
    bool FindBit(const AnsiString& name, AnsiString& driverName, int& bitNumber, AnsiString& comment) const;
    int FindBitIndex(const AnsiString& name) const; // -1 when none
    // As FindBit, and when no name is exactly that, the first one equal to it
    // letter case aside: the translation library takes "Lamp" for LAMP. The
    // lookup of every signal name the translation asks about.
    bool FindBitAnyCase(const AnsiString& name, AnsiString& driverName, int& bitNumber, AnsiString& comment) const;
    int FindBitIndexAnyCase(const AnsiString& name) const; // the row FindBitAnyCase finds, -1 when none
    // A row of the signals: a driver signal (a bit) or an internal signal, by
    // its index in its list.
    struct Row {
        bool internal = false;
        int index = -1;
        friend bool operator==(const Row&, const Row&) = default;
    };
    // The rows whose names differ only in letter case, the driver signals
    // before the internal ones: each later row with the first such row before
    // it (an internal signal repeated exactly is one signal, listed once).
    // AddBit, EditBit and AddVarBit refuse them; only a stored table can hold them.
    std::vector<std::pair<Row, Row>> CaseTwins() const;

    // Variable signals. AddVarBit refuses an empty or unusable name, one the
    // table holds (a variable signal of that name, or a signal of either kind
    // whose name differs only in letter case) and a full table with a
    // message; it returns whether the signal was added.
    bool AddVarBit(const AnsiString& name, const AnsiString& comment);
    // Appends the variable signals of source as they stand (a stored table's
    // letter-case twins too).
    void CopyVarBits(const TDriversInfo& source);
    bool FindVarBit(const AnsiString& name, AnsiString& comment) const; // "" on a miss
    // As FindVarBit, and when no name is exactly that, the first one equal to
    // it letter case aside: connectors join letter case aside.
    bool FindVarBitAnyCase(const AnsiString& name, AnsiString& comment) const;
    // Sets the comment of every variable signal of exactly that name; false
    // (with a message) when the comment is refused.
    bool SetVarBitComment(const AnsiString& name, const AnsiString& comment);
    int DeleteVarBit(int index);

    // Name lists: bits and drivers clear the list first, variable signals are
    // appended; every entry is exactly a name.
    void GetBitNames(TStrings* list) const;
    void GetDriverNames(TStrings* list) const;
    void GetVarBitNames(TStrings* list) const;
    // Lines of the drivers and driver-types work files: per driver name,
    // "in" or "out", type name, address in 8 hexadecimal digits, bit count and
    // interrupt joined by single blanks; per driver type its name, a blank
    // and its user type number. Both clear the list first.
    void ListDrivers(TStrings* list) const;
    void ListDriverTypes(TStrings* list) const;

    // Copies the driver types, drivers and bits of source into destination;
    // the variable signals, the file name and the modified flag stay.
    static void Assign(TDriversInfo* destination, const TDriversInfo* source);
    // Empties the whole table.
    void Clear();

    // The table's file (layout in docs/file-formats.md). Loading replaces the
    // table: a missing file gives an empty table without a message; a damaged
    // file loads as far as it is sound and is reported once; a file that is
    // not a signal table is reported, leaves the table empty and is never
    // written over. Both return whether the whole file was handled.
    bool LoadFromFile(const AnsiString& name);
    bool SaveToFile(const AnsiString& name);

    // Whether a text may be a name or a comment of the table.
    static bool IsValidName(const AnsiString& name);
    static bool IsValidComment(const AnsiString& comment);

private:
    int Refuse(int code, const AnsiString& text);
    int Done(bool changed);
    int CheckName(const AnsiString& name, const AnsiString& what);
    int CheckCaseTwin(const AnsiString& name, int exceptBit);
    int CheckBitPlace(int driver, int bit, int exceptIndex);
    int CheckBitRow(int index, const AnsiString& name, const AnsiString& driverName, int bitNumber,
                    const AnsiString& comment, int& driver);
    int CheckDriver(const _drv& d, int exceptIndex);

    std::vector<_drvtype> types_;
    std::vector<_drv> drivers_;
    std::vector<_bit> bits_;
    std::vector<_varbit> varBits_;
    AnsiString lastError_;
    bool loading_ = false;
    AnsiString protectedFile_; // a file that failed to load as a signal table
};

// The signal table in use.
TDriversInfo& DriversInUse();
// Installs the table in use (not owned); null restores the module's own
// table. Returns the previously installed table (null for the module's own).
TDriversInfo* SetDriversInUse(TDriversInfo* table);
