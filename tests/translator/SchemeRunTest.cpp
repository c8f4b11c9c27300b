// The single-scheme run (F8) and the CASE run on a window's live document:
// their file names, texts, outcomes, and that the document stays as it was.
#include <functional>

#include "TranslatorTestSupport.h"

using namespace trtest;

namespace {

// A scheme window as the document sees it: no canvas, nothing drawn.
class WindowOwner : public IEntityOwner {
public:
    TCanvas* GetCanvas() override { return nullptr; }
};

class SchemeRun : public TranslatorTest {
protected:
    void SetUp() override {
        TranslatorTest::SetUp();
        scheme = std::make_unique<TScheme>(&window);
    }
    // A symbol file: IN_A and B into a gate (AND, or OR), its output to OUT_B.
    static void WriteGateSymbol(const AnsiString& file, bool useOr = false) {
        TScheme inner;
        TElement* g = useOr ? static_cast<TElement*>(inner.CreateOrElement()) : inner.CreateAndElement();
        Place(inner, g, "G", 100, 100, 1);
        DriverOn(inner, "IN_A", g->GetInput(0), true);
        DriverOn(inner, "B", g->GetInput(1));
        TVarDriver* out = inner.CreateVarDriver();
        out->SetName("OUT_B");
        out->SetMirrored(true);
        out->SetX(g->GetOutput(0)->TipX() + 10);
        out->SetY(g->GetOutput(0)->TipY() - 10);
        inner.AttachElement(out);
        ASSERT_TRUE(inner.SaveAsSymbol(file));
    }
    // The symbol S1 of that file in the scheme, A on its input and Y on its output.
    TSymbol* PlaceGateSymbol(const AnsiString& file) {
        TSymbol* sym = scheme->CreateSymbol();
        sym->SetName("S1");
        sym->AssignNumber(1);
        sym->SetX(300);
        sym->SetY(100);
        sym->LoadSymbolFile(file);
        EXPECT_EQ(sym->PinCount(), 2);
        DriverOn(*scheme, "A", sym->Pin(0));
        DriverOn(*scheme, "Y", sym->Pin(1));
        return sym;
    }
    // E1 = A and B -> Y.
    void BuildAnd(const AnsiString& fileName) {
        scheme->SetFileName(fileName);
        TElement* e1 = Place(*scheme, scheme->CreateAndElement(), "E1", 100, 100, 1);
        DriverOn(*scheme, "A", e1->GetInput(0));
        DriverOn(*scheme, "B", e1->GetInput(1));
        DriverOn(*scheme, "Y", e1->GetOutput(0));
    }
    AnsiString LogFile() const { return File("Debuerr.log"); }
    bool Translate() { return log.TranslateScheme(Dir(), LogFile(), scheme.get()); }
    bool Exists(const AnsiString& name) const { return FileExists(File(name)); }

    WindowOwner window;
    std::unique_ptr<TScheme> scheme;
};

TEST(SchemeRunNames, BaseNamesAndDebugPrefix) {
    EXPECT_EQ(SchemeBaseName("main.tvs"), AnsiString("main"));
    EXPECT_EQ(SchemeBaseName("/p/a.b.tvs"), AnsiString("a.b"));
    EXPECT_EQ(SchemeBaseName("main"), AnsiString("main"));
    EXPECT_EQ(SchemeBaseName("C:\\P\\main.tvs"), AnsiString("main"));
    EXPECT_EQ(WithDebugPrefix("/p/err.log"), AnsiString("/p/Debuerr.log"));
    EXPECT_EQ(WithDebugPrefix("C:\\P\\maintvca.dat"), AnsiString("C:\\P\\Debumaintvca.dat"));
    EXPECT_EQ(WithDebugPrefix("err.log"), AnsiString("Debuerr.log"));
    TWorkFileNames names = CurrentWorkFileNames();
    TSchemeRunPaths p = SchemeRunPaths("C:\\P\\", "main", names);
    EXPECT_EQ(p.Work.DriverTypes, AnsiString("C:\\P\\main1.$$$"));
    EXPECT_EQ(p.Work.Drivers, AnsiString("C:\\P\\main2.$$$"));
    EXPECT_EQ(p.Work.Signals, AnsiString("C:\\P\\main3.$$$"));
    EXPECT_EQ(p.Work.Elements, AnsiString("C:\\P\\main4.$$$"));
    EXPECT_EQ(p.Work.Comments, AnsiString("C:\\P\\main5.$$$"));
    EXPECT_EQ(p.Logic, AnsiString("C:\\P\\maintvca.txt"));
    EXPECT_EQ(p.DebugData, AnsiString("C:\\P\\Debumaintvca.dat"));
}

TEST_F(SchemeRun, FilesCarryTheSchemesBaseName) {
    for (const char* file : {"main.tvs", "a.b.tvs", "main"}) {
        SCOPED_TRACE(file);
        AnsiString base = SchemeBaseName(file);
        scheme = std::make_unique<TScheme>(&window);
        BuildAnd(File(file));
        library.Configure(0, 0, 0);
        ui.Clear();
        testenv::WriteBytes(dir.Path() / "Debuerr.log", "old log");
        EXPECT_TRUE(Translate());
        ASSERT_EQ(library.GenerateCount(), 1);
        const char* work[] = {"1.$$$", "2.$$$", "3.$$$", "5.$$$", "4.$$$"};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(library.GeneratePath(0, i), File(base + work[i]));
        EXPECT_EQ(library.GeneratePath(0, 5), File("Debu" + base + "tvca.dat"));
        EXPECT_EQ(library.GeneratePath(0, 6), LogFile());
        EXPECT_EQ(library.Iterations(0), 0);
        EXPECT_EQ(library.Flag(0), 0);
        // Kept: signals, comments, elements and the debugging data; gone:
        // the two driver files and, after a success, the log.
        EXPECT_TRUE(Exists(base + "3.$$$"));
        EXPECT_TRUE(Exists(base + "4.$$$"));
        EXPECT_TRUE(Exists(base + "5.$$$"));
        EXPECT_FALSE(Exists(base + "1.$$$"));
        EXPECT_FALSE(Exists(base + "2.$$$"));
        EXPECT_TRUE(Exists("Debu" + base + "tvca.dat"));
        EXPECT_FALSE(FileExists(LogFile()));
        EXPECT_EQ(Shown(), Lines({"Трансляция схемы "_a + base + " прошла успешно."_a}));
        EXPECT_EQ(ui.Calls.back().type, mtInformation);
        EXPECT_EQ(FileLines(File(base + "4.$$$")),
                  Lines({"E1 and", OutLine("Y"), InLine("A"), InLine("B"), ""}));
        EXPECT_EQ(FileLines(File(base + "5.$$$")), Lines({"0;A;DI;кнопка"_a, "1;B;DI;", "3;Y;DO;лампа"_a}));
    }
}

TEST_F(SchemeRun, ASuccessfulRunLogsItsStepsAndCountsSixSteps) {
    BuildAnd(File("main.tvs"));
    EXPECT_TRUE(Translate());
    EXPECT_EQ(ToLines(log.Messages),
              Lines({" Проверка схемы main..."_a, " Проверка порядка обработки схемы main..."_a, "Ок"_a, "Ок"_a,
                     "Проверка выходных сигналов"_a, "Ok", "Проверка переходных сигналов (переходов со схемы на схему) "_a,
                     "Ok", "Запись временных файлов..."_a, "Ок"_a, "Трансляция main"_a, "fake library 0",
                     AnsiString("T") + "рансляция Ок"_a, "Удаление временных файлов..."_a}));
    const TProgressRecord& progress = TranslatorHooks().HeadlessProgress;
    EXPECT_EQ(progress.Max, 6);
    EXPECT_EQ(progress.Pos, 6);
    EXPECT_FALSE(progress.Shown);
    EXPECT_EQ(log.SchemeElementLines, nullptr);
    EXPECT_EQ(ModelHooks().Log, nullptr);
}

TEST_F(SchemeRun, OrderProblemsUseTheTextsWithoutTheSchemeName) {
    struct Case {
        int first, second; // order numbers of E1 and E2
        int answer;
        const char* line;
        bool ok;
    };
    const std::vector<Case> cases = {
        {1, 3, mrYes, " Схема  не упорядочена! Порядок обработки установлен по именам.", true},
        {1, 3, mrNo, " Схема  не упорядочена! ", true},
        {1, 1, mrYes, " Схема  не упорядочена! Порядок обработки установлен по именам.", true},
        {1, 1, mrNo, "В схеме несколько элементов с одинаковым порядком. Трансляция прервана.", false},
        {0, 1, mrYes, " Схема не упорядочена! Порядок обработки установлен по именам.", true},
        {0, 1, mrNo, "В схеме обнаружены элементы с порядком 0. Трансляция прервана.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        scheme = std::make_unique<TScheme>(&window);
        BuildAnd(File("main.tvs"));
        static_cast<TElement*>(scheme->FindDeviceByNumber(1))->AssignNumber(c.first);
        Place(*scheme, scheme->CreateOrElement(), "E0", 400, 100, c.second);
        library.Configure(0, 0, 0);
        TestUiPort ui; // answers of this case only
        ui.Answer(c.answer);
        ui.Answer(mrNo);
        for (const char* f : {"main1.$$$", "main2.$$$", "Debumaintvca.dat"})
            testenv::WriteBytes(dir.Path() / f, "old");
        EXPECT_EQ(Translate(), c.ok);
        EXPECT_EQ(ui.Calls[0].text, "Схема не упорядочена! Установить порядок обработки  по именам?"_a);
        EXPECT_EQ(ui.Calls[0].type, mtWarning);
        EXPECT_EQ(log.Messages[2], Utf8ToAnsi(c.line));
        EXPECT_FALSE(Exists("main1.$$$"));
        EXPECT_FALSE(Exists("main2.$$$"));
        EXPECT_EQ(Exists("Debumaintvca.dat"), c.ok);
        EXPECT_EQ(FileExists(LogFile()), !c.ok);
        EXPECT_EQ(library.GenerateCount(), c.ok ? 1 : 0);
        if (!c.ok) {
            EXPECT_EQ(ui.Calls.back().text, "Обнаружены ошибки\nПросмотреть результаты?"_a);
            EXPECT_EQ(log.Messages[log.Messages.Count() - 1], "Удаление временных файлов..."_a);
            EXPECT_EQ(FileLines(LogFile()), ToLines(log.Messages));
        }
        // Ordering by names stays in the document.
        if (c.ok && c.answer == mrYes) {
            EXPECT_EQ(scheme->FindDeviceByNumber(1)->Name(), AnsiString("E0"));
        }
        // Warnings are never offered: a gap answered No still ends with success.
        if (c.ok) {
            EXPECT_EQ(ui.Calls.back().text, "Трансляция схемы main прошла успешно."_a);
        }
    }
}

TEST_F(SchemeRun, ErrorsThatElementsReportFailTheRun) {
    BuildAnd(File("main.tvs"));
    auto* untyped = new TElement(scheme.get(), "");
    untyped->SetName("X1");
    untyped->AssignNumber(2);
    scheme->AddObject(untyped);
    testenv::WriteBytes(dir.Path() / "Debumaintvca.dat", "old");
    ui.Answer(mrYes);
    EXPECT_FALSE(Translate());
    EXPECT_TRUE(LogHas("Элемент X1не имеет типа."_a));
    EXPECT_EQ(log.ErrorCount, 1);
    EXPECT_EQ(library.GenerateCount(), 0);
    EXPECT_FALSE(Exists("main4.$$$"));
    EXPECT_FALSE(Exists("Debumaintvca.dat"));
    EXPECT_EQ(Shown(), Lines({"Обнаружены ошибки\nПросмотреть результаты?"_a}));
    ASSERT_EQ(ui.Calls.back().kind, TestUiPort::kViewTextFile);
    EXPECT_EQ(ui.Calls.back().text, LogFile());
}

// A wire from the end of one input driver pin to the end of another: the
// chain cannot carry both signals, and the run says so rather than keep one.
TEST_F(SchemeRun, TwoSignalsOnOneChainFailTheRun) {
    BuildAnd(File("main.tvs"));
    TDriver* a = scheme->FirstDriver();
    ASSERT_EQ(a->Name(), AnsiString("A"));
    TDriver* b = LooseDriver(*scheme, "B", 0, 300);
    TLink* w = scheme->CreateWire(a->Terminal()->TipX(), a->Terminal()->TipY(), b->Terminal()->TipX(),
                                  b->Terminal()->TipY());
    ASSERT_NE(w, nullptr);
    // Two pins of one signal on the chain are one signal.
    TDriver* again = LooseDriver(*scheme, "A", 0, 400);
    scheme->CreateWire(a->Terminal()->TipX(), a->Terminal()->TipY(), again->Terminal()->TipX(),
                       again->Terminal()->TipY());
    testenv::WriteBytes(dir.Path() / "Debumaintvca.dat", "old");
    ui.Answer(mrNo);
    EXPECT_FALSE(Translate());
    EXPECT_TRUE(LogHas("В схеме main.tvs цепь "_a + w->ChainName() + " соединяет разные сигналы A и B."_a));
    EXPECT_EQ(log.ErrorCount, 1);
    EXPECT_EQ(library.GenerateCount(), 0);
    EXPECT_FALSE(Exists("main4.$$$"));
    EXPECT_FALSE(Exists("Debumaintvca.dat"));
    EXPECT_EQ(Shown(), Lines({"Обнаружены ошибки\nПросмотреть результаты?"_a}));
}

TEST_F(SchemeRun, AMissingLibraryFailsTheRun) {
    BuildAnd(File("main.tvs"));
    log.LibraryName = "gefakemissing.dll";
    ui.Answer(mrNo);
    EXPECT_FALSE(Translate());
    EXPECT_EQ(Shown(), Lines({"Не могу загрузить\n библиотеку трансляции"_a, "Обнаружены ошибки\nПросмотреть результаты?"_a}));
    EXPECT_TRUE(FileExists(LogFile()));
    EXPECT_FALSE(Exists("Debumaintvca.dat"));
    // The work files the run wrote stay.
    EXPECT_TRUE(Exists("main4.$$$"));
}

TEST_F(SchemeRun, ANonZeroLibraryAnswerFailsTheRun) {
    BuildAnd(File("main.tvs"));
    library.Configure(4, 0, 0);
    ui.Answer(mrNo);
    EXPECT_FALSE(Translate());
    EXPECT_TRUE(LogHas("Ошибка трансляции!!!"_a));
    EXPECT_TRUE(LogHas("fake library 0"));
    EXPECT_FALSE(Exists("Debumaintvca.dat"));
}

TEST_F(SchemeRun, TheBooleanLogicTextFollowsTheOption) {
    BuildAnd(File("main.tvs"));
    testenv::WriteBytes(dir.Path() / "maintvca.txt", "old\r\n");
    EXPECT_TRUE(Translate());
    EXPECT_EQ(FileLines(File("maintvca.txt")), Lines({"old"}));
    TranslatorOptions().Set(TTranslatorOptions::DoTextLogicFile, true);
    EXPECT_TRUE(Translate());
    EXPECT_EQ(FileLines(File("maintvca.txt")), Lines({"Y=A*B;"}));
}

TEST_F(SchemeRun, TheCaseRunIgnoresTheStoredOptions) {
    table.table.AddBit("C", "DI", 2, "");
    BuildAnd(File("case.tvc"));
    LooseDriver(*scheme, "Z", 400, 300);
    LooseDriver(*scheme, "C", 400, 350);
    TranslatorOptions().Set(TTranslatorOptions::DoTextLogicFile, true);
    TranslatorOptions().Set(TTranslatorOptions::SortBits, true);
    EXPECT_TRUE(log.TranslateCase(Dir(), LogFile(), scheme.get()));
    EXPECT_FALSE(Exists("casetvca.txt"));
    // The signal table's bit order (by drivers it would be A, B, C, Y, Z).
    EXPECT_EQ(FileLines(File("case5.$$$")), Lines({"0;A;DI;кнопка"_a, "1;B;DI;", "3;Y;DO;лампа"_a, "4;Z;DO;", "2;C;DI;"}));
    EXPECT_EQ(library.GeneratePath(0, 5), File("Debucasetvca.dat"));
    EXPECT_EQ(Shown(), Lines({"Трансляция схемы case прошла успешно."_a}));
    EXPECT_EQ(TranslatorHooks().HeadlessProgress.Pos, 6);
}

TEST_F(SchemeRun, ABitConflictInACaseRunKeepsNoDebuggingData) {
    table.table.AddBit("P1", "DO", 5, "");
    table.table.AddBit("P2", "DO", 2, "");
    table.table.AddBit("P3", "DO", 2, "");
    scheme->SetFileName(File("case.tvc"));
    for (const char* p : {"P1", "P2", "P3"})
        LooseDriver(*scheme, p, 100, 50 * (p[1] - '0'));
    testenv::WriteBytes(dir.Path() / "Debucasetvca.dat", "old");
    ui.Answer(mrNo);
    EXPECT_FALSE(log.TranslateCase(Dir(), LogFile(), scheme.get()));
    EXPECT_EQ(Shown(), Lines({" Два выхода P2 и P3\nзанимают один 2-й бит в драйвере DO"_a,
                              "Обнаружены ошибки\nПросмотреть результаты?"_a}));
    EXPECT_FALSE(Exists("case5.$$$"));
    EXPECT_FALSE(Exists("case1.$$$"));
    EXPECT_FALSE(Exists("Debucasetvca.dat"));
    EXPECT_EQ(library.GenerateCount(), 0);
}

// Symbols are expanded for the run only: the document, its file bytes and
// its expand mode are what they were, whichever way the run ends.
TEST_F(SchemeRun, SymbolExpansionLeavesTheDocumentAsItWas) {
    AnsiString symbolFile = File("gate.tvy");
    WriteGateSymbol(symbolFile);
    scheme->SetFileName(File("main.tvs"));
    TSymbol* sym = PlaceGateSymbol(symbolFile);
    ASSERT_EQ(sym->PinCount(), 2);
    std::string before = scheme->SaveToBytes();
    std::size_t objects = scheme->Objects().size();

    for (int numberOfSymbol : {1, 0}) {
        SCOPED_TRACE(numberOfSymbol);
        sym->AssignNumber(numberOfSymbol);
        before = scheme->SaveToBytes();
        ui.Clear();
        ui.Answer(mrNo); // not ordered: the run ends at its order check
        ui.Answer(mrNo);
        bool ok = Translate();
        EXPECT_EQ(ok, numberOfSymbol == 1);
        EXPECT_FALSE(scheme->ExpandSymbols());
        EXPECT_EQ(scheme->Objects().size(), objects);
        EXPECT_EQ(scheme->SaveToBytes(), before);
        Lines devices;
        for (TElement* e = scheme->NextByNumber(true); e; e = scheme->NextByNumber(false))
            devices.push_back(e->Name());
        EXPECT_EQ(devices, Lines({"S1"}));
        if (ok) {
            EXPECT_EQ(FileLines(File("main4.$$$")), Lines({"S1G and", OutLine("Y"), InLine("A"), InLine("B"), ""}));
        }
    }
    // A document without a window keeps its own expand mode (on).
    TScheme windowless;
    windowless.SetFileName(File("w.tvs"));
    ASSERT_TRUE(windowless.ExpandSymbols());
    EXPECT_TRUE(log.TranslateScheme(Dir(), LogFile(), &windowless));
    EXPECT_TRUE(windowless.ExpandSymbols());
}

// A symbol's file edited after the window loaded it: both runs translate the
// file as it is now, as a project run reading the scheme afresh would.
TEST_F(SchemeRun, SymbolsAreTranslatedFromTheirFilesAsTheyAreNow) {
    AnsiString symbolFile = File("gate.tvy");
    struct Case {
        const char* run;
        bool caseRun;
    };
    for (const Case& c : {Case{"scheme", false}, Case{"CASE", true}}) {
        SCOPED_TRACE(c.run);
        WriteGateSymbol(symbolFile);
        scheme = std::make_unique<TScheme>(&window);
        scheme->SetFileName(File("main.tvs"));
        TSymbol* sym = PlaceGateSymbol(symbolFile);
        ASSERT_EQ(sym->PinCount(), 2);
        scheme->SetModified(false);
        const std::string before = scheme->SaveToBytes();
        WriteGateSymbol(symbolFile, true);
        ui.Clear();
        EXPECT_TRUE(c.caseRun ? log.TranslateCase(Dir(), LogFile(), scheme.get()) : Translate());
        EXPECT_EQ(FileLines(File("main4.$$$")), Lines({"S1G or", OutLine("Y"), InLine("A"), InLine("B"), ""}));
        EXPECT_TRUE(scheme->SaveToBytes() == before) << "the document itself is unchanged";
        EXPECT_FALSE(scheme->IsModified());
    }
}

TEST_F(SchemeRun, AWorkFileThatCannotBeWrittenFailsTheRun) {
    BuildAnd(File("main.tvs"));
    std::filesystem::create_directory(dir.Path() / "main3.$$$");
    ui.Answer(mrNo);
    EXPECT_FALSE(Translate());
    const AnsiString failure = "Невозможно записать рабочие файлы трансляции: "_a + File("main3.$$$");
    EXPECT_TRUE(LogHas(failure));
    EXPECT_EQ(library.GenerateCount(), 0);
    EXPECT_FALSE(TranslatorHooks().HeadlessProgress.Shown);
    EXPECT_EQ(Shown(), Lines({"Обнаружены ошибки\nПросмотреть результаты?"_a}));
    // Nor can the log be written: nothing missing is offered.
    std::filesystem::remove(dir.Path() / "Debuerr.log");
    std::filesystem::create_directory(dir.Path() / "Debuerr.log");
    ui.Clear();
    EXPECT_FALSE(Translate());
    EXPECT_EQ(Shown(), Lines({"Обнаружены ошибки\n"_a + failure + "\nФайл сообщений "_a + LogFile() + " не записан."_a}));
    EXPECT_EQ(ui.Calls[0].buttons, mbOKOnly);
    EXPECT_EQ(Views(), 0);
}

// The controller takes an edge against the end of the last scan: an edge
// input that only the same or a later element writes never sees one. Such a
// run succeeds, but warns (naming the scheme, element, pin and writer), keeps
// its log and offers it.
TEST_F(SchemeRun, AnEdgeInputWrittenLaterInTheScanIsWarnedAbout) {
    using Make = std::function<TElement*(TScheme&)>;
    struct Case {
        const char* kind;
        Make make;
        int input;
        const char* pin; // nullptr: no warning
        bool change;
    };
    const Case cases[] = {
        {"cnt", [](TScheme& s) { return s.CreateCounterElement(); }, 0, "C", false},
        {"cnt reset", [](TScheme& s) { return s.CreateCounterElement(); }, 1, nullptr, false},
        {"rcnt", [](TScheme& s) { return s.CreateReverCounterElement(); }, 0, "C", false},
        {"dtrigger", [](TScheme& s) { return s.CreateDTriggerElement(); }, 1, "C", false},
        {"dtrigger data", [](TScheme& s) { return s.CreateDTriggerElement(); }, 0, nullptr, false},
        {"drstrigger", [](TScheme& s) { return s.CreateDRSTriggerElement(); }, 2, "C", false},
        {"d8trigger", [](TScheme& s) { return s.CreateD8TriggerElement(); }, 8, "C", false},
        {"d8rscnt load", [](TScheme& s) { return s.CreateD8RSCounterElement(); }, 8, "L", false},
        {"d8rscnt count", [](TScheme& s) { return s.CreateD8RSCounterElement(); }, 10, "C", false},
        {"timer", [](TScheme& s) { return s.CreateTimerElement(); }, 0, "In", false},
        {"timer reset", [](TScheme& s) { return s.CreateTimerElement(); }, 1, nullptr, false},
        {"predtimer", [](TScheme& s) { return s.CreatePredTimerElement(2); }, 0, "In", false},
        {"filter", [](TScheme& s) { return s.CreateFilterElement(); }, 3, "3", true},
        {"filter hold", [](TScheme& s) { return s.CreateFilterElement(); }, 12, nullptr, false},
    };
    const AnsiString edge = "фронт на входе не будет замечен никогда"_a;
    const AnsiString change = "изменение на входе не будет замечено никогда"_a;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        scheme = std::make_unique<TScheme>(&window);
        scheme->SetFileName(File("main.tvs"));
        TElement* e = Place(*scheme, c.make(*scheme), "E", 300, 100, 1);
        TElement* w = Place(*scheme, scheme->CreateAndElement(), "W", 100, 300, 2);
        DriverOn(*scheme, "A", w->GetInput(0));
        DriverOn(*scheme, "B", w->GetInput(1));
        Wire(*scheme, w->GetOutput(0), e->GetInput(c.input));
        ui.Clear();
        if (c.pin)
            ui.Answer(mrNo);
        EXPECT_TRUE(Translate());
        EXPECT_EQ(log.ErrorCount, 0);
        EXPECT_EQ(library.GenerateCount(), 1);
        library.Configure(0, 0, 0);
        if (!c.pin) {
            EXPECT_FALSE(log.HasWarnings);
            EXPECT_EQ(Shown(), Lines({"Трансляция схемы main прошла успешно."_a}));
            EXPECT_FALSE(FileExists(LogFile()));
            continue;
        }
        const AnsiString warning = "Схема main.tvs: элемент E, вход "_a + c.pin +
                                   ": сигнал _var0 пишет только элемент W, который обрабатывается позже, поэтому "_a +
                                   (c.change ? change : edge) + ". Дайте элементу W номер меньше, чем у E."_a;
        EXPECT_TRUE(LogHas(warning));
        EXPECT_EQ(Shown(), Lines({"Трансляция схемы main прошла успешно.\nОбнаружены предупреждения\nПросмотреть результаты?"_a}));
        EXPECT_EQ(ui.Calls.back().type, mtWarning);
        Lines kept = FileLines(LogFile());
        EXPECT_NE(std::find(kept.begin(), kept.end(), warning), kept.end());
        EXPECT_TRUE(Exists("Debumaintvca.dat"));
    }

    // Written earlier: the edge is seen, nothing is said.
    scheme = std::make_unique<TScheme>(&window);
    scheme->SetFileName(File("main.tvs"));
    TElement* cnt = Place(*scheme, scheme->CreateCounterElement(), "E", 300, 100, 2);
    TElement* w = Place(*scheme, scheme->CreateAndElement(), "W", 100, 300, 1);
    Wire(*scheme, w->GetOutput(0), cnt->GetInput(0));
    ui.Clear();
    EXPECT_TRUE(Translate());
    EXPECT_FALSE(log.HasWarnings);
    EXPECT_EQ(Shown(), Lines({"Трансляция схемы main прошла успешно."_a}));

    // A timer that starts itself from its own output: the element writes
    // the signal after reading it. Yes shows the log.
    scheme = std::make_unique<TScheme>(&window);
    scheme->SetFileName(File("main.tvs"));
    TElement* t = Place(*scheme, scheme->CreateTimerElement(), "T", 300, 100, 1);
    Wire(*scheme, t->GetOutput(0), t->GetInput(0));
    ui.Clear();
    ui.Answer(mrYes);
    EXPECT_TRUE(Translate());
    EXPECT_TRUE(LogHas("Схема main.tvs: элемент T, вход In: сигнал _var0 пишет только сам элемент T, поэтому "_a + edge +
                       ". Подайте сигнал на вход через элемент с номером меньше, чем у T."_a));
    ASSERT_EQ(ui.Calls.back().kind, TestUiPort::kViewTextFile);
    EXPECT_EQ(ui.Calls.back().text, LogFile());

    // A log that cannot be written when the run ends (a folder takes its
    // place as the progress hides): the box tells the success, the first
    // warning and the unwritten log, and offers nothing.
    struct LogTakenAtTheEnd : TProgressRecord {
        std::filesystem::path log;
        void HideProgress() override {
            TProgressRecord::HideProgress();
            if (!std::filesystem::is_regular_file(log)) return;
            std::filesystem::remove(log);
            std::filesystem::create_directory(log);
        }
    } progress;
    progress.log = dir.Path() / "Debuerr.log";
    TranslatorHooks().Progress = &progress;
    ui.Clear();
    EXPECT_TRUE(Translate());
    TranslatorHooks().Progress = nullptr;
    EXPECT_TRUE(std::filesystem::is_directory(progress.log));
    EXPECT_EQ(Shown(), Lines({"Трансляция схемы main прошла успешно.\nОбнаружены предупреждения\nСхема main.tvs: элемент T, "
                              "вход In: сигнал _var0 пишет только сам элемент T, поэтому "_a +
                              edge + ". Подайте сигнал на вход через элемент с номером меньше, чем у T."_a +
                              "\nФайл сообщений "_a + LogFile() + " не записан."_a}));
    EXPECT_EQ(ui.Calls[0].type, mtWarning);
    EXPECT_EQ(ui.Calls[0].buttons, mbOKOnly);
    EXPECT_EQ(Views(), 0);
}

// The run's files carry the scheme's base name: a scheme without one (an
// untitled window, a file named ".tvs") would write over the project's own
// work files and debugging copy, so it is not run at all.
TEST_F(SchemeRun, ANullOrNamelessSchemeDoesNothing) {
    EXPECT_FALSE(log.TranslateScheme(Dir(), LogFile(), nullptr));
    EXPECT_FALSE(log.TranslateCase(Dir(), LogFile(), nullptr));
    for (const AnsiString& name : {AnsiString(), File(".tvs")}) {
        SCOPED_TRACE(AnsiToUtf8(name));
        BuildAnd(name);
        EXPECT_FALSE(Translate());
        EXPECT_FALSE(log.TranslateCase(Dir(), LogFile(), scheme.get()));
    }
    EXPECT_TRUE(ui.Calls.empty());
    EXPECT_EQ(library.GenerateCount(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

} // namespace
