// Dialog components through the port, and the printer.
#include <QFile>
#include <QRegularExpression>

#include "GuiTest.h"
#include "common/TestEnv.h"
#include "platform/Canvas.h"
#include "platform/gui/Dialogs.h"

namespace {

class Dialogs : public GuiTest {
protected:
    void TearDown() override {
        Printer()->SetBackend(nullptr);
        GuiTest::TearDown();
    }
};

TEST_F(Dialogs, MessagesReachThePortWithTheirExactTextAndButtons) {
    port.Answer(mrNo);
    int r = MessageDlg("Схема не сохранена! Сохранить?"_a, mtWarning, mbYesNoCancel);
    EXPECT_EQ(r, mrNo);
    EXPECT_EQ(Application->MessageBox("Не мой файл схемы!!!"_a, "ge", MB_OK), IDOK);
    ASSERT_EQ(port.Calls.size(), 2u);
    EXPECT_EQ(port.Calls[0].text, "Схема не сохранена! Сохранить?"_a);
    EXPECT_EQ(port.Calls[0].type, mtWarning);
    EXPECT_EQ(port.Calls[0].buttons, MsgButtons({mbYes, mbNo, mbCancel}));
    EXPECT_EQ(port.Calls[1].kind, TestUiPort::kMessageBox);
    EXPECT_EQ(port.Calls[1].caption, AnsiString("ge"));
}

TEST_F(Dialogs, FileDialogKeepsItsFilterIndexAndAddsTheDefaultExtension) {
    TSaveDialog dlg(nullptr);
    dlg.Title = "Сохранить схему"_a;
    dlg.Filter = "Файл схемы (новый формат *.tvs)|*.tvs|Все файлы (*.*)|*.*"_a;
    dlg.DefaultExt = "tvs";
    dlg.FilterIndex = 2;
    FileDialogRequest seen;
    port.OnFileDialog = [&](FileDialogRequest& r) {
        seen = r;
        r.FileName = "/w/pump";
        r.FilterIndex = 1;
        return true;
    };
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(seen.Title, "Сохранить схему"_a);
    EXPECT_EQ(seen.FilterIndex, 2);
    EXPECT_EQ(seen.kind, FileDialogRequest::Save);
    EXPECT_EQ(dlg.FileName, AnsiString("/w/pump.tvs"));
    EXPECT_EQ(dlg.FilterIndex, 1);
    port.OnFileDialog = [&](FileDialogRequest& r) {
        seen = r;
        r.FileName = "/w/a.b/old.sch";
        return true;
    };
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(seen.FilterIndex, 1); // kept from the last run
    EXPECT_EQ(dlg.FileName, AnsiString("/w/a.b/old.sch"));
    port.OnFileDialog = nullptr;
    port.AnswerFile("");
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.FileName, AnsiString("/w/a.b/old.sch"));
}

TEST_F(Dialogs, ColorAndPrintDialogsAnswerThroughThePort) {
    TColorDialog cd(nullptr);
    cd.Color = clRed;
    port.AnswerColor(clNavy);
    ASSERT_TRUE(cd.Execute());
    EXPECT_EQ(cd.Color, clNavy);
    Printer()->SetBackend(std::make_unique<TestPrinterBackend>());
    TPrintDialog pd(nullptr);
    pd.MinPage = 1;
    pd.MaxPage = 3;
    pd.FromPage = 1;
    pd.ToPage = 3;
    pd.Options = PrintOption(poPageNums);
    port.OnPrintDialog = [](PrintDialogRequest& r) {
        EXPECT_TRUE(r.PageNumbersAllowed);
        EXPECT_EQ(r.MaxPage, 3);
        r.Copies = 2;
        r.PrintRange = prPageNums;
        r.FromPage = 2;
        r.ToPage = 3;
        return true;
    };
    ASSERT_TRUE(pd.Execute());
    EXPECT_EQ(pd.Copies, 2);
    EXPECT_EQ(pd.PrintRange, prPageNums);
    EXPECT_EQ(pd.FromPage, 2);
    // A test printer stays installed.
    EXPECT_NE(dynamic_cast<TestPrinterBackend*>(Printer()->Backend()), nullptr);
}

TEST_F(Dialogs, TheTestPrinterKeepsEachPageAndTheTextDrawn) {
    auto* backend = new TestPrinterBackend(72);
    Printer()->SetBackend(std::unique_ptr<IPrinterBackend>(backend));
    TPrinter* p = Printer();
    p->Title = "Печать схемы"_a;
    p->SetOrientation(poLandscape);
    EXPECT_EQ(p->PageWidth(), 842);
    EXPECT_EQ(p->PageHeight(), 595);
    p->BeginDoc();
    TCanvas* c = p->Canvas();
    c->Font()->SetSize(12);
    EXPECT_EQ(c->Font()->Height(), -12); // points at the printer's 72 dpi
    c->TextOut(10, 10, "C:\\work\\pump.tvs");
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(100, 100, 200, 150);
    p->NewPage();
    EXPECT_EQ(p->PageNumber(), 2);
    c->TextOut(20, 30, "Елементы"_a);
    p->EndDoc();
    EXPECT_FALSE(p->Printing());
    ASSERT_EQ(backend->Documents.size(), 1u);
    const auto& d = backend->Documents[0];
    EXPECT_EQ(d.title, "Печать схемы"_a);
    EXPECT_TRUE(d.finished);
    ASSERT_EQ(d.pages.size(), 2u);
    EXPECT_EQ(d.pages[0].width(), 842);
    EXPECT_EQ(d.pages[0].pixel(100, 120) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(d.pages[0].pixel(150, 120) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(d.pages[1].pixel(150, 120) & 0xFFFFFF, 0xFFFFFFu);
    ASSERT_EQ(d.texts.size(), 2u);
    EXPECT_EQ(d.texts[0].page, 0);
    EXPECT_EQ(d.texts[0].text, AnsiString("C:\\work\\pump.tvs"));
    EXPECT_EQ(d.texts[1].page, 1);
    EXPECT_EQ(d.texts[1].text, "Елементы"_a);
    EXPECT_EQ(d.texts[1].box.Left, 20);
    EXPECT_THROW(p->NewPage(), EPrinter);
}

TEST_F(Dialogs, TheQtPrinterWritesAPdfWithOnePagePerPrintedPage) {
    testenv::TempDir dir;
    AnsiString pdf = dir.File("scheme.pdf");
    TPrinter* p = Printer();
    p->QtBackend()->SetPdfFile(pdf);
    p->Title = "Печать схемы"_a;
    p->SetOrientation(poPortrait);
    p->BeginDoc();
    p->Canvas()->TextOut(100, 100, "Схема 1"_a);
    p->NewPage();
    p->Canvas()->TextOut(100, 100, "Схема 2"_a);
    p->EndDoc();
    EXPECT_FALSE(p->QtBackend()->Failed());
    std::string bytes = testenv::ReadBytes(dir.Path() / "scheme.pdf");
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    QRegularExpression page("/Type\\s*/Page[^s]");
    EXPECT_EQ(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())).count(page), 2);
}

} // namespace
