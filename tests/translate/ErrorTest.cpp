// Every error and limit: its log line, its result, and no data file left
// behind (an earlier run's file is removed). Warnings keep the file.
#include <functional>

#include "TranslateTestSupport.h"

namespace {

using namespace trtest;

struct ErrorCase {
    const char* name;
    std::function<void(Work&)> change;
    int result;
    std::vector<AnsiString> lines;
    const char* missingFile = nullptr; // a work file removed before the run
};

std::vector<AnsiString> Machine(std::vector<AnsiString> table) {
    std::vector<AnsiString> b = {"M fsm", In("I0"), In("I1"), Out("Q0")};
    b.insert(b.end(), table.begin(), table.end());
    return b;
}

TEST_F(TranslateTest, EveryErrorGivesItsLineItsResultAndNoDataFile) {
    const AnsiString types = Path("1.$$$"), drivers = Path("2.$$$"), elements = Path("4.$$$"),
                     comments = Path("5.$$$");
    const std::vector<ErrorCase> cases = {
        // Unreadable input.
        {"missing work file", [](Work&) {}, kTranslateUnreadable, {"Не могу прочитать файл "_a + elements}, "4.$$$"},
        {"type line without number", [](Work& w) { w.Types[0] = "DIN"; }, kTranslateUnreadable,
         {"Файл "_a + types + ", строка 1: неверная строка типа драйвера"_a}},
        {"driver line with a short address", [](Work& w) { w.Drivers[1] = "DO out DOUT 200 16 0"; },
         kTranslateUnreadable, {"Файл "_a + drivers + ", строка 2: неверная строка драйвера"_a}},
        {"driver neither in nor out", [](Work& w) { w.Drivers[0] = "DI inout DIN 00000100 16 0"; },
         kTranslateUnreadable, {"Файл "_a + drivers + ", строка 1: неверная строка драйвера"_a}},
        {"comment line with two fields", [](Work& w) { w.Comments = {"0;I0;DI;a", "", "0;I1"}; }, kTranslateUnreadable,
         {"Файл "_a + comments + ", строка 3: неверная строка комментария"_a}},
        // Drivers and signals.
        {"type number beyond 16 bits", [](Work& w) { w.Types[0] = "DIN 40000"; }, kTranslateNetlistError,
         {"Тип драйвера DIN: номер 40000 не помещается в 16 бит"_a}},
        {"type defined twice", [](Work& w) { w.Types.push_back("din 5"); }, kTranslateNetlistError,
         {"Тип драйвера din определён дважды"_a}},
        {"unknown driver type", [](Work& w) { w.Drivers[0] = "DI in DINX 00000100 16 0"; }, kTranslateNetlistError,
         {"Драйвер DI: неизвестный тип драйвера DINX"_a}},
        {"driver defined twice", [](Work& w) { w.Drivers.push_back("di out DOUT 00000000 8 0"); },
         kTranslateNetlistError, {"Драйвер di определён дважды"_a}},
        {"signal on two bits",
         [](Work& w) {
             w.Signals.push_back(DriverPin("i0", "DO", 3));
             w.Signals.push_back(Connector("Q1"));
             w.Signals.push_back(DriverPin("Q2", "DO", 2)); // the same definition again is one signal
         },
         kTranslateNetlistError,
         {"Сигнал i0 определён дважды с разными битами"_a, "Сигнал Q1 определён дважды с разными битами"_a}},
        {"bit outside its driver", [](Work& w) { w.Signals.push_back(DriverPin("X", "DI", 16)); },
         kTranslateNetlistError, {"Сигнал X: бит 16 вне драйвера DI"_a}},
        // Elements.
        {"unknown element type", [](Work& w) { w.Block({"G nand", Out("Q0"), In("I0")}); }, kTranslateNetlistError,
         {"Элемент G: неизвестный тип nand"_a}},
        {"unknown net",
         [](Work& w) {
             w.Block({"G and", Out("Q0"), In("Z9"), In("Сеть"_a)});
             w.Block({"H or", Out("Q1"), In("I1")});
         },
         kTranslateNetlistError, {"Элемент G: неизвестная цепь Z9"_a, "Элемент G: неизвестная цепь Сеть"_a}},
        {"delay block", [](Work& w) { w.Block({"D delay", In("I0"), Out("Q0")}); }, kTranslateNetlistError,
         {"Элемент D: элемент задержки (delay) не поддерживается"_a}},
        {"trigger with three inputs", [](Work& w) { w.Block({"T trigger", In("I0"), In("I1"), In("I2"), Out("Q0")}); },
         kTranslateNetlistError, {"Элемент T: неверное число входов или выходов"_a}},
        {"comparator with two outputs",
         [](Work& w) {
             std::vector<AnsiString> b = {"C cbyte"};
             for (int k = 0; k < 16; ++k) b.push_back(In("I" + IntToStr(k)));
             b.push_back(Out("Q0"));
             b.push_back(Out("Q1"));
             w.Block(b);
         },
         kTranslateNetlistError, {"Элемент C: неверное число входов или выходов"_a}},
        {"bad pin line", [](Work& w) { w.Block({"G and", "%Q0 output", In("I0")}); }, kTranslateNetlistError,
         {"Элемент G: неверная строка вывода \"%Q0 output\""_a}},
        {"table row out of 16 bits",
         [](Work& w) {
             std::vector<AnsiString> b = {"C cdec", "%%70000 1", "%%* 0"};
             for (int k = 0; k < 8; ++k) b.push_back(In("I" + IntToStr(k)));
             w.Block(b);
         },
         kTranslateNetlistError, {"Элемент C: неверная строка таблицы \"%%70000 1\""_a}},
        {"table row in a gate", [](Work& w) { w.Block({"G and", "%%1 2", Out("Q0")}); }, kTranslateNetlistError,
         {"Элемент G: неверная строка таблицы \"%%1 2\""_a}},
        {"timer without time", [](Work& w) { w.Block({"T timer", In("I0"), In("I1"), Out("Q0")}); },
         kTranslateNetlistError, {"Элемент T: неверное время таймера \"\""_a}},
        {"jump to nothing", [](Work& w) { w.Block({"J ifgoto s2.tvs X", In("I0")}); }, kTranslateNetlistError,
         {"Элемент J: не найден элемент перехода X"_a}},
        {"jump backwards",
         [](Work& w) {
             w.Block({"E and", Out("Q0")});
             w.Block({"J ifgoto s1.tvs e", In("I0")});
         },
         kTranslateNetlistError, {"Элемент J: переход назад к элементу e"_a}},
        {"jump without target element", [](Work& w) { w.Block({"J ifgoto s1.tvs ", In("I0")}); },
         kTranslateNetlistError, {"Элемент J: не задан элемент перехода"_a}},
        {"block without header", [](Work& w) { w.Block({Out("Q0"), In("I0")}); }, kTranslateNetlistError,
         {"Файл "_a + elements + ", строка 1: нет заголовка элемента"_a}},
        {"machine without table", [](Work& w) { w.Block(Machine({})); }, kTranslateNetlistError,
         {"Элемент M: нет таблицы переходов автомата"_a}},
        {"machine row of the wrong length",
         [](Work& w) {
             w.Block(Machine({"%~1 0 ", "%%0000000-11111111=00000001;", "%%00000000-11111111=00000000;", "%~0 ",
                              "%%00000001;"}));
         },
         kTranslateNetlistError, {"Элемент M: неверная строка таблицы переходов \"%%0000000-11111111=00000001;\""_a}},
        {"machine output of the wrong length",
         [](Work& w) {
             w.Block(Machine({"%~1 0 ", "%%00000000-11111111=00000001;", "%%00000000-11111111=00000000;", "%~0 ",
                              "%%1;"}));
         },
         kTranslateNetlistError, {"Элемент M: неверная строка таблицы переходов \"%%1;\""_a}},
        {"machine counts disagree",
         [](Work& w) {
             w.Block(Machine({"%~1 3 ", "%%00000000-11111111=00000001;", "%%00000000-11111111=00000000;", "%~1 ",
                              "%%00000001;00000001-11111100=00000001;"}));
         },
         kTranslateNetlistError, {"Элемент M: число состояний или переходов не совпадает с таблицей"_a}},
        {"machine target beyond its states",
         [](Work& w) {
             w.Block(Machine({"%~2 1 ", "%%00000000-11111111=00000001;", "%%00000000-11111111=00000000;", "%~1 ",
                              "%%00000001;00000001-11111100=00000011;", "%~0 ", "%%00000000;"}));
         },
         kTranslateNetlistError, {"Элемент M: переход в состояние 3, а состояний 2"_a}},
        // Limits.
        {"driver bytes", [](Work& w) { w.Drivers.push_back("BIG in DIN 00000000 24577 0"); }, kTranslateLimitExceeded,
         {"Превышен предел: драйверы занимают 3077 байт, допустимо 3072"_a}},
        {"internal bits",
         [](Work& w) {
             for (int k = 0; k < 8183; ++k) w.Signals.push_back(Connector("S" + IntToStr(k)));
         },
         kTranslateLimitExceeded, {"Превышен предел: внутренние сигналы занимают 8193 бит, допустимо 8192"_a}},
        {"internal bits with a counter's own unconnected output",
         [](Work& w) {
             for (int k = 0; k < 8182; ++k) w.Signals.push_back(Connector("S" + IntToStr(k)));
             w.Block({"C cnt", In("I0"), In("I1"), Out("Q0"), Out("_null_out_", true)});
         },
         kTranslateLimitExceeded, {"Превышен предел: внутренние сигналы занимают 8193 бит, допустимо 8192"_a}},
        {"timers",
         [](Work& w) {
             for (int k = 0; k < 129; ++k) w.Block({"T" + IntToStr(k) + " timer 1", In("I0"), In("I1"), Out("Q0")});
         },
         kTranslateLimitExceeded, {"Превышен предел: таймеров 129, допустимо 128"_a}},
        {"code bytes",
         [](Work& w) {
             std::vector<AnsiString> b = {"G and", Out("Q0")};
             for (int k = 0; k < 10; ++k) b.push_back(In("I" + IntToStr(k)));
             for (int k = 0; k < 2400; ++k) w.Block(b); // 28 bytes each
         },
         kTranslateLimitExceeded, {"Превышен предел: код занимает 67200 байт, допустимо 65535"_a}},
        {"case table longer than a record",
         [](Work& w) {
             std::vector<AnsiString> b = {"C cdec16"};
             for (int k = 0; k < 65536; ++k) b.push_back("%%" + IntToStr(k) + " 1");
             b.push_back("%%* 0");
             for (int k = 0; k < 16; ++k) b.push_back(In("I" + IntToStr(k)));
             b.push_back(Out("Q0"));
             w.Block(b);
         },
         kTranslateLimitExceeded, {"Элемент C: запись занимает 131089 слов, допустимо не более 65535"_a}},
        {"timer preset", [](Work& w) { w.Block({"T timer 1048576", In("I0"), In("I1"), Out("Q0")}); },
         kTranslateLimitExceeded, {"Элемент T: время таймера 1048576 больше 1048575"_a}},
        {"machine pins",
         [](Work& w) {
             std::vector<AnsiString> b = {"M fsm"};
             for (int k = 0; k < 121; ++k) b.push_back(In("I0"));
             b.push_back(Out("Q0"));
             w.Block(b);
         },
         kTranslateLimitExceeded, {"Элемент M: у автомата 121 входов и 1 выходов, допустимо не более 120"_a}},
        {"machine states", [](Work& w) { w.Block(Machine({"%~256 0 "})); }, kTranslateLimitExceeded,
         {"Элемент M: у автомата 256 состояний, допустимо не более 255"_a}},
        // The first error decides the result; every error is logged.
        {"netlist error before a limit",
         [](Work& w) {
             w.Block({"G and", Out("Q0"), In("Z9")});
             w.Block({"T timer 2000000", In("I0"), In("I1"), Out("Q0")});
         },
         kTranslateNetlistError,
         {"Элемент G: неизвестная цепь Z9"_a, "Элемент T: время таймера 2000000 больше 1048575"_a}},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        work = Work::Standard();
        c.change(work);
        WriteWork();
        if (c.missingFile) std::filesystem::remove(ToFsPath(Path(c.missingFile)));
        testenv::WriteBytes(ToFsPath(DataPath()), "an earlier run's file");
        std::filesystem::remove(ToFsPath(LogPath()));
        const int result = _GenerateDatFile(types.c_str(), drivers.c_str(), Path("3.$$$").c_str(), comments.c_str(),
                                            elements.c_str(), DataPath().c_str(), LogPath().c_str(), 1, 0);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(Log(), c.lines);
        EXPECT_FALSE(DataExists());
    }
}

TEST_F(TranslateTest, UnwritableDataFileIsAWriteError) {
    work.Block({"G and", Out("Q0"), In("I0")});
    const AnsiString data = Path("no such folder/Debutvca.dat");
    EXPECT_EQ(Generate(0, 1, data), kTranslateWriteError);
    EXPECT_EQ(Log(), std::vector<AnsiString>{"Не могу записать файл "_a + data});
    EXPECT_FALSE(std::filesystem::exists(ToFsPath(Path("no such folder"))));
}

TEST_F(TranslateTest, WritingAnInputDriversBitIsAWarningOnly) {
    work.Block({"G and", Out("I3"), Out("i3"), Out("Q0"), In("I0")});
    work.Block({"H or", Out("I3", true), In("I1")});
    ASSERT_EQ(Generate(), kTranslateOk);
    EXPECT_TRUE(DataExists());
    EXPECT_EQ(Log(), (std::vector<AnsiString>{"Предупреждение: элемент G пишет во входной сигнал I3"_a,
                                              "Предупреждение: элемент H пишет во входной сигнал I3"_a}));
}

TEST_F(TranslateTest, LogLinesFollowWhatTheTranslatorSavedThere) {
    work.Block({"G and", Out("Q0"), In("Z9")});
    testenv::WriteBytes(ToFsPath(LogPath()), ("Трансляция проекта\r\nОк"_a).str()); // no line end after the last line
    EXPECT_EQ(Generate(), kTranslateNetlistError);
    EXPECT_EQ(testenv::ReadBytes(ToFsPath(LogPath())),
              ("Трансляция проекта\r\nОк\r\nЭлемент G: неизвестная цепь Z9\r\n"_a).str());
    // A successful run adds nothing.
    work = Work::Standard();
    EXPECT_EQ(Generate(), kTranslateOk);
    EXPECT_EQ(testenv::ReadBytes(ToFsPath(LogPath())),
              ("Трансляция проекта\r\nОк\r\nЭлемент G: неизвестная цепь Z9\r\n"_a).str());
}

TEST_F(TranslateTest, NullArgumentsAreUnreadableInput) {
    EXPECT_EQ(_GenerateDatFile(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 1, 1),
              kTranslateUnreadable);
    EXPECT_EQ(_ConvertDatFile(nullptr), kConvertUnreadable);
}

} // namespace
