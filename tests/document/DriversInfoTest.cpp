#include <gtest/gtest.h>

#include "common/Printers.h"

#include <vector>

#include "common/TestEnv.h"
#include "document/DriversInfo.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/Paths.h"
#include "platform/testing/TestUiPort.h"

namespace {

// Installs the "CheckBit" option for one test.
struct CheckBitScope {
    explicit CheckBitScope(bool on) { TDriversInfo::CheckBitOption = [on] { return on; }; }
    ~CheckBitScope() { TDriversInfo::CheckBitOption = nullptr; }
};

_drv Driver(const AnsiString& name, int type, int direction, uint32_t address, int bits, int irq) {
    _drv d;
    d.Name = name;
    d.Type = type;
    d.Direction = direction;
    d.Address = address;
    d.BitCount = bits;
    d.Interrupt = irq;
    return d;
}

// Two types, two drivers, three bits, two variable signals.
void Fill(TDriversInfo& t) {
    ASSERT_EQ(t.AddDriverType("DI", 3), TDriversInfo::Ok);
    ASSERT_EQ(t.AddDriverType("ВЫХ"_a, 100), TDriversInfo::Ok);
    ASSERT_EQ(t.AddDriver(Driver("D1", 0, 0, 0xABCD, 8, 3)), TDriversInfo::Ok);
    ASSERT_EQ(t.AddDriver(Driver("Клапаны"_a, 1, 1, 0xFFFFFFFF, 16, 15)), TDriversInfo::Ok);
    ASSERT_EQ(t.AddBit("Пуск"_a, "D1", 0, "кнопка пуска"_a), TDriversInfo::Ok);
    ASSERT_EQ(t.AddBit("Стоп"_a, "D1", 1, "  с пробелами; и = знаками  "_a), TDriversInfo::Ok);
    ASSERT_EQ(t.AddBit("K1", "Клапаны"_a, 15, ""), TDriversInfo::Ok);
    ASSERT_TRUE(t.AddVarBit("Связь1"_a, "между схемами"_a));
    ASSERT_TRUE(t.AddVarBit("v2", ""));
}

AnsiString Dump(const TDriversInfo& t) {
    TStringList a, b;
    t.ListDriverTypes(&a);
    t.ListDrivers(&b);
    AnsiString s = a.Text() + b.Text();
    for (int i = 0; i < t.GetBitCount(); ++i) {
        _bit x = t.GetBit(i);
        s += x.Name + "|" + t.GetDriver(x.Driver).Name + "|" + IntToStr(x.Bit) + "|" + x.Comment + "\n";
    }
    for (int i = 0; i < t.GetVarBitCount(); ++i) s += t.GetVarBit(i).Name + "|" + t.GetVarBit(i).Comment + "\n";
    return s;
}

TEST(DriversInfo, WorkFileLinesOfDriversAndTypes) {
    TDriversInfo t;
    Fill(t);
    TStringList lines;
    lines.Add("old");
    t.ListDrivers(&lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[0], AnsiString("D1 in DI 0000ABCD 8 3"));
    EXPECT_EQ(lines[1], "Клапаны out ВЫХ FFFFFFFF 16 15"_a);
    t.ListDriverTypes(&lines);
    EXPECT_EQ(lines.Text(), "DI 3\r\nВЫХ 100\r\n"_a);
}

TEST(DriversInfo, LookupsAreExactAndMissesGiveEmptyValues) {
    TDriversInfo t;
    Fill(t);
    AnsiString drv = "x", comment = "x";
    int bit = 9;
    EXPECT_TRUE(t.FindBit("Стоп"_a, drv, bit, comment));
    EXPECT_EQ(drv, AnsiString("D1"));
    EXPECT_EQ(bit, 1);
    EXPECT_EQ(comment, "  с пробелами; и = знаками  "_a);
    EXPECT_FALSE(t.FindBit("стоп"_a, drv, bit, comment)); // letter case counts
    EXPECT_EQ(drv, AnsiString());
    EXPECT_EQ(bit, 0);
    EXPECT_EQ(comment, AnsiString());
    EXPECT_EQ(t.FindDriverNumber("Клапаны"_a), 1);
    EXPECT_EQ(t.FindDriverNumber("d1"), -1);
    EXPECT_EQ(t.GetDriver(1).Direction, 1);
    EXPECT_EQ(t.GetDriverType(t.GetDriver(1).Type).UserType, 100);
    EXPECT_EQ(t.GetDriver(5).Name, AnsiString()); // out of range: an empty record
    EXPECT_EQ(t.GetDriver(-1).Type, -1);
    comment = "x";
    EXPECT_TRUE(t.FindVarBit("Связь1"_a, comment));
    EXPECT_EQ(comment, "между схемами"_a);
    EXPECT_FALSE(t.FindVarBit("СВЯЗЬ1"_a, comment));
    EXPECT_EQ(comment, AnsiString());
}

TEST(DriversInfo, NameListsHoldExactlyTheNames) {
    TDriversInfo t;
    Fill(t);
    TStringList list;
    list.Add("stale");
    t.GetBitNames(&list);
    EXPECT_EQ(list.Text(), "Пуск\r\nСтоп\r\nK1\r\n"_a);
    t.GetDriverNames(&list);
    EXPECT_EQ(list.Text(), "D1\r\nКлапаны\r\n"_a);
    t.GetVarBitNames(&list); // appends
    EXPECT_EQ(list.Text(), "D1\r\nКлапаны\r\nСвязь1\r\nv2\r\n"_a);
}

TEST(DriversInfo, AddBitRefusalsAndTheirCodes) {
    struct Case {
        bool checkBit;
        AnsiString name, driver;
        int bit;
        AnsiString comment;
        int code;
        AnsiString error;
    };
    const std::vector<Case> cases = {
        {false, "Пуск"_a, "D1", 5, "", TDriversInfo::ErrNameExists, "Сигнал Пуск уже есть в таблице"_a},
        {false, "пУСК"_a, "D1", 5, "", TDriversInfo::ErrNameExists,
         "Сигнал пУСК уже есть в таблице как Пуск: большие и малые буквы в именах сигналов не различаются"_a},
        {false, "k1", "D1", 5, "", TDriversInfo::ErrNameExists,
         "Сигнал k1 уже есть в таблице как K1: большие и малые буквы в именах сигналов не различаются"_a},
        {false, "V2", "D1", 5, "", TDriversInfo::ErrNameExists,
         "Сигнал V2 уже есть в таблице как v2: большие и малые буквы в именах сигналов не различаются"_a},
        {false, "N", "", 5, "", TDriversInfo::ErrNoDriver, "Не выбран драйвер сигнала N"_a},
        {false, "N", "D9", 5, "", TDriversInfo::ErrNoDriver, "Нет драйвера D9"_a},
        {false, "N", "var", 5, "", TDriversInfo::ErrNoDriver, "Нет драйвера var"_a},
        {false, "", "D1", 5, "", TDriversInfo::ErrBadName, "Не задано имя сигнала"_a},
        {false, "a b", "D1", 5, "", TDriversInfo::ErrBadName, "Недопустимое имя сигнала: a b"_a},
        {false, "a;b", "D1", 5, "", TDriversInfo::ErrBadName, "Недопустимое имя сигнала: a;b"_a},
        {false, "a=b", "D1", 5, "", TDriversInfo::ErrBadName, "Недопустимое имя сигнала: a=b"_a},
        {false, AnsiString::StringOfChar('n', 65), "D1", 5, "", TDriversInfo::ErrBadName, {}},
        {false, "N", "D1", 5, AnsiString::StringOfChar('c', 256), TDriversInfo::ErrBadComment,
         "Недопустимый комментарий сигнала N"_a},
        {false, "N", "D1", 5, "a\tb", TDriversInfo::ErrBadComment, {}},
        {true, "N", "D1", 8, "", TDriversInfo::ErrBitRange, "Бит 8 не входит в драйвер D1 (битов: 8)"_a},
        {true, "N", "D1", -1, "", TDriversInfo::ErrBitRange, {}},
        {true, "N", "D1", 1, "", TDriversInfo::ErrBitBusy, "Бит 1 драйвера D1 уже занят сигналом Стоп"_a},
        // Without "CheckBit" any bit number is taken.
        {false, "N1", "D1", 1, "", TDriversInfo::Ok, {}},
        {false, "N2", "D1", -7, "", TDriversInfo::Ok, {}},
        {false, "N3", "D1", 1000, "", TDriversInfo::Ok, {}},
        {true, "N4", "D1", 7, "", TDriversInfo::Ok, {}},
        {false, AnsiString::StringOfChar('n', 64), "D1", 5, AnsiString::StringOfChar('c', 255), TDriversInfo::Ok, {}},
    };
    TestUiPort port;
    TDriversInfo t;
    Fill(t);
    for (const Case& c : cases) {
        CheckBitScope scope(c.checkBit);
        t.Modified = false;
        int before = t.GetBitCount();
        EXPECT_EQ(t.AddBit(c.name, c.driver, c.bit, c.comment), c.code) << AnsiToUtf8(c.name);
        EXPECT_EQ(t.GetBitCount(), before + (c.code == TDriversInfo::Ok));
        EXPECT_EQ(t.Modified, c.code == TDriversInfo::Ok);
        if (!c.error.IsEmpty()) {
            EXPECT_EQ(t.LastError(), c.error);
        }
        EXPECT_EQ(t.LastError().IsEmpty(), c.code == TDriversInfo::Ok);
    }
    EXPECT_TRUE(port.Calls.empty()); // AddBit reports nothing itself
}

TEST(DriversInfo, EditBitChecksAndShowsItsMessages) {
    CheckBitScope scope(true);
    TestUiPort port;
    TDriversInfo t;
    Fill(t);
    t.Modified = false;
    // Same place and values: allowed (its own bit is not a conflict), nothing changes.
    EXPECT_EQ(t.EditBit("Стоп"_a, "Стоп"_a, "D1", 1, "  с пробелами; и = знаками  "_a), TDriversInfo::Ok);
    EXPECT_FALSE(t.Modified);
    EXPECT_EQ(t.EditBit("Стоп"_a, "Стоп"_a, "D1", 1, "новый"_a), TDriversInfo::Ok);
    EXPECT_TRUE(t.Modified);
    EXPECT_EQ(t.EditBit("Стоп"_a, "Стоп2"_a, "Клапаны"_a, 3, "c"), TDriversInfo::Ok);
    AnsiString drv, comment;
    int bit = 0;
    ASSERT_TRUE(t.FindBit("Стоп2"_a, drv, bit, comment));
    EXPECT_EQ(drv, "Клапаны"_a);
    EXPECT_EQ(bit, 3);
    EXPECT_TRUE(port.Calls.empty());

    struct Case {
        AnsiString oldName, newName, driver;
        int bit;
        int code;
        AnsiString text;
    };
    const std::vector<Case> cases = {
        {"Нет"_a, "Нет"_a, "D1", 0, TDriversInfo::ErrNotFound, "Сигнал Нет не найден в таблице"_a},
        {"Стоп2"_a, "Пуск"_a, "D1", 4, TDriversInfo::ErrNameExists, "Сигнал Пуск уже есть в таблице"_a},
        {"Стоп2"_a, "ПУСК"_a, "D1", 4, TDriversInfo::ErrNameExists,
         "Сигнал ПУСК уже есть в таблице как Пуск: большие и малые буквы в именах сигналов не различаются"_a},
        {"Стоп2"_a, "СВЯЗЬ1"_a, "D1", 4, TDriversInfo::ErrNameExists,
         "Сигнал СВЯЗЬ1 уже есть в таблице как Связь1: большие и малые буквы в именах сигналов не различаются"_a},
        {"Стоп2"_a, "Стоп2"_a, "", 4, TDriversInfo::ErrNoDriver, "Не выбран драйвер сигнала Стоп2"_a},
        {"Стоп2"_a, "Стоп2"_a, "D1", 0, TDriversInfo::ErrBitBusy, "Бит 0 драйвера D1 уже занят сигналом Пуск"_a},
        {"Стоп2"_a, "Стоп2"_a, "D1", 9, TDriversInfo::ErrBitRange, "Бит 9 не входит в драйвер D1 (битов: 8)"_a},
        {"Стоп2"_a, "", "D1", 4, TDriversInfo::ErrBadName, "Не задано имя сигнала"_a},
    };
    AnsiString dump = Dump(t);
    for (const Case& c : cases) {
        port.Clear();
        EXPECT_EQ(t.EditBit(c.oldName, c.newName, c.driver, c.bit, ""), c.code);
        ASSERT_EQ(port.Calls.size(), 1u);
        EXPECT_EQ(port.Calls[0].text, c.text);
        EXPECT_EQ(port.Calls[0].type, mtError);
        EXPECT_EQ(Dump(t), dump); // nothing stored
    }
    // A row may change the letter case of its own name.
    EXPECT_EQ(t.EditBit("Стоп2"_a, "СТОП2"_a, "Клапаны"_a, 3, "c"), TDriversInfo::Ok);
}

TEST(DriversInfo, VariableSignals) {
    TestUiPort port;
    TDriversInfo t;
    Fill(t);
    const AnsiString dump = Dump(t);
    t.Modified = false;
    const struct {
        AnsiString name, text;
    } refused[] = {
        {"", "Не задано имя сигнала"_a},
        {"a b", "Недопустимое имя сигнала: a b"_a},
        {"v2", "Сигнал v2 уже есть в таблице"_a},
        {"СВЯЗЬ1"_a, "Сигнал СВЯЗЬ1 уже есть в таблице как Связь1: большие и малые буквы в именах сигналов не "
                     "различаются"_a},
        {"пуск"_a, "Сигнал пуск уже есть в таблице как Пуск: большие и малые буквы в именах сигналов не "
                   "различаются"_a},
    };
    for (const auto& r : refused) {
        port.Clear();
        EXPECT_FALSE(t.AddVarBit(r.name, "x"));
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{r.text});
        EXPECT_EQ(port.Calls[0].type, mtError);
    }
    EXPECT_EQ(Dump(t), dump); // nothing stored
    EXPECT_FALSE(t.Modified);
    port.Clear();
    // Only a stored table holds one name twice, or in two letter cases.
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "v.btb", "[SignalTable]\r\nVersion=1\r\n[DriverTypes]\r\nCount=0\r\n"
                                              "[Drivers]\r\nCount=0\r\n[Bits]\r\nCount=0\r\n"
                                              "[VarBits]\r\nCount=3\r\nName1=S\r\nComment1=1\r\nName2=s\r\nComment2=2\r\nName3=S\r\nComment3=\r\n");
    ASSERT_TRUE(t.LoadFromFile(dir.File("v.btb")));
    ASSERT_EQ(t.GetVarBitCount(), 3);
    t.Modified = false;
    t.SetVarBitComment("S", "3");
    EXPECT_TRUE(t.Modified);
    EXPECT_EQ(t.GetVarBit(0).Comment, AnsiString("3"));
    EXPECT_EQ(t.GetVarBit(1).Comment, AnsiString("2")); // other letter case untouched
    EXPECT_EQ(t.GetVarBit(2).Comment, AnsiString("3"));
    t.Modified = false;
    t.SetVarBitComment("S", "3"); // nothing to change
    t.SetVarBitComment("none", "3");
    EXPECT_FALSE(t.Modified);
    EXPECT_TRUE(port.Calls.empty());
    EXPECT_EQ(t.DeleteVarBit(1), TDriversInfo::Ok);
    EXPECT_EQ(t.DeleteVarBit(2), TDriversInfo::ErrNotFound);
    EXPECT_EQ(t.GetVarBitCount(), 2);
    // A name the table holds only in another letter case reaches that signal
    // (a connector typed "связь" is the table's СВЯЗЬ): the comment is kept.
    ASSERT_TRUE(t.AddVarBit("СВЯЗЬ"_a, "1"));
    t.SetVarBitComment("связь"_a, "5");
    EXPECT_EQ(t.GetVarBit(2).Comment, AnsiString("5"));
    AnsiString comment;
    EXPECT_TRUE(t.FindVarBitAnyCase("связь"_a, comment));
    EXPECT_EQ(comment, AnsiString("5"));
}

TEST(DriversInfo, CapacitiesAreHeld) {
    TestUiPort port;
    TDriversInfo t;
    for (int i = 0; i < TDriversInfo::MaxDriverTypes; ++i) ASSERT_EQ(t.AddDriverType("T" + IntToStr(i), i), 0);
    EXPECT_EQ(t.AddDriverType("more", 1), TDriversInfo::ErrFull);
    EXPECT_EQ(t.LastError(), "Таблица типов драйверов заполнена: не более 20 типов"_a);
    for (int i = 0; i < TDriversInfo::MaxDrivers; ++i) ASSERT_EQ(t.AddDriver(Driver("D" + IntToStr(i), 0, 0, 0, 16, 0)), 0);
    EXPECT_EQ(t.AddDriver(Driver("more", 0, 0, 0, 16, 0)), TDriversInfo::ErrFull);
    EXPECT_EQ(t.LastError(), "Таблица драйверов заполнена: не более 200 драйверов"_a);
    for (int i = 0; i < TDriversInfo::MaxBits; ++i) ASSERT_EQ(t.AddBit("B" + IntToStr(i), "D0", i, ""), 0);
    EXPECT_EQ(t.AddBit("more", "D0", 0, ""), TDriversInfo::ErrFull);
    EXPECT_EQ(t.LastError(), "Таблица сигналов заполнена: не более 2000 сигналов"_a);
    for (int i = 0; i < TDriversInfo::MaxVarBits; ++i) ASSERT_TRUE(t.AddVarBit("V" + IntToStr(i), ""));
    EXPECT_TRUE(port.Calls.empty());
    EXPECT_FALSE(t.AddVarBit("more", ""));
    EXPECT_EQ(port.Messages(),
              (std::vector<AnsiString>{"Таблица переменных сигналов заполнена: не более 2000 сигналов"_a}));
    EXPECT_EQ(t.GetVarBitCount(), TDriversInfo::MaxVarBits);
}

TEST(DriversInfo, DriversAndTypesRefusals) {
    TDriversInfo t;
    Fill(t);
    struct Case {
        _drv d;
        int code;
        AnsiString text;
    };
    const std::vector<Case> cases = {
        {Driver("var", 0, 0, 0, 8, 0), TDriversInfo::ErrReservedName,
         "Имя драйвера var занято: так обозначаются соединения"_a},
        {Driver("D1", 0, 0, 0, 8, 0), TDriversInfo::ErrNameExists, "Драйвер D1 уже есть в таблице"_a},
        {Driver("", 0, 0, 0, 8, 0), TDriversInfo::ErrBadName, "Не задано имя драйвера"_a},
        {Driver("D 2", 0, 0, 0, 8, 0), TDriversInfo::ErrBadName, "Недопустимое имя драйвера: D 2"_a},
        {Driver("D2", 2, 0, 0, 8, 0), TDriversInfo::ErrNoDriver, "Не выбран тип драйвера D2"_a},
        {Driver("D2", -1, 0, 0, 8, 0), TDriversInfo::ErrNoDriver, {}},
        {Driver("D2", 0, 0, 0, -1, 0), TDriversInfo::ErrBadValue, "Число битов драйвера D2 должно быть от 0 до 65535"_a},
        {Driver("D2", 0, 0, 0, 8, 16), TDriversInfo::ErrBadValue, "Прерывание драйвера D2 должно быть от 0 до 15"_a},
        {Driver("VAR", 0, 5, 0, 8, 0), TDriversInfo::Ok, {}}, // only the exact "var" marks connectors
    };
    for (const Case& c : cases) {
        EXPECT_EQ(t.AddDriver(c.d), c.code) << AnsiToUtf8(c.d.Name);
        if (!c.text.IsEmpty()) {
            EXPECT_EQ(t.LastError(), c.text);
        }
    }
    EXPECT_EQ(t.GetDriver(2).Direction, 1); // any non-zero direction is an output
    EXPECT_EQ(t.EditDriver(2, Driver("var", 0, 0, 0, 8, 0)), TDriversInfo::ErrReservedName);
    EXPECT_EQ(t.EditDriver(2, Driver("D1", 0, 0, 0, 8, 0)), TDriversInfo::ErrNameExists);
    EXPECT_EQ(t.EditDriver(7, Driver("X", 0, 0, 0, 8, 0)), TDriversInfo::ErrNotFound);
    EXPECT_EQ(t.AddDriverType("DI", 1), TDriversInfo::ErrNameExists);
    EXPECT_EQ(t.AddDriverType("T", 101), TDriversInfo::ErrBadValue);
    EXPECT_EQ(t.LastError(), "Номер типа драйвера T должен быть от 0 до 100"_a);
    EXPECT_EQ(t.AddDriverType("", 1), TDriversInfo::ErrBadName);
    EXPECT_EQ(t.LastError(), "Не задано имя типа драйвера"_a);
}

TEST(DriversInfo, DeletingKeepsReferencesRight) {
    TDriversInfo t;
    Fill(t);
    EXPECT_EQ(t.DeleteDriver(0), TDriversInfo::ErrInUse);
    EXPECT_EQ(t.LastError(), "Драйвер D1 используется сигналом Пуск"_a);
    EXPECT_EQ(t.DeleteDriverType(1), TDriversInfo::ErrInUse);
    EXPECT_EQ(t.LastError(), "Тип драйвера ВЫХ используется драйвером Клапаны"_a);
    EXPECT_EQ(t.DeleteBit(0), TDriversInfo::Ok);
    EXPECT_EQ(t.DeleteBit(0), TDriversInfo::Ok);
    EXPECT_EQ(t.DeleteBit(5), TDriversInfo::ErrNotFound);
    EXPECT_EQ(t.DeleteDriver(0), TDriversInfo::Ok);
    EXPECT_EQ(t.DeleteDriverType(0), TDriversInfo::Ok);
    // The remaining bit still names its driver, and the driver its type.
    AnsiString drv, comment;
    int bit = 0;
    ASSERT_TRUE(t.FindBit("K1", drv, bit, comment));
    EXPECT_EQ(drv, "Клапаны"_a);
    EXPECT_EQ(t.GetDriverType(t.GetDriver(0).Type).Name, "ВЫХ"_a);
    TStringList lines;
    t.ListDrivers(&lines);
    EXPECT_EQ(lines.Text(), "Клапаны out ВЫХ FFFFFFFF 16 15\r\n"_a);
}

TEST(DriversInfo, AssignCopiesTheDriverPartOnly) {
    TDriversInfo source, dest;
    Fill(source);
    source.FileName = "a.btb";
    dest.AddVarBit("mine", "kept");
    dest.FileName = "b.btb";
    dest.Modified = false;
    TDriversInfo::Assign(&dest, &source);
    EXPECT_EQ(dest.GetDriverTypeCount(), 2);
    EXPECT_EQ(dest.GetDriverCount(), 2);
    EXPECT_EQ(dest.GetBitCount(), 3);
    ASSERT_EQ(dest.GetVarBitCount(), 1);
    EXPECT_EQ(dest.GetVarBit(0).Name, AnsiString("mine"));
    EXPECT_EQ(dest.FileName, AnsiString("b.btb"));
    EXPECT_FALSE(dest.Modified);
    TDriversInfo::Assign(&dest, nullptr);
    TDriversInfo::Assign(nullptr, &source);
    EXPECT_EQ(dest.GetBitCount(), 3);
}

TEST(DriversInfo, TheTableInUse) {
    TDriversInfo& own = DriversInUse();
    TDriversInfo dialogs;
    EXPECT_EQ(SetDriversInUse(&dialogs), nullptr);
    EXPECT_EQ(&DriversInUse(), &dialogs);
    EXPECT_EQ(SetDriversInUse(nullptr), &dialogs);
    EXPECT_EQ(&DriversInUse(), &own);
}

// ---- the file ---------------------------------------------------------------

const AnsiString kFileText =
    "[SignalTable]\r\nVersion=1\r\n"
    "\r\n[DriverTypes]\r\nCount=2\r\nName1=DI\r\nNumber1=3\r\nName2=ВЫХ\r\nNumber2=100\r\n"
    "\r\n[Drivers]\r\nCount=2\r\nName1=D1\r\nDirection1=in\r\nType1=DI\r\nAddress1=0000ABCD\r\nBits1=8\r\n"
    "Interrupt1=3\r\nName2=Клапаны\r\nDirection2=out\r\nType2=ВЫХ\r\nAddress2=FFFFFFFF\r\nBits2=16\r\n"
    "Interrupt2=15\r\n"
    "\r\n[Bits]\r\nCount=3\r\nName1=Пуск\r\nDriver1=D1\r\nBit1=0\r\nComment1=кнопка пуска\r\nName2=Стоп\r\n"
    "Driver2=D1\r\nBit2=1\r\nComment2=  с пробелами; и = знаками  \r\nName3=K1\r\nDriver3=Клапаны\r\nBit3=15\r\n"
    "Comment3=\r\n"
    "\r\n[VarBits]\r\nCount=2\r\nName1=Связь1\r\nComment1=между схемами\r\nName2=v2\r\nComment2=\r\n"_a;

TEST(DriversInfoFile, RoundTripIsByteExact) {
    TestUiPort port;
    testenv::TempDir dir;
    TDriversInfo t;
    Fill(t);
    ASSERT_TRUE(t.SaveToFile(dir.File("t.btb")));
    EXPECT_FALSE(t.Modified);
    EXPECT_EQ(t.FileName, dir.File("t.btb"));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "t.btb"), kFileText.str());
    TDriversInfo back;
    back.AddVarBit("gone", "");
    ASSERT_TRUE(back.LoadFromFile(dir.File("t.btb")));
    EXPECT_FALSE(back.Modified);
    EXPECT_EQ(Dump(back), Dump(t));
    ASSERT_TRUE(back.SaveToFile(dir.File("u.btb")));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "u.btb"), kFileText.str());
    EXPECT_TRUE(port.Calls.empty());
    // Only the file is left in the folder: the write went through a temporary name.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(DriversInfoFile, BareNameLivesInTheSettingsFolderAndMissingFileIsQuiet) {
    TestUiPort port;
    TDriversInfo t;
    EXPECT_FALSE(t.LoadFromFile(TDriversInfo::DefaultFileName));
    EXPECT_EQ(t.GetDriverCount(), 0);
    EXPECT_TRUE(port.Calls.empty());
    Fill(t);
    ASSERT_TRUE(t.SaveToFile(TDriversInfo::DefaultFileName));
    auto path = ToFsPath(PathJoin(SettingsFolder(), "bittblsv.btb"));
    EXPECT_EQ(testenv::ReadBytes(path), kFileText.str());
    std::filesystem::remove(path);
}

TEST(DriversInfoFile, LoadingIgnoresTheOptionalBitChecks) {
    CheckBitScope scope(true);
    testenv::TempDir dir;
    AnsiString text = kFileText;
    text = StringReplaceAll(text, "Bit2=1", "Bit2=0");   // two signals on one bit
    text = StringReplaceAll(text, "Bit3=15", "Bit3=99"); // outside its driver
    testenv::WriteBytes(dir.Path() / "t.btb", text.str());
    TestUiPort port;
    TDriversInfo t;
    EXPECT_TRUE(t.LoadFromFile(dir.File("t.btb")));
    EXPECT_EQ(t.GetBitCount(), 3);
    EXPECT_TRUE(port.Calls.empty());
}

// Only a stored table can hold two names that differ only in letter case;
// the translation finds the first and refuses the table (CaseTwins).
TEST(DriversInfoFile, AStoredTableMayHoldNamesThatDifferOnlyInLetterCase) {
    testenv::TempDir dir;
    AnsiString text = StringReplaceAll(kFileText, "Name3=K1", "Name3=пУСК"_a);
    testenv::WriteBytes(dir.Path() / "t.btb", text.str());
    TestUiPort port;
    TDriversInfo t;
    EXPECT_TRUE(t.LoadFromFile(dir.File("t.btb")));
    EXPECT_EQ(t.GetBitCount(), 3);
    EXPECT_TRUE(port.Calls.empty());
    const TDriversInfo::Row bit0{false, 0}, bit2{false, 2}, var0{true, 0}, var1{true, 1}, var2{true, 2};
    EXPECT_EQ(t.CaseTwins(), (std::vector<std::pair<TDriversInfo::Row, TDriversInfo::Row>>{{bit0, bit2}}));
    // Internal signals too: beside each other and beside a driver signal (not
    // one name twice, which is one signal).
    text = StringReplaceAll(text, "[VarBits]\r\nCount=2", "[VarBits]\r\nCount=4");
    text = StringReplaceAll(text, "Name2=v2\r\nComment2=\r\n",
                            "Name2=пуск\r\nComment2=\r\nName3=СВЯЗЬ1\r\nComment3=\r\nName4=пуск\r\nComment4=\r\n"_a);
    testenv::WriteBytes(dir.Path() / "t.btb", text.str());
    EXPECT_TRUE(t.LoadFromFile(dir.File("t.btb")));
    EXPECT_EQ(t.GetVarBitCount(), 4);
    EXPECT_EQ(t.CaseTwins(),
              (std::vector<std::pair<TDriversInfo::Row, TDriversInfo::Row>>{{bit0, bit2}, {bit0, var1}, {var0, var2}}));
    AnsiString drv, comment;
    int bit = 0;
    ASSERT_TRUE(t.FindBitAnyCase("ПУСК"_a, drv, bit, comment));
    EXPECT_EQ(drv + " " + IntToStr(bit), AnsiString("D1 0"));
    ASSERT_TRUE(t.FindBitAnyCase("пУСК"_a, drv, bit, comment));
    EXPECT_EQ(drv + " " + IntToStr(bit), "Клапаны 15"_a) << "its exact name first";
}

TEST(DriversInfoFile, DamagedFilesLoadTheirSoundPartAndReportOnce) {
    struct Case {
        const char* what;
        AnsiString from, to;
        int types, drivers, bits, varBits;
    };
    const std::vector<Case> cases = {
        {"huge count", "[Bits]\r\nCount=3", "[Bits]\r\nCount=2000000000", 2, 2, 3, 2},
        {"negative count", "[VarBits]\r\nCount=2", "[VarBits]\r\nCount=-2", 2, 2, 3, 0},
        {"count not a number", "[Drivers]\r\nCount=2", "[Drivers]\r\nCount=2x", 2, 0, 0, 2},
        {"missing key", "Bit2=1\r\n", "", 2, 2, 2, 2},
        {"name over capacity", "Name3=K1", "Name3=" + AnsiString::StringOfChar('K', 65), 2, 2, 2, 2},
        {"control byte in a name", "Name1=Связь1"_a, "Name1=Св\x01язь1"_a, 2, 2, 3, 1},
        {"bit of an unknown driver", "Driver1=D1", "Driver1=D7", 2, 2, 2, 2},
        {"driver of an unknown type", "Type2=ВЫХ"_a, "Type2=XX", 2, 1, 2, 2},
        {"driver named var", "Name1=D1\r\nDirection1", "Name1=var\r\nDirection1", 2, 1, 1, 2},
        {"direction not in or out", "Direction2=out", "Direction2=OUT", 2, 1, 2, 2},
        {"address too long", "Address1=0000ABCD", "Address1=10000ABCD", 2, 1, 1, 2},
        {"bit not a number", "Bit1=0", "Bit1=0.5", 2, 2, 2, 2},
        {"user type out of range", "Number1=3", "Number1=101", 1, 1, 1, 2},
        {"duplicate bit name", "Name3=K1", "Name3=Пуск"_a, 2, 2, 2, 2},
        {"section missing", "[VarBits]\r\nCount=2", "[Other]\r\nCount=2", 2, 2, 3, 0},
    };
    testenv::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AnsiString text = kFileText;
        ASSERT_TRUE(text.Pos(c.from)) << c.what;
        text = StringReplaceAll(text, c.from, c.to);
        testenv::WriteBytes(dir.Path() / "t.btb", text.str());
        TestUiPort port;
        TDriversInfo t;
        EXPECT_FALSE(t.LoadFromFile(dir.File("t.btb")));
        EXPECT_EQ(t.GetDriverTypeCount(), c.types);
        EXPECT_EQ(t.GetDriverCount(), c.drivers);
        EXPECT_EQ(t.GetBitCount(), c.bits);
        EXPECT_EQ(t.GetVarBitCount(), c.varBits);
        EXPECT_FALSE(t.Modified);
        EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Файл таблицы сигналов "_a + dir.File("t.btb") +
                                                            " повреждён: загружена только его исправная часть"_a}));
        // A damaged table may be saved again: the sound part is written.
        EXPECT_TRUE(t.SaveToFile(dir.File("t.btb")));
    }
}

TEST(DriversInfoFile, CountsAboveCapacityStopAtCapacity) {
    testenv::TempDir dir;
    AnsiString text = "[SignalTable]\r\nVersion=1\r\n[VarBits]\r\nCount=2001\r\n";
    for (int i = 1; i <= 2001; ++i) text += "Name" + IntToStr(i) + "=v" + IntToStr(i) + "\r\nComment" + IntToStr(i) + "=\r\n";
    testenv::WriteBytes(dir.Path() / "t.btb", text.str());
    TestUiPort port;
    TDriversInfo t;
    EXPECT_FALSE(t.LoadFromFile(dir.File("t.btb")));
    EXPECT_EQ(t.GetVarBitCount(), 2000);
    EXPECT_EQ(port.Messages().size(), 1u);
}

TEST(DriversInfoFile, FilesThatAreNoTableAreReportedAndNeverWrittenOver) {
    std::string binary;
    for (int i = 0; i < 3000; ++i) binary += char((i * 131 + 7) & 0xFF);
    struct Case {
        std::string bytes;
        AnsiString text;
    };
    testenv::TempDir dir;
    AnsiString name = dir.File("t.btb");
    const std::vector<Case> cases = {
        {binary, "Файл "_a + name + " не является файлом таблицы сигналов"_a},
        {"[Project]\r\nVersion=1\r\n", "Файл "_a + name + " не является файлом таблицы сигналов"_a},
        {"[SignalTable]\r\nVersion=one\r\n", "Файл "_a + name + " не является файлом таблицы сигналов"_a},
        {"[SignalTable]\r\nVersion=2\r\n", "Файл таблицы сигналов "_a + name + " записан более новой версией программы"_a},
        {std::string("[SignalTable]\r\nVersion=1\0\r\n", 27), "Файл "_a + name + " не является файлом таблицы сигналов"_a},
    };
    for (const Case& c : cases) {
        testenv::WriteBytes(dir.Path() / "t.btb", c.bytes);
        TestUiPort port;
        TDriversInfo t;
        Fill(t);
        EXPECT_FALSE(t.LoadFromFile(name));
        EXPECT_EQ(t.GetBitCount(), 0);
        EXPECT_EQ(t.GetVarBitCount(), 0);
        EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{c.text}));
        port.Clear();
        Fill(t);
        EXPECT_FALSE(t.SaveToFile(name));
        EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Невозможно записать файл таблицы сигналов "_a + name}));
        EXPECT_EQ(testenv::ReadBytes(dir.Path() / "t.btb"), c.bytes);
        EXPECT_TRUE(t.SaveToFile(dir.File("other.btb"))); // another name is fine
    }
}

TEST(DriversInfoFile, UnwritableFileIsReported) {
    testenv::TempDir dir;
    TestUiPort port;
    TDriversInfo t;
    t.Modified = true;
    AnsiString name = dir.File("missing/t.btb");
    EXPECT_FALSE(t.SaveToFile(name));
    EXPECT_TRUE(t.Modified);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Невозможно записать файл таблицы сигналов "_a + name}));
}

TEST(DriversInfo, FullTableSavesAsItWasWritten) {
    // Every capacity used; saving it is the case that once took seconds.
    testenv::TempDir dir;
    const std::string full = testenv::RegressionFile("drivers/slow-save-full-capacity-table.btb");
    testenv::WriteBytes(dir.Path() / "full.btb", full);
    TestUiPort port;
    TDriversInfo t;
    ASSERT_TRUE(t.LoadFromFile(dir.File("full.btb")));
    EXPECT_EQ(t.GetDriverTypeCount(), 20);
    EXPECT_EQ(t.GetDriverCount(), 200);
    EXPECT_EQ(t.GetBitCount(), 2000);
    EXPECT_EQ(t.GetVarBitCount(), 2000);
    ASSERT_TRUE(t.SaveToFile(dir.File("again.btb")));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "again.btb"), full);
    EXPECT_TRUE(port.Calls.empty());
}

} // namespace
