// Symbols inside symbols: a file that holds itself, files that hold each
// other, and nestings so wide or deep that a load must stop.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/TestEnv.h"
#include "document/Scheme.h"
#include "platform/testing/TestUiPort.h"

namespace {

using Texts = std::vector<AnsiString>;

AnsiString HoldsItself(const AnsiString& file) {
    return "Файл символа "_a + file + " вложен сам в себя: такой символ не загружен."_a;
}
const AnsiString kTooMuch = "Символы вложены слишком глубоко или их слишком много: загружены не все символы."_a;

// Writes a symbol file holding `count` symbols of the file named `inner`
// (as the symbol records name it, without loading it).
void WriteHolder(const AnsiString& path, const AnsiString& inner, int count) {
    TScheme s;
    for (int i = 0; i < count; ++i) {
        TSymbol* sym = s.CreateSymbol();
        sym->SetName("S" + IntToStr(i));
        sym->SetX(100 * i);
        sym->SetFileName(inner);
    }
    ASSERT_TRUE(s.SaveAsSymbol(path));
}

std::vector<TSymbol*> Symbols(const TScheme& s) {
    std::vector<TSymbol*> out;
    for (const auto& o : s.Objects())
        if (o->Kind() == TEntityKind::Symbol)
            out.push_back(static_cast<TSymbol*>(o.get()));
    return out;
}

// How many symbol schemes the document holds at every depth.
int LoadedSchemes(const TScheme& s) {
    int n = 0;
    for (TSymbol* sym : Symbols(s))
        if (TScheme* inner = InnerSchemeOf(sym))
            n += 1 + LoadedSchemes(*inner);
    return n;
}

// The deepest level of symbol schemes below the document.
int Depth(const TScheme& s) {
    int deepest = 0;
    for (TSymbol* sym : Symbols(s))
        if (TScheme* inner = InnerSchemeOf(sym))
            deepest = std::max(deepest, 1 + Depth(*inner));
    return deepest;
}

// self5.tvy holds five symbols of itself: once read as N + N^2 + ... + N^8
// schemes (half a million, 1.7 GB).
TEST(SymbolNesting, AFileThatHoldsItselfIsReadOnceWithTheMessage) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "self5.tvy", testenv::RegressionFile("symbol/self5.tvy"));
    const AnsiString self = dir.File("self5.tvy");
    TestUiPort ui;
    {
        TScheme doc;
        doc.SetFileName(self);
        EXPECT_TRUE(doc.LoadFromFile());
        EXPECT_EQ(Symbols(doc).size(), 5u);
        EXPECT_EQ(LoadedSchemes(doc), 0);
        EXPECT_EQ(ui.Messages(), Texts{HoldsItself(self)});
    }
    ui.Clear();
    {
        // Placed in another scheme: read once, its own symbols refused.
        WriteHolder(dir.File("main.tvs"), "self5.tvy", 1);
        TScheme doc;
        doc.SetFileName(dir.File("main.tvs"));
        EXPECT_TRUE(doc.LoadFromFile());
        EXPECT_EQ(LoadedSchemes(doc), 1);
        EXPECT_EQ(Symbols(*InnerSchemeOf(Symbols(doc)[0])).size(), 5u);
        EXPECT_EQ(ui.Messages(), Texts{HoldsItself(self)});
    }
    ui.Clear();
    {
        // Inserted into a scheme without a file.
        TScheme doc;
        TSymbol* sym = doc.CreateSymbol();
        sym->LoadSymbolFile(self);
        EXPECT_EQ(LoadedSchemes(doc), 1);
        EXPECT_EQ(ui.Messages(), Texts{HoldsItself(self)});
    }
}

TEST(SymbolNesting, FilesThatHoldEachOtherAreEachReadOncePerPath) {
    testenv::TempDir dir;
    WriteHolder(dir.File("a.tvy"), "b.tvy", 2);
    WriteHolder(dir.File("b.tvy"), "a.tvy", 3);
    WriteHolder(dir.File("main.tvs"), "a.tvy", 1);
    TestUiPort ui;
    {
        // a -> 2 x b, each refusing its 3 symbols of a.
        TScheme doc;
        doc.SetFileName(dir.File("a.tvy"));
        EXPECT_TRUE(doc.LoadFromFile());
        EXPECT_EQ(LoadedSchemes(doc), 2);
        EXPECT_EQ(Depth(doc), 1);
        EXPECT_EQ(ui.Messages(), Texts{HoldsItself(dir.File("a.tvy"))});
    }
    ui.Clear();
    {
        // main -> a -> 2 x b, whose symbols of a are refused.
        TScheme doc;
        doc.SetFileName(dir.File("main.tvs"));
        EXPECT_TRUE(doc.LoadFromFile());
        EXPECT_EQ(LoadedSchemes(doc), 3);
        EXPECT_EQ(Depth(doc), 2);
        EXPECT_EQ(ui.Messages(), Texts{HoldsItself(dir.File("a.tvy"))});
    }
    ui.Clear();
    {
        // Reading the symbols again after a translation is one load too.
        TScheme doc;
        doc.SetFileName(dir.File("main.tvs"));
        EXPECT_TRUE(doc.LoadFromFile());
        ui.Clear();
        doc.ReloadSymbols();
        EXPECT_EQ(LoadedSchemes(doc), 3);
        EXPECT_EQ(ui.Messages(), Texts{HoldsItself(dir.File("a.tvy"))});
    }
}

// Distinct files, each holding five symbols of the next: every file is
// sound, but the whole would be half a million schemes.
TEST(SymbolNesting, AWideNestingStopsAtTheBoundOfOneLoad) {
    testenv::TempDir dir;
    for (int level = 0; level < TSymbol::kMaxDepth; ++level)
        WriteHolder(dir.File("L" + IntToStr(level) + ".tvy"), "L" + IntToStr(level + 1) + ".tvy", 5);
    WriteHolder(dir.File("L8.tvy"), "none.tvy", 0);
    TestUiPort ui;
    TScheme doc;
    doc.SetFileName(dir.File("L0.tvy"));
    EXPECT_TRUE(doc.LoadFromFile());
    // Files this small each count as the least cost of a scheme.
    EXPECT_EQ(LoadedSchemes(doc), int(TSymbol::kMaxLoadBytes / TSymbol::kMinLoadCost));
    EXPECT_EQ(ui.Messages(), Texts{kTooMuch});
    // The bound is of one load: the next starts afresh.
    ui.Clear();
    TScheme again;
    again.SetFileName(dir.File("L6.tvy"));
    EXPECT_TRUE(again.LoadFromFile());
    EXPECT_EQ(LoadedSchemes(again), 5 + 25);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(SymbolNesting, AChainDeeperThanTheLimitStopsWithTheMessage) {
    testenv::TempDir dir;
    const int files = TSymbol::kMaxDepth + 2;
    for (int level = 0; level < files; ++level)
        WriteHolder(dir.File("D" + IntToStr(level) + ".tvy"), "D" + IntToStr(level + 1) + ".tvy", 1);
    WriteHolder(dir.File("D" + IntToStr(files) + ".tvy"), "none.tvy", 0);
    TestUiPort ui;
    TScheme doc;
    doc.SetFileName(dir.File("D0.tvy"));
    EXPECT_TRUE(doc.LoadFromFile());
    EXPECT_EQ(Depth(doc), TSymbol::kMaxDepth);
    EXPECT_EQ(ui.Messages(), Texts{kTooMuch});
}

} // namespace
