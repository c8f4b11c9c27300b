#include "document/DriverTableAdapter.h"

#include "document/DriversInfo.h"

const TDriversInfo& TDriverTableAdapter::Table() const { return table_ ? *table_ : DriversInUse(); }

int TDriverTableAdapter::GetDriverCount() const { return Table().GetDriverCount(); }

TDriverTableEntry TDriverTableAdapter::GetDriver(int index) const {
    TDriverTableEntry entry;
    if (index < 0 || index >= Table().GetDriverCount()) {
        entry.TypeNumber = -1;
        entry.Direction = -1;
        return entry;
    }
    const _drv d = Table().GetDriver(index);
    entry.Name = d.Name;
    entry.TypeNumber = d.Type;
    entry.Direction = d.Direction;
    return entry;
}

int TDriverTableAdapter::GetDriverType(int typeNumber) const {
    if (typeNumber < 0 || typeNumber >= Table().GetDriverTypeCount())
        return kNoUserType;
    return Table().GetDriverType(typeNumber).UserType;
}
