#include <gtest/gtest.h>

#include "common/Printers.h"

#include <filesystem>
#include <iterator>
#include <vector>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/TestEnv.h"
#include "controls/FileUtil.h"
#include "platform/FileIO.h"
#include "platform/testing/TestUiPort.h"

namespace fs = std::filesystem;

namespace {

std::string Pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = char((i * 7 + 3) & 0xFF);
    return s;
}

TEST(FileUtil, FolderNamesAndValidation) {
    EXPECT_EQ(NormalDir(""), AnsiString());
    EXPECT_EQ(NormalDir("C:"), AnsiString("C:"));
    EXPECT_EQ(NormalDir("/tmp"), AnsiString("/tmp/"));
    EXPECT_EQ(NormalDir("/tmp/"), AnsiString("/tmp/"));
    EXPECT_EQ(NormalDir("C:\\Temp\\"), AnsiString("C:\\Temp\\"));
    EXPECT_EQ(RemoveBackSlash("C:\\"), AnsiString("C:\\"));
    EXPECT_EQ(RemoveBackSlash("C:\\Temp\\"), AnsiString("C:\\Temp"));
    EXPECT_EQ(RemoveBackSlash("\\"), AnsiString("\\"));
    EXPECT_EQ(RemoveBackSlash("/"), AnsiString("/"));
    EXPECT_EQ(RemoveBackSlash("/tmp/"), AnsiString("/tmp"));
    EXPECT_FALSE(ValidFileName("a[1].txt"));
    EXPECT_TRUE(ValidFileName("*.txt"));
    EXPECT_FALSE(ValidFileName(""));
    for (const char* bad : {"a<b", "a>b", "a\"b", "a]b", "a|b"}) EXPECT_FALSE(ValidFileName(bad)) << bad;
    EXPECT_TRUE(ValidFileName("dir/file?.tvs"));
}

TEST(FileUtil, CopyIsByteExactTakesTheDateAndReportsProgress) {
    testenv::TempDir dir;
    std::string bytes = Pattern(8192 * 2 + 100); // blocks of 8192 and a short one
    testenv::WriteBytes(dir.Path() / "src.bin", bytes);
    fs::last_write_time(dir.Path() / "src.bin", fs::file_time_type::clock::now() - std::chrono::hours(30));
    std::vector<std::pair<std::int64_t, std::int64_t>> steps;
    CopyFile(dir.File("src.bin"), dir.File("sub/deeper/dst.bin"),
             [&](std::int64_t size, std::int64_t copied) { steps.emplace_back(size, copied); });
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "sub/deeper/dst.bin"), bytes);
    EXPECT_EQ(FileDateTime(dir.File("sub/deeper/dst.bin")), FileDateTime(dir.File("src.bin")));
    EXPECT_LT(FileDateTime(dir.File("sub/deeper/dst.bin")), Now() - 1);
    std::int64_t n = std::int64_t(bytes.size());
    std::vector<std::pair<std::int64_t, std::int64_t>> expected = {{n, 0}, {n, 8192}, {n, 16384}, {n, n}, {n, 0}};
    EXPECT_EQ(steps, expected);
    // No temporary file is left beside the copy.
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir.Path() / "sub/deeper")) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1);
}

TEST(FileUtil, CopyOntoAFolderUsesTheSourceName) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "a.txt", "abc");
    fs::create_directory(dir.Path() / "target");
    CopyFile(dir.File("a.txt"), dir.File("target"));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "target/a.txt"), "abc");
}

TEST(FileUtil, CopyOntoALinkWritesTheLinkedFileAndKeepsTheLink) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "new.txt", "new");
    fs::create_directories(dir.Path() / "real");
    testenv::WriteBytes(dir.Path() / "real/data.txt", "old");
    // A relative link to a link: both stay, the file at the end of the chain takes the copy.
    fs::create_symlink("real/data.txt", dir.Path() / "first");
    fs::create_symlink(dir.Path() / "first", dir.Path() / "second");
    CopyFile(dir.File("new.txt"), dir.File("second"));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "second"));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "first"));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "real/data.txt"), "new");
    // A link whose file is not there yet: the file is made where it points.
    fs::create_symlink("real/later.txt", dir.Path() / "dangling");
    CopyFile(dir.File("new.txt"), dir.File("dangling"));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "dangling"));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "real/later.txt"), "new");
    // No temporary file is left in the link's folder nor in the linked file's.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path() / "real"), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 5);
    // A circle of links names no file: the copy is refused and the links stay.
    fs::create_symlink("loop2", dir.Path() / "loop1");
    fs::create_symlink("loop1", dir.Path() / "loop2");
    EXPECT_THROW(CopyFile(dir.File("new.txt"), dir.File("loop1")), EFCreateError);
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "loop1"));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "loop2"));
}

TEST(FileUtil, FailedCopyLeavesNoPartialTargetAndKeepsTheOldOne) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "old.txt", "keep me");
    try {
        CopyFile(dir.File("missing.txt"), dir.File("old.txt"));
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message, "Cannot open file " + dir.File("missing.txt"));
    }
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "old.txt"), "keep me");
    // A read-only target is refused unless overwriting it was asked for.
    testenv::WriteBytes(dir.Path() / "new.txt", "new");
    fs::permissions(dir.Path() / "old.txt", fs::perms::owner_read);
    EXPECT_THROW(CopyFile(dir.File("new.txt"), dir.File("old.txt")), EFCreateError);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "old.txt"), "keep me");
    CopyFileEx(dir.File("new.txt"), dir.File("old.txt"), true, false);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "old.txt"), "new");
    // A source that stops being readable half-way: a folder cannot be read as a file.
    fs::create_directory(dir.Path() / "folder");
    EXPECT_THROW(CopyFile(dir.File("folder"), dir.File("x.txt")), EFOpenError);
    EXPECT_FALSE(fs::exists(dir.Path() / "x.txt"));
}

TEST(FileUtil, AWriteThatFailsHalfWayLeavesTheOldTargetAndNoTemporaryFile) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "big.bin", Pattern(40000));
    testenv::WriteBytes(dir.Path() / "target.bin", "old contents");
    // Files may grow to 10000 bytes only: the copy fails after its first blocks.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 10000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        CopyFile(dir.File("big.bin"), dir.File("target.bin"));
    } catch (const EWriteError& e) {
        threw = true;
        EXPECT_EQ(e.Message, AnsiString("Stream write error"));
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(threw);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "target.bin"), "old contents");
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir.Path())) entries += e.is_regular_file();
    EXPECT_EQ(entries, 2); // big.bin and target.bin, no partial copy
}

TEST(FileUtil, MoveRenamesAndKeepsBytes) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "a.txt", "moved");
    MoveFile(dir.File("a.txt"), dir.File("b.txt"));
    EXPECT_FALSE(fs::exists(dir.Path() / "a.txt"));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "b.txt"), "moved");
    MoveFileEx(dir.File("b.txt"), dir.File("c.txt"), true);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "c.txt"), "moved");
}

TEST(FileUtil, SizesAttributesAndNames) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "data.bin", std::string(1234, 'x'));
    fs::create_directory(dir.Path() / "folder");
    EXPECT_EQ(GetFileSize(dir.File("data.bin")), 1234);
    EXPECT_EQ(GetFileSize(dir.File("*.bin")), 1234);
    EXPECT_EQ(GetFileSize(dir.File("folder")), -1);
    EXPECT_EQ(GetFileSize(dir.File("none")), -1);
    EXPECT_EQ(FileDateTime(dir.File("none")), 0);
    EXPECT_TRUE(HasAttr(dir.File("folder"), faDirectory));
    EXPECT_FALSE(HasAttr(dir.File("data.bin"), faDirectory));
    EXPECT_FALSE(HasAttr(dir.File("none"), 0));
    EXPECT_TRUE(DirExists(dir.File("folder")));
    EXPECT_FALSE(DirExists(dir.File("data.bin")));
    EXPECT_EQ(ShortToLongFileName(dir.File("DATA.BIN")), AnsiString("data.bin"));
    EXPECT_EQ(LongToShortFileName(dir.File("none")), AnsiString());
    EXPECT_EQ(ShortToLongPath(dir.File("FOLDER")), dir.File("folder"));
    EXPECT_EQ(LongToShortPath(dir.File("folder/none")), dir.File("folder/"));
    AnsiString temp = GetTempDir();
    EXPECT_EQ(temp[temp.Length()], '/');
    EXPECT_TRUE(DirExists(temp));
}

TEST(FileUtil, DeleteFilesByMask) {
    testenv::TempDir dir;
    for (const char* n : {"a.tmp", "b.tmp", "c.txt"}) testenv::WriteBytes(dir.Path() / n, "x");
    fs::create_directory(dir.Path() / "d.tmp");
    EXPECT_TRUE(DeleteFiles(dir.File("*.tmp")));
    EXPECT_FALSE(fs::exists(dir.Path() / "a.tmp"));
    EXPECT_FALSE(fs::exists(dir.Path() / "b.tmp"));
    EXPECT_TRUE(fs::exists(dir.Path() / "c.txt"));
    EXPECT_TRUE(fs::exists(dir.Path() / "d.tmp")); // folders are never deleted
    EXPECT_FALSE(DeleteFiles(dir.File("*.none")));
    // The masks run in order while all succeed; a failing one stops the rest.
    testenv::WriteBytes(dir.Path() / "e.log", "x");
    EXPECT_FALSE(DeleteFilesEx({dir.File("*.none"), dir.File("*.log")}));
    EXPECT_TRUE(fs::exists(dir.Path() / "e.log"));
    EXPECT_TRUE(DeleteFilesEx({dir.File("*.txt"), dir.File("*.log")}));
    EXPECT_TRUE(DeleteFilesEx({}));
    // A match that holds only what is never deleted is no failure.
    EXPECT_TRUE(DeleteFiles(dir.File("d.*")));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "d.tmp"));
    testenv::WriteBytes(dir.Path() / ".hidden", "x");
    EXPECT_TRUE(DeleteFiles(dir.File(".hid*")));
    EXPECT_TRUE(fs::exists(dir.Path() / ".hidden"));
    // A deletion that fails stops the scan.
    fs::create_directory(dir.Path() / "locked");
    for (const char* n : {"1.tmp", "2.tmp"}) testenv::WriteBytes(dir.Path() / "locked" / n, "x");
    fs::permissions(dir.Path() / "locked", fs::perms::owner_write, fs::perm_options::remove);
    const bool writable = ::access((dir.Path() / "locked").c_str(), W_OK) == 0; // root writes anyway
    EXPECT_EQ(DeleteFiles(dir.File("locked/*.tmp")), writable);
    fs::permissions(dir.Path() / "locked", fs::perms::owner_write, fs::perm_options::add);
}

TEST(FileUtil, TheFileOperatorSplitsItsListsAndReportsCancelling) {
    testenv::TempDir dir;
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) testenv::WriteBytes(dir.Path() / n, Pattern(100));
    TestUiPort port;
    TExFileOperator op(nullptr);
    EXPECT_EQ(op.Operation, foCopy);
    EXPECT_EQ(op.Options, 33u);
    op.Source = dir.File("a.txt") + ";" + dir.File("b.txt") + "|" + dir.File("c.txt");
    op.Destination = dir.File("out");
    EXPECT_TRUE(op.Execute());
    EXPECT_FALSE(op.Aborted());
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) EXPECT_EQ(testenv::ReadBytes(dir.Path() / "out" / n), Pattern(100));
    EXPECT_TRUE(port.Calls.empty()); // flNoConfirmMkDir: no question for the new folder
    // Replacing is asked; Cancel ends it, and the operator tells so.
    port.Answer(mrCancel);
    EXPECT_TRUE(op.Execute());
    EXPECT_TRUE(op.Aborted());
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Файл "_a + dir.File("out/a.txt") + " уже существует. Заменить его?"_a});
    // An empty destination is no list; flNoErrorUI keeps the failure quiet.
    op.Operation = foRename;
    op.Destination = "";
    op.Options = FileOperFlag(flNoErrorUI);
    EXPECT_FALSE(op.Execute());
    EXPECT_EQ(port.Calls.size(), 1u);
}

TEST(FileUtil, TheShellCopyAndMoveEndSilentlyWhenCancelledOrFailing) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "src.bin", Pattern(300));
    testenv::WriteBytes(dir.Path() / "dst.bin", "old");
    TestUiPort port;
    port.Answer(mrCancel);
    EXPECT_THROW(CopyFileEx(dir.File("src.bin"), dir.File("dst.bin"), false, true), EAbort);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "dst.bin"), "old");
    EXPECT_EQ(port.Calls.size(), 1u);
    // Overwriting read-only targets asks nothing.
    CopyFileEx(dir.File("src.bin"), dir.File("dst.bin"), true, true);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "dst.bin"), Pattern(300));
    EXPECT_EQ(port.Calls.size(), 1u);
    // A move within the folder is a rename, across folders a move; neither asks.
    MoveFileEx(dir.File("dst.bin"), dir.File("src.bin"), true);
    EXPECT_FALSE(fs::exists(dir.Path() / "dst.bin"));
    MoveFileEx(dir.File("src.bin"), dir.File("sub/moved.bin"), true);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "sub/moved.bin"), Pattern(300));
    EXPECT_EQ(port.Calls.size(), 1u);
    EXPECT_THROW(MoveFileEx(dir.File("none.bin"), dir.File("x.bin"), true), EAbort);
}

TEST(FileUtil, ClearDirNeverEntersALinkedFolder) {
    testenv::TempDir dir;
    fs::create_directories(dir.Path() / "outside");
    testenv::WriteBytes(dir.Path() / "outside/precious.txt", "keep");
    fs::create_directories(dir.Path() / "work/sub");
    testenv::WriteBytes(dir.Path() / "work/a.txt", "a");
    testenv::WriteBytes(dir.Path() / "work/.hidden", "h");
    testenv::WriteBytes(dir.Path() / "work/sub/b.txt", "b");
    fs::create_directory_symlink(dir.Path() / "outside", dir.Path() / "work/link");
    fs::permissions(dir.Path() / "work/a.txt", fs::perms::owner_read);

    EXPECT_TRUE(ClearDir(dir.File("work"), false));
    EXPECT_TRUE(fs::exists(dir.Path() / "work"));
    EXPECT_TRUE(fs::exists(dir.Path() / "work/sub")); // emptied, kept without del
    EXPECT_TRUE(fs::is_empty(dir.Path() / "work/sub"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.Path() / "work/link")));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "outside/precious.txt"), "keep");

    EXPECT_TRUE(ClearDir(dir.File("work"), true));
    EXPECT_FALSE(fs::exists(dir.Path() / "work"));
    EXPECT_FALSE(ClearDir(dir.File("work"), true));
    EXPECT_FALSE(ClearDir(dir.File("outside/precious.txt"), true));
}

TEST(FileUtil, ByteRangeLocks) {
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "lock.bin", std::string(100, 'x'));
    int fd = ::open((dir.Path() / "lock.bin").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(FileLock(fd, 0, 10), 0);
    EXPECT_EQ(FileUnlock(fd, 0, 10), 0);
    EXPECT_EQ(FileLock64(fd, 50, 10), 0);
    EXPECT_EQ(FileUnlock64(fd, 50, 10), 0);
    ::close(fd);
    EXPECT_NE(FileLock(fd, 0, 10), 0); // a closed descriptor reports the system error
}

TEST(FileUtil, BrowseDirectoryGoesThroughThePort) {
    testenv::TempDir dir;
    fs::create_directory(dir.Path() / "chosen");
    const AnsiString start = FromFsPath(dir.Path());
    TestUiPort port;
    port.AnswerFile("");
    port.AnswerFile(dir.File("chosen") + "/");
    AnsiString folder = start;
    EXPECT_FALSE(BrowseDirectory(folder, "Выберите папку"_a, 0));
    EXPECT_EQ(folder, start);
    EXPECT_TRUE(BrowseDirectory(folder, "Выберите папку"_a, 12));
    EXPECT_EQ(folder, dir.File("chosen"));
    ASSERT_EQ(port.Calls.size(), 2u);
    EXPECT_EQ(port.Calls[0].kind, TestUiPort::kSelectDirectory);
    EXPECT_EQ(port.Calls[0].text, "Выберите папку"_a);
    EXPECT_EQ(port.Calls[1].context, 12);
    // A folder that does not exist cannot be chosen.
    port.AnswerFile(dir.File("absent"));
    EXPECT_FALSE(BrowseDirectory(folder, "Выберите папку"_a, 0));
    EXPECT_EQ(folder, dir.File("chosen"));

    TBrowseFolderDlg dlg(nullptr);
    dlg.BrowseKind = bfComputers;
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(port.Unscripted, 0);
}

// The dialog tells of every change of selection, the starting one first,
// then that it is up; OK follows whether the selection is an existing folder.
TEST(FileUtil, TheBrowseDialogReportsEverySelectionAndEnablesOKForFolders) {
    testenv::TempDir dir;
    fs::create_directory(dir.Path() / "a");
    testenv::WriteBytes(dir.Path() / "file.txt", "x");
    TestUiPort port;
    TBrowseFolderDlg dlg(nullptr);
    dlg.FolderName = FromFsPath(dir.Path());
    dlg.HelpContext = 5;
    dlg.Position = dpDefault;
    std::vector<std::string> log;
    dlg.OnSelChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, &dlg);
        log.push_back("sel");
    };
    dlg.OnInitialized = [&](TObject*) { log.push_back("init"); };
    std::vector<bool> enabled;
    FolderDialogRequest seen;
    port.OnFolderDialog = [&](FolderDialogRequest& r) {
        seen = r;
        enabled.push_back(r.OnSelChanged(r.Folder));
        r.OnInitialized();
        for (const char* name : {"a", "file.txt", "none", ""})
            enabled.push_back(r.OnSelChanged(*name ? dir.File(name) : AnsiString()));
        r.Folder = dir.File("a");
        return r.OnSelChanged(r.Folder);
    };
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.FolderName, dir.File("a"));
    EXPECT_EQ(log, (std::vector<std::string>{"sel", "init", "sel", "sel", "sel", "sel", "sel"}));
    EXPECT_EQ(enabled, (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(seen.HelpContext, 5);
    EXPECT_FALSE(seen.ScreenCenter);
    EXPECT_EQ(seen.Folder, FromFsPath(dir.Path()));
    // A start that is not a folder is not selected; the dialog is centred by default.
    TBrowseFolderDlg second(nullptr);
    second.FolderName = dir.File("none");
    port.OnFolderDialog = [&](FolderDialogRequest& r) {
        seen = r;
        return false;
    };
    EXPECT_FALSE(second.Execute());
    EXPECT_EQ(second.FolderName, dir.File("none"));
    EXPECT_EQ(seen.Folder, AnsiString());
    EXPECT_TRUE(seen.ScreenCenter);
}

} // namespace
