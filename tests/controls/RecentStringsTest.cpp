#include <gtest/gtest.h>

#include "common/Printers.h"

#include "controls/MRUList.h"

namespace {

AnsiString Joined(const TStrings& s) { return s.CommaText(); }

TEST(RecentStrings, InsertModeKeepsTheNewestOnTopAndDropsTheOldest) {
    TRecentStrings list;
    list.SetMaxSize(5);
    for (const char* n : {"a", "b", "c", "d", "e"}) EXPECT_EQ(list.Add(n), 0);
    EXPECT_EQ(Joined(list), AnsiString("e,d,c,b,a"));
    list.Add("f");
    EXPECT_EQ(Joined(list), AnsiString("f,e,d,c,b"));
}

TEST(RecentStrings, AnEntryAddedAgainMovesAndKeepsItsStoredCase) {
    TRecentStrings list;
    list.SetMaxSize(5);
    list.AddObject("C:\\Proj\\One.tvp", TRecentStrings::DataObject(1));
    list.AddObject("two.tvp", TRecentStrings::DataObject(2));
    int index = list.AddObject("c:\\proj\\one.TVP", TRecentStrings::DataObject(9));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0), AnsiString("C:\\Proj\\One.tvp"));
    EXPECT_EQ(list.UserData(0), 9); // the user data is replaced
    EXPECT_EQ(list.UserData(1), 2);
}

TEST(RecentStrings, AppendModeAddsAtTheBottomAndTrimsTheTop) {
    TRecentStrings list;
    list.Mode = rmAppend;
    list.SetMaxSize(3);
    for (const char* n : {"a", "b", "c"}) list.Add(n);
    EXPECT_EQ(list.Add("d"), 2);
    EXPECT_EQ(Joined(list), AnsiString("b,c,d"));
    EXPECT_EQ(list.Add("B"), 2);
    EXPECT_EQ(Joined(list), AnsiString("c,d,b"));
}

TEST(RecentStrings, CapacityAndBulkAdd) {
    TRecentStrings list;
    list.SetMaxSize(0);
    EXPECT_EQ(list.MaxSize(), 1);
    list.SetMaxSize(-5);
    EXPECT_EQ(list.MaxSize(), 1);
    list.SetMaxSize(3);
    TStringList source;
    source.SetCommaText("p,q,r,s");
    list.AddStrings(&source);
    EXPECT_EQ(Joined(list), AnsiString("p,q,r")); // the first three, in their order
    list.SetMaxSize(2);
    EXPECT_EQ(Joined(list), AnsiString("p,q"));
    list.Remove("P");
    EXPECT_EQ(Joined(list), AnsiString("q"));
    list.Remove("absent");
    EXPECT_EQ(list.Count(), 1);
    TRecentStrings appended;
    appended.Mode = rmAppend;
    appended.SetMaxSize(3);
    appended.AddStrings(&source);
    EXPECT_EQ(Joined(appended), AnsiString("p,q,r"));
}

} // namespace
