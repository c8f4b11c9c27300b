// Loading a debugging data file: result codes and messages, the name section,
// and the driver table and signal records that loading builds.
#include <filesystem>

#include "EmulatorTestSupport.h"
#include "platform/testing/TestUiPort.h"

namespace {

using namespace emutest;
using dbgfile::Builder;
using dbgfile::Op;

const AnsiString kNoFileText = " Нет файла данных для отладки.\n Запустите трансляцию (Ctrl+F9). "_a;

// A small program with drivers and names: c := a AND b.
Builder NamedProgram() {
    Builder b;
    b.Inputs.push_back({5, 0, 2});
    b.Outputs.push_back({6, 2, 1});
    b.And({Op(0, 0), Op(0, 1)}, {Op(2, 0)});
    b.AddName(Op(0, 0), "a", "вход a"_a);
    b.AddName(Op(0, 1), "b", "");
    b.AddName(Op(2, 0), "c", "выход c");
    return b;
}

TEST_F(EmulatorTest, MissingFileGivesSevenWithItsMessageAndNoCounterReset) {
    vac.FileName = dir.File("nothing.dat");
    EXPECT_EQ(vac.Load(), kLoadNoFile);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0], kNoFileText);
    EXPECT_EQ(host.Events, std::vector<std::string>{"msg"});
    EXPECT_FALSE(vac.Loaded());
    vac.FileName = AnsiString();
    EXPECT_EQ(vac.Load(), kLoadNoFile);
    EXPECT_EQ(host.Messages.size(), 2u);
}

TEST(EmulatorWithoutHost, MessagesGoToTheUserInterfacePort) {
    TestUiPort port;
    testenv::TempDir dir;
    TVAC vac;
    vac.FileName = dir.File("Debutvca.dat");
    EXPECT_EQ(vac.Load(), kLoadNoFile);
    ASSERT_EQ(port.Messages().size(), 1u);
    EXPECT_EQ(port.Messages()[0], kNoFileText);
    EXPECT_EQ(port.Calls[0].kind, TestUiPort::kShowMessage);
    // Running, ticking and forcing work without a host and exchange nothing.
    Builder b = NamedProgram();
    testenv::WriteBytes(ToFsPath(vac.FileName), b.Build());
    ASSERT_EQ(vac.Load(), kLoadOk);
    EXPECT_EQ(vac.AddForcedInput(2, 0, 0), 0);
    vac.SetBit(0, 0, 1);
    vac.SetBit(0, 1, 1);
    vac.Tick();
    vac.Run();
    EXPECT_TRUE(vac.GetBit(2, 0));
    EXPECT_EQ(vac.RunCount, 1);
    EXPECT_EQ(vac.TickCount, 1);
}

TEST_F(EmulatorTest, AFileThatCannotBeReadGivesThree) {
    std::filesystem::create_directory(ToFsPath(dir.File("Debutvca.dat")));
    vac.FileName = dir.File("Debutvca.dat");
    EXPECT_EQ(vac.Load(), kLoadCannotOpen);
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_FALSE(vac.Loaded());
    // The counters' texts are reset because the file exists.
    EXPECT_EQ(host.Events, (std::vector<std::string>{"runs 0", "ticks 0"}));
}

TEST_F(EmulatorTest, AGoodFileLoadsAndResetsCountersImagesAndForcedInputs) {
    Builder b = NamedProgram();
    LoadOk(b);
    vac.SetBit(0, 0, 1);
    vac.SetBit(0, 1, 1);
    vac.AddForcedInput(3072, 0, 0);
    vac.Run();
    vac.Tick();
    ASSERT_TRUE(vac.GetBit(2, 0));
    host.Events.clear();
    LoadOk(b);
    EXPECT_TRUE(vac.Loaded());
    EXPECT_EQ(host.Events, (std::vector<std::string>{"runs 0", "ticks 0"}));
    EXPECT_EQ(vac.RunCount, 0);
    EXPECT_EQ(vac.TickCount, 0);
    EXPECT_EQ(vac.ForcedInputCount(), 0);
    EXPECT_FALSE(vac.GetBit(2, 0));
    EXPECT_FALSE(vac.GetPreviousBit(2, 0));
    EXPECT_EQ(vac.Header().RecordCount, 1);
    EXPECT_EQ(vac.RecordCount(), 1);
    EXPECT_EQ(vac.RecordSize(0), 12);
}

// Cuts a good file at every length: the header, driver records, code and the
// 32-bit word must be whole; the name section may end after a record, inside
// a comment or inside the trailing bytes, but not inside an operand or a name.
TEST_F(EmulatorTest, EveryTruncationGivesTheResultOfWhereItCuts) {
    Builder b;
    b.Inputs.push_back({1, 0, 4});
    b.Outputs.push_back({2, 4, 4});
    b.Or({Op(0, 0)}, {Op(4, 0)});
    b.AddName(Op(0, 0), "in1", "first");
    b.AddName(Op(4, 0), "out", "second");
    const std::string file = b.Build();
    const std::size_t section = 32 + 2 * 16 + std::size_t(b.CodeSize()) + 4;
    struct Part {
        std::size_t start, op, name, comment, end; // offsets in the file
    };
    std::vector<Part> parts;
    std::size_t p = section;
    for (const auto& n : b.Names) {
        Part part;
        part.start = p;
        part.op = p + 2;
        part.name = part.op + std::size_t(n.Text.Length()) + 1;
        part.comment = part.name + std::size_t(n.Comment.Length()) + 1;
        part.end = part.comment + 2;
        parts.push_back(part);
        p = part.end;
    }
    ASSERT_EQ(p, file.size());
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        int expected = kLoadOk;
        std::size_t names = 0;
        if (cut <= section) {
            expected = kLoadBadData; // the section is announced: it needs a record
        } else {
            for (const Part& part : parts) {
                if (cut <= part.start) break;
                if (cut < part.name) {
                    expected = kLoadBadData; // inside the operand word or the name
                    break;
                }
                ++names;
            }
        }
        SCOPED_TRACE("cut at " + std::to_string(cut));
        EXPECT_EQ(LoadBytes(file.substr(0, cut)), expected);
        EXPECT_EQ(vac.Loaded(), expected == kLoadOk);
        EXPECT_EQ(vac.Signals().size(), expected == kLoadOk ? names : 0u);
        if (expected == kLoadOk && names == 2) {
            std::size_t commentBytes = std::min(cut, parts[1].comment - 1) - parts[1].name;
            EXPECT_EQ(vac.Signals()[1].Comment, AnsiString("second").SubString(1, int(commentBytes)));
        }
    }
    EXPECT_TRUE(host.Messages.empty()); // short files are refused without a message
}

TEST_F(EmulatorTest, ANameSectionWithEmptyNamesKeepsTheirIndexes) {
    Builder b = NamedProgram();
    b.Names.insert(b.Names.begin() + 1, dbgfile::Name{Op(1, 1), "", "ignored"});
    LoadOk(b);
    ASSERT_EQ(vac.Signals().size(), 4u);
    EXPECT_TRUE(vac.Signals()[1].Name.IsEmpty());
    EXPECT_TRUE(vac.Signals()[1].Comment.IsEmpty());
    EXPECT_EQ(vac.Signals()[1].ByteAddress, 0);
    EXPECT_EQ(vac.SignalIndex().Text(), AnsiString("a=0\r\nb=2\r\nc=3\r\n"));
    EXPECT_EQ(vac.Signals()[0].Comment, "вход a"_a);
}

TEST_F(EmulatorTest, AFileWithoutNamesClearsTheTablesOfThePreviousProgram) {
    LoadOk(NamedProgram());
    ASSERT_EQ(vac.Signals().size(), 3u);
    ASSERT_EQ(vac.Drivers().size(), 3u);
    Builder plain;
    plain.And({}, {Op(5)});
    LoadOk(plain);
    EXPECT_TRUE(vac.Signals().empty());
    EXPECT_TRUE(vac.Drivers().empty());
    EXPECT_EQ(vac.SignalIndex().Count(), 0);
    // A failed load leaves no tables either.
    LoadOk(NamedProgram());
    EXPECT_EQ(LoadBytes(NamedProgram().Build().substr(0, 20)), kLoadBadData);
    EXPECT_TRUE(vac.Signals().empty());
    EXPECT_TRUE(vac.Drivers().empty());
    EXPECT_EQ(vac.SignalIndex().Count(), 0);
    EXPECT_EQ(vac.RecordCount(), 0);
}

// Drivers: entry 0 stands for "no driver"; a signal belongs to the record
// whose area holds its byte (inputs first); names come from the signal table,
// the k-th record of a type and side naming the k-th driver of that type and
// direction.
TEST_F(EmulatorTest, DriverTableAndSignalRecordsComeFromTheRecordThatHoldsTheAddress) {
    FakeDriverTable table;
    table.Types = {{5}, {6}};
    table.Drivers = {{"DI-1"_a, 0, 0}, {"DO-1"_a, 1, 1}, {"DI-2"_a, 0, 0}, {"DO-x"_a, 1, 2}};
    vac.SetDriverTable(&table);
    Builder b;
    b.Inputs = {{5, 0, 2}, {5, 2, 2}, {7, 10, 1}};
    b.Outputs = {{6, 1, 4}, {6, 20, 2}};
    b.And({}, {Op(3072)});
    b.AddName(Op(3, 5), "second input", "");
    b.AddName(Op(1, 2), "both sides", "");
    b.AddName(Op(21, 7, true), "second output", "");
    b.AddName(Op(3075, 1), "internal", "");
    b.AddName(Op(10, 0), "unnamed driver", "");
    LoadOk(b);
    const std::vector<DriversStr>& d = vac.Drivers();
    ASSERT_EQ(d.size(), 6u);
    auto driver = [](const DriversStr& e) {
        return AnsiToUtf8(e.Name) + "|" + std::to_string(e.FirstByte) + "|" + std::to_string(e.TypeCode) + "|" + std::to_string(e.Side);
    };
    EXPECT_EQ(driver(d[0]), "нет драйвера|3072|-1|-1");
    EXPECT_EQ(driver(d[1]), "DI-1|0|5|0");
    EXPECT_EQ(driver(d[2]), "DI-2|2|5|0");
    EXPECT_EQ(driver(d[3]), "|10|7|0");
    EXPECT_EQ(driver(d[4]), "DO-1|1|6|1");
    EXPECT_EQ(driver(d[5]), "|20|6|1"); // a second output driver of type 6 the table does not have
    auto sig = [](const SignalsStr& s) {
        return std::to_string(s.DriverType) + "|" + std::to_string(s.DriverIndex) + "|" + std::to_string(s.Side) + "|" +
               std::to_string(s.ByteAddress) + "." + std::to_string(s.Bit) + "|" + std::to_string(s.Offset);
    };
    const std::vector<SignalsStr>& s = vac.Signals();
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(sig(s[0]), "5|2|0|3.5|1");     // the second input driver, not the first of its type
    EXPECT_EQ(sig(s[1]), "5|1|0|1.2|1");     // in an input and an output area: the input wins
    EXPECT_EQ(sig(s[2]), "6|5|1|21.7|1");    // the second output driver
    EXPECT_EQ(sig(s[3]), "-1|0|0|3075.1|3"); // no driver: offset from 3072
    EXPECT_EQ(sig(s[4]), "7|3|0|10.0|0");
    int side = 9, type = 9, first = 9;
    EXPECT_FALSE(vac.FindDriverOfAddress(side, type, first, 100));
    EXPECT_EQ(first, 3072);
    EXPECT_EQ(side, 9);
    EXPECT_EQ(type, 9);
    EXPECT_EQ(vac.DriverNameOf(5, 0, 1), "DI-2"_a);
    EXPECT_EQ(vac.DriverNameOf(6, 0), AnsiString());
    // Without a signal table the drivers have no names.
    vac.SetDriverTable(nullptr);
    LoadOk(b);
    EXPECT_EQ(vac.Drivers()[1].Name, AnsiString());
    EXPECT_EQ(vac.Drivers()[0].Name, "нет драйвера"_a);
}

} // namespace
