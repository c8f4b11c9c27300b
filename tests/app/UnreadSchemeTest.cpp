// A scheme window whose file could not be read whole (cut short, of another
// version, a state machine, empty) writes over that file only when the user
// agrees, whichever command writes it; "Нет" leaves the file's bytes as they
// were and the command goes no further.
#include "app/AppTest.h"

#include <filesystem>
#include <functional>

#include "editor/ChildWin.h"
#include "fsm/fsmScheme.h"
#include "platform/FileIO.h"
#include "platform/FileUtils.h"
#include "translator/TranslatorHost.h"

namespace {

class UnreadScheme : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        FrameWindowFactories().SchemeWindow = MakeSchemeWindow;
        TranslatorHooks().Progress = &progress;
        StartFrame();
    }
    TProgressRecord progress;
};

TEST_F(UnreadScheme, AFileNotReadWholeIsWrittenOverOnlyWhenTheUserAgrees) {
    WriteScheme(dir.File("whole.tvs"), {"E1", "E2"});
    const std::string whole = testenv::ReadBytes(dir.Path() / "whole.tvs");
    std::string otherVersion = whole;
    otherVersion[44] = char(kSchemeFileVersion + 1); // the header's version
    TFSMScheme machine;
    machine.CreateState()->SetName("S1");
    const struct {
        const char* name;
        std::string bytes;
        AnsiString refusal;
    } files[] = {
        {"cut.tvs", whole.substr(0, whole.size() - 7), "Файл разрушен!!"_a},
        {"version.tvs", otherVersion, "Старая версия файла"_a},
        {"m.fsm", machine.SaveToBytes(), "Старая версия файла"_a},
        {"empty.tvs", "", "Файл разрушен!!"_a},
    };
    const struct {
        const char* what;
        std::function<void(TForm*)> write;
        bool asksToSave; // the closing question comes first
    } ways[] = {
        {"Сохранить", [&](TForm*) { frame->FileSave1Execute(frame->FileSave1); }, false},
        {"the closing question", [](TForm* window) { window->Close(); }, true},
        {"Выход", [&](TForm*) { frame->FileExit1Execute(frame->FileExit1); }, true},
        {"Создать файлы", [&](TForm*) { frame->ExportActionExecute(frame->ExportAction); }, false},
    };
    for (const auto& file : files)
        for (const auto& way : ways)
            for (int answer : {mrNo, mrYes}) {
                SCOPED_TRACE(std::string(file.name) + ", " + way.what + (answer == mrYes ? ", Да" : ", Нет"));
                const AnsiString path = dir.File(file.name);
                testenv::WriteBytes(ToFsPath(path), file.bytes);
                std::filesystem::remove(dir.Path() / "tvca.dat");
                OpenProjectOf({file.name});
                frame->FileListBox->SetSelected(frame->FileListBox->Items()->Item(0));
                frame->FileListBoxDblClick(frame->FileListBox);
                Application->ProcessMessages();
                auto* window = dynamic_cast<TMDIChild*>(frame->ActiveMDIChild());
                ASSERT_NE(window, nullptr);
                window->Scheme->CreateAndElement();
                std::weak_ptr<char> alive = window->Alive();
                if (way.asksToSave) port.Answer(mrYes);
                port.Answer(answer);
                way.write(window);
                Application->ProcessMessages();
                std::vector<AnsiString> shown{file.refusal};
                if (way.asksToSave) shown.push_back("Схема не сохранена! Сохранить?"_a);
                shown.push_back("Файл "_a + path +
                                " был прочитан не полностью. Записать поверх него только прочитанную часть?"_a);
                std::vector<AnsiString> messages = port.Messages();
                if (answer == mrYes && messages.size() > shown.size()) messages.resize(shown.size());
                EXPECT_EQ(messages, shown);
                EXPECT_EQ(testenv::ReadBytes(ToFsPath(path)) == file.bytes, answer == mrNo);
                if (answer == mrNo) {
                    EXPECT_TRUE(frame->Showing());
                    EXPECT_FALSE(alive.expired()) << "the window keeps what it holds";
                    if (!alive.expired()) {
                        EXPECT_TRUE(window->Scheme->IsModified());
                    }
                    EXPECT_FALSE(FileExists(dir.File("tvca.dat"))) << "no run on a file left as it was";
                } else if (!alive.expired()) {
                    // Once written, the file is the window's own: no more questions.
                    port.Clear();
                    frame->FileSave1Execute(frame->FileSave1);
                    EXPECT_TRUE(port.Calls.empty());
                }
                // The next row starts with no window and no project, the frame
                // restarted once it closed.
                if (frame->Showing()) {
                    for (TForm* child : Children()) Free(child);
                    Application->ProcessMessages();
                    frame->CloseProjectActionExecute(frame->CloseProjectAction);
                    port.Clear();
                } else {
                    TearDown();
                    SetUp();
                }
            }
}

// "Сохранить как" to another name writes as usual and leaves the unread file
// as it was; from then on the window saves to its new name without a question.
// The recovery copy never takes the unread file's place.
TEST_F(UnreadScheme, SaveAsAndTheRecoveryCopyLeaveTheUnreadFileAsItWas) {
    testenv::WriteBytes(dir.Path() / "m.fsm", "not a scheme");
    auto* window = dynamic_cast<TMDIChild*>(frame->CreateMDIChild(dir.File("m.fsm")));
    ASSERT_NE(window, nullptr);
    window->Scheme->CreateAndElement();
    window->AutosaveTimerTimer(nullptr);
    EXPECT_TRUE(FileExists(dir.File("m.tvt")));
    port.AnswerFile(dir.File("b.tvs"));
    frame->FileSaveAs1Execute(frame->FileSaveAs1);
    frame->FileSave1Execute(frame->FileSave1);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Файл разрушен!!"_a});
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "m.fsm"), "not a scheme");
    EXPECT_EQ(window->Scheme->GetFileName(), dir.File("b.tvs"));
    EXPECT_FALSE(window->Scheme->IsModified());
}

} // namespace
