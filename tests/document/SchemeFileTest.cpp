// Scheme files, the clipboard file and the recovery copy.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/TestEnv.h"
#include "document/UndoList.h"
#include "model/ModelTestSupport.h"
#include "platform/testing/TestUiPort.h"

using namespace modeltest;

namespace {

// A small scheme: AND and OR wired through a T-junction, driver pins, and
// one net whose chain the user named.
struct Sample {
    TScheme s;
    TAndElement* a;
    TOrElement* o;
    Sample() {
        a = s.CreateAndElement();
        a->SetName("A1");
        a->SetX(100);
        a->SetY(100);
        a->AssignNumber(1);
        a->GetInput(1)->SetInverse(true);
        o = s.CreateOrElement();
        o->SetName("O1");
        o->SetX(300);
        o->SetY(100);
        o->AssignNumber(2);
        TInOut* out = a->GetOutput(0);
        // out -> (200, y) -> O1 input 0, and from (200, y) down to O1 input 1.
        s.CreateWire(out->TipX(), out->TipY(), 200, out->TipY());
        s.CreateWire(200, out->TipY(), o->GetInput(0)->TipX(), o->GetInput(0)->TipY());
        s.CreateWire(200, out->TipY(), 200, o->GetInput(1)->TipY());
        s.CreateWire(200, o->GetInput(1)->TipY(), o->GetInput(1)->TipX(), o->GetInput(1)->TipY());
        DriverAt(s, "X1", a->GetInput(0)->TipX(), a->GetInput(0)->TipY());
        // A mirrored driver pin: its terminal on its left edge.
        TDriver* y = s.CreateDriver();
        y->SetName("Y1");
        y->SetMirrored(true);
        y->SetX(410);
        y->SetY(o->GetOutput(0)->TipY() - 10);
        s.AttachElement(y);
        s.CreateWire(o->GetOutput(0)->TipX(), o->GetOutput(0)->TipY(), 400, o->GetOutput(0)->TipY());
        a->Pin(0)->Net()->Chains[0]->SetName("НАСОС"_a);
    }
};

TEST(SchemeFile, RoundTripKeepsWiresJunctionsAndChains) {
    Sample sample;
    TScheme& s = sample.s;
    ASSERT_EQ(s.Junctions().size(), 1u);
    TStringList chains;
    s.ListChainNames(&chains);
    std::string bytes = s.SaveToBytes();
    ASSERT_GT(bytes.size(), std::size_t(kFileHeaderSize + kFileSignatureSize));
    EXPECT_EQ(std::string(bytes, 52, 4), std::string("\x25\x06\x19\x71", 4));

    TScheme t;
    TestUiPort ui;
    ASSERT_TRUE(t.LoadFromBytes(bytes));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(t.SaveToBytes(), bytes);
    EXPECT_FALSE(t.IsModified());
    EXPECT_EQ(t.Junctions().size(), 1u);
    TStringList chains2;
    t.ListChainNames(&chains2);
    EXPECT_EQ(Lines(chains2), Lines(chains));
    EXPECT_NE(chains2.IndexOf("НАСОС"_a), -1);
    // The nets come back: A1's output reaches both inputs of O1.
    TElement* a = t.FirstDevice();
    ASSERT_EQ(a->Name(), AnsiString("A1"));
    TList reached;
    TInOut::CollectNetPins(a->GetOutput(0), &reached);
    EXPECT_EQ(reached.Count(), 2);
    EXPECT_TRUE(a->GetInput(1)->Inverse());
    for (const auto& c : t.Chains()) {
        if (c.Name() == "НАСОС"_a) {
            EXPECT_EQ(c.Number(), 0);
        }
    }
    // A new chain is numbered after the largest number loaded.
    int before = t.ChainCounter();
    t.CreateWire(600, 600, 700, 600);
    EXPECT_EQ(t.ChainCounter(), before + 1);
}

TEST(SchemeFile, SaveAndLoadThroughFiles) {
    testenv::TempDir dir;
    Sample sample;
    TScheme& s = sample.s;
    s.SetFileName(dir.File("a.tvs"));
    EXPECT_TRUE(s.IsModified());
    ASSERT_TRUE(s.SaveToFile());
    EXPECT_FALSE(s.IsModified());
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "a.tvs"), s.SaveToBytes());
    TScheme t;
    t.SetFileName(dir.File("a.tvs"));
    ASSERT_TRUE(t.LoadFromFile());
    EXPECT_EQ(t.SaveToBytes(), s.SaveToBytes());
    // The stored name is the bare file name.
    std::string bytes = s.SaveToBytes();
    EXPECT_EQ(bytes.substr(0, 6), std::string("\x05" "a.tvs"));
    // A missing file: an empty document and no message.
    TestUiPort ui;
    TScheme m;
    m.SetFileName(dir.File("none.tvs"));
    EXPECT_TRUE(m.LoadFromFile());
    EXPECT_EQ(m.FirstElement(), nullptr);
    EXPECT_TRUE(ui.Messages().empty());
    // A symbol file keeps the document's own name.
    ASSERT_TRUE(s.SaveAsSymbol(dir.File("part.tvy")));
    EXPECT_EQ(s.GetFileName(), dir.File("a.tvs"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "part.tvy"));
}

TEST(SchemeFile, FailedSaveKeepsTheDocumentModified) {
    testenv::TempDir dir;
    TestUiPort ui;
    TScheme s;
    s.CreateAndElement();
    EXPECT_FALSE(s.SaveToFile()); // untitled: nothing happens
    EXPECT_TRUE(ui.Messages().empty());
    s.SetFileName(dir.File("missing/dir/a.tvs"));
    EXPECT_FALSE(s.SaveToFile());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0], "Не могу создать файл!\n"_a + dir.File("missing/dir/a.tvs"));
    EXPECT_TRUE(s.IsModified());
}

// Damaged files: each refused with the program's message, the document left
// empty and unmodified, and never a read past the end.
TEST(SchemeFile, DamagedFilesAreRefused) {
    Sample sample;
    const std::string good = sample.s.SaveToBytes();
    auto patch32 = [](std::string& b, std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + std::size_t(i)] = char(v >> (8 * i));
    };
    const AnsiString damaged = "Файл разрушен!!"_a;
    const AnsiString old = "Старая версия файла"_a;
    struct Case {
        const char* what;
        std::string bytes;
        AnsiString message;
    };
    std::vector<Case> cases;
    {
        std::string b = good;
        b[52] = 0;
        cases.push_back({"wrong magic", b, damaged});
    }
    {
        std::string b = good;
        patch32(b, 44, 2);
        cases.push_back({"old version", b, old});
        patch32(b, 44, 99);
        cases.push_back({"newer version", b, old});
    }
    {
        std::string b = good;
        patch32(b, 48, 0x7FFFFFFF);
        cases.push_back({"huge record count", b, damaged});
        patch32(b, 48, 0xFFFFFFFF);
        cases.push_back({"negative record count", b, damaged});
    }
    {
        std::string b = good;
        b[128 + 9] = char(77); // the tag of the first object's record
        cases.push_back({"unknown tag", b, damaged});
    }
    cases.push_back({"bytes after the last record", good + "z", damaged});
    cases.push_back({"empty file", std::string(), damaged});
    for (std::size_t cut = 1; cut < good.size(); cut += 7)
        cases.push_back({"truncated", good.substr(0, cut), damaged});
    for (const Case& c : cases) {
        TestUiPort ui;
        TScheme t;
        t.SetFileName("x.tvs");
        EXPECT_FALSE(t.LoadFromBytes(c.bytes)) << c.what;
        ASSERT_EQ(ui.Messages().size(), 1u) << c.what;
        EXPECT_EQ(ui.Messages()[0], c.message) << c.what;
        EXPECT_EQ(t.FirstElement(), nullptr) << c.what;
        EXPECT_FALSE(t.IsModified()) << c.what;
    }
}

TEST(SchemeFile, AutosaveWritesACopyOnly) {
    testenv::TempDir dir;
    {
        TScheme untitled;
        untitled.CreateAndElement();
        EXPECT_FALSE(untitled.AutoSave());
    }
    AnsiString copy = dir.File("a.tvt");
    {
        Sample sample;
        TScheme& s = sample.s;
        s.SetFileName(dir.File("a.tvs"));
        ASSERT_TRUE(s.IsModified());
        int steps = s.UndoList()->GroupCount();
        ASSERT_TRUE(s.AutoSave());
        EXPECT_EQ(TScheme::AutoSaveName(s.GetFileName()), copy);
        EXPECT_EQ(s.GetFileName(), dir.File("a.tvs"));
        EXPECT_TRUE(s.IsModified());
        EXPECT_EQ(s.UndoList()->GroupCount(), steps);
        EXPECT_FALSE(std::filesystem::exists(dir.Path() / "a.tvs"));
        EXPECT_EQ(testenv::ReadBytes(dir.Path() / "a.tvt"), s.SaveToBytes());
        {
            // A temporary document of the same file never deletes the copy.
            TScheme temp;
            temp.SetFileName(dir.File("a.tvs"));
            temp.LoadFromFile();
        }
        EXPECT_TRUE(std::filesystem::exists(dir.Path() / "a.tvt"));
        // A recovery copy opened for editing is not written over itself.
        TScheme recovered;
        recovered.SetFileName(copy);
        ASSERT_TRUE(recovered.LoadFromFile());
        EXPECT_EQ(recovered.SaveToBytes().size(), s.SaveToBytes().size());
        EXPECT_FALSE(recovered.AutoSave());
    }
    // The document that wrote the copy deletes it.
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "a.tvt"));
    EXPECT_EQ(TScheme::AutoSaveName("ab"), AnsiString());
}

TEST(SchemeFile, CopyAndPasteAtAPoint) {
    Sample sample;
    TScheme& s = sample.s;
    s.SelectInRect(Rect(0, 50, 250, 170), true); // X1, A1 and two wires
    int selected = int(s.Selection().size());
    ASSERT_EQ(selected, 4);
    TRect bounds;
    s.GetSelectionBounds(bounds);
    ASSERT_TRUE(s.Copy());
    TScheme t;
    t.UndoList()->BeginGroup();
    ASSERT_TRUE(t.Paste(500, 400));
    EXPECT_EQ(int(t.Selection().size()), selected);
    int minX = 1 << 30, minY = 1 << 30;
    for (TEntity* e : t.Selection()) {
        EXPECT_TRUE(e->Pasted);
        EXPECT_TRUE(e->Selected());
        minX = std::min(minX, e->GetX());
        minY = std::min(minY, e->GetY());
    }
    EXPECT_EQ(minX, 500);
    EXPECT_EQ(minY, 400);
    // The pasted pieces are joined among themselves.
    TElement* a = t.FirstDevice();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetInput(0)->SignalName(), AnsiString("X1"));
    // Paste is one undo step with the caller's.
    t.UndoList()->Undo();
    EXPECT_EQ(t.FirstElement(), nullptr);
    // Pasting into the same scheme twice gives new generated chain names.
    s.UndoList()->BeginGroup();
    ASSERT_TRUE(s.Paste(0, 500));
    TStringList names;
    s.ListChainNames(&names);
    for (int i = 0; i < names.Count(); ++i) {
        for (int j = i + 1; j < names.Count(); ++j) {
            if (names[i].Pos("_chain") == 1) {
                EXPECT_NE(names[i], names[j]);
            }
        }
    }
}

TEST(SchemeFile, PasteRefusesAStateMachineFragment) {
    ByteWriter w;
    FileHeader h;
    h.Name = "clipboard";
    h.Version = 7;
    h.Write(w);
    FileSignature sig;
    sig.Writer = ClipWriter::StateMachine;
    sig.Write(w);
    testenv::WriteBytes(std::filesystem::current_path() / "clip.brd", w.Data());
    TestUiPort ui;
    TScheme s;
    EXPECT_FALSE(s.Paste(10, 10));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0], "В буфере обмена фрагмент машины состояний: в схему его вставить нельзя."_a);
    EXPECT_EQ(s.FirstElement(), nullptr);
    std::filesystem::remove(std::filesystem::current_path() / "clip.brd");
    EXPECT_FALSE(s.Paste(10, 10)); // no clipboard file: nothing
}

} // namespace
