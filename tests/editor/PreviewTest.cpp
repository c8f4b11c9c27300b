// The print preview: the page image at its scale and orientation, the
// drawing fitted to the page or as it is, in black and white, printed the
// same way; a window that closed leaves the page blank and prints nothing.
#include "editor/SchemeWindowTest.h"

#include "editor/qrprint.h"
#include "platform/Bitmap.h"
#include "platform/gui/Dialogs.h"

namespace {

class Preview : public SchemeWindowTest {
protected:
    void SetUp() override {
        SchemeWindowTest::SetUp();
        auto backend = std::make_unique<TestPrinterBackend>(72, TSize(595, 842));
        pages = backend.get();
        previous = Printer()->SetBackend(std::move(backend));
        Printer()->SetOrientation(poPortrait);
        Report1 = MakeForm<TReport1>();
        // One wire from (100, 100) to (500, 300): the extent is 500 by 300.
        Doc()->CreateWire(100, 100, 500, 300)->Show();
        port.OnPrintDialog = [this](PrintDialogRequest&) { return ++printDialogs, true; };
    }
    void TearDown() override {
        Printer()->SetOrientation(poPortrait);
        Printer()->SetBackend(std::move(previous));
        SchemeWindowTest::TearDown();
    }
    TReport1* R() const { return Report1; }
    const QImage& Page() const { return *R()->PaintBox1->Canvas()->Image(); }
    static bool Black(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == 0; }
    // A black pixel within 2 pixels of (x, y): where a line through the point lands.
    static bool Near(const QImage& img, int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (img.valid(x + dx, y + dy) && Black(img, x + dx, y + dy)) return true;
        return false;
    }
    static int Count(const QImage& img, bool black) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += Black(img, x, y) == black;
        return n;
    }
    static int Other(const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y) & 0xFFFFFF;
                n += c != 0 && c != 0xFFFFFF;
            }
        return n;
    }
    void Choose(TComboBox* box, int index, void (TReport1::*handler)(TObject*)) {
        box->SetItemIndex(index);
        (R()->*handler)(box);
    }
    TestPrinterBackend* pages = nullptr;
    std::unique_ptr<IPrinterBackend> previous;
    int printDialogs = 0;
};

TEST_F(Preview, ThePageIsAQuarterOfThePrinterPageAtTheScaleAndOrientation) {
    R()->PreviewScheme(window);
    struct Case {
        std::function<void()> act;
        int width, height;
    };
    const Case cases[] = {
        {[] {}, 148, 210},
        {[&] { Choose(R()->ComboBox2, 4, &TReport1::ComboBox2Change); }, 297, 421}, // 200 %
        {[&] { Choose(R()->ComboBox2, 1, &TReport1::ComboBox2Change); }, 74, 105},  // 50 %
        {[&] {
             R()->RadioGroup2->SetItemIndex(1);
             R()->RadioGroup2Click(R()->RadioGroup2);
         },
         105, 74}, // landscape
        {[&] { Choose(R()->ComboBox1, 1, &TReport1::ComboBox1Change); }, 105, 74}, // A3 changes nothing
    };
    for (const Case& c : cases) {
        c.act();
        EXPECT_EQ(R()->PaintBox1->Width(), c.width);
        EXPECT_EQ(R()->PaintBox1->Height(), c.height);
        EXPECT_EQ(Printer()->Orientation(), R()->RadioGroup2->ItemIndex() == 1 ? poLandscape : poPortrait);
    }
    // Shown again it starts at 100 % with its lists reset; the orientation stays.
    R()->Hide();
    R()->PreviewScheme(window);
    EXPECT_EQ(R()->PreviewScale, 100);
    EXPECT_EQ(R()->ComboBox2->Text(), AnsiString("100"));
    EXPECT_EQ(R()->ComboBox3->Text(), AnsiString("1"));
    EXPECT_EQ(R()->ComboBox1->ItemIndex(), 0);
    EXPECT_EQ(R()->PaintBox1->Width(), 210);
}

TEST_F(Preview, FittedToThePageOrAsItIsWithTheMagnificationInBlackAndWhite) {
    R()->PreviewScheme(window);
    Choose(R()->ComboBox2, 4, &TReport1::ComboBox2Change); // 200 %: 297 by 421
    const QImage fitted = Page().copy();
    EXPECT_EQ(Other(fitted), 0);
    // Fitted: the drawing's 530 by 330 stretched into (20, 20, 277, 401), the
    // wire from its top left to its bottom right part.
    EXPECT_TRUE(Near(fitted, 20 + 100 * 257 / 530, 20 + 100 * 381 / 330));
    EXPECT_TRUE(Near(fitted, 20 + 300 * 257 / 530, 20 + 200 * 381 / 330));
    EXPECT_TRUE(Near(fitted, 20 + 499 * 257 / 530, 20 + 299 * 381 / 330));
    EXPECT_EQ(Count(fitted, true) > 0, true);
    for (int x = 0; x < 20; ++x) EXPECT_FALSE(Black(fitted, x, 200)) << "the margin";
    // As it is with k = 2 at 200 %: left = top = 10, right = 2 * 2 * 500 / 4 + 25.
    R()->RadioGroup1->SetItemIndex(1);
    R()->RadioGroup1Click(R()->RadioGroup1);
    Choose(R()->ComboBox3, 1, &TReport1::ComboBox3Change);
    const QImage asIs = Page().copy();
    EXPECT_EQ(Other(asIs), 0);
    const int right = 2 * 2 * 500 / 4 + 25, bottom = 2 * 2 * 300 / 4 + 25;
    auto at = [&](int x, int y) { // a drawing point on the page
        return QPoint(10 + x * (right - 10) / 530, 10 + y * (bottom - 10) / 330);
    };
    const QPoint start = at(100, 100), mid = at(200, 150);
    EXPECT_TRUE(Near(asIs, start.x(), start.y()));
    EXPECT_TRUE(Near(asIs, mid.x(), mid.y()));
    EXPECT_FALSE(Near(asIs, 20 + 200 * 257 / 530, 20 + 150 * 381 / 330)) << "where the fitted picture has it";
    EXPECT_NE(fitted, asIs);
}

TEST_F(Preview, PrintingAsItIsDrawsAtKTimesTheExtentFrom40AndFittedLeaves20) {
    R()->PreviewScheme(window);
    R()->RadioGroup1->SetItemIndex(1);
    Choose(R()->ComboBox3, 1, &TReport1::ComboBox3Change); // k = 2
    R()->RadioGroup2->SetItemIndex(1);
    R()->RadioGroup2Click(R()->RadioGroup2);
    R()->SpeedButton1Click(R()->SpeedButton1);
    ASSERT_EQ(pages->Documents.size(), 1u);
    const auto& doc = pages->Documents[0];
    EXPECT_EQ(doc.title, "Печать схемы"_a);
    EXPECT_EQ(doc.orientation, poLandscape);
    ASSERT_EQ(doc.pages.size(), 1u);
    const QImage& page = doc.pages[0];
    EXPECT_EQ(page.width(), 842);
    EXPECT_EQ(Other(page), 0);
    // The picture's 530 by 330 into (40, 40, 1040, 640): its point (300, 200)
    // of the wire lands at about (40 + 600, 40 + 400).
    EXPECT_TRUE(Near(page, 40 + 300 * 1000 / 530, 40 + 200 * 600 / 330));
    EXPECT_TRUE(Near(page, 40 + 100 * 1000 / 530, 40 + 100 * 600 / 330));
    for (int y = 0; y < 40; ++y) EXPECT_FALSE(Black(page, 300, y));

    // Fitted on a portrait page: the margins are 20.
    R()->RadioGroup1->SetItemIndex(0);
    R()->RadioGroup2->SetItemIndex(0);
    R()->SpeedButton1Click(R()->SpeedButton1);
    ASSERT_EQ(pages->Documents.size(), 2u);
    const QImage& fitted = pages->Documents[1].pages.at(0);
    EXPECT_EQ(fitted.width(), 595);
    EXPECT_TRUE(Near(fitted, 20 + 100 * 555 / 530, 20 + 100 * 802 / 330));
    EXPECT_TRUE(Near(fitted, 20 + 499 * 555 / 530, 20 + 299 * 802 / 330));
    for (int x = 0; x < 20; ++x) EXPECT_FALSE(Black(fitted, x, 300));
    EXPECT_EQ(printDialogs, 2);
    // A cancelled print dialog prints nothing.
    port.OnPrintDialog = [](PrintDialogRequest&) { return false; };
    R()->SpeedButton1Click(R()->SpeedButton1);
    EXPECT_EQ(pages->Documents.size(), 2u);
}

TEST_F(Preview, AClosedWindowLeavesTheBlankPageAndNothingToPrint) {
    R()->PreviewScheme(window);
    EXPECT_GT(Count(Page(), true), 0);
    EXPECT_TRUE(R()->Previewing());
    window->Close();
    Application->ProcessMessages();
    Forget(window);
    EXPECT_FALSE(R()->Previewing());
    R()->PaintBox1->Repaint();
    EXPECT_EQ(Count(Page(), true), 0);
    R()->SpeedButton1Click(R()->SpeedButton1);
    EXPECT_TRUE(pages->Documents.empty());
    EXPECT_EQ(printDialogs, 0);
}

TEST_F(Preview, AnExportedPictureReadsBackInTwoColoursElsewhereToo) {
    Doc()->SetFileName(dir.File("pump.tvs"));
    port.OnFileDialog = [&](FileDialogRequest& r) {
        r.FileName = dir.File("pump.bmp");
        return true;
    };
    window->PrintToFileActionExecute(nullptr);
    TBitmap own;
    own.LoadFromFile(dir.File("pump.bmp"));
    const QImage other(QString::fromUtf8(AnsiToUtf8(dir.File("pump.bmp")).c_str()));
    ASSERT_FALSE(other.isNull()) << "a BMP file any reader takes";
    EXPECT_EQ(other.depth(), 1);
    EXPECT_EQ(other.width(), 540);
    EXPECT_EQ(other.height(), 320);
    EXPECT_EQ(own.Width(), 540);
    int differing = 0, black = 0;
    for (int y = 0; y < other.height(); ++y)
        for (int x = 0; x < other.width(); ++x) {
            const bool b = (other.pixel(x, y) & 0xFFFFFF) == 0;
            black += b;
            differing += b != (own.Canvas()->Pixels(x, y) == clBlack);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(black, 400) << "the wire and the file name";
}

} // namespace
