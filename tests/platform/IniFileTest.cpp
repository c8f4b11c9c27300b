#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "ExpectMessage.h"
#include "ScopedConfigHome.h"
#include "common/TestEnv.h"
#include "platform/FileIO.h"
#include "platform/IniDocument.h"
#include "platform/IniFile.h"

namespace {

std::string Cp(const char* utf8) { return Utf8ToAnsi(utf8).str(); }

// A settings file as the old program wrote it, plus hand edits.
std::string SampleFile() {
    return Cp("; настройки\r\n"
              "[Params]\r\n"
              "Сетка=10\r\n"
              "Радиус состояния =30\r\n"
              "Радиус состояния=99\r\n"
              "  Отступ  =  7  \r\n"
              "Quoted=\"  a b  \"\r\n"
              "Single=' x '\r\n"
              "Twice=\"\"q\"\"\r\n"
              "Mixed=\"a'\r\n"
              "Hex=$1F\r\n"
              "Hex2=0x10\r\n"
              "Junk=12abc\r\n"
              "Empty=\r\n"
              "BoolWord=True\r\n"
              "\r\n"
              "[Файлы]\r\n"
              "Имя=tvca.dat\r\n");
}

TEST(IniFile, ReadsOldProfileRules) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "a.ini", SampleFile());
    TIniFile ini(dir.File("a.ini"));
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"params", "сетка", "10"},
        {"PARAMS", "СЕТКА", "10"},
        {"Params", "Радиус состояния ", "30"},   // the trailing blank is part of the key
        {"Params", "Радиус состояния", "99"},
        {"Params", "РАДИУС СОСТОЯНИЯ ", "30"},
        {"Params", "Отступ  ", "7"},            // leading blanks of a line are not part of the key
        {"Params", "Отступ", "<default>"},
        {"Params", "Quoted", "  a b  "},        // one pair of quotes keeps inner blanks
        {"Params", "Single", " x "},
        {"Params", "Twice", "\"q\""},           // only one pair is stripped
        {"Params", "Mixed", "\"a'"},            // quotes that do not match stay
        {"Params", "Empty", ""},
        {"файлы", "ИМЯ", "tvca.dat"},
        {"Нет", "Имя", "<default>"},
        {"Params", "; настройки", "<default>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadString(Utf8ToAnsi(c.section), Utf8ToAnsi(c.key), "<default>"), Utf8ToAnsi(c.expected))
            << c.section << "/" << c.key;

    EXPECT_EQ(ini.ReadInteger("Params", "Hex", -1), 31);
    EXPECT_EQ(ini.ReadInteger("Params", "Hex2", -1), 16);
    EXPECT_EQ(ini.ReadInteger("Params", "Junk", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Params", "Empty", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Params", "Missing", 42), 42);
    EXPECT_TRUE(ini.ReadBool("Params", "BoolWord", false));
    EXPECT_TRUE(ini.ReadBool("Params", "Hex", false));
    EXPECT_FALSE(ini.ReadBool("Params", "Junk", false));
    EXPECT_TRUE(ini.ReadBool("Params", "Junk", true));

    EXPECT_TRUE(ini.SectionExists("PARAMS"));
    EXPECT_TRUE(ini.ValueExists("Params", "empty"));
    EXPECT_FALSE(ini.ValueExists("Params", "Missing"));

    TStringList keys;
    ini.ReadSection("Params", &keys);
    ASSERT_EQ(keys.Count(), 13);
    EXPECT_EQ(keys[1], "Радиус состояния "_a);
    EXPECT_EQ(keys[3], "Отступ  "_a);
    TStringList sections;
    ini.ReadSections(&sections);
    ASSERT_EQ(sections.Count(), 2);
    EXPECT_EQ(sections[1], "Файлы"_a);
    TStringList values;
    values.Add("stale");
    ini.ReadSectionValues("Файлы"_a, &values);
    ASSERT_EQ(values.Count(), 1);
    EXPECT_EQ(values[0], "Имя=tvca.dat"_a);
}

TEST(IniFile, MissingFileReadsDefaultsAndCreatesNothing) {
    testenv::TempDir dir;
    TIniFile ini(dir.File("нет.ini"_a));
    EXPECT_EQ(ini.ReadString("A", "B", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("A", "B", 5), 5);
    EXPECT_FALSE(ini.SectionExists("A"));
    TStringList l;
    ini.ReadSections(&l);
    EXPECT_EQ(l.Count(), 0);
    ini.EraseSection("A");
    ini.DeleteKey("A", "B");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(IniFile, WritingKeepsCommentsBlankLinesAndEverythingElseByteForByte) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "a.ini", SampleFile());
    TIniFile ini(dir.File("a.ini"));
    ini.WriteInteger("PARAMS", "сетка"_a, 20);               // existing key keeps its spelling
    ini.WriteString("Params", "Новый"_a, "значение"_a);     // new key after the last key of its section
    ini.WriteInteger("Params", "Радиус состояния "_a, 31);
    ini.WriteBool("Новая"_a, "Флаг"_a, true);              // new section at the end
    std::string expected = SampleFile();
    auto replace = [&](const std::string& from, const std::string& to) {
        auto p = expected.find(from);
        ASSERT_NE(p, std::string::npos) << from;
        expected.replace(p, from.size(), to);
    };
    replace(Cp("Сетка=10"), Cp("Сетка=20"));
    replace(Cp("Радиус состояния =30"), Cp("Радиус состояния =31"));
    replace(Cp("BoolWord=True\r\n"), Cp("BoolWord=True\r\nНовый=значение\r\n"));
    expected += Cp("\r\n[Новая]\r\nФлаг=1\r\n");
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "a.ini"), expected);

    ini.DeleteKey("params", "радиус состояния"_a);  // only the key without the blank goes
    EXPECT_EQ(ini.ReadInteger("Params", "Радиус состояния "_a, 0), 31);
    EXPECT_FALSE(ini.ValueExists("Params", "Радиус состояния"_a));
    ini.EraseSection("ПАРАМS"_a);  // no such section: nothing happens
    ini.EraseSection("params");
    EXPECT_FALSE(ini.SectionExists("Params"));
    EXPECT_EQ(ini.ReadString("Файлы"_a, "Имя"_a, ""), "tvca.dat");
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "a.ini"),
              Cp("; настройки\r\n[Файлы]\r\nИмя=tvca.dat\r\n\r\n[Новая]\r\nФлаг=1\r\n"));
}

TEST(IniFile, CyrillicAndHighBytesRoundTripExactly) {
    testenv::TempDir dir;
    std::string every;
    for (int b = 0x21; b < 0x100; ++b) every += char(b);
    AnsiString value(every);
    AnsiString key = "Ключ ёЁ №"_a;
    {
        TIniFile ini(dir.File("б.ini"_a));
        ini.WriteString("Раздел"_a, key, value);
        ini.WriteString("Раздел"_a, "Пробелы"_a, "\"  с пробелами  \""_a);
    }
    TIniFile ini(dir.File("б.ini"_a));
    EXPECT_EQ(ini.ReadString("РАЗДЕЛ"_a, "ключ ЁЁ №"_a, ""), value);
    EXPECT_EQ(ini.ReadString("Раздел"_a, "Пробелы"_a, ""), "  с пробелами  "_a);
    std::string bytes = testenv::ReadBytes(dir.Path() / "б.ini");
    EXPECT_EQ(bytes.substr(0, 10), Cp("[Раздел]\r\n"));
    EXPECT_NE(bytes.find(Cp("Ключ ёЁ №=") + every + "\r\n"), std::string::npos);
}

TEST(IniFile, BareNameLivesInTheSettingsFolderMadeOnFirstWrite) {
    ScopedConfigHome home;
    TIniFile ini("ge.INI");
    EXPECT_EQ(ini.FileName(), FromFsPath(home.SettingsDir() / "ge.INI"));
    EXPECT_EQ(ini.ReadInteger("S", "Splitter1_Left", 120), 120);
    EXPECT_FALSE(std::filesystem::exists(home.SettingsDir()));
    ini.WriteInteger("S", "Splitter1_Left", 200);
    EXPECT_EQ(testenv::ReadBytes(home.SettingsDir() / "ge.INI"), "[S]\r\nSplitter1_Left=200\r\n");
}

TEST(IniFile, FailedWriteLeavesTheOldFileAndRaises) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "a.ini", SampleFile());
    TIniFile ini(dir.File("a.ini"));
    // Nothing can be created under the temporary name, so the write fails.
    std::filesystem::path blocker = dir.Path() / ("a.ini.tmp~" + std::to_string(::getpid()));
    std::filesystem::create_directory(blocker);
    ExpectMessage<EIniFileException>([&] { ini.WriteString("Params", "Сетка"_a, "50"); },
                                     "Unable to write to " + dir.File("a.ini"));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "a.ini"), SampleFile());
    EXPECT_EQ(ini.ReadString("Params", "Сетка"_a, ""), "10");
    std::filesystem::remove(blocker);

    // A target that is a folder reads as empty and cannot be written.
    std::filesystem::create_directory(dir.Path() / "folder.ini");
    TIniFile folder(dir.File("folder.ini"));
    EXPECT_EQ(folder.ReadString("A", "B", "def"), "def");
    EXPECT_THROW(folder.WriteString("A", "B", "x"), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "folder.ini"));
}

TEST(IniFile, NamesThatCannotReadBackAreRefused) {
    testenv::TempDir dir;
    TIniFile ini(dir.File("a.ini"));
    const char* badKeys[] = {"a=b", "", "   ", ";comment", "[x]", "a\r\nb"};
    for (const char* k : badKeys) EXPECT_THROW(ini.WriteString("S", k, "1"), EIniFileException) << k;
    EXPECT_THROW(ini.WriteString("S\nT", "k", "1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", "k", "line\r\nbreak"), EIniFileException);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "a.ini"));
    ini.WriteString("a]b", " k", "v");  // a ']' inside a section name and blanks before a key are fine
    EXPECT_EQ(ini.ReadString("A]B", "k", ""), "v");
}

TEST(IniFile, SecondObjectOnTheSameFileSeesEveryWrite) {
    testenv::TempDir dir;
    TIniFile a(dir.File("x.ini")), b(dir.File("x.ini"));
    EXPECT_EQ(b.ReadInteger("S", "K", 0), 0);
    a.WriteInteger("S", "K", 1);
    EXPECT_EQ(b.ReadInteger("S", "K", 0), 1);
    b.WriteInteger("S", "L", 2);
    a.WriteInteger("S", "K", 3);
    EXPECT_EQ(b.ReadInteger("S", "L", 0), 2);
    EXPECT_EQ(b.ReadInteger("S", "K", 0), 3);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "x.ini"), "[S]\r\nK=3\r\nL=2\r\n");
    // Rapid writes of same-sized values, faster than file times change.
    for (int i = 0; i < 200; ++i) {
        (i % 2 ? a : b).WriteInteger("S", "K", i % 10);
        ASSERT_EQ((i % 2 ? b : a).ReadInteger("S", "K", -1), i % 10) << i;
    }
    // Another program replacing the file is noticed as well.
    testenv::WriteBytes(dir.Path() / "x.ini", "[S]\r\nK=777\r\n");
    EXPECT_EQ(a.ReadInteger("S", "K", 0), 777);
}

TEST(IniFile, MemIniFileWritesOnlyOnUpdateFile) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "m.ini", "[S]\nA=1\n");
    TMemIniFile m(dir.File("m.ini"));
    for (int i = 0; i < 500; ++i) m.WriteInteger("Bits", "Bit" + IntToStr(i), i);
    m.DeleteKey("S", "A");
    EXPECT_EQ(m.ReadInteger("Bits", "bit499", -1), 499);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "m.ini"), "[S]\nA=1\n");
    EXPECT_TRUE(m.Modified());
    m.UpdateFile();
    EXPECT_FALSE(m.Modified());
    TIniFile check(dir.File("m.ini"));
    EXPECT_FALSE(check.ValueExists("S", "A"));
    EXPECT_EQ(check.ReadInteger("Bits", "Bit250", -1), 250);
    std::filesystem::create_directory(dir.Path() / ("m.ini.tmp~" + std::to_string(::getpid())));
    m.WriteInteger("S", "B", 2);
    EXPECT_THROW(m.UpdateFile(), EIniFileException);
    EXPECT_TRUE(m.Modified());
    EXPECT_FALSE(check.ValueExists("S", "B"));
}

TEST(IniDocument, KeysAddedOneByOneAreFoundAsAfterAFreshParse) {
    // Sections with trailing blank lines and comments, a key named twice, and
    // keys that differ in letter case only: after every insert each key finds
    // the same value as in a document parsed from the text written so far.
    IniDocument doc;
    doc.Parse("[A]\r\nx=1\r\nX=2\r\n; note\r\n\r\n\r\n[B]\r\ny=3\r\n\r\n");
    const char* sections[] = {"A", "B", "a", "C"};
    std::vector<std::pair<AnsiString, AnsiString>> keys;
    for (int i = 0; i < 60; ++i) {
        AnsiString section = sections[i % 4];
        AnsiString key = AnsiString(i % 3 ? "k" : "K") + IntToStr(i % 25);
        doc.Set(section, key, IntToStr(i));
        keys.emplace_back(section, key);
        IniDocument fresh;
        fresh.Parse(doc.Serialize());
        for (const auto& [s, k] : keys) {
            const AnsiString* got = doc.Find(s, k);
            const AnsiString* want = fresh.Find(s, k);
            ASSERT_TRUE(got && want) << i << " " << s.c_str() << " " << k.c_str();
            ASSERT_EQ(*got, *want) << i << " " << s.c_str() << " " << k.c_str();
        }
        ASSERT_EQ(*doc.Find("A", "x"), "1");
        ASSERT_EQ(*doc.Find("B", "Y"), "3");
    }
    EXPECT_EQ(doc.Entries("A").size(), 1u + 25u);
}

} // namespace
