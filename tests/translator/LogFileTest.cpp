// The translator object itself: its directory, its two logging operations and
// the closing step of a project run.
#include "TranslatorTestSupport.h"

using namespace trtest;

namespace {

TEST(LogFile, DirectoryEndsInASeparatorUnlessEmpty) {
    TLogFile log;
    EXPECT_EQ(log.Directory(), GetCurrentDir() + "/");
    const std::pair<const char*, const char*> cases[] = {
        {"/p", "/p/"}, {"/p/", "/p/"}, {"C:\\P\\", "C:\\P\\"}, {"", ""}};
    for (const auto& c : cases) {
        log.SetDirectory(c.first);
        EXPECT_EQ(log.Directory(), AnsiString(c.second)) << c.first;
    }
}

TEST(LogFile, ErrorAndMessageWriteTheSameLineOnlyErrorCounts) {
    TLogFile log;
    log.Error("Ошибка\nвторая строка"_a);
    log.Message("Ошибка\nвторая строка"_a);
    log.Warning("осторожно"_a);
    EXPECT_EQ(ToLines(log.Messages), Lines({"Ошибка\nвторая строка"_a, "Ошибка\nвторая строка"_a, "осторожно"_a}));
    EXPECT_EQ(log.ErrorCount, 1);
    EXPECT_TRUE(log.HasWarnings);
}

class Closing : public TranslatorTest {
protected:
    void Close(int errors, bool warnings) {
        log.Messages.Clear();
        log.Message("строка"_a);
        log.ErrorCount = errors;
        log.HasWarnings = warnings;
        TranslatorHooks().HeadlessProgress.Shown = true;
        MakeProject({});
        log.ShowResults(project.get());
    }
    void MakeDataFiles() {
        testenv::WriteBytes(dir.Path() / "tvca.dat", "old");
        testenv::WriteBytes(dir.Path() / "Debutvca.dat", "old");
    }
};

TEST_F(Closing, ErrorsDeleteBothDataFilesAndOfferTheLog) {
    for (int answer : {mrYes, mrNo}) {
        MakeDataFiles();
        ui.Clear();
        ui.Answer(answer);
        Close(1, true);
        EXPECT_FALSE(TranslatorHooks().HeadlessProgress.Shown);
        EXPECT_EQ(FileLines(File("err.log")), Lines({"строка"_a}));
        EXPECT_FALSE(FileExists(File("tvca.dat")));
        EXPECT_FALSE(FileExists(File("Debutvca.dat")));
        EXPECT_EQ(Shown(), Lines({"Обнаружены ошибки\nПросмотреть результаты?"_a}));
        EXPECT_EQ(ui.Calls[0].type, mtError);
        EXPECT_EQ(Views(), answer == mrYes ? 1 : 0);
    }
    EXPECT_EQ(ui.Unscripted, 0);
}

TEST_F(Closing, WarningsKeepTheDataFilesAndOfferTheLog) {
    MakeDataFiles();
    ui.Answer(mrYes);
    Close(0, true);
    EXPECT_TRUE(FileExists(File("tvca.dat")));
    EXPECT_TRUE(FileExists(File("Debutvca.dat")));
    EXPECT_EQ(Shown(), Lines({"Обнаружены предупреждения\nПросмотреть результаты?"_a}));
    EXPECT_EQ(ui.Calls[0].type, mtWarning);
    ASSERT_EQ(ui.Calls.back().kind, TestUiPort::kViewTextFile);
    EXPECT_EQ(ui.Calls.back().text, File("err.log"));
}

TEST_F(Closing, WarningsWithALogThatCannotBeWrittenOfferNothing) {
    std::filesystem::create_directory(dir.Path() / "err.log");
    Close(0, true);
    EXPECT_EQ(Shown(), Lines({"Обнаружены предупреждения\nФайл сообщений "_a + File("err.log") + " не записан."_a}));
    EXPECT_EQ(Views(), 0);
}

TEST_F(Closing, NothingFoundIsReportedAsSuccess) {
    MakeDataFiles();
    Close(0, false);
    EXPECT_TRUE(FileExists(File("tvca.dat")));
    EXPECT_EQ(Shown(), Lines({"Трансляция прошла успешно."_a}));
    EXPECT_EQ(ui.Calls[0].type, mtInformation);
    EXPECT_EQ(ui.Calls[0].buttons, mbYesOnly);
    EXPECT_EQ(Views(), 0);
}

} // namespace
