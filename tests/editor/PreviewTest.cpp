// The print preview: the page image at its scale and orientation, the drawing fitted to the page or as it is, in
// black and white, printed the same way; a window that closed leaves the page blank and prints nothing. And the
// exported picture, which other readers take too.
#include "editor/SchemeWindowTest.h"

#include <filesystem>

#include "editor/qrprint.h"
#include "platform/Bitmap.h"
#include "platform/FileUtils.h"
#include "platform/gui/Dialogs.h"
#include "platform/testing/TestPrinter.h"

namespace {

bool Black(const QImage& img, int x, int y) { return img.valid(x, y) && (img.pixel(x, y) & 0xFFFFFF) == 0; }
// A black pixel within 2 pixels: where a line through the point lands.
bool Near(const QImage& img, int x, int y) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (Black(img, x + dx, y + dy)) return true;
    return false;
}
// Pixels that are neither black nor white, and the black ones.
std::pair<int, int> Colours(const QImage& img) {
    int other = 0, black = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) & 0xFFFFFF;
            other += c != 0 && c != 0xFFFFFF, black += c == 0;
        }
    return {other, black};
}

class Preview : public SchemeWindowTest {
protected:
    void SetUp() override {
        SchemeWindowTest::SetUp();
        Printer()->SetOrientation(poPortrait), Report1 = MakeForm<TReport1>();
        // One wire from (100, 100) to (500, 300): the extent is 500 by 300.
        Doc()->CreateWire(100, 100, 500, 300)->Show();
        port.OnPrintDialog = [this](PrintDialogRequest&) { return ++printDialogs, true; };
        Report1->PreviewScheme(window);
    }
    void TearDown() override { Printer()->SetOrientation(poPortrait), SchemeWindowTest::TearDown(); }
    TReport1* R() const { return Report1; }
    const QImage& Page() const { return *R()->PaintBox1->Canvas()->Image(); }
    // A list or a group set to the item, then its handler.
    template <class C>
    void Choose(C* c, int index, void (TReport1::*handler)(TObject*)) {
        c->SetItemIndex(index), (R()->*handler)(c);
    }
    CapturedPrinter printer;
    TestPrinterBackend* const pages = printer.pages;
    int printDialogs = 0;
};

TEST_F(Preview, ThePageIsAQuarterOfThePrinterPageAtTheScaleAndOrientation) {
    const std::pair<std::function<void()>, TSize> cases[] = {
        {[] {}, TSize(148, 210)},
        {[&] { Choose(R()->ComboBox2, 4, &TReport1::ComboBox2Change); }, TSize(297, 421)}, // 200 %
        {[&] { Choose(R()->ComboBox2, 1, &TReport1::ComboBox2Change); }, TSize(74, 105)},  // 50 %
        {[&] { Choose(R()->RadioGroup2, 1, &TReport1::RadioGroup2Click); }, TSize(105, 74)}, // landscape
        {[&] { Choose(R()->ComboBox1, 1, &TReport1::ComboBox1Change); }, TSize(105, 74)},  // A3: nothing
    };
    for (const auto& [act, size] : cases) {
        act();
        EXPECT_EQ(std::pair(R()->PaintBox1->Width(), R()->PaintBox1->Height()), std::pair(size.cx, size.cy));
    }
    EXPECT_EQ(Printer()->Orientation(), poLandscape);
    // Shown again: 100 % with its lists reset; the orientation stays.
    R()->Hide(), R()->PreviewScheme(window);
    EXPECT_EQ(std::tuple(R()->PreviewScale, R()->ComboBox2->Text(), R()->ComboBox3->Text(), R()->PaintBox1->Width()),
              std::tuple(100, AnsiString("100"), AnsiString("1"), 210));
}

TEST_F(Preview, FittedToThePageOrAsItIsWithTheMagnificationInBlackAndWhite) {
    Choose(R()->ComboBox2, 4, &TReport1::ComboBox2Change); // 200 %: 297 by 421
    // Fitted: the picture's 530 by 330 into (20, 20, 277, 401).
    const QImage fitted = Page().copy();
    EXPECT_EQ(Colours(fitted).first, 0);
    for (auto [x, y] : {std::pair{100, 100}, std::pair{300, 200}, std::pair{499, 299}})
        EXPECT_TRUE(Near(fitted, 20 + x * 257 / 530, 20 + y * 381 / 330)) << x;
    for (int x = 0; x < 20; ++x) EXPECT_FALSE(Black(fitted, x, 200)) << "the margin";
    // As it is, k = 2: from 10 to 2 * 2 * extent / 4 + 25.
    Choose(R()->RadioGroup1, 1, &TReport1::RadioGroup1Click), Choose(R()->ComboBox3, 1, &TReport1::ComboBox3Change);
    const QImage asIs = Page().copy();
    EXPECT_EQ(Colours(asIs).first, 0);
    for (auto [x, y] : {std::pair{100, 100}, std::pair{200, 150}})
        EXPECT_TRUE(Near(asIs, 10 + x * (2 * 2 * 500 / 4 + 15) / 530, 10 + y * (2 * 2 * 300 / 4 + 15) / 330)) << x;
    EXPECT_FALSE(Near(asIs, 20 + 200 * 257 / 530, 20 + 150 * 381 / 330)) << "where the fitted picture has it";
}

TEST_F(Preview, PrintingAsItIsDrawsAtKTimesTheExtentFrom40AndFittedLeaves20AndAClosedWindowNothing) {
    Choose(R()->RadioGroup1, 1, &TReport1::RadioGroup1Click);
    Choose(R()->ComboBox3, 1, &TReport1::ComboBox3Change); // k = 2
    Choose(R()->RadioGroup2, 1, &TReport1::RadioGroup2Click), R()->SpeedButton1Click(R()->SpeedButton1);
    R()->RadioGroup1->SetItemIndex(0), R()->RadioGroup2->SetItemIndex(0), R()->SpeedButton1Click(R()->SpeedButton1);
    port.OnPrintDialog = [](PrintDialogRequest&) { return false; };
    R()->SpeedButton1Click(R()->SpeedButton1);
    ASSERT_EQ(std::tuple(pages->Documents.size(), printDialogs), std::tuple(2u, 2)) << "a cancelled dialog prints nothing";
    const auto& asIs = pages->Documents[0];
    EXPECT_EQ(std::tuple(asIs.title, asIs.orientation, asIs.pages.size()), std::tuple("Печать схемы"_a, poLandscape, std::size_t(1)));
    // The picture's 530 by 330 into (40, 40, 1040, 640) of a page 842 wide.
    const QImage& page = asIs.pages[0];
    EXPECT_EQ(Colours(page).first, 0);
    for (auto [x, y] : {std::pair{100, 100}, std::pair{300, 200}})
        EXPECT_TRUE(Near(page, 40 + x * 1000 / 530, 40 + y * 600 / 330)) << x;
    for (int y = 0; y < 40; ++y) EXPECT_FALSE(Black(page, 300, y));
    // Fitted on a portrait page: (20, 20, 575, 822).
    const QImage& fitted = pages->Documents[1].pages.at(0);
    EXPECT_EQ(fitted.width(), 595);
    for (auto [x, y] : {std::pair{100, 100}, std::pair{499, 299}})
        EXPECT_TRUE(Near(fitted, 20 + x * 555 / 530, 20 + y * 802 / 330)) << x;
    // Once its window closes, the preview paints a blank page and prints nothing.
    EXPECT_GT(Colours(Page()).second, 0);
    window->Close(), Application->ProcessMessages(), Forget(window);
    EXPECT_FALSE(R()->Previewing());
    R()->PaintBox1->Repaint();
    EXPECT_EQ(Colours(Page()).second, 0);
    port.OnPrintDialog = [this](PrintDialogRequest&) { return ++printDialogs, true; };
    R()->SpeedButton1Click(R()->SpeedButton1);
    EXPECT_EQ(std::tuple(pages->Documents.size(), printDialogs), std::tuple(2u, 2));
}

// The page kept between repaints is the drawing of the document as it was:
// an edit that leaves the extent as it was shows at the next repaint.
TEST_F(Preview, AnEditInsideTheExtentShowsAtTheNextRepaint) {
    const QImage wireOnly = Page().copy();
    TElement* e = Device(300, 200);
    R()->PreviewScheme(window);
    const QImage withElement = Page().copy();
    ASSERT_NE(withElement, wireOnly) << "the element shows on the page";
    Doc()->AddToSelection(e, true);
    window->DeleteActionExecute(nullptr);
    R()->PaintBox1->Repaint();
    EXPECT_EQ(Page(), wireOnly);
    window->UndoExecute(nullptr);
    R()->PaintBox1->Repaint();
    EXPECT_EQ(Page(), withElement);
}

TEST_F(Preview, AnExportedPictureIsTwoColouredAndReadsBackElsewhereToo) {
    Doc()->SetFileName(dir.File("pump.tvs"));
    FileDialogRequest asked;
    AnsiString answer = dir.File("pic");
    port.OnFileDialog = [&](FileDialogRequest& r) { return asked = r, r.FileName = answer, !answer.IsEmpty(); };
    window->PrintToFileActionExecute(nullptr);
    EXPECT_EQ(std::pair(asked.FileName, asked.Filter), std::pair(AnsiString("pump.bmp"), AnsiString("Bitmaps (*.bmp)|*.bmp")));
    const AnsiString file = dir.File("pic.bmp"); // ".bmp" appended
    TBitmap own;
    own.LoadFromFile(file);
    const QImage other(QString::fromUtf8(AnsiToUtf8(file).c_str()));
    ASSERT_FALSE(other.isNull());
    EXPECT_EQ(std::tuple(other.depth(), other.width(), other.height(), own.Width(), own.Height()),
              std::tuple(1, 540, 320, 540, 320));
    int differing = 0;
    for (int y = 0; y < other.height(); ++y)
        for (int x = 0; x < other.width(); ++x) differing += Black(other, x, y) != (own.Canvas()->Pixels(x, y) == clBlack);
    EXPECT_EQ(differing, 0);
    const auto [colours, black] = Colours(other.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(colours, 0);
    EXPECT_GT(black, 400) << "the wire and the file name";
    EXPECT_TRUE(Black(other, 300, 200)) << "the wire runs through the middle";
    // The file name is drawn at (10, 10); the printing canvas gets the same.
    std::vector<AnsiString> texts;
    own.Canvas()->OnText = [&](const TCanvasText& t) { texts.push_back(t.Text); };
    window->PrintSchemeTo(own.Canvas());
    EXPECT_EQ(texts, std::vector<AnsiString>{dir.File("pump.tvs")});
    // A name that holds ".BMP" is taken as it is; a cancelled dialog writes nothing.
    answer = dir.File("P.BMP"), window->PrintToFileActionExecute(nullptr);
    EXPECT_TRUE(FileExists(dir.File("P.BMP")));
    answer = AnsiString(), window->PrintToFileActionExecute(nullptr);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

// A picture exported over a file that exists asks first, once, about the
// bitmap that would be written (not about pic.png); "Нет" keeps the file.
TEST_F(Preview, AnExportOverAFileThatExistsAsksFirst) {
    testenv::WriteBytes(dir.Path() / "pic.bmp", "keep");
    testenv::WriteBytes(dir.Path() / "pic.png", "keep");
    testenv::WriteBytes(dir.Path() / "pic.png.bmp", "keep");
    for (const char* chosen : {"pic", "pic.png"}) {
        port.AnswerFile(dir.File(chosen));
        port.Answer(mrNo);
        window->PrintToFileActionExecute(nullptr);
    }
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{
                                   "Файл "_a + dir.File("pic.bmp") + " уже существует. Заменить его?"_a,
                                   "Файл "_a + dir.File("pic.png.bmp") + " уже существует. Заменить его?"_a}));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "pic.bmp"), "keep");
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "pic.png.bmp"), "keep");
    port.AnswerFile(dir.File("pic"));
    port.Answer(mrYes);
    window->PrintToFileActionExecute(nullptr);
    EXPECT_NE(testenv::ReadBytes(dir.Path() / "pic.bmp"), "keep");
}

} // namespace
