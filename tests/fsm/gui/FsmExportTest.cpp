// Picture export: the file it writes and the picture in it.
#include <filesystem>

#include "FsmGuiTest.h"
#include "fsm/FsmTestSupport.h"
#include "platform/Bitmap.h"
#include "platform/FileUtils.h"
#include "platform/TestUiPort.h"

using namespace fsmtest;

namespace {

class FsmExport : public FsmGuiTest {
protected:
    TFSMChild* OpenExample() {
        TFSMScheme doc;
        BuildExample(doc);
        const AnsiString file = dir.File("lift.fsm");
        doc.SetFileName(file);
        EXPECT_TRUE(doc.SaveToFile());
        return Open(file);
    }
    // Exports under the chosen name; the request the dialog got.
    FileDialogRequest Export(TFSMChild* w, const AnsiString& chosen) {
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
};

TEST_F(FsmExport, TheChosenNameGetsTheBitmapExtensionUnlessItHasIt) {
    struct Case {
        const char* chosen;
        const char* written;
    };
    const Case cases[] = {
        {"lift.bmp", "lift.bmp"}, {"lift", "lift.bmp"},         {"lift.BMP", "lift.BMP"},
        {"pic.Bmp", "pic.Bmp.bmp"}, {"v1.2/pump", "v1.2/pump.bmp"}, {"plan.txt", "plan.txt.bmp"},
    };
    std::filesystem::create_directories(dir.Path() / "v1.2");
    TFSMChild* w = OpenExample();
    for (const Case& c : cases) {
        EXPECT_EQ(TFSMChild::PictureFileName(c.chosen), AnsiString(c.written));
        const AnsiString chosen = dir.File(c.chosen), written = dir.File(c.written);
        const FileDialogRequest r = Export(w, chosen);
        // The dialog proposes the document's name as a bitmap.
        EXPECT_EQ(r.kind, FileDialogRequest::SavePicture);
        EXPECT_EQ(r.FileName, "lift.bmp"_a);
        EXPECT_EQ(r.Filter, "Bitmaps (*.bmp)|*.bmp"_a);
        EXPECT_TRUE(FileExists(written)) << c.chosen;
        std::filesystem::remove(ToFsPath(written));
    }
    // Cancelled: nothing written.
    Export(w, AnsiString());
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "v1.2"));
    EXPECT_EQ(w->PrintToFileAction->Caption(), "Сохранить картинку"_a);
}

TEST_F(FsmExport, ThePictureIsBlackOnWhiteAndTheSameAtEveryZoom) {
    TFSMChild* w = OpenExample();
    int maxX = 0, maxY = 0;
    w->FsmDocument()->GetExtent(&maxX, &maxY);
    std::string first;
    for (int zoom : {100, 400, 50}) {
        w->ChangeZoom(zoom);
        ASSERT_EQ(w->FsmDocument()->GetZoom(), zoom);
        const AnsiString file = dir.File("z" + IntToStr(zoom) + ".bmp");
        Export(w, file);
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
    }
    // The window's own picture is untouched by the export.
    EXPECT_TRUE(Bytes(Shown(w)) == Bytes(Repainted(w)));
}

TEST_F(FsmExport, PrintingDrawsTheSameOnAnyCanvasItIsGiven) {
    TFSMChild* w = OpenExample();
    auto print = [&](int zoom) {
        w->ChangeZoom(zoom);
        TBitmap b;
        b.SetSize(700, 400);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, 700, 400));
        b.Canvas()->CopyMode = cmSrcInvert;
        // The action takes a canvas as its sender; other senders draw nothing.
        w->PrintSchemActionExecute(b.Canvas());
        w->PrintSchemActionExecute(w);
        return Bytes(b.Image());
    };
    const std::string at100 = print(100);
    EXPECT_TRUE(print(400) == at100);
    EXPECT_TRUE(print(25) == at100);
}

} // namespace
