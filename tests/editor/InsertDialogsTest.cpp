// The insertion dialogs: the element dialog's kinds, counter and preview; the driver-pin dialog's names; the symbol
// chooser's accept rule and preview; the connector dialog's signal-table rules.
#include "editor/SchemeWindowTest.h"

#include <cstdlib>
#include <memory>

#include "editor/ModalScript.h"
#include "editor/Unit5.h"
#include "platform/Bitmap.h"
#include "platform/FileIO.h"

namespace {

using Dialogs = SchemeWindowTest;

// The element drawn on black at the preview's centre, as the dialog must show it.
bool ShowsCentred(TPaintBox* box, TElement* e) {
    TBitmap expected;
    expected.SetSize(box->Width(), box->Height()), expected.Canvas()->Brush()->SetColor(clBlack);
    expected.Canvas()->FillRect(Rect(0, 0, box->Width(), box->Height()));
    e->SetX(box->Width() / 2 - e->GetWidth() / 2), e->SetY(box->Height() / 2 - e->GetHeight() / 2);
    e->DrawTo(expected.Canvas(), false, 100);
    auto rgb = [](const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); };
    return rgb(*box->Canvas()->Image()) == rgb(expected.Image());
}

TEST_F(Dialogs, TheElementDialogsKinds) {
    InitModule->TimerIncrement = 100, InitModule->TimerMin = 200, InitModule->TimerMax = 9000;
    auto* f = MakeForm<TInsertElementForm>();
    InitModule->SetDefaults();
    // The delay's limits are read when the dialog is made.
    EXPECT_EQ(f->GetDelay(), 200);
    f->TimerValue->SetValue(12000);
    const int highest = f->GetDelay();
    f->TimerValue->DownClick(nullptr);
    EXPECT_EQ(std::pair(highest, f->GetDelay()), std::pair(9000, 8900));
    // Each entry: its label, the name it proposes and the largest count (0: no count shown; negative: a count of
    // outputs). Timers show a delay.
    const std::tuple<const char*, const char*, int> rows[21] = {
        {"И", "AND", 8}, {"ИЛИ", "OR", 8}, {"Искл. ИЛИ", "XOR", 0}, {"Триггер", "Trigger", 0}, {"Таймер", "Timer", 0},
        {"Таймер с предустановом", "PredTimer", 8}, {"D Триггер", "DTrigger", 0}, {"Счетчик", "Counter", -8},
        {"Дешифратор", "Decoder", -10}, {"D RS Триггер", "DRSTrigger", 0}, {"Регистр", "Register", 0},
        {"D 8 RS Счетчик", "RSCounter", 0}, {"Компаратор", "Comparing", 0}, {"Матрица8", "CASEDec", -16},
        {"Реверсивный счетчик", "RCounter", -8}, {"Матрица16", "CASE", -16}, {"Маскированная матрица", "CASEMask", -16},
        {"Матрица диапазонов", "CASEDiap", 0}, {"Коммутатор", "Commutator", 8}, {"Фильтр", "Filter", 0},
        {"Переход", "Goto", 0}};
    ASSERT_EQ(f->ComboBox1->Items()->Count(), 21);
    for (int i = 0; i < 21; ++i) {
        const auto [entry, name, max] = rows[i];
        SCOPED_TRACE(i);
        f->Edit1->SetText("typed"); // replaced by the entry's name
        f->ComboBox1->SetItemIndex(i), f->ComboBox1Change(nullptr);
        EXPECT_EQ(std::tuple(f->ComboBox1->Items()->Strings(i), f->Edit1->Text(), f->CSpinEdit2->Visible(),
                             f->Label4->Visible(), f->Label6->Visible()),
                  std::tuple("\"" + Utf8ToAnsi(entry) + "\"", AnsiString(name), max != 0, max > 0, max < 0));
        EXPECT_TRUE(max == 0 || f->CSpinEdit2->MaxValue == std::abs(max));
        EXPECT_EQ(f->TimerValue->Visible() && f->Label3->Visible() && f->Label5->Visible(), i == 4 || i == 5);
    }
    // The count is kept over a new maximum and goes into the element as it is.
    f->ComboBox1->SetItemIndex(8), f->ComboBox1Change(nullptr);
    f->CSpinEdit2->SetValue(10), f->ComboBox1->SetItemIndex(0), f->ComboBox1Change(nullptr);
    EXPECT_EQ(std::tuple(f->CSpinEdit2->MaxValue, f->GetPinCount()), std::tuple(8.0, 10));
    // The entry, the count, and the inputs and outputs of the element made.
    const std::tuple<int, int, int, int> made[] = {{0, 10, 10, 1}, {18, 8, 17, 8}, {17, 3, 16, 6}};
    for (auto [index, count, inputs, outputs] : made) {
        std::unique_ptr<TElement> e(TInsertElementForm::MakeElement(index, count, 700, nullptr));
        EXPECT_EQ(std::pair(e->InputCount(), e->OutputCount()), std::pair(inputs, outputs)) << index;
    }
    EXPECT_EQ(TInsertElementForm::MakeElement(21, 1, 0, nullptr), nullptr);
}

TEST_F(Dialogs, TheElementDialogsCounterShowingAndPreview) {
    auto* f = MakeForm<TInsertElementForm>();
    f->InsertCounter = 5, f->ComboBox1->SetItemIndex(7), f->CSpinEdit2->SetValue(6);
    EXPECT_EQ(RunModal(f, {[&] {
                  EXPECT_EQ(std::tuple(f->ComboBox1->ItemIndex(), f->Edit1->Text(), f->GetPinCount()),
                            std::tuple(0, AnsiString("AND"), 6)) << "every showing starts on \"И\"";
                  f->Button1->Click();
              }}),
              mrOk);
    EXPECT_EQ(f->InsertCounter, 0) << "\"Вставить\" starts the numbers again";
    EXPECT_EQ(RunModal(f, {[&] { f->Button2->Click(); }}), mrCancel);
    // Widened and narrowed again while shown; the preview lies in the widened part.
    RunModal(f, {[&] {
        const int narrow = f->ClientWidth();
        EXPECT_LT(narrow, f->PaintBox1->Left());
        // A window manager confirms each new size a little later.
        f->Button3Click(nullptr);
        EXPECT_EQ(f->Button3->Caption(), "Просмотр <<"_a);
        EXPECT_TRUE(testenv::WaitFor([&] { return f->ClientWidth() >= f->PaintBox1->Left() + f->PaintBox1->Width(); }));
        f->Button3Click(nullptr);
        EXPECT_TRUE(testenv::WaitFor([&] { return f->ClientWidth() == narrow; })) << f->ClientWidth();
        f->Button3Click(nullptr), f->Button2->Click();
    }});
    for (auto [index, count] : {std::pair{0, 3}, {8, 8}, {18, 2}, {17, 5}, {4, 1}}) {
        f->CSpinEdit2->SetValue(count), f->ComboBox1->SetItemIndex(index), f->ComboBox1Change(nullptr);
        std::unique_ptr<TElement> e(TInsertElementForm::MakeElement(index, count, f->GetDelay(), nullptr));
        EXPECT_TRUE(ShowsCentred(f->PaintBox1, e.get())) << index;
        f->PaintBox1->Repaint();
        EXPECT_TRUE(ShowsCentred(f->PaintBox1, e.get())) << "repainted, the same: " << index;
    }
    // A new delay draws the timer, even with the preview closed.
    f->Button3Click(nullptr);
    EXPECT_EQ(f->Button3->Caption(), "Просмотр >>"_a);
    f->ComboBox1->SetItemIndex(5), f->TimerValue->SetValue(3000);
    TPredTimerElement timer(nullptr, 1);
    timer.SetDelay(3000);
    EXPECT_TRUE(ShowsCentred(f->PaintBox1, &timer));
}

// Only choosing a kind (or showing the dialog) proposes the kind's name: the
// expanded preview redrawn for a repaint or a new count keeps a typed name.
TEST_F(Dialogs, TheElementDialogKeepsATypedNameWhenThePreviewIsDrawnAgain) {
    auto* f = MakeForm<TInsertElementForm>();
    RunModal(f, {[&] {
        f->Button3Click(nullptr);
        Application->ProcessMessages();
        EXPECT_TRUE(f->Expanded());
        f->ComboBox1->SetItemIndex(1);
        f->ComboBox1Change(nullptr);
        f->CSpinEdit2->SetValue(3);
        f->Edit1->SetText("Насос1"_a);
        f->PaintBox1->Repaint();
        EXPECT_EQ(f->GetElementName(), "Насос1"_a) << "a repaint";
        f->PaintBox1->Invalidate();
        Application->ProcessMessages();
        EXPECT_EQ(f->GetElementName(), "Насос1"_a) << "an invalidated preview";
        f->CSpinEdit2->SetValue(5);
        EXPECT_EQ(f->GetElementName(), "Насос1"_a) << "a new count";
        std::unique_ptr<TElement> five(TInsertElementForm::MakeElement(1, 5, f->GetDelay(), nullptr));
        EXPECT_TRUE(ShowsCentred(f->PaintBox1, five.get())) << "the preview follows the count";
        f->PaintBox1->Repaint();
        EXPECT_TRUE(ShowsCentred(f->PaintBox1, five.get())) << "and a repaint draws it again";
        f->ComboBox1->SetItemIndex(7);
        f->ComboBox1Change(nullptr);
        EXPECT_EQ(f->GetElementName(), AnsiString("Counter")) << "another kind proposes its name";
        f->Button3Click(nullptr);
        f->Button2->Click();
    }});
}

TEST_F(Dialogs, TheDriverPinDialogsNames) {
    SeedSignals();
    TInsertPinForm* f = InsertPinForm;
    auto shown = [&] { return std::pair(f->NamePin->Items()->CommaText(), f->NamePin->Text()); };
    RunModal(f, {[&] {
        EXPECT_EQ(shown(), std::pair(AnsiString("X1,X2,Y1"), AnsiString()));
        f->NamePin->SetItemIndex(2), f->OKBtn->Click();
    }});
    // The table changes between two showings: the name chosen last is chosen again at its new place; typed text is
    // not offered again.
    ASSERT_EQ(DriversInUse().DeleteBit(0), TDriversInfo::Ok);
    RunModal(f, {[&] {
        EXPECT_EQ(shown(), std::pair(AnsiString("X2,Y1"), AnsiString("Y1")));
        f->NamePin->SetText("handmade"), f->OKBtn->Click();
    }});
    f->FormActivate(nullptr);
    EXPECT_EQ(f->NamePin->Text(), AnsiString());
    // "Настроить": OK keeps the typed text as typed (choosing the entry that differs only in case), even a name the
    // table lost; Cancel changes nothing.
    ModalScript script;
    script.On(PinDriverDlg, [] { PinDriverDlg->OKBtn->Click(); });
    f->NamePin->SetText("x2"), f->Button1Click(nullptr);
    EXPECT_EQ(std::pair(f->NamePin->Text(), f->NamePin->ItemIndex()), std::pair(AnsiString("x2"), -1))
        << "the field keeps its letters";
    script.On(PinDriverDlg, [] { PinDriverDlg->WorkingCopy()->DeleteBit(0), PinDriverDlg->OKBtn->Click(); });
    f->NamePin->SetText("X2"), f->Button1Click(nullptr);
    EXPECT_EQ(shown(), std::pair(AnsiString("Y1"), AnsiString("X2")));
    script.On(PinDriverDlg, [] { PinDriverDlg->CancelBtn->Click(); });
    f->NamePin->SetText("zz"), f->Button1Click(nullptr);
    TDriver pin(nullptr);
    f->ApplyToDriver(&pin);
    EXPECT_EQ(std::pair(f->NamePin->Text(), pin.Name()), std::pair(AnsiString("zz"), AnsiString("zz")));
}

// The name offered again is selected and has the focus, so that what the
// user types replaces it.
TEST_F(Dialogs, TheDriverPinDialogsOfferedNameIsReplacedByTyping) {
    SeedSignals();
    TInsertPinForm* f = InsertPinForm;
    RunModal(f, {[&] {
        f->NamePin->SetItemIndex(2);
        f->OKBtn->Click();
    }});
    AnsiString offered;
    AnsiString typed;
    RunModal(f, {[&] {
        offered = f->NamePin->Text();
        EXPECT_EQ(std::pair(f->NamePin->SelStart(), f->NamePin->SelLength()), std::pair(0, 2));
        ASSERT_TRUE(ProcessUntil([&] { return f->NamePin->Focused(); }));
        QTest::keyClicks(QApplication::focusWidget(), "BTN");
        typed = f->NamePin->Text();
        f->OKBtn->Click();
    }});
    EXPECT_EQ(offered, AnsiString("Y1"));
    EXPECT_EQ(typed, AnsiString("BTN"));
}

// The search buttons of the driver-pin and connector dialogs show their
// picture on the button face: the blue pulse under the glass, and nothing of
// the colour that is left out.
TEST_F(Dialogs, TheSearchButtonsShowTheirPicture) {
    auto* pinDialog = MakeForm<TForm5>();
    for (TBitBtn* button : {pinDialog->btFind, Form9->btFind}) {
        SCOPED_TRACE(button->Owner()->Name().c_str());
        EXPECT_EQ(std::pair(button->Width(), button->Height()), std::pair(33, 33));
        ASSERT_FALSE(button->Glyph()->Empty());
        EXPECT_EQ(std::pair(button->Glyph()->Width(), button->Glyph()->Height()), std::pair(24, 24));
        const QImage face = button->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int pulse = 0;
        int leftOut = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) {
                const QRgb c = face.pixel(x, y) & 0xFFFFFF;
                if (c == 0x0050A0) ++pulse;
                if (c == 0xFF00FF) ++leftOut;
            }
        EXPECT_GT(pulse, 10);
        EXPECT_EQ(leftOut, 0);
    }
}

TEST_F(Dialogs, TheSymbolChoosersAcceptRuleAndName) {
    auto* f = MakeForm<TfmOpenSymbolFile>();
    const std::pair<const char*, bool> cases[] = {{"a.tvy", true}, {"old.tvy.bak", true}, {"/p/q/a.tvy", true},
                                                  {"X.TVY", false}, {".tvy", false},      {"", false},
                                                  {"/p/.tvy", false}};
    for (auto [file, accepted] : cases) {
        f->FilenameEdit->SetText(file), f->ModalResult = mrNone, f->Button1Click(nullptr);
        EXPECT_EQ(f->ModalResult, accepted ? mrOk : mrNone) << file;
    }
    // An emptied edit keeps the name, but "OK" takes the empty one and starts the numbers again.
    f->FilenameEdit->SetText("a.tvy"), f->InsertCounter = 4;
    f->Edit1->SetText("Valve"), f->Edit1->SetText(AnsiString());
    EXPECT_EQ(f->SymbolName, AnsiString("Valve"));
    f->Button1Click(nullptr);
    EXPECT_EQ(std::pair(f->SymbolName, f->InsertCounter), std::pair(AnsiString(), 0));
    RunModal(f, {[&] {
        EXPECT_EQ(f->SymbolName, AnsiString("Symbol")) << "every showing resets the name";
        EXPECT_EQ(f->FilenameEdit->Text(), AnsiString("a.tvy")) << "and keeps the file";
        f->Button2->Click();
    }});
}

TEST_F(Dialogs, TheSymbolPreviewFitsTheSymbolAndLoadsOncePerName) {
    auto* f = MakeForm<TfmOpenSymbolFile>();
    auto write = [&](const char* name, int connectors) {
        TScheme s;
        for (int i = 0; i < connectors; ++i) s.CreateVarDriver()->SetName("c" + IntToStr(i));
        s.SetFileName(dir.File(name));
        EXPECT_TRUE(s.SaveToFile());
        return dir.File(name);
    };
    const AnsiString small = write("small.tvy", 1), big = write("big.tvy", 12);
    f->Button3Click(nullptr), f->FilenameEdit->SetText(big);
    TSymbol probe(nullptr);
    probe.LoadSymbolFile(big);
    EXPECT_EQ(std::pair(f->PaintBox1->Width(), f->PaintBox1->Height()),
              std::pair(probe.GetWidth() + 150, probe.GetHeight() + 150));
    EXPECT_GT(f->PaintBox1->Height(), f->ScrollBox1->Height()) << "the scroll box scrolls it";
    EXPECT_NE(f->PaintBox1->Canvas()->Pixels(40, 40), clBlack) << "the symbol's corner at (40, 40)";
    EXPECT_EQ(f->PaintBox1->Canvas()->Pixels(20, 20), clBlack);
    // A damaged file is reported once, when it is named, never by painting.
    const AnsiString damaged = dir.File("bad.tvy");
    testenv::WriteBytes(ToFsPath(damaged), std::string(200, 'x')), f->FilenameEdit->SetText(damaged);
    for (int i = 0; i < 3; ++i) f->PaintBox1->Repaint();
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Файл разрушен!!"_a});
    // A name of no file leaves the picture; chosen while collapsed, a file is loaded when the preview opens.
    f->FilenameEdit->SetText(dir.File("none.tvy"));
    EXPECT_EQ(f->PreviewFile(), damaged);
    f->Button3Click(nullptr), f->FilenameEdit->SetText(small);
    EXPECT_EQ(f->PreviewFile(), damaged);
    f->Button3Click(nullptr);
    EXPECT_EQ(f->PreviewFile(), small);
}

class ConnectorDialog : public SchemeWindowTest {
protected:
    void SetUp() override {
        SchemeWindowTest::SetUp();
        ASSERT_TRUE(DriversInUse().AddVarBit("link1", "насосы"_a));
        f = Form9;
    }
    AnsiString Table() {
        AnsiString s;
        for (int i = 0; i < DriversInUse().GetVarBitCount(); ++i)
            s += DriversInUse().GetVarBit(i).Name + "=" + DriversInUse().GetVarBit(i).Comment + ";";
        return s;
    }
    FakeFrameServices services;
    TForm9* f = nullptr;
};

TEST_F(ConnectorDialog, NewKnownCaseAndRefusedNames) {
    // The name and comment entered, whether the dialog closes, the table after.
    const std::tuple<const char*, const char*, bool, const char*> steps[] = {
        // A new name is added with its comment; a known one changes its comment.
        {"link2", "вода", true, "link1=насосы;link2=вода;"},
        {"link1", "два насоса", true, "link1=два насоса;link2=вода;"},
        // Another letter case counts as known: no second signal, and the comment goes to that signal.
        {"LINK1", "три насоса", true, "link1=три насоса;link2=вода;"},
        // Refused by the table: the dialog stays open, nothing is stored.
        {"", "x", false, "link1=три насоса;link2=вода;"},
        {"link2", "a;b\nc", false, "link1=три насоса;link2=вода;"},
    };
    for (auto [name, comment, closes, table] : steps) {
        port.Clear(), f->NameBox->SetText(Utf8ToAnsi(name)), f->EditComment->SetText(Utf8ToAnsi(comment));
        f->FormActivate(nullptr), f->ModalResult = mrNone, f->Button3->Click();
        EXPECT_EQ(std::tuple(f->ModalResult, Table(), port.Messages().size()),
                  std::tuple(closes ? mrOk : mrNone, Utf8ToAnsi(table), closes ? 0u : 1u)) << name;
    }
    // The next showing offers the same name and comment; storing gives the element the name and that comment;
    // loading takes the table's comment.
    f->FormActivate(nullptr);
    EXPECT_EQ(std::pair(f->NameBox->Text(), f->NameBox->Items()->CommaText()),
              std::pair(AnsiString("link2"), AnsiString("link1,link2")));
    TVarDriver v(nullptr);
    f->StoreEntity(&v);
    EXPECT_EQ(v.Name(), AnsiString("link2"));
    EXPECT_EQ(v.StoredComment(), f->EditComment->Text());
    v.SetName("link1"), f->LoadEntity(&v);
    EXPECT_EQ(f->EditComment->Text(), "три насоса"_a);
    // A known name typed brings its comment; an unknown one typed after it
    // does not take that signal's comment.
    for (auto [typed, comment] : {std::pair("link2", "вода"_a), std::pair("new", AnsiString()),
                                  std::pair("LINK2", "вода"_a), std::pair("new", AnsiString())}) {
        f->NameBox->SetText(typed), f->NameBoxChange(nullptr);
        EXPECT_EQ(f->EditComment->Text(), comment) << typed;
    }
}

TEST_F(ConnectorDialog, TheDebuggerAndTheSearchOnlyWhenThereAreSome) {
    f->FormActivate(nullptr);
    EXPECT_FALSE(f->btAddToDebug->Visible() || f->btFind->Visible());
    fake.debugger = fake.search = true, f->FormActivate(nullptr);
    EXPECT_TRUE(f->btAddToDebug->Visible() && f->btFind->Visible());
    // A known signal: input or output, then to the debugger; a cancelled question adds nothing.
    f->NameBox->SetText("link1"), f->btAddToDebug->Click();
    services.direction = -1, f->btAddToDebug->Click();
    EXPECT_EQ(std::tuple(f->ModalResult, services.asked, fake.debug),
              std::tuple(mrOk, std::vector<AnsiString>{"link1", "link1"}, std::vector<AnsiString>{"link1=1"}));
    // A new one is added to the table and the user is told to translate.
    f->NameBox->SetText("fresh"), f->EditComment->SetText("новый"_a), f->btAddToDebug->Click();
    EXPECT_EQ(f->ModalResult, mrOk);
    EXPECT_EQ(port.Messages(),
              std::vector<AnsiString>{" Этого сигнала нет в файле данных.\n Транслируйте проект (Ctrl+F9)"_a});
    EXPECT_EQ(std::tuple(Table(), fake.debug.size()), std::tuple("link1=насосы;fresh=новый;"_a, 1u));
    f->btFindClick(nullptr);
    EXPECT_EQ(fake.found, std::vector<AnsiString>{"fresh"});
}

} // namespace
