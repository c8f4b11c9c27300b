// The help: topics read from a help file, the help window with its contents
// and links, and the application's help calls.
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>

#include "GuiTest.h"
#include "common/TestEnv.h"
#include "common/Wait.h"
#include "platform/FileNames.h"
#include "platform/gui/Help.h"

namespace {

bool Offscreen() { return QGuiApplication::platformName() == "offscreen"; }

const char* const kHelp = R"(<html><body>
<!-- Each topic begins with <h2 id="Name">Title</h2>. -->
<h2 id="Context">Содержание</h2>
<p>См. <a href="#Формулы">формулы</a>.</p>
<h2 id="Формулы">Формулы <i>входов</i></h2>
<p>Шаги.</p><!-- <h2 id="Hidden">no</h2> -->
<h2 id="Context">Повтор</h2>
</body></html>
)";

class Help : public GuiTest {
protected:
    void TearDown() override {
        THelpWindow::CloseWindow();
        GuiTest::TearDown();
    }
    testenv::TempDir dir;
};

TEST_F(Help, TopicsRunFromHeadingToHeadingOutsideComments) {
    const std::vector<THelpTopic> topics = ParseHelpTopics(kHelp);
    ASSERT_EQ(topics.size(), 2u);
    EXPECT_EQ(topics[0].Title, "Содержание"_a);
    EXPECT_EQ(topics[0].Html, std::string("<p>См. <a href=\"#Формулы\">формулы</a>.</p>"));
    EXPECT_EQ(topics[1].Name, "Формулы"_a);
    EXPECT_EQ(topics[1].Title, "Формулы входов"_a);
    EXPECT_EQ(topics[1].Html, std::string("<p>Шаги.</p>"));
    for (const auto& [text, count] : {std::pair{"", 0u}, std::pair{"<h2 id=\"A\">unclosed", 0u},
                                      std::pair{"<H2 ID=\"A\">A</H2><h2 id=\"B\">\nB</h2>", 2u}})
        EXPECT_EQ(ParseHelpTopics(text).size(), count) << text;
}

// The window shows the topic asked for, follows the contents and the links,
// and names what is missing: the file, a topic.
TEST_F(Help, TheWindowOpensTopicsAndNamesWhatIsMissing) {
    const AnsiString file = dir.File("Ge.hlp");
    EXPECT_FALSE(THelpWindow::Show(file, "Context"));
    testenv::WriteBytes(dir.Path() / "Ge.hlp", kHelp);
    ASSERT_TRUE(THelpWindow::Show(file, "Формулы"_a));
    THelpWindow* w = THelpWindow::Instance();
    EXPECT_TRUE(w->Widget()->isVisible());
    EXPECT_EQ(w->Contents(), (std::vector<AnsiString>{"Содержание"_a, "Формулы входов"_a}));
    EXPECT_EQ(w->PlainText(), "Формулы входов\nШаги."_a);
    w->Widget()->findChild<QListWidget*>()->setCurrentRow(0);
    EXPECT_EQ(w->CurrentTopic(), AnsiString("Context"));
    w->FollowLink("#Формулы"_a);
    EXPECT_EQ(w->CurrentTopic(), "Формулы"_a);
    w->FollowLink("#Нет"_a);
    EXPECT_EQ(w->CurrentTopic(), "Формулы"_a);
    EXPECT_FALSE(THelpWindow::Show(file, "Отладка"_a)); // the first topic instead
    EXPECT_EQ(THelpWindow::Instance()->CurrentTopic(), AnsiString("Context"));
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Не найден файл справки "_a + file,
                                                        "В справке нет раздела \"Нет\""_a,
                                                        "В справке нет раздела \"Отладка\""_a}));
    EXPECT_EQ(HelpFilePath("Ge.hlp"), PathJoin(ExtractFilePath(Application->ExeName()), "Ge.hlp"));
    EXPECT_EQ(HelpFilePath(file), file);
}

// The help window lies with its frame inside the work area of its screen:
// opened beside the program's window, and opened again after the user left
// it partly off the screen and closed it, where it was but pulled inside.
TEST_F(Help, TheWindowOpensAndReopensInsideTheWorkArea) {
    TForm* program = MakeForm();
    program->SetBounds(0, 0, 722, 529);
    program->Show();
    ASSERT_TRUE(testenv::WaitActive(program));
    testenv::WriteBytes(dir.Path() / "Ge.hlp", kHelp);
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        ASSERT_TRUE(THelpWindow::Show(dir.File("Ge.hlp"), AnsiString()));
        QWidget* w = THelpWindow::Instance()->Widget();
        ASSERT_TRUE(testenv::WaitExposed(w));
        // The frame is the desktop's, known once the window is on the screen.
        testenv::WaitFor([w] { return gebridge::FrameGeometry(w) != w->geometry() || Offscreen(); });
        const QRect area = w->screen()->availableGeometry();
        EXPECT_TRUE(area.contains(gebridge::FrameGeometry(w)));
        EXPECT_EQ(w->size(), QSize(760, 520));
        if (opening == 2) {
            EXPECT_EQ(gebridge::FrameGeometry(w).left(), area.left());
            EXPECT_EQ(gebridge::FrameGeometry(w).top(), area.top() + 100);
        }
        // Left by the user with its left part off the screen.
        w->move(area.left() - 300, area.top() + 100);
        testenv::WaitFor([w, area] { return gebridge::FrameGeometry(w).left() < area.left(); });
        w->close();
        ASSERT_TRUE(testenv::WaitFor([w] { return !w->isVisible(); }));
    }
}

TEST_F(Help, HelpCommandOpensTheContentsAndCloses) {
    Application->HelpFile = "Ge.hlp";
    EXPECT_TRUE(Application->HelpCommand(HELP_CONTENTS, 0));
    EXPECT_FALSE(Application->HelpCommand(0x105, 0));
    ASSERT_EQ(port.Calls.size(), 1u);
    EXPECT_EQ(port.Calls[0].caption, AnsiString("Ge.hlp"));
    EXPECT_EQ(port.Calls[0].text, AnsiString()); // the first topic
    testenv::WriteBytes(dir.Path() / "Ge.hlp", kHelp);
    ASSERT_TRUE(THelpWindow::Show(dir.File("Ge.hlp"), AnsiString()));
    EXPECT_TRUE(Application->HelpCommand(HELP_QUIT, 0));
    EXPECT_EQ(THelpWindow::Instance(), nullptr);
    Application->HelpFile = AnsiString();
}

} // namespace
