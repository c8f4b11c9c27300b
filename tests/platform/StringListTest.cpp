#include <gtest/gtest.h>

#include "common/TestEnv.h"
#include "platform/StringList.h"

namespace {

TEST(StringList, IndexOfIgnoresCaseIncludingCyrillic) {
    TStringList l;
    l.Add("Вход1"_a);
    l.Add("ёлка"_a);
    EXPECT_EQ(l.IndexOf("ВХОД1"_a), 0);
    EXPECT_EQ(l.IndexOf("ЁЛКА"_a), 1);
    EXPECT_EQ(l.IndexOf("елка"_a), -1);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("ВХОД1"_a), -1);
}

TEST(StringList, IndexErrorsNameTheIndex) {
    TStringList l;
    l.Add("a");
    try {
        l.Get(3);
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message, AnsiString("List index out of bounds (3)"));
    }
    EXPECT_THROW(l.Delete(-1), EStringListError);
    EXPECT_THROW(l.Insert(2, "x"), EStringListError);
}

TEST(StringList, SortedDuplicatesAndFind) {
    TStringList l;
    l.SetSorted(true);
    l.Add("b");
    l.Add("a");
    l.Add("B");
    EXPECT_EQ(l.Count(), 2);
    EXPECT_EQ(l.Text(), AnsiString("a\r\nb\r\n"));
    l.Duplicates = dupAccept;
    l.Add("b");
    EXPECT_EQ(l.Count(), 3);
    l.Duplicates = dupError;
    EXPECT_THROW(l.Add("A"), EStringListError);
    EXPECT_THROW(l.Insert(0, "z"), EStringListError);
    int i;
    EXPECT_FALSE(l.Find("c", i));
    EXPECT_EQ(i, 3);
}

TEST(StringList, NamesValuesAndObjects) {
    TStringList l;
    TStringList marker;
    l.AddObject("Key=1", &marker);
    l.Add("Другой=значение"_a);
    EXPECT_EQ(l.Values("key"), AnsiString("1"));
    EXPECT_EQ(l.Values("ДРУГОЙ"_a), "значение"_a);
    EXPECT_EQ(l.IndexOfName("другой"_a), 1);
    EXPECT_EQ(l.Names(0), AnsiString("Key"));
    EXPECT_EQ(l.Objects(0), &marker);
    l.SetValue("Key", "2");
    EXPECT_EQ(l.Get(0), AnsiString("Key=2"));
    EXPECT_EQ(l.Objects(0), &marker);
    l.SetValue("Key", "");
    EXPECT_EQ(l.Count(), 1);
    l.Exchange(0, 0);
    l.Add("x");
    l.Move(1, 0);
    EXPECT_EQ(l.Get(0), AnsiString("x"));
}

TEST(StringList, TextAndCommaText) {
    TStringList l;
    l.SetText("a\r\nb\nc\rd");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l.Get(3), AnsiString("d"));
    l.Clear();
    l.Add("plain");
    l.Add("with blank");
    l.Add("q\"uote");
    l.Add("");
    EXPECT_EQ(l.CommaText(), AnsiString("plain,\"with blank\",\"q\"\"uote\","));
    TStringList back;
    back.SetCommaText("plain, \"with blank\" ,\"q\"\"uote\",x y");
    ASSERT_EQ(back.Count(), 5);
    EXPECT_EQ(back.Get(1), AnsiString("with blank"));
    EXPECT_EQ(back.Get(2), AnsiString("q\"uote"));
    EXPECT_EQ(back.Get(3), AnsiString("x"));
    TStringList one;
    one.Add("");
    EXPECT_EQ(one.CommaText(), AnsiString("\"\""));
}

TEST(StringList, OnChangeFiresOncePerUpdateBlock) {
    TStringList l;
    int changes = 0, changing = 0;
    l.OnChange = [&](TObject* s) { EXPECT_EQ(s, &l); ++changes; };
    l.OnChanging = [&](TObject*) { ++changing; };
    l.Add("a");
    EXPECT_EQ(changes, 1);
    l.BeginUpdate();
    l.Add("b");
    l.Add("c");
    l.Delete(0);
    EXPECT_EQ(changes, 1);
    l.EndUpdate();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(changing, 2);
}

TEST(StringList, SaveToFileIsByteExactWindows1251WithCrLf) {
    testenv::TempDir dir;
    TStringList l;
    l.Add("Строка 1"_a);
    l.Add("");
    l.Add(AnsiString(std::string("\x98\xFF", 2)));
    AnsiString name = dir.File("список.txt"_a);
    l.SaveToFile(name);
    std::string expected = "\xD1\xF2\xF0\xEE\xEA\xE0 1\r\n\r\n\x98\xFF\r\n";
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "список.txt"), expected);
    TStringList back;
    back.LoadFromFile(name);
    EXPECT_TRUE(back.Equals(&l));
    EXPECT_THROW(back.LoadFromFile(dir.File("missing")), EFOpenError);
    EXPECT_THROW(l.SaveToFile(dir.File("no/such/dir/x")), EFCreateError);
}

TEST(StringList, AssignCopiesStringsAndObjects) {
    TStringList a, b;
    a.AddObject("x", &b);
    b.Add("old");
    b.Assign(&a);
    ASSERT_EQ(b.Count(), 1);
    EXPECT_EQ(b.Objects(0), &b);
}

} // namespace
