// The signal table as the emulator's driver table: entries, type numbers, the
// table in use followed, and the drivers the emulator names through it.
#include <gtest/gtest.h>

#include "common/Printers.h"

#include "debugger/Vac.h"
#include "document/DriverTableAdapter.h"
#include "document/DriversInfo.h"

namespace {

void AddDriver(TDriversInfo& t, const AnsiString& name, int type, int direction) {
    _drv d;
    d.Name = name;
    d.Type = type;
    d.Direction = direction;
    d.BitCount = 8;
    ASSERT_EQ(t.AddDriver(d), TDriversInfo::Ok) << AnsiToUtf8(t.LastError());
}

// Types "ВХ" (user number 5) and "ВЫХ" (user number 0); drivers in table
// order: input К1 and output Л1 of the first type, input К2 of the first
// type, output Л2 of the second.
void Fill(TDriversInfo& t) {
    ASSERT_EQ(t.AddDriverType("ВХ"_a, 5), TDriversInfo::Ok);
    ASSERT_EQ(t.AddDriverType("ВЫХ"_a, 0), TDriversInfo::Ok);
    AddDriver(t, "К1"_a, 0, 0);
    AddDriver(t, "Л1"_a, 0, 1);
    AddDriver(t, "К2"_a, 0, 0);
    AddDriver(t, "Л2"_a, 1, 1);
}

TEST(DriverTableAdapter, GivesTheDriversAndTypeNumbersOfTheTable) {
    TDriversInfo table;
    Fill(table);
    const TDriverTableAdapter adapter(&table);
    ASSERT_EQ(adapter.GetDriverCount(), 4);
    const struct {
        const char* name;
        int type, direction;
    } expected[] = {{"К1", 0, 0}, {"Л1", 0, 1}, {"К2", 0, 0}, {"Л2", 1, 1}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TDriverTableEntry e = adapter.GetDriver(i);
        EXPECT_EQ(e.Name, Utf8ToAnsi(expected[i].name));
        EXPECT_EQ(e.TypeNumber, expected[i].type);
        EXPECT_EQ(e.Direction, expected[i].direction);
    }
    EXPECT_EQ(adapter.GetDriverType(0), 5);
    EXPECT_EQ(adapter.GetDriverType(1), 0);
    // Out of range: no name, no side, no type a data file can carry.
    for (int i : {-1, 4, 1000}) {
        SCOPED_TRACE(i);
        const TDriverTableEntry e = adapter.GetDriver(i);
        EXPECT_EQ(e.Name, "");
        EXPECT_NE(e.Direction, 0);
        EXPECT_NE(e.Direction, 1);
        EXPECT_EQ(adapter.GetDriverType(i), IDriverTable::kNoUserType);
    }
}

TEST(DriverTableAdapter, TheEmulatorNamesDriversByUserTypeSideAndOccurrence) {
    TDriversInfo table;
    Fill(table);
    const TDriverTableAdapter adapter(&table);
    const TVAC vac(nullptr, &adapter);
    const struct {
        int typeCode, side, occurrence;
        const char* name;
    } cases[] = {
        {5, 0, 0, "К1"}, {5, 0, 1, "К2"}, {5, 0, 2, ""},  // the second input of the type is the second record
        {5, 1, 0, "Л1"}, {0, 1, 0, "Л2"}, {0, 1, 1, ""},
        {0, 0, 0, ""},                                    // no input driver of that type
        {1, 0, 0, ""},   {-1, 0, 0, ""},                  // a type index is not a user number
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.typeCode << " " << c.side << " " << c.occurrence);
        EXPECT_EQ(vac.DriverNameOf(c.typeCode, c.side, c.occurrence), Utf8ToAnsi(c.name));
    }
    // An edit of the table shows at once: nothing was copied.
    ASSERT_EQ(table.EditDriverType(1, "ВЫХ"_a, 9), TDriversInfo::Ok);
    EXPECT_EQ(vac.DriverNameOf(9, 1, 0), "Л2"_a);
    EXPECT_EQ(vac.DriverNameOf(0, 1, 0), "");
}

TEST(DriverTableAdapter, WithoutATableItFollowsTheTableInUse) {
    TDriversInfo first, second;
    Fill(first);
    ASSERT_EQ(second.AddDriverType("T"_a, 3), TDriversInfo::Ok);
    AddDriver(second, "D"_a, 0, 1);
    const TDriverTableAdapter adapter;
    TDriversInfo* previous = SetDriversInUse(&first);
    EXPECT_EQ(adapter.GetDriverCount(), 4);
    EXPECT_EQ(adapter.GetDriver(3).Name, "Л2"_a);
    SetDriversInUse(&second);
    EXPECT_EQ(adapter.GetDriverCount(), 1);
    EXPECT_EQ(adapter.GetDriver(0).Name, "D"_a);
    EXPECT_EQ(adapter.GetDriverType(0), 3);
    EXPECT_EQ(adapter.GetDriver(3).Name, "");
    SetDriversInUse(previous);
}

} // namespace
