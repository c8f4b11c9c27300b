#pragma once
// TDriverTableAdapter: the machine-signal table as the emulator reads it.
// The emulator names the drivers of a loaded data file from it: a driver
// record carries the user type number of its driver type, and the k-th record
// of a type and side takes the name of the k-th such driver of the table.

#include "controller/DriverTable.h"

class TDriversInfo;

class TDriverTableAdapter : public IDriverTable {
public:
    // A null table stands for the table in use at each call (DriversInUse()),
    // so that the emulator follows a table installed after it was made.
    explicit TDriverTableAdapter(const TDriversInfo* table = nullptr) : table_(table) {}

    int GetDriverCount() const override;
    // Out of range: an entry with no name that matches neither side.
    TDriverTableEntry GetDriver(int index) const override;
    int GetDriverType(int typeNumber) const override;

private:
    const TDriversInfo& Table() const;

    const TDriversInfo* table_;
};
