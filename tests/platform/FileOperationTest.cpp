// The desktop's file operation: lists, destinations, questions, cancelling,
// failures and the trash.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/TestEnv.h"
#include "platform/FileIO.h"
#include "platform/FileOperation.h"
#include "platform/testing/TestUiPort.h"

namespace fs = std::filesystem;

namespace {

std::string List(std::initializer_list<AnsiString> names) {
    std::string s;
    for (const AnsiString& n : names) s += n.str() + '\0';
    return s + '\0';
}

struct FileOperation : ::testing::Test {
    void SetUp() override {
        for (const char* n : {"a.txt", "b.txt", "c.dat"}) testenv::WriteBytes(dir.Path() / n, std::string(n) + "\r\n\x98");
        fs::create_directory(dir.Path() / "sub");
        testenv::WriteBytes(dir.Path() / "sub/inner.txt", "inner");
    }
    int Run(unsigned func, std::string from, std::string to, unsigned flags) {
        op = TSHFileOpStruct();
        op.wFunc = func;
        op.pFrom = std::move(from);
        op.pTo = std::move(to);
        op.fFlags = flags;
        return SHFileOperation(op);
    }
    AnsiString F(const char* name) const { return dir.File(name); }
    testenv::TempDir dir;
    TestUiPort port;
    TSHFileOpStruct op;
};

TEST_F(FileOperation, CopiesEachNameOfTheListIntoAFolderItMakes) {
    fs::last_write_time(dir.Path() / "a.txt", fs::last_write_time(dir.Path() / "a.txt") - std::chrono::hours(50));
    // The list ends at its first empty name.
    std::string from = List({F("a.txt"), F("sub"), F("b.txt")});
    from.insert(from.find('\0', from.find('\0') + 1) + 1, 1, '\0');
    EXPECT_EQ(Run(FO_COPY, from, List({F("out")}), FOF_NOCONFIRMMKDIR), 0);
    EXPECT_FALSE(op.fAnyOperationsAborted);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "out/a.txt"), testenv::ReadBytes(dir.Path() / "a.txt"));
    EXPECT_EQ(fs::last_write_time(dir.Path() / "out/a.txt"), fs::last_write_time(dir.Path() / "a.txt"));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "out/sub/inner.txt"), "inner");
    EXPECT_FALSE(fs::exists(dir.Path() / "out/b.txt"));
    EXPECT_TRUE(port.Calls.empty());

    // One source and a destination that is no folder: the copy's new name.
    EXPECT_EQ(Run(FO_COPY, List({F("c.dat")}), List({F("copy.dat")}), 0), 0);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "copy.dat"), testenv::ReadBytes(dir.Path() / "c.dat"));
    // Each source to its own destination.
    EXPECT_EQ(Run(FO_COPY, List({F("a.txt"), F("b.txt")}), List({F("one"), F("two")}), FOF_MULTIDESTFILES), 0);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "two"), testenv::ReadBytes(dir.Path() / "b.txt"));
    EXPECT_TRUE(fs::is_regular_file(dir.Path() / "one"));
}

TEST_F(FileOperation, AsksBeforeMakingAFolderOrReplacingAndCancelEndsIt) {
    port.Answer(mrYes);
    EXPECT_EQ(Run(FO_COPY, List({F("*.txt")}), List({F("out")}), 0), 0);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Папка "_a + F("out") + " не существует. Создать её?"_a});
    EXPECT_EQ(port.Calls[0].buttons, MsgButtons({mbYes, mbCancel}));
    testenv::WriteBytes(dir.Path() / "out/a.txt", "old");
    testenv::WriteBytes(dir.Path() / "out/b.txt", "old");
    port.Clear();
    // No keeps a target, Cancel stops before the rest.
    port.Answer(mrNo);
    port.Answer(mrCancel);
    EXPECT_EQ(Run(FO_COPY, List({F("a.txt"), F("b.txt"), F("c.dat")}), List({F("out")}), 0), 0);
    EXPECT_TRUE(op.fAnyOperationsAborted);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Файл "_a + F("out/a.txt") + " уже существует. Заменить его?"_a,
                                                        "Файл "_a + F("out/b.txt") + " уже существует. Заменить его?"_a}));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "out/a.txt"), "old");
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "out/b.txt"), "old");
    EXPECT_FALSE(fs::exists(dir.Path() / "out/c.dat"));
    port.Clear();
    // Renaming on a collision and no questions at all.
    EXPECT_EQ(Run(FO_COPY, List({F("a.txt")}), List({F("out")}), FOF_RENAMEONCOLLISION), 0);
    EXPECT_EQ(Run(FO_COPY, List({F("a.txt")}), List({F("out")}), FOF_RENAMEONCOLLISION), 0);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "out/a (3).txt"), testenv::ReadBytes(dir.Path() / "a.txt"));
    EXPECT_EQ(Run(FO_COPY, List({F("b.txt")}), List({F("out")}), FOF_NOCONFIRMATION), 0);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "out/b.txt"), testenv::ReadBytes(dir.Path() / "b.txt"));
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(FileOperation, MovesRenamesAndDeletes) {
    EXPECT_EQ(Run(FO_RENAME, List({F("a.txt")}), List({F("renamed.txt")}), 0), 0);
    EXPECT_FALSE(fs::exists(dir.Path() / "a.txt"));
    EXPECT_TRUE(fs::exists(dir.Path() / "renamed.txt"));
    EXPECT_EQ(Run(FO_MOVE, List({F("sub")}), List({F("moved")}), FOF_NOCONFIRMMKDIR), 0);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "moved/inner.txt"), "inner");
    EXPECT_FALSE(fs::exists(dir.Path() / "sub"));

    // A file-only mask leaves the folder; each deletion is asked.
    fs::create_directory(dir.Path() / "keep.txt");
    port.Answer(mrYes);
    port.Answer(mrNo);
    EXPECT_EQ(Run(FO_DELETE, List({F("*.txt")}), std::string(), FOF_FILESONLY), 0);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Удалить "_a + F("b.txt") + "?", "Удалить "_a + F("renamed.txt") + "?"}));
    EXPECT_FALSE(fs::exists(dir.Path() / "b.txt"));
    EXPECT_TRUE(fs::exists(dir.Path() / "renamed.txt"));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "keep.txt"));
    EXPECT_EQ(Run(FO_DELETE, List({F("moved")}), std::string(), FOF_NOCONFIRMATION), 0);
    EXPECT_FALSE(fs::exists(dir.Path() / "moved"));

    // With undo the entry goes to the desktop's trash.
    fs::create_directory(dir.Path() / "data");
    ::setenv("XDG_DATA_HOME", (dir.Path() / "data").c_str(), 1);
    EXPECT_EQ(Run(FO_DELETE, List({F("c.dat")}), std::string(), FOF_NOCONFIRMATION | FOF_ALLOWUNDO), 0);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_FALSE(fs::exists(dir.Path() / "c.dat"));
    EXPECT_TRUE(fs::exists(dir.Path() / "data/Trash/files/c.dat"));
}

TEST_F(FileOperation, FailuresEndTheOperationWithTheirNumber) {
    EXPECT_EQ(Run(FO_COPY, std::string(), List({F("out")}), 0), EINVAL);
    EXPECT_EQ(Run(FO_COPY, List({F("a.txt")}), std::string(), 0), EINVAL);
    EXPECT_EQ(Run(9, List({F("a.txt")}), List({F("out")}), 0), EINVAL);
    EXPECT_TRUE(port.Calls.empty());
    EXPECT_EQ(Run(FO_COPY, List({F("none.txt"), F("a.txt")}), List({F("out")}), FOF_NOCONFIRMMKDIR), ENOENT);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Не удалось выполнить операцию с файлом "_a + F("none.txt")});
    EXPECT_FALSE(fs::exists(dir.Path() / "out"));
    EXPECT_EQ(Run(FO_DELETE, List({F("*.none")}), std::string(), FOF_NOERRORUI), ENOENT);
    EXPECT_EQ(port.Calls.size(), 1u);
}

} // namespace
