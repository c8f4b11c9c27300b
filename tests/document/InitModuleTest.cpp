#include <gtest/gtest.h>

#include "common/Printers.h"

#include <functional>
#include <memory>
#include <vector>

#include "common/TestEnv.h"
#include "document/InitModule.h"
#include "platform/FileNames.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/testing/TestUiPort.h"

namespace {

// What every setting is called in the file, where it lives, its default as
// the file holds it, and a value other than the default.
struct Expected {
    const char* section;
    AnsiString key;
    AnsiString def;
    AnsiString other;
    std::function<AnsiString(const TInitModule&)> get;
    std::function<void(TInitModule&, const AnsiString&)> set;
};

#define NUM(field)                                              \
    [](const TInitModule& m) { return IntToStr(m.field); },     \
        [](TInitModule& m, const AnsiString& v) { m.field = StrToInt(v); }
#define FLAG(field)                                                        \
    [](const TInitModule& m) { return AnsiString(m.field ? "1" : "0"); }, \
        [](TInitModule& m, const AnsiString& v) { m.field = v == "1"; }
#define TEXT(field) \
    [](const TInitModule& m) { return m.field; }, [](TInitModule& m, const AnsiString& v) { m.field = v; }

const std::vector<Expected>& Table() {
    static const std::vector<Expected> table = {
        {"Element", "Цвет фона"_a, "0", "8421376", NUM(BackColor)},
        {"Element", "Цвет связи (элементов)"_a, "255", "65280", NUM(LinkColor)},
        {"Element", "Цвет сетки"_a, "8421504", "1", NUM(GridColor)},
        {"Element", "Цвет назв. элементов"_a, "255", "2", NUM(ElementNameColor)},
        {"Element", "Цвет пустого вывода"_a, "65535", "3", NUM(EmptyPinColor)},
        {"Element", "Цвет названия драйвера"_a, "16777215", "4", NUM(DriverNameColor)},
        {"Element", "Цвет прерывистой"_a, "8421504", "5", NUM(DashColor)},
        {"Element", "Цвет названия связи (схем)"_a, "16711935", "6", NUM(ChainNameColor)},
        {"Element", "Цвет атрибутов таймера"_a, "65535", "7", NUM(TimerAttrColor)},
        {"Element", "Цвет входного драйвера"_a, "65280", "8", NUM(InDriverColor)},
        {"Element", "Цвет выходного драйвера"_a, "33023", "9", NUM(OutDriverColor)},
        {"Element", "Цвет драйвера"_a, "12632256", "10", NUM(DriverColor)},
        {"Element", "Цвет пересечения"_a, "65535", "11", NUM(JunctionColor)},
        {"Element", "Цвет выделенной связи"_a, "16776960", "12", NUM(SelectedLinkColor)},
        {"Element", "Цвет текста"_a, "16777215", "13", NUM(TextColor)},
        {"Element", "Цвет выбранных"_a, "16776960", "-2147483643", NUM(SelectedColor)},
        {"Element", "Размер текста"_a, "8", "12", NUM(TextSize)},
        {"Element", "Цвет фона FSM"_a, "16777215", "14", NUM(FsmBackColor)},
        {"Element", "Радиус состояния "_a, "30", "45", NUM(StateRadius)},
        {"Element", "Цвет состояния "_a, "32768", "15", NUM(StateColor)},
        {"Element", "Цвет активного состояния "_a, "16711935", "16", NUM(ActiveStateColor)},
        {"Element", "Цвет перехода"_a, "8388608", "17", NUM(TransitionColor)},
        {"Element", "Цвет условия"_a, "8421504", "18", NUM(CondColor)},
        {"Element", "Цвет выделенного условия"_a, "65535", "19", NUM(SelectedCondColor)},
        {"Element", "Цвет текста условия"_a, "65535", "20", NUM(CondTextColor)},
        {"Params", "Сетка"_a, "10", "25", NUM(GridStep)},
        {"Params", "Сетка видна"_a, "1", "0", FLAG(GridVisible)},
        {"Params", "Максимальная ширина"_a, "800", "2400", NUM(MaxWidth)},
        {"Params", "Максимальная высота"_a, "600", "1800", NUM(MaxHeight)},
        {"Params", "Период автосохранения"_a, "10", "3", NUM(AutoSavePeriod)},
        {"Params", "Проверять порядок элементов"_a, "1", "0", FLAG(CheckOrder)},
        {"Params", "Инкремент таймера"_a, "50", "10", NUM(TimerIncrement)},
        {"Params", "Максимальное значение таймера"_a, "50000000", "60000", NUM(TimerMax)},
        {"Params", "Минимальное значение таймера"_a, "50", "20", NUM(TimerMin)},
        {"Params", "Кратность таймера"_a, "50", "100", NUM(TimerMultiple)},
        {"Files", "Типы драйверов"_a, "1.$$$", "types.txt", TEXT(DriverTypesFile)},
        {"Files", "Драйвера"_a, "2.$$$", "драйверы.txt"_a, TEXT(DriversFile)},
        {"Files", "Сигналы"_a, "3.$$$", "s.txt", TEXT(SignalsFile)},
        {"Files", "Элементы"_a, "4.$$$", "e.txt", TEXT(ElementsFile)},
        {"Files", "Комментарии"_a, "5.$$$", "c.txt", TEXT(CommentsFile)},
        {"Files", "TVCA файл"_a, "tvca.dat", "plant.dat", TEXT(DataFile)},
        {"Files", "Файл булевой логики"_a, "tvca.txt", "logic.txt", TEXT(LogicFile)},
        {"Files", "Log файл"_a, "err.log", "/var/tmp/ge.log", TEXT(LogFile)},
    };
    return table;
}

class InitModuleTest : public ::testing::Test {
protected:
    testenv::TempDir dir;
    AnsiString file = dir.File("graphic.ini");
    TestUiPort port;

    std::unique_ptr<TInitModule> Make() { return std::make_unique<TInitModule>(nullptr, file); }
    void WriteFile(const AnsiString& text) { testenv::WriteBytes(ToFsPath(file), text.str()); }
};

TEST_F(InitModuleTest, EveryKeyInTheKeyListInOrder) {
    auto m = Make();
    ASSERT_EQ(m->SL->GetList()->Count(), int(Table().size()));
    for (std::size_t i = 0; i < Table().size(); ++i) EXPECT_EQ(m->SL->GetList()->Strings(int(i)), Table()[i].key);
    EXPECT_EQ(m->SectionIni->GetList()->CommaText(), AnsiString("Params,Files,Element,Tarvelion"));
}

TEST_F(InitModuleTest, DefaultsWithoutAFileAndWrittenBackOnDestruction) {
    auto m = Make();
    for (const Expected& e : Table()) EXPECT_EQ(e.get(*m), e.def) << AnsiToUtf8(e.key);
    EXPECT_TRUE(port.Calls.empty());
    m.reset(); // writes the file
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Tarvelion", "Ident", ""), AnsiString("1"));
    for (const Expected& e : Table()) {
        EXPECT_TRUE(ini.ValueExists(e.section, e.key)) << AnsiToUtf8(e.key);
        EXPECT_EQ(ini.ReadString(e.section, e.key, "?"), e.def) << AnsiToUtf8(e.key);
    }
    // Windows-1251 bytes; the key with the trailing blank keeps it.
    std::string bytes = testenv::ReadBytes(ToFsPath(file));
    EXPECT_NE(bytes.find(("Радиус состояния =30\r\n"_a).str()), std::string::npos);
    EXPECT_NE(bytes.find(("Цвет фона=0\r\n"_a).str()), std::string::npos);
    EXPECT_NE(bytes.find("[Element]\r\n"), std::string::npos);
}

TEST_F(InitModuleTest, EveryValueRoundTripsThroughTheFile) {
    {
        auto m = Make();
        for (const Expected& e : Table()) e.set(*m, e.other);
    }
    auto m = Make();
    for (const Expected& e : Table()) EXPECT_EQ(e.get(*m), e.other) << AnsiToUtf8(e.key);
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(InitModuleTest, ReadsAHandWrittenFileIgnoringLetterCaseOfNames) {
    WriteFile("; settings\r\n[element]\r\nЦВЕТ ФОНА=255\r\nрадиус состояния = 45 \r\nРадиус состояния=99\r\n"
              "Цвет состояния =$FF00\r\n[PARAMS]\r\nСетка видна=false\r\nсетка=  20\r\n[Files]\r\n"
              "Сигналы=\"  sig.txt \"\r\n[Other]\r\nKeep=me\r\n"_a);
    auto m = Make();
    EXPECT_EQ(m->BackColor, 255);
    EXPECT_EQ(m->StateRadius, 45); // "Радиус состояния" without the blank is another key
    EXPECT_EQ(m->StateColor, 0xFF00);
    EXPECT_FALSE(m->GridVisible);
    EXPECT_EQ(m->GridStep, 20);
    EXPECT_EQ(m->SignalsFile, AnsiString("  sig.txt "));
    EXPECT_TRUE(port.Calls.empty());
    m.reset();
    // What the module does not know survives, and the quoted name reads back.
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Other", "Keep", ""), AnsiString("me"));
    EXPECT_EQ(ini.ReadString("Element", "Радиус состояния"_a, ""), AnsiString("99"));
    EXPECT_EQ(Make()->SignalsFile, AnsiString("  sig.txt "));
}

TEST_F(InitModuleTest, UnusableValuesTakeTheirDefaultsAndAreReportedOnce) {
    WriteFile("[Params]\r\nСетка=0\r\nМаксимальная ширина=999999999\r\nКратность таймера=0\r\nСетка видна=может\r\n"
              "Минимальное значение таймера=70\r\nМаксимальное значение таймера=60\r\n"
              "Период автосохранения=30\r\n[Element]\r\nЦвет фона=abc\r\nЦвет перехода=-5\r\n"
              "Цвет условия=-2147483643\r\nРадиус состояния =0\r\n[Files]\r\nСигналы=../x\r\n"
              "Драйвера=C:\\x.txt\r\nTVCA файл=\r\nLog файл=/tmp/a.log\r\n"_a);
    auto m = Make();
    EXPECT_EQ(m->GridStep, 10);
    EXPECT_EQ(m->MaxWidth, 800);
    EXPECT_EQ(m->TimerMultiple, 50);
    EXPECT_TRUE(m->GridVisible);
    EXPECT_EQ(m->TimerMin, 50);
    EXPECT_EQ(m->TimerMax, 50000000);
    EXPECT_EQ(m->BackColor, 0);
    EXPECT_EQ(m->TransitionColor, 8388608);
    EXPECT_EQ(m->CondColor, int(0x80000005)); // a system colour is a colour
    EXPECT_EQ(m->StateRadius, 30);
    EXPECT_EQ(m->SignalsFile, AnsiString("3.$$$"));
    EXPECT_EQ(m->DriversFile, AnsiString("2.$$$"));
    EXPECT_EQ(m->DataFile, AnsiString("tvca.dat"));
    EXPECT_EQ(m->LogFile, AnsiString("/tmp/a.log")); // the log may name a directory
    EXPECT_EQ(m->AutoSavePeriod, 30);
    ASSERT_EQ(port.Messages().size(), 1u);
    EXPECT_EQ(port.Messages()[0], "В файле настроек "_a + file +
                                      " неверные значения заменены стандартными: Цвет фона, Радиус состояния, "
                                      "Цвет перехода, Сетка, Сетка видна, Максимальная ширина, "
                                      "Кратность таймера, Драйвера, Сигналы, TVCA файл, "
                                      "Максимальное значение таймера, Минимальное значение таймера"_a);
}

TEST_F(InitModuleTest, BinaryGarbageGivesDefaults) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += char((i * 37) & 0xFF);
    testenv::WriteBytes(ToFsPath(file), junk);
    auto m = Make();
    for (const Expected& e : Table()) EXPECT_EQ(e.get(*m), e.def) << AnsiToUtf8(e.key);
}

TEST_F(InitModuleTest, SetDefaultsKeepsOnlyTheCommentsFile) {
    auto m = Make();
    for (const Expected& e : Table()) e.set(*m, e.other);
    m->SetDefaults();
    for (const Expected& e : Table()) {
        if (e.key == "Комментарии"_a) EXPECT_EQ(e.get(*m), e.other);
        else EXPECT_EQ(e.get(*m), e.def) << AnsiToUtf8(e.key);
    }
}

TEST_F(InitModuleTest, InterruptListAndDefaultProjectName) {
    auto m = Make();
    TStringList* irq = m->IrqList->GetList();
    ASSERT_EQ(irq->Count(), 16);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(irq->Strings(i), IntToStr(i));
    EXPECT_EQ(m->GetDefaultProjectName(), AnsiString());
}

// The module's constant texts and messages are the lines of its string
// lists, found by position: the components are named as the module's form
// names them, and a line changed in a list is what the module uses.
TEST_F(InitModuleTest, ConstantsAndMessagesAreReadFromTheModulesStringLists) {
    auto m = Make();
    const struct {
        const char* name;
        TQKStrList* list;
        int count;
    } lists[] = {{"SL", m->SL, int(Table().size())}, {"SectionIni", m->SectionIni, 4}, {"StrConst", m->StrConst, 10},
                 {"StrMsg", m->StrMsg, 2},         {"IrqList", m->IrqList, 16}};
    for (const auto& l : lists) {
        EXPECT_EQ(m->FindComponent(l.name), l.list) << l.name;
        EXPECT_EQ(l.list->GetList()->Count(), l.count) << l.name;
    }
    EXPECT_EQ(m->StrConst->GetList()->CommaText(),
              AnsiString("Ident,1,1.$$$,2.$$$,3.$$$,4.$$$,5.$$$,tvca.dat,tvca.txt,err.log"));
    EXPECT_THROW(m->StrMsg->GetList()->Strings(2), EStringListError);

    m->StrConst->GetList()->Put(0, "Version");
    m->StrConst->GetList()->Put(1, "7");
    m->StrConst->GetList()->Put(7, "plant.dat");
    m->StrMsg->GetList()->Put(1, "%s: %s"_a);
    m->SetDefaults();
    EXPECT_EQ(m->DataFile, AnsiString("plant.dat"));
    EXPECT_TRUE(m->Write());
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Tarvelion", "Version", ""), AnsiString("7"));
    WriteFile("[Params]\r\nСетка=0\r\n"_a);
    m->Read();
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{file + ": Сетка"_a});
}

TEST_F(InitModuleTest, TheGlobalIsTheFirstModule) {
    ASSERT_EQ(InitModule, nullptr);
    auto first = Make();
    EXPECT_EQ(InitModule, first.get());
    {
        auto second = std::make_unique<TInitModule>(nullptr, dir.File("other.ini"));
        EXPECT_EQ(InitModule, first.get());
    }
    first.reset();
    EXPECT_EQ(InitModule, nullptr);
}

TEST_F(InitModuleTest, BareNameLivesInTheSettingsFolder) {
    {
        TInitModule m(nullptr);
        EXPECT_EQ(m.FileName(), AnsiString("graphic.ini"));
        m.GridStep = 7;
    }
    EXPECT_TRUE(std::filesystem::exists(ToFsPath(PathJoin(SettingsFolder(), "graphic.ini"))));
    TInitModule again(nullptr);
    EXPECT_EQ(again.GridStep, 7);
}

TEST_F(InitModuleTest, FailedWriteIsReported) {
    testenv::WriteBytes(dir.Path() / "plain", "x");
    AnsiString bad = dir.File("plain/graphic.ini"); // a folder that is a file
    { TInitModule m(nullptr, bad); }
    ASSERT_EQ(port.Messages().size(), 1u);
    EXPECT_EQ(port.Messages()[0], "Невозможно записать файл настроек "_a + bad);
}

TEST_F(InitModuleTest, UnwritableNamesFromCodeKeepTheFilesValue) {
    auto m = Make();
    m->SignalsFile = "a\r\nb";
    m->GridStep = 12;
    EXPECT_TRUE(m->Write());
    m.reset();
    auto again = Make();
    EXPECT_EQ(again->SignalsFile, AnsiString("3.$$$"));
    EXPECT_EQ(again->GridStep, 12);
}

} // namespace
