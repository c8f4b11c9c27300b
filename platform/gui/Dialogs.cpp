// Common dialog components, the Qt user-interface port and the printer.
#include "platform/gui/Dialogs.h"

#include <filesystem>

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <system_error>

#include "platform/Canvas.h"
#include "platform/FileIO.h"
#include "platform/FileUtils.h"
#include "platform/gui/Bridge.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Help.h"

using namespace gebridge;

// ---- dialog components -------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
    FileDialogRequest r;
    r.kind = kind_;
    r.Title = Title;
    r.Filter = Filter;
    r.FilterIndex = FilterIndex;
    r.DefaultExt = DefaultExt;
    r.InitialDir = InitialDir;
    r.FileName = FileName;
    r.MultiSelect = Options & OpenOption(ofAllowMultiSelect);
    r.OverwritePrompt = Options & OpenOption(ofOverwritePrompt);
    r.FileMustExist = Options & OpenOption(ofFileMustExist);
    r.WrittenName = WrittenName;
    if (OnShow) OnShow(this);
    bool ok = UiPort().FileDialog(r);
    if (OnClose) OnClose(this);
    if (!ok) return false;
    FilterIndex = r.FilterIndex;
    const AnsiString name = GivenFileName(r, r.FileName, r.FilterIndex);
    if (name.IsEmpty()) return false;
    FileName = name;
    files_->Clear();
    if (r.Files.empty()) files_->Add(FileName);
    else
        for (const AnsiString& f : r.Files) files_->Add(GivenFileName(r, f, r.FilterIndex));
    return true;
}

bool TColorDialog::Execute() {
    TColor c = Color;
    if (!UiPort().ColorDialog(c)) return false;
    Color = c;
    return true;
}

bool TPrintDialog::Execute() {
    PrintDialogRequest r;
    r.Copies = Copies;
    r.MinPage = MinPage;
    r.MaxPage = MaxPage;
    r.FromPage = FromPage;
    r.ToPage = ToPage;
    r.PrintRange = PrintRange;
    r.PageNumbersAllowed = Options & PrintOption(poPageNums);
    r.SelectionAllowed = Options & PrintOption(poSelection);
    if (OnShow) OnShow(this);
    bool ok = UiPort().PrintDialog(r);
    if (OnClose) OnClose(this);
    if (!ok) return false;
    Copies = std::max(r.Copies, 1);
    FromPage = r.FromPage;
    ToPage = r.ToPage;
    PrintRange = r.PrintRange;
    PrintToFile = !r.PdfFileName.IsEmpty();
    // The printer follows the choice, unless a test printer is installed.
    if (auto* qt = dynamic_cast<QtPrinterBackend*>(Printer()->Backend()); qt || !Printer()->Backend()) {
        QtPrinterBackend* b = Printer()->QtBackend();
        if (!r.PdfFileName.IsEmpty()) b->SetPdfFile(r.PdfFileName);
        else b->SetPrinterName(r.PrinterName);
    }
    return true;
}

bool SelectDirectory(const AnsiString& caption, const AnsiString& root, AnsiString& directory) {
    AnsiString d = directory.IsEmpty() ? root : directory;
    if (!UiPort().SelectDirectory(caption, d)) return false;
    directory = d;
    return true;
}

bool SelectDirectory(AnsiString& directory, TSelectDirOpts options, int helpContext) {
    FolderDialogRequest request;
    request.Folder = directory;
    request.HelpContext = helpContext;
    const bool allowCreate = options & SelectDirOpt(sdAllowCreate);
    request.OnSelChanged = [allowCreate](const AnsiString& path) {
        return !path.IsEmpty() && (allowCreate || DirectoryExists(path));
    };
    if (!UiPort().FolderDialog(request)) return false;
    if (allowCreate && !DirectoryExists(request.Folder)) {
        if ((options & SelectDirOpt(sdPrompt)) &&
            MessageDlg(Format("Папка %s не существует. Создать её?"_a, request.Folder), mtConfirmation, mbYesNo, 0) !=
                mrYes)
            return false;
        if (options & SelectDirOpt(sdPerformCreate)) ForceDirectories(request.Folder);
    }
    directory = request.Folder;
    return true;
}

// ---- the Qt port ---------------------------------------------------------------------

namespace {

// The folder dialog of the port: Qt's own file dialog showing folders only,
// which tells the caller of every change of selection and accepts only a
// selection the caller enables.
class QtFolderDialog : public QFileDialog {
public:
    QtFolderDialog(QWidget* parent, FolderDialogRequest& request)
        : QFileDialog(parent, ToQString(request.Title)), request_(request) {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::ShowDirsOnly);
        setFileMode(QFileDialog::Directory);
        if (!request.Folder.IsEmpty()) setDirectory(PathOf(request.Folder));
        if (request.HelpContext != 0) {
            if (auto* box = findChild<QDialogButtonBox*>()) {
                auto* help = new QPushButton(QString::fromUtf8("&Справка"), box);
                box->addButton(help, QDialogButtonBox::HelpRole);
                const int context = request.HelpContext;
                connect(help, &QPushButton::clicked, this, [context] { Application->HelpContext(context); });
            }
        }
        connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) { Select(path); });
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString& path) { Select(path); });
    }

    void accept() override {
        const QStringList chosen = selectedFiles();
        const QString path = chosen.isEmpty() ? QString() : chosen.front();
        if (path != selection_) Select(path);
        if (!enabled_) return;
        request_.Folder = FromPath(path);
        QDialog::accept();
    }

protected:
    void showEvent(QShowEvent* event) override {
        QFileDialog::showEvent(event);
        if (request_.ScreenCenter) {
            if (QScreen* screen = this->screen()) {
                QRect frame = FrameGeometry(this);
                frame.moveCenter(screen->availableGeometry().center());
                move(frame.topLeft());
            }
        }
        if (initialized_) return;
        initialized_ = true;
        // Once the dialog is up: the starting selection, then the caller's start.
        QTimer::singleShot(0, this, [this] {
            Dispatch([this] {
                if (!request_.Folder.IsEmpty()) Select(PathOf(request_.Folder));
                if (request_.OnInitialized) request_.OnInitialized();
            });
        });
    }

private:
    static QString PathOf(const AnsiString& name) { return QString::fromUtf8(AnsiToUtf8(name).c_str()); }
    static AnsiString FromPath(const QString& path) { return Utf8ToAnsi(path.toUtf8().toStdString()); }

    void Select(const QString& path) {
        selection_ = path;
        const AnsiString name = FromPath(path);
        Dispatch([&] { enabled_ = request_.OnSelChanged ? request_.OnSelChanged(name) : DirectoryExists(name); });
        if (auto* box = findChild<QDialogButtonBox*>()) {
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) b->setEnabled(enabled_);
        }
    }

    FolderDialogRequest& request_;
    QString selection_;
    bool enabled_ = false;
    bool initialized_ = false;
};

// The columns of a file dialog's list beside the names (size, kind, date)
// take the width of what they show whenever a folder has been read: the
// toolkit gives them the widths of English samples, which cut the Russian
// sizes, kinds and dates. A column is never narrowed (the user may have
// widened it), and the dialog widens, within the screen, to show them all.
void FitFileColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!view || !model) return;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, view, [&dialog, view] {
        QHeaderView* header = view->header();
        for (int column = 1; column < header->count(); ++column) {
            const int shown = static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column);
            const int wanted = std::max(shown, header->sectionSizeHint(column));
            if (!header->isSectionHidden(column) && wanted > header->sectionSize(column))
                header->resizeSection(column, wanted);
        }
        const int missing = header->length() - view->viewport()->width();
        if (missing <= 0) return;
        int width = dialog.width() + missing;
        if (QScreen* s = dialog.screen()) width = std::min(width, s->availableGeometry().width());
        dialog.resize(width, dialog.height());
    });
}

// The toolkit's message box, wide enough for its whole title on the
// desktop's title bar, never wider than the screen. The toolkit counts the
// title in the face of its own window titles with little room beside it; a
// desktop writes it in a bold face beside the window's icon and buttons and
// cuts out the middle of what does not fit.
//
// The box takes its size and its place once, as it first shows, before the
// desktop maps it, and keeps them: the toolkit sizes a message box anew
// whenever it shows (also when the desktop brings it back from minimized)
// and whenever its layout asks, and a size changed while the desktop
// restores or maps the window reaches it late and leaves the window out of
// its place in the pile. The toolkit would place the box for its own
// narrower size, over the edge of the screen once widened: a desktop moves
// such a window back after it has taken it on, or leaves it cut off.
class TitledMessageBox : public QMessageBox {
public:
    explicit TitledMessageBox(QWidget* parent) : QMessageBox(parent) {}

protected:
    void showEvent(QShowEvent* e) override {
        if (sized_) {
            QDialog::showEvent(e);
            return;
        }
        // Placed as the toolkit places a dialog (over its window, within the
        // screen), but for the size it ends with.
        const bool place = !e->spontaneous() && !testAttribute(Qt::WA_Moved);
        if (place) setAttribute(Qt::WA_Moved);
        QMessageBox::showEvent(e);
        sized_ = true;
        // The toolkit keeps a box within a limit of its own, narrower than a
        // large screen, and fills a small screen without counting the
        // desktop's frame.
        const int width = std::clamp(this->width(), std::min(TitleWidth(), Room()), Room());
        if (width != this->width()) {
            QLayout* l = layout();
            setFixedSize(width, l && l->hasHeightForWidth() ? l->totalHeightForWidth(width) : height());
            QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
        }
        if (place) {
            adjustPosition(parentWidget());
            setAttribute(Qt::WA_Moved, false); // placed by the toolkit, not by the program
        }
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::LayoutRequest && sized_) return QDialog::event(e);
        return QMessageBox::event(e);
    }

private:
    int Bar() const { return style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this); }
    // The title in bold beside the icon and up to four buttons (menu,
    // minimize, maximize, close), each about as wide as the bar is high, and
    // one more for the gaps.
    int TitleWidth() const {
        QFont bold = font();
        bold.setBold(true);
        return QFontMetrics(bold).horizontalAdvance(windowTitle()) + 6 * Bar();
    }
    // The screen's width less the desktop's frame, which is not known before
    // the desktop has taken the window on; its sides are narrower than its
    // title bar is high.
    int Room() const {
        const QScreen* s = screen();
        return s ? s->availableGeometry().width() - Bar() : QWIDGETSIZE_MAX;
    }

    bool sized_ = false;
};

QString ButtonText(TMsgDlgBtn b) {
    static const char* names[] = {"&Да", "&Нет", "OK", "Отмена", "&Прервать", "П&овтор", "П&ропустить", "&Все", "Н&ет для всех", "Д&а для всех", "&Справка"};
    return QString::fromUtf8(names[b]);
}

int ResultOf(TMsgDlgBtn b) {
    static const int results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
    return results[b];
}

QString Caption(TMsgDlgType t) {
    switch (t) {
    case mtWarning: return QString::fromUtf8("Предупреждение");
    case mtError: return QString::fromUtf8("Ошибка");
    case mtInformation: return QString::fromUtf8("Информация");
    case mtConfirmation: return QString::fromUtf8("Подтверждение");
    default: return ToQString(Application->Title());
    }
}


} // namespace

std::vector<AnsiString> NameFilters(const AnsiString& filter) {
    const QStringList parts = ToQString(filter).split('|');
    std::vector<AnsiString> out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString masks = parts[i + 1];
        masks.replace(';', ' ');
        const QString shown = " (" + masks + ")";
        // A text that shows its masks already is not followed by them again.
        out.push_back(FromQString(parts[i].endsWith(shown) ? parts[i] : parts[i] + shown));
    }
    return out;
}

namespace {

// Runs a dialog modally. Closed, it leaves the activation to the desktop,
// which may hand it to none of the program's windows (a loaded one does):
// the program would stay inactive, its floating panes hidden. The window
// that was active before is asked for again, as after a form shown modally.
int RunModal(QDialog& dialog) {
    QPointer<QWidget> before = QApplication::activeWindow();
    const int result = dialog.exec();
    if (before && before != &dialog && before->isVisible() && !before->isMinimized()) AskActivation(before);
    return result;
}

class QtPort : public IUserInterfacePort {
public:
    int MessageDlg(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons, int) override {
        TitledMessageBox box(DialogParent());
        box.setWindowTitle(Caption(type));
        box.setText(ToQString(text));
        switch (type) {
        case mtWarning: box.setIcon(QMessageBox::Warning); break;
        case mtError: box.setIcon(QMessageBox::Critical); break;
        case mtInformation: box.setIcon(QMessageBox::Information); break;
        case mtConfirmation: box.setIcon(QMessageBox::Question); break;
        default: break;
        }
        std::vector<std::pair<QAbstractButton*, int>> map;
        // A box with the one button Yes is a report, not a question: its
        // button reads OK (the caller still gets the result of Yes).
        const bool report = buttons == mbYesOnly;
        for (int b = mbYes; b <= mbHelp; ++b) {
            if (!(buttons & (1u << b))) continue;
            auto role = b == mbNo || b == mbCancel || b == mbAbort ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
            QPushButton* pb = box.addButton(report ? ButtonText(mbOK) : ButtonText(TMsgDlgBtn(b)), role);
            map.push_back({pb, ResultOf(TMsgDlgBtn(b))});
            if (b == mbCancel || (b == mbNo && !(buttons & (1u << mbCancel)))) box.setEscapeButton(pb);
        }
        if (map.empty()) map.push_back({box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), mrOk});
        box.setDefaultButton(static_cast<QPushButton*>(map.front().first));
        RunModal(box);
        for (auto& [btn, result] : map)
            if (box.clickedButton() == btn) return result;
        return buttons & (1u << mbCancel) ? mrCancel : map.size() == 1 ? map.front().second : mrNone;
    }
    int MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) override {
        TMsgDlgType type = mtCustom;
        switch (flags & 0xF0) {
        case MB_ICONERROR: type = mtError; break;
        case MB_ICONQUESTION: type = mtConfirmation; break;
        case MB_ICONWARNING: type = mtWarning; break;
        case MB_ICONINFORMATION: type = mtInformation; break;
        default: break;
        }
        TMsgDlgButtons b = mbOKOnly;
        switch (flags & 0xF) {
        case MB_OKCANCEL: b = mbOKCancel; break;
        case MB_ABORTRETRYIGNORE: b = MsgButtons({mbAbort, mbRetry, mbIgnore}); break;
        case MB_YESNOCANCEL: b = mbYesNoCancel; break;
        case MB_YESNO: b = mbYesNo; break;
        case MB_RETRYCANCEL: b = MsgButtons({mbRetry, mbCancel}); break;
        default: break;
        }
        TitledMessageBox box(DialogParent());
        (void)type;
        box.setWindowTitle(ToQString(caption.IsEmpty() ? Application->Title() : caption));
        box.setText(ToQString(text));
        int r = RunBox(box, b);
        return r; // modal results and IDxx share their numbers
    }
    void ShowMessage(const AnsiString& text) override {
        TitledMessageBox box(DialogParent());
        box.setWindowTitle(ToQString(Application->Title()));
        box.setText(ToQString(text));
        RunBox(box, mbOKOnly);
    }
    bool FileDialog(FileDialogRequest& r) override {
        QFileDialog dlg(DialogParent(), ToQString(r.Title));
        dlg.setAcceptMode(r.kind == FileDialogRequest::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dlg.setFileMode(r.kind != FileDialogRequest::Open ? QFileDialog::AnyFile : r.MultiSelect ? QFileDialog::ExistingFiles : r.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // The question about a file that exists is the program's own, in its
        // language, on every desktop (a native dialog would ask in its own).
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
        FitFileColumns(dlg);
        const bool confirm = r.kind != FileDialogRequest::Open && r.OverwritePrompt;
        QStringList filters;
        for (const AnsiString& f : NameFilters(r.Filter)) filters << ToQString(f);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            if (r.FilterIndex >= 1 && r.FilterIndex <= filters.size()) dlg.selectNameFilter(filters[r.FilterIndex - 1]);
        }
        if (!r.InitialDir.IsEmpty()) dlg.setDirectory(QString::fromUtf8(AnsiToUtf8(r.InitialDir).c_str()));
        if (!r.FileName.IsEmpty()) dlg.selectFile(QString::fromUtf8(AnsiToUtf8(r.FileName).c_str()));
        // A caller that names the written file itself gets the name as typed:
        // a suffix added here would be taken for one the user typed.
        if (!r.DefaultExt.IsEmpty() && !r.WrittenName) dlg.setDefaultSuffix(ToQString(r.DefaultExt));
        auto filterIndex = [&] { return std::max(1, int(filters.indexOf(dlg.selectedNameFilter())) + 1); };
        // The question is about the file that will be written; "Нет" brings
        // the dialog back as it was left.
        for (;;) {
            if (RunModal(dlg) != QDialog::Accepted) return false;
            const QStringList chosen = dlg.selectedFiles();
            if (!confirm || chosen.isEmpty()) break;
            const AnsiString name = GivenFileName(r, Utf8ToAnsi(chosen.front().toUtf8().toStdString()), filterIndex());
            if (ConfirmOverwrite(*this, name)) break;
        }
        r.FilterIndex = filterIndex();
        r.Files.clear();
        for (const QString& f : dlg.selectedFiles()) r.Files.push_back(Utf8ToAnsi(f.toUtf8().toStdString()));
        r.FileName = r.Files.empty() ? AnsiString() : r.Files.front();
        return !r.FileName.IsEmpty();
    }
    bool ColorDialog(TColor& color) override {
        QColor c = QColorDialog::getColor(ToQColor(color), DialogParent());
        if (!c.isValid()) return false;
        color = FromQColor(c);
        return true;
    }
    bool PrintDialog(PrintDialogRequest& r) override {
        QPrinter printer;
        QPrintDialog dlg(&printer, DialogParent());
        QAbstractPrintDialog::PrintDialogOptions o = QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize;
        if (r.PageNumbersAllowed) o |= QAbstractPrintDialog::PrintPageRange;
        if (r.SelectionAllowed) o |= QAbstractPrintDialog::PrintSelection;
        dlg.setOptions(o);
        if (r.MaxPage > 0) dlg.setMinMax(r.MinPage, r.MaxPage);
        if (r.FromPage > 0) printer.setFromTo(r.FromPage, r.ToPage);
        printer.setCopyCount(r.Copies);
        if (RunModal(dlg) != QDialog::Accepted) return false;
        r.Copies = printer.copyCount();
        printer.setCopyCount(1);
        r.PrintRange = printer.printRange() == QPrinter::PageRange ? prPageNums : printer.printRange() == QPrinter::Selection ? prSelection : prAllPages;
        r.FromPage = printer.fromPage();
        r.ToPage = printer.toPage();
        r.PrinterName = FromQString(printer.printerName());
        r.PdfFileName = printer.outputFileName().isEmpty() ? AnsiString() : Utf8ToAnsi(printer.outputFileName().toUtf8().toStdString());
        return true;
    }
    bool SelectDirectory(const AnsiString& caption, AnsiString& directory) override {
        QString d = QFileDialog::getExistingDirectory(DialogParent(), ToQString(caption), QString::fromUtf8(AnsiToUtf8(directory).c_str()));
        if (d.isEmpty()) return false;
        directory = Utf8ToAnsi(d.toUtf8().toStdString());
        return true;
    }
    bool FolderDialog(FolderDialogRequest& r) override {
        QtFolderDialog dlg(DialogParent(), r);
        return RunModal(dlg) == QDialog::Accepted;
    }
    void Help(const AnsiString& helpFile, const AnsiString& topic, int) override {
        // Topics are known by name; a numbered request opens the first topic.
        THelpWindow::Show(helpFile, topic);
    }
    void OpenUrl(const AnsiString& url) override { QDesktopServices::openUrl(QUrl(ToQString(url))); }
    // One viewer per file: asked again, the open one shows the file as it
    // is now and comes to the front. The viewer belongs to the program's
    // main window, above which it stays.
    void ViewTextFile(const AnsiString& fileName) override {
        std::string bytes;
        if (!ReadWholeFile(fileName, bytes)) {
            ShowMessage("Не найден файл "_a + fileName);
            return;
        }
        std::error_code ec;
        std::filesystem::path key = std::filesystem::weakly_canonical(ToFsPath(fileName), ec);
        if (ec) key = ToFsPath(fileName);
        QPointer<QDialog>& dlg = viewers_[key];
        if (!dlg) {
            QWidget* program = Application->MainForm() ? Application->MainForm()->Widget() : nullptr;
            dlg = new QDialog(program ? program : DialogParent());
            dlg->setAttribute(Qt::WA_DeleteOnClose);
            auto* layout = new QVBoxLayout(dlg);
            auto* view = new QPlainTextEdit(dlg);
            view->setReadOnly(true);
            view->setLineWrapMode(QPlainTextEdit::NoWrap);
            layout->addWidget(view);
            dlg->resize(640, 480);
        }
        dlg->setWindowTitle(ToQString(fileName));
        dlg->findChild<QPlainTextEdit*>()->setPlainText(ToQString(StringReplaceAll(AnsiString(bytes), "\r\n", "\n")));
        if (dlg->isMinimized()) dlg->showNormal();
        else dlg->show();
        if (QGuiApplication::platformName() != "offscreen") dlg->raise();
        AskActivation(dlg);
    }

private:
    std::map<std::filesystem::path, QPointer<QDialog>> viewers_;
    int RunBox(QMessageBox& box, TMsgDlgButtons buttons) {
        std::vector<std::pair<QAbstractButton*, int>> map;
        for (int b = mbYes; b <= mbHelp; ++b)
            if (buttons & (1u << b)) map.push_back({box.addButton(ButtonText(TMsgDlgBtn(b)), QMessageBox::AcceptRole), ResultOf(TMsgDlgBtn(b))});
        RunModal(box);
        for (auto& [btn, result] : map)
            if (box.clickedButton() == btn) return result;
        return buttons & (1u << mbCancel) ? mrCancel : map.front().second;
    }
};

} // namespace

IUserInterfacePort* QtUiPortInstance() {
    static QtPort port;
    return &port;
}

// ---- printer backends -----------------------------------------------------------------

struct QtPrinterBackend::Impl {
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> painter;
    AnsiString pdf;  // the file chosen for the document
    AnsiString temp; // the file the open document is written to
    QString name;
    bool pages = false;

    // Ends a document that was going to a file: a complete one takes the
    // chosen name, anything else goes.
    bool Finish(bool complete) {
        if (temp.IsEmpty()) return complete;
        std::error_code ec;
        if (complete) std::filesystem::rename(ToFsPath(temp), ToFsPath(pdf), ec);
        if (!complete || ec) std::filesystem::remove(ToFsPath(temp), ec);
        const bool written = complete && FileExists(pdf);
        temp = AnsiString();
        return written;
    }
    static bool FileExists(const AnsiString& file) {
        std::error_code ec;
        return std::filesystem::is_regular_file(ToFsPath(file), ec);
    }
};

namespace {

// Pages are drawn at the printer's own resolution, at most 600 dpi (an A4
// page image at 600 dpi already takes some 140 MB). A PDF file has no
// resolution of its own: it takes 300 dpi, a printer's, at which the
// preview's quarter-size page still fits the screen.
constexpr int kMaxPrintDpi = 600;
constexpr int kPdfDpi = 300;

int PrinterDpi(const QString& name) {
    QPrinter p(QPrinter::HighResolution);
    if (!name.isEmpty()) p.setPrinterName(name);
    if (p.outputFormat() == QPrinter::PdfFormat) return kPdfDpi;
    return std::clamp(p.resolution(), 72, kMaxPrintDpi);
}

// The part of the page as one bit a pixel (black 0, white 1, the table the
// PDF writer takes as a bitmap), when every pixel there is black or white
// (a scheme, a list); a null image otherwise.
QImage BlackAndWhite(const QImage& page, const QRect& part) {
    QImage mono(part.size(), QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < part.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(page.constScanLine(y + part.top())) + part.left();
        uchar* bits = mono.scanLine(y);
        std::fill(bits, bits + mono.bytesPerLine(), uchar(0));
        for (int x = 0; x < part.width(); ++x) {
            const uint32_t rgb = row[x] & 0xFFFFFF;
            if (rgb == 0xFFFFFF) bits[x >> 3] |= uchar(0x80 >> (x & 7));
            else if (rgb != 0) return QImage();
        }
    }
    return mono;
}

} // namespace

QtPrinterBackend::QtPrinterBackend() : impl_(std::make_unique<Impl>()), dpi_(PrinterDpi(QString())) {}
QtPrinterBackend::~QtPrinterBackend() {
    Abort();
}

void QtPrinterBackend::SetPdfFile(const AnsiString& fileName) {
    impl_->pdf = fileName;
    impl_->name.clear();
    dpi_ = kPdfDpi;
}

void QtPrinterBackend::SetPrinterName(const AnsiString& name) {
    impl_->name = ToQString(name);
    impl_->pdf = AnsiString();
    dpi_ = PrinterDpi(impl_->name);
}

TSize QtPrinterBackend::PageSize(TPrinterOrientation o) const {
    // A4 at the device resolution.
    int w = 210 * dpi_ * 10 / 254, h = 297 * dpi_ * 10 / 254;
    return o == poLandscape ? TSize(h, w) : TSize(w, h);
}

void QtPrinterBackend::BeginDoc(const AnsiString& title, TPrinterOrientation o) {
    failed_ = false;
    failedFile_ = AnsiString();
    impl_->Finish(false); // what an earlier document left unfinished
    impl_->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& p = *impl_->printer;
    p.setResolution(dpi_);
    p.setDocName(ToQString(title));
    p.setCopyCount(1);
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    p.setFullPage(true);
    if (!impl_->pdf.IsEmpty()) {
        impl_->temp = impl_->pdf + ".tmp~" + IntToStr(int(QCoreApplication::applicationPid()));
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromUtf8(AnsiToUtf8(impl_->temp).c_str()));
    } else if (!impl_->name.isEmpty()) {
        p.setPrinterName(impl_->name);
    }
    impl_->painter.reset();
    impl_->pages = false;
}

void QtPrinterBackend::EndPage(const QImage& page) {
    if (!impl_->printer) return;
    if (!impl_->painter) {
        impl_->painter = std::make_unique<QPainter>();
        if (!impl_->painter->begin(impl_->printer.get())) {
            failed_ = true;
            impl_->painter.reset();
            return;
        }
    } else {
        impl_->printer->newPage();
    }
    // One pixel of the page to one dot of the device, kept exact: a page in
    // black and white goes as one bit a pixel, and nothing goes through a
    // lossy compression that would smear the edges of lines and letters.
    const QRect target = impl_->painter->viewport();
    const QRect part(0, 0, std::min(target.width(), page.width()), std::min(target.height(), page.height()));
    impl_->painter->setRenderHint(QPainter::LosslessImageRendering);
    if (const QImage mono = BlackAndWhite(page, part); !mono.isNull()) {
        // A bitmap is painted in the pen's colour where its bits are 0.
        impl_->painter->setPen(Qt::black);
        impl_->painter->drawImage(part, mono);
    } else {
        impl_->painter->drawImage(part, page, part);
    }
    impl_->pages = true;
}

void QtPrinterBackend::EndDoc() {
    bool complete = !failed_ && impl_->painter;
    if (impl_->painter && !impl_->painter->end()) complete = false;
    impl_->painter.reset();
    impl_->printer.reset(); // closes the file
    const AnsiString file = impl_->temp.IsEmpty() ? AnsiString() : impl_->pdf;
    if (!impl_->Finish(complete)) {
        failed_ = true;
        failedFile_ = file;
    }
}

void QtPrinterBackend::Abort() {
    if (impl_->printer && impl_->painter) impl_->printer->abort();
    if (impl_->painter && impl_->painter->isActive()) impl_->painter->end();
    impl_->painter.reset();
    impl_->printer.reset();
    impl_->Finish(false);
}

// ---- TPrinter ---------------------------------------------------------------------------

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() {
    if (printing_) Abort();
}

QtPrinterBackend* TPrinter::QtBackend() {
    if (auto* q = dynamic_cast<QtPrinterBackend*>(backend_.get())) return q;
    if (printing_) throw EPrinter("Printing in progress");
    backend_ = std::make_unique<QtPrinterBackend>();
    return static_cast<QtPrinterBackend*>(backend_.get());
}

std::unique_ptr<IPrinterBackend> TPrinter::SetBackend(std::unique_ptr<IPrinterBackend> b) {
    if (printing_) throw EPrinter("Printing in progress");
    std::swap(b, backend_);
    return b;
}

void TPrinter::SetOrientation(TPrinterOrientation o) {
    if (printing_) throw EPrinter("Printing in progress");
    orientation_ = o;
}

int TPrinter::PixelsPerInch() const { return backend_ ? backend_->PixelsPerInch() : 150; }

int TPrinter::PageWidth() const {
    auto* self = const_cast<TPrinter*>(this);
    if (!backend_) self->QtBackend();
    return backend_->PageSize(orientation_).cx;
}

int TPrinter::PageHeight() const {
    auto* self = const_cast<TPrinter*>(this);
    if (!backend_) self->QtBackend();
    return backend_->PageSize(orientation_).cy;
}

void TPrinter::StartPage() {
    TSize s = backend_->PageSize(orientation_);
    page_ = std::make_unique<QImage>(std::max(s.cx, 1), std::max(s.cy, 1), QImage::Format_RGB32);
    page_->fill(Qt::white);
    if (!canvas_) canvas_ = std::make_unique<TCanvas>();
    canvas_->SetPixelsPerInch(backend_->PixelsPerInch());
    canvas_->SetImage(page_.get());
    canvas_->OnText = [this](const TCanvasText& t) {
        if (backend_) backend_->TextDrawn(t);
    };
}

TCanvas* TPrinter::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>();
        canvas_->SetPixelsPerInch(PixelsPerInch());
    }
    return canvas_.get();
}

void TPrinter::BeginDoc() {
    if (printing_) throw EPrinter("Printing in progress");
    if (!backend_) QtBackend();
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
    backend_->BeginDoc(Title, orientation_);
    StartPage();
}

void TPrinter::NewPage() {
    if (!printing_) throw EPrinter("Printer is not currently printing");
    backend_->EndPage(*page_);
    ++pageNumber_;
    StartPage();
}

void TPrinter::EndDoc() {
    if (!printing_) throw EPrinter("Printer is not currently printing");
    backend_->EndPage(*page_);
    backend_->EndDoc();
    printing_ = false;
    canvas_->SetImage(nullptr);
    page_.reset();
    pageNumber_ = 0;
    const AnsiString failed = backend_->FailedFile();
    if (!failed.IsEmpty()) ShowMessage(CannotCreateFileText(failed));
}

void TPrinter::Abort() {
    if (!printing_) throw EPrinter("Printer is not currently printing");
    backend_->Abort();
    printing_ = false;
    aborted_ = true;
    canvas_->SetImage(nullptr);
    page_.reset();
}

TPrinter* Printer() {
    static TPrinter printer;
    return &printer;
}
