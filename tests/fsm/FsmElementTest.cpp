// The scheme's state-machine element with the state-machine services
// installed: pins from the file, the table inside the element's block.

#include <gtest/gtest.h>

#include "FsmTestSupport.h"
#include "common/Printers.h"
#include "common/TestEnv.h"
#include "fsm/FsmServices.h"
#include "model/FSM.h"
#include "model/ModelTestSupport.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

TEST(FsmServices, TheSchemesElementTakesItsPinsAndTableFromTheFile) {
    TestUiPort ui;
    InstallFsmServices();
    {
        TFSMScheme doc;
        doc.SetFileName("lift.fsm");
        BuildExample(doc);
        ASSERT_TRUE(doc.SaveToFile());
    } // in the current folder, where an element without a scheme looks
    {
        TFSM element(nullptr);
        element.LoadPinsFromFile("lift.fsm");
        EXPECT_EQ(element.InputCount(), 2);
        EXPECT_EQ(element.OutputCount(), 1);
        TStringList in, out;
        element.PinNames(&in, &out);
        EXPECT_EQ(in.Get(1), "Стоп"_a);
        TStringList lines;
        element.Translate(&lines);
        const std::vector<std::string> got = Lines(lines);
        // Header, two input pins, one output pin, the table, the closing empty line.
        ASSERT_EQ(got.size(), 1u + 3 + 7 + 1);
        EXPECT_EQ(got[0].substr(0, 4), "FSM ");
        EXPECT_EQ(got[1][0], '%');
        EXPECT_NE(got[3].find(" out"), std::string::npos);
        EXPECT_EQ(std::vector<std::string>(got.begin() + 4, got.begin() + 11), ExampleLines());
        EXPECT_EQ(got.back(), "");

        // The element's names go back into the file when the counts agree...
        EXPECT_TRUE(element.SavePinsToFile("lift.fsm"));
        EXPECT_TRUE(ui.Messages().empty());
        // ...and an element of other counts writes nothing.
        TFSM other(nullptr);
        const std::string before = testenv::ReadBytes("lift.fsm");
        EXPECT_FALSE(other.SavePinsToFile("lift.fsm"));
        EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"Несовпадение количества входных сигналов в схеме и элементе!"_a});
        EXPECT_EQ(testenv::ReadBytes("lift.fsm"), before);
    }
    ModelHooks().Fsm = nullptr;
}

// A garage door: S1 (stopped, "00") goes to S2 (opening, "10") on OPEN and
// back on CLOSE, both while RST is 0; RST resets to S1. Any other inputs
// only stand in the conditions as X.
void SaveDoor(const AnsiString& file, const std::vector<AnsiString>& inputs) {
    auto cond = [&](std::initializer_list<std::pair<const char*, char>> values) {
        AnsiString c = AnsiString::StringOfChar('X', int(inputs.size()));
        for (const auto& [name, value] : values)
            for (std::size_t i = 0; i < inputs.size(); ++i)
                if (inputs[i] == name)
                    c[int(i) + 1] = value;
        return c;
    };
    TFSMScheme doc;
    doc.SetFileName(file);
    SetSignals(doc, inputs, {"UP", "DOWN"});
    TfsmElement* s1 = AddState(doc, 150, 150, "S1", "00");
    AddState(doc, 400, 150, "S2", "10");
    AddTransition(doc, 150, 40, 150, 150, cond({}).c_str());
    AddReset(doc, 40, 150, s1, cond({{"RST", '1'}}).c_str());
    TfsmLink* open = doc.CreateTransition4(150, 150, 230, 100, 320, 100, 400, 150);
    open->EndDrag();
    doc.CreateTransitionCondition(open)->SetText(cond({{"OPEN", '1'}, {"RST", '0'}}));
    open->EndDrag();
    TfsmLink* close = doc.CreateTransition4(400, 150, 320, 220, 230, 220, 150, 150);
    close->EndDrag();
    doc.CreateTransitionCondition(close)->SetText(cond({{"CLOSE", '1'}, {"RST", '0'}}));
    close->EndDrag();
    ASSERT_TRUE(doc.SaveToFile());
}

const std::vector<AnsiString> kDoor = {"OPEN", "CLOSE", "STOP", "OBST", "RST"};

// The symbol action dialog answering "Обновить (считать символ из файла)".
class RefreshChoice : public IPropertyDialogs {
public:
    RefreshChoice() : previous_(ModelHooks().Dialogs) { ModelHooks().Dialogs = this; }
    ~RefreshChoice() override { ModelHooks().Dialogs = previous_; }
    int Run(TPropertyDialog, TEntity*) override { return mrOk; }
    void Store(TPropertyDialog, TEntity*) override {}
    int SymbolActionChoice() override { return 0; }

private:
    IPropertyDialogs* previous_;
};

// The door's element in a scheme, each input wired to a driver pin named
// after it, 60 to the left.
class DoorScheme : public ::testing::Test {
protected:
    void SetUp() override {
        InstallFsmServices();
        SaveDoor(File(), kDoor);
        scheme.SetFileName(dir.File("door.tvs"));
        machine = scheme.CreateFSM();
        machine->SetName("M1");
        machine->SetX(300);
        machine->SetY(100);
        machine->LoadPinsFromFile(File());
        scheme.AttachElement(machine);
        for (int i = 0; i < machine->InputCount(); ++i) {
            TInOut* pin = machine->GetInput(i);
            drivers.push_back(modeltest::DriverAt(scheme, "X_" + pin->Name(), pin->TipX() - 60, pin->TipY()));
            modeltest::WireFrom(scheme, pin, pin->TipX() - 60, pin->TipY());
        }
    }
    void TearDown() override { ModelHooks().Fsm = nullptr; }
    AnsiString File() const { return dir.File("door.fsm"); }
    // The signal on each input pin, in pin order, as "pin=signal".
    std::vector<AnsiString> Inputs() const {
        std::vector<AnsiString> out;
        for (int i = 0; i < machine->InputCount(); ++i)
            out.push_back(machine->GetInput(i)->Name() + "=" + machine->GetInput(i)->SignalName());
        return out;
    }
    // Whether the driver pin still reaches a pin of the element.
    bool Reaches(TDriver* d) const {
        TNet* net = d->Terminal()->Net();
        if (!net)
            return false;
        for (TInOut* p : net->Pins)
            if (p->Element() == machine)
                return true;
        return false;
    }

    testenv::TempDir dir;
    TestUiPort ui;
    TScheme scheme;
    TFSM* machine = nullptr;
    std::vector<TDriver*> drivers;
};

// Pins that are not the file's signals would put the table's conditions on
// the wrong wires: the translation refuses with an error naming both.
TEST_F(DoorScheme, PinsThatAreNotTheFilesSignalsAreATranslationError) {
    ASSERT_EQ(Inputs(), (std::vector<AnsiString>{"OPEN=X_OPEN", "CLOSE=X_CLOSE", "STOP=X_STOP", "OBST=X_OBST", "RST=X_RST"}));
    struct Case {
        const char* what;
        std::vector<AnsiString> inputs;
        AnsiString difference; // empty: translated
    };
    const Case cases[] = {
        {"as placed", kDoor, ""},
        {"a signal removed", {"OPEN", "CLOSE", "OBST", "RST"}, "входов 5, в файле 4"_a},
        {"a signal added", {"OPEN", "CLOSE", "STOP", "OBST", "RST", "LIGHT"}, "входов 5, в файле 6"_a},
        {"two signals swapped", {"OPEN", "CLOSE", "OBST", "STOP", "RST"}, "вход 3 STOP, в файле OBST"_a},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SaveDoor(File(), c.inputs);
        modeltest::ErrorLog log;
        const std::vector<AnsiString> lines = modeltest::Translated(machine);
        if (c.difference.IsEmpty()) {
            EXPECT_TRUE(log.errors.empty());
            ASSERT_GT(lines.size(), 6u);
            EXPECT_EQ(lines[0], "M1 fsm");
            EXPECT_EQ(lines[3], TElement::PinLine("X_STOP", false, false));
            continue;
        }
        EXPECT_EQ(log.errors, std::vector<AnsiString>{"Выводы элемента M1 не совпадают с сигналами машины состояний "_a +
                                                      File() + " ("_a + c.difference + ")"});
        EXPECT_TRUE(lines.empty()) << "no block with the wrong wiring";
    }
    EXPECT_TRUE(ui.Messages().empty());
}

// "Обновить (считать символ из файла)" after STOP left the file: every wire
// stays with the signal of its pin's name; STOP's wire is left unconnected
// (it lay where OBST's pin now is) and the user is told.
TEST_F(DoorScheme, ARefreshKeepsEachWireOnThePinOfItsName) {
    SaveDoor(File(), {"OPEN", "CLOSE", "OBST", "RST"});
    {
        RefreshChoice dialogs;
        modeltest::FakeFrame frame;
        frame.askAnswer = File();
        scheme.AddToSelection(machine, true);
        scheme.EditSelectionProperties();
    }
    EXPECT_EQ(Inputs(), (std::vector<AnsiString>{"OPEN=X_OPEN", "CLOSE=X_CLOSE", "OBST=X_OBST", "RST=X_RST"}));
    EXPECT_FALSE(Reaches(drivers[2]));
    EXPECT_TRUE(Reaches(drivers[3]));
    EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"В файле "_a + File() +
                                                     " больше нет сигналов STOP элемента M1: их провода оставлены неподключёнными."_a});
    EXPECT_TRUE(scheme.IsModified());
    // The element now translates with the file's table.
    modeltest::ErrorLog log;
    const std::vector<AnsiString> lines = modeltest::Translated(machine);
    EXPECT_TRUE(log.errors.empty());
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines[3], TElement::PinLine("X_OBST", false, false));
    EXPECT_EQ(lines[4], TElement::PinLine("X_RST", false, false));
    // Refreshed again from the same file, nothing moves and nothing is said.
    ui.Clear();
    const std::string before = scheme.SaveToBytes();
    {
        RefreshChoice dialogs;
        modeltest::FakeFrame frame;
        frame.askAnswer = File();
        scheme.EditSelectionProperties();
    }
    EXPECT_EQ(scheme.SaveToBytes(), before);
    EXPECT_TRUE(ui.Messages().empty());
}

} // namespace
