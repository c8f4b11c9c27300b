// The frame's cross-scheme services.
#include "app/AppTest.h"

#include "debugger/ui/Debuginf.h"
#include "debugger/ui/InpOutp.h"
#include "document/DriversInfo.h"
#include "document/Project.h"
#include "editor/ElementDlg.h"
#include "editor/Unit5.h"
#include "editor/Unit9.h"
#include "editor/connectChains.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "translator/Logfile.h"

namespace {

using Services = FrameTest;

TEST_F(Services, ActivateSchemeWindowMatchesBareOrFullNamesNeverAnEmptyOne) {
    ASSERT_TRUE(CreateDir(dir.File("one")) && CreateDir(dir.File("two")));
    TTestSchemeChild* first = OpenScheme(dir.File("one/pump.tvs"));
    TTestSchemeChild* second = OpenScheme(dir.File("two/pump.tvs"));
    OpenScheme(dir.File("copy.tvt")); // untitled: never matched
    OpenFsm(dir.File("pump.fsm"));
    struct Case {
        AnsiString name;
        bool found;
        TForm* active;
    };
    const Case cases[] = {
        {dir.File("one/pump.tvs"), true, first},
        {dir.File("two/pump.tvs"), true, second},
        // The bare name: the first in child order, which is the one in front.
        {"pump.tvs", true, second},
        {"pump.fsm", false, second},
        {"", false, second},
        {"PUMP.TVS", false, second},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frame->ActivateSchemeWindow(c.name), c.found) << c.name.c_str();
        Application->ProcessMessages();
        EXPECT_EQ(frame->ActiveMDIChild(), c.active) << c.name.c_str();
    }
}

TEST_F(Services, AskFileNameOffersStateMachinesAndComesBackToFilterOne) {
    std::vector<int> filters;
    port.OnFileDialog = [&](FileDialogRequest& r) {
        filters.push_back(r.FilterIndex);
        EXPECT_EQ(r.FileName, AnsiString("a.fsm"));
        return false;
    };
    EXPECT_EQ(frame->AskFileName("a.fsm"), AnsiString("a.fsm"));
    EXPECT_EQ(frame->OpenDialog->FilterIndex, 1);
    port.OnFileDialog = [&](FileDialogRequest& r) {
        filters.push_back(r.FilterIndex);
        r.FileName = "/w/b.fsm";
        return true;
    };
    EXPECT_EQ(frame->AskFileName("a.fsm"), AnsiString("/w/b.fsm"));
    EXPECT_EQ(frame->OpenDialog->FilterIndex, 1);
    EXPECT_EQ(filters, (std::vector<int>{5, 5}));
}

TEST_F(Services, CheckFSMPinsComparesInputsFirstAndGivesTheNamesWhenTheyAgree) {
    TTestFsmChild* fsm = OpenFsm(dir.File("m.fsm"));
    fsm->FsmDocument()->SetInputCount(2);
    fsm->FsmDocument()->SetOutputCount(1);
    TStringList in3, in2, out1, out2;
    for (const char* n : {"a", "b", "c"}) in3.Add(n);
    for (const char* n : {"x1", "x2"}) in2.Add(n);
    out1.Add("y");
    out2.Add("y1");
    out2.Add("y2");
    struct Case {
        TStrings* in;
        TStrings* out;
        std::vector<AnsiString> messages;
    };
    const Case cases[] = {
        {&in3, &out2, {"Несовпадение количества входных сигналов в схеме и элементе!"_a}},
        {&in2, &out2, {"Несовпадение количества выходных сигналов в схеме и элементе!"_a}},
        {&in2, &out1, {}},
    };
    for (const Case& c : cases) {
        port.Clear();
        frame->CheckFSMPins("", c.in, c.out);
        EXPECT_EQ(port.Messages(), c.messages);
    }
    EXPECT_EQ(fsm->FsmDocument()->InputNames().Text(), AnsiString("x1\r\nx2\r\n"));
    EXPECT_EQ(fsm->FsmDocument()->OutputNames().Text(), AnsiString("y\r\n"));
    // Not a state-machine window in front: nothing.
    OpenScheme(dir.File("s.tvs"));
    port.Clear();
    frame->CheckFSMPins("", &in3, &out2);
    EXPECT_TRUE(port.Messages().empty());
}

TEST_F(Services, ProjectListsAndSchemeElements) {
    TStringList list;
    list.Add("kept");
    EXPECT_TRUE(frame->ListProjectFiles("", &list));
    EXPECT_EQ(list.Text(), AnsiString("kept\r\n")) << "without a project nothing is added";
    EXPECT_TRUE(frame->ListSchemeElements("a.tvs", &list));
    EXPECT_EQ(list.Count(), 1);
    WriteScheme(dir.File("a.tvs"), {"Пуск"_a, "Стоп"_a});
    OpenProjectOf({"a.tvs", "b.tvs"});
    EXPECT_TRUE(frame->ListProjectFiles("ignored", &list));
    EXPECT_EQ(list.Text(), AnsiString("kept\r\na.tvs\r\nb.tvs\r\n"));
    list.Clear();
    EXPECT_TRUE(frame->ListSchemeElements("a.tvs", &list));
    EXPECT_EQ(list.Text(), "Пуск\r\nСтоп\r\n"_a);
    EXPECT_TRUE(frame->ListSchemeElements("b.tvs", &list)) << "a missing file is an empty scheme";
    EXPECT_TRUE(frame->ListSchemeElements("nowhere.tvs", &list));
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(Services, ResolveGotoTargetLooksTheTargetUpAndLogsEveryMessage) {
    WriteScheme(dir.File("t.tvs"), {"B", "A", "C"}, {2, 1, 3});
    WriteScheme(dir.File("gap.tvs"), {"A", "B"}, {1, 3});
    WriteScheme(dir.File("empty.tvs"), {});
    OpenProjectOf({"t.tvs", "gap.tvs", "empty.tvs"});
    struct Case {
        const char* scheme;
        const char* target;
        bool shown;
        const char* resolved;
        const char* logged;
    };
    const Case cases[] = {
        {"t.tvs", "", false, "A", nullptr},   // the first element in processing order
        {"t.tvs", "C", false, "C", nullptr},  // a named element that exists
        {"t.tvs", "Z", true, "Z", "В элементе J1 схемы src.tvs переход на неизвестный элемент Z схемы t.tvs"},
        {"gap.tvs", "", true, "",
         "Схема gap.tvs не упорядочена! \n Невозможно определить элемент для перехода J1 на схеме src.tvs"},
        {"empty.tvs", "", true, "", "В элементе J1 схемы src.tvs переход на неизвестный элемент  схемы empty.tvs"},
        {"absent.tvs", "", true, "", "В элементе J1 схемы src.tvs переход на неизвестный элемент  схемы absent.tvs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scheme);
        frame->LogFile->Messages.Clear();
        frame->LogFile->ErrorCount = 0;
        AnsiString target = c.target;
        EXPECT_EQ(frame->ResolveGotoTarget("src.tvs", c.scheme, 0, "J1", target), c.shown);
        EXPECT_EQ(target, AnsiString(c.resolved));
        if (c.logged) {
            EXPECT_EQ(frame->LogFile->Messages.Count(), 1);
            EXPECT_EQ(frame->LogFile->Messages.Text(), Utf8ToAnsi(c.logged) + "\r\n");
            EXPECT_EQ(frame->LogFile->ErrorCount, 1);
        } else {
            EXPECT_EQ(frame->LogFile->ErrorCount, 0);
        }
    }
    EXPECT_TRUE(port.Messages().empty()) << "nothing is shown in boxes";
}

TEST_F(Services, MakeProjectPathPrefixesRelativeNamesOnly) {
    const AnsiString cwd = GetCurrentDir();
    EXPECT_EQ(frame->MakeProjectPath("m.fsm"), PathJoin(cwd, "m.fsm"));
    EXPECT_EQ(frame->MakeProjectPath("/abs/m.fsm"), AnsiString("/abs/m.fsm"));
    EXPECT_EQ(frame->MakeProjectPath("C:\\w\\m.fsm"), AnsiString("C:\\w\\m.fsm"));
    OpenProjectOf({});
    EXPECT_EQ(frame->MakeProjectPath("m.fsm"), dir.File("m.fsm"));
    EXPECT_EQ(frame->MakeProjectPath("sub/m.fsm"), dir.File("sub/m.fsm"));
    EXPECT_EQ(frame->MakeProjectPath("/abs/m.fsm"), AnsiString("/abs/m.fsm"));
}

TEST_F(Services, TheModelReachesTheFrameThroughItsHooks) {
    IFrameServices* services = ModelHooks().Frame;
    ASSERT_NE(services, nullptr);
    services->OpenSchemeWindow(dir.File("a.tvs"));
    services->OpenFSMWindow(dir.File("m.fsm"));
    Application->ProcessMessages();
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(services->MakeProjectPath("x.fsm"), frame->MakeProjectPath("x.fsm"));
    // The chain-join question is the join dialog's.
    AnsiString joined;
    ModalScript script;
    script.On(fmConnect, [] { fmConnect->BitBtn2->Click(); });
    EXPECT_FALSE(services->AskJoinChains("a", "b", joined));
    // The side of an internal signal is the debugger's question.
    script.On(fmIO, [] { fmIO->Close(); });
    EXPECT_EQ(services->AskSignalDirection("c"), -1);
    script.On(fmIO, [] {
        fmIO->rgIO->SetItemIndex(1);
        fmIO->BitBtn1->Click();
    });
    EXPECT_EQ(services->AskSignalDirection("Stop"), 1);
    EXPECT_EQ(fmIO->Caption(), "Stop");
    EXPECT_EQ(script.unscripted, 0);
}

TEST_F(Services, ThePropertyDialogsAndTheStateMachineFilesAreInstalledWhileTheFrameLives) {
    ASSERT_NE(ModelHooks().Dialogs, nullptr);
    EXPECT_NE(ModelHooks().Fsm, nullptr) << "a state machine's pins go back into its file";
    TScheme doc;
    TElement* e = doc.CreateAndElement();
    ModalScript script;
    script.On(Form4, [] { Form4->Button2->Click(); });
    EXPECT_FALSE(e->Properties());
    EXPECT_EQ(script.shown[Form4], 1) << "the generic dialog is made at start-up";
    frame->DoDestroy();
    EXPECT_EQ(ModelHooks().Dialogs, nullptr);
    EXPECT_EQ(ModelHooks().Frame, nullptr);
}

// "В отладчик" of the pin and connector dialogs reaches the program's
// debugger through the frame; a connector asks for its side first.
TEST_F(Services, ToTheDebuggerPutsTheSignalAmongTheWanted) {
    TDriversInfo& table = DriversInUse();
    table.AddDriverType("DI", 3);
    _drv d;
    d.Name = "D2";
    d.Type = 0;
    d.BitCount = 8;
    d.Direction = 1;
    table.AddDriver(d);
    table.AddBit("Y1", "D2", 0, "");
    table.AddVarBit("c1", "");
    fmRun->Wanted.Clear();
    TScheme doc;
    TDriver* pin = doc.CreateDriver();
    TVarDriver* connector = doc.CreateVarDriver();
    connector->SetName("c1");
    ModalScript script;
    script.On(Form5, [] {
        Form5->NameEdit->SetText("Y1");
        Form5->NameEditChange(nullptr);
        Form5->btAddToDebug->Click();
    });
    EXPECT_TRUE(pin->Properties());
    script.On(Form9, [] { Form9->btAddToDebug->Click(); });
    script.On(fmIO, [] {
        fmIO->rgIO->SetItemIndex(1);
        fmIO->BitBtn1->Click();
    });
    EXPECT_TRUE(connector->Properties());
    EXPECT_EQ(script.unscripted, 0);
    EXPECT_EQ(fmRun->Wanted.Lines().Text(), AnsiString("Y1=1\r\nc1=1\r\n"));
    table.Clear();
}

} // namespace
