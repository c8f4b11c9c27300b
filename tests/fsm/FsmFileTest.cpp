// The ".fsm" file: whole-file layout, round trips, refused and damaged files,
// the autosave copy and the clipboard file.

#include <filesystem>

#include <gtest/gtest.h>

#include "FsmTestSupport.h"
#include "common/TestEnv.h"
#include "document/FileHeader.h"
#include "fsm/FsmRecords.h"
#include "platform/FileIO.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

int32_t I32At(const std::string& b, std::size_t off) {
    return int32_t(uint32_t(uint8_t(b[off])) | uint32_t(uint8_t(b[off + 1])) << 8 | uint32_t(uint8_t(b[off + 2])) << 16 |
                   uint32_t(uint8_t(b[off + 3])) << 24);
}

void PutI32(std::string& b, std::size_t off, int32_t v) {
    for (int i = 0; i < 4; ++i) b[off + std::size_t(i)] = char(uint8_t(uint32_t(v) >> (8 * i)));
}

// Where two byte strings first differ (-1 when they are equal), so that a
// failure names an offset instead of printing two files.
long FirstDifference(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return long(i);
    return a.size() == b.size() ? -1 : long(n);
}

// The saved bytes of the worked example.
std::string ExampleBytes(const AnsiString& name = "D:\\m\\lift.fsm") {
    TFSMScheme doc;
    doc.SetFileName(name);
    BuildExample(doc);
    return doc.SaveToBytes();
}

TEST(FsmFile, TheExampleFileHasTheSizeItsRecordsImply) {
    const std::string b = ExampleBytes();
    // Headers 52 + 76 + 100, three names of 21, two states of 1 + 136, four
    // transitions of 1 + 88 (initial, reset and two more), six boxes of 1 + 152.
    EXPECT_EQ(b.size(), 228u + 3 * 21 + 2 * 137 + 4 * 89 + 6 * 153);
    EXPECT_EQ(b.size(), 1839u);
    EXPECT_EQ(uint8_t(b[0]), 13);
    EXPECT_EQ(b.substr(1, 13), "D:\\m\\lift.fsm");
    EXPECT_EQ(I32At(b, 44), 7);
    EXPECT_EQ(I32At(b, 48), 12);
    EXPECT_EQ(b.substr(52, 14), std::string("\x25\x06\x19\x71Tarvelion\0", 14));
    EXPECT_EQ(I32At(b, 128 + 84), 2);
    EXPECT_EQ(I32At(b, 128 + 88), 1);
    EXPECT_EQ(uint8_t(b[228]), 4);
    EXPECT_EQ(b.substr(229, 4), ("Пуск"_a).str());
    EXPECT_EQ(b.substr(228 + 42 + 1, 5), ("Мотор"_a).str());
    // States first (tag 1), numbered 1 and 2, then transitions, then boxes.
    std::size_t at = 291;
    for (int i = 0; i < 2; ++i, at += 137) {
        EXPECT_EQ(uint8_t(b[at]), 1);
        EXPECT_EQ(I32At(b, at + 1), i + 1);
    }
    int resets = 0;
    for (int i = 0; i < 4; ++i, at += 89) {
        EXPECT_TRUE(b[at] == 0 || b[at] == 3);
        resets += b[at] == 3;
        EXPECT_EQ(I32At(b, at + 1), 3 + i);
    }
    EXPECT_EQ(resets, 1);
    for (int i = 0; i < 6; ++i, at += 153) {
        EXPECT_EQ(uint8_t(b[at]), 2);
        EXPECT_GE(I32At(b, at + 1 + 104), 1); // every box names its owner
        EXPECT_LE(I32At(b, at + 1 + 104), 6);
    }
    EXPECT_EQ(at, b.size());
}

TEST(FsmFile, SaveLoadSaveGivesIdenticalBytes) {
    testenv::TempDir dir;
    const AnsiString name = dir.File("лифт.fsm"_a);
    TFSMScheme doc;
    doc.SetFileName(name);
    Example e = BuildExample(doc);
    e.S2->SetName(AnsiString::StringOfChar('s', 90)); // cut to 80 in the file
    ASSERT_TRUE(doc.SaveToFile());
    EXPECT_FALSE(doc.IsModified());
    const std::string first = testenv::ReadBytes(ToFsPath(name));

    TFSMScheme back;
    back.SetFileName(name);
    ASSERT_TRUE(back.LoadFromFile());
    EXPECT_EQ(back.States().size(), 2u);
    EXPECT_EQ(back.Transitions().size(), 4u);
    EXPECT_EQ(back.Conditions().size(), 6u);
    EXPECT_NE(back.GetResetLink(), nullptr);
    EXPECT_EQ(back.GetInputCount(), 2);
    EXPECT_EQ(back.InputNames().Get(1), "Стоп"_a);
    EXPECT_EQ(back.States()[1]->GetName().Length(), 80);
    // Ends and boxes found their places again.
    TfsmElement* s1 = back.States()[0];
    EXPECT_EQ(s1->Incoming().size(), 3u); // initial, reset, from S2
    EXPECT_EQ(s1->Outgoing().size(), 1u);
    EXPECT_EQ(s1->GetCondition()->GetText(), "0"_a);
    EXPECT_EQ(s1->Outgoing()[0]->GetCondition()->GetText(), "01"_a);
    EXPECT_EQ(back.GetVersion(), 7);
    EXPECT_TRUE(back.GetUndoList()->IsEmpty());
    EXPECT_FALSE(back.IsModified());
    EXPECT_EQ(FirstDifference(back.SaveToBytes(), first), -1);
    ASSERT_TRUE(back.SaveToFile());
    EXPECT_EQ(FirstDifference(testenv::ReadBytes(ToFsPath(name)), first), -1);
    // The document that wrote the file saves the same bytes again too.
    ASSERT_TRUE(doc.SaveToFile());
    EXPECT_EQ(FirstDifference(testenv::ReadBytes(ToFsPath(name)), first), -1);
}

TEST(FsmFile, CountsAndNumbersFollowTheWrittenOrder) {
    // 2 states, 3 transitions (one the reset transition), 5 boxes.
    TFSMScheme doc;
    SetSignals(doc, {"a"}, {"y"});
    TfsmElement* a = AddState(doc, 100, 100, "A", "0");
    TfsmElement* b = AddState(doc, 300, 100, "B", "1");
    AddTransition(doc, 100, 20, 100, 100, "1");
    Connect(doc, a, b, "0");
    AddReset(doc, 200, 250, b, "X");
    const std::string bytes = doc.SaveToBytes();
    EXPECT_EQ(I32At(bytes, 48), 10);
    EXPECT_EQ(a->GetNumber(), 1);
    EXPECT_EQ(b->GetNumber(), 2);
    std::vector<int> transitionNumbers, boxNumbers;
    for (TfsmLink* t : doc.Transitions()) transitionNumbers.push_back(t->GetNumber());
    for (TfsmCond* c : doc.Conditions()) boxNumbers.push_back(c->GetNumber());
    EXPECT_EQ(transitionNumbers, (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(boxNumbers, (std::vector<int>{6, 7, 8, 9, 10}));
}

TEST(FsmFile, LongNamesAreCutInTheirFields) {
    TFSMScheme doc;
    doc.SetFileName(AnsiString("/") + AnsiString::StringOfChar('d', 60) + ".fsm");
    SetSignals(doc, {AnsiString::StringOfChar('i', 25)}, {});
    const std::string b = doc.SaveToBytes();
    EXPECT_EQ(uint8_t(b[0]), 40);
    EXPECT_EQ(uint8_t(b[228]), 20);
    EXPECT_EQ(b.substr(229, 20), std::string(20, 'i'));
    EXPECT_EQ(b.size(), 228u + 21);
}

// Loads bytes into a document with a recording window and answers the
// messages shown and whether the load was accepted.
struct LoadResult {
    bool ok;
    std::vector<AnsiString> messages;
    std::size_t entities;
    int inputs;
};

LoadResult LoadBytes(const std::string& bytes) {
    TestUiPort ui;
    RecordingWindow w;
    TFSMScheme doc(&w);
    const bool ok = doc.LoadFromBytes(bytes);
    EXPECT_EQ(doc.GetVersion(), 7);
    EXPECT_TRUE(doc.GetUndoList()->IsEmpty());
    EXPECT_EQ(w.ProgressHidden, 1);
    return {ok, ui.Messages(), doc.Entities().size(), doc.GetInputCount()};
}

TEST(FsmFile, VersionsFiveSixAndSevenLoadOthersAreRefused) {
    const std::string good = ExampleBytes();
    struct Case {
        int32_t version;
        const char* message; // null: accepted
    } cases[] = {{5, nullptr},
                 {6, nullptr},
                 {7, nullptr},
                 {2, "Предыдущие версии файлов не поддерживаются"},
                 {8, "Старая версия файла"},
                 {0, "Старая версия файла"},
                 {1, "Старая версия файла"},
                 {3, "Старая версия файла"},
                 {4, "Старая версия файла"},
                 {-7, "Старая версия файла"}};
    for (const Case& c : cases) {
        std::string b = good;
        PutI32(b, 44, c.version);
        const LoadResult r = LoadBytes(b);
        if (!c.message) {
            EXPECT_TRUE(r.ok) << c.version;
            EXPECT_TRUE(r.messages.empty()) << c.version;
            EXPECT_EQ(r.entities, 12u) << c.version;
        } else {
            EXPECT_FALSE(r.ok) << c.version;
            ASSERT_EQ(r.messages.size(), 1u) << c.version;
            EXPECT_EQ(r.messages[0], Utf8ToAnsi(c.message)) << c.version;
            EXPECT_EQ(r.entities, 0u) << c.version;
            EXPECT_EQ(r.inputs, 0) << c.version; // no signals read from a refused file
        }
    }
}

TEST(FsmFile, DamagedAndHostileFilesAreRefusedOrEndCleanly) {
    const std::string good = ExampleBytes();
    const std::size_t records = 291; // first record after the names
    struct Case {
        const char* what;
        std::string bytes;
        bool ok;
        std::size_t entities;
        bool cutShort = false;
    };
    auto with = [&](auto change) {
        std::string b = good;
        change(b);
        return b;
    };
    const std::vector<Case> cases = {
        {"empty", "", false, 0},
        {"cut in the header", good.substr(0, 30), false, 0},
        {"cut in the signature", good.substr(0, 100), false, 0},
        {"cut in the pin header", good.substr(0, 200), false, 0},
        {"cut in the names", good.substr(0, 250), false, 0},
        {"wrong magic", with([](std::string& b) { b[52] = 0x26; }), false, 0},
        {"negative inputs", with([](std::string& b) { PutI32(b, 128 + 84, -1); }), false, 0},
        {"121 outputs", with([](std::string& b) { PutI32(b, 128 + 88, 121); }), false, 0},
        {"absurd inputs", with([](std::string& b) { PutI32(b, 128 + 84, 0x7FFFFFFF); }), false, 0},
        {"negative record count", with([](std::string& b) { PutI32(b, 48, -3); }), false, 0},
        {"absurd record count", with([](std::string& b) { PutI32(b, 48, 0x7FFFFFFF); }), false, 0},
        {"unknown tag", with([&](std::string& b) { b[records + 137] = 9; }), false, 0},
        // A file cut at a record boundary or inside a record keeps what is
        // whole, and says that it is damaged.
        {"cut after one state", good.substr(0, records + 137), true, 1, true},
        {"cut inside the second state", good.substr(0, records + 137 + 50), true, 1, true},
        {"count one too high", with([](std::string& b) { PutI32(b, 48, 13); }), true, 12, true},
        {"count lower than the records", with([](std::string& b) { PutI32(b, 48, 2); }), true, 2},
        {"zero records", with([](std::string& b) { PutI32(b, 48, 0); }), true, 0},
    };
    for (const Case& c : cases) {
        const LoadResult r = LoadBytes(c.bytes);
        EXPECT_EQ(r.ok, c.ok) << c.what;
        EXPECT_EQ(r.entities, c.entities) << c.what;
        if (!c.ok || c.cutShort) {
            ASSERT_EQ(r.messages.size(), 1u) << c.what;
            EXPECT_EQ(r.messages[0], "Файл разрушен!!"_a) << c.what;
        } else {
            EXPECT_TRUE(r.messages.empty()) << c.what;
        }
    }
}

TEST(FsmFile, BoxesWithoutALoadedOwnerBelongToNobody) {
    std::string b = ExampleBytes();
    // Point the first box at record 99, which does not exist, and the second at 0.
    const std::size_t firstBox = 291 + 2 * 137 + 4 * 89;
    PutI32(b, firstBox + 1 + 104, 99);
    PutI32(b, firstBox + 153 + 1 + 104, 0);
    TFSMScheme doc;
    ASSERT_TRUE(doc.LoadFromBytes(b));
    const std::vector<TfsmCond*> boxes = doc.Conditions();
    EXPECT_EQ(boxes[0]->GetOwner(), nullptr);
    EXPECT_EQ(boxes[1]->GetOwner(), nullptr);
    EXPECT_NE(boxes[2]->GetOwner(), nullptr);
}

TEST(FsmFile, AResetTransitionIsStraightAfterLoadingWhateverItsRecordSays) {
    std::string b = ExampleBytes();
    // The reset transition is the second transition record; bend its control
    // points and clear nothing else.
    std::size_t at = 291 + 2 * 137;
    while (b[at] != 3) at += 89;
    PutI32(b, at + 1 + 12, 999);
    PutI32(b, at + 1 + 16, -999);
    TFSMScheme doc;
    ASSERT_TRUE(doc.LoadFromBytes(b));
    TfsmResetLink* r = doc.GetResetLink();
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->IsStraight());
    EXPECT_EQ(r->GetPointY(1), r->GetPointY(0));
    EXPECT_EQ(r->GetTarget(), doc.States()[0]);
}

// Sound behaviour 5: the window may repaint while a file loads (it lets no
// user input through); a repaint then draws nothing that is not yet shown.
TEST(FsmFile, ARepaintWhileLoadingDrawsOnlyWhatIsShown) {
    struct PaintingWindow : RecordingWindow {
        PaintingWindow() : RecordingWindow(true) {}
        void StepProgress(int position) override {
            RecordingWindow::StepProgress(position);
            const std::string before = View()->Pixels();
            doc->Paint();
            if (View()->Pixels() != before) ++dirty;
        }
        TFSMScheme* doc = nullptr;
        int dirty = 0;
    } w;
    const std::string blank = w.View()->Pixels();
    TFSMScheme doc(&w);
    w.doc = &doc;
    ASSERT_TRUE(doc.LoadFromBytes(ExampleBytes()));
    EXPECT_EQ(w.Steps.size(), 12u);
    EXPECT_EQ(w.dirty, 0);
    EXPECT_TRUE(w.View()->Pixels() != blank); // shown once the file is in
    for (TfsmEntity* e : doc.Entities()) EXPECT_TRUE(e->IsShown());
}

TEST(FsmFile, AMissingFileLeavesTheDocumentEmptyAndSilent) {
    TestUiPort ui;
    RecordingWindow w;
    TFSMScheme doc(&w);
    BuildExample(doc);
    doc.SetFileName("нет такого.fsm"_a);
    EXPECT_TRUE(doc.LoadFromFile());
    EXPECT_TRUE(doc.Entities().empty());
    EXPECT_EQ(doc.GetInputCount(), 0);
    EXPECT_TRUE(w.InputItems.empty());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(FsmFile, LoadingReportsProgressSignalsAndStatesToTheWindow) {
    testenv::TempDir dir;
    const AnsiString name = dir.File("a.fsm");
    testenv::WriteBytes(ToFsPath(name), ExampleBytes());
    RecordingWindow w;
    TFSMScheme doc(&w);
    doc.SetFileName(name);
    ASSERT_TRUE(doc.LoadFromFile());
    EXPECT_EQ(w.ProgressMax, 12);
    EXPECT_EQ(w.Steps.size(), 12u);
    EXPECT_EQ(w.ProgressHidden, 1);
    EXPECT_EQ(w.StatesLoaded, 2);
    EXPECT_EQ(w.InputItems, (std::vector<AnsiString>{"Пуск"_a, "Стоп"_a}));
    EXPECT_EQ(w.OutputItems, (std::vector<AnsiString>{"Мотор"_a}));
    EXPECT_EQ(w.Captions.back(), name);
    // Ids count from 0 in file order.
    for (std::size_t i = 0; i < doc.Entities().size(); ++i) EXPECT_EQ(doc.Entities()[i]->GetId(), int(i));
}

// ---- sound behaviour 2: a failed save changes nothing ---------------------------------

TEST(FsmFile, AFailedSaveKeepsTheDocumentModifiedAndTheOldFile) {
    TestUiPort ui;
    testenv::TempDir dir;
    RecordingWindow w;
    TFSMScheme doc(&w);
    BuildExample(doc);
    ASSERT_TRUE(doc.IsModified());
    const int undoRecords = doc.GetUndoList()->Count();
    doc.SetFileName(dir.File("нет/папки/x.fsm"_a));
    EXPECT_FALSE(doc.SaveToFile());
    EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"Не могу создать файл!\n"_a + dir.File("нет/папки/x.fsm"_a)});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetUndoList()->Count(), undoRecords);
    EXPECT_EQ(w.Captions.back(), dir.File("нет/папки/x.fsm*"_a));

    // Over an existing file: the old bytes stay when the write cannot finish
    // (a folder of that name cannot be replaced by a file).
    const AnsiString blocked = dir.File("b.fsm");
    std::filesystem::create_directories(ToFsPath(blocked));
    doc.SetFileName(blocked);
    EXPECT_FALSE(doc.SaveToFile());
    EXPECT_TRUE(std::filesystem::is_directory(ToFsPath(blocked)));
    EXPECT_TRUE(doc.IsModified());

    // An empty name does nothing at all.
    ui.Clear();
    doc.SetFileName("");
    EXPECT_FALSE(doc.SaveToFile());
    EXPECT_TRUE(ui.Messages().empty());
}

// ---- sound behaviour 1: autosave writes a copy only -----------------------------------

TEST(FsmFile, AutoSaveWritesACopyAndChangesNothingElse) {
    testenv::TempDir dir;
    const AnsiString name = dir.File("lift.fsm");
    const AnsiString copy = dir.File("lift.fsmt");
    EXPECT_EQ(TFSMScheme::AutoSaveName("D:\\m\\lift.fsm"), "D:\\m\\lift.fsmt");
    {
        RecordingWindow w;
        TFSMScheme doc(&w);
        doc.SetFileName(name);
        BuildExample(doc);
        const int undoRecords = doc.GetUndoList()->Count();
        const std::size_t captions = w.Captions.size();
        ASSERT_TRUE(doc.AutoSave());
        EXPECT_TRUE(std::filesystem::exists(ToFsPath(copy)));
        EXPECT_FALSE(std::filesystem::exists(ToFsPath(name)));
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.GetFileName(), name);
        EXPECT_EQ(doc.GetUndoList()->Count(), undoRecords);
        EXPECT_EQ(w.Captions.size(), captions); // the caption never showed the copy's name
        // The copy holds the machine under the copy's own name.
        const std::string bytes = testenv::ReadBytes(ToFsPath(copy));
        EXPECT_EQ(bytes.substr(1, std::size_t(uint8_t(bytes[0]))), copy.str().substr(0, 40));
        TFSMScheme recovered;
        recovered.SetFileName(copy);
        ASSERT_TRUE(recovered.LoadFromFile());
        EXPECT_EQ(recovered.Entities().size(), 12u);

        // A document of another editor's name, or untitled, writes no copy.
        TFSMScheme untitled(&w);
        EXPECT_FALSE(untitled.AutoSave());
        TFSMScheme other(&w);
        other.SetFileName(dir.File("lift.tvs"));
        EXPECT_FALSE(other.AutoSave());
        EXPECT_FALSE(std::filesystem::exists(ToFsPath(dir.File("lift.tvsfsmt"))));

        // A document that only reads the file (the translator's) leaves the copy.
        {
            TFSMScheme reader;
            reader.SetFileName(name);
            reader.LoadFromFile();
        }
        EXPECT_TRUE(std::filesystem::exists(ToFsPath(copy)));
    }
    // The document that wrote the copy deletes it when it goes.
    EXPECT_FALSE(std::filesystem::exists(ToFsPath(copy)));
}

// ---- the clipboard file ------------------------------------------------------------------

TEST(FsmFile, CopyAndPasteThroughTheClipboardFile) {
    std::filesystem::remove("clip.brd");
    TestUiPort ui;
    TFSMScheme doc;
    Example e = BuildExample(doc);
    doc.ClearSelection();
    doc.AddToSelection(e.S1, true);
    doc.AddToSelection(e.S1S2, true);
    doc.AddToSelection(e.S1->GetCondition(), true); // boxes are copied but not pasted
    doc.AddToSelection(e.Reset, true);             // nor is the reset transition
    ASSERT_TRUE(doc.CopyToClipboard());
    const std::string clip = testenv::ReadBytes("clip.brd");
    EXPECT_EQ(uint8_t(clip[0]), 9);
    EXPECT_EQ(clip.substr(1, 9), "clipboard");
    EXPECT_EQ(I32At(clip, 48), 4);
    EXPECT_EQ(I32At(clip, 52 + 36), 40);  // the smallest X: the reset transition's start
    EXPECT_EQ(I32At(clip, 52 + 40), 100); // the smallest Y: the box and the curve's control points
    EXPECT_EQ(I32At(clip, 52 + 44), int32_t(ClipWriter::StateMachine));
    EXPECT_EQ(clip.size(), 128u + 137 + 89 + 153 + 89);

    TFSMScheme target;
    const int undoBefore = target.GetUndoList()->Count();
    ASSERT_TRUE(target.PasteFromClipboard(1040, 1100));
    ASSERT_EQ(target.Entities().size(), 2u);
    ASSERT_EQ(target.Selection().size(), 2u);
    TfsmElement* s = target.States().at(0);
    EXPECT_EQ(s->GetX(), 150 + 1000);
    EXPECT_EQ(s->GetY(), 150 + 1000);
    EXPECT_TRUE(s->IsSelected());
    EXPECT_TRUE(s->IsMarked());
    TfsmLink* t = target.Transitions().at(0);
    EXPECT_EQ(t->GetSource(), s); // joined to the pasted state where it lies now
    EXPECT_EQ(t->GetTarget(), nullptr);
    EXPECT_EQ(target.GetUndoList()->Count(), undoBefore + 2);
    EXPECT_FALSE(target.IsModified());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(FsmFile, PasteRefusesAnotherEditorsFragmentAndDamage) {
    TestUiPort ui;
    // A scheme fragment (written by the scheme editor) is not pasted.
    ByteWriter w;
    FileHeader h;
    h.Name = "clipboard";
    h.Count = 1;
    h.Write(w);
    FileSignature sig;
    sig.Writer = ClipWriter::Scheme;
    sig.Write(w);
    w.U8(1);
    w.Zeros(136);
    testenv::WriteBytes("clip.brd", w.Data());
    TFSMScheme doc;
    EXPECT_FALSE(doc.PasteFromClipboard(0, 0));
    EXPECT_TRUE(doc.Entities().empty());
    EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"В буфере обмена нет фрагмента машины состояний"_a});

    // An empty fragment pastes nothing and selects nothing.
    ui.Clear();
    TFSMScheme source;
    source.ClearSelection();
    ASSERT_TRUE(source.CopyToClipboard());
    EXPECT_TRUE(doc.PasteFromClipboard(10, 10));
    EXPECT_TRUE(doc.Entities().empty());
    EXPECT_TRUE(doc.Selection().empty());

    // An unknown tag stops the paste with the damage message; what came before stays.
    std::string clip = testenv::ReadBytes("clip.brd");
    PutI32(clip, 48, 3);
    clip += std::string(1, '\x01') + std::string(136, '\0');
    clip += std::string(1, '\x07') + std::string(10, '\0');
    testenv::WriteBytes("clip.brd", clip);
    EXPECT_FALSE(doc.PasteFromClipboard(0, 0));
    EXPECT_EQ(doc.Entities().size(), 1u);
    EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"Файл разрушен!!"_a});

    // No clipboard file: nothing.
    std::filesystem::remove("clip.brd");
    ui.Clear();
    EXPECT_FALSE(doc.PasteFromClipboard(0, 0));
    EXPECT_TRUE(ui.Messages().empty());
}

} // namespace
