#include <gtest/gtest.h>

#include "common/Printers.h"

#include <vector>

#include "controls/QKMsgDlg.h"
#include "controls/QKStrList.h"
#include "platform/testing/TestUiPort.h"

namespace {

TEST(QKStrList, NewListKeepsDuplicatesUnsortedAndEmpty) {
    TQKStrList list(nullptr);
    EXPECT_EQ(list.Duplicates(), dupAccept);
    EXPECT_FALSE(list.Sorted());
    EXPECT_EQ(list.GetList()->Count(), 0);
    EXPECT_EQ(list.GetList(), list.Items());
}

TEST(QKStrList, SetListCopiesLinesAndGetListIsTheOwnedList) {
    TQKStrList list(nullptr);
    TStringList source;
    source.Add("Цвет фона"_a);
    source.Add("Сетка"_a);
    source.Add("Сетка"_a);
    list.SetList(&source);
    source.Put(0, "изменено"_a); // the component holds its own copy
    TStringList* owned = list.GetList();
    ASSERT_EQ(owned->Count(), 3);
    EXPECT_EQ(owned->Strings(0), "Цвет фона"_a);
    EXPECT_EQ(owned->Strings(2), "Сетка"_a);
    owned->Add("0"); // reading by index goes to the same object
    EXPECT_EQ(list.GetList()->Count(), 4);
    list.SetItems(nullptr);
    EXPECT_EQ(list.GetList()->Count(), 0);
}

TEST(QKStrList, IndexBeyondCountRaisesTheListsIndexError) {
    TQKStrList list(nullptr);
    list.GetList()->Add("0");
    EXPECT_EQ(list.GetList()->Strings(0), AnsiString("0"));
    EXPECT_THROW(list.GetList()->Strings(1), EStringListError);
    EXPECT_THROW(list.GetList()->Strings(-1), EStringListError);
}

TEST(QKStrList, SortedAndDuplicatesGoToTheOwnedList) {
    TQKStrList list(nullptr);
    for (const char* s : {"b", "a", "c", "a"}) list.GetList()->Add(s);
    list.SetSorted(true);
    ASSERT_EQ(list.GetList()->Count(), 4);
    EXPECT_EQ(list.GetList()->CommaText(), AnsiString("a,a,b,c"));
    list.SetDuplicates(dupIgnore);
    list.GetList()->Add("b");
    EXPECT_EQ(list.GetList()->Count(), 4);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.GetList()->Add("c"), EStringListError);
}

TEST(QKStrList, ChangeEventsAreTheOwnedListsEventsInOrder) {
    TQKStrList list(nullptr);
    std::vector<std::string> log;
    list.SetOnChanging([&](TObject* s) { log.push_back(s == list.GetList() ? "changing" : "?"); });
    list.SetOnChange([&](TObject* s) { log.push_back(s == list.GetList() ? "change" : "?"); });
    list.GetList()->Add("x");
    TStringList src;
    src.Add("1");
    src.Add("2");
    list.SetList(&src); // one bracket for the whole copy
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "change", "changing", "change"}));
}

TEST(QKStrList, OwnerFreesTheComponent) {
    auto* owner = new TComponent(nullptr);
    auto* list = new TQKStrList(owner);
    list->GetList()->Add("x");
    EXPECT_EQ(owner->ComponentCount(), 1);
    delete owner; // the sanitizer build reports a leak or double free here
}

TEST(QKMsgDlg, DefaultsAtCreation) {
    TQKMsgDlg dlg(nullptr);
    EXPECT_TRUE(dlg.MsgText.IsEmpty());
    EXPECT_EQ(dlg.MsgType, mtWarning);
    EXPECT_EQ(dlg.MsgButtons, MsgButtons({mbOK}));
    EXPECT_EQ(dlg.MsgHelpContext, 0);
}

TEST(QKMsgDlg, ExecuteShowsTheBoxAndReturnsItsModalResult) {
    struct Case {
        AnsiString text;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        int help;
        int scripted; // 0: none
        int expected;
    };
    const std::vector<Case> cases = {
        {"", mtWarning, mbOKOnly, 0, 0, mrOk}, // an empty text still shows the box
        {"Удалить вывод?"_a, mtConfirmation, mbYesNo, 0, mrNo, mrNo},
        {"Удалить вывод?"_a, mtConfirmation, mbYesNo, 0, mrYes, mrYes},
        {"Ошибка"_a, mtError, mbOKOnly, 17, 0, mrOk},
    };
    for (const Case& c : cases) {
        TestUiPort port;
        if (c.scripted) port.Answer(c.scripted);
        TQKMsgDlg dlg(nullptr);
        dlg.MsgText = c.text;
        dlg.MsgType = c.type;
        dlg.MsgButtons = c.buttons;
        dlg.MsgHelpContext = c.help;
        EXPECT_EQ(dlg.Execute(), c.expected);
        ASSERT_EQ(port.Calls.size(), 1u);
        EXPECT_EQ(port.Calls[0].kind, TestUiPort::kMessageDlg);
        EXPECT_EQ(port.Calls[0].text, c.text);
        EXPECT_EQ(port.Calls[0].type, c.type);
        EXPECT_EQ(port.Calls[0].buttons, c.buttons);
        EXPECT_EQ(port.Calls[0].context, c.help);
        EXPECT_EQ(port.Unscripted, 0);
    }
}

} // namespace
