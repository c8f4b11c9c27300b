#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include "controls/gui/MRUList.h"

namespace {

struct MRU : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        menu = new TMainMenu(form);
        reopen = NewItem(menu->Items(), "Reopen", "Открыть снова"_a);
        mru = NewComponent<TMRUManager>(form, "MRUMan");
        mru->SetCapacity(5);
        mru->SetRecentMenu(reopen);
    }
    std::vector<AnsiString> Captions() const {
        std::vector<AnsiString> r;
        for (int i = 0; i < reopen->Count(); ++i) r.push_back(reopen->Items(i)->Caption());
        return r;
    }
    TForm* form = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem* reopen = nullptr;
    TMRUManager* mru = nullptr;
};

TEST_F(MRU, TheMenuIsDisabledWhileTheListIsEmpty) {
    EXPECT_EQ(reopen->Count(), 0);
    EXPECT_FALSE(reopen->Enabled());
    mru->Add("a.tvp", 0);
    EXPECT_TRUE(reopen->Enabled());
    mru->Clear();
    EXPECT_EQ(reopen->Count(), 0);
    EXPECT_FALSE(reopen->Enabled());
}

TEST_F(MRU, CaptionsAreNumberedWithATab) {
    for (const char* n : {"e.tvp", "d.tvp", "c.tvp", "b.tvp", "a.tvp"}) mru->Add(n, 0);
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"&1\ta.tvp", "&2\tb.tvp", "&3\tc.tvp", "&4\td.tvp", "&5\te.tvp"}));
    mru->Add("f.tvp", 0); // a sixth name drops the last
    EXPECT_EQ(Captions(), (std::vector<AnsiString>{"&1\tf.tvp", "&2\ta.tvp", "&3\tb.tvp", "&4\tc.tvp", "&5\td.tvp"}));
    mru->Add("C.TVP", 0); // the same name in another case moves up and keeps its stored case
    EXPECT_EQ(Captions()[0], AnsiString("&1\tc.tvp"));
    EXPECT_EQ(reopen->Items(0)->Tag, 0);
    mru->SetAccelDelimiter(adSpace);
    EXPECT_EQ(Captions()[0], AnsiString("&1 c.tvp"));
    mru->SetStartAccel(9);
    EXPECT_EQ(Captions()[0], AnsiString("&9 c.tvp"));
    EXPECT_EQ(Captions()[1], AnsiString("&A f.tvp"));
    mru->SetStartAccel(100);
    EXPECT_EQ(Captions()[0], AnsiString("&") + char(100 + 55) + " c.tvp"); // 10 to 100: letters on from "A"
    EXPECT_EQ(Captions()[1], AnsiString("  f.tvp")); // beyond 100: a blank, no accelerator
    mru->SetShowAccelChar(false);
    EXPECT_EQ(Captions()[0], AnsiString("c.tvp"));
}

TEST_F(MRU, SeparatorsHintsAndTheItemDataEvent) {
    NewItem(reopen, "Fixed", "Проект..."_a);
    mru->SetSeparateSize(2);
    mru->OnGetItemData = [](TObject*, AnsiString& caption, TShortCut& shortCut, int data) {
        caption = caption + "|" + IntToStr(data);
        if (data == 3) shortCut = ShortCut(VK_F2, ssCtrl);
    };
    mru->Add("x", 1);
    mru->Add("y", 2);
    mru->Add("z", 3);
    // The fixed item, a separator, z, y, a separator, x.
    ASSERT_EQ(reopen->Count(), 6);
    EXPECT_TRUE(reopen->Items(1)->IsLine());
    EXPECT_EQ(reopen->Items(2)->Caption(), AnsiString("&1\tz"));
    EXPECT_EQ(reopen->Items(2)->Hint(), AnsiString("3"));
    EXPECT_EQ(reopen->Items(2)->ShortCut(), ShortCut(VK_F2, ssCtrl));
    EXPECT_TRUE(reopen->Items(4)->IsLine());
    mru->Clear();
    ASSERT_EQ(reopen->Count(), 1); // only the manager's own items go
    EXPECT_TRUE(reopen->Enabled());
}

TEST_F(MRU, ClickReportsTheEntryAndRemoveOnSelectHoldsEvenWhenTheHandlerFails) {
    mru->Add("one.tvp", 11);
    mru->Add("two.tvp", 22);
    std::vector<std::string> clicks;
    mru->OnClick = [&](TObject*, const AnsiString& name, const AnsiString& caption, int data) {
        clicks.push_back(AnsiToUtf8(name + "|" + caption + "|" + IntToStr(data)));
        mru->Add(name, data); // the program opens it and adds it again
    };
    reopen->Items(1)->Click();
    EXPECT_EQ(clicks, std::vector<std::string>{"one.tvp|&2\tone.tvp|11"});
    EXPECT_EQ(mru->Strings()->Get(0), AnsiString("one.tvp"));
    Application->ProcessMessages(); // items replaced during the click are freed now
    mru->RemoveOnSelect = true;
    std::vector<AnsiString> reported;
    Application->OnException = [&](TObject*, Exception* e) { reported.push_back(e->Message); };
    mru->OnClick = [](TObject*, const AnsiString&, const AnsiString&, int) { throw Exception("cannot open"); };
    Dispatch([&] { reopen->Items(0)->Click(); });
    Application->ProcessMessages();
    EXPECT_EQ(reported, std::vector<AnsiString>{"cannot open"});
    ASSERT_EQ(mru->Strings()->Count(), 1);
    EXPECT_EQ(mru->Strings()->Get(0), AnsiString("two.tvp"));
}

TEST_F(MRU, SavedWithThePlacementInItsOwnSection) {
    auto* storage = NewComponent<TFormStorage>(form, "FormS");
    storage->IniFileName = "mru-test.ini";
    mru->SetIniStorage(storage);
    mru->Add("old.tvp", 0);
    storage->BeginLoading();
    storage->EndLoading();
    form->Show(); // the restore loads the (empty) stored list
    EXPECT_EQ(mru->Strings()->Count(), 0);
    mru->Add("c:\\a.tvp", 0);
    mru->Add("b.tvp", 7);
    form->Close();
    TIniFile ini("mru-test.ini");
    EXPECT_EQ(ini.ReadString("TForm.MRUMan", "Item_0", ""), AnsiString("b.tvp"));
    EXPECT_EQ(ini.ReadString("TForm.MRUMan", "Item_1", ""), AnsiString("c:\\a.tvp"));
    EXPECT_EQ(ini.ReadInteger("TForm.MRUMan", "User_0", 0), 7);
    EXPECT_FALSE(ini.ValueExists("TForm.MRUMan", "User_1"));
    // A store with ten entries loads only the first Capacity of them, in order.
    for (int i = 0; i < 10; ++i) ini.WriteString("TForm.MRUMan", Format("Item_%d", i), Format("p%d.tvp", i));
    ini.DeleteKey("TForm.MRUMan", "Item_2"); // a gap loses nothing else
    mru->Clear();
    form->Show();
    ASSERT_EQ(mru->Strings()->Count(), 4);
    EXPECT_EQ(mru->Strings()->CommaText(), AnsiString("p0.tvp,p1.tvp,p3.tvp,p4.tvp"));
    EXPECT_EQ(mru->Strings()->UserData(0), 7);
    // Without a name the manager neither saves nor loads.
    mru->SetName("");
    ini.EraseSection("TForm.MRUMan");
    form->Close();
    EXPECT_FALSE(ini.SectionExists("TForm.MRUMan"));
}

class TFrame1 : public TForm {
public:
    explicit TFrame1(TComponent* owner) : TForm(owner) {}
};

TEST_F(MRU, AListChangedAfterTheCloseIsSavedWhenTheFormGoes) {
    auto* frame = MakeForm<TFrame1>();
    auto* manager = NewComponent<TMRUManager>(frame, "MRUMan");
    auto* storage = NewComponent<TFormStorage>(frame, "FormS");
    storage->IniFileName = "mru-destroy.ini";
    manager->SetIniStorage(storage);
    storage->BeginLoading();
    storage->EndLoading();
    frame->Show();
    frame->Close();
    manager->Add("late.tvp", 0);
    storage->SetStoredValue("Marker", 1); // so the destruction saves again
    // The form is no longer a TFrame1 while it is destroyed: the list still
    // goes to the section named after the frame's class.
    Forget(frame);
    Free(frame);
    TIniFile ini("mru-destroy.ini");
    EXPECT_EQ(ini.ReadString("TFrame1.MRUMan", "Item_0", ""), AnsiString("late.tvp"));
    EXPECT_EQ(ini.ReadString("TFrame1", "Marker", ""), AnsiString("1"));
}

TEST_F(MRU, ExplicitStoresAndTheMenuGoingAway) {
    TIniFile ini("mru-explicit.ini");
    mru->Add("x", 0);
    mru->SaveToIni(&ini, "Recent");
    mru->Clear();
    mru->LoadFromIni(&ini, "Recent");
    EXPECT_EQ(mru->Strings()->CommaText(), AnsiString("x"));
    TRegIniFile reg("Software\\MRUTest");
    mru->SaveToRegistry(&reg, "Recent");
    mru->Clear();
    mru->LoadFromRegistry(&reg, "Recent");
    EXPECT_EQ(mru->Strings()->CommaText(), AnsiString("x"));
    delete reopen;
    EXPECT_EQ(mru->RecentMenu(), nullptr);
    mru->Add("y", 0); // no menu: nothing to build
    EXPECT_EQ(mru->Strings()->Count(), 2);
    mru->SetCapacity(-3);
    EXPECT_EQ(mru->Capacity(), 1);
}

} // namespace
