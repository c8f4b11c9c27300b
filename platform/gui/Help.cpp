#include "platform/gui/Help.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMargins>
#include <QRegularExpression>
#include <QScrollBar>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include <algorithm>

#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/QtText.h"
#include "platform/UiPort.h"
#include "platform/gui/Bridge.h"
#include "platform/gui/Forms.h"

using namespace gebridge;

namespace {

THelpWindow* g_help = nullptr;

} // namespace

std::vector<THelpTopic> ParseHelpTopics(const std::string& utf8) {
    QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    // A heading inside a comment is no topic.
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"), QRegularExpression::DotMatchesEverythingOption);
    text.remove(comment);
    static const QRegularExpression heading(QStringLiteral("<h2\\s+id=\"([^\"]+)\"\\s*>(.*?)</h2>"),
                                            QRegularExpression::CaseInsensitiveOption |
                                                QRegularExpression::DotMatchesEverythingOption);
    std::vector<THelpTopic> topics;
    std::vector<std::pair<qsizetype, qsizetype>> bodies; // start and end of each topic's text
    for (auto it = heading.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!bodies.empty()) bodies.back().second = m.capturedStart();
        THelpTopic t;
        t.Name = FromQString(m.captured(1).trimmed());
        // The title is shown as plain text in the contents.
        QString title = m.captured(2);
        title.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        t.Title = FromQString(title.simplified());
        topics.push_back(std::move(t));
        bodies.push_back({m.capturedEnd(), text.size()});
    }
    // The text after the last topic ends at the document's closing tags.
    if (!bodies.empty()) {
        const qsizetype end = text.indexOf(QStringLiteral("</body>"), bodies.back().first, Qt::CaseInsensitive);
        if (end >= 0) bodies.back().second = end;
    }
    std::vector<THelpTopic> unique;
    for (std::size_t i = 0; i < topics.size(); ++i) {
        bool seen = false;
        for (const THelpTopic& u : unique) seen = seen || u.Name == topics[i].Name;
        if (seen) continue;
        const auto [from, to] = bodies[i];
        topics[i].Html = text.mid(from, to - from).trimmed().toUtf8().toStdString();
        unique.push_back(std::move(topics[i]));
    }
    return unique;
}

AnsiString HelpFilePath(const AnsiString& helpFile) {
    if (helpFile.IsEmpty() || IsAbsoluteFileName(helpFile) || !ExtractFilePath(helpFile).IsEmpty()) return helpFile;
    return PathJoin(ExtractFilePath(Application->ExeName()), helpFile);
}

// ---- the window -----------------------------------------------------------------------

namespace {

// The size of the help window's first showing.
constexpr int kHelpWidth = 760;
constexpr int kHelpHeight = 520;

// The desktop's frame around a window that was shown: what lies outside its
// client rectangle on each side.
QMargins FrameMargins(const QWidget* w) {
    if (!w) return {};
    const QRect frame = gebridge::FrameGeometry(w);
    const QRect inner = w->geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                    frame.bottom() - inner.bottom());
}

// The client rectangle wanted, moved (and made smaller when it is larger) so
// that the window lies inside the area with the desktop's frame round it.
QRect FitInside(const QRect& wanted, const QMargins& frame, const QRect& area) {
    const int w = std::max(std::min(wanted.width(), area.width() - frame.left() - frame.right()), 1);
    const int h = std::max(std::min(wanted.height(), area.height() - frame.top() - frame.bottom()), 1);
    const int x = std::max(std::min(wanted.x(), area.right() + 1 - frame.right() - w), area.left() + frame.left());
    const int y = std::max(std::min(wanted.y(), area.bottom() + 1 - frame.bottom() - h), area.top() + frame.top());
    return QRect(x, y, w, h);
}

} // namespace

struct THelpWindow::Impl {
    QWidget* window = nullptr;
    QListWidget* contents = nullptr;
    QTextBrowser* browser = nullptr;
    bool syncing = false;
};

THelpWindow::THelpWindow(const AnsiString& fileName, std::vector<THelpTopic> topics)
    : impl_(std::make_unique<Impl>()), fileName_(fileName), topics_(std::move(topics)) {
    auto* w = new QWidget(nullptr, Qt::Window);
    w->setWindowTitle(QString::fromUtf8("Справка: ") + ToQString(Application->Title()));
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* splitter = new QSplitter(w);
    auto* contents = new QListWidget(splitter);
    auto* browser = new QTextBrowser(splitter);
    browser->setOpenLinks(false);
    splitter->addWidget(contents);
    splitter->addWidget(browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 520});
    layout->addWidget(splitter);
    w->resize(kHelpWidth, kHelpHeight);
    impl_->window = w;
    impl_->contents = contents;
    impl_->browser = browser;
    for (const THelpTopic& t : topics_) contents->addItem(ToQString(t.Title));
    // The contents show every title whole: the list is as wide as its longest one.
    const int list = contents->sizeHintForColumn(0) + 2 * contents->frameWidth() +
                     contents->verticalScrollBar()->sizeHint().width();
    if (list > 220) splitter->setSizes({list, kHelpWidth - list});
    QObject::connect(contents, &QListWidget::currentRowChanged, [this](int row) {
        if (impl_->syncing || row < 0 || row >= int(topics_.size())) return;
        OpenTopic(topics_[std::size_t(row)].Name);
    });
    QObject::connect(browser, &QTextBrowser::anchorClicked,
                     [this](const QUrl& url) { FollowLink(FromQString(url.toString(QUrl::FullyDecoded))); });
}

THelpWindow::~THelpWindow() {
    if (g_help == this) g_help = nullptr;
    delete impl_->window;
}

THelpWindow* THelpWindow::Instance() { return g_help; }

void THelpWindow::CloseWindow() { delete g_help; }

bool THelpWindow::Show(const AnsiString& helpFile, const AnsiString& topic) {
    const AnsiString path = HelpFilePath(helpFile);
    std::string bytes;
    if (path.IsEmpty() || !FileExists(path) || !ReadWholeFile(path, bytes)) {
        ShowMessage("Не найден файл справки "_a + path);
        return false;
    }
    std::vector<THelpTopic> topics = ParseHelpTopics(bytes);
    if (topics.empty()) {
        ShowMessage("В файле справки "_a + path + " нет ни одного раздела"_a);
        return false;
    }
    // The window opens again where it was, the first time in the middle of
    // the screen of the program's window; either way inside the screen's
    // work area with its frame (the frame of a window shown before tells
    // how large the desktop's frame is).
    QWidget* program = Application->MainForm() ? Application->MainForm()->Widget() : nullptr;
    QRect wanted;
    QMargins frame;
    QScreen* screen = nullptr;
    if (g_help) {
        QWidget* old = g_help->impl_->window;
        wanted = old->geometry();
        frame = FrameMargins(old);
        screen = old->screen();
    }
    if (frame.isNull() && program && program->isVisible()) frame = FrameMargins(program);
    if (!screen && program) screen = program->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    // The file is read afresh each time: the window always shows the help
    // file as it is now.
    delete g_help;
    g_help = new THelpWindow(path, std::move(topics));
    if (screen) {
        const QRect area = screen->availableGeometry();
        if (wanted.isEmpty()) {
            wanted = QRect(0, 0, kHelpWidth, kHelpHeight);
            wanted.moveCenter(area.center());
        }
        g_help->impl_->window->setGeometry(FitInside(wanted, frame, area));
    }
    const bool found = !topic.IsEmpty() && g_help->OpenTopic(topic);
    if (!found) g_help->OpenTopic(g_help->topics_.front().Name);
    QWidget* w = g_help->impl_->window;
    w->show();
    w->raise();
    w->activateWindow();
    if (found || topic.IsEmpty()) return true;
    ShowMessage("В справке нет раздела \""_a + topic + "\""_a);
    return false;
}

AnsiString THelpWindow::CurrentTopic() const {
    return current_ >= 0 ? topics_[std::size_t(current_)].Name : AnsiString();
}

bool THelpWindow::OpenTopic(const AnsiString& name) {
    for (std::size_t i = 0; i < topics_.size(); ++i) {
        if (topics_[i].Name != name) continue;
        current_ = int(i);
        const THelpTopic& t = topics_[i];
        impl_->browser->setHtml(QStringLiteral("<h2>") + ToQString(t.Title).toHtmlEscaped() + QStringLiteral("</h2>") +
                                QString::fromUtf8(t.Html.data(), qsizetype(t.Html.size())));
        impl_->syncing = true;
        impl_->contents->setCurrentRow(int(i));
        impl_->syncing = false;
        return true;
    }
    return false;
}

void THelpWindow::FollowLink(const AnsiString& href) {
    if (href.IsEmpty()) return;
    if (href[1] == '#') {
        const AnsiString name = href.SubString(2, href.Length() - 1);
        if (!OpenTopic(name)) ShowMessage("В справке нет раздела \""_a + name + "\""_a);
        return;
    }
    QDesktopServices::openUrl(QUrl(ToQString(href)));
}

std::vector<AnsiString> THelpWindow::Contents() const {
    std::vector<AnsiString> r;
    for (int i = 0; i < impl_->contents->count(); ++i) r.push_back(FromQString(impl_->contents->item(i)->text()));
    return r;
}

AnsiString THelpWindow::PlainText() const { return FromQString(impl_->browser->toPlainText()); }

QWidget* THelpWindow::Widget() const { return impl_->window; }
