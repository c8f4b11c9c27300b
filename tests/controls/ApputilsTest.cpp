#include <gtest/gtest.h>

#include "common/Printers.h"

#include "common/TestEnv.h"
#include "controls/Apputils.h"
#include "platform/Paths.h"

namespace {

TEST(Apputils, DefaultNamesFollowTheExecutable) {
    AnsiString exe = "test_controls";
    EXPECT_EQ(GetDefaultIniName(), exe + ".INI");
    EXPECT_EQ(GetDefaultIniRegKey(""), "Software\\" + exe);
    OnGetDefaultIniName = [] { return AnsiString("own.ini"); };
    EXPECT_EQ(GetDefaultIniName(), AnsiString("own.ini"));
    OnGetDefaultIniName = nullptr;
    DefCompanyName = "Maker";
    EXPECT_EQ(GetDefaultIniRegKey("Title"), "Software\\Maker\\" + exe);
    RegUseAppTitle = true;
    EXPECT_EQ(GetDefaultIniRegKey("Title"), AnsiString("Software\\Maker\\Title"));
    EXPECT_EQ(GetDefaultIniRegKey(""), "Software\\Maker\\" + exe);
    RegUseAppTitle = false;
    DefCompanyName = "";
}

// The same calls on both kinds of store give the same values back.
TEST(Apputils, ValuesInBothStores) {
    testenv::TempDir dir;
    TIniFile ini(dir.File("values.ini"));
    TRegIniFile reg("Software\\ApputilsTest");
    for (TObject* store : {static_cast<TObject*>(&ini), static_cast<TObject*>(&reg)}) {
        SCOPED_TRACE(dynamic_cast<TIniFile*>(store) ? "ini" : "registry");
        IniWriteString(store, "Sec", "Text", "  значение с пробелами "_a);
        IniWriteString(store, "Sec", "Quoted", "\"in quotes\"");
        IniWriteString(store, "Sec", "Single", "'single'");
        IniWriteInteger(store, "Sec", "Int", -42);
        IniWriteBool(store, "Sec", "Flag", true);
        EXPECT_EQ(IniReadString(store, "Sec", "Quoted", ""), AnsiString("\"in quotes\""));
        EXPECT_EQ(IniReadString(store, "Sec", "Single", ""), AnsiString("'single'"));
        EXPECT_EQ(IniReadInteger(store, "Sec", "Int", 0), -42);
        EXPECT_TRUE(IniReadBool(store, "Sec", "Flag", false));
        EXPECT_EQ(IniReadString(store, "Sec", "Missing", "def"), AnsiString("def"));
        EXPECT_EQ(IniReadInteger(store, "Sec", "Text", 7), 7);
        TStringList sections;
        IniReadSections(store, &sections);
        EXPECT_GE(sections.IndexOf("Sec"), 0);
        IniDeleteKey(store, "Sec", "Int");
        EXPECT_EQ(IniReadInteger(store, "Sec", "Int", 5), 5);
        IniEraseSection(store, "Sec");
        EXPECT_EQ(IniReadString(store, "Sec", "Quoted", "gone"), AnsiString("gone"));
    }
    // In the registry store the value is kept byte for byte, blanks included.
    IniWriteString(&reg, "Sec", "Text", "  blanks ");
    EXPECT_EQ(IniReadString(&reg, "Sec", "Text", ""), AnsiString("  blanks "));
}

TEST(Apputils, AnyOtherObjectGivesDefaultsAndIgnoresWrites) {
    TStringList notAStore;
    IniWriteString(&notAStore, "S", "K", "v");
    IniWriteInteger(nullptr, "S", "K", 1);
    IniEraseSection(&notAStore, "S");
    EXPECT_EQ(IniReadString(&notAStore, "S", "K", "d"), AnsiString("d"));
    EXPECT_EQ(IniReadInteger(nullptr, "S", "K", 3), 3);
    EXPECT_TRUE(IniReadBool(nullptr, "S", "K", true));
    EXPECT_EQ(notAStore.Count(), 0);
}

TEST(Apputils, LineBreaksRoundTrip) {
    EXPECT_EQ(StrToIniStr("a\r\nb\n\rc\rd\ne"), AnsiString("a\\nb\\nc\\nd\\ne"));
    EXPECT_EQ(IniStrToStr("a\\nb\\x"), AnsiString("a\r\nb\\x"));
    EXPECT_EQ(IniStrToStr(StrToIniStr("one\r\ntwo")), AnsiString("one\r\ntwo"));
    // Input of the limit is encoded in full even when the result is longer.
    AnsiString breaks = AnsiString::StringOfChar('\n', 4096);
    AnsiString encoded = StrToIniStr(breaks);
    EXPECT_EQ(encoded.Length(), 8192);
    try {
        StrToIniStr(AnsiString::StringOfChar('x', 4097));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, AnsiString("Line too long"));
    }
    EXPECT_THROW(IniStrToStr(AnsiString::StringOfChar('x', 4097)), Exception);
}

TEST(Apputils, UniqueFileNameInFolder) {
    testenv::TempDir dir;
    AnsiString folder = AnsiString(dir.Path().c_str());
    EXPECT_EQ(GetUniqueFileNameInDir(folder, "file%d.tmp"), AnsiString("file0.tmp"));
    testenv::WriteBytes(dir.Path() / "file0.tmp", "");
    testenv::WriteBytes(dir.Path() / "file1.tmp", "");
    EXPECT_EQ(GetUniqueFileNameInDir(folder, "file%d.tmp"), AnsiString("file2.tmp"));
    EXPECT_EQ(GetUniqueFileNameInDir(folder, "100%%_%d"), AnsiString("100%_0"));
    // A mask without a number that is taken has no free name, and the search ends at once.
    EXPECT_EQ(GetUniqueFileNameInDir(folder, "file0.tmp"), AnsiString());
}

} // namespace
