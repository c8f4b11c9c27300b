// The driver pin and connector dialogs as property dialogs: what the signal
// table in use gets, what the element takes, the debugger, the signal table.
#include "editor/PropertyDialogTest.h"

#include "editor/EditorFakes.h"

namespace {

class PinDialogs : public PropertyDialogTest {
protected:
    void SetUp() override {
        PropertyDialogTest::SetUp();
        SeedSignals();
        DriversInUse().Modified = false;
        d = Pin("X1", 100, 100);
    }
    // A signal of the table as "driver:bit:comment", "-" when it has none.
    AnsiString Bit(const char* name) {
        AnsiString driver, comment;
        int bit = 0;
        return DriversInUse().FindBit(name, driver, bit, comment) ? driver + ":" + IntToStr(bit) + ":" + comment : "-";
    }
    AnsiString Fields() {
        return Form5->DrvComboBox->Text() + ":" + IntToStr(Form5->BitEdit->AsInteger()) + ":" + Form5->ComentEdit->Text();
    }
    void Name(const char* name) {
        Form5->NameEdit->SetText(name);
        Form5->NameEditChange(nullptr);
    }
    FakeFrameServices services;
    TDriver* d = nullptr;
};

// A known name brings its driver, bit and comment; "Применить" refuses what
// the table would not hold, keeping the dialog open.
TEST_F(PinDialogs, KnownNamesAndWhatTheTableRefuses) {
    d->SetMirrored(true);
    Apply(d, Form5, [&] {
        EXPECT_EQ(Form5->PageControl1->ActivePage(), Form5->TabSheet1);
        EXPECT_EQ(Form5->NameEdit->Items()->Text(), AnsiString("X1\r\nX2\r\nY1\r\n"));
        EXPECT_EQ(Form5->DrvComboBox->Items()->Text(), AnsiString("D1\r\nD2\r\n"));
        EXPECT_EQ(Fields(), "D1:2:пуск"_a);
        EXPECT_FALSE(Form5->btFind->Visible() || Form5->btAddToDebug->Visible() || Form5->CheckBox1->Visible());
        Name("Y1");
        EXPECT_EQ(Fields(), "D2:0:лампа"_a);
        Name("Q");
        EXPECT_EQ(Fields(), "D2:0:лампа"_a) << "an unknown name leaves the fields";
        Form5->NameEdit->SetText("Y1");
        Form5->ComentEdit->SetText("сигнал"_a);
    });
    EXPECT_EQ(d->Name() + " " + d->StoredComment(), "Y1 сигнал"_a);
    EXPECT_EQ(Bit("Y1"), "D2:0:сигнал"_a) << "the comment is updated in the table";
    EXPECT_TRUE(DriversInUse().Modified);
    // Another bit for a known name.
    EXPECT_FALSE(Apply(d, Form5, [] { Form5->BitEdit->SetValue(5); }));
    ASSERT_EQ(port.Calls.size(), 1u);
    EXPECT_EQ(std::tuple(port.Calls.front().text, port.Calls.front().type, port.Calls.front().buttons),
              std::tuple("Этот бит имеет другие параметры"_a, mtError, mbYesOnly));
    port.Clear();
    EXPECT_EQ(Bit("Y1"), "D2:0:сигнал"_a);
    // A new name with a driver: added; the table refuses a bad one with its reason.
    EXPECT_TRUE(Apply(d, Form5, [] {
        Form5->NameEdit->SetText("X7");
        Form5->DrvComboBox->SetItemIndex(0);
        Form5->BitEdit->SetValue(7);
        Form5->ComentEdit->SetText("новый"_a);
    }));
    EXPECT_EQ(Bit("X7"), "D1:7:новый"_a);
    EXPECT_EQ(d->Name() + "/" + d->GetDriverName(), AnsiString("X7/D1"));
    EXPECT_TRUE(d->Mirrored()) << "the mirror flag is carried through";
    EXPECT_FALSE(Apply(d, Form5, [] { Form5->NameEdit->SetText("X 8"); Form5->DrvComboBox->SetItemIndex(0); }));
    EXPECT_EQ(Said(), Texts{"Недопустимое имя сигнала: X 8"_a});
    EXPECT_EQ(DriversInUse().LastError(), "Недопустимое имя сигнала: X 8"_a);
    EXPECT_EQ(d->Name(), AnsiString("X7"));
    // A new name without a driver: the pin takes it, the table stays.
    const int bits = DriversInUse().GetBitCount();
    EXPECT_TRUE(Apply(d, Form5, [] { Form5->NameEdit->SetText("Z9"); Form5->DrvComboBox->SetItemIndex(-1); }));
    EXPECT_EQ(d->Name() + "/" + d->GetDriverName() + "/" + IntToStr(d->GetBitNumber()), AnsiString("Z9//0"));
    EXPECT_EQ(DriversInUse().GetBitCount(), bits);
    // Another letter case is the table's signal, as the translation takes it:
    // its fields, and no second row.
    EXPECT_TRUE(Apply(d, Form5, [&] {
        Name("y1");
        EXPECT_EQ(Fields(), "D2:0:сигнал"_a);
    }));
    EXPECT_EQ(d->Name() + "/" + d->GetDriverName() + "/" + IntToStr(d->GetBitNumber()), AnsiString("y1/D2/0"));
    EXPECT_EQ(DriversInUse().GetBitCount(), bits);
    EXPECT_TRUE(SheetIsClean());
}

// "В отладчик" sends the name and kind, not when "Применить" refuses.
TEST_F(PinDialogs, TheDebuggerTheSearchAndTheSignalTable) {
    fake.debugger = true;
    for (const char* name : {"Y1", "X1"})
        EXPECT_TRUE(Edit(d, Form5, [&] {
            EXPECT_TRUE(Form5->btAddToDebug->Visible());
            Name(name);
            Form5->btAddToDebug->Click();
        }));
    EXPECT_FALSE(Edit(d, Form5, [&] {
        Form5->BitEdit->SetValue(9);
        Form5->btAddToDebug->Click();
        EXPECT_EQ(Form5->ModalResult, mrNone);
    }));
    EXPECT_EQ(fake.debug, (Texts{"Y1=1", "X1=0"})) << "an output, an input";
    // The search button follows the program's search.
    fake.search = true;
    Edit(d, Form5, [] { EXPECT_TRUE(Form5->btFind->Visible()); Form5->btFind->Click(); });
    EXPECT_EQ(fake.found, Texts{"X1"});
    // "Настроить" opens the signal table at the name; what it takes fills the fields.
    TDriver* x2 = Pin("X2", 300, 100);
    ModalScript script;
    script.On(PinDriverDlg, [] {
        EXPECT_EQ(PinDriverDlg->PinGrid->Cells(0, PinDriverDlg->PinGrid->Row()), AnsiString("X2"));
        PinDriverDlg->WorkingCopy()->EditBit("X2", "X2", "D2", 6, "правка"_a);
        PinDriverDlg->OKBtn->Click();
    });
    script.On(PinDriverDlg, [] {
        PinDriverDlg->WorkingCopy()->EditBit("X2", "X2", "D1", 1, "");
        PinDriverDlg->CancelBtn->Click();
    });
    script.On(Form5, [&] {
        Form5->ComentEdit->SetText("typed"_a);
        Form5->Button3->Click();
        EXPECT_EQ(Fields(), "D2:6:правка"_a);
        EXPECT_EQ(Form5->NameEdit->Text() + " of " + IntToStr(Form5->NameEdit->Items()->Count()), AnsiString("X2 of 3"));
        Form5->Button3->Click();
        EXPECT_EQ(Fields(), "D2:6:правка"_a) << "cancelled: the fields stay";
        Form5->Button2->Click();
    });
    EXPECT_FALSE(x2->Properties());
    EXPECT_EQ(script.shown[PinDriverDlg], 2);
    EXPECT_EQ(x2->Name(), AnsiString("X2"));
}

// The connector dialog through the element's properties: loaded and stored.
TEST_F(PinDialogs, AConnectorLoadsAndStoresThroughItsProperties) {
    ASSERT_TRUE(DriversInUse().AddVarBit("c1", "первый"_a));
    TVarDriver* v = Doc()->CreateVarDriver();
    v->SetName("c1");
    Place(v);
    EXPECT_TRUE(Apply(v, Form9, [] {
        EXPECT_EQ(Form9->NameBox->Text() + "|" + Form9->EditComment->Text(), "c1|первый"_a);
        Form9->NameBox->SetText("c2");
    }));
    EXPECT_EQ(v->Name(), AnsiString("c2"));
    EXPECT_TRUE(SheetIsClean());
    // The driver signal X1 in another letter case: refused, the dialog stays open.
    port.Clear();
    EXPECT_FALSE(Apply(v, Form9, [] { Form9->NameBox->SetText("x1"); }));
    EXPECT_EQ(port.Messages(), Texts{"Сигнал x1 уже есть в таблице как X1: большие и малые буквы в именах сигналов не "
                                     "различаются"_a});
    EXPECT_EQ(v->Name(), AnsiString("c2"));
}

// A name the table does not know gets no comment of another signal: not
// the one shown for the name offered, not one shown for a known name typed on
// the way; a comment typed for it is kept. The hint (and the translation)
// read the table.
TEST_F(PinDialogs, ANewConnectorNameTakesNoCommentOfAnotherSignal) {
    ASSERT_TRUE(DriversInUse().AddVarBit("c1", "первый"_a));
    ASSERT_TRUE(DriversInUse().AddVarBit("Готово2с"_a, "Готово 2с"_a));
    const struct Row {
        std::vector<const char*> typed;
        const char* comment;
        AnsiString hint;
    } rows[] = {
        {{"Связь"}, nullptr, "Связь"_a},
        {{"c1", "c2"}, nullptr, "c2"},
        {{"c3"}, "свой", "c3 свой"_a},
        {{"c4", "c1"}, nullptr, "c1 первый"_a},
    };
    int x = 100;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed.back());
        TVarDriver* v = Doc()->CreateVarDriver();
        v->SetName("Готово2с"_a);
        Place(v, x += 100);
        EXPECT_TRUE(Apply(v, Form9, [&] {
            EXPECT_EQ(Form9->EditComment->Text(), "Готово 2с"_a);
            for (const char* name : row.typed) {
                Form9->NameBox->SetText(Utf8ToAnsi(name));
                Form9->NameBoxChange(nullptr);
            }
            if (row.comment)
                Form9->EditComment->SetText(Utf8ToAnsi(row.comment));
        }));
        EXPECT_EQ(v->Hint(), row.hint);
    }
}

// The comment a connector keeps in its record is the one the dialog showed
// when it was stored, whether it came from the table or was typed, on both
// paths that store the dialog: the properties and the insertion.
TEST_F(PinDialogs, AConnectorKeepsTheCommentItsDialogShowed) {
    ASSERT_TRUE(DriversInUse().AddVarBit("c1", "первый"_a));
    TVarDriver* v = Doc()->CreateVarDriver();
    v->SetName("c1");
    v->SetComment("старый"_a);
    Place(v);
    EXPECT_TRUE(Apply(v, Form9));
    EXPECT_EQ(v->StoredComment(), "первый"_a) << "the table's comment, not the stale one";
    EXPECT_TRUE(Apply(v, Form9, [] { Form9->EditComment->SetText("второй"_a); }));
    EXPECT_EQ(v->StoredComment(), "второй"_a);
    // Inserting stores the name and the comment last entered.
    Form9->NameBox->SetText("c2");
    Form9->EditComment->SetText("насос"_a);
    window->InsertConnectActionExecute(nullptr);
    auto* placed = dynamic_cast<TVarDriver*>(window->PlacedObject);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->Name(), AnsiString("c2"));
    EXPECT_EQ(placed->StoredComment(), "насос"_a);
    window->EscActionExecute(nullptr);
    // The file holds what the connectors were given.
    TScheme copy;
    ASSERT_TRUE(copy.LoadFromBytes(Doc()->SaveToBytes()));
    std::vector<AnsiString> comments;
    for (TEntity* o : copy.LiveObjects())
        if (auto* c = dynamic_cast<TVarDriver*>(o)) comments.push_back(c->Name() + "=" + c->StoredComment());
    std::sort(comments.begin(), comments.end());
    EXPECT_EQ(comments, (Texts{"c1=второй"_a, "c2=насос"_a}));
}

} // namespace
