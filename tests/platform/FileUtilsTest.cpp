#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/TestEnv.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/FindFile.h"

namespace {

TEST(FileNames, SplitOnSlashBackslashAndColon) {
    struct Case {
        const char* name;
        const char* file;
        const char* path;
        const char* dir;
        const char* ext;
    } cases[] = {
        {"C:\\work\\проект\\схема.tvs", "схема.tvs", "C:\\work\\проект\\", "C:\\work\\проект", ".tvs"},
        {"/home/u/a.b/file", "file", "/home/u/a.b/", "/home/u/a.b", ""},
        {"dir/sub\\mixed.TVY", "mixed.TVY", "dir/sub\\", "dir/sub", ".TVY"},
        {"C:name.prj", "name.prj", "C:", "C:", ".prj"},
        {"C:\\a.txt", "a.txt", "C:\\", "C:\\", ".txt"},
        {"/root.ini", "root.ini", "/", "/", ".ini"},
        {"bare.tar.gz", "bare.tar.gz", "", "", ".gz"},
        {".hidden", ".hidden", "", "", ".hidden"},
        {"dir.d\\noext", "noext", "dir.d\\", "dir.d", ""},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        AnsiString n = Utf8ToAnsi(c.name);
        EXPECT_EQ(ExtractFileName(n), Utf8ToAnsi(c.file)) << c.name;
        EXPECT_EQ(ExtractFilePath(n), Utf8ToAnsi(c.path)) << c.name;
        EXPECT_EQ(ExtractFileDir(n), Utf8ToAnsi(c.dir)) << c.name;
        EXPECT_EQ(ExtractFileExt(n), Utf8ToAnsi(c.ext)) << c.name;
        EXPECT_EQ(IsBareFileName(n), ExtractFilePath(n).IsEmpty()) << c.name;
    }
    EXPECT_EQ(ChangeFileExt("C:\\x.y\\a.tvs", ".tvt"), "C:\\x.y\\a.tvt");
    EXPECT_EQ(ChangeFileExt("x.y\\noext", ".bak"), "x.y\\noext.bak");
    EXPECT_EQ(ChangeFileExt("a.tvs", ""), "a");
}

TEST(FileNames, JoinNeverDoublesASeparator) {
    struct Case {
        const char* dir;
        const char* name;
        const char* joined;
    } cases[] = {
        {"/proj", "a.tvs", "/proj/a.tvs"},   {"/proj/", "a.tvs", "/proj/a.tvs"},
        {"/proj/", "/a.tvs", "/proj/a.tvs"}, {"C:\\proj\\", "a.tvs", "C:\\proj\\a.tvs"},
        {"C:\\proj", "\\a.tvs", "C:\\proj/a.tvs"}, {"", "a.tvs", "a.tvs"},
        {"/", "a", "/a"},                    {"d", "", "d/"},
    };
    for (const Case& c : cases) EXPECT_EQ(PathJoin(c.dir, c.name), c.joined) << c.dir << " + " << c.name;
    EXPECT_EQ(IncludeTrailingPathDelimiter("a\\"), "a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a//"), "a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}

TEST(FileUtils, CreateRenameDeleteAndBackslashNames) {
    testenv::TempDir t;
    AnsiString root = FromFsPath(t.Path());
    AnsiString deep = root + "\\один\\два/три"_a;  // '\' separates folders too
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(std::filesystem::is_directory(t.Path() / "один" / "два" / "три"));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));

    AnsiString a = root + "\\один\\a.tvs"_a, b = root + "/один/б.tvs"_a;
    testenv::WriteBytes(ToFsPath(a), "abc");
    EXPECT_TRUE(FileExists(a));
    EXPECT_EQ(FileSizeOf(a), 3);
    EXPECT_EQ(FileSizeOf(deep), -1);
    EXPECT_TRUE(RenameFile(a, b));
    EXPECT_FALSE(FileExists(a));
    testenv::WriteBytes(ToFsPath(a), "new");
    EXPECT_FALSE(RenameFile(a, b));  // never replaces an existing file
    EXPECT_EQ(testenv::ReadBytes(ToFsPath(b)), "abc");
    EXPECT_FALSE(DeleteFile(deep));  // not a file
    EXPECT_TRUE(DeleteFile(b));
    EXPECT_FALSE(DeleteFile(b));
    EXPECT_FALSE(RemoveDir(root + "/один"_a));  // not empty
    EXPECT_TRUE(RemoveDir(deep));
    EXPECT_TRUE(CreateDir(deep));
    EXPECT_FALSE(CreateDir(root + "/нет/нет"_a));
}

TEST(FileUtils, ExpandFileNameAndCurrentDir) {
    testenv::TempDir t;
    AnsiString old = GetCurrentDir();
    AnsiString root = FromFsPath(t.Path());
    ASSERT_TRUE(SetCurrentDir(root));
    EXPECT_EQ(GetCurrentDir(), root);
    EXPECT_EQ(ExpandFileName("a\\b\\..\\c.tvs"), root + "/a/c.tvs");
    EXPECT_EQ(ExpandFileName("./x/"), root + "/x/");
    EXPECT_EQ(ExpandFileName("/p/./q/../../r"), "/r");
    EXPECT_EQ(ExpandFileName("/.."), "/");
    EXPECT_EQ(ExpandFileName(""), "");
    EXPECT_FALSE(SetCurrentDir(root + "/missing"));
    ASSERT_TRUE(SetCurrentDir(old));
}

TEST(FileUtils, SameFileFollowsRelativeNamesAndLinks) {
    testenv::TempDir t;
    AnsiString old = GetCurrentDir();
    AnsiString root = FromFsPath(t.Path());
    testenv::WriteBytes(t.Path() / "a.tvy", "x");
    testenv::WriteBytes(t.Path() / "b.tvy", "x");
    std::filesystem::create_symlink(t.Path() / "a.tvy", t.Path() / "link.tvy");
    ASSERT_TRUE(SetCurrentDir(root));
    EXPECT_TRUE(SameFile("a.tvy", root + "/a.tvy"));
    EXPECT_TRUE(SameFile(root + "/sub/../a.tvy", root + "/a.tvy"));
    EXPECT_TRUE(SameFile(root + "/link.tvy", root + "/a.tvy"));
    EXPECT_FALSE(SameFile(root + "/b.tvy", root + "/a.tvy")) << "equal bytes, two files";
    // A file not written yet is the same as its own name only.
    EXPECT_TRUE(SameFile("new.tvs", root + "/./new.tvs"));
    EXPECT_FALSE(SameFile("new.tvs", root + "/a.tvy"));
    EXPECT_FALSE(SameFile("", ""));
    ASSERT_TRUE(SetCurrentDir(old));
}

// A write through a link reaches the file at the end of the chain, there or
// not yet there; the links stay links and nothing else is left behind.
TEST(FileIO, AWriteThroughALinkWritesTheFileTheLinkNames) {
    struct Case {
        const char* what;
        const char* written; // the file the chain ends in
        bool exists;
    };
    for (const Case& c : {Case{"a chain to a file", "real/data.txt", true},
                          Case{"a chain to a file not there yet", "real/later.txt", false}}) {
        SCOPED_TRACE(c.what);
        testenv::TempDir dir;
        std::filesystem::create_directory(dir.Path() / "real");
        if (c.exists) testenv::WriteBytes(dir.Path() / c.written, "old");
        std::filesystem::create_symlink(c.written, dir.Path() / "first");
        std::filesystem::create_symlink(dir.Path() / "first", dir.Path() / "second");
        ASSERT_TRUE(WriteFileAtomic(dir.File("second"), "new"));
        EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "second"));
        EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "first"));
        EXPECT_EQ(testenv::ReadBytes(dir.Path() / c.written), "new");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 3);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path() / "real"),
                                std::filesystem::directory_iterator()),
                  1);
    }
    // A circle of links names no file: the write fails as the system's own
    // would, and no plain file takes a link's place.
    testenv::TempDir dir;
    std::filesystem::create_symlink("b", dir.Path() / "a");
    std::filesystem::create_symlink("a", dir.Path() / "b");
    EXPECT_FALSE(WriteFileAtomic(dir.File("a"), "new"));
    EXPECT_EQ(errno, ELOOP);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "a"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "b"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 2);
}

TEST(FileUtils, AttributesAndDates) {
    testenv::TempDir t;
    AnsiString f = t.File("f.txt");
    testenv::WriteBytes(t.Path() / "f.txt", "x");
    EXPECT_EQ(FileGetAttr(f), 0);
    EXPECT_EQ(FileSetAttr(f, faReadOnly), 0);
    EXPECT_EQ(FileGetAttr(f), faReadOnly);
    EXPECT_EQ(FileSetAttr(f, 0), 0);
    EXPECT_EQ(FileGetAttr(f), 0);
    EXPECT_EQ(FileGetAttr(FromFsPath(t.Path())), faDirectory);
    EXPECT_EQ(FileGetAttr(t.File("missing")), -1);

    TDateTime when = EncodeDate(2007, 6, 5) + EncodeTime(13, 14, 15, 0);
    ASSERT_TRUE(FileSetDate(f, when));
    TDateTime age = 0;
    ASSERT_TRUE(FileAge(f, age));
    EXPECT_NEAR(age, when, 1.0 / SecsPerDay / 10);
    EXPECT_FALSE(FileAge(t.File("missing"), age));
}

TEST(FindFile, WindowsMasks) {
    testenv::TempDir t;
    for (const char* n : {"a.tvs", "B.TVS", "c.tvs.bak", "noext", "схема.tvs", "x1.fsm", "x22.fsm", ".hidden"})
        testenv::WriteBytes(t.Path() / n, "data");
    std::filesystem::create_directory(t.Path() / "sub.tvs");
    auto find = [&](const char* mask, int attr) {
        std::vector<std::string> names;
        TSearchRec sr;
        int rc = FindFirst(FromFsPath(t.Path()) + "/" + Utf8ToAnsi(mask), attr, sr);
        while (rc == 0) {
            names.push_back(AnsiToUtf8(sr.Name));
            rc = FindNext(sr);
        }
        FindClose(sr);
        std::string joined;
        for (const auto& n : names) joined += (joined.empty() ? "" : " ") + n;
        return joined;
    };
    struct Case {
        const char* mask;
        int attr;
        const char* found;
    } cases[] = {
        {"*.tvs", 0, "a.tvs B.TVS схема.tvs"},
        {"*.TVS", faDirectory, "a.tvs B.TVS sub.tvs схема.tvs"},
        {"*.*", 0, "a.tvs B.TVS c.tvs.bak noext x1.fsm x22.fsm схема.tvs"},
        {"*", faAnyFile, ".hidden a.tvs B.TVS c.tvs.bak noext sub.tvs x1.fsm x22.fsm схема.tvs"},
        {"*.", 0, "noext"},
        {"x?.fsm", 0, "x1.fsm"},
        {"x*.fsm", 0, "x1.fsm x22.fsm"},
        {"noext.*", 0, "noext"},
        {"СХЕМА.*", 0, "схема.tvs"},
        {"*.xyz", 0, ""},
        {"a.tvs", 0, "a.tvs"},
    };
    for (const Case& c : cases) EXPECT_EQ(find(c.mask, c.attr), c.found) << c.mask;

    TSearchRec sr;
    ASSERT_EQ(FindFirst(FromFsPath(t.Path()) + "\\a.tvs", faAnyFile, sr), 0);
    EXPECT_EQ(sr.Size, 4);
    EXPECT_EQ(sr.Attr, 0);
    EXPECT_GT(sr.Time, EncodeDate(2000, 1, 1));
    EXPECT_EQ(FindNext(sr), ERROR_NO_MORE_FILES);
    FindClose(sr);
    EXPECT_EQ(FindFirst(FromFsPath(t.Path()) + "/*.xyz", 0, sr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirst(FromFsPath(t.Path()) + "/missing/*.*", 0, sr), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindNext(sr), ERROR_NO_MORE_FILES);
}

} // namespace
