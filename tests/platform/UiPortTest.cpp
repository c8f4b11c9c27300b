#include <gtest/gtest.h>

#include "platform/testing/TestUiPort.h"

namespace {

TEST(UiPort, TestPortRecordsExactTextAndButtonsAndAnswersFromScript) {
    TestUiPort port;
    port.Answer(mrNo);
    EXPECT_EQ(MessageDlg("Сохранить изменения?"_a, mtConfirmation, mbYesNoCancel), mrNo);
    EXPECT_EQ(MessageDlg("Больше нельзя добавить"_a, mtInformation, mbYesOnly), mrYes);
    ShowMessage("Трансляция прошла успешно."_a);
    ASSERT_EQ(port.Calls.size(), 3u);
    EXPECT_EQ(port.Calls[0].text, "Сохранить изменения?"_a);
    EXPECT_EQ(port.Calls[0].type, mtConfirmation);
    EXPECT_EQ(port.Calls[0].buttons, mbYesNoCancel);
    EXPECT_EQ(port.Calls[1].buttons, MsgButtons({mbYes}));
    EXPECT_EQ(port.Messages().back(), "Трансляция прошла успешно."_a);
    EXPECT_EQ(port.Unscripted, 0);
    EXPECT_EQ(MessageDlg("?", mtConfirmation, mbYesNo), mrOk); // unscripted question
    EXPECT_EQ(port.Unscripted, 1);
}

TEST(UiPort, FileDialogAnswersAndCancel) {
    TestUiPort port;
    port.AnswerFile("a.tvs");
    port.AnswerFile("");
    FileDialogRequest r;
    r.Title = "Открыть"_a;
    EXPECT_TRUE(UiPort().FileDialog(r));
    EXPECT_EQ(r.FileName, AnsiString("a.tvs"));
    EXPECT_FALSE(UiPort().FileDialog(r));
    EXPECT_EQ(port.Calls[0].text, "Открыть"_a);
}

TEST(UiPort, UninstallingRestoresThePreviousPort) {
    IUserInterfacePort* before = &UiPort();
    {
        TestUiPort outer;
        {
            TestUiPort inner;
            EXPECT_EQ(&UiPort(), &inner);
        }
        EXPECT_EQ(&UiPort(), &outer);
    }
    EXPECT_EQ(&UiPort(), before);
}

// With no port installed (a tool, the translation library) nothing may answer
// Yes on the user's behalf: each question takes the answer that changes
// nothing, and the text goes to standard error.
TEST(UiPort, WithoutAPortQuestionsTakeTheSafeAnswerAndTextsGoToStandardError) {
    ASSERT_EQ(SetUiPort(nullptr), nullptr);
    struct Case {
        TMsgDlgButtons buttons;
        int answer;
    } cases[] = {
        {mbYesNo, mrNo},
        {mbYesNoCancel, mrCancel},
        {mbOKCancel, mrCancel},
        {MsgButtons({mbAbort, mbRetry, mbIgnore}), mrAbort},
        {MsgButtons({mbRetry, mbCancel}), mrCancel},
        {MsgButtons({mbYes, mbYesToAll, mbNoToAll}), mrNoToAll},
        {MsgButtons({mbYes, mbAll}), mrCancel},
        {mbOKOnly, mrOk},
        {mbYesOnly, mrYes},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(MessageDlg("Сохранить изменения?"_a, mtConfirmation, c.buttons), c.answer) << c.buttons;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Сохранить изменения?\n");
    }
    struct BoxCase {
        unsigned flags;
        int answer;
    } boxes[] = {
        {MB_YESNO | MB_ICONQUESTION, IDNO}, {MB_YESNOCANCEL, IDCANCEL}, {MB_OKCANCEL, IDCANCEL},
        {MB_RETRYCANCEL, IDCANCEL},         {MB_ABORTRETRYIGNORE, IDABORT}, {MB_OK, IDOK},
    };
    for (const BoxCase& b : boxes) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(MessageBox("Файл изменен.\nСохранить?"_a, "Внимание"_a, b.flags), b.answer) << b.flags;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Внимание: Файл изменен.\nСохранить?\n");
    }
    testing::internal::CaptureStderr();
    ShowMessage("Трансляция прошла успешно."_a);
    FileDialogRequest r;
    EXPECT_FALSE(UiPort().FileDialog(r));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Трансляция прошла успешно.\n");
}

} // namespace
