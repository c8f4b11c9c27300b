#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "ExpectMessage.h"
#include "ScopedConfigHome.h"
#include "common/TestEnv.h"
#include "platform/RegIniFile.h"
#include "platform/Registry.h"

namespace {

std::string Cp(const char* utf8) { return Utf8ToAnsi(utf8).str(); }

std::string StoreBytes(const ScopedConfigHome& home) { return testenv::ReadBytes(home.SettingsDir() / "registry.ini"); }

TEST(Registry, ValuesKeepEveryByteAndTheFileShowsThemEscaped) {
    ScopedConfigHome home;
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    struct Case {
        AnsiString name;
        AnsiString value;
    } cases[] = {
        {"Caption", "  два пробела и \"кавычки\"  "_a},
        {" name = with blanks ", "a=b\r\nвторая строка\n\rтретья\\"_a},
        {"", "default value"},
        {"@", "'single'"},
        {";[x", ""},
        {"Имя"_a, AnsiString(all)},
    };
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\ge\\Тест"_a, true));
        for (const Case& c : cases) reg.WriteString(c.name, c.value);
        reg.WriteInteger("Width", -2);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("software\\GE\\тест"_a, false));
    for (const Case& c : cases) {
        EXPECT_TRUE(reg.ValueExists(c.name)) << c.name.c_str();
        EXPECT_EQ(reg.ReadString(c.name), c.value) << c.name.c_str();
    }
    EXPECT_EQ(reg.ReadInteger("WIDTH"), -2);
    TStringList names;
    reg.GetValueNames(&names);
    ASSERT_EQ(names.Count(), 7);
    EXPECT_EQ(names[1], " name = with blanks ");
    EXPECT_EQ(names[2], "");

    std::string file = StoreBytes(home);
    std::string head = Cp("[HKEY_CURRENT_USER\\Software]\r\n\r\n[HKEY_CURRENT_USER\\Software\\ge]\r\n\r\n"
                          "[HKEY_CURRENT_USER\\Software\\ge\\Тест]\r\n");
    EXPECT_EQ(file.substr(0, head.size()), head);
    const std::string lines[] = {
        Cp("[HKEY_CURRENT_USER\\Software\\ge\\Тест]\r\n"),
        Cp("Caption=\"  два пробела и \\\"кавычки\\\"  \"\r\n"),
        "\\x20name \\x3D with blanks\\x20=\"a=b\\r\\n" + Cp("вторая строка") + "\\n\\r" + Cp("третья") + "\\\\\"\r\n",
        "@=\"default value\"\r\n",
        "\\x40=\"'single'\"\r\n",
        "\\x3B[x=\"\"\r\n",
        "Width=dword:FFFFFFFE\r\n",
    };
    for (const std::string& l : lines) EXPECT_NE(file.find(l), std::string::npos) << l;
}

TEST(Registry, OpeningForReadingCreatesNothing) {
    ScopedConfigHome home;
    {
        TRegistry reg;
        EXPECT_FALSE(reg.OpenKey("Software\\ge\\MainForm", false));
        EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\ge"));
        EXPECT_FALSE(reg.KeyExists("Software"));
        EXPECT_FALSE(reg.KeyOpen());
        TRegIniFile ini("Software\\ge", KEY_READ);
        EXPECT_EQ(ini.ReadString("MainForm", "Flags", "def"), "def");
        EXPECT_EQ(ini.ReadInteger("MainForm", "Flags", 7), 7);
        TStringList l;
        ini.ReadSections(&l);
        EXPECT_EQ(l.Count(), 0);
        EXPECT_THROW(ini.WriteString("MainForm", "Flags", "1"), ERegistryException);
    }
    EXPECT_FALSE(std::filesystem::exists(home.SettingsDir()));

    TRegIniFile writer("Software\\ge");
    writer.WriteInteger("MainForm", "Flags", 1);
    std::string before = StoreBytes(home);
    TRegIniFile reader("Software\\ge", KEY_READ);
    EXPECT_EQ(reader.ReadInteger("MainForm", "Flags", 0), 1);
    EXPECT_EQ(reader.ReadInteger("Other", "Flags", 5), 5);
    EXPECT_FALSE(reader.SectionExists("Other"));
    EXPECT_THROW(reader.WriteInteger("MainForm", "Flags", 2), ERegistryException);
    EXPECT_FALSE(reader.DeleteKey("MainForm"));
    EXPECT_EQ(StoreBytes(home), before);
}

TEST(Registry, DeletingAKeyRemovesItsSubkeysButNotItsNeighbours) {
    ScopedConfigHome home;
    TRegistry reg;
    ASSERT_TRUE(reg.CreateKey("Software\\ge\\A\\B\\C"));
    ASSERT_TRUE(reg.CreateKey("Software\\ge\\A\\B2"));
    ASSERT_TRUE(reg.CreateKey("Software\\ge\\AB"));
    ASSERT_TRUE(reg.OpenKey("Software\\ge\\A\\B\\C", false));
    reg.WriteString("v", "x");
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("Software\\ge", false));
    EXPECT_FALSE(reg.DeleteKey(""));  // never the open key by an empty name
    EXPECT_TRUE(reg.DeleteKey("a"));
    EXPECT_FALSE(reg.DeleteKey("a"));
    for (const char* gone : {"A", "A\\B", "A\\B\\C", "A\\B2"}) EXPECT_FALSE(reg.KeyExists(gone)) << gone;
    EXPECT_TRUE(reg.KeyExists("AB"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\ge"));
    EXPECT_EQ(StoreBytes(home).find("\\A\\"), std::string::npos);
}

TEST(Registry, PathsAreRelativeToTheOpenKeyUnlessTheyStartWithABackslash) {
    ScopedConfigHome home;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\ge\\", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\ge");
    ASSERT_TRUE(reg.OpenKey("Zeta", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\ge\\Zeta");
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\GE\\alpha", true));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\GE\\alpha");
    ASSERT_TRUE(reg.OpenKey("\\Software\\ge", false));
    TStringList keys;
    reg.GetKeyNames(&keys);
    ASSERT_EQ(keys.Count(), 2);
    EXPECT_EQ(keys[0], "alpha");
    EXPECT_EQ(keys[1], "Zeta");
    EXPECT_TRUE(reg.HasSubKeys());
    // The new key is stored under the spelling its parents already had.
    EXPECT_NE(StoreBytes(home).find("[HKEY_CURRENT_USER\\Software\\ge\\alpha]"), std::string::npos);

    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.KeyOpen());
    EXPECT_FALSE(reg.KeyExists("Software\\ge"));
    ASSERT_TRUE(reg.OpenKey("Software\\ge", true));
    reg.WriteInteger("Machine", 1);
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Software\\ge", false));
    EXPECT_FALSE(reg.ValueExists("Machine"));
}

TEST(Registry, ReadErrorsNameTheValue) {
    ScopedConfigHome home;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteString("Text", "12");
    reg.WriteInteger("Number", 12);
    reg.WriteBool("Flag", true);
    EXPECT_EQ(reg.GetDataType("Text"), rdString);
    EXPECT_EQ(reg.GetDataType("Number"), rdInteger);
    EXPECT_EQ(reg.GetDataType("None"), rdUnknown);
    EXPECT_TRUE(reg.ReadBool("Flag"));
    EXPECT_EQ(reg.ReadString("None"), "");
    ExpectMessage<ERegistryException>([&] { reg.ReadInteger("None"); }, "Failed to get data for 'None'");
    ExpectMessage<ERegistryException>([&] { reg.ReadInteger("Text"); }, "Invalid data type for 'Text'");
    ExpectMessage<ERegistryException>([&] { reg.ReadString("Number"); }, "Invalid data type for 'Number'");
    EXPECT_TRUE(reg.DeleteValue("text"));
    EXPECT_FALSE(reg.DeleteValue("Text"));
    EXPECT_FALSE(reg.ValueExists("Text"));
}

TEST(Registry, FailedWriteLeavesTheStoreAndRaises) {
    ScopedConfigHome home;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteString("A", "1");
    std::string before = StoreBytes(home);
    auto blocker = home.SettingsDir() / ("registry.ini.tmp~" + std::to_string(::getpid()));
    std::filesystem::create_directory(blocker);
    ExpectMessage<ERegistryException>([&] { reg.WriteString("A", "2"); }, "Failed to set data for 'A'");
    EXPECT_FALSE(reg.CreateKey("K\\Sub"));
    EXPECT_FALSE(reg.OpenKey("Other", true));
    EXPECT_EQ(StoreBytes(home), before);
    EXPECT_EQ(reg.ReadString("A"), "1");
    std::filesystem::remove(blocker);
    reg.WriteString("A", "2");
    EXPECT_EQ(reg.ReadString("A"), "2");
}

TEST(Registry, RegIniFileMapsSectionsToSubkeys) {
    ScopedConfigHome home;
    TRegIniFile ini("Software\\ge");
    EXPECT_EQ(ini.FileName(), "Software\\ge");
    ini.WriteInteger("TMainForm", "Flags", 0);
    ini.WriteString("TMainForm", "NormPos", "10,20,300,400");
    ini.WriteBool("TMainForm", "Visible", true);
    ini.WriteString("TMainForm\\MDI Children", "Item0", "TMDIChild");
    ini.WriteString("TMainForm.MRUMan", "Item_0", "  C:\\proj\\a.tvp  ");
    ini.WriteString("", "Top", "1");

    TStringList l;
    ini.ReadSections(&l);
    ASSERT_EQ(l.Count(), 2);
    EXPECT_EQ(l[0], "TMainForm");
    EXPECT_EQ(l[1], "TMainForm.MRUMan");
    ini.ReadSection("tmainform", &l);
    ASSERT_EQ(l.Count(), 3);
    EXPECT_EQ(l[2], "Visible");
    ini.ReadSectionValues("TMainForm", &l);
    EXPECT_EQ(l.Text(), "Flags=0\r\nNormPos=10,20,300,400\r\nVisible=1\r\n");

    EXPECT_EQ(ini.ReadString("TMainForm.MRUMan", "item_0", ""), "  C:\\proj\\a.tvp  ");
    EXPECT_EQ(ini.ReadInteger("TMainForm", "NormPos", -1), -1);
    EXPECT_TRUE(ini.ReadBool("TMainForm", "Visible", false));
    ini.WriteString("TMainForm", "Word", "TRUE");
    EXPECT_TRUE(ini.ReadBool("TMainForm", "Word", false));
    EXPECT_TRUE(ini.ReadBool("TMainForm", "NormPos", true));  // not a flag: the default
    EXPECT_EQ(ini.ReadString("", "Top", ""), "1");
    EXPECT_TRUE(ini.ValueExists("TMainForm\\MDI Children", "Item0"));

    // A value written as an integer by TRegistry reads as its decimal text.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\ge\\TMainForm", false));
    reg.WriteInteger("ShowCmd", 3);
    EXPECT_EQ(ini.ReadString("TMainForm", "ShowCmd", ""), "3");
    EXPECT_EQ(ini.ReadInteger("TMainForm", "ShowCmd", 0), 3);

    ini.DeleteKey("TMainForm", "Flags");
    EXPECT_FALSE(ini.ValueExists("TMainForm", "Flags"));
    ini.EraseSection("TMAINFORM");
    EXPECT_FALSE(ini.SectionExists("TMainForm"));
    EXPECT_FALSE(ini.SectionExists("TMainForm\\MDI Children"));
    EXPECT_TRUE(ini.SectionExists("TMainForm.MRUMan"));
    ini.EraseSection("Missing");
    EXPECT_EQ(ini.ReadString("", "Top", ""), "1");
}

TEST(Registry, EveryListedNameCanBeReadWrittenAndErased) {
    ScopedConfigHome home;
    std::filesystem::create_directories(home.SettingsDir());
    const std::string hand = testenv::RegressionFile("registry/value-listed-but-unreadable.ini");
    testenv::WriteBytes(home.SettingsDir() / "registry.ini", hand);
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Software\\ge\\TMainForm", false));
    TStringList names;
    reg.GetValueNames(&names);
    ASSERT_EQ(names.Count(), 2);
    EXPECT_EQ(names[0], "Path\\q");
    EXPECT_EQ(names[1], "Tab\tName");
    const char* values[] = {"C:\\work", "x"};
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(reg.ValueExists(names[i])) << i;
        EXPECT_EQ(reg.ReadString(names[i]), values[i]) << i;
        EXPECT_TRUE(reg.ValueExists(names[i].UpperCase())) << i;
    }
    // Writing a listed name changes its own line; the file gains no line.
    reg.WriteString(names[0], "D:\\");
    reg.WriteString(names[1], "y");
    std::string expected = hand;
    expected.replace(expected.find("\"C:"), 10, "\"D:\\\\\"");
    expected.replace(expected.find("\"x\""), 3, "\"y\"");
    EXPECT_EQ(StoreBytes(home), expected);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(reg.DeleteValue(names[i])) << i;
        EXPECT_FALSE(reg.ValueExists(names[i])) << i;
    }
    reg.GetValueNames(&names);
    EXPECT_EQ(names.Count(), 0);
    // A name that reads as one already listed is the same value.
    reg.WriteString("a\\b", "1");
    reg.WriteString("A\\B", "2");
    reg.GetValueNames(&names);
    ASSERT_EQ(names.Count(), 1);
    EXPECT_EQ(reg.ReadString("a\\b"), "2");
    // A hand-written "A\T" reads as itself; "a<TAB>" would be written "a\t",
    // which folds onto that line, so it cannot be stored apart and is refused.
    testenv::WriteBytes(home.SettingsDir() / "registry.ini",
                        "[HKEY_CURRENT_USER\\Software\\ge\\TMainForm]\r\nA\\T=\"1\"\r\n");
    EXPECT_THROW(reg.WriteString("a\t", "2"), ERegistryException);
    EXPECT_FALSE(reg.ValueExists("a\t"));
    EXPECT_EQ(reg.ReadString("A\\T"), "1");
}

TEST(Registry, HandEditedStoreIsRead) {
    ScopedConfigHome home;
    std::filesystem::create_directories(home.SettingsDir());
    testenv::WriteBytes(home.SettingsDir() / "registry.ini",
                        Cp("; правка вручную\n[HKEY_CURRENT_USER\\Software\\ge\\Form]\nWidth=  80  \nQ=\"a\\x41\\q\"\nBad=dword:zz\n"));
    TRegIniFile ini("Software\\ge", KEY_READ);
    TStringList l;
    ini.ReadSections(&l);  // the parent keys exist because a key below them does
    ASSERT_EQ(l.Count(), 1);
    EXPECT_EQ(l[0], "Form");
    EXPECT_EQ(ini.ReadString("Form", "Width", ""), "80");
    EXPECT_EQ(ini.ReadString("Form", "Q", ""), "aA\\q");
    EXPECT_EQ(ini.ReadString("Form", "Bad", "def"), "def");
}

} // namespace
