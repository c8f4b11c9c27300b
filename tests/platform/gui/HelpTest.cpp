// The help: topics read from a help file, the help window with its contents
// and links, and the application's help calls.
#include <QListWidget>
#include <QTextBrowser>

#include "GuiTest.h"
#include "common/TestEnv.h"
#include "platform/FileNames.h"
#include "platform/gui/Help.h"

namespace {

const char* const kHelp = R"(<html><head><meta charset="utf-8"></head><body>
<h2 id="Context">Содержание</h2>
<p>Разделы: <a href="#Формулы">формулы</a>, <a href="#Нет">пропавший</a>.</p>
<h2 id="Формулы">Формулы <i>входов</i></h2>
<p>Формула задаёт вход.</p>
<h2 id="Context">Второй раз</h2>
<p>Повтор не виден.</p>
</body></html>
)";

class Help : public GuiTest {
protected:
    void TearDown() override {
        THelpWindow::CloseWindow();
        GuiTest::TearDown();
    }
    AnsiString WriteHelp(const std::string& text) {
        testenv::WriteBytes(dir.Path() / "Ge.hlp", text);
        return dir.File("Ge.hlp");
    }
    testenv::TempDir dir;
};

TEST_F(Help, TopicsRunFromHeadingToHeadingAndANameCountsOnce) {
    const std::vector<THelpTopic> topics = ParseHelpTopics(kHelp);
    ASSERT_EQ(topics.size(), 2u);
    EXPECT_EQ(topics[0].Name, AnsiString("Context"));
    EXPECT_EQ(topics[0].Title, "Содержание"_a);
    EXPECT_EQ(topics[0].Html, std::string("<p>Разделы: <a href=\"#Формулы\">формулы</a>, <a href=\"#Нет\">пропавший</a>.</p>"));
    EXPECT_EQ(topics[1].Name, "Формулы"_a);
    EXPECT_EQ(topics[1].Title, "Формулы входов"_a);
    // The last topic ends where the text of the repeated heading begins.
    EXPECT_EQ(topics[1].Html, std::string("<p>Формула задаёт вход.</p>"));
    struct Case {
        const char* text;
        std::size_t topics;
    };
    for (const Case& c : {Case{"", 0}, Case{"<p>no headings</p>", 0}, Case{"<h2 id=\"A\">A</h2>", 1},
                          Case{"<H2 ID=\"A\">A</H2>x<h2 id=\"B\">\nB</h2>", 2}, Case{"<h2 id=\"A\">unclosed", 0},
                          Case{"\xff\xfe<h2 id=\"A\">A</h2>", 1}})
        EXPECT_EQ(ParseHelpTopics(c.text).size(), c.topics) << c.text;
}

TEST_F(Help, TheWindowOpensTheTopicAndFollowsLinksThroughItsContents) {
    const AnsiString file = WriteHelp(kHelp);
    ASSERT_TRUE(THelpWindow::Show(file, "Формулы"_a));
    THelpWindow* w = THelpWindow::Instance();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Widget()->isVisible());
    EXPECT_EQ(w->CurrentTopic(), "Формулы"_a);
    EXPECT_EQ(w->Contents(), (std::vector<AnsiString>{"Содержание"_a, "Формулы входов"_a}));
    EXPECT_EQ(w->PlainText(), "Формулы входов\nФормула задаёт вход."_a);
    // The contents list opens a topic; a link in the text opens another.
    auto* contents = w->Widget()->findChild<QListWidget*>();
    ASSERT_NE(contents, nullptr);
    contents->setCurrentRow(0);
    EXPECT_EQ(w->CurrentTopic(), AnsiString("Context"));
    w->FollowLink("#Формулы"_a);
    EXPECT_EQ(w->CurrentTopic(), "Формулы"_a);
    EXPECT_EQ(contents->currentRow(), 1);
    EXPECT_TRUE(port.Messages().empty());
    // A link to a topic the file lacks says so and stays.
    w->FollowLink("#Нет"_a);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"В справке нет раздела \"Нет\""_a});
    EXPECT_EQ(w->CurrentTopic(), "Формулы"_a);
}

TEST_F(Help, AMissingFileOrTopicIsReportedWithItsName) {
    EXPECT_FALSE(THelpWindow::Show(dir.File("Ge.hlp"), "Context"));
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Не найден файл справки "_a + dir.File("Ge.hlp")});
    EXPECT_EQ(THelpWindow::Instance(), nullptr);
    port.Clear();
    WriteHelp("<p>нет разделов</p>");
    EXPECT_FALSE(THelpWindow::Show(dir.File("Ge.hlp"), "Context"));
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"В файле справки "_a + dir.File("Ge.hlp") + " нет ни одного раздела"_a});
    port.Clear();
    // An unknown topic shows the first one and names the one asked for.
    WriteHelp(kHelp);
    EXPECT_FALSE(THelpWindow::Show(dir.File("Ge.hlp"), "Отладка"_a));
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"В справке нет раздела \"Отладка\""_a});
    ASSERT_NE(THelpWindow::Instance(), nullptr);
    EXPECT_EQ(THelpWindow::Instance()->CurrentTopic(), AnsiString("Context"));
    // Asked again, the one window shows the file as it is now.
    WriteHelp("<h2 id=\"Context\">Новое</h2>");
    EXPECT_TRUE(THelpWindow::Show(dir.File("Ge.hlp"), AnsiString()));
    EXPECT_EQ(THelpWindow::Instance()->Contents(), std::vector<AnsiString>{"Новое"_a});
}

TEST_F(Help, AHelpFileWithoutAFolderLiesBesideTheProgram) {
    const AnsiString exeDir = ExtractFilePath(Application->ExeName());
    EXPECT_EQ(HelpFilePath("Ge.hlp"), PathJoin(exeDir, "Ge.hlp"));
    EXPECT_EQ(HelpFilePath(dir.File("Ge.hlp")), dir.File("Ge.hlp"));
    EXPECT_EQ(HelpFilePath("help/Ge.hlp"), AnsiString("help/Ge.hlp"));
    EXPECT_EQ(HelpFilePath(AnsiString()), AnsiString());
}

TEST_F(Help, TheApplicationsHelpCallsReachThePortWithTheHelpFile) {
    Application->HelpFile = "Ge.hlp";
    Application->HelpJump("Формулы"_a);
    EXPECT_TRUE(Application->HelpCommand(HELP_CONTENTS, 0));
    EXPECT_TRUE(Application->HelpCommand(HELP_FINDER, 0));
    EXPECT_TRUE(Application->HelpCommand(HELP_CONTEXT, 7));
    EXPECT_FALSE(Application->HelpCommand(0x105, 0));
    ASSERT_EQ(port.Calls.size(), 4u);
    const std::pair<const char*, int> expected[] = {{"Формулы", 0}, {"", 0}, {"", 0}, {"", 7}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(port.Calls[i].kind, TestUiPort::kHelp);
        EXPECT_EQ(port.Calls[i].caption, AnsiString("Ge.hlp"));
        EXPECT_EQ(port.Calls[i].text, Utf8ToAnsi(expected[i].first)) << i;
        EXPECT_EQ(port.Calls[i].context, expected[i].second) << i;
    }
    // The quit command closes the window.
    WriteHelp(kHelp);
    ASSERT_TRUE(THelpWindow::Show(dir.File("Ge.hlp"), AnsiString()));
    EXPECT_TRUE(Application->HelpCommand(HELP_QUIT, 0));
    EXPECT_EQ(THelpWindow::Instance(), nullptr);
    Application->HelpFile = AnsiString();
}

} // namespace
