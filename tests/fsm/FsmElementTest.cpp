// The scheme's state-machine element with the state-machine services
// installed: pins from the file, the table inside the element's block.

#include <gtest/gtest.h>

#include "FsmTestSupport.h"
#include "common/TestEnv.h"
#include "fsm/FsmServices.h"
#include "model/FSM.h"
#include "platform/TestUiPort.h"

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

} // namespace
