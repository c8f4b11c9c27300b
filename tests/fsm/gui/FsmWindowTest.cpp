// The window: what it shows, its commands, zoom, keys, closing and its
// picture, exported and printed.
#include <filesystem>
#include <tuple>

#include "FsmGuiTest.h"
#include "fsm/FsmTestSupport.h"
#include "platform/Bitmap.h"
#include "platform/FileUtils.h"
#include "platform/testing/TestUiPort.h"

namespace {

using FsmWindow = FsmGuiTest;

TEST_F(FsmWindow, ANewWindowShowsItsFileAndTheModeCommandsSetTheModeWordTextAndPopup) {
    const AnsiString file = ExampleFile();
    TFSMChild* w = Open(file);
    EXPECT_EQ(w->Caption(), file);
    EXPECT_EQ(w->GetMode(), TFSMChild::mdSelect);
    EXPECT_EQ(w->StatusBar->Panels()->Items(1)->Text(), "Выбор"_a);
    EXPECT_FALSE(w->ProgressBar->Visible());
    // The signal lists hold the file's names; the picture is the diagram.
    ASSERT_EQ(w->inBox->Items()->Count(), 2);
    EXPECT_EQ(w->inBox->Items()->Get(1), "Стоп"_a);
    EXPECT_EQ(w->outBox->Items()->Get(0), "Мотор"_a);
    EXPECT_TRUE(ShowsRepaint(w));
    EXPECT_NE(Shown(w).pixel(150, 150) & 0xFFFFFF, 0xFFFFFFu) << "the state S1 is drawn";
    EXPECT_TRUE(port.Calls.empty());
    // Each mode command: the mode word, the status text and the popup menu.
    struct Case { TAction* TFSMChild::*action; int word; const char* text; TPopupMenu* TFSMChild::*popup; };
    const Case cases[] = {
        {&TFSMChild::SetModeDeviceAction, TFSMChild::mdState | TFSMChild::kPlacing, "Не знаю", &TFSMChild::PopupMenu3},
        {&TFSMChild::SetModePinAction, TFSMChild::mdPin, "Не знаю", &TFSMChild::PopupMenu1},
        {&TFSMChild::SetModeWireAction, TFSMChild::mdTransition, "Не знаю", &TFSMChild::PopupMenu1},
        {&TFSMChild::SetModeSymbolAction, TFSMChild::mdCondition | TFSMChild::kPlacing, "Не знаю",
         &TFSMChild::PopupMenu3},
        {&TFSMChild::SetModeSelectAction, TFSMChild::mdSelect, "Выбор", &TFSMChild::PopupMenu1},
        {&TFSMChild::PasteAction, TFSMChild::mdPaste, "Вставка из буфера", &TFSMChild::PopupMenu1},
    };
    fake.pasteEnabled = true;
    for (const Case& c : cases) {
        EXPECT_TRUE((w->*c.action)->Execute()) << c.text;
        EXPECT_EQ(w->ModeWord(), c.word);
        EXPECT_EQ(w->StatusBar->Panels()->Items(1)->Text(), Utf8ToAnsi(c.text));
        EXPECT_EQ(w->PaintBox1->PopupMenu(), w->*c.popup);
        EXPECT_EQ(w->SelectItem->Checked(), c.word == TFSMChild::mdSelect);
    }
    // Esc ends placing and gives back the popup of the mode.
    w->SetModeDeviceAction->Execute();
    w->EscAction->Execute();
    EXPECT_EQ(w->ModeWord(), TFSMChild::mdState);
    EXPECT_EQ(w->PaintBox1->PopupMenu(), w->PopupMenu1);
}

TEST_F(FsmWindow, ZoomStepsStopAtTheLimitsAndTheSheetFollows) {
    TFSMChild* w = Open();
    struct Step { void (TFSMChild::*command)(TObject*); int zoom; };
    // Steps of 50 from 100 never reach 25; the document can be set there.
    const Step steps[] = {
        {&TFSMChild::ZoomInActionExecute, 150},   {&TFSMChild::ZoomMaxActionExecute, 400},
        {&TFSMChild::ZoomInActionExecute, 400},   {&TFSMChild::ZoomNormalActionExecute, 100},
        {&TFSMChild::ZoomOutActionExecute, 50},   {&TFSMChild::ZoomOutActionExecute, 50},
        {nullptr, 25},                            {&TFSMChild::ZoomOutActionExecute, 25},
        {&TFSMChild::ZoomInActionExecute, 75},
    };
    int updates = 0, zoom = 100;
    for (const Step& s : steps) {
        if (s.command) (w->*s.command)(nullptr);
        else w->FsmDocument()->SetZoom(s.zoom);
        EXPECT_EQ(w->FsmDocument()->GetZoom(), s.zoom);
        EXPECT_EQ(w->StatusBar->Panels()->Items(3)->Text(), "Zoom:" + IntToStr(s.zoom));
        EXPECT_EQ(w->PaintBox1->Width(), 800 * s.zoom / 100);
        EXPECT_EQ(w->PaintBox1->Height(), 600 * s.zoom / 100);
        // The frame refreshes its zoom commands after each change.
        EXPECT_EQ(fake.zoomUpdates - updates, s.command && s.zoom != zoom ? 1 : 0) << s.zoom;
        updates = fake.zoomUpdates;
        zoom = s.zoom;
    }
    // The keypad's plus and minus zoom; the plus of the main keys does not.
    for (auto [key, mods, expected] : {std::tuple{Qt::Key_Plus, Qt::KeypadModifier, 125},
                                       {Qt::Key_Minus, Qt::KeypadModifier, 75},
                                       {Qt::Key_Plus, Qt::NoModifier, 75}}) {
        Key(key, mods);
        EXPECT_EQ(w->FsmDocument()->GetZoom(), expected) << key;
    }
}

TEST_F(FsmWindow, TheSelectionIsCentredAtEveryZoom) {
    TFSMChild* w = Open();
    w->SetBounds(0, 0, 400, 300);
    TFSMScheme* doc = w->FsmDocument();
    doc->AddToSelection(fsmtest::AddState(*doc, 400, 300, "S", "1"), false);
    TRect r;
    doc->GetSelectionRect(&r);
    TControlScrollBar* h = w->ScrollBox1->HorzScrollBar();
    TControlScrollBar* v = w->ScrollBox1->VertScrollBar();
    for (int zoom : {100, 200, 400, 150}) {
        w->FsmDocument()->SetZoom(zoom);
        h->SetPosition(0);
        v->SetPosition(0);
        w->CenterSelectedActionExecute(nullptr);
        // The selection's centre on the screen is the middle of the scroll box.
        EXPECT_EQ(doc->Scale((r.Left + r.Right) / 2) - h->Position(), w->ScrollBox1->Width() / 2) << zoom;
        EXPECT_EQ(doc->Scale((r.Top + r.Bottom) / 2) - v->Position(), w->ScrollBox1->Height() / 2) << zoom;
    }
}

TEST_F(FsmWindow, AZoomWhoseSheetTheImageCannotHoldIsIgnored) {
    const int oldWidth = InitModule->MaxWidth;
    InitModule->MaxWidth = 20000;
    TFSMChild* w = Open();
    w->ZoomInActionExecute(nullptr);
    EXPECT_EQ(w->FsmDocument()->GetZoom(), 150);
    w->ZoomMaxActionExecute(nullptr); // 80,000 pixels wide
    EXPECT_EQ(w->FsmDocument()->GetZoom(), 150);
    EXPECT_EQ(w->PaintBox1->Width(), 30000);
    InitModule->MaxWidth = oldWidth;
}

TEST_F(FsmWindow, ClosingAModifiedWindowAsksAndKeepsItUnlessSavedOrDropped) {
    struct Case { const char* what; int answer; bool saveSucceeds, closes, written; };
    const Case cases[] = {
        {"Cancel", mrCancel, true, false, false},
        {"Yes, save fails", mrYes, false, false, false},
        {"Yes, saved", mrYes, true, true, true},
        {"No", mrNo, true, true, false},
    };
    for (const Case& c : cases) {
        const AnsiString file = dir.File(AnsiString(c.what).SubString(1, 3) + ".fsm");
        TFSMChild* w = Open(file);
        w->InsertDeviceActionExecute(nullptr);
        port.Clear();
        port.Answer(c.answer);
        fake.saveSucceeds = c.saveSucceeds;
        const int saves = fake.saves;
        std::weak_ptr<char> alive = w->Alive();
        w->Close();
        Application->ProcessMessages();
        const bool closed = alive.expired(); // the window was freed
        if (closed) Forget(w);
        EXPECT_EQ(closed, c.closes) << c.what;
        ASSERT_EQ(port.Messages(), std::vector<AnsiString>{"Схема не сохранена! Сохранить?"_a}) << c.what;
        EXPECT_EQ(port.Calls[0].type, mtWarning);
        EXPECT_EQ(port.Calls[0].buttons, mbYesNoCancel);
        EXPECT_EQ(fake.saves - saves, c.answer == mrYes ? 1 : 0) << c.what;
        EXPECT_EQ(FileExists(file), c.written) << c.what;
        if (!closed) {
            EXPECT_TRUE(w->FsmDocument()->IsModified()) << c.what;
            EXPECT_EQ(w->Caption(), file + "*");
        }
    }
}

TEST_F(FsmWindow, EditCommandsFollowTheSelectionAndCopyTellsTheFrame) {
    TFSMChild* w = Open(ExampleFile());
    TFSMScheme* doc = w->FsmDocument();
    w->UpdateEditActions();
    EXPECT_FALSE(w->CopyActionEnabled() || w->CutActionEnabled() || w->DeleteActionEnabled());
    EXPECT_FALSE(w->FlipHorActionEnabled());
    EXPECT_FALSE(w->FlipHorAction->Visible());
    // A transition alone has no properties.
    doc->AddToSelection(doc->Transitions()[0], true);
    w->UpdateEditActions();
    EXPECT_TRUE(w->CopyActionEnabled() && w->DeleteActionEnabled());
    EXPECT_TRUE(w->FlipHorAction->Visible() && w->N4->Visible());
    EXPECT_FALSE(w->EditPropertyAction->Enabled());
    doc->AddToSelection(doc->States()[0], true);
    w->UpdateEditActions();
    EXPECT_TRUE(w->EditPropertyAction->Enabled());

    w->CopyActionExecute(nullptr);
    EXPECT_EQ(fake.pasteAvailable, std::vector<bool>{true});
    // The window's paste follows the frame's.
    w->UpdateEditActions();
    EXPECT_FALSE(w->PasteAction->Enabled());
    fake.pasteEnabled = true;
    w->UpdateEditActions();
    EXPECT_TRUE(w->PasteAction->Enabled());
    // Cut copies and deletes.
    const std::size_t before = doc->Entities().size();
    w->CutActionExecute(nullptr);
    EXPECT_EQ(fake.pasteAvailable.size(), 2u);
    EXPECT_LT(doc->Entities().size(), before);
    EXPECT_FALSE(doc->HasSelection());
    EXPECT_TRUE(ShowsRepaint(w));
}

class FsmExport : public FsmGuiTest {
protected:
    void SetUp() override {
        FsmGuiTest::SetUp();
        w = Open(ExampleFile());
    }
    // Exports under the chosen name; the request the dialog got.
    FileDialogRequest Export(const AnsiString& chosen) {
        FileDialogRequest seen;
        port.OnFileDialog = [&](FileDialogRequest& r) {
            seen = r;
            r.FileName = chosen;
            return !chosen.IsEmpty();
        };
        w->PrintToFileAction->Execute();
        port.OnFileDialog = nullptr;
        return seen;
    }

    TFSMChild* w = nullptr;
};

TEST_F(FsmExport, TheChosenNameGetsTheBitmapExtensionUnlessItHasIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"lift.bmp", "lift.bmp"},   {"lift", "lift.bmp"},           {"lift.BMP", "lift.BMP"},
        {"pic.Bmp", "pic.Bmp.bmp"}, {"v1.2/pump", "v1.2/pump.bmp"}, {"plan.txt", "plan.txt.bmp"},
    };
    std::filesystem::create_directories(dir.Path() / "v1.2");
    for (const auto& [chosen, written] : cases) {
        EXPECT_EQ(TFSMChild::PictureFileName(chosen), AnsiString(written));
        const FileDialogRequest r = Export(dir.File(chosen));
        // The dialog proposes the document's name as a bitmap.
        EXPECT_EQ(r.kind, FileDialogRequest::SavePicture);
        EXPECT_EQ(r.FileName, "lift.bmp"_a);
        EXPECT_EQ(r.Filter, "Bitmaps (*.bmp)|*.bmp"_a);
        EXPECT_TRUE(FileExists(dir.File(written))) << chosen;
        std::filesystem::remove(ToFsPath(dir.File(written)));
    }
    // Cancelled: nothing written.
    Export(AnsiString());
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "v1.2"));
}

TEST_F(FsmExport, AnExportOverAFileThatExistsAsksFirst) {
    testenv::WriteBytes(dir.Path() / "lift.bmp", "keep");
    testenv::WriteBytes(dir.Path() / "lift.png", "keep");
    // Written as lift.png.bmp, a file that does not exist: no question.
    Export(dir.File("lift.png"));
    EXPECT_TRUE(port.Messages().empty());
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "lift.png"), "keep");
    port.Answer(mrNo);
    Export(dir.File("lift"));
    EXPECT_EQ(port.Messages(),
              std::vector<AnsiString>{"Файл "_a + dir.File("lift.bmp") + " уже существует. Заменить его?"_a});
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "lift.bmp"), "keep");
    port.Answer(mrYes);
    Export(dir.File("lift"));
    EXPECT_NE(testenv::ReadBytes(dir.Path() / "lift.bmp"), "keep");
}

TEST_F(FsmExport, ThePictureAndThePrintoutAreBlackOnWhiteAndTheSameAtEveryZoom) {
    int maxX = 0, maxY = 0;
    w->FsmDocument()->GetExtent(&maxX, &maxY);
    std::string first, firstPrint;
    for (int zoom : {100, 400, 50}) {
        w->ChangeZoom(zoom);
        ASSERT_EQ(w->FsmDocument()->GetZoom(), zoom);
        const AnsiString file = dir.File("z" + IntToStr(zoom) + ".bmp");
        Export(file);
        TBitmap b;
        b.LoadFromFile(file);
        EXPECT_EQ(b.Width(), maxX + 40);
        EXPECT_EQ(b.Height(), maxY + 20);
        const QImage& img = b.Image();
        int black = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const uint32_t p = img.pixel(x, y) & 0xFFFFFF;
                ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << zoom;
                black += p == 0;
            }
        EXPECT_GT(black, 500) << zoom;
        // S1 (150, 150) is drawn where it lies, the corner beyond the
        // drawing stays white.
        EXPECT_EQ(img.pixel(150 - 30, 150) & 0xFFFFFF, 0u) << zoom;
        EXPECT_EQ(img.pixel(b.Width() - 1, b.Height() - 1) & 0xFFFFFF, 0xFFFFFFu) << zoom;
        const std::string bytes = testenv::ReadBytes(ToFsPath(file));
        if (first.empty()) first = bytes;
        else EXPECT_TRUE(bytes == first) << "zoom " << zoom << " gives another picture";
        // Printing takes a canvas as the action's sender; other senders draw nothing.
        TBitmap paper;
        paper.SetSize(700, 400);
        paper.Canvas()->Brush()->SetColor(clWhite);
        paper.Canvas()->FillRect(Rect(0, 0, 700, 400));
        paper.Canvas()->CopyMode = cmSrcInvert;
        w->PrintSchemActionExecute(paper.Canvas());
        w->PrintSchemActionExecute(w);
        if (firstPrint.empty()) firstPrint = Bytes(paper.Image());
        else EXPECT_TRUE(Bytes(paper.Image()) == firstPrint) << "zoom " << zoom << " prints another picture";
    }
    // The window's own picture is untouched by the export.
    EXPECT_TRUE(ShowsRepaint(w));
}

} // namespace
