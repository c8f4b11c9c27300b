// Dialog components through the port, and the printer.
#include <algorithm>
#include <filesystem>

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QStyle>
#include <QTreeView>
#include <QHeaderView>
#include <QWindow>
#include <QScreen>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "GuiTest.h"
#include "common/Desktop.h"
#include "common/TestEnv.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/FileIO.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"
#include "platform/testing/TestPrinter.h"

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

// The standard dialogs speak Russian whatever the locale.
TEST_F(Dialogs, TheStandardTextsAreRussian) {
    ASSERT_TRUE(LoadStandardTranslation());
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("Отмена"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QString::fromUtf8("Перейти к:"));
    // What Qt's translation lacks: the kinds of file a file dialog lists.
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "%1 File").arg("tvs"), QString::fromUtf8("Файл tvs"));
}

// A box with the single button Yes is a report: its button reads OK and the
// caller still gets the result of Yes.
TEST_F(Dialogs, AReportShowsOKAndAnswersAsItsOneButton) {
    for (const auto& [buttons, shown, result] : {std::tuple{mbYesOnly, QString("OK"), mrYes},
                                                 std::tuple{mbYesNo, QString::fromUtf8("&Да|&Нет"), mrYes}}) {
        QStringList texts;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* b : box->buttons()) texts << b->text();
            texts.sort();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == "OK" || b->text() == QString::fromUtf8("&Да")) b->click();
        });
        EXPECT_EQ(QtUiPortInstance()->MessageDlg("Не задано имя сигнала"_a, mtWarning, buttons, 0), result);
        EXPECT_EQ(texts.join('|'), shown);
    }
}

// Every dialog of the real port gives the activation back, once closed, to
// the window that was active before it: a desktop may hand it to none of
// the program's windows, which would leave the program inactive (its
// floating panes hidden).
TEST_F(Dialogs, AClosedDialogGivesTheActivationBackToTheWindowBeforeIt) {
    TForm* form = MakeForm();
    ASSERT_TRUE(ShowActive(form));
    const struct {
        const char* dialog;
        std::function<void()> run;
    } dialogs[] = {
        {"a question", [] { QtUiPortInstance()->MessageDlg("Схема не сохранена! Сохранить?"_a, mtWarning, mbYesNo, 0); }},
        {"a message", [] { QtUiPortInstance()->ShowMessage("Не рабочая область"_a); }},
        {"a file dialog", [] {
             FileDialogRequest request;
             QtUiPortInstance()->FileDialog(request);
         }},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.dialog);
        bool shown = false;
        // Closed as the user closes it: once it is on the screen, in front.
        auto inFront = [] { return testenv::HasDesktopFocus(QApplication::activeModalWidget()); };
        testenv::WhenTrue(inFront, [&] {
            shown = QApplication::activeModalWidget() != nullptr;
            if (shown) static_cast<QDialog*>(QApplication::activeModalWidget())->reject();
        });
        d.run();
        EXPECT_TRUE(shown);
        EXPECT_TRUE(testenv::WaitActive(form));
    }
}

// Qt takes a dialog for active as soon as the program asks the desktop for
// it; closed before a late desktop gave it the X server's focus, it leaves
// that focus where it was, on the form, and no focus event tells Qt so. The
// form is active all the same, for Qt as for the program, though nobody asks
// for it (a dialog of the toolkit's own, not through the port) and the
// desktop has yet to act.
TEST_F(Dialogs, ADialogClosedBeforeTheDesktopFocusedItLeavesTheFocusedFormActive) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    TForm* form = MakeForm();
    ASSERT_TRUE(ShowActive(form));
    // On the screen, the desktop's focus left on the form.
    QDialog dialog(form->Widget());
    dialog.setAttribute(Qt::WA_ShowWithoutActivating);
    dialog.show();
    ASSERT_TRUE(testenv::WaitExposed(&dialog));
    ASSERT_TRUE(testenv::WaitActive(form));
    testenv::LateDesktop late;
    dialog.activateWindow();
    ASSERT_TRUE(testenv::WaitFor([&] { return testenv::HasDesktopFocus(&dialog); }));
    dialog.reject();
    EXPECT_TRUE(testenv::WaitActive(form));
    EXPECT_TRUE(Application->Active());
}

// Counts the changes of size of the widgets it watches.
struct Resizes : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        count += e->type() == QEvent::Resize;
        return false;
    }
};

// The place a message box asks of the desktop as the program shows it,
// before the desktop has taken it on.
struct AskedPlace : QObject {
    QRect asked;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::ShowToParent && qobject_cast<QMessageBox*>(o)) asked = static_cast<QWidget*>(o)->geometry();
        return false;
    }
};

// A message box is as wide as a desktop's title bar needs for its whole title
// (bold, beside an icon and three buttons as wide as the bar is high), never
// wider than the screen, and asks for a place within it (not one the toolkit
// counted for a narrower box); shown, it keeps its size, which the desktop
// would get late.
TEST_F(Dialogs, AMessageBoxIsWideEnoughForItsWholeTitleButNoWiderThanTheScreen) {
    AnsiString endless;
    for (int i = 0; i < 12; ++i) endless += "Графический редактор электроавтоматики "_a;
    IUserInterfacePort* port = QtUiPortInstance();
    const std::function<void()> boxes[] = {
        [&] { port->MessageDlg("Сохранить?"_a, mtConfirmation, mbYesNoCancel, 0); },
        [&] { port->MessageBox("Да"_a, "Графический редактор электроавтоматики"_a, MB_OK); },
        [&] { port->MessageBox("Да"_a, endless, MB_OK); },
    };
    for (const auto& show : boxes) {
        AskedPlace place;
        qApp->installEventFilter(&place);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            const auto title = box->windowTitle().size();
            QFont bold = box->font();
            bold.setBold(true);
            const int needed = QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 4 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
            const QRect screen = box->screen()->availableGeometry();
            EXPECT_GE(place.asked.width(), std::min(needed, screen.width() * 9 / 10)) << title;
            EXPECT_TRUE(screen.contains(place.asked)) << title;
            // Measured as the desktop shows it, framed, where there is one:
            // the sizes the program asked for meanwhile reach it late.
            if (QGuiApplication::platformName() == "xcb") {
                EXPECT_TRUE(ProcessUntil([&] { return box->windowHandle()->isExposed() && !box->windowHandle()->frameMargins().isNull(); }));
            }
            EXPECT_EQ(box->size(), place.asked.size()) << title;
            EXPECT_TRUE(screen.contains(gebridge::FrameGeometry(box))) << title;
            Resizes later;
            box->installEventFilter(&later);
            QCoreApplication::postEvent(box, new QEvent(QEvent::LayoutRequest));
            QCoreApplication::sendPostedEvents();
            box->removeEventFilter(&later);
            EXPECT_EQ(later.count, 0);
            box->buttons().front()->click();
        });
        show();
        qApp->removeEventFilter(&place);
    }
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
        r.FileName = "/w/./a/../pump"; // given back full and clean
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

// The file list shows every size, kind and date whole, and every column
// within the list, in the sizes and dates of any locale.
TEST_F(Dialogs, TheFileListShowsItsSizesKindsAndDatesWhole) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "a.tvs", "abc");
    testenv::WriteBytes(dir.Path() / "b.tvs", std::string(12345, 'b'));
    testenv::WriteBytes(dir.Path() / "c.sch", std::string(3456789, 'c'));
    FileDialogRequest request;
    request.Filter = "Все файлы|*.*"_a;
    request.InitialDir = FromFsPath(dir.Path());
    QStringList cut;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* model = view->model();
        const QModelIndex folder = view->rootIndex();
        // The headings and cells whose text is wider than their column (with
        // the margins the list leaves beside it), and the list when it is
        // wider than its window.
        auto cutNow = [&] {
            cut.clear();
            const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
            for (int column = 1; column < model->columnCount(folder); ++column) {
                if (view->header()->sectionSizeHint(column) > view->columnWidth(column))
                    cut << model->headerData(column, Qt::Horizontal).toString();
                for (int row = 0; row < model->rowCount(folder); ++row) {
                    const QString text = model->index(row, column, folder).data().toString();
                    if (view->fontMetrics().horizontalAdvance(text) + margins > view->columnWidth(column)) cut << text;
                }
            }
            if (view->header()->length() > view->viewport()->width()) cut << "the list";
            return cut;
        };
        ProcessUntil([&] { return model->rowCount(folder) == 3 && cutNow().isEmpty(); });
        dialog->reject();
    });
    EXPECT_FALSE(QtUiPortInstance()->FileDialog(request));
    EXPECT_EQ(cut.join('|').toStdString(), "");
}

// A save dialog told to ask does so before it gives back a file that exists,
// in the program's words, through the scripted port and the real one alike;
// after "Нет" the user chooses again (or cancels, and gets nothing).
TEST_F(Dialogs, ASaveDialogAsksBeforeItGivesBackAFileThatExists) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "s3.tvs", "keep");
    const AnsiString existing = dir.File("s3.tvs");
    const AnsiString question = "Файл "_a + existing + " уже существует. Заменить его?"_a;
    TSaveDialog dlg(nullptr);
    dlg.DefaultExt = "tvs";
    dlg.Options |= OpenOption(ofOverwritePrompt);
    port.AnswerFile(dir.File("s3")); // the default extension makes it the file that exists
    port.Answer(mrNo);
    port.AnswerFile(dir.File("s4.tvs"));
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.FileName, dir.File("s4.tvs"));
    ASSERT_EQ(port.Calls.size(), 2u);
    EXPECT_EQ(port.Calls[1].text, question);
    EXPECT_EQ(port.Calls[1].type, mtWarning);
    EXPECT_EQ(port.Calls[1].buttons, mbYesNo);
    port.Clear();
    port.AnswerFile(existing);
    port.Answer(mrNo);
    EXPECT_FALSE(dlg.Execute()) << "no other name chosen: cancelled";
    port.AnswerFile(existing);
    port.Answer(mrYes);
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.FileName, existing);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{question, question}));
    // Not told to ask: no question.
    port.Clear();
    dlg.Options = 0;
    port.AnswerFile(existing);
    ASSERT_TRUE(dlg.Execute());
    EXPECT_TRUE(port.Messages().empty());

    // The real dialog: the question in Russian over it; "Нет" brings the
    // dialog back, Cancel there gives nothing.
    FileDialogRequest request;
    request.kind = FileDialogRequest::Save;
    request.DefaultExt = "tvs";
    request.OverwritePrompt = true;
    QStringList seen;
    auto answerBox = [&](const char* button, std::function<void()> then) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen << box->text();
        if (then) QTimer::singleShot(0, then);
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QString::fromUtf8(button)) b->click();
    };
    auto choose = [&](std::function<void()> then) {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        chooser->selectFile(QString::fromUtf8(AnsiToUtf8(dir.File("s3")).c_str()));
        QTimer::singleShot(0, then);
        static_cast<QDialog*>(chooser)->accept();
    };
    bool cameBack = false;
    QTimer::singleShot(0, [&] {
        choose([&] {
            answerBox("&Нет", [&] {
                auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                cameBack = chooser != nullptr;
                if (chooser) static_cast<QDialog*>(chooser)->reject();
            });
        });
    });
    EXPECT_FALSE(QtUiPortInstance()->FileDialog(request));
    EXPECT_TRUE(cameBack);
    QTimer::singleShot(0, [&] { choose([&] { answerBox("&Да", nullptr); }); });
    ASSERT_TRUE(QtUiPortInstance()->FileDialog(request));
    EXPECT_EQ(request.FileName, existing);
    EXPECT_EQ(seen, QStringList({QString::fromUtf8(AnsiToUtf8(question).c_str()),
                                 QString::fromUtf8(AnsiToUtf8(question).c_str())}));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "s3.tvs"), "keep");
    // A caller that names the file it writes gets the name as typed, and the
    // question is about its file only: s3.fsm is no file, so none.
    request.WrittenName = [](const AnsiString& chosen, int) { return chosen + ".fsm"; };
    bool asked = false;
    QTimer::singleShot(0, [&] {
        choose([&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            asked = box != nullptr;
            if (box) box->buttons().front()->click();
        });
    });
    const bool given = QtUiPortInstance()->FileDialog(request);
    QApplication::processEvents(); // the check above runs now, had no question come
    ASSERT_TRUE(given);
    EXPECT_EQ(request.FileName, dir.File("s3"));
    EXPECT_FALSE(asked);
}

// The desktop's folder dialog: the starting selection and then the caller's
// start, a help button, the middle of the screen, and OK only for a
// selection the caller enables.
TEST_F(Dialogs, TheFolderDialogAcceptsOnlyWhatTheCallerEnables) {
    testenv::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "good");
    std::filesystem::create_directory(dir.Path() / "other");
    const AnsiString start = FromFsPath(dir.Path());
    const AnsiString good = dir.File("good");
    FolderDialogRequest request;
    request.Title = "Выберите папку"_a;
    request.Folder = start;
    request.HelpContext = 77;
    request.ScreenCenter = true;
    std::vector<AnsiString> events;
    request.OnSelChanged = [&](const AnsiString& path) {
        events.push_back(path);
        return path == good;
    };
    bool refused = false;
    bool helpShown = false;
    QPoint offCentre;
    request.OnInitialized = [&] {
        events.push_back("init");
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        for (QPushButton* b : dlg->findChildren<QPushButton*>()) {
            if (b->text() != QString::fromUtf8("&Справка")) continue;
            helpShown = b->isVisible();
            b->click();
        }
        offCentre = gebridge::FrameGeometry(dlg).center() - dlg->screen()->availableGeometry().center();
        QDialog* asDialog = dlg;
        asDialog->accept(); // the starting folder is not enabled
        refused = dlg->isVisible();
        dlg->selectFile(QString::fromUtf8(AnsiToUtf8(good).c_str()));
        asDialog->accept();
    };
    ASSERT_TRUE(QtUiPortInstance()->FolderDialog(request));
    EXPECT_EQ(request.Folder, good);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(helpShown);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[0], start);
    EXPECT_EQ(events[1], AnsiString("init"));
    EXPECT_EQ(events.back(), good);
    EXPECT_LE(std::abs(offCentre.x()), 1);
    EXPECT_LE(std::abs(offCentre.y()), 1);
    ASSERT_EQ(port.Calls.size(), 1u);
    EXPECT_EQ(port.Calls[0].kind, TestUiPort::kHelp);
    EXPECT_EQ(port.Calls[0].context, 77);

    // Without a help context there is no help button; cancelling keeps the folder.
    request.HelpContext = 0;
    request.Folder = start;
    request.OnInitialized = [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        for (QPushButton* b : dlg->findChildren<QPushButton*>()) EXPECT_NE(b->text(), QString::fromUtf8("&Справка"));
        static_cast<QDialog*>(dlg)->reject();
    };
    EXPECT_FALSE(QtUiPortInstance()->FolderDialog(request));
    EXPECT_EQ(request.Folder, start);
}

TEST_F(Dialogs, AnEditsCaretTakesTheWidthAsked) {
    TEdit edit(nullptr);
    QLineEdit* line = edit.LineEdit();
    EXPECT_EQ(edit.CaretWidth(), 1);
    edit.SetCaretWidth(2);
    EXPECT_EQ(line->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, line), 2);
    edit.SetCaretWidth(0);
    EXPECT_EQ(edit.CaretWidth(), 1);
    EXPECT_EQ(line->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, line), 1);
    edit.Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MakeLParam(3, 25));
    EXPECT_EQ(edit.Perform(EM_GETMARGINS), MakeLParam(3, 25));
}

TEST_F(Dialogs, QtFileDialogsShowEachFilterTextWithItsMasksOnce) {
    using Labels = std::vector<AnsiString>;
    EXPECT_EQ(NameFilters("Bitmaps (*.bmp)|*.bmp|Файлы схем|*.tvs;*.sch|Файлы машины состояний (*.fsm)|*.fsm|Все|*.*"_a),
              (Labels{"Bitmaps (*.bmp)", "Файлы схем (*.tvs *.sch)"_a, "Файлы машины состояний (*.fsm)"_a, "Все (*.*)"_a}));
    EXPECT_EQ(NameFilters("Один|"_a), Labels{"Один ()"_a});
    EXPECT_TRUE(NameFilters("без масок"_a).empty());
}

// One viewer per file, kept above the program's window: asked again (also
// by another spelling of the name) it shows the file as it is now and comes
// to the front; another file gets a viewer of its own.
TEST_F(Dialogs, AFilesViewerIsOneWindowBroughtToTheFrontWhenAskedAgain) {
    testenv::TempDir dir;
    TForm* frame = MakeForm();
    frame->SetBounds(0, 0, 640, 480);
    Application->SetMainForm(frame);
    ASSERT_TRUE(ShowActive(frame));
    auto viewers = [] {
        std::vector<QDialog*> shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && d->findChild<QPlainTextEdit*>()) shown.push_back(d);
        return shown;
    };
    testenv::WriteBytes(dir.Path() / "err.log", "first run\r\n");
    testenv::WriteBytes(dir.Path() / "other.log", "other\r\n");
    QtUiPortInstance()->ViewTextFile(dir.File("err.log"));
    ASSERT_EQ(viewers().size(), 1u);
    QDialog* viewer = viewers().front();
    EXPECT_TRUE(testenv::WaitFor([&] { return testenv::HasDesktopFocus(viewer); }));
    EXPECT_EQ(viewer->parentWidget(), frame->Widget());
    // The user clicks the program's window.
    if (QGuiApplication::platformName() == "xcb")
        testenv::ActivateAsTheUserDoes(frame->Widget());
    else
        frame->SetFocus();
    ASSERT_TRUE(testenv::WaitActive(frame));
    testenv::WriteBytes(dir.Path() / "err.log", "second run\r\n");
    QtUiPortInstance()->ViewTextFile(dir.File("./err.log"));
    ASSERT_EQ(viewers(), std::vector<QDialog*>{viewer});
    EXPECT_TRUE(testenv::WaitFor([&] { return testenv::HasDesktopFocus(viewer); }));
    EXPECT_EQ(viewer->findChild<QPlainTextEdit*>()->toPlainText(), QString("second run\n"));
    QtUiPortInstance()->ViewTextFile(dir.File("other.log"));
    EXPECT_EQ(viewers().size(), 2u);
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

class PrinterJobs : public GuiTest {
protected:
    void TearDown() override {
        if (Printer()->Printing()) Printer()->Abort();
        Printer()->SetOrientation(poPortrait);
        Printer()->Copies = 1;
        Printer()->SetBackend(nullptr);
        GuiTest::TearDown();
    }
    TestPrinterBackend* TestBackend() {
        auto* b = new TestPrinterBackend(150, TSize(1240, 1753));
        Printer()->SetBackend(std::unique_ptr<IPrinterBackend>(b));
        return b;
    }
    static std::string MessageOf(const std::function<void()>& f) {
        try {
            f();
        } catch (EPrinter& e) {
            return e.Message.c_str();
        }
        return "no error";
    }
};

TEST_F(PrinterJobs, PageSizeFollowsTheOrientationAtThePrintersDpiAndFontsScaleWithIt) {
    TPrinter* p = Printer();
    testenv::TempDir dir;
    p->QtBackend()->SetPdfFile(dir.File("a4.pdf")); // a PDF file: A4 at 300 dpi
    struct Case {
        TPrinterOrientation o;
        int width, height;
    };
    for (Case c : {Case{poPortrait, 2480, 3507}, Case{poLandscape, 3507, 2480}}) {
        p->SetOrientation(c.o);
        EXPECT_EQ(p->PageWidth(), c.width) << c.o;
        EXPECT_EQ(p->PageHeight(), c.height) << c.o;
    }
    EXPECT_EQ(p->PixelsPerInch(), 300);

    TestBackend();
    p->SetOrientation(poPortrait);
    p->BeginDoc();
    // The element list: columns a seventh of the page wide, lines as high as
    // "Hi there!" in 12 points at the printer's dpi.
    TCanvas* c = p->Canvas();
    c->Font()->SetName("Arial");
    c->Font()->SetSize(12);
    EXPECT_EQ(c->Font()->Height(), -25);
    EXPECT_EQ(p->PageWidth() / 7, 177);
    TBitmap screen;
    screen.SetSize(10, 10);
    screen.Canvas()->Font()->SetName("Arial");
    screen.Canvas()->Font()->SetSize(12);
    int printed = c->TextHeight("Hi there!"), shown = screen.Canvas()->TextHeight("Hi there!");
    EXPECT_GT(printed, shown * 3 / 2 - 2);
    EXPECT_LT(printed, shown * 3 / 2 + 4);
    // The orientation cannot change in the middle of a job.
    EXPECT_EQ(MessageOf([&] { p->SetOrientation(poLandscape); }), "Printing in progress");
    EXPECT_EQ(p->Orientation(), poPortrait);
    EXPECT_EQ(MessageOf([&] { p->BeginDoc(); }), "Printing in progress");
    p->EndDoc();
}

// A page printed to a PDF file is drawn at the printer's resolution and goes
// into the file pixel for pixel: one image of the whole page at 300 dpi, one
// bit a pixel when it is black and white, never through lossy compression
// (which smears the edges of lines and letters).
TEST_F(PrinterJobs, APdfPageIsDrawnAtThePrintersResolutionAndKeptExactInTheFile) {
    testenv::TempDir dir;
    TPrinter* p = Printer();
    struct Case {
        const char* file;
        TColor ink;
        const char* bits;
    };
    for (Case c : {Case{"black.pdf", clBlack, "/BitsPerComponent 1"}, Case{"red.pdf", clRed, "/BitsPerComponent 8"}}) {
        p->QtBackend()->SetPdfFile(dir.File(c.file));
        p->BeginDoc();
        TCanvas* canvas = p->Canvas();
        EXPECT_EQ(canvas->PixelsPerInch(), 300) << c.file;
        EXPECT_EQ(canvas->Image()->width(), 2480) << c.file;
        canvas->Pen()->SetColor(c.ink);
        canvas->MoveTo(100, 100);
        canvas->LineTo(2000, 1500);
        canvas->Font()->SetColor(c.ink);
        canvas->TextOut(200, 200, "AND1");
        p->EndDoc();
        EXPECT_FALSE(p->QtBackend()->Failed());
        const std::string bytes = testenv::ReadBytes(dir.Path() / c.file);
        const QString pdf = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
        EXPECT_EQ(pdf.count(QRegularExpression("/Subtype\\s*/Image")), 1) << c.file;
        // The page as the device has it: A4 at 300 dpi (to a pixel or two).
        const QRegularExpressionMatch width = QRegularExpression("/Width\\s+(\\d+)").match(pdf);
        const QRegularExpressionMatch height = QRegularExpression("/Height\\s+(\\d+)").match(pdf);
        EXPECT_NEAR(width.captured(1).toInt(), 2480, 3) << c.file;
        EXPECT_NEAR(height.captured(1).toInt(), 3507, 3) << c.file;
        EXPECT_TRUE(pdf.contains(QString(c.bits))) << c.file;
        EXPECT_FALSE(pdf.contains("/DCTDecode")) << c.file;
    }
}

TEST_F(PrinterJobs, EachCopyIsAPageOfTheProgramsAndTheDeviceIsAskedForOne) {
    TestPrinterBackend* backend = TestBackend();
    TPrintDialog dlg(nullptr);
    port.OnPrintDialog = [](PrintDialogRequest& r) {
        r.Copies = 2;
        return true;
    };
    ASSERT_TRUE(dlg.Execute());
    TPrinter* p = Printer();
    p->Title = "Печать элементов схемы"_a;
    p->BeginDoc();
    for (int copy = 0; copy < dlg.Copies; ++copy) {
        if (copy) p->NewPage();
        EXPECT_EQ(p->PageNumber(), copy + 1);
        p->Canvas()->TextOut(40, 10 + 400 * copy, "AND1");
    }
    p->EndDoc();
    ASSERT_EQ(backend->Documents.size(), 1u);
    const auto& d = backend->Documents[0];
    EXPECT_EQ(d.title, "Печать элементов схемы"_a);
    ASSERT_EQ(d.pages.size(), 2u);
    ASSERT_EQ(d.texts.size(), 2u);
    EXPECT_EQ(d.texts[0].page, 0);
    EXPECT_EQ(d.texts[1].page, 1);
    // A new page starts white: nothing of the previous copy shows through.
    auto inked = [](const QImage& page, QRect area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += (page.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return n;
    };
    EXPECT_GT(inked(d.pages[0], QRect(0, 0, 200, 60)), 0);
    EXPECT_EQ(inked(d.pages[1], QRect(0, 0, 200, 60)), 0);
    EXPECT_GT(inked(d.pages[1], QRect(0, 400, 200, 60)), 0);

    // On a real device (here a PDF file) the printer object's Copies is never
    // passed on: two printed pages make a document of two pages, whatever
    // Copies says.
    testenv::TempDir dir;
    p->QtBackend()->SetPdfFile(dir.File("copies.pdf"));
    p->Copies = 3;
    p->BeginDoc();
    p->Canvas()->TextOut(40, 10, "Схема 1"_a);
    p->NewPage();
    p->Canvas()->TextOut(40, 10, "Схема 2"_a);
    p->EndDoc();
    EXPECT_FALSE(p->QtBackend()->Failed());
    std::string bytes = testenv::ReadBytes(dir.Path() / "copies.pdf");
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    QRegularExpression page("/Type\\s*/Page[^s]");
    EXPECT_EQ(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())).count(page), 2);
}

// Printing to a file: a job that cannot be written is said once with the
// file's name and leaves nothing behind; a file already there is replaced
// only by a finished job, never by an aborted one.
TEST_F(PrinterJobs, APrintToAFileIsWhollyWrittenOrNotAtAll) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "old.pdf", "old");
    std::filesystem::create_directory(dir.Path() / "folder.pdf");
    TPrinter* p = Printer();
    for (const AnsiString& file : {dir.File("gone/a.pdf"), dir.File("folder.pdf")}) {
        SCOPED_TRACE(AnsiToUtf8(file));
        port.Clear();
        p->QtBackend()->SetPdfFile(file);
        p->BeginDoc();
        p->Canvas()->TextOut(40, 10, "Схема 1"_a);
        p->EndDoc();
        EXPECT_TRUE(p->QtBackend()->Failed());
        EXPECT_EQ(p->QtBackend()->FailedFile(), file);
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Не могу создать файл!\n"_a + file});
    }
    port.Clear();
    p->QtBackend()->SetPdfFile(dir.File("old.pdf"));
    p->BeginDoc();
    p->Canvas()->TextOut(40, 10, "Схема 1"_a);
    p->NewPage();
    p->Abort();
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "old.pdf"), "old");
    p->BeginDoc();
    p->Canvas()->TextOut(40, 10, "Схема 2"_a);
    p->EndDoc();
    EXPECT_FALSE(p->QtBackend()->Failed());
    EXPECT_TRUE(p->QtBackend()->FailedFile().IsEmpty());
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "old.pdf").substr(0, 5), "%PDF-");
    EXPECT_TRUE(port.Messages().empty());
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder.pdf", "old.pdf"}));
}

TEST_F(PrinterJobs, AbortEndsTheJobWithoutItsOpenPageAndTheNextJobStartsAfresh) {
    TestPrinterBackend* backend = TestBackend();
    TPrinter* p = Printer();
    p->BeginDoc();
    p->Canvas()->TextOut(10, 10, "page 1");
    p->NewPage();
    p->Canvas()->Brush()->SetColor(clBlack);
    p->Canvas()->FillRect(Rect(0, 0, 100, 100));
    p->Abort();
    EXPECT_FALSE(p->Printing());
    EXPECT_TRUE(p->Aborted());
    ASSERT_EQ(backend->Documents.size(), 1u);
    EXPECT_TRUE(backend->Documents[0].aborted);
    EXPECT_FALSE(backend->Documents[0].finished);
    EXPECT_EQ(backend->Documents[0].pages.size(), 1u); // the open page was dropped
    for (auto step : std::vector<std::function<void()>>{[&] { p->NewPage(); }, [&] { p->EndDoc(); }, [&] { p->Abort(); }})
        EXPECT_EQ(MessageOf(step), "Printer is not currently printing");

    p->BeginDoc();
    EXPECT_FALSE(p->Aborted());
    EXPECT_EQ(p->PageNumber(), 1);
    p->EndDoc();
    ASSERT_EQ(backend->Documents.size(), 2u);
    ASSERT_EQ(backend->Documents[1].pages.size(), 1u);
    EXPECT_EQ(backend->Documents[1].pages[0].pixel(50, 50) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_TRUE(backend->Documents[1].finished);
}

} // namespace
