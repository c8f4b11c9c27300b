// Picture export and printing: the file it writes and the picture in it.
#include <filesystem>

#include "FsmGuiTest.h"
#include "platform/Bitmap.h"
#include "platform/FileUtils.h"
#include "platform/TestUiPort.h"

namespace {

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
