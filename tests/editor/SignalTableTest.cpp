// The signal table's dialog and its entry forms: the table in use and the
// working copy, the grids, refusals with the table's texts, OK and Cancel.
#include "editor/EditorTest.h"

#include "editor/PinDriver.h"
#include "platform/FileIO.h"

namespace {

class SignalTable : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        file = dir.File("signals.btb");
    }
    void TearDown() override {
        Free(dlg);
        dlg = nullptr;
        EditorTest::TearDown();
    }
    // A dialog over the file, as the program makes it.
    TPinDriverDlg* Make() {
        dlg = new TPinDriverDlg(nullptr, file);
        dlg->DoCreate();
        return dlg;
    }
    // Fills the type form and applies it.
    void TypeEntry(const AnsiString& name, int number) {
        AddTypeDrvForm->NameTypeDrv->SetText(name);
        AddTypeDrvForm->NumberTypeDrv->SetValue(number);
        AddTypeDrvForm->ModalResult = mrOk;
    }
    void Page(int index) { dlg->PageControl1->SetActivePageIndex(index); }
    // Writes the file with the driver type DI (3), the driver D1 of that type
    // (bitCount bits) and the signals named in pins, on bits 0, 1, 2 ...
    void Seed(int bitCount, const std::vector<AnsiString>& pins, const std::vector<AnsiString>& varSignals = {}) {
        TDriversInfo seed;
        ASSERT_EQ(seed.AddDriverType("DI", 3), TDriversInfo::Ok);
        _drv d;
        d.Name = "D1";
        d.Type = 0;
        d.BitCount = bitCount;
        ASSERT_EQ(seed.AddDriver(d), TDriversInfo::Ok);
        for (std::size_t i = 0; i < pins.size(); ++i)
            ASSERT_EQ(seed.AddBit(pins[i], "D1", int(i), "кнопка"_a), TDriversInfo::Ok);
        for (const AnsiString& v : varSignals) ASSERT_TRUE(seed.AddVarBit(v, "старый"_a));
        ASSERT_TRUE(seed.SaveToFile(file));
    }
    // Runs the dialog: each step runs at one showing of the dialog (its buttons
    // open the entry forms), then the dialog ends with result.
    int RunDialog(ModalScript& script, std::function<void()> actions, int result) {
        script.On(dlg, [this, actions, result] {
            actions();
            dlg->ModalResult = result;
            if (result == mrOk) dlg->OKBtnClick(dlg->OKBtn);
        });
        return dlg->ShowModal();
    }

    AnsiString file;
    TPinDriverDlg* dlg = nullptr;
};

TEST_F(SignalTable, TheTableInUseIsTheDialogsOwnLoadedFromItsFile) {
    Seed(8, {"Старт"_a, "Стоп"_a, "Пуск"_a});

    Make();
    EXPECT_EQ(&DriversInUse(), dlg->Table());
    AnsiString driver;
    int bit = -1;
    EXPECT_TRUE(dlg->FindBitDriver("Пуск"_a, driver, bit));
    EXPECT_EQ(driver, AnsiString("D1"));
    EXPECT_EQ(bit, 2);
    EXPECT_FALSE(dlg->FindBitDriver("пуск"_a, driver, bit)) << "names are compared exactly";
    TStringList lines;
    dlg->ListDriverTypes(&lines);
    EXPECT_EQ(lines.Text(), AnsiString("DI 3\r\n"));
    dlg->ListDrivers(&lines);
    EXPECT_EQ(lines.Text(), AnsiString("D1 in DI 00000000 8 0\r\n"));
    // The grids show the table below their header rows.
    EXPECT_EQ(dlg->TypesGrid->Cells(0, 1), AnsiString("DI"));
    EXPECT_EQ(dlg->DriversGrid->Cells(3, 1), AnsiString("00000000"));
    EXPECT_EQ(dlg->PinGrid->Cells(3, 3), "кнопка"_a);

    Free(dlg);
    dlg = nullptr;
    EXPECT_NE(&DriversInUse(), nullptr);
    EXPECT_EQ(DriversInUse().GetBitCount(), 0) << "the module's own table serves again";
}

// Every page shows all its columns side by side, each header whole in the
// grid's font.
TEST_F(SignalTable, EveryColumnHeaderIsWholeAndEveryPageFitsItsColumns) {
    Make()->Show();
    for (TStringGrid* grid : {dlg->TypesGrid, dlg->DriversGrid, dlg->PinGrid, dlg->VarGrid}) {
        grid->Canvas()->Font()->Assign(grid->Font());
        int total = 0;
        for (int c = 0; c < grid->ColCount(); ++c) {
            EXPECT_GE(grid->ColWidths(c), grid->Canvas()->TextWidth(grid->Cells(c, 0)) + 6) << grid->Cells(c, 0).c_str();
            total += grid->ColWidths(c);
        }
        EXPECT_LE(total, dlg->PageControl1->ClientWidth() - 8) << grid->Name().c_str();
    }
    dlg->Hide();
}

TEST_F(SignalTable, OkMakesTheCopyTheTableInUseAndWritesTheFile) {
    Make();
    TDriversInfo* before = dlg->Table();
    ModalScript script;
    script.On(AddTypeDrvForm, [this] { TypeEntry("DI", 5); });
    script.On(AddDriverForm, [] {
        AddDriverForm->NameEdit->SetText("D1");
        AddDriverForm->TypeInOutComboBox->SetItemIndex(1);
        AddDriverForm->AdresEdit->SetValue(0xABCD);
        AddDriverForm->bitEdit->SetValue(16);
        AddDriverForm->InterruptEdit->SetText("3");
        AddDriverForm->DrvTypeComboBox->SetItemIndex(0);
        AddDriverForm->ModalResult = mrOk;
    });
    script.On(AddPinForm, [] {
        AddPinForm->NameEdit->SetText("Стоп"_a);
        AddPinForm->DrvComboBox->SetItemIndex(0);
        AddPinForm->BitEdit->SetValue(4);
        AddPinForm->ComentEdit->SetText("аварийный стоп"_a);
        AddPinForm->ModalResult = mrOk;
    });
    const int r = RunDialog(
        script,
        [this, before] {
            Page(0);
            dlg->AddBtnClick(dlg->AddBtn);
            Page(1);
            dlg->AddBtnClick(dlg->AddBtn);
            Page(2);
            dlg->AddBtnClick(dlg->AddBtn);
            // The table in use does not change while the dialog is open.
            EXPECT_EQ(before->GetDriverTypeCount(), 0);
            EXPECT_EQ(dlg->WorkingCopy()->GetBitCount(), 1);
            EXPECT_EQ(dlg->PinGrid->Cells(0, 1), "Стоп"_a);
        },
        mrOk);
    EXPECT_EQ(r, mrOk);
    EXPECT_FALSE(script.stuck);
    EXPECT_EQ(dlg->WorkingCopy(), nullptr);
    EXPECT_EQ(&DriversInUse(), dlg->Table());
    EXPECT_EQ(DriversInUse().GetDriverTypeCount(), 1);
    TStringList lines;
    dlg->ListDrivers(&lines);
    EXPECT_EQ(lines.Text(), AnsiString("D1 out DI 0000ABCD 16 3\r\n"));
    // The file holds what the dialog accepted.
    TDriversInfo reread;
    ASSERT_TRUE(reread.LoadFromFile(file));
    EXPECT_EQ(reread.GetBit(0), (_bit{"Стоп"_a, 0, 4, "аварийный стоп"_a}));
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{});
}

TEST_F(SignalTable, CancelDropsTheCopyAndLeavesTheFile) {
    Seed(0, {});
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    Make();
    ModalScript script;
    script.On(AddTypeDrvForm, [this] { TypeEntry("DO", 4); });
    RunDialog(
        script,
        [this] {
            Page(0);
            dlg->AddBtnClick(dlg->AddBtn);
            EXPECT_EQ(dlg->TypesGrid->Cells(0, 2), AnsiString("DO"));
            dlg->CancelBtnClick(dlg->CancelBtn);
        },
        mrCancel);
    EXPECT_EQ(DriversInUse().GetDriverTypeCount(), 1);
    EXPECT_EQ(dlg->TypesGrid->Cells(0, 2), AnsiString()) << "the grids show the table in use again";
    std::string after;
    ASSERT_TRUE(ReadWholeFile(file, after));
    EXPECT_EQ(after, bytes);
}

TEST_F(SignalTable, RefusalsShowTheTablesTextAndTheFormComesBack) {
    Make();
    ModalScript script;
    script.On(AddTypeDrvForm, [this] { TypeEntry("DI", 5); });
    // The same name again: refused, and the form opens once more with it.
    script.On(AddTypeDrvForm, [this] { TypeEntry("DI", 6); });
    script.On(AddTypeDrvForm, [] {
        EXPECT_EQ(AddTypeDrvForm->NameTypeDrv->Text(), AnsiString("DI"));
        AddTypeDrvForm->ModalResult = mrCancel;
    });
    script.On(AddDriverForm, [] {
        AddDriverForm->NameEdit->SetText("D1");
        AddDriverForm->DrvTypeComboBox->SetItemIndex(0);
        AddDriverForm->InterruptEdit->SetText("x");
        AddDriverForm->ModalResult = mrOk;
    });
    script.On(AddDriverForm, [] { AddDriverForm->ModalResult = mrCancel; });
    RunDialog(
        script,
        [this] {
            Page(0);
            dlg->AddBtnClick(dlg->AddBtn);
            dlg->AddBtnClick(dlg->AddBtn);
            Page(1);
            dlg->AddBtnClick(dlg->AddBtn);
        },
        mrCancel);
    EXPECT_FALSE(script.stuck);
    EXPECT_EQ(script.shown[AddTypeDrvForm], 3);
    const std::vector<AnsiString> messages = port.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Тип драйвера DI уже есть в таблице"_a);
    EXPECT_EQ(port.Calls[0].type, mtError);
    EXPECT_EQ(port.Calls[0].buttons, mbOKOnly);
    EXPECT_EQ(messages[1], "Прерывание драйвера D1 должно быть от 0 до 15"_a);
}

// A name that differs from one of the table's only in letter case is one
// signal for the translation: refused with its own text, the form comes back
// with it, and nothing is stored, OK or not. Driver signals and internal
// signals alike, each beside the other.
TEST_F(SignalTable, ASignalNameDifferingOnlyInLetterCaseIsRefused) {
    const struct {
        const char* what;
        std::vector<AnsiString> pins, varSignals;
        int page;
        AnsiString typed, text;
    } rows[] = {
        {"a driver signal beside a driver signal", {"LAMP"}, {}, 2, "Lamp",
         "Сигнал Lamp уже есть в таблице как LAMP: большие и малые буквы в именах сигналов не различаются"_a},
        {"an internal signal beside an internal signal", {}, {"XX"}, 3, "xx",
         "Сигнал xx уже есть в таблице как XX: большие и малые буквы в именах сигналов не различаются"_a},
        {"an internal signal beside a driver signal", {"Xx"}, {}, 3, "xx",
         "Сигнал xx уже есть в таблице как Xx: большие и малые буквы в именах сигналов не различаются"_a},
        {"a driver signal beside an internal signal", {}, {"xx"}, 2, "Xx",
         "Сигнал Xx уже есть в таблице как xx: большие и малые буквы в именах сигналов не различаются"_a},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Free(dlg);
        port.Clear();
        Seed(8, row.pins, row.varSignals);
        Make();
        const AnsiString typed = row.typed;
        ModalScript script;
        script.On(AddPinForm, [typed] {
            AddPinForm->NameEdit->SetText(typed);
            AddPinForm->DrvComboBox->SetItemIndex(0);
            AddPinForm->BitEdit->SetValue(1);
            AddPinForm->ModalResult = mrOk;
        });
        script.On(AddPinForm, [typed] {
            EXPECT_EQ(AddPinForm->NameEdit->Text(), typed);
            AddPinForm->ModalResult = mrCancel;
        });
        RunDialog(
            script,
            [&] {
                Page(row.page);
                dlg->AddBtnClick(dlg->AddBtn);
                EXPECT_EQ(dlg->WorkingCopy()->GetBitCount() + dlg->WorkingCopy()->GetVarBitCount(), 1);
            },
            mrOk);
        EXPECT_FALSE(script.stuck);
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{row.text});
        TDriversInfo reread;
        ASSERT_TRUE(reread.LoadFromFile(file));
        EXPECT_EQ(reread.GetBitCount(), int(row.pins.size()));
        EXPECT_EQ(reread.GetVarBitCount(), int(row.varSignals.size()));
    }
}

TEST_F(SignalTable, DeletingATypeInUseIsRefusedAndAVariableSignalKeepsItsName) {
    Seed(0, {}, {"Связь1"_a});
    Make();
    port.Answer(mrYes);
    ModalScript script;
    script.On(AddPinForm, [] {
        // An existing variable signal: the name is shown but cannot change,
        // the driver and the bit do not apply.
        EXPECT_TRUE(AddPinForm->NameEdit->ReadOnly());
        EXPECT_FALSE(AddPinForm->DrvComboBox->Enabled());
        EXPECT_FALSE(AddPinForm->BitEdit->Enabled());
        AddPinForm->ComentEdit->SetText("новый"_a);
        AddPinForm->ModalResult = mrOk;
    });
    RunDialog(
        script,
        [this] {
            Page(0);
            dlg->TypesGrid->SetRow(1);
            dlg->DeleteBtnClick(dlg->DeleteBtn);
            Page(3);
            dlg->VarGrid->SetRow(1);
            dlg->EditBtnClick(dlg->EditBtn);
            EXPECT_EQ(dlg->VarGrid->Cells(1, 1), "новый"_a);
        },
        mrOk);
    EXPECT_EQ(port.Messages(),
              (std::vector<AnsiString>{"Удалить выбранную строку?"_a, "Тип драйвера DI используется драйвером D1"_a}));
    AnsiString comment;
    EXPECT_TRUE(DriversInUse().FindVarBit("Связь1"_a, comment));
    EXPECT_EQ(comment, "новый"_a);
    EXPECT_TRUE(AddPinForm->DrvComboBox->Enabled()) << "the pin form is whole again for signals";
    EXPECT_FALSE(AddPinForm->NameEdit->ReadOnly());
}

// "Удалить" asks first: No keeps the row, Yes removes it, on every page.
TEST_F(SignalTable, DeleteAsksAndRemovesTheRowOnlyOnYes) {
    Seed(8, {"Пуск"_a}, {"Связь1"_a});
    Make();
    const struct {
        int page;
        TStringGrid* grid;
    } pages[] = {{2, dlg->PinGrid}, {3, dlg->VarGrid}, {1, dlg->DriversGrid}};
    ModalScript script;
    RunDialog(
        script,
        [&] {
            for (const auto& p : pages) {
                Page(p.page);
                p.grid->SetRow(1);
                const AnsiString first = p.grid->Cells(0, 1);
                ASSERT_FALSE(first.IsEmpty()) << p.page;
                port.Answer(mrNo);
                dlg->DeleteBtnClick(dlg->DeleteBtn);
                EXPECT_EQ(p.grid->Cells(0, 1), first) << "No keeps the row " << p.page;
                port.Answer(mrYes);
                dlg->DeleteBtnClick(dlg->DeleteBtn);
                EXPECT_EQ(p.grid->Cells(0, 1), AnsiString()) << "Yes removes it " << p.page;
            }
        },
        mrOk);
    EXPECT_EQ(port.Unscripted, 0);
    ASSERT_EQ(port.Calls.size(), 6u);
    for (const TestUiPort::Call& c : port.Calls) {
        EXPECT_EQ(c.text, "Удалить выбранную строку?"_a);
        EXPECT_EQ(c.type, mtConfirmation);
        EXPECT_EQ(c.buttons, mbYesNo);
    }
    EXPECT_EQ(DriversInUse().GetBitCount(), 0);
    EXPECT_EQ(DriversInUse().GetVarBitCount(), 0);
    EXPECT_EQ(DriversInUse().GetDriverCount(), 0);
    EXPECT_EQ(DriversInUse().GetDriverTypeCount(), 1);
}

// The grids' captions are the dialog's string list, line by line.
TEST_F(SignalTable, ColumnCaptionsComeFromTheStringList) {
    Make();
    EXPECT_EQ(dlg->StrList->GetList()->CommaText(),
              "Имя,Номер,Тип,\"Тип драйвера\",Адрес,Битов,Прерывание,Драйвер,Бит,Комментарий,Вход,Выход"_a);
    dlg->StrList->GetList()->Put(0, "Название"_a);
    dlg->ShowTable(dlg->Table());
    for (TStringGrid* g : {dlg->TypesGrid, dlg->DriversGrid, dlg->PinGrid, dlg->VarGrid})
        EXPECT_EQ(g->Cells(0, 0), "Название"_a);
    EXPECT_EQ(dlg->DriversGrid->Cells(5, 0), "Прерывание"_a);
    EXPECT_EQ(dlg->PinGrid->Cells(3, 0), "Комментарий"_a);
}

TEST_F(SignalTable, SelectPinIgnoresLetterCaseAndSurvivesShowing) {
    Seed(8, {"Пуск"_a, "Стоп"_a, "Авария"_a});
    Make();
    dlg->SelectPin("стоп"_a);
    EXPECT_EQ(dlg->PinGrid->Row(), 2);
    dlg->SelectPin("нет такого"_a);
    EXPECT_EQ(dlg->PinGrid->Row(), 2);
    ModalScript script;
    RunDialog(script, [this] { EXPECT_EQ(dlg->PinGrid->Row(), 2); }, mrCancel);
}

TEST_F(SignalTable, SignalsAddedFromOutsideReachTheFileWhenTheDialogGoes) {
    Make();
    ASSERT_TRUE(DriversInUse().AddVarBit("Связь2"_a, ""));
    Free(dlg);
    dlg = nullptr;
    TDriversInfo reread;
    ASSERT_TRUE(reread.LoadFromFile(file));
    ASSERT_EQ(reread.GetVarBitCount(), 1);
    EXPECT_EQ(reread.GetVarBit(0).Name, "Связь2"_a);
}

// ---- the entry forms ------------------------------------------------------------------

TEST_F(EditorTest, EntryFormsCaptionsButtonsAndTheirFirstFocus) {
    struct Case {
        TForm* form;
        const char* caption;
    };
    for (const Case& c : {Case{AddDriverForm, "Редактировать драйвер"}, Case{AddPinForm, "Редактирование вывода"},
                          Case{AddTypeDrvForm, "Редактировать тип драйвера"}}) {
        auto* f = static_cast<TEntryForm*>(c.form);
        EXPECT_EQ(f->Caption(), Utf8ToAnsi(c.caption));
        EXPECT_EQ(f->Button1->Caption(), "Применить"_a);
        EXPECT_EQ(f->Button1->Hint(), "Добавить"_a);
        EXPECT_EQ(f->Button1->ModalResult, mrOk);
        EXPECT_TRUE(f->Button1->Default());
        EXPECT_EQ(f->Button2->Caption(), "Отмена"_a);
        EXPECT_EQ(f->Button2->Hint(), "Отменить"_a);
        EXPECT_EQ(f->Button2->ModalResult, mrCancel);
        EXPECT_TRUE(f->Button2->Cancel());
    }
    // The interrupt list is the settings' list, "0" to "15", the first chosen.
    ASSERT_EQ(AddDriverForm->InterruptEdit->Items()->Count(), 16);
    EXPECT_EQ(AddDriverForm->InterruptEdit->Items()->Get(15), AnsiString("15"));
    EXPECT_EQ(AddDriverForm->InterruptEdit->ItemIndex(), 0);
    EXPECT_EQ(AddDriverForm->TypeInOutComboBox->Items()->Text(), "Вход\r\nВыход\r\n"_a);
    // Hexadecimal address: the text shows the value in hex.
    AddDriverForm->AdresEdit->SetValue(255);
    EXPECT_EQ(AddDriverForm->AdresEdit->Text().UpperCase(), AnsiString("FF"));
    EXPECT_EQ(AddTypeDrvForm->NumberTypeDrv->AsInteger(), 1);
}

TEST_F(EditorTest, PinFormSelectsTheWholeNameAtEveryShowing) {
    for (int round = 0; round < 2; ++round) {
        AddPinForm->NameEdit->SetText("Пуск"_a);
        AddPinForm->NameEdit->SetSelLength(0);
        RunModal(AddPinForm, {[] {
                     EXPECT_EQ(AddPinForm->NameEdit->SelLength(), 4);
                     EXPECT_EQ(AddPinForm->ActiveControl(), AddPinForm->NameEdit);
                     AddPinForm->ModalResult = mrCancel;
                 }});
    }
}

TEST_F(EditorTest, TypeFormFocusesTheNameOrTheApplyButton) {
    for (bool enabled : {true, false}) {
        AddTypeDrvForm->NameTypeDrv->SetEnabled(enabled);
        RunModal(AddTypeDrvForm, {[enabled] {
                     TWinControl* expected = enabled ? static_cast<TWinControl*>(AddTypeDrvForm->NameTypeDrv)
                                                     : AddTypeDrvForm->Button1;
                     EXPECT_EQ(AddTypeDrvForm->ActiveControl(), expected);
                     AddTypeDrvForm->ModalResult = mrCancel;
                 }});
    }
    AddTypeDrvForm->NameTypeDrv->SetEnabled(true);
}

} // namespace
