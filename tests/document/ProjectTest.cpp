#include <gtest/gtest.h>

#include "common/Printers.h"

#include <filesystem>
#include <memory>
#include <vector>

#include "common/TestEnv.h"
#include "document/InitModule.h"
#include "document/Project.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/testing/TestUiPort.h"

namespace {

class ProjectTest : public ::testing::Test {
protected:
    testenv::TempDir dir;
    AnsiString base = dir.File("");         // ends in '/'
    AnsiString prj = dir.File("plant.tvp");
    TestUiPort port;
    std::vector<int> notified;              // file count at each notification

    std::unique_ptr<TProject> Make(const AnsiString& fileName) {
        auto p = std::make_unique<TProject>(nullptr);
        p->SetFileName(fileName);
        p->Modified = false;
        p->OnFilesChanged = [this](TProject* pr) { notified.push_back(pr->GetFileCount()); };
        return p;
    }
    void Write(const AnsiString& name, const AnsiString& text) { testenv::WriteBytes(ToFsPath(name), text.str()); }
    std::vector<AnsiString> Entries(TProject& p) {
        std::vector<AnsiString> v;
        for (AnsiString e = p.FirstFile(); !e.IsEmpty(); e = p.NextFile()) v.push_back(e);
        return v;
    }
};

TEST_F(ProjectTest, Defaults) {
    TProject p(nullptr);
    EXPECT_EQ(p.GetFileName(), AnsiString("Project1.prj"));
    EXPECT_EQ(p.ProjectName, AnsiString("Project1"));
    EXPECT_EQ(p.Iterations, 1);
    EXPECT_EQ(p.Convert, 0);
    EXPECT_FALSE(p.Modified);
    EXPECT_EQ(p.GetFileCount(), 0);
    EXPECT_EQ(p.FirstFile(), AnsiString());
    for (int32_t c : p.Statistics) EXPECT_EQ(c, 0);
    // A bare project name lies in the current directory; the directory always ends in a separator.
    EXPECT_EQ(p.GetDir(), FromFsPath(std::filesystem::current_path()) + "/");
    p.SetFileName("x.prj");
    EXPECT_TRUE(p.Modified);
}

TEST_F(ProjectTest, DirectoryAndErrorFile) {
    auto p = Make(prj);
    EXPECT_EQ(p->GetDir(), base);
    EXPECT_EQ(p->GetErrorFile(), base + "err.log");
    TInitModule settings(nullptr, dir.File("graphic.ini"));
    settings.LogFile = "build.log";
    EXPECT_EQ(p->GetErrorFile(), base + "build.log");
    settings.LogFile = "/var/tmp/ge.log";
    EXPECT_EQ(p->GetErrorFile(), AnsiString("/var/tmp/ge.log"));
}

TEST_F(ProjectTest, AddingFiles) {
    auto p = Make(prj);
    EXPECT_TRUE(p->AddFile("a.tvs"));
    EXPECT_TRUE(p->Modified);
    EXPECT_TRUE(p->AddFile("sub\\b.tvs")); // written on Windows
    EXPECT_TRUE(p->AddFile("/elsewhere/c.tvs"));
    EXPECT_EQ(Entries(*p), (std::vector<AnsiString>{base + "a.tvs", base + "sub/b.tvs", "/elsewhere/c.tvs"}));
    EXPECT_EQ(notified, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(port.Calls.empty());

    p->Modified = false;
    EXPECT_FALSE(p->AddFile(""));                    // nothing, silently
    EXPECT_FALSE(p->AddFile(base + "a.tvs"));        // the same file
    EXPECT_FALSE(p->AddFile("/other/a.tvs"));        // the same bare name
    EXPECT_FALSE(p->AddFile("bad\nname.tvs"));
    EXPECT_FALSE(p->AddFile("folder/"));
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"В проекте уже есть файл a.tvs"_a,
                                                        "В проекте уже есть файл a.tvs"_a,
                                                        "Недопустимое имя файла bad\nname.tvs"_a,
                                                        "Недопустимое имя файла folder/"_a}));
    EXPECT_EQ(p->GetFileCount(), 3);
    EXPECT_FALSE(p->Modified);
    EXPECT_EQ(notified.size(), 3u);
}

TEST_F(ProjectTest, LookupsByBareName) {
    auto p = Make(prj);
    p->AddFile("a.tvs");
    p->AddFile("/x/b.tvs");
    EXPECT_TRUE(p->ContainsFile("a.tvs"));
    EXPECT_TRUE(p->ContainsFile("C:\\old\\b.tvs"));
    EXPECT_FALSE(p->ContainsFile("A.tvs"));
    EXPECT_FALSE(p->ContainsFile(""));
    EXPECT_EQ(p->GetFilePath("b.tvs"), AnsiString("/x/b.tvs"));
    EXPECT_EQ(p->GetFilePath("/anything/a.tvs"), base + "a.tvs");
    EXPECT_EQ(p->GetFilePath("c.tvs"), AnsiString());
    EXPECT_EQ(p->GetFilePath(""), AnsiString());
    TStringList names;
    names.Add("kept");
    EXPECT_TRUE(p->GetFileNames("ignored", &names));
    EXPECT_EQ(names.CommaText(), AnsiString("kept,a.tvs,b.tvs"));
}

TEST_F(ProjectTest, IterationEndsWithEmptyText) {
    auto p = Make(prj);
    p->AddFile("a.tvs");
    p->AddFile("b.tvs");
    EXPECT_EQ(p->FirstFile(), base + "a.tvs");
    EXPECT_EQ(p->NextFile(), base + "b.tvs");
    EXPECT_EQ(p->NextFile(), AnsiString());
    EXPECT_EQ(p->NextFile(), AnsiString());
    EXPECT_EQ(p->FirstFile(), base + "a.tvs");
}

TEST_F(ProjectTest, DeletingAndMovingWithIndexesOutOfRange) {
    auto p = Make(prj);
    for (const char* n : {"a.tvs", "b.tvs", "c.tvs"}) p->AddFile(n);
    notified.clear();
    p->Modified = false;
    struct Step {
        char op; // 'u' up, 'd' down, 'x' delete
        int index;
        const char* order;
        bool modified;
    };
    const std::vector<Step> steps = {
        {'u', 0, "abc", false}, {'u', 3, "abc", false}, {'u', -1, "abc", false}, {'d', 2, "abc", false},
        {'d', -1, "abc", false}, {'x', 3, "abc", false}, {'x', -1, "abc", false}, {'u', 2, "acb", false},
        {'d', 0, "cab", false},  {'x', 1, "cb", true},
    };
    for (const Step& s : steps) {
        if (s.op == 'u') p->MoveFileUp(s.index);
        else if (s.op == 'd') p->MoveFileDown(s.index);
        else p->DeleteFile(s.index);
        AnsiString order;
        for (const AnsiString& e : Entries(*p)) order += ExtractFileName(e)[1];
        EXPECT_EQ(order, AnsiString(s.order)) << s.op << s.index;
        EXPECT_EQ(p->Modified, s.modified) << s.op << s.index;
    }
    EXPECT_EQ(notified, (std::vector<int>{2})); // only the deletion
}

TEST_F(ProjectTest, ReplacingFiles) {
    auto p = Make(prj);
    for (const char* n : {"a.tvs", "b.tvs", "c.tvs"}) p->AddFile(n);
    p->Modified = false;
    notified.clear();
    p->ReplaceFile("/new/b2.tvs", "C:\\old\\b.tvs");
    EXPECT_EQ(Entries(*p), (std::vector<AnsiString>{base + "a.tvs", "/new/b2.tvs", base + "c.tvs"}));
    EXPECT_TRUE(p->Modified);
    EXPECT_EQ(notified.size(), 1u);
    // Renaming onto a name the project holds leaves one entry of it, in the first place.
    p->ReplaceFile("c.tvs", "a.tvs");
    EXPECT_EQ(Entries(*p), (std::vector<AnsiString>{base + "c.tvs", "/new/b2.tvs"}));
    p->Modified = false;
    p->ReplaceFile("", "c.tvs");        // never an empty entry
    p->ReplaceFile("d.tvs", "none.tvs"); // nothing of that name
    p->ReplaceFile("d.tvs", "");
    EXPECT_EQ(p->GetFileCount(), 2);
    EXPECT_FALSE(p->Modified);
}

TEST_F(ProjectTest, FileRoundTripWithRelativeAndAbsolutePaths) {
    auto p = Make(prj);
    p->ProjectName = "Насосная станция"_a;
    p->Iterations = 32;
    p->Convert = -1;
    p->AddFile("a.tvs");
    p->AddFile("sub/схема б.tvs"_a);
    p->AddFile("/elsewhere/c.tvs");
    p->Statistics[TProject::StatElements] = 5;
    ASSERT_TRUE(p->Save());
    EXPECT_FALSE(p->Modified);
    const AnsiString expected = "[Project]\r\nVersion=1\r\nName=Насосная станция\r\nIterations=32\r\nConvert=-1\r\n"
                                "\r\n[Files]\r\nCount=3\r\nFile1=a.tvs\r\nFile2=sub/схема б.tvs\r\n"
                                "File3=/elsewhere/c.tvs\r\n"_a;
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "plant.tvp"), expected.str());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1); // no temporary left

    auto q = Make(prj);
    EXPECT_TRUE(q->Load());
    EXPECT_EQ(q->ProjectName, "Насосная станция"_a);
    EXPECT_EQ(q->Iterations, 32);
    EXPECT_EQ(q->Convert, -1);
    EXPECT_FALSE(q->Modified);
    EXPECT_EQ(Entries(*q), Entries(*p));
    EXPECT_EQ(notified.back(), 3);
    EXPECT_TRUE(port.Calls.empty());

    // The project folder moved: its own files move with it, the others stay.
    testenv::TempDir moved;
    std::filesystem::copy_file(dir.Path() / "plant.tvp", moved.Path() / "plant.tvp");
    auto r = Make(moved.File("plant.tvp"));
    EXPECT_TRUE(r->Load());
    EXPECT_EQ(Entries(*r), (std::vector<AnsiString>{moved.File("a.tvs"), moved.File("sub/схема б.tvs"_a),
                                                    "/elsewhere/c.tvs"}));
    ASSERT_TRUE(r->Save());
    EXPECT_EQ(testenv::ReadBytes(moved.Path() / "plant.tvp"), expected.str());
}

TEST_F(ProjectTest, RelativeEntriesThatLookLikeDrivesReadBackAsSaved) {
    // Files in the project folder whose relative names have ':' second or
    // start like a root are stored behind "./" and read back as the same files.
    const std::string stored = testenv::RegressionFile("project/entry-read-back-as-drive-path.tvp");
    testenv::WriteBytes(dir.Path() / "plant.tvp", stored);
    auto p = Make(prj);
    EXPECT_TRUE(p->Load());
    const std::vector<AnsiString> expected = {base + "e:pump.tvs", base + "C:/data/b.tvs"};
    EXPECT_EQ(Entries(*p), expected);
    ASSERT_TRUE(p->Save());
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "plant.tvp"), stored);
    auto q = Make(prj);
    EXPECT_TRUE(q->Load());
    EXPECT_EQ(Entries(*q), expected);
    // Added by hand, the same names are stored the same way.
    auto r = Make(dir.File("other.tvp"));
    ASSERT_TRUE(r->AddFile(base + "e:pump.tvs"));
    ASSERT_TRUE(r->AddFile(base + "x:y/c.tvs"));
    ASSERT_TRUE(r->Save());
    const std::string text = testenv::ReadBytes(dir.Path() / "other.tvp");
    EXPECT_NE(text.find("File1=./e:pump.tvs\r\nFile2=./x:y/c.tvs\r\n"), std::string::npos) << text;
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(ProjectTest, AbsoluteEntriesAreMadePlainSoThatTheyReadBackAsSaved) {
    // Found by fuzzing: "<folder>//b.tvs" was stored as ".//b.tvs" and read
    // back as "<folder>/b.tvs", another entry for the same file.
    Write(prj, "[Project]\r\nVersion=1\r\nName=P\r\nIterations=1\r\nConvert=0\r\n[Files]\r\nCount=3\r\nFile1="_a +
                   base + "/b.tvs\r\nFile2="_a + base + "sub/../c.tvs\r\nFile3=/elsewhere/./d.tvs\r\n"_a);
    auto p = Make(prj);
    EXPECT_TRUE(p->Load());
    const std::vector<AnsiString> expected = {base + "b.tvs", base + "c.tvs", "/elsewhere/d.tvs"};
    EXPECT_EQ(Entries(*p), expected);
    ASSERT_TRUE(p->Save());
    const std::string saved = testenv::ReadBytes(dir.Path() / "plant.tvp");
    EXPECT_NE(saved.find("File1=b.tvs\r\nFile2=c.tvs\r\nFile3=/elsewhere/d.tvs\r\n"), std::string::npos) << saved;
    auto q = Make(prj);
    EXPECT_TRUE(q->Load());
    EXPECT_EQ(Entries(*q), expected);
}

TEST_F(ProjectTest, NamesWrittenOnWindowsAreRead) {
    Write(prj, "[Project]\r\nVersion=1\r\nName=P\r\nIterations=1\r\nConvert=0\r\n[Files]\r\nCount=3\r\n"
               "File1=sub\\dir\\a.tvs\r\nFile2=C:\\work\\b.tvs\r\nFile3=..\\up\\c.tvs\r\n");
    auto p = Make(prj);
    EXPECT_TRUE(p->Load());
    AnsiString parent = FromFsPath(dir.Path().parent_path()) + "/";
    EXPECT_EQ(Entries(*p), (std::vector<AnsiString>{base + "sub/dir/a.tvs", "C:\\work\\b.tvs", parent + "up/c.tvs"}));
    EXPECT_EQ(p->GetFilePath("b.tvs"), AnsiString("C:\\work\\b.tvs"));
    TStringList names;
    p->GetFileNames("", &names);
    EXPECT_EQ(names.CommaText(), AnsiString("a.tvs,b.tvs,c.tvs"));
}

TEST_F(ProjectTest, MessagesOfLoadAndSave) {
    auto p = Make(prj);
    p->ProjectName = "kept";
    EXPECT_FALSE(p->Load());
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Не найден файл проекта"_a}));
    EXPECT_EQ(p->ProjectName, AnsiString("kept"));
    port.Clear();

    p->SetFileName("");
    EXPECT_FALSE(p->Save());
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Не задано имя файла проекта"_a}));
    EXPECT_TRUE(p->Modified);
    port.Clear();

    AnsiString bad = dir.File("no/such/folder/p.tvp");
    p->SetFileName(bad);
    EXPECT_FALSE(p->Save());
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{" Невозможно записать файл проекта "_a + bad}));
    EXPECT_TRUE(p->Modified);
}

TEST_F(ProjectTest, AFileThatIsNoProjectIsNeverWrittenOver) {
    std::string binary;
    for (int i = 0; i < 2048; ++i) binary += char((i * 97 + 3) & 0xFF);
    struct Case {
        std::string bytes;
        AnsiString text;
    };
    const std::vector<Case> cases = {
        {binary, "Файл "_a + prj + " не является файлом проекта"_a},
        {"[SignalTable]\r\nVersion=1\r\n", "Файл "_a + prj + " не является файлом проекта"_a},
        {"[Project]\r\nVersion=0\r\n", "Файл "_a + prj + " не является файлом проекта"_a},
        {"[Project]\r\nVersion=7\r\n", "Файл проекта "_a + prj + " записан более новой версией программы"_a},
    };
    for (const Case& c : cases) {
        testenv::WriteBytes(dir.Path() / "plant.tvp", c.bytes);
        TestUiPort local;
        auto p = Make(prj);
        EXPECT_FALSE(p->Load());
        EXPECT_EQ(local.Messages(), (std::vector<AnsiString>{c.text}));
        EXPECT_EQ(p->GetFileCount(), 0);
        EXPECT_EQ(p->ProjectName, AnsiString("Project1"));
        local.Clear();
        p->AddFile("a.tvs");
        EXPECT_FALSE(p->Save()); // the frame saves on close: the file must survive
        EXPECT_EQ(local.Messages(), (std::vector<AnsiString>{" Невозможно записать файл проекта "_a + prj}));
        EXPECT_EQ(testenv::ReadBytes(dir.Path() / "plant.tvp"), c.bytes);
        p->SetFileName(dir.File("copy.tvp")); // saving under another name is fine
        EXPECT_TRUE(p->Save());
    }
}

TEST_F(ProjectTest, DamagedProjectLoadsItsSoundPartAndReportsOnce) {
    const AnsiString good = "[Project]\r\nVersion=1\r\nName=P\r\nIterations=5\r\nConvert=1\r\n[Files]\r\nCount=3\r\n"
                            "File1=a.tvs\r\nFile2=b.tvs\r\nFile3=c.tvs\r\n";
    struct Case {
        const char* what;
        AnsiString from, to;
        const char* files;
        int iterations;
    };
    const std::vector<Case> cases = {
        {"huge count", "Count=3", "Count=2147483647", "abc", 5},
        {"count missing", "Count=3\r\n", "", "", 5},
        {"entry missing", "File2=b.tvs\r\n", "", "ac", 5},
        {"empty entry", "File2=b.tvs", "File2=", "ac", 5},
        {"control bytes", "File2=b.tvs", "File2=b\x01.tvs", "ac", 5},
        {"same bare name twice", "File2=b.tvs", "File2=/x/a.tvs", "ac", 5},
        {"iterations out of range", "Iterations=5", "Iterations=65536", "abc", 1},
        {"iterations missing", "Iterations=5\r\n", "", "abc", 1},
        {"name missing", "Name=P\r\n", "", "abc", 5},
        {"files section missing", "[Files]", "[Other]", "", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Write(prj, StringReplaceAll(good, c.from, c.to));
        TestUiPort local;
        auto p = Make(prj);
        EXPECT_FALSE(p->Load());
        AnsiString order;
        for (const AnsiString& e : Entries(*p)) order += ExtractFileName(e)[1];
        EXPECT_EQ(order, AnsiString(c.files));
        EXPECT_EQ(p->Iterations, c.iterations);
        EXPECT_EQ(local.Messages(), (std::vector<AnsiString>{"Файл проекта "_a + prj +
                                                             " повреждён: загружена только его исправная часть"_a}));
        local.Clear();
        EXPECT_TRUE(p->Save()); // the sound part may be written back
        EXPECT_TRUE(p->Load());
        EXPECT_TRUE(local.Messages().empty());
    }
}

TEST_F(ProjectTest, IterationsAreStoredAsReadForTheTranslatorToCheck) {
    for (int n : {0, 1, 32, 33, 65535}) {
        Write(prj, "[Project]\r\nVersion=1\r\nName=P\r\nIterations=" + IntToStr(n) + "\r\nConvert=0\r\n[Files]\r\nCount=0\r\n");
        auto p = Make(prj);
        EXPECT_TRUE(p->Load());
        EXPECT_EQ(p->Iterations, n);
    }
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(ProjectTest, ControlBytesInTheNameDoNotBreakTheFile) {
    auto p = Make(prj);
    p->ProjectName = "a\r\nb";
    ASSERT_TRUE(p->Save());
    auto q = Make(prj);
    EXPECT_TRUE(q->Load());
    EXPECT_EQ(q->ProjectName, AnsiString("a  b"));
}

} // namespace
