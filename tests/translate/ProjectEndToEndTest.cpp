// The two-scheme project of TwoSchemeWork from documents built in code: the
// signal table, schemes s1 and s2 saved as scheme files, the project; the
// translator's project run with the real translation library; the data files
// it leaves loaded and run on the emulator and through vacrun.
#include "SampleProject.h"
#include "TranslateTestSupport.h"
#include "debugger/Vac.h"
#include "document/DriverTableAdapter.h"
#include "translator/SchemeBuild.h"
#include "translator/TranslatorTestSupport.h"

namespace {

using namespace trtest;

class ProjectEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = SetDriversInUse(&table);
        FillTable();
    }
    void TearDown() override { SetDriversInUse(previous_); }

    void FillTable() {
        AnsiString error;
        ASSERT_TRUE(sample::FillTable(table, error)) << AnsiToUtf8(error);
    }
    TProject& MakeProject(int32_t convert) {
        EXPECT_TRUE(sample::WriteSchemes(dir.File(""), false));
        project = std::make_unique<TProject>(nullptr);
        project->SetFileName(dir.File("p.tvp"));
        EXPECT_TRUE(project->AddFile(dir.File("s1.tvs")));
        EXPECT_TRUE(project->AddFile(dir.File("s2.tvs")));
        project->Convert = convert;
        return *project;
    }

    std::string Bytes(const char* name) const { return testenv::ReadBytes(dir.Path() / name); }
    bool Exists(const char* name) const { return std::filesystem::exists(dir.Path() / name); }

    HeadlessTranslator headless;
    TestUiPort ui;
    testenv::TempDir dir;
    TDriversInfo table;
    TLogFile log;
    std::unique_ptr<TProject> project;

private:
    TDriversInfo* previous_ = nullptr;
};

TEST_F(ProjectEndToEndTest, TheProjectRunWritesWhatTheEmulatorRunsAsDrawn) {
    log.TranslateProject(&MakeProject(0));
    EXPECT_EQ(log.ErrorCount, 0) << AnsiToUtf8(log.Messages.Text());
    EXPECT_FALSE(log.HasWarnings);
    EXPECT_EQ(ui.Messages(), Lines({"Трансляция прошла успешно."_a}));

    // The five work files, exactly those the library's own tests write by hand.
    const Work work = TwoSchemeWork();
    EXPECT_EQ(FileLines(dir.File("1.$$$")), work.Types);
    EXPECT_EQ(FileLines(dir.File("2.$$$")), work.Drivers);
    EXPECT_EQ(FileLines(dir.File("3.$$$")), work.Signals);
    EXPECT_EQ(FileLines(dir.File("4.$$$")), work.Elements);
    EXPECT_EQ(FileLines(dir.File("5.$$$")), work.Comments);

    // The library added nothing to the log, which ends with the success line
    // (Latin T), in the list and in the log file alike.
    const Lines messages = ToLines(log.Messages);
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[messages.size() - 2], "Трансляция..."_a);
    EXPECT_EQ(messages.back(), AnsiString("T") + "рансляция Ок"_a);
    EXPECT_EQ(FileLines(dir.File("err.log")), messages);

    // Both data files: the same driver records, code and closing word; the
    // header differs in the copy flag and the name-section flag only, and only
    // the debugging copy has names.
    ASSERT_TRUE(Exists("tvca.dat"));
    ASSERT_TRUE(Exists("Debutvca.dat"));
    const std::string controller = Bytes("tvca.dat"), debugging = Bytes("Debutvca.dat");
    DebugDataFile c, d;
    ASSERT_EQ(ReadDebugDataFile(controller, c), kLoadOk);
    ASSERT_EQ(ReadDebugDataFile(debugging, d), kLoadOk);
    EXPECT_EQ(c.Code, d.Code);
    EXPECT_FALSE(c.HasNames);
    EXPECT_TRUE(d.HasNames);
    const std::size_t body =
        std::size_t(DebugDataHeader::kSize + DebugDriverRecord::kSize * (c.InputDrivers.size() + c.OutputDrivers.size()) +
                    c.Header.CodeSize + 4);
    ASSERT_EQ(controller.size(), body);
    ASSERT_GT(debugging.size(), body);
    EXPECT_EQ(controller.substr(DebugDataHeader::kSize, body - DebugDataHeader::kSize),
              debugging.substr(DebugDataHeader::kSize, body - DebugDataHeader::kSize));
    std::string headers[2] = {controller.substr(0, DebugDataHeader::kSize), debugging.substr(0, DebugDataHeader::kSize)};
    for (std::string& h : headers)
        h[14] = h[24] = 0;
    EXPECT_EQ(headers[0], headers[1]);
    EXPECT_EQ(controller[14], 1); // the controller data file
    EXPECT_EQ(debugging[14], 0);
    EXPECT_EQ(controller[24], 0);
    EXPECT_NE(debugging[24], 0);
    EXPECT_EQ(controller[10], 1); // one iteration, the project's count
    EXPECT_EQ(c.Header.TimerCount, 1);
    EXPECT_EQ(c.Header.RecordCount, 3);

    // The emulator, with the signal table as its driver table: the drivers
    // are named, the pins belong to them with their comments, and the
    // program runs as the schemes were drawn.
    const TDriverTableAdapter drivers(&table);
    TVAC vac(nullptr, &drivers);
    vac.FileName = dir.File("Debutvca.dat");
    ASSERT_EQ(vac.Load(), kLoadOk);
    ASSERT_EQ(vac.Drivers().size(), 3u);
    EXPECT_EQ(vac.Drivers()[1].Name, "DI");
    EXPECT_EQ(vac.Drivers()[1].Side, 0);
    EXPECT_EQ(vac.Drivers()[2].Name, "DO");
    EXPECT_EQ(vac.Drivers()[2].Side, 1);
    const struct {
        const char* name;
        int driver, offset, bit;
        AnsiString comment;
    } pins[] = {{"A", 1, 0, 0, "Кнопка A"_a}, {"B", 1, 0, 1, "Кнопка B"_a}, {"Y", 2, 0, 0, "Лампа Y"_a},
                {"Z", 2, 0, 1, "Лампа Z"_a},
                // the first internal bit after "_null_in_" and "_null_out_", in no driver's area
                {"X", 0, 0, 2, "Связь s1 - s2"_a}};
    for (const auto& p : pins) {
        SCOPED_TRACE(p.name);
        const SignalsStr* s = FindSignal(vac, p.name);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->DriverIndex, p.driver);
        EXPECT_EQ(s->Offset, p.offset);
        EXPECT_EQ(s->Bit, p.bit);
        EXPECT_EQ(s->Comment, p.comment);
    }
    CheckTwoSchemeRun(vac);
    CheckTwoSchemeVacrun(dir, dir.File("Debutvca.dat"));
}

TEST_F(ProjectEndToEndTest, AConvertingRunChecksTheDataFileAndWritesTheSameFiles) {
    log.TranslateProject(&MakeProject(0));
    ASSERT_EQ(log.ErrorCount, 0) << AnsiToUtf8(log.Messages.Text());
    const std::string controller = Bytes("tvca.dat"), debugging = Bytes("Debutvca.dat");

    ui.Clear();
    log.TranslateProject(&MakeProject(1));
    EXPECT_EQ(log.ErrorCount, 0) << AnsiToUtf8(log.Messages.Text());
    EXPECT_EQ(ui.Messages(), Lines({"Трансляция прошла успешно."_a}));
    const Lines messages = ToLines(log.Messages);
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[messages.size() - 2], AnsiString("T") + "рансляция Ок"_a);
    EXPECT_EQ(messages.back(), "Конвертация Ок"_a);
    EXPECT_EQ(Bytes("tvca.dat"), controller);
    EXPECT_EQ(Bytes("Debutvca.dat"), debugging);
}

// A counter of 66 outputs and a commutator of 65, drawn with a connector on
// every pin: F8, then every output on the emulator as the elements give it.
TEST_F(ProjectEndToEndTest, AWideCounterAndAWideCommutatorDrawnRunWithEveryOutput) {
    TScheme scheme;
    TElement* counter = scheme.CreateCounterElement();
    counter->SetOutputCount(66);
    Place(scheme, counter, "CNT1", 100, 100, 1);
    DriverOn(scheme, "A", counter->GetInput(0));
    auto connector = [&](const AnsiString& name, TInOut* pin) {
        ASSERT_TRUE(table.AddVarBit(name, AnsiString()));
        DriverOn(scheme, name, pin, true);
    };
    for (int k = 0; k < 66; ++k) connector("C" + IntToStr(k), counter->GetOutput(k));
    TCommutatorElement* commut = scheme.CreateCommutatorElement();
    commut->SetPinCount(131);
    ASSERT_EQ(commut->Pairs(), 65);
    Place(scheme, commut, "COM1", 600, 100, 2);
    for (int k = 0; k < 65; ++k) {
        connector("GA" + IntToStr(k), commut->GetInput(k));
        connector("GB" + IntToStr(k), commut->GetInput(65 + k));
        connector("O" + IntToStr(k), commut->GetOutput(k));
    }
    DriverOn(scheme, "B", commut->GetInput(130));
    scheme.SetFileName(dir.File("wide.tvs"));
    ASSERT_TRUE(scheme.SaveToFile());
    ASSERT_TRUE(log.TranslateScheme(dir.File(""), dir.File("Debuerr.log"), &scheme))
        << AnsiToUtf8(log.Messages.Text());
    EXPECT_EQ(log.ErrorCount, 0);
    EXPECT_FALSE(log.HasWarnings);

    const TDriverTableAdapter drivers(&table);
    TVAC vac(nullptr, &drivers);
    vac.FileName = dir.File("Debuwidetvca.dat");
    ASSERT_EQ(vac.Load(), kLoadOk);
    auto bits = [&](const char* prefix, int n) {
        std::string v;
        for (int k = 0; k < n; ++k) v += char('0' + SignalBit(vac, (prefix + IntToStr(k)).c_str()));
        return v;
    };
    auto set = [&](const char* prefix, const std::string& v) {
        for (std::size_t k = 0; k < v.size(); ++k) SetSignal(vac, (prefix + IntToStr(int(k))).c_str(), v[k] - '0');
    };
    auto edge = [&] {
        SetSignal(vac, "A", 0);
        vac.Run();
        SetSignal(vac, "A", 1);
        vac.Run();
    };
    // Written first bit first: 2^64 - 1 + 2^65 counts to 2^64 + 2^65, then one more.
    set("C", std::string(64, '1') + "01");
    edge();
    EXPECT_EQ(bits("C", 66), std::string(64, '0') + "11");
    edge();
    EXPECT_EQ(bits("C", 66), "1" + std::string(63, '0') + "11");
    set("C", std::string(66, '1'));
    edge(); // the carry past the 66th output is lost
    EXPECT_EQ(bits("C", 66), std::string(66, '0'));

    std::string a, b;
    for (int k = 0; k < 65; ++k) {
        a += k % 3 == 1 || k == 64 ? '1' : '0';
        b += k % 2 ? '1' : '0';
    }
    set("GA", a);
    set("GB", b);
    SetSignal(vac, "B", 1);
    vac.Run();
    EXPECT_EQ(bits("O", 65), a);
    SetSignal(vac, "B", 0);
    vac.Run();
    EXPECT_EQ(bits("O", 65), b);
}

// A counter of A's edges drawn with three outputs and the middle one left
// open, lamps Y and Z on the others, and a gate with an open output of its
// own: F8 on the scheme, then five edges on the emulator count 1 to 5.
TEST_F(ProjectEndToEndTest, ACounterWithItsMiddleOutputOpenCountsFiveEdges) {
    TScheme scheme;
    TElement* counter = scheme.CreateCounterElement();
    counter->SetOutputCount(3);
    Place(scheme, counter, "CNT1", 100, 100, 1);
    DriverOn(scheme, "A", counter->GetInput(0));
    DriverOn(scheme, "Y", counter->GetOutput(0));
    DriverOn(scheme, "Z", counter->GetOutput(2));
    TElement* gate = Place(scheme, scheme.CreateOrElement(), "OR1", 300, 300, 2);
    DriverOn(scheme, "B", gate->GetInput(0));
    scheme.SetFileName(dir.File("count.tvs"));
    ASSERT_TRUE(scheme.SaveToFile());
    ASSERT_TRUE(log.TranslateScheme(dir.File(""), dir.File("Debuerr.log"), &scheme))
        << AnsiToUtf8(log.Messages.Text());
    EXPECT_EQ(log.ErrorCount, 0);

    const TDriverTableAdapter drivers(&table);
    TVAC vac(nullptr, &drivers);
    vac.FileName = dir.File("Debucounttvca.dat");
    ASSERT_EQ(vac.Load(), kLoadOk);
    std::string lamps;
    for (int edge = 1; edge <= 5; ++edge) {
        SetSignal(vac, "A", 0);
        vac.Run();
        SetSignal(vac, "A", 1);
        vac.Run();
        lamps += char('0' + SignalBit(vac, "Z"));
        lamps += char('0' + SignalBit(vac, "Y"));
        lamps += ' ';
    }
    EXPECT_EQ(lamps, "01 00 01 10 11 "); // 1, 2, 3, 4, 5 with the middle bit unseen
}

} // namespace
