// The project run end to end with the stand-in library: work files byte for
// byte, the log, the boxes, the library calls and every way a run can end.
#include <cstdio>
#include <functional>

#include "TranslatorTestSupport.h"

using namespace trtest;

namespace {

// A frame that records what a run asks of it.
class RecordingFrame : public ITranslatorFrame {
public:
    RecordingFrame() { TranslatorHooks().Frame = this; }
    ~RecordingFrame() override { TranslatorHooks().Frame = nullptr; }
    void SetFrameEnabled(bool enabled) override { events.push_back(enabled ? "enable" : "disable"); }
    void LetWindowsRepaint() override {
        ++repaints;
        if (onRepaint)
            onRepaint();
    }
    bool SaveSchemeWindows(const TProject&) override {
        events.push_back("save");
        return true;
    }
    std::vector<std::string> events;
    int repaints = 0;
    std::function<void()> onRepaint;
};

class ProjectRun : public TranslatorTest {
protected:
    // s1: E1 = A and B -> connector V; T1, a 1000 ms timer started by V -> Y.
    AnsiString BuildS1(const AnsiString& name = "s1.tvs") {
        TScheme s;
        TElement* e1 = Place(s, s.CreateAndElement(), "E1", 100, 100, 1);
        DriverOn(s, "A", e1->GetInput(0));
        DriverOn(s, "B", e1->GetInput(1));
        DriverOn(s, "V", e1->GetOutput(0), true);
        TElement* t1 = Place(s, s.CreateTimerElement(), "T1", 400, 100, 2);
        DriverOn(s, "V", t1->GetInput(0), true);
        DriverOn(s, "Y", t1->GetOutput(0));
        SaveAs(s, File(name));
        return File(name);
    }
    // s2: E2 = V or B, wired to E3 = E2 and A -> Z.
    AnsiString BuildS2(const AnsiString& name = "s2.tvs") {
        TScheme s;
        TElement* e2 = Place(s, s.CreateOrElement(), "E2", 100, 100, 1);
        DriverOn(s, "V", e2->GetInput(0), true);
        DriverOn(s, "B", e2->GetInput(1));
        TElement* e3 = Place(s, s.CreateAndElement(), "E3", 300, 200, 2);
        Wire(s, e2->GetOutput(0), e3->GetInput(0));
        DriverOn(s, "A", e3->GetInput(1));
        DriverOn(s, "Z", e3->GetOutput(0));
        SaveAs(s, File(name));
        return File(name);
    }
    // A scheme of loose driver pins only.
    AnsiString BuildPins(const AnsiString& name, const Lines& pins) {
        TScheme s;
        int y = 0;
        for (const AnsiString& p : pins)
            LooseDriver(s, p, 100, y += 50);
        SaveAs(s, File(name));
        return File(name);
    }
    // A scheme of and-elements with the given numbers and names.
    AnsiString BuildNumbered(const AnsiString& name, const std::vector<std::pair<const char*, int>>& devices) {
        TScheme s;
        int y = 0;
        for (const auto& d : devices)
            Place(s, s.CreateAndElement(), d.first, 100, y += 100, d.second);
        SaveAs(s, File(name));
        return File(name);
    }
    Lines Work(const char* name) const { return FileLines(File(name)); }
    bool Exists(const char* name) const { return FileExists(File(name)); }
    Lines TableDrivers() {
        TStringList l;
        table.table.ListDrivers(&l);
        return ToLines(l);
    }
    Lines TableTypes() {
        TStringList l;
        table.table.ListDriverTypes(&l);
        return ToLines(l);
    }
    void MakeDataFiles() {
        testenv::WriteBytes(dir.Path() / "tvca.dat", "old");
        testenv::WriteBytes(dir.Path() / "Debutvca.dat", "old");
    }
};

const AnsiString kHeading = "Проверка переходных сигналов (переходов со схемы на схему) "_a;
const AnsiString kCheckAll = "Проверка выходных сигналов по всем схемам "_a;

TEST_F(ProjectRun, TwoSchemesGiveTheWorkFilesTheLibraryCallsAndTheStatistics) {
    AnsiString s1 = BuildS1();
    AnsiString s2 = BuildS2();
    TProject& p = MakeProject({s1, s2}, 4);
    for (int32_t& c : p.Statistics)
        c = 77;
    library.SetLogLine("Библиотека: готово"_a);
    RecordingFrame frame;
    log.TranslateProject(&p);

    EXPECT_EQ(Work("4.$$$"), Lines({"E1 and", OutLine("V"), InLine("A"), InLine("B"), "",
                                    "T1 timer 20", InLine("V"), InLine("_null_in_", true), OutLine("Y"), "", "",
                                    "E2 or", OutLine("_var3"), InLine("V"), InLine("B"), "",
                                    "E3 and", OutLine("Z"), InLine("_var3"), InLine("A"), ""}));
    EXPECT_EQ(Work("3.$$$"), Lines({Pad("A") + " DI 0", Pad("B") + " DI 1", Pad("V"), Pad("Y") + " DO 3",
                                    Pad("Z") + " DO 4", "_var3"}));
    // One line per connector however often it occurs; named nets with an empty comment.
    EXPECT_EQ(Work("5.$$$"), Lines({"0;A;DI;кнопка"_a, "1;B;DI;", "3;Y;DO;лампа"_a, "4;Z;DO;",
                                    "0;V;_VAR_Driver_;общий"_a, "0;_var3;_VAR_Driver_;"}));
    EXPECT_EQ(Work("2.$$$"), TableDrivers());
    EXPECT_EQ(Work("1.$$$"), TableTypes());
    EXPECT_EQ(Work("1.$$$"), Lines({"DT 7"}));
    EXPECT_FALSE(Exists("tvca.txt"));

    // The library: the controller data file, then its debugging copy.
    ASSERT_EQ(library.GenerateCount(), 2);
    const char* work[] = {"1.$$$", "2.$$$", "3.$$$", "5.$$$", "4.$$$"};
    for (int call = 0; call < 2; ++call) {
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(library.GeneratePath(call, i), File(work[i]));
        EXPECT_EQ(library.GeneratePath(call, 6), File("err.log"));
        EXPECT_EQ(library.Iterations(call), 4);
    }
    EXPECT_EQ(library.GeneratePath(0, 5), File("tvca.dat"));
    EXPECT_EQ(library.Flag(0), 1);
    EXPECT_EQ(library.GeneratePath(1, 5), File("Debutvca.dat"));
    EXPECT_EQ(library.Flag(1), 0);
    EXPECT_EQ(library.ConvertCount(), 0);
    EXPECT_TRUE(Exists("tvca.dat"));
    EXPECT_TRUE(Exists("Debutvca.dat"));

    Lines expectedLog = {"Чтение файла "_a + s1 + "...",   "Ок"_a, "Обработка файла "_a + s1 + "...", "Ок"_a,
                         "Чтение файла "_a + s2 + "...",   "Ок"_a, "Обработка файла "_a + s2 + "...", "Ок"_a,
                         "Запись временных файлов..."_a, kCheckAll, "Ok", kHeading, "Ok", "Ок"_a,
                         "Трансляция..."_a, "Библиотека: готово 1"_a, "Библиотека: готово 0"_a,
                         AnsiString("T") + "рансляция Ок"_a};
    EXPECT_EQ(ToLines(log.Messages), expectedLog);
    EXPECT_EQ(FileLines(File("err.log")), expectedLog);
    EXPECT_EQ(log.ErrorCount, 0);
    EXPECT_FALSE(log.HasWarnings);
    EXPECT_EQ(log.Directory(), Dir());
    EXPECT_EQ(Shown(), Lines({"Трансляция прошла успешно."_a}));
    EXPECT_EQ(ui.Calls.back().type, mtInformation);
    EXPECT_EQ(ui.Calls.back().buttons, mbYesOnly);

    // Inputs A, B, B, A; outputs Y, Z; the connector V; the net _var3; four
    // elements, one timer; the rest untouched by counting.
    EXPECT_EQ(std::vector<int32_t>(p.Statistics, p.Statistics + 9), std::vector<int32_t>({4, 2, 1, 1, 4, 1, 0, 0, 0}));

    // The frame: disabled first, its windows saved, repainted at the fixed
    // points, enabled again last.
    EXPECT_EQ(frame.events, std::vector<std::string>({"disable", "save", "enable"}));
    EXPECT_EQ(frame.repaints, 2 * 1 + 3);
    const TProgressRecord& progress = TranslatorHooks().HeadlessProgress;
    EXPECT_EQ(progress.Max, 3 * 2 + 3);
    EXPECT_EQ(progress.Pos, 3 * 2 + 3);
    EXPECT_FALSE(progress.Shown);
    EXPECT_EQ(ui.Unscripted, 0);
}

TEST_F(ProjectRun, ANetsCommentLineIsWrittenEvenWhenAnEqualLineIsThere) {
    // The connector "_VAR1" and the net that the naming calls "_var1" (the
    // connector counted first) give one comment line each, letter case
    // aside; only the connector's is new, so no temporary signal is counted.
    TScheme s;
    TElement* e1 = Place(s, s.CreateAndElement(), "E1", 100, 100, 1);
    TElement* e2 = Place(s, s.CreateAndElement(), "E2", 300, 200, 2);
    Wire(s, e1->GetOutput(0), e2->GetInput(0));
    LooseDriver(s, "_VAR1", 100, 400, true);
    SaveAs(s, File("n.tvs"));
    ui.Answer(mrNo);
    TProject& p = MakeProject({File("n.tvs")});
    log.TranslateProject(&p);
    EXPECT_EQ(log.ErrorCount, 0);
    EXPECT_EQ(Work("3.$$$"), Lines({Pad("_VAR1"), "_var1"}));
    EXPECT_EQ(Work("5.$$$"), Lines({"0;_VAR1;_VAR_Driver_;", "0;_var1;_VAR_Driver_;"}));
    EXPECT_EQ(p.Statistics[TProject::StatTransitions], 1);
    EXPECT_EQ(p.Statistics[TProject::StatTemporaries], 0);
}

TEST_F(ProjectRun, IterationCountsOutsideOneToThirtyTwoAreRefused) {
    AnsiString s1 = BuildS1();
    for (int n : {0, 33, 1, 32}) {
        SCOPED_TRACE(n);
        MakeDataFiles();
        for (const char* f : {"1.$$$", "2.$$$", "3.$$$", "4.$$$", "5.$$$"})
            DeleteFile(File(f));
        library.Configure(0, 0, 0);
        ui.Clear();
        ui.Answer(mrNo);
        TProject& p = MakeProject({s1}, uint16_t(n));
        log.TranslateProject(&p);
        bool valid = n == 1 || n == 32;
        if (!valid) {
            EXPECT_EQ(ToLines(log.Messages), Lines({" Недопустимое количество итераций: "_a + IntToStr(n)}));
            EXPECT_EQ(log.ErrorCount, 1);
            EXPECT_EQ(library.GenerateCount(), 0);
            EXPECT_FALSE(Exists("4.$$$"));
            EXPECT_FALSE(Exists("2.$$$"));
            // Neither data file outlives a failed run.
            EXPECT_FALSE(Exists("tvca.dat"));
            EXPECT_FALSE(Exists("Debutvca.dat"));
            EXPECT_EQ(Shown(), Lines({"Обнаружены ошибки\nПросмотреть результаты?"_a}));
            EXPECT_EQ(ui.Calls.back().type, mtError);
            EXPECT_EQ(ui.Calls.back().buttons, mbYesNo);
            EXPECT_EQ(FileLines(File("err.log")), ToLines(log.Messages));
        } else {
            EXPECT_EQ(log.ErrorCount, 0);
            ASSERT_EQ(library.GenerateCount(), 2);
            EXPECT_EQ(library.Iterations(0), n);
            EXPECT_EQ(library.Iterations(1), n);
            EXPECT_EQ(Shown(), Lines({"Трансляция прошла успешно."_a}));
        }
        EXPECT_EQ(Views(), 0);
    }
}

TEST_F(ProjectRun, AnEmptyProjectStillWritesTheDriverFilesAndCallsTheLibrary) {
    TProject& p = MakeProject({});
    log.TranslateProject(&p);
    for (const char* f : {"3.$$$", "4.$$$", "5.$$$"}) {
        EXPECT_TRUE(Exists(f)) << f;
        EXPECT_TRUE(Work(f).empty()) << f;
    }
    EXPECT_EQ(Work("2.$$$"), TableDrivers());
    EXPECT_EQ(Work("2.$$$").size(), 2u);
    EXPECT_EQ(Work("1.$$$"), TableTypes());
    EXPECT_EQ(library.GenerateCount(), 2);
    EXPECT_EQ(TranslatorHooks().HeadlessProgress.Max, 3);
    EXPECT_EQ(Shown(), Lines({"Трансляция прошла успешно."_a}));
}

// Gaps, duplicates and zeros in the processing order, answered Yes and No.
TEST_F(ProjectRun, ProcessingOrderProblemsAskAndActOnTheAnswer) {
    struct Case {
        std::vector<std::pair<const char*, int>> devices;
        int answer;
        int errors;
        const char* logLine; // the line after the reading line ("%s" = the path)
        bool translated;
    };
    const std::vector<Case> cases = {
        {{{"B", 1}, {"A", 3}}, mrYes, 0, " Схема %s не упорядочена! Порядок обработки установлен по именам.", true},
        {{{"B", 1}, {"A", 3}}, mrNo, 0, " Схема %s не упорядочена! ", true},
        {{{"B", 1}, {"A", 1}}, mrYes, 0, " Схема %s не упорядочена! Порядок обработки установлен по именам.", true},
        {{{"B", 1}, {"A", 1}}, mrNo, 1, "В схеме %s несколько элементов с одинаковым порядком. Трансляция прервана.",
         false},
        {{{"B", 0}, {"A", 1}}, mrNo, 1, "В схеме %s обнаружены элементы с порядком 0. Трансляция прервана.", false},
        {{{"B", 0}, {"A", 1}}, mrYes, 0, " Схема %s не упорядочена! Порядок обработки установлен по именам.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logLine);
        for (const char* f : {"4.$$$", "2.$$$"})
            DeleteFile(File(f));
        AnsiString path = BuildNumbered("m.tvs", c.devices);
        library.Configure(0, 0, 0);
        ui.Clear();
        ui.Answer(c.answer);
        ui.Answer(mrNo); // the closing question
        TProject& p = MakeProject({path});
        log.TranslateProject(&p);
        ASSERT_GE(ui.Calls.size(), 2u);
        EXPECT_EQ(ui.Calls[0].text,
                  "Схема "_a + path + " не упорядочена! Установить порядок обработки  по именам?"_a);
        EXPECT_EQ(ui.Calls[0].type, mtWarning);
        EXPECT_EQ(ui.Calls[0].buttons, mbYesNo);
        ASSERT_GE(log.Messages.Count(), 2);
        EXPECT_EQ(log.Messages[1], Format(AnsiString(Utf8ToAnsi(c.logLine)), path));
        EXPECT_EQ(log.ErrorCount, c.errors);
        EXPECT_TRUE(log.HasWarnings);
        EXPECT_EQ(Exists("4.$$$"), c.translated);
        EXPECT_EQ(Exists("2.$$$"), c.translated);
        EXPECT_EQ(library.GenerateCount(), c.translated ? 2 : 0);
        // A run whose only finding was the order ends with the warnings question.
        EXPECT_EQ(ui.Calls.back().text, c.errors ? "Обнаружены ошибки\nПросмотреть результаты?"_a
                                                 : "Обнаружены предупреждения\nПросмотреть результаты?"_a);
        if (c.translated && c.answer == mrYes) {
            // Ordered by names: A before B.
            Lines elements = Work("4.$$$");
            ASSERT_FALSE(elements.empty());
            EXPECT_EQ(elements[0], AnsiString("A and"));
        }
        if (c.translated && c.answer == mrNo) {
            EXPECT_EQ(Work("4.$$$")[0], AnsiString("B and")); // the present order
        }
    }
}

TEST_F(ProjectRun, OrderingByNamesThatFailsEndsTheRun) {
    AnsiString path = BuildNumbered("m.tvs", {{"A", 1}, {"A", 1}});
    ui.Answer(mrYes);
    ui.Answer(mrYes); // view the log
    TProject& p = MakeProject({path});
    log.TranslateProject(&p);
    EXPECT_EQ(log.ErrorCount, 1);
    EXPECT_EQ(ui.Messages(), Lines({"Схема "_a + path + " не упорядочена! Установить порядок обработки  по именам?"_a,
                                    " В схеме "_a + path + " обнаружено более одного элемента с именем A и номером 1"_a,
                                    "Обнаружены ошибки\nПросмотреть результаты?"_a}));
    EXPECT_EQ(ToLines(log.Messages), Lines({"Чтение файла "_a + path + "..."}));
    ASSERT_EQ(ui.Calls.back().kind, TestUiPort::kViewTextFile);
    EXPECT_EQ(ui.Calls.back().text, File("err.log"));
}

TEST_F(ProjectRun, TwoOutputsOnOneDriverBitEndTheRunBeforeTheCommentsAndTheLibrary) {
    table.table.AddBit("P1", "DO", 5, "");
    table.table.AddBit("P2", "DO", 2, "");
    table.table.AddBit("P3", "DO", 2, "");
    AnsiString path = BuildPins("bits.tvs", {"P1", "P2", "P3"});
    MakeDataFiles();
    ui.Answer(mrNo);
    TProject& p = MakeProject({path});
    log.TranslateProject(&p);
    EXPECT_EQ(ui.Messages(), Lines({" Два выхода P2 и P3\nзанимают один 2-й бит в драйвере DO"_a,
                                    "Обнаружены ошибки\nПросмотреть результаты?"_a}));
    EXPECT_TRUE(LogHas(" Два выхода P2 и P3\n    занимают один 2-й бит в драйвере DO"_a));
    EXPECT_EQ(log.ErrorCount, 1);
    EXPECT_FALSE(Exists("5.$$$"));
    EXPECT_TRUE(Exists("1.$$$"));
    EXPECT_TRUE(Exists("2.$$$"));
    EXPECT_EQ(library.GenerateCount(), 0);
    EXPECT_FALSE(Exists("tvca.dat"));
    EXPECT_FALSE(Exists("Debutvca.dat"));
    EXPECT_FALSE(LogHas("Трансляция..."_a));
    // In the saved log the line break inside that line is a line end.
    TStringList saved;
    saved.LoadFromFile(File("err.log"));
    EXPECT_GE(saved.IndexOf("    занимают один 2-й бит в драйвере DO"_a), 0);
    EXPECT_GE(saved.IndexOf(" Два выхода P2 и P3"_a), 0);
}

TEST_F(ProjectRun, SortBitsChoosesTheOrderOfTheCommentsFile) {
    table.AddDriver("DI2", 0, 0x30);
    table.table.AddBit("C", "DI2", 0, "");
    AnsiString path = BuildPins("pins.tvs", {"Z", "C", "Y", "B", "A"});
    for (bool sortBits : {false, true}) {
        SCOPED_TRACE(sortBits);
        TranslatorOptions().Set(TTranslatorOptions::SortBits, sortBits);
        TProject& p = MakeProject({path});
        log.TranslateProject(&p);
        EXPECT_EQ(log.ErrorCount, 0);
        if (sortBits) { // input drivers first (the last one first), then by bit
            EXPECT_EQ(Work("5.$$$"), Lines({"0;C;DI2;", "0;A;DI;кнопка"_a, "1;B;DI;", "3;Y;DO;лампа"_a, "4;Z;DO;"}));
        } else { // the signal table's bit order
            EXPECT_EQ(Work("5.$$$"), Lines({"0;A;DI;кнопка"_a, "1;B;DI;", "3;Y;DO;лампа"_a, "4;Z;DO;", "0;C;DI2;"}));
        }
    }
}

// A failed generation, of the controller data file or of its debugging copy,
// fails the run: no further call, no conversion, both data files deleted.
TEST_F(ProjectRun, AFailedGenerationFailsTheRunAndAsksForNoConversion) {
    AnsiString s1 = BuildS1();
    struct Case {
        int first, later, calls;
    };
    for (const Case c : {Case{2, 0, 1}, Case{0, 4, 2}}) {
        SCOPED_TRACE(c.calls);
        MakeDataFiles();
        library.Configure(c.first, c.later, 0);
        ui.Answer(mrNo);
        TProject& p = MakeProject({s1});
        p.Convert = 1;
        log.TranslateProject(&p);
        EXPECT_EQ(library.GenerateCount(), c.calls);
        EXPECT_EQ(library.ConvertCount(), 0);
        EXPECT_EQ(log.Messages[log.Messages.Count() - 1], "Ошибка трансляции!!!"_a);
        EXPECT_EQ(log.ErrorCount, 1);
        EXPECT_FALSE(Exists("tvca.dat"));
        EXPECT_FALSE(Exists("Debutvca.dat"));
        EXPECT_EQ(Shown().back(), "Обнаружены ошибки\nПросмотреть результаты?"_a);
    }
}

TEST_F(ProjectRun, ConversionFollowsTheProjectFlag) {
    AnsiString s1 = BuildS1();
    struct Case {
        int convertFlag;
        int result;
        AnsiString last;
        int errors;
    };
    const std::vector<Case> cases = {
        {0, 0, AnsiString("T") + "рансляция Ок"_a, 0},
        {1, 0, "Конвертация Ок"_a, 0},
        {1, 3, "Ошибка конвертации!!!"_a, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last.c_str());
        library.Configure(0, 0, c.result);
        ui.Clear();
        ui.Answer(mrNo);
        TProject& p = MakeProject({s1});
        p.Convert = c.convertFlag;
        log.TranslateProject(&p);
        EXPECT_EQ(log.Messages[log.Messages.Count() - 1], c.last);
        EXPECT_EQ(log.ErrorCount, c.errors);
        EXPECT_EQ(library.ConvertCount(), c.convertFlag);
        if (c.convertFlag) {
            EXPECT_EQ(library.ConvertPath(0), File("tvca.dat"));
        }
        EXPECT_EQ(Exists("tvca.dat"), c.errors == 0);
    }
}

TEST_F(ProjectRun, AnElementErrorInTheFirstSchemeLeavesTheSecondUnread) {
    AnsiString s1;
    {
        TScheme s;
        auto* untyped = new TElement(&s, "");
        untyped->SetName("X1");
        untyped->AssignNumber(1);
        s.AddObject(untyped);
        Place(s, s.CreateOrElement(), "E9", 300, 100, 2);
        SaveAs(s, File("s1.tvs"));
        s1 = File("s1.tvs");
    }
    AnsiString s2 = BuildS2();
    ui.Answer(mrNo);
    TProject& p = MakeProject({s1, s2});
    log.TranslateProject(&p);
    EXPECT_EQ(log.ErrorCount, 1);
    EXPECT_TRUE(LogHas("Элемент X1не имеет типа."_a));
    EXPECT_FALSE(LogHas("Чтение файла "_a + s2 + "..."));
    // The rest of the first scheme was still translated.
    EXPECT_EQ(log.ElementLines.IndexOf("E9 or"), 1);
    EXPECT_FALSE(Exists("4.$$$"));
    EXPECT_EQ(library.GenerateCount(), 0);
}

TEST_F(ProjectRun, TheLibrarysLogLinesReachTheMessageList) {
    AnsiString s1 = BuildS1();
    library.SetLogLine("строка библиотеки"_a);
    TProject& p = MakeProject({s1});
    log.TranslateProject(&p);
    int at = log.Messages.IndexOf("Трансляция..."_a);
    ASSERT_GE(at, 0);
    EXPECT_EQ(log.Messages[at + 1], "строка библиотеки 1"_a);
    EXPECT_EQ(log.Messages[at + 2], "строка библиотеки 0"_a);
    EXPECT_EQ(log.Messages[at + 3], AnsiString("T") + "рансляция Ок"_a);
}

TEST_F(ProjectRun, BooleanLogicTextIsWrittenFirstWhenTheOptionIsOn) {
    AnsiString s1 = BuildS1();
    AnsiString s2 = BuildS2();
    // The frame's storage answers through the one accessor.
    std::vector<AnsiString> asked;
    TranslatorOptions().Query = [&](const AnsiString& name) {
        asked.push_back(name);
        return name == TTranslatorOptions::DoTextLogicFile;
    };
    TProject& p = MakeProject({s1, s2});
    log.TranslateProject(&p);
    TranslatorOptions().Query = nullptr;
    EXPECT_EQ(Work("tvca.txt"), Lines({"V=A*B;", "Y=V^*(1000ms)*1;", "_var3=V+B;", "Z=_var3*A;"}));
    EXPECT_EQ(asked, std::vector<AnsiString>({"DoTextLogicFile", "SortBits"}));
    EXPECT_EQ(log.LogicLines, nullptr);
}

// ---- sound behaviour ------------------------------------------------------------------------

TEST_F(ProjectRun, AMissingLibraryOrEntryIsAnError) {
    AnsiString s1 = BuildS1();
    struct Case {
        const char* library;
        int convert;
        AnsiString box;        // empty: no box before the closing one
        AnsiString lastLines;  // the last log line
    };
    const std::vector<Case> cases = {
        {"gefakemissing.dll", 0, "Не могу загрузить\n библиотеку трансляции"_a, ""},
        {"gefakenogen.dll", 0, "Не могу загрузить\n процедуру трансляции"_a, ""},
        {"gefakenoconv.dll", 1, "", "Ошибка конвертации!!!"_a},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library);
        MakeDataFiles();
        ui.Clear();
        ui.Answer(mrNo);
        log.LibraryName = c.library;
        TProject& p = MakeProject({s1});
        p.Convert = c.convert;
        log.TranslateProject(&p);
        EXPECT_EQ(log.ErrorCount, 1);
        Lines shown = Shown();
        if (!c.box.IsEmpty()) {
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_EQ(shown[0], c.box);
            EXPECT_EQ(ui.Calls[0].type, mtError);
            EXPECT_EQ(ui.Calls[0].buttons, mbYesOnly);
            EXPECT_TRUE(LogHas(c.box));
        } else {
            EXPECT_TRUE(LogHas("Не могу загрузить процедуру конвертации"_a));
            EXPECT_EQ(log.Messages[log.Messages.Count() - 1], c.lastLines);
        }
        // Never a success report over the files of an earlier run.
        EXPECT_EQ(shown.back(), "Обнаружены ошибки\nПросмотреть результаты?"_a);
        EXPECT_FALSE(Exists("tvca.dat"));
        EXPECT_FALSE(Exists("Debutvca.dat"));
    }
    // Without conversion the library without its conversion entry is enough.
    ui.Clear();
    log.LibraryName = "gefakenoconv.dll";
    TProject& p = MakeProject({s1});
    log.TranslateProject(&p);
    EXPECT_EQ(log.ErrorCount, 0);
    EXPECT_EQ(Shown(), Lines({"Трансляция прошла успешно."_a}));
}

TEST_F(ProjectRun, AMissingOrDamagedSchemeFileIsAnError) {
    AnsiString s2 = BuildS2();
    AnsiString missing = File("gone.tvs");
    testenv::WriteBytes(dir.Path() / "bad.tvs", "not a scheme at all");
    AnsiString bad = File("bad.tvs");
    for (const AnsiString& path : {missing, bad}) {
        SCOPED_TRACE(path.c_str());
        ui.Clear();
        ui.Answer(mrNo);
        TProject& p = MakeProject({path, s2});
        log.TranslateProject(&p);
        EXPECT_EQ(log.ErrorCount, 1);
        AnsiString line = path == missing ? "Не найден файл схемы "_a + path : "Ошибка чтения файла схемы "_a + path;
        EXPECT_EQ(ToLines(log.Messages), Lines({"Чтение файла "_a + path + "...", line}));
        EXPECT_EQ(library.GenerateCount(), 0);
        EXPECT_EQ(Shown().back(), "Обнаружены ошибки\nПросмотреть результаты?"_a);
    }
    // The damaged file was also reported by the document itself.
    EXPECT_EQ(Shown().size(), 2u);
}

// The first work file that could not be written is named; a log that could
// not be written either is not offered: the closing box tells the failure.
TEST_F(ProjectRun, AWorkFileThatCannotBeWrittenIsNamedAndNoMissingLogIsOffered) {
    AnsiString s1 = BuildS1();
    std::filesystem::create_directory(dir.Path() / "4.$$$");
    std::filesystem::create_directory(dir.Path() / "err.log");
    TProject& p = MakeProject({s1});
    RecordingFrame frame;
    log.TranslateProject(&p);
    EXPECT_EQ(frame.events, std::vector<std::string>({"disable", "save", "enable"}));
    EXPECT_EQ(log.ErrorCount, 1);
    const AnsiString failure = "Невозможно записать рабочие файлы трансляции: "_a + File("4.$$$");
    EXPECT_EQ(log.Messages[log.Messages.Count() - 1], failure);
    EXPECT_EQ(library.GenerateCount(), 0);
    EXPECT_FALSE(Exists("5.$$$"));
    EXPECT_EQ(Shown(), Lines({"Обнаружены ошибки\n"_a + failure + "\nФайл сообщений "_a + File("err.log") + " не записан."_a}));
    EXPECT_EQ(ui.Calls[0].buttons, mbOKOnly);
    EXPECT_EQ(Views(), 0);
}

// The program's exception inside a run is logged and counted, and the run closes.
TEST_F(ProjectRun, AnExceptionInsideARunIsLoggedAndCounted) {
    AnsiString s1 = BuildS1();
    MakeDataFiles();
    TProject& p = MakeProject({s1});
    RecordingFrame frame;
    frame.onRepaint = [] { throw EConvertError("'x' is not a number"); };
    ui.Answer(mrNo);
    log.TranslateProject(&p);
    EXPECT_EQ(log.ErrorCount, 1);
    EXPECT_EQ(log.Messages[log.Messages.Count() - 1], "Ошибка при трансляции: 'x' is not a number"_a);
    EXPECT_EQ(Shown(), Lines({"Обнаружены ошибки\nПросмотреть результаты?"_a}));
    EXPECT_FALSE(Exists("Debutvca.dat"));
    EXPECT_EQ(frame.events, std::vector<std::string>({"disable", "save", "enable"}));
    EXPECT_FALSE(log.Running());
    EXPECT_EQ(ModelHooks().Log, nullptr);

    // The same in a single-scheme run.
    ui.Clear();
    ui.Answer(mrNo);
    TScheme s;
    s.SetFileName(File("one.tvs"));
    EXPECT_FALSE(log.TranslateScheme(Dir(), File("Debuerr.log"), &s));
    EXPECT_TRUE(LogHas("Ошибка при трансляции: 'x' is not a number"_a));
    EXPECT_EQ(Shown(), Lines({"Обнаружены ошибки\nПросмотреть результаты?"_a}));
    EXPECT_FALSE(TranslatorHooks().HeadlessProgress.Shown);
}

// Running out of memory is not a translation error: it leaves the run for the
// application's handler, and the run's frame is undone on the way out.
TEST_F(ProjectRun, NoMemoryInsideARunReachesTheCaller) {
    AnsiString s1 = BuildS1();
    MakeDataFiles();
    TProject& p = MakeProject({s1});
    RecordingFrame frame;
    frame.onRepaint = [] { throw std::bad_alloc(); };
    EXPECT_THROW(log.TranslateProject(&p), std::bad_alloc);
    EXPECT_EQ(log.ErrorCount, 0);
    EXPECT_EQ(frame.events, std::vector<std::string>({"disable", "save", "enable"}));
    EXPECT_FALSE(log.Running());
    EXPECT_EQ(ModelHooks().Log, nullptr);
    EXPECT_TRUE(ui.Calls.empty());
}

TEST_F(ProjectRun, DriverPinsMissingFromTheSignalTableAreWarnedAboutOnce) {
    TScheme s;
    TElement* e = Place(s, s.CreateAndElement(), "E1", 100, 100, 1);
    DriverOn(s, "Q", e->GetInput(0));
    DriverOn(s, "Q", e->GetInput(1));
    DriverOn(s, "Y", e->GetOutput(0));
    SaveAs(s, File("q.tvs"));
    ui.Answer(mrNo);
    TProject& p = MakeProject({File("q.tvs")});
    log.TranslateProject(&p);
    EXPECT_EQ(log.ErrorCount, 0);
    EXPECT_TRUE(log.HasWarnings);
    Lines lines = ToLines(log.Messages);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Сигнал Q не найден в таблице сигналов."_a), 1);
    // Kept as an internal signal; no comment line, not counted as a driver signal.
    EXPECT_EQ(Work("3.$$$"), Lines({Pad("Q"), Pad("Y") + " DO 3"}));
    EXPECT_EQ(Work("5.$$$"), Lines({"3;Y;DO;лампа"_a}));
    EXPECT_EQ(p.Statistics[TProject::StatInputs], 0);
    EXPECT_EQ(p.Statistics[TProject::StatOutputs], 1);
    EXPECT_EQ(library.GenerateCount(), 2);
    EXPECT_EQ(Shown(), Lines({"Обнаружены предупреждения\nПросмотреть результаты?"_a}));
}

// A pump's start counter: OR1 (order 2) makes the count signal of CNT1
// (order 1), which therefore never counts; CNT2 (order 3) counts. The run
// succeeds with a warning in err.log and in its closing question.
TEST_F(ProjectRun, ACounterFedByALaterElementIsWarnedAboutAndTheRunSucceeds) {
    TScheme s;
    TElement* cnt1 = Place(s, s.CreateCounterElement(), "CNT1", 300, 100, 1);
    TElement* or1 = Place(s, s.CreateOrElement(), "OR1", 100, 300, 2);
    TElement* cnt2 = Place(s, s.CreateCounterElement(), "CNT2", 300, 400, 3);
    DriverOn(s, "A", or1->GetInput(0));
    DriverOn(s, "B", or1->GetInput(1));
    Wire(s, or1->GetOutput(0), cnt1->GetInput(0));
    Wire(s, or1->GetOutput(0), cnt2->GetInput(0));
    DriverOn(s, "Y", cnt1->GetOutput(0));
    DriverOn(s, "Z", cnt2->GetOutput(0));
    SaveAs(s, File("s3.tvs"));
    MakeDataFiles();
    ui.Answer(mrNo);
    TProject& p = MakeProject({File("s3.tvs")});
    log.TranslateProject(&p);
    EXPECT_EQ(log.ErrorCount, 0);
    EXPECT_TRUE(log.HasWarnings);
    EXPECT_EQ(library.GenerateCount(), 2);
    const AnsiString warning = "Схема s3.tvs: элемент CNT1, вход C: сигнал _var0 пишет только элемент OR1, который "
                               "обрабатывается позже, поэтому фронт на входе не будет замечен никогда. Дайте элементу "
                               "OR1 номер меньше, чем у CNT1."_a;
    Lines saved = FileLines(p.GetErrorFile());
    EXPECT_EQ(std::count(saved.begin(), saved.end(), warning), 1);
    EXPECT_EQ(std::count_if(saved.begin(), saved.end(), [](const AnsiString& l) { return l.Pos("CNT2") > 0; }), 0);
    EXPECT_EQ(Shown(), Lines({"Обнаружены предупреждения\nПросмотреть результаты?"_a}));
    EXPECT_TRUE(Exists("tvca.dat"));
    EXPECT_TRUE(Exists("Debutvca.dat"));
}

TEST_F(ProjectRun, TwoSignalsOnOneChainAreAnErrorNamingTheSchemeTheChainAndBoth) {
    AnsiString s1 = BuildS1();
    TScheme s;
    TElement* e = Place(s, s.CreateAndElement(), "E1", 100, 100, 1);
    DriverOn(s, "B", e->GetInput(0));
    TDriver* a = LooseDriver(s, "A", 0, 300);
    TInOut* in = e->GetInput(0);
    TLink* w = s.CreateWire(in->TipX(), in->TipY(), a->Terminal()->TipX(), a->Terminal()->TipY());
    ASSERT_NE(w, nullptr);
    const AnsiString chain = w->ChainName();
    DriverOn(s, "Y", e->GetOutput(0));
    SaveAs(s, File("two.tvs"));
    MakeDataFiles();
    ui.Answer(mrNo);
    TProject& p = MakeProject({s1, File("two.tvs")});
    log.TranslateProject(&p);
    EXPECT_EQ(log.ErrorCount, 1);
    const Lines lines = ToLines(log.Messages);
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "В схеме two.tvs цепь "_a + chain + " соединяет разные сигналы B и A."_a),
              1);
    EXPECT_EQ(library.GenerateCount(), 0);
    EXPECT_FALSE(Exists("4.$$$"));
    EXPECT_FALSE(Exists("tvca.dat"));
    EXPECT_FALSE(Exists("Debutvca.dat"));
}

// What a chain may carry: one source (an input signal or an element's
// output), written to every output driver pin and connector on it. Each row
// builds its schemes and gives the run's errors, the line the log must hold
// (none when empty) and, for a run that succeeds, the elements file.
TEST_F(ProjectRun, AChainCarriesOneSourceWrittenToEveryOutputOnIt) {
    table.table.AddBit("W", "DO", 5, "");
    table.table.AddBit("LAMP", "DI", 2, "");
    struct Built {
        Lines files;
        AnsiString chain;
    };
    // A driver pin, or a connector when the name starts with '~', placed apart.
    auto pinOf = [](TScheme& s, const AnsiString& spec, int x, int y) {
        const bool connector = spec[1] == '~';
        return LooseDriver(s, connector ? spec.SubString(2, spec.Length()) : spec, x, y, connector);
    };
    // E1 = A and B, its output wired to the pins named.
    auto andTo = [&](const AnsiString& file, const Lines& outputs) {
        TScheme s;
        TElement* e = Place(s, s.CreateAndElement(), "E1", 100, 100, 1);
        DriverOn(s, "A", e->GetInput(0));
        DriverOn(s, "B", e->GetInput(1));
        int y = 300;
        for (const AnsiString& o : outputs)
            Wire(s, e->GetOutput(0), pinOf(s, o, 400, y += 50)->Terminal());
        SaveAs(s, File(file));
        return Built{{File(file)}, e->GetOutput(0)->Net()->Chains.front()->Name()};
    };
    // The pins named wired to the first; with reader E1's first input on it
    // too and E1's output to Y.
    auto joined = [&](const AnsiString& file, const Lines& pins, bool reader) {
        TScheme s;
        TDriver* first = pinOf(s, pins[0], 0, 100);
        for (std::size_t i = 1; i < pins.size(); ++i)
            Wire(s, first->Terminal(), pinOf(s, pins[i], 0, 100 + 50 * int(i))->Terminal());
        if (reader) {
            TElement* e = Place(s, s.CreateAndElement(), "E1", 300, 100, 1);
            Wire(s, first->Terminal(), e->GetInput(0));
            DriverOn(s, "Y", e->GetOutput(0));
        }
        SaveAs(s, File(file));
        return Built{{File(file)}, first->Terminal()->Net()->Chains.front()->Name()};
    };
    // A symbol file: G = A and B inside, the inner pins named wired to G's first
    // input (inputs) or its output; connectors (after '~') make the symbol's pins,
    // an output named '&' is inner element H = G and B writing connector OUT.
    auto symbol = [&](const AnsiString& file, const Lines& inputs, const Lines& outputs) {
        TScheme inner;
        TElement* g = Place(inner, inner.CreateAndElement(), "G", 100, 100, 1);
        DriverOn(inner, "B", g->GetInput(1));
        AnsiString chain;
        int y = 300;
        for (int side = 0; side < 2; ++side)
            for (const AnsiString& n : side == 0 ? inputs : outputs) {
                y += 50;
                TElement* h = n == "&" ? Place(inner, inner.CreateAndElement(), "H", 600, y, 2) : nullptr;
                if (h) {
                    DriverOn(inner, "B", h->GetInput(1));
                    Wire(inner, h->GetOutput(0), pinOf(inner, "~OUT", 900, y)->Terminal());
                }
                TInOut* to = h ? h->GetInput(0) : pinOf(inner, n, 0, y)->Terminal();
                TInOut* pin = side == 0 ? g->GetInput(0) : g->GetOutput(0);
                TLink* w = inner.CreateWire(pin->TipX(), pin->TipY(), to->TipX(), to->TipY());
                if (w && chain.IsEmpty())
                    chain = w->ChainName();
            }
        EXPECT_TRUE(inner.SaveAsSymbol(File(file)));
        return chain;
    };
    // S1 of that symbol file, its pins to the outer signals given in pin order.
    auto placed = [&](const AnsiString& file, const AnsiString& symbolFile, const Lines& outer) {
        TScheme s;
        TSymbol* sym = s.CreateSymbol();
        sym->SetName("S1");
        sym->AssignNumber(1);
        sym->SetX(300);
        sym->SetY(100);
        sym->LoadSymbolFile(File(symbolFile));
        EXPECT_EQ(sym->PinCount(), int(outer.size()));
        for (int i = 0; i < sym->PinCount() && i < int(outer.size()); ++i)
            DriverOn(s, outer[std::size_t(i)], sym->Pin(i));
        SaveAs(s, File(file));
        return File(file);
    };
    const Lines andAB = {"E1 and", OutLine("_varE11"), InLine("A"), InLine("B"), "", "_varE11 and"};
    auto with = [](Lines lines, const Lines& more) {
        lines.insert(lines.end(), more.begin(), more.end());
        return lines;
    };
    struct Row {
        const char* what;
        std::function<Built()> build;
        int errors;
        std::function<AnsiString(const Built&)> message;
        Lines elements;
    };
    const std::vector<Row> rows = {
        {"an output to two output pins", [&] { return andTo("o2.tvs", {"Y", "Z"}); }, 0, nullptr,
         with(andAB, {OutLine("Y"), OutLine("Z"), InLine("_varE11"), ""})},
        {"an output to three output pins", [&] { return andTo("o3.tvs", {"Y", "Z", "W"}); }, 0, nullptr,
         with(andAB, {OutLine("Y"), OutLine("Z"), OutLine("W"), InLine("_varE11"), ""})},
        {"an output to an output pin and a connector", [&] { return andTo("oc.tvs", {"Y", "~V"}); }, 0, nullptr,
         with(andAB, {OutLine("Y"), OutLine("V"), InLine("_varE11"), ""})},
        {"an input to an output pin and an element", [&] { return joined("io.tvs", {"A", "Z"}, true); }, 0,
         nullptr, {"_cpyA and", OutLine("Z"), InLine("A"), "", "E1 and", OutLine("Y"), InLine("A"),
                   InLine("_null_in_", true), ""}},
        {"an input wired straight to an output", [&] { return joined("is.tvs", {"A", "Z", "Y"}, false); }, 0,
         nullptr, {"_cpyA and", OutLine("Z"), OutLine("Y"), InLine("A"), ""}},
        {"two pins of one signal", [&] { return joined("pp.tvs", {"A", "A"}, true); }, 0, nullptr,
         {"E1 and", OutLine("Y"), InLine("A"), InLine("_null_in_", true), ""}},
        {"one signal in two letter cases", [&] { return joined("lc.tvs", {"LAMP", "Lamp"}, true); }, 0, nullptr,
         {"E1 and", OutLine("Y"), InLine("LAMP"), InLine("_null_in_", true), ""}},
        {"two input signals", [&] { return joined("ii.tvs", {"A", "B"}, true); }, 1,
         [](const Built& b) { return "В схеме ii.tvs цепь "_a + b.chain + " соединяет разные сигналы A и B."_a; },
         {}},
        {"an input signal and an element's output", [&] { return andTo("ie.tvs", {"A"}); }, 1,
         [](const Built& b) {
             return "В схеме ie.tvs цепь "_a + b.chain + " соединяет сигнал A и выход элемента E1."_a;
         },
         {}},
        {"two input signals through a connector in two schemes",
         [&] {
             return Built{{joined("x1.tvs", {"A", "~XX"}, true).files[0], joined("x2.tvs", {"B", "~XX"}, true).files[0]},
                          ""};
         },
         1,
         [](const Built&) {
             return "Соединитель XX получает сигнал A в схеме x1.tvs и сигнал B в схеме x2.tvs."_a;
         },
         {}},
        {"an input signal and an element's output through a connector in two schemes",
         [&] { return Built{{joined("y1.tvs", {"A", "~XX"}, true).files[0], andTo("y2.tvs", {"~XX"}).files[0]}, ""}; },
         0,
         [](const Built&) {
             return "Соединитель XX получает сигнал A в схеме y1.tvs и выход элемента E1 в схеме y2.tvs. Элементы, "
                    "обрабатываемые после элемента E1, читают его выход, остальные — сигнал A."_a;
         },
         {"_cpyA and", OutLine("XX"), InLine("A"), "", "E1 and", OutLine("Y"), InLine("A"), InLine("_null_in_", true),
          "", "E1 and", OutLine("XX"), InLine("A"), InLine("B"), ""}},
        {"two element outputs through a connector in two schemes",
         [&] { return Built{{andTo("z1.tvs", {"~XX"}).files[0], andTo("z2.tvs", {"~XX"}).files[0]}, ""}; }, 0,
         [](const Built&) {
             return "Соединитель XX получает выход элемента E1 в схеме z1.tvs и выход элемента E1 в схеме z2.tvs. "
                    "Элементы, обрабатываемые после элемента E1 схемы z1.tvs и до элемента E1 схемы z2.tvs, читают "
                    "выход элемента E1 схемы z1.tvs, остальные — выход элемента E1 схемы z2.tvs."_a;
         },
         {"E1 and", OutLine("XX"), InLine("A"), InLine("B"), "", "E1 and", OutLine("XX"), InLine("A"), InLine("B"),
          ""}},
        {"a connector drawn twice on a chain of two inputs",
         [&] { return joined("dd.tvs", {"A", "~XX", "~XX", "B"}, true); }, 1,
         [](const Built& b) { return "В схеме dd.tvs цепь "_a + b.chain + " соединяет разные сигналы A и B."_a; },
         {}},
        {"an input wired to one output pin in two schemes",
         [&] {
             return Built{{joined("w1.tvs", {"A", "Y"}, false).files[0], joined("w2.tvs", {"B", "Y"}, false).files[0]},
                          ""};
         },
         0, [](const Built&) { return "Сигнал Y является выходным более чем для одного элемента!"_a; },
         {"_cpyA and", OutLine("Y"), InLine("A"), "", "_cpyB and", OutLine("Y"), InLine("B"), ""}},
        {"an input to an output pin and an element inside a symbol",
         [&] {
             AnsiString chain = symbol("two.tvy", {"A", "Z"}, {"~OUT"});
             return Built{{placed("s2.tvs", "two.tvy", {"Y"})}, chain};
         },
         0, nullptr,
         {"_cpyA and", OutLine("Z"), InLine("A"), "", "S1G and", OutLine("Y"), InLine("A"), InLine("B"), ""}},
        {"two input signals inside a symbol",
         [&] {
             AnsiString chain = symbol("ab.tvy", {"A", "B"}, {"~OUT"});
             return Built{{placed("s3.tvs", "ab.tvy", {"Y"})}, chain};
         },
         1,
         [](const Built& b) {
             return "В схеме s3.tvs в символе S1 цепь "_a + b.chain + " соединяет разные сигналы A и B."_a;
         },
         {}},
        {"a symbol's input and an input signal inside it",
         [&] {
             AnsiString chain = symbol("xa.tvy", {"~IN", "A"}, {"~OUT"});
             return Built{{placed("s6.tvs", "xa.tvy", {"X", "Y"})}, chain};
         },
         1,
         [](const Built& b) {
             return "В схеме s6.tvs в символе S1 цепь "_a + b.chain + " соединяет вход символа IN и сигнал A."_a;
         },
         {}},
        {"an output inside a symbol to its output and an output pin",
         [&] {
             symbol("oz.tvy", {"A"}, {"~OUT", "Z"});
             return Built{{placed("s4.tvs", "oz.tvy", {"Y"})}, ""};
         },
         0, nullptr,
         {"S1G and", OutLine("_varS1G1"), InLine("A"), InLine("B"), "", "_varS1G1 and", OutLine("Y"), OutLine("Z"),
          InLine("_varS1G1"), ""}},
        {"an output inside a symbol to another element inside it",
         [&] {
             symbol("gh.tvy", {"A"}, {"&"});
             return Built{{placed("s5.tvs", "gh.tvy", {"Y"})}, ""};
         },
         0, nullptr,
         {"S1G and", OutLine("_var0"), InLine("A"), InLine("B"), "", "S1H and", OutLine("Y"), InLine("_var0"),
          InLine("B"), ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::remove(File("4.$$$").c_str());
        const Built built = row.build();
        ui.Answer(mrNo);
        log.TranslateProject(&MakeProject(built.files));
        EXPECT_EQ(log.ErrorCount, row.errors);
        if (row.message) {
            EXPECT_TRUE(LogHas(row.message(built))) << log.Messages.Text().c_str();
        }
        EXPECT_EQ(Work("4.$$$"), row.elements);
    }
}

TEST_F(ProjectRun, ASecondRunWhileOneIsInProgressIsRefused) {
    AnsiString s1 = BuildS1();
    TProject& p = MakeProject({s1});
    RecordingFrame frame;
    int nested = 0;
    frame.onRepaint = [&] {
        if (nested++)
            return;
        EXPECT_TRUE(log.Running());
        EXPECT_TRUE(TFrameDisabledScope::FrameDisabled());
        int before = log.Messages.Count();
        log.TranslateProject(&p);
        TScheme other;
        EXPECT_FALSE(log.TranslateScheme(Dir(), File("Debuerr.log"), &other));
        EXPECT_EQ(log.Messages.Count(), before);
    };
    log.TranslateProject(&p);
    EXPECT_GT(nested, 1);
    EXPECT_FALSE(log.Running());
    EXPECT_EQ(library.GenerateCount(), 2);
    EXPECT_EQ(frame.events, std::vector<std::string>({"disable", "save", "enable"}));
    EXPECT_FALSE(TFrameDisabledScope::FrameDisabled());
    EXPECT_EQ(ModelHooks().Log, nullptr);
}

TEST_F(ProjectRun, TheFrameScopeNestsAndEnablesOnTheLastExit) {
    RecordingFrame frame;
    {
        TFrameDisabledScope outer;
        {
            TFrameDisabledScope inner;
            EXPECT_TRUE(TFrameDisabledScope::FrameDisabled());
        }
        EXPECT_EQ(frame.events, std::vector<std::string>({"disable"}));
        try {
            TFrameDisabledScope thrown;
            throw std::runtime_error("x");
        } catch (const std::runtime_error&) {
        }
        EXPECT_TRUE(TFrameDisabledScope::FrameDisabled());
    }
    EXPECT_EQ(frame.events, std::vector<std::string>({"disable", "enable"}));
    EXPECT_FALSE(TFrameDisabledScope::FrameDisabled());
    log.TranslateProject(nullptr);
    EXPECT_EQ(frame.events.size(), 2u);
    EXPECT_TRUE(ui.Calls.empty());
}

} // namespace
