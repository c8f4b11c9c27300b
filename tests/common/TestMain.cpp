// The one test main: a private environment and one application object for the
// whole binary, on Qt's offscreen platform when there is no display.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QtTest/qtestmouse.h>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include "common/TestEnv.h"

namespace {

// The offscreen platform warns about window-manager features it lacks; those
// lines say nothing about the program and drown real failures.
QtMessageHandler g_previousHandler = nullptr;

void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains("propagateSizeHints") || text.contains("grabbing the keyboard")) return;
    if (g_previousHandler) g_previousHandler(type, context, text);
    else std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

// The application keeps which buttons and modifier keys are held as the
// input it handled left them, and Qt Test keeps its own record of the buttons
// it pressed, which it sends with every later simulated event: a simulated
// double click on a widget never releases its button, a click with Ctrl
// leaves Ctrl held. A test that ends so would make the next one see a button
// or key held (GetKeyState, no tooltips while a button is down). After every
// test, nothing is held in either.
void ReleaseHeldInput() {
    QTestPrivate::qtestMouseButtons = Qt::NoButton;
    auto hear = [](QEvent& e) {
        QSpontaneKeyEvent::setSpontaneous(&e);
        QCoreApplication::instance()->notify(QCoreApplication::instance(), &e);
    };
    const Qt::MouseButtons held = QGuiApplication::mouseButtons();
    for (unsigned bit = 1; bit <= Qt::MaxMouseButton; bit <<= 1) {
        if (!(held & Qt::MouseButton(bit))) continue;
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(), QPointF(), Qt::MouseButton(bit), Qt::NoButton, Qt::NoModifier);
        hear(release);
    }
    if (QGuiApplication::keyboardModifiers() != Qt::NoModifier) {
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier);
        hear(release);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QT_FONT_DPI", "96", 1);
    ::setenv("QT_SCALE_FACTOR", "1", 1);
    testenv::Init();
    g_previousHandler = qInstallMessageHandler(FilterQtMessages);
    int rc;
    {
        QApplication app(argc, argv);
        // A run meant for one platform (ctest says which) never passes on
        // another one.
        const char* expected = std::getenv("GE_EXPECT_QPA");
        // The application object takes the desktop's language, as the program's does;
        // a run meant for one language never passes in another.
        const char* expectedLocale = std::getenv("GE_EXPECT_LOCALE");
        const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
        if (expected && QGuiApplication::platformName() != QLatin1String(expected)) {
            std::fprintf(stderr, "the tests run on the %s platform, not on %s\n", qPrintable(QGuiApplication::platformName()), expected);
            rc = 2;
        } else if (expectedLocale && (!numeric || std::string(numeric) != expectedLocale)) {
            std::fprintf(stderr, "the tests run under the %s locale, not under %s\n", numeric ? numeric : "?", expectedLocale);
            rc = 2;
        } else {
            ::testing::InitGoogleTest(&argc, argv);
            testenv::InstallFreshFolders();
            testenv::AfterEachTest(ReleaseHeldInput);
            rc = RUN_ALL_TESTS();
        }
    }
    testenv::Cleanup();
    return rc;
}
