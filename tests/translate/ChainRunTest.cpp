// What a chain carries, run as drawn: projects built in code, translated by
// the project run through the real translation library, and run scan by scan
// on the emulator. A reader that reaches a chain through one of its names (a
// connector, an output driver pin, a symbol's output, beside a jump) must
// give, after every scan, what the same reader wired to the chain's source
// gives.
#include <functional>

#include "TranslateTestSupport.h"
#include "debugger/Vac.h"
#include "translator/SchemeBuild.h"
#include "translator/TranslatorTestSupport.h"

namespace {

using namespace trtest;

// The readers: an OR's plain input, a counter's count input, a D trigger's
// clock input (its data is the input B).
enum class Reader { Plain, Count, Edge };

class ChainRunTest : public ::testing::Test {
protected:
    HeadlessTranslator headless;
    TestUiPort ui;
    testenv::TempDir dir;
    Table table;
    TLogFile log;

    AnsiString File(const AnsiString& name) const { return dir.File(name); }

    // The reader named tag ("R" or "F"): its read input is returned, its
    // outputs write the connectors tag + "0" (and tag + "1").
    static TInOut* PlaceReader(TScheme& s, Reader kind, const AnsiString& tag, int y, int number) {
        TElement* e = nullptr;
        TInOut* read = nullptr;
        switch (kind) {
        case Reader::Plain:
            e = Place(s, s.CreateOrElement(), tag, 600, y, number);
            read = e->GetInput(0);
            break;
        case Reader::Count:
            e = Place(s, s.CreateCounterElement(), tag, 600, y, number);
            read = e->GetInput(0);
            DriverOn(s, tag + "1", e->GetOutput(1), true);
            break;
        case Reader::Edge:
            e = Place(s, s.CreateDTriggerElement(), tag, 600, y, number);
            DriverOn(s, "B", e->GetInput(0));
            read = e->GetInput(1);
            break;
        }
        DriverOn(s, tag + "0", e->GetOutput(0), true);
        return read;
    }
    // The source of the chain: the input A, or E = OR of A (number 1). Every
    // name given is a driver pin (a connector after '~') wired to it.
    static TInOut* PlaceSource(TScheme& s, bool element, const std::vector<AnsiString>& names) {
        TInOut* source = nullptr;
        if (element) {
            TElement* e = Place(s, s.CreateOrElement(), "E", 100, 100, 1);
            DriverOn(s, "A", e->GetInput(0));
            source = e->GetOutput(0);
        } else {
            source = LooseDriver(s, "A", 100, 100)->Terminal();
        }
        int y = 300;
        for (const AnsiString& n : names)
            Wire(s, source, Pin(s, n, 300, y += 60));
        return source;
    }
    // A driver pin, or a connector for a name after '~', placed apart.
    static TInOut* Pin(TScheme& s, const AnsiString& name, int x, int y) {
        const bool connector = name[1] == '~';
        return LooseDriver(s, connector ? name.SubString(2, name.Length()) : name, x, y, connector)->Terminal();
    }
    // Puts a driver pin (or connector) of the name on the reader's input.
    static void Named(TScheme& s, const AnsiString& name, TInOut* read) {
        const bool connector = name[1] == '~';
        DriverOn(s, connector ? name.SubString(2, name.Length()) : name, read, connector);
    }
    AnsiString Save(TScheme& s, const AnsiString& name) {
        SaveAs(s, File(name));
        return File(name);
    }
    // The reference reader reads the source: wired to it, or the input A by name.
    static void Reference(TScheme& s, Reader kind, TInOut* source, int number) {
        TInOut* read = PlaceReader(s, kind, "F", 1200, number);
        if (source)
            Wire(s, source, read);
        else
            Named(s, "A", read);
    }

    // A symbol file: G = OR of connector IN, writing connector OUT (or, with
    // output given, that output driver pin inside).
    AnsiString SymbolFile(const AnsiString& output = AnsiString()) {
        TScheme inner;
        TElement* g = Place(inner, inner.CreateOrElement(), "G", 100, 100, 1);
        DriverOn(inner, "IN", g->GetInput(0), true);
        DriverOn(inner, output.IsEmpty() ? AnsiString("OUT") : output, g->GetOutput(0), output.IsEmpty());
        EXPECT_TRUE(inner.SaveAsSymbol(File("or.tvy")));
        return File("or.tvy");
    }
    // The symbol S1 of a symbol file.
    static TSymbol* PlaceSymbolOf(TScheme& s, const AnsiString& file, int number) {
        TSymbol* sym = s.CreateSymbol();
        sym->SetName("S1");
        sym->AssignNumber(number);
        sym->SetX(300);
        sym->SetY(100);
        sym->LoadSymbolFile(file);
        return sym;
    }
    // The symbol S1 of that file, the input A on its pin IN; its other pin, if any.
    TInOut* PlaceSymbol(TScheme& s, const AnsiString& file) {
        TSymbol* sym = PlaceSymbolOf(s, file, 1);
        TInOut* out = nullptr;
        for (int i = 0; i < sym->PinCount(); ++i) {
            if (sym->Pin(i)->Name() == "IN")
                DriverOn(s, "A", sym->Pin(i));
            else
                out = sym->Pin(i);
        }
        return out;
    }

    // A symbol file whose input IN is wired inside straight to the output driver pin Z.
    AnsiString PassThroughFile() {
        TScheme inner;
        Wire(inner, Pin(inner, "~IN", 100, 100), Pin(inner, "Z", 300, 100));
        EXPECT_TRUE(inner.SaveAsSymbol(File("pass.tvy")));
        return File("pass.tvy");
    }
    // A symbol file whose input IN is wired inside straight to the input of the
    // pass-through symbol S3.
    AnsiString NestedPassThroughFile() {
        const AnsiString pass = PassThroughFile();
        TScheme inner;
        TSymbol* sym = PlaceSymbolOf(inner, pass, 1);
        sym->SetName("S3");
        Wire(inner, Pin(inner, "~IN", 100, 300), sym->Pin(0));
        EXPECT_TRUE(inner.SaveAsSymbol(File("nest.tvy")));
        return File("nest.tvy");
    }
    // The jump J on A to the element R of s2.tvs.
    static void JumpToS2(TScheme& s, int number) {
        auto* jump = static_cast<TGotoElement*>(Place(s, s.CreateGotoElement(), "J", 200, 700, number));
        jump->TargetScheme = "s2.tvs";
        jump->GotoElement = true;
        jump->TargetElement = "R";
        DriverOn(s, "A", jump->GetInput(0));
    }
    std::vector<AnsiString> SymbolFeedsPassThrough(Reader r, bool fedDrawnFirst, bool nested = false);
    std::vector<AnsiString> PassThroughBehindJump(Reader r, bool element, const AnsiString& pass);
    std::vector<AnsiString> ToggleThroughConnector(Reader r, bool later);

    std::unique_ptr<TProject> project;
    TProject& MakeProject(const std::vector<AnsiString>& files) {
        project = std::make_unique<TProject>(nullptr);
        project->SetFileName(File("p.tvp"));
        for (const AnsiString& f : files)
            EXPECT_TRUE(project->AddFile(f));
        return *project;
    }
    // The table in use as a stored table holding Lamp and LAMP, each a driver
    // signal (DO 5, DO 6) or an internal one, leaves it: the table refuses to
    // be given both.
    void StoreCaseTwins(bool firstInternal = false, bool secondInternal = false) {
        TDriversInfo& t = DriversInUse();
        ASSERT_TRUE(firstInternal ? t.AddVarBit("Lamp", "") : t.AddBit("Lamp", "DO", 5, "") == TDriversInfo::Ok);
        ASSERT_TRUE(secondInternal ? t.AddVarBit("LAMQ", "") : t.AddBit("LAMQ", "DO", 6, "") == TDriversInfo::Ok);
        const int rows = t.GetBitCount() + t.GetVarBitCount();
        ASSERT_TRUE(t.SaveToFile(File("twins.btb")));
        std::string bytes = testenv::ReadBytes(dir.Path() / "twins.btb");
        const std::size_t at = bytes.find("=LAMQ");
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, 5, "=LAMP");
        testenv::WriteBytes(dir.Path() / "twins.btb", bytes);
        ASSERT_TRUE(t.LoadFromFile(File("twins.btb")));
        ASSERT_EQ(t.GetBitCount() + t.GetVarBitCount(), rows);
    }
    bool LogHas(const AnsiString& text) const {
        for (int i = 0; i < log.Messages.Count(); ++i)
            if (log.Messages.Get(i).Pos(text) > 0)
                return true;
        return false;
    }
};

// A way of reaching a reader: builds the project's schemes with the reader R
// and the reference F, for a source that is the input A or an element.
using Build = std::function<std::vector<AnsiString>(Reader, bool element)>;

// S1 (an OR of A) feeds S2, a pass-through symbol (or one passing through the
// nested S3); R reads its Z, F reads S1's output.
std::vector<AnsiString> ChainRunTest::SymbolFeedsPassThrough(Reader r, bool fedDrawnFirst, bool nested) {
    const AnsiString pass = nested ? NestedPassThroughFile() : PassThroughFile();
    const AnsiString feeding = SymbolFile();
    TScheme s;
    TSymbol* fed = fedDrawnFirst ? PlaceSymbolOf(s, pass, 2) : nullptr;
    TInOut* out = PlaceSymbol(s, feeding);
    if (!fed)
        fed = PlaceSymbolOf(s, pass, 2);
    fed->SetName("S2");
    fed->SetY(400);
    Wire(s, out, fed->Pin(0));
    Named(s, "Z", PlaceReader(s, r, "R", 500, 3));
    Reference(s, r, out, 4);
    return {Save(s, "s1.tvs")};
}

// s1 writes the connector XW (the source itself, or E's output) and jumps
// on A to R of s2; there XW enters the pass-through symbol (file pass) and
// R reads its Z.
std::vector<AnsiString> ChainRunTest::PassThroughBehindJump(Reader r, bool element, const AnsiString& pass) {
    TScheme s1, s2;
    TInOut* src = PlaceSource(s1, element, {"~XW"});
    if (element)
        Reference(s1, r, src, 2);
    JumpToS2(s1, 3);
    TSymbol* sym = PlaceSymbolOf(s2, pass, 2);
    Wire(s2, Pin(s2, "~XW", 100, 500), sym->Pin(0));
    Named(s2, "Z", PlaceReader(s2, r, "R", 500, 1));
    if (!element)
        Reference(s2, r, nullptr, 3);
    return {Save(s1, "s1.tvs"), Save(s2, "s2.tvs")};
}

// A D trigger clocked by A whose data is its inverted output (toggling at
// every rising edge of A): T reads it back through the connector XX (also on
// the output driver pin Y), written by T itself or by a later OR; T' is
// wired directly. R reads T's output, F the output of T'.
std::vector<AnsiString> ChainRunTest::ToggleThroughConnector(Reader r, bool later) {
    TScheme s;
    int number = 0;
    auto toggle = [&](const AnsiString& name, int y, bool connector) {
        TElement* t = Place(s, s.CreateDTriggerElement(), name, 100, y, ++number);
        DriverOn(s, "A", t->GetInput(1));
        TInOut* back = t->GetOutput(1);
        if (later) {
            TElement* n = Place(s, s.CreateOrElement(), name + "N", 300, y + 100, ++number);
            Wire(s, back, n->GetInput(0));
            back = n->GetOutput(0);
        }
        if (connector) {
            DriverOn(s, "XX", back, true);
            Wire(s, back, Pin(s, "Y", 400, y + 200));
            DriverOn(s, "XX", t->GetInput(0), true);
        } else {
            Wire(s, back, t->GetInput(0));
        }
        return t->GetOutput(0);
    };
    TInOut* read = toggle("T", 100, true);
    TInOut* direct = toggle("T1", 600, false);
    Wire(s, read, PlaceReader(s, r, "R", 500, ++number));
    Reference(s, r, direct, ++number);
    return {Save(s, "s1.tvs")};
}

TEST_F(ChainRunTest, EveryNameOfAChainReadsAsItsSourceScanAfterScan) {
    const struct Way {
        const char* what;
        bool inputOnly;
        Build build;
    } ways[] = {
        {"the source itself", false,
         [&](Reader r, bool element) {
             TScheme s;
             TInOut* src = PlaceSource(s, element, {});
             Wire(s, src, PlaceReader(s, r, "R", 500, 2));
             Reference(s, r, src, 3);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"a connector on the chain, read in the same scheme", false,
         [&](Reader r, bool element) {
             TScheme s;
             TInOut* src = PlaceSource(s, element, {"~XX"});
             Named(s, "~XX", PlaceReader(s, r, "R", 500, 2));
             Reference(s, r, src, 3);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"a connector on the chain, read in the same scheme, the reader drawn first", false,
         [&](Reader r, bool element) {
             TScheme s;
             Named(s, "~XX", PlaceReader(s, r, "R", 500, 2));
             TInOut* src = PlaceSource(s, element, {"~XX"});
             Reference(s, r, src, 3);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"a connector drawn twice on the chain", false,
         [&](Reader r, bool element) {
             TScheme s;
             TInOut* src = PlaceSource(s, element, {"~XX", "~XX"});
             Named(s, "~XX", PlaceReader(s, r, "R", 500, 2));
             Reference(s, r, src, 3);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"a connector on the chain, read in a later scheme", false,
         [&](Reader r, bool element) {
             TScheme s1, s2;
             TInOut* src = PlaceSource(s1, element, {"~XX"});
             Named(s2, "~XX", PlaceReader(s2, r, "R", 500, 1));
             if (element)
                 Reference(s1, r, src, 2);
             else
                 Reference(s2, r, nullptr, 2);
             return std::vector<AnsiString>{Save(s1, "s1.tvs"), Save(s2, "s2.tvs")};
         }},
        {"an output driver pin on the chain", false,
         [&](Reader r, bool element) {
             TScheme s;
             TInOut* src = PlaceSource(s, element, {"Y"});
             Named(s, "Y", PlaceReader(s, r, "R", 500, 2));
             Reference(s, r, src, 3);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"the second of two output driver pins, in the other letter case", false,
         [&](Reader r, bool element) {
             TScheme s;
             TInOut* src = PlaceSource(s, element, {"Y", "z"});
             Named(s, "Z", PlaceReader(s, r, "R", 500, 2));
             Reference(s, r, src, 3);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"a connector on a chain whose only other name is an output driver pin of the source's chain", false,
         [&](Reader r, bool element) {
             TScheme s;
             TInOut* src = PlaceSource(s, element, {"Y"});
             Wire(s, Pin(s, "Y", 100, 700), Pin(s, "~XX", 300, 700));
             Named(s, "~XX", PlaceReader(s, r, "R", 500, 2));
             Reference(s, r, src, 3);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"an output driver pin written in another scheme, on a chain with an unwritten connector", false,
         [&](Reader r, bool element) {
             TScheme s1, s2;
             TInOut* src = PlaceSource(s1, element, {"Y"});
             TInOut* read = PlaceReader(s2, r, "R", 500, 1);
             Wire(s2, read, Pin(s2, "Y", 300, 400));
             Wire(s2, read, Pin(s2, "~XX", 300, 500));
             if (element)
                 Reference(s1, r, src, 2);
             else
                 Reference(s2, r, nullptr, 2);
             return std::vector<AnsiString>{Save(s1, "s1.tvs"), Save(s2, "s2.tvs")};
         }},
        {"a connector written in another scheme, on a chain with an unwritten output driver pin", false,
         [&](Reader r, bool element) {
             TScheme s1, s2;
             TInOut* src = PlaceSource(s1, element, {"~XX"});
             Wire(s2, Pin(s2, "~XX", 100, 100), Pin(s2, "Y", 300, 400));
             Named(s2, "Y", PlaceReader(s2, r, "R", 500, 1));
             if (element)
                 Reference(s1, r, src, 2);
             else
                 Reference(s2, r, nullptr, 2);
             return std::vector<AnsiString>{Save(s1, "s1.tvs"), Save(s2, "s2.tvs")};
         }},
        {"the second output driver pin of a symbol's output", true,
         [&](Reader r, bool) {
             TScheme s;
             TInOut* out = PlaceSymbol(s, SymbolFile());
             EXPECT_NE(out, nullptr);
             Wire(s, out, Pin(s, "Y", 300, 400));
             Wire(s, out, Pin(s, "Z", 300, 500));
             Named(s, "Z", PlaceReader(s, r, "R", 500, 2));
             Reference(s, r, out, 3);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"an output driver pin inside a symbol, wired straight to the symbol's input", false,
         [&](Reader r, bool element) {
             TScheme inner;
             Wire(inner, Pin(inner, "~IN", 100, 100), Pin(inner, "Z", 300, 100));
             EXPECT_TRUE(inner.SaveAsSymbol(File("pass.tvy")));
             TScheme s;
             TSymbol* sym = PlaceSymbolOf(s, File("pass.tvy"), 2);
             EXPECT_EQ(sym->PinCount(), 1);
             TInOut* src = element ? PlaceSource(s, true, {}) : LooseDriver(s, "A", 100, 300)->Terminal();
             Wire(s, src, sym->Pin(0));
             Named(s, "Z", PlaceReader(s, r, "R", 500, 3));
             Reference(s, r, src, 4);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"an output driver pin written inside a symbol of another scheme, on a chain with an unwritten connector",
         true,
         [&](Reader r, bool) {
             TScheme s1, s2;
             PlaceSymbol(s1, SymbolFile("Y"));
             TInOut* read = PlaceReader(s2, r, "R", 500, 1);
             Wire(s2, read, Pin(s2, "~XX", 300, 400));
             Wire(s2, read, Pin(s2, "Y", 300, 500));
             Reference(s2, r, nullptr, 2);
             return std::vector<AnsiString>{Save(s1, "s1.tvs"), Save(s2, "s2.tvs")};
         }},
        {"an output driver pin beside a jump", true,
         [&](Reader r, bool) {
             TScheme s;
             auto* jump = static_cast<TGotoElement*>(Place(s, s.CreateGotoElement(), "J", 200, 100, 1));
             jump->TargetScheme = "s1.tvs";
             jump->GotoElement = true;
             jump->TargetElement = "R";
             TInOut* src = PlaceSource(s, false, {"Z"});
             Wire(s, src, jump->GetInput(0));
             Named(s, "Z", PlaceReader(s, r, "R", 500, 2));
             Reference(s, r, nullptr, 3);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"an output driver pin of a later scheme on a connector's chain, the jump into that scheme taken while A is on",
         false,
         [&](Reader r, bool element) {
             TScheme s1, s2;
             TInOut* src = PlaceSource(s1, element, {"~XW"});
             if (element)
                 Reference(s1, r, src, 2);
             JumpToS2(s1, 3);
             Wire(s2, Pin(s2, "~XW", 100, 100), Pin(s2, "Y", 300, 100));
             Named(s2, "Y", PlaceReader(s2, r, "R", 500, 1));
             if (!element)
                 Reference(s2, r, nullptr, 2);
             return std::vector<AnsiString>{Save(s1, "s1.tvs"), Save(s2, "s2.tvs")};
         }},
        {"an output driver pin inside a symbol, wired straight to its input, that another symbol's output feeds", true,
         [&](Reader r, bool) { return SymbolFeedsPassThrough(r, false); }},
        {"the same, the fed symbol drawn before the feeding one", true,
         [&](Reader r, bool) { return SymbolFeedsPassThrough(r, true); }},
        {"an output driver pin inside a symbol nested in a symbol, each input wired straight to the next, that "
         "another symbol's output feeds",
         true, [&](Reader r, bool) { return SymbolFeedsPassThrough(r, false, true); }},
        {"the same, the fed symbol drawn before the feeding one, nested", true,
         [&](Reader r, bool) { return SymbolFeedsPassThrough(r, true, true); }},
        {"an output driver pin inside a symbol nested in a symbol, each input wired straight to the next", false,
         [&](Reader r, bool element) {
             TScheme s;
             TSymbol* sym = PlaceSymbolOf(s, NestedPassThroughFile(), 2);
             TInOut* src = element ? PlaceSource(s, true, {}) : LooseDriver(s, "A", 100, 300)->Terminal();
             Wire(s, src, sym->Pin(0));
             Named(s, "Z", PlaceReader(s, r, "R", 500, 3));
             Reference(s, r, src, 4);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"an output driver pin inside a symbol nested in a symbol of a later scheme, on a connector's chain, the "
         "jump into that scheme taken while A is on",
         false, [&](Reader r, bool element) { return PassThroughBehindJump(r, element, NestedPassThroughFile()); }},
        {"an output driver pin inside a symbol, wired straight to its input, on a chain reading an output pin of the "
         "scheme",
         false,
         [&](Reader r, bool element) {
             TScheme s;
             TInOut* src = PlaceSource(s, element, {"Y"});
             TSymbol* sym = PlaceSymbolOf(s, PassThroughFile(), 2);
             sym->SetY(500);
             Wire(s, Pin(s, "Y", 100, 700), sym->Pin(0));
             Named(s, "Z", PlaceReader(s, r, "R", 500, 3));
             Reference(s, r, src, 4);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
        {"an output driver pin inside a symbol of a later scheme, wired straight to its input, on a connector's "
         "chain, the jump into that scheme taken while A is on",
         false, [&](Reader r, bool element) { return PassThroughBehindJump(r, element, PassThroughFile()); }},
        {"a D trigger's own inverted output read back through a connector", true,
         [&](Reader r, bool) { return ToggleThroughConnector(r, false); }},
        {"a D trigger's inverted output read back through a connector written by a later element", true,
         [&](Reader r, bool) { return ToggleThroughConnector(r, true); }},
        {"a connector on the chain, read in a later scheme in the other letter case", false,
         [&](Reader r, bool element) {
             TScheme s1, s2;
             TInOut* src = PlaceSource(s1, element, {"~XX"});
             Named(s2, "~xx", PlaceReader(s2, r, "R", 500, 1));
             if (element)
                 Reference(s1, r, src, 2);
             else
                 Reference(s2, r, nullptr, 2);
             return std::vector<AnsiString>{Save(s1, "s1.tvs"), Save(s2, "s2.tvs")};
         }},
        {"an input driver pin in the other letter case, alone on its chain with an output driver pin", true,
         [&](Reader r, bool) {
             TScheme s;
             TInOut* src = Pin(s, "a", 100, 100);
             Wire(s, src, Pin(s, "Y", 300, 100));
             Named(s, "Y", PlaceReader(s, r, "R", 500, 1));
             // No pin of A but "a": the reference reads the chain itself.
             Reference(s, r, src, 2);
             return std::vector<AnsiString>{Save(s, "s1.tvs")};
         }},
    };
    const Reader readers[] = {Reader::Plain, Reader::Count, Reader::Edge};
    const char* readerNames[] = {"plain input", "count input", "edge input"};
    // A at each scan, and B (the D trigger's data) as its own pattern.
    const int a[] = {0, 1, 1, 0, 1, 0, 0, 1, 1, 0, 1, 0, 1};
    const int b[] = {1, 1, 0, 0, 1, 1, 0, 1, 0, 0, 1, 1, 0};
    for (const Way& way : ways)
        for (int element = 0; element < (way.inputOnly ? 1 : 2); ++element)
            for (int k = 0; k < 3; ++k) {
                SCOPED_TRACE(std::string(way.what) + (element ? ", an element's output, " : ", the input A, ") +
                             readerNames[k]);
                for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
                    std::filesystem::remove(entry.path());
                ui.Answer(mrNo);
                log.TranslateProject(&MakeProject(way.build(readers[k], element != 0)));
                EXPECT_EQ(log.ErrorCount, 0) << AnsiToUtf8(log.Messages.Text());
                EXPECT_FALSE(LogHas("получает"_a)) << AnsiToUtf8(log.Messages.Text());
                EXPECT_FALSE(LogHas("не будет замечен"_a)) << AnsiToUtf8(log.Messages.Text());
                // A connector drawn as read is read (one that nothing reads is reported).
                if (!std::string(way.what).ends_with("unwritten connector")) {
                    EXPECT_FALSE(LogHas("Сигнал XX  не является входным"_a)) << AnsiToUtf8(log.Messages.Text());
                }
                TVAC vac;
                vac.FileName = File("Debutvca.dat");
                if (vac.Load() != kLoadOk) {
                    ADD_FAILURE() << "no program";
                    continue;
                }
                int changes = 0, last = 0;
                for (std::size_t step = 0; step < std::size(a); ++step) {
                    SetSignal(vac, "A", a[step]);
                    if (FindSignal(vac, "B"))
                        SetSignal(vac, "B", b[step]);
                    vac.Run();
                    EXPECT_EQ(SignalBit(vac, "R0"), SignalBit(vac, "F0")) << "scan " << step;
                    if (readers[k] == Reader::Count) {
                        EXPECT_EQ(SignalBit(vac, "R1"), SignalBit(vac, "F1")) << "scan " << step;
                    }
                    changes += SignalBit(vac, "F0") != last;
                    last = SignalBit(vac, "F0");
                }
                // The reference itself follows the source: the rows compare something.
                EXPECT_GE(changes, 2);
            }
}

// Chains that cannot carry one source are refused, naming what feeds them.
TEST_F(ChainRunTest, TwoWritersOfOneChainAreRefusedNamingBoth) {
    struct Built {
        std::vector<AnsiString> files;
        AnsiString chain;
    };
    struct Row {
        const char* what;
        std::function<Built()> build;
        std::function<AnsiString(const AnsiString&)> message;
    };
    const std::vector<Row> rows = {
        {"two element outputs on one chain",
         [&] {
             TScheme s;
             TElement* e1 = Place(s, s.CreateOrElement(), "E1", 100, 100, 1);
             TElement* e2 = Place(s, s.CreateOrElement(), "E2", 100, 300, 2);
             TElement* e3 = Place(s, s.CreateOrElement(), "E3", 400, 200, 3);
             DriverOn(s, "A", e1->GetInput(0));
             DriverOn(s, "B", e2->GetInput(0));
             Wire(s, e1->GetOutput(0), e3->GetInput(0));
             Wire(s, e2->GetOutput(0), e3->GetInput(0));
             DriverOn(s, "Y", e3->GetOutput(0));
             return Built{{Save(s, "t3.tvs")}, e3->GetInput(0)->Net()->Chains.front()->Name()};
         },
         [](const AnsiString& chain) {
             return "В схеме t3.tvs цепь "_a + chain + " соединяет выход элемента E1 и выход элемента E2."_a;
         }},
        {"one connector name on a chain of an input and on one of an element",
         [&] {
             TScheme s;
             Wire(s, Pin(s, "A", 100, 100), Pin(s, "~RR", 300, 100));
             TElement* e1 = Place(s, s.CreateOrElement(), "E1", 100, 300, 1);
             DriverOn(s, "B", e1->GetInput(0));
             DriverOn(s, "RR", e1->GetOutput(0), true);
             TElement* e2 = Place(s, s.CreateOrElement(), "E2", 400, 500, 2);
             DriverOn(s, "RR", e2->GetInput(0), true);
             DriverOn(s, "Y", e2->GetOutput(0));
             return Built{{Save(s, "t3.tvs")}, AnsiString()};
         },
         [](const AnsiString&) { return "В схеме t3.tvs соединитель RR соединяет сигнал A и выход элемента E1."_a; }},
        {"a chain without a source whose names two inputs write in other schemes",
         [&] {
             TScheme s1, s2, s3;
             Wire(s1, Pin(s1, "A", 100, 100), Pin(s1, "Y", 300, 100));
             Wire(s2, Pin(s2, "B", 100, 100), Pin(s2, "~XX", 300, 100));
             TInOut* y = Pin(s3, "Y", 100, 100);
             Wire(s3, y, Pin(s3, "~XX", 300, 100));
             Wire(s3, y, PlaceReader(s3, Reader::Plain, "R", 500, 1));
             return Built{{Save(s1, "t1.tvs"), Save(s2, "t2.tvs"), Save(s3, "t3.tvs")}, y->Net()->Chains.front()->Name()};
         },
         [](const AnsiString& chain) {
             return "В схеме t3.tvs цепь "_a + chain + " получает сигнал A из схемы t1.tvs и сигнал B из схемы t2.tvs."_a;
         }},
        {"two outputs of one element on one chain",
         [&] {
             TScheme s;
             TElement* e1 = Place(s, s.CreateCounterElement(), "E1", 100, 100, 1);
             DriverOn(s, "A", e1->GetInput(0));
             TElement* e2 = Place(s, s.CreateOrElement(), "E2", 400, 200, 2);
             Wire(s, e1->GetOutput(0), e2->GetInput(0));
             Wire(s, e1->GetOutput(1), e2->GetInput(0));
             DriverOn(s, "Y", e2->GetOutput(0));
             return Built{{Save(s, "t3.tvs")}, e2->GetInput(0)->Net()->Chains.front()->Name()};
         },
         [](const AnsiString& chain) {
             return "В схеме t3.tvs цепь "_a + chain + " соединяет выход 0 элемента E1 и выход 1 элемента E1."_a;
         }},
        {"two outputs of one symbol on one connector",
         [&] {
             TScheme inner;
             TElement* g = Place(inner, inner.CreateOrElement(), "G", 100, 100, 1);
             TElement* h = Place(inner, inner.CreateAndElement(), "H", 100, 300, 2);
             DriverOn(inner, "IN", g->GetInput(0), true);
             DriverOn(inner, "IN", h->GetInput(0), true);
             DriverOn(inner, "OUT", g->GetOutput(0), true);
             DriverOn(inner, "OUT2", h->GetOutput(0), true);
             EXPECT_TRUE(inner.SaveAsSymbol(File("two.tvy")));
             TScheme s;
             TSymbol* sym = PlaceSymbolOf(s, File("two.tvy"), 1);
             for (int i = 0; i < sym->PinCount(); ++i)
                 DriverOn(s, sym->Pin(i)->Direction() == 1 ? "RR" : "A", sym->Pin(i), sym->Pin(i)->Direction() == 1);
             TElement* e2 = Place(s, s.CreateOrElement(), "E2", 600, 500, 2);
             DriverOn(s, "RR", e2->GetInput(0), true);
             DriverOn(s, "Y", e2->GetOutput(0));
             return Built{{Save(s, "t3.tvs")}, AnsiString()};
         },
         [](const AnsiString&) {
             return "В схеме t3.tvs соединитель RR соединяет выход 0 элемента S1 и выход 1 элемента S1."_a;
         }},
        {"an input driver pin in the other letter case and an element output on one chain",
         [&] {
             TScheme s;
             TElement* e1 = Place(s, s.CreateOrElement(), "E1", 100, 100, 1);
             DriverOn(s, "B", e1->GetInput(0));
             Wire(s, e1->GetOutput(0), Pin(s, "a", 300, 300));
             Wire(s, e1->GetOutput(0), PlaceReader(s, Reader::Plain, "R", 500, 2));
             return Built{{Save(s, "t3.tvs")}, e1->GetOutput(0)->Net()->Chains.front()->Name()};
         },
         [](const AnsiString& chain) {
             return "В схеме t3.tvs цепь "_a + chain + " соединяет сигнал a и выход элемента E1."_a;
         }},
        {"a stored signal table holding two signals whose names differ only in letter case",
         [&] {
             StoreCaseTwins();
             TScheme s;
             Wire(s, Pin(s, "A", 100, 100), Pin(s, "Lamp", 300, 100));
             return Built{{Save(s, "t3.tvs")}, AnsiString()};
         },
         [](const AnsiString&) {
             return "В таблице сигналов сигналы Lamp (драйвер DO, бит 5) и LAMP (драйвер DO, бит 6) различаются "
                    "только регистром букв: для трансляции это один сигнал. Переименуйте или удалите один из них."_a;
         }},
        {"a stored signal table holding a driver signal and an internal signal whose names differ only in letter "
         "case",
         [&] {
             StoreCaseTwins(false, true);
             TScheme s;
             Wire(s, Pin(s, "A", 100, 100), Pin(s, "Y", 300, 100));
             return Built{{Save(s, "t3.tvs")}, AnsiString()};
         },
         [](const AnsiString&) {
             return "В таблице сигналов сигналы Lamp (драйвер DO, бит 5) и LAMP (внутренний сигнал) различаются "
                    "только регистром букв: для трансляции это один сигнал. Переименуйте или удалите один из них."_a;
         }},
        {"a stored signal table holding two internal signals whose names differ only in letter case",
         [&] {
             StoreCaseTwins(true, true);
             TScheme s;
             Wire(s, Pin(s, "A", 100, 100), Pin(s, "~LAMP", 300, 100));
             return Built{{Save(s, "t3.tvs")}, AnsiString()};
         },
         [](const AnsiString&) {
             return "В таблице сигналов сигналы Lamp (внутренний сигнал) и LAMP (внутренний сигнал) различаются "
                    "только регистром букв: для трансляции это один сигнал. Переименуйте или удалите один из них."_a;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // Each row starts from the standard table.
        const Table rowTable;
        const Built built = row.build();
        ui.Answer(mrNo);
        log.TranslateProject(&MakeProject(built.files));
        EXPECT_EQ(log.ErrorCount, 1);
        const Lines lines = ToLines(log.Messages);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), row.message(built.chain)), 1)
            << AnsiToUtf8(log.Messages.Text());
        EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Debutvca.dat"));
    }
}

// The controller runs the schemes in the project's order and takes an edge
// against the end of the last scan: an edge input of r.tvs that only an
// element of a later scheme writes never sees one. The run warns and the
// reader never changes; written earlier in the scan, or by an input, the
// reader follows its input and nothing is said.
TEST_F(ChainRunTest, AnEdgeInputWrittenOnlyByALaterSchemeIsWarnedAndNeverSeesTheEdge) {
    enum class Writer { Later, Earlier, LaterInput, LaterSymbol };
    // shows: the reader's first output changes with the edges it sees (the
    // load and the filter's value bits without a hold do not).
    const struct Row {
        const char* what;
        std::function<TElement*(TScheme&)> make;
        int input;
        const char* pin;
        Writer writer;
        bool shows = true;
    } rows[] = {
        {"cnt", [](TScheme& s) { return s.CreateCounterElement(); }, 0, "C", Writer::Later},
        {"dtrigger", [](TScheme& s) { return s.CreateDTriggerElement(); }, 1, "C", Writer::Later},
        {"timer", [](TScheme& s) { return s.CreateTimerElement(); }, 0, "In", Writer::Later},
        {"d8rscnt load", [](TScheme& s) { return s.CreateD8RSCounterElement(); }, 8, "L", Writer::Later, false},
        {"filter", [](TScheme& s) { return s.CreateFilterElement(); }, 0, "0", Writer::Later, false},
        {"cnt, written inside a symbol", [](TScheme& s) { return s.CreateCounterElement(); }, 0, "C", Writer::LaterSymbol},
        {"cnt, written earlier", [](TScheme& s) { return s.CreateCounterElement(); }, 0, "C", Writer::Earlier},
        {"dtrigger, written earlier", [](TScheme& s) { return s.CreateDTriggerElement(); }, 1, "C", Writer::Earlier},
        {"timer, written earlier", [](TScheme& s) { return s.CreateTimerElement(); }, 0, "In", Writer::Earlier},
        {"cnt, an input", [](TScheme& s) { return s.CreateCounterElement(); }, 0, "C", Writer::LaterInput},
        {"dtrigger, an input", [](TScheme& s) { return s.CreateDTriggerElement(); }, 1, "C", Writer::LaterInput},
    };
    const int a[] = {0, 1, 0, 1, 0, 1, 1, 0, 1, 0};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            std::filesystem::remove(entry.path());
        const AnsiString name = row.writer == Writer::LaterSymbol ? "Y" : "XX";
        TScheme r, w;
        TElement* reader = Place(r, row.make(r), "R", 300, 100, 1);
        DriverOn(r, name, reader->GetInput(row.input), name == "XX");
        if (reader->Kind() == TEntityKind::DTrigger)
            DriverOn(r, "B", reader->GetInput(0));
        DriverOn(r, "R0", reader->GetOutput(0), true);
        if (row.writer == Writer::LaterSymbol) {
            PlaceSymbol(w, SymbolFile("Y"));
        } else if (row.writer == Writer::LaterInput) {
            Wire(w, Pin(w, "A", 100, 100), Pin(w, "~XX", 300, 100));
        } else {
            TElement* e = Place(w, w.CreateOrElement(), "W", 100, 100, 1);
            DriverOn(w, "A", e->GetInput(0));
            DriverOn(w, "XX", e->GetOutput(0), true);
        }
        const AnsiString rf = Save(r, "r.tvs"), wf = Save(w, "w.tvs");
        ui.Answer(mrNo);
        log.TranslateProject(&MakeProject(row.writer == Writer::Earlier ? std::vector{wf, rf} : std::vector{rf, wf}));
        EXPECT_EQ(log.ErrorCount, 0) << AnsiToUtf8(log.Messages.Text());
        const bool warned = row.writer == Writer::Later || row.writer == Writer::LaterSymbol;
        const AnsiString writer = row.writer == Writer::LaterSymbol ? "S1G" : "W";
        const AnsiString missed = std::string(row.what) == "filter" ? "изменение на входе не будет замечено никогда"_a
                                                                    : "фронт на входе не будет замечен никогда"_a;
        const AnsiString warning = "Схема r.tvs: элемент R, вход "_a + row.pin + ": сигнал "_a + name +
                                   " пишет только элемент "_a + writer + " схемы w.tvs, которая обрабатывается позже, "
                                   "поэтому "_a + missed + ". Поставьте схему w.tvs в списке проекта перед схемой r.tvs."_a;
        const Lines lines = ToLines(log.Messages);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), warning), warned ? 1 : 0) << AnsiToUtf8(log.Messages.Text());
        EXPECT_EQ(LogHas("обрабатывается позже"_a), warned) << AnsiToUtf8(log.Messages.Text());
        TVAC vac;
        vac.FileName = File("Debutvca.dat");
        ASSERT_EQ(vac.Load(), kLoadOk);
        int changes = 0, last = SignalBit(vac, "R0");
        for (int value : a) {
            SetSignal(vac, "A", value);
            if (FindSignal(vac, "B"))
                SetSignal(vac, "B", 1);
            vac.Run();
            vac.Tick();
            changes += SignalBit(vac, "R0") != last;
            last = SignalBit(vac, "R0");
        }
        if (row.shows) {
            EXPECT_EQ(changes > 0, !warned) << changes;
        }
    }
}

} // namespace
