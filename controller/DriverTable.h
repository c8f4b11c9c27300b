#pragma once
// IDriverTable: what the emulator reads of the machine-signal table in use, to
// give the drivers of a loaded data file their names. The documents layer
// adapts its signal table to it (document/DriverTableAdapter.h); without a
// table every driver name is empty. It lies below both, so that the documents
// need not link the emulator.

#include <climits>

#include "platform/AnsiString.h"

// One driver of the signal table, as the emulator reads it.
struct TDriverTableEntry {
    AnsiString Name;
    int TypeNumber = 0; // number of its driver type (argument of GetDriverType)
    int Direction = 0;  // 0 input, 1 output (other values match neither side)
};

class IDriverTable {
public:
    // A user type number that no data file carries (type codes are 16-bit).
    static constexpr int kNoUserType = INT_MIN;

    virtual ~IDriverTable() = default;
    virtual int GetDriverCount() const = 0;
    // index 0 .. GetDriverCount() - 1.
    virtual TDriverTableEntry GetDriver(int index) const = 0;
    // The user type number of driver type typeNumber, which the data file's
    // driver records carry as their type code; kNoUserType when there is no
    // such type.
    virtual int GetDriverType(int typeNumber) const = 0;
};
