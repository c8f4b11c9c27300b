// The work-file viewer and the automatic-names prompt.
#include "editor/EditorTest.h"

#include "editor/AutoName.h"
#include "editor/ShowExport.h"

namespace {

class Viewer : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        viewer = MakeForm<TShowExportDlg>();
        viewer->WorkDirectory = [this] { return dir.File(""); };
        testenv::WriteBytes(dir.Path() / "1.$$$", "types\r\n");
        testenv::WriteBytes(dir.Path() / "2.$$$", "drivers\r\n");
        testenv::WriteBytes(dir.Path() / "3.$$$", "signals\r\n");
        testenv::WriteBytes(dir.Path() / "4.$$$", "elements\r\n");
    }
    // The user types a line into the memo.
    void Type(const AnsiString& line) {
        viewer->Memo1->Lines()->Add(line);
        viewer->Memo1->Modified = true;
    }
    void Choose(int index) {
        viewer->ComboBox1->SetItemIndex(index);
        viewer->ComboBox1Change(viewer->ComboBox1);
    }
    TShowExportDlg* viewer = nullptr;
};

TEST_F(Viewer, ActivationOffersTheFourWorkFilesAndShowsTheFirst) {
    viewer->FormActivate(viewer);
    EXPECT_EQ(viewer->ComboBox1->Items()->Text(), AnsiString("1.$$$\r\n2.$$$\r\n3.$$$\r\n4.$$$\r\n"));
    EXPECT_EQ(viewer->Memo1->Lines()->Text(), AnsiString("types\r\n"));
    EXPECT_EQ(viewer->CurrentFile(), dir.File("1.$$$"));
    EXPECT_EQ(viewer->Caption(), "Промежуточные файлы трансляции"_a);
    EXPECT_EQ(viewer->FormStyle(), fsStayOnTop);
}

TEST_F(Viewer, AnEditIsOfferedForSavingBeforeAnotherFileIsShown) {
    viewer->FormActivate(viewer);
    Choose(2);
    Type("added");
    port.Answer(mrYes);
    Choose(3);
    ASSERT_EQ(port.Messages(), std::vector<AnsiString>{"Файл был изменен! Сохранить?"_a});
    EXPECT_EQ(port.Calls[0].type, mtWarning);
    EXPECT_EQ(port.Calls[0].buttons, mbYesNo);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "3.$$$"), "signals\r\nadded\r\n");
    EXPECT_EQ(viewer->Memo1->Lines()->Text(), AnsiString("elements\r\n"));
    // No: the edit is dropped.
    Type("lost");
    port.Answer(mrNo);
    Choose(0);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "4.$$$"), "elements\r\n");
    // Reactivation asks about an edit and shows the driver types again.
    Choose(1);
    Type("again");
    port.Answer(mrYes);
    viewer->FormActivate(viewer);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "2.$$$"), "drivers\r\nagain\r\n");
    EXPECT_EQ(viewer->Memo1->Lines()->Text(), AnsiString("types\r\n"));
    EXPECT_EQ(port.Unscripted, 0);
}

TEST_F(Viewer, YesAsksWithItsOwnTextAndCancelDropsSilently) {
    viewer->Show();
    viewer->FormActivate(viewer);
    Type("kept");
    port.Answer(mrYes);
    viewer->OKBtnClick(viewer->OKBtn);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Файл изменен! Сохранить?"_a});
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "1.$$$"), "types\r\nkept\r\n");
    EXPECT_FALSE(viewer->Showing());
    port.Clear();
    viewer->Show();
    Type("dropped");
    viewer->CancelBtnClick(viewer->CancelBtn);
    EXPECT_TRUE(port.Messages().empty());
    EXPECT_FALSE(viewer->Showing());
    // The next activation asks nothing about the dropped edit.
    viewer->FormActivate(viewer);
    EXPECT_TRUE(port.Messages().empty());
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "1.$$$"), "types\r\nkept\r\n");
}

// No work files yet: the viewer says so in Russian with the place it looked,
// once however often it becomes active again, and keeps what it showed.
TEST_F(Viewer, AMissingFileIsReportedOnceWithItsPlaceAndTheMemoKeepsItsText) {
    viewer->Show();
    viewer->FormActivate(viewer);
    std::filesystem::remove(dir.Path() / "2.$$$");
    for (int i = 0; i < 3; ++i) Choose(1);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Промежуточных файлов трансляции пока нет: не найден файл "_a +
                                                       dir.File("2.$$$")});
    EXPECT_EQ(port.Calls[0].buttons, mbOKOnly);
    EXPECT_EQ(viewer->Memo1->Lines()->Text(), AnsiString("types\r\n"));
    EXPECT_EQ(viewer->CurrentFile(), dir.File("1.$$$"));
    // Closed and opened again, it says it again.
    viewer->CancelBtnClick(viewer->CancelBtn);
    viewer->Show();
    Choose(1);
    EXPECT_EQ(port.Messages().size(), 2u);
}

TEST_F(Viewer, BeforeAnyRunTheStartDirectoryServes) {
    viewer->WorkDirectory = [] { return AnsiString(); };
    testenv::WriteBytes(std::filesystem::current_path() / "1.$$$", "here\r\n");
    viewer->FormActivate(viewer);
    EXPECT_EQ(viewer->Memo1->Lines()->Text(), AnsiString("here\r\n"));
    std::filesystem::remove(std::filesystem::current_path() / "1.$$$");
}

TEST_F(EditorTest, AutoNamesPromptGivesBackTheTypedPrefix) {
    auto* prompt = MakeForm<TfmAutoNames>();
    EXPECT_EQ(prompt->Caption(), "Автоматическое присвоение имен"_a);
    EXPECT_EQ(prompt->BitBtn1->Caption(), "Да"_a);
    EXPECT_EQ(prompt->BitBtn2->Caption(), "Отмена"_a);
    prompt->Edit1->SetText("Насос"_a);
    const int r = RunModal(prompt, {[prompt] {
                              prompt->Edit1->SetText("Клапан"_a);
                              prompt->BitBtn1->Click();
                          }});
    EXPECT_EQ(r, mrOk);
    EXPECT_EQ(prompt->Edit1->Text(), "Клапан"_a);
    EXPECT_EQ(RunModal(prompt, {[prompt] { prompt->BitBtn2->Click(); }}), mrCancel);
}

} // namespace
