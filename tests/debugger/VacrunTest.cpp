// vacrun, the command-line driver, on a file written here.
#include "EmulatorTestSupport.h"
#include "common/Spawn.h"

namespace {

using dbgfile::Builder;
using dbgfile::Op;

// Runs vacrun with the arguments, feeding input on standard input.
testenv::ProcessResult RunVacrun(const testenv::TempDir& dir, const std::vector<std::string>& args,
                                 const std::string& input) {
    return testenv::RunProgram(VACRUN_PATH, args, input, dir);
}

TEST(Vacrun, RunsCommandsOnAFileWrittenByTheTests) {
    testenv::TempDir dir;
    const uint16_t a = Op(0, 0), b = Op(0, 1), c = Op(2048, 0), t = Op(2048, 1), f = Op(3072, 0), g = Op(3072, 1),
                   stop = Op(0, 2), zh = Op(1, 0);
    Builder bld;
    bld.Timers = 1;
    bld.And({a, b}, {c});
    bld.Timer(a, stop, 2, 0, {t});
    bld.And({}, {f});
    bld.And({f}, {g});
    bld.Or({zh}, {Op(2048, 2)});
    bld.AddName(a, "a");
    bld.AddName(b, "b");
    bld.AddName(c, "c");
    bld.AddName(t, "t");
    bld.AddName(f, "f");
    bld.AddName(g, "g");
    bld.AddName(zh, "Жук"_a);
    bld.AddName(Op(2048, 2), "out");
    const std::string file = (dir.Path() / "Debutvca.dat").string();
    testenv::WriteBytes(file, bld.Build());
    const std::string commands =
        "set a 1\n"
        "set b 1\n"
        "scan\n"
        "get c t f\n"
        "run 1\n"
        "get t\n"
        "run 1\n"
        "get t\n"
        "force F 0\n"
        "scan\n"
        "get f g\n"
        "force f 1\n"
        "tick\n"
        "scan\n"
        "get g\n"
        "\n"
        "bogus\n"
        "get nosuch C\n"
        "set a 2\n"
        "run x\n"
        "set жук 1\n"
        "scan\n"
        "dump\n"
        "quit\n"
        "get c\n";
    testenv::ProcessResult r = RunVacrun(dir, {file}, commands);
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out,
              "c=1\nt=1\nf=1\n"
              "t=1\n"
              "t=0\n"
              "f=0\ng=0\n"
              "g=1\n"
              "c=1\n"
              "a=1\nb=1\nc=1\nt=0\nf=1\ng=1\nЖук=1\nout=1\n");
    EXPECT_EQ(r.err,
              "error: unknown command: bogus\n"
              "error: unknown signal: nosuch\n"
              "error: bad value: 2\n"
              "error: bad count: x\n");
}

TEST(Vacrun, AFailedLoadPrintsTheResultAndItsMessage) {
    testenv::TempDir dir;
    testenv::ProcessResult r = RunVacrun(dir, {(dir.Path() / "missing.dat").string()}, "");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "vacrun: load result 7:  Нет файла данных для отладки.\n Запустите трансляцию (Ctrl+F9). \n");
    const std::string shortFile = (dir.Path() / "short.dat").string();
    testenv::WriteBytes(shortFile, std::string(10, '\0'));
    r = RunVacrun(dir, {shortFile}, "");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "vacrun: load result 1\n");
    Builder bad;
    bad.Timers = 200;
    const std::string badFile = (dir.Path() / "bad.dat").string();
    testenv::WriteBytes(badFile, bad.Build());
    r = RunVacrun(dir, {badFile}, "");
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "vacrun: load result 1:  Ошибка файла данных отладчика bad.dat: число таймеров 200 больше 128\n");
    r = RunVacrun(dir, {}, "");
    EXPECT_EQ(r.exit, 2);
}

TEST(Vacrun, WithoutWindowsAQuestionIsAnsweredNoAndPrintedOnStandardError) {
    testenv::TempDir dir;
    Builder bld;
    bld.And({Op(0, 0)}, {Op(2048, 0)});
    const std::string file = (dir.Path() / "Debutvca.dat").string();
    testenv::WriteBytes(file, bld.Build());
    const testenv::ProcessResult r =
        RunVacrun(dir, {file}, "ask Сохранить изменения?\nsay Трансляция прошла успешно.\nask  два  пробела \n");
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "answer=no\nanswer=no\n");
    EXPECT_EQ(r.err, "Сохранить изменения?\nТрансляция прошла успешно.\n два  пробела \n");
}

} // namespace
