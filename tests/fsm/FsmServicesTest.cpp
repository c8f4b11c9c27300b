// What the scheme's state-machine element gets from a ".fsm" file: its signal
// names, the element's names written back, and the transition table.

#include <gtest/gtest.h>

#include "FsmTestSupport.h"
#include "common/TestEnv.h"
#include "fsm/FsmServices.h"
#include "platform/FileIO.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

void PutI32(std::string& b, std::size_t off, int32_t v) {
    for (int i = 0; i < 4; ++i) b[off + std::size_t(i)] = char(uint8_t(uint32_t(v) >> (8 * i)));
}

AnsiString SaveExample(const AnsiString& name) {
    TFSMScheme doc;
    doc.SetFileName(name);
    BuildExample(doc);
    EXPECT_TRUE(doc.SaveToFile());
    return name;
}

std::unique_ptr<TStringList> List(std::initializer_list<AnsiString> names) {
    auto l = std::make_unique<TStringList>();
    for (const AnsiString& n : names) l->Add(n);
    return l;
}

TEST(FsmServices, ReadsTheSignalNamesOfAFile) {
    testenv::TempDir dir;
    TestUiPort ui;
    TFsmServices services;
    const AnsiString name = SaveExample(dir.File("a.fsm"));
    TStringList in, out;
    ASSERT_TRUE(services.ReadPins(name, &in, &out));
    EXPECT_EQ(Lines(in), (std::vector<std::string>{("Пуск"_a).str(), ("Стоп"_a).str()}));
    EXPECT_EQ(Lines(out), (std::vector<std::string>{("Мотор"_a).str()}));
    // Missing and refused files give nothing, silently.
    EXPECT_FALSE(services.ReadPins(dir.File("нет.fsm"_a), &in, &out));
    std::string bytes = testenv::ReadBytes(ToFsPath(name));
    bytes[52] = 0;
    testenv::WriteBytes(ToFsPath(dir.File("b.fsm")), bytes);
    EXPECT_FALSE(services.ReadPins(dir.File("b.fsm"), &in, &out));
    EXPECT_EQ(in.Count(), 2);
    EXPECT_TRUE(ui.Messages().empty());
}

// Sound behaviour 7.
TEST(FsmServices, WritesNamesBackOnlyWhenTheCountsAgree) {
    testenv::TempDir dir;
    TestUiPort ui;
    TFsmServices services;
    const AnsiString name = SaveExample(dir.File("a.fsm"));
    const std::string before = testenv::ReadBytes(ToFsPath(name));

    auto in = List({"Вход1"_a, AnsiString::StringOfChar('w', 30)}), out = List({"Выход"_a});
    ASSERT_TRUE(services.WritePins(name, in.get(), out.get()));
    const std::string after = testenv::ReadBytes(ToFsPath(name));
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, 228), before.substr(0, 228));
    EXPECT_EQ(after.substr(291), before.substr(291)); // every record where it was
    EXPECT_EQ(uint8_t(after[228 + 21]), 20);          // a long name is cut to 20
    TFSMScheme doc;
    doc.SetFileName(name);
    ASSERT_TRUE(doc.LoadFromFile());
    EXPECT_EQ(doc.InputNames().Get(0), "Вход1"_a);
    EXPECT_EQ(doc.OutputNames().Get(0), "Выход"_a);
    EXPECT_EQ(doc.Entities().size(), 12u);
    EXPECT_TRUE(ui.Messages().empty());

    struct Case {
        std::unique_ptr<TStringList> in, out;
        const char* message;
    };
    Case cases[] = {{List({"a"}), List({"y"}), "Несовпадение количества входных сигналов в схеме и элементе!"},
                    {List({"a", "b", "c"}), List({"y"}), "Несовпадение количества входных сигналов в схеме и элементе!"},
                    {List({"a", "b"}), List({}), "Несовпадение количества выходных сигналов в схеме и элементе!"},
                    {List({"a", "b"}), List({"y", "z"}), "Несовпадение количества выходных сигналов в схеме и элементе!"}};
    for (Case& c : cases) {
        ui.Clear();
        EXPECT_FALSE(services.WritePins(name, c.in.get(), c.out.get()));
        EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{Utf8ToAnsi(c.message)});
        EXPECT_EQ(testenv::ReadBytes(ToFsPath(name)), after); // nothing written
    }
    // A refused file is not touched either.
    ui.Clear();
    std::string old = before;
    PutI32(old, 44, 2);
    testenv::WriteBytes(ToFsPath(name), old);
    EXPECT_FALSE(services.WritePins(name, in.get(), out.get()));
    EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"Предыдущие версии файлов не поддерживаются"_a});
    EXPECT_EQ(testenv::ReadBytes(ToFsPath(name)), old);
}

// Sound behaviour 8: every way the table can be missing answers false, so the
// element reports the failure to the translator.
TEST(FsmServices, TheTableIsAppendedOnlyForAValidMachine) {
    testenv::TempDir dir;
    TestUiPort ui;
    TFsmServices services;
    TStringList lines;
    EXPECT_FALSE(services.AppendTransitionTable(dir.File("нет.fsm"_a), &lines));
    EXPECT_TRUE(ui.Messages().empty());

    const AnsiString name = SaveExample(dir.File("a.fsm"));
    std::string bytes = testenv::ReadBytes(ToFsPath(name));
    PutI32(bytes, 44, 8);
    testenv::WriteBytes(ToFsPath(dir.File("new.fsm")), bytes);
    EXPECT_FALSE(services.AppendTransitionTable(dir.File("new.fsm"), &lines));
    EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"Старая версия файла"_a});

    ui.Clear();
    {
        TFSMScheme doc;
        doc.SetFileName(dir.File("bad.fsm"));
        Example e = BuildExample(doc);
        e.S2->GetCondition()->SetText("11");
        ASSERT_TRUE(doc.SaveToFile());
    }
    EXPECT_FALSE(services.AppendTransitionTable(dir.File("bad.fsm"), &lines));
    EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{" неправильная длина выходного значения "_a});
    EXPECT_EQ(lines.Count(), 0);

    EXPECT_TRUE(services.AppendTransitionTable(name, &lines));
    EXPECT_EQ(Lines(lines), ExampleLines());
}

} // namespace
