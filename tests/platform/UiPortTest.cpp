#include <gtest/gtest.h>

#include "platform/TestUiPort.h"

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

} // namespace
