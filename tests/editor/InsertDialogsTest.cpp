// The insertion dialogs: the element dialog's kinds, counter and preview;
// the driver-pin dialog's names; the symbol chooser's accept rule and
// preview; the connector dialog's signal-table rules.
#include "editor/EditorTest.h"

#include <memory>

#include "common/Printers.h"
#include "document/Scheme.h"
#include "editor/EditorFakes.h"
#include "editor/InsertElement.h"
#include "editor/InsertPin.h"
#include "editor/ModalScript.h"
#include "editor/OpenSym.h"
#include "editor/PinDriver.h"
#include "editor/Unit9.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/FileIO.h"

namespace {

using Dialogs = EditorTest;

// The element drawn on black at the preview's centre, as the dialog must show it.
bool ShowsCentred(TPaintBox* box, TElement* e) {
    TBitmap expected;
    expected.SetSize(box->Width(), box->Height());
    expected.Canvas()->Brush()->SetColor(clBlack);
    expected.Canvas()->FillRect(Rect(0, 0, box->Width(), box->Height()));
    e->SetX(box->Width() / 2 - e->GetWidth() / 2);
    e->SetY(box->Height() / 2 - e->GetHeight() / 2);
    e->DrawTo(expected.Canvas(), false, 100);
    const QImage& shown = *box->Canvas()->Image();
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if ((shown.pixel(x, y) ^ expected.Image().pixel(x, y)) & 0xFFFFFF) return false;
    return shown.size() == expected.Image().size();
}

TEST_F(Dialogs, TheElementDialogsKinds) {
    InitModule->TimerIncrement = 100;
    InitModule->TimerMin = 200;
    InitModule->TimerMax = 9000;
    auto* f = MakeForm<TInsertElementForm>();
    InitModule->SetDefaults();
    // The delay's limits are read when the dialog is made.
    EXPECT_EQ(f->GetDelay(), 200);
    f->TimerValue->SetValue(12000);
    EXPECT_EQ(f->GetDelay(), 9000);
    f->TimerValue->DownClick(nullptr);
    EXPECT_EQ(f->GetDelay(), 8900);
    struct Row {
        const char* entry;
        const char* name;
        int max;      // 0: no pin count shown
        bool outputs; // "Выходов"
        bool delay;
    };
    const Row rows[21] = {
        {"И", "AND", 8, false, false},           {"ИЛИ", "OR", 8, false, false},
        {"Искл. ИЛИ", "XOR", 0, false, false},    {"Триггер", "Trigger", 0, false, false},
        {"Таймер", "Timer", 0, false, true},      {"Таймер с предустановом", "PredTimer", 8, false, true},
        {"D Триггер", "DTrigger", 0, false, false}, {"Счетчик", "Counter", 8, true, false},
        {"Дешифратор", "Decoder", 10, true, false}, {"D RS Триггер", "DRSTrigger", 0, false, false},
        {"Регистр", "Register", 0, false, false},  {"D 8 RS Счетчик", "RSCounter", 0, false, false},
        {"Компаратор", "Comparing", 0, false, false}, {"Матрица8", "CASEDec", 16, true, false},
        {"Реверсивный счетчик", "RCounter", 8, true, false}, {"Матрица16", "CASE", 16, true, false},
        {"Маскированная матрица", "CASEMask", 16, true, false}, {"Матрица диапазонов", "CASEDiap", 0, false, false},
        {"Коммутатор", "Commutator", 8, false, false}, {"Фильтр", "Filter", 0, false, false},
        {"Переход", "Goto", 0, false, false},
    };
    ASSERT_EQ(f->ComboBox1->Items()->Count(), 21);
    for (int i = 0; i < 21; ++i) {
        const Row& r = rows[i];
        EXPECT_EQ(f->ComboBox1->Items()->Strings(i), "\"" + Utf8ToAnsi(r.entry) + "\"") << i;
        f->Edit1->SetText("typed");
        f->ComboBox1->SetItemIndex(i);
        f->ComboBox1Change(nullptr);
        EXPECT_EQ(f->Edit1->Text(), AnsiString(r.name)) << "the typed name is replaced: " << i;
        EXPECT_EQ(f->CSpinEdit2->Visible(), r.max > 0) << i;
        EXPECT_EQ(f->Label4->Visible(), r.max > 0 && !r.outputs) << i;
        EXPECT_EQ(f->Label6->Visible(), r.max > 0 && r.outputs) << i;
        EXPECT_TRUE(r.max == 0 || f->CSpinEdit2->MaxValue == r.max) << i;
        EXPECT_EQ(f->TimerValue->Visible() && f->Label3->Visible() && f->Label5->Visible(), r.delay) << i;
    }
    // The count is kept over a new maximum and goes into the element as it is.
    f->ComboBox1->SetItemIndex(8);
    f->ComboBox1Change(nullptr);
    f->CSpinEdit2->SetValue(10);
    f->ComboBox1->SetItemIndex(0);
    f->ComboBox1Change(nullptr);
    EXPECT_EQ(f->CSpinEdit2->MaxValue, 8);
    EXPECT_EQ(f->GetPinCount(), 10);
    struct Made {
        int index, count;
        int inputs, outputs;
    };
    const Made made[] = {{0, 10, 10, 1}, {18, 8, 17, 8}, {17, 3, 16, 6}, {13, 4, 8, 4}, {5, 3, 5, 1}, {7, 5, 2, 5}};
    for (const Made& m : made) {
        std::unique_ptr<TElement> e(TInsertElementForm::MakeElement(m.index, m.count, 700, nullptr));
        EXPECT_EQ(e->InputCount(), m.inputs) << m.index;
        EXPECT_EQ(e->OutputCount(), m.outputs) << m.index;
    }
    EXPECT_EQ(TInsertElementForm::MakeElement(21, 1, 0, nullptr), nullptr);
}

TEST_F(Dialogs, TheElementDialogsCounterShowingAndPreview) {
    auto* f = MakeForm<TInsertElementForm>();
    f->InsertCounter = 5;
    f->ComboBox1->SetItemIndex(7);
    f->CSpinEdit2->SetValue(6);
    EXPECT_EQ(RunModal(f, {[&] {
                  EXPECT_EQ(f->ComboBox1->ItemIndex(), 0) << "every showing starts on \"И\"";
                  EXPECT_EQ(f->Edit1->Text(), AnsiString("AND"));
                  EXPECT_EQ(f->GetPinCount(), 6);
                  f->Button1->Click();
              }}),
              mrOk);
    EXPECT_EQ(f->InsertCounter, 0) << "\"Вставить\" starts the numbers again";
    EXPECT_EQ(RunModal(f, {[&] { f->Button2->Click(); }}), mrCancel);

    // Widened and narrowed again while shown; the preview lies in the widened part.
    RunModal(f, {[&] {
        const int narrow = f->ClientWidth();
        EXPECT_LT(narrow, f->PaintBox1->Left());
        f->Button3Click(nullptr);
        Application->ProcessMessages();
        EXPECT_EQ(f->Button3->Caption(), "Просмотр <<"_a);
        EXPECT_GE(f->ClientWidth(), f->PaintBox1->Left() + f->PaintBox1->Width());
        f->Button3Click(nullptr);
        Application->ProcessMessages();
        EXPECT_EQ(f->ClientWidth(), narrow);
        f->Button3Click(nullptr);
        f->Button2->Click();
    }});
    for (auto [index, count] : {std::pair{0, 3}, {8, 8}, {18, 2}, {17, 5}, {4, 1}}) {
        f->CSpinEdit2->SetValue(count);
        f->ComboBox1->SetItemIndex(index);
        f->ComboBox1Change(nullptr);
        std::unique_ptr<TElement> e(TInsertElementForm::MakeElement(index, count, f->GetDelay(), nullptr));
        EXPECT_TRUE(ShowsCentred(f->PaintBox1, e.get())) << index;
        f->PaintBox1->Repaint();
        EXPECT_TRUE(ShowsCentred(f->PaintBox1, e.get())) << "repainted, the same: " << index;
    }
    // A new delay draws the timer, even with the preview closed.
    f->Button3Click(nullptr);
    EXPECT_EQ(f->Button3->Caption(), "Просмотр >>"_a);
    f->ComboBox1->SetItemIndex(5);
    f->TimerValue->SetValue(3000);
    TPredTimerElement timer(nullptr, 1);
    timer.SetDelay(3000);
    EXPECT_TRUE(ShowsCentred(f->PaintBox1, &timer));
}

TEST_F(Dialogs, TheDriverPinDialogsNames) {
    PinDriverDlg = new TPinDriverDlg(nullptr, dir.File("signals.btb"));
    PinDriverDlg->DoCreate();
    forms_.push_back(PinDriverDlg);
    SeedSignals();
    auto* f = MakeForm<TInsertPinForm>();
    auto list = [&] { return f->NamePin->Items()->CommaText(); };
    RunModal(f, {[&] {
        EXPECT_EQ(list(), AnsiString("X1,X2,Y1"));
        EXPECT_EQ(f->NamePin->Text(), AnsiString());
        f->NamePin->SetItemIndex(2);
        f->OKBtn->Click();
    }});
    // The table changes between two showings: the name chosen last is chosen
    // again at its new place; typed text is not offered again.
    ASSERT_EQ(DriversInUse().DeleteBit(0), TDriversInfo::Ok);
    RunModal(f, {[&] {
        EXPECT_EQ(list(), AnsiString("X2,Y1"));
        EXPECT_EQ(f->NamePin->Text(), AnsiString("Y1"));
        f->NamePin->SetText("handmade");
        f->OKBtn->Click();
    }});
    f->FormActivate(nullptr);
    EXPECT_EQ(f->NamePin->Text(), AnsiString());
    // "Настроить": OK keeps the typed text as typed (choosing the entry that
    // differs only in case), even a name the table lost; Cancel changes nothing.
    ModalScript script;
    script.On(PinDriverDlg, [] { PinDriverDlg->OKBtn->Click(); });
    f->NamePin->SetText("x2");
    f->Button1Click(nullptr);
    EXPECT_EQ(f->NamePin->Text(), AnsiString("x2"));
    EXPECT_EQ(f->NamePin->ItemIndex(), -1) << "the field keeps its letters";
    script.On(PinDriverDlg, [] {
        PinDriverDlg->WorkingCopy()->DeleteBit(0);
        PinDriverDlg->OKBtn->Click();
    });
    f->NamePin->SetText("X2");
    f->Button1Click(nullptr);
    EXPECT_EQ(list(), AnsiString("Y1"));
    EXPECT_EQ(f->NamePin->Text(), AnsiString("X2"));
    script.On(PinDriverDlg, [] { PinDriverDlg->CancelBtn->Click(); });
    f->NamePin->SetText("zz");
    f->Button1Click(nullptr);
    EXPECT_EQ(f->NamePin->Text(), AnsiString("zz"));
    TDriver pin(nullptr);
    f->ApplyToDriver(&pin);
    EXPECT_EQ(pin.Name(), AnsiString("zz"));
}

TEST_F(Dialogs, TheSymbolChoosersAcceptRuleAndName) {
    auto* f = MakeForm<TfmOpenSymbolFile>();
    EXPECT_EQ(f->FilenameEdit->Filter(), "Файлы символов|*.tvy"_a);
    const std::pair<const char*, bool> cases[] = {{"a.tvy", true},  {"old.tvy.bak", true}, {"/p/q/a.tvy", true},
                                                  {"X.TVY", false},  {".tvy", false},      {"", false},
                                                  {"/p/.tvy", false}};
    for (auto [file, accepted] : cases) {
        f->FilenameEdit->SetText(file);
        f->ModalResult = mrNone;
        f->Button1Click(nullptr);
        EXPECT_EQ(f->ModalResult, accepted ? mrOk : mrNone) << file;
    }
    // An emptied edit keeps the name, but "OK" takes the empty one and
    // starts the numbers again.
    f->FilenameEdit->SetText("a.tvy");
    f->InsertCounter = 4;
    f->Edit1->SetText("Valve");
    f->Edit1->SetText(AnsiString());
    EXPECT_EQ(f->SymbolName, AnsiString("Valve"));
    f->Button1Click(nullptr);
    EXPECT_EQ(f->SymbolName, AnsiString());
    EXPECT_EQ(f->InsertCounter, 0);
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
    f->Button3Click(nullptr);
    f->FilenameEdit->SetText(big);
    TSymbol probe(nullptr);
    probe.LoadSymbolFile(big);
    EXPECT_EQ(f->PaintBox1->Width(), probe.GetWidth() + 150);
    EXPECT_EQ(f->PaintBox1->Height(), probe.GetHeight() + 150);
    EXPECT_GT(f->PaintBox1->Height(), f->ScrollBox1->Height()) << "the scroll box scrolls it";
    EXPECT_NE(f->PaintBox1->Canvas()->Pixels(40, 40), clBlack) << "the symbol's corner at (40, 40)";
    EXPECT_EQ(f->PaintBox1->Canvas()->Pixels(20, 20), clBlack);
    // A damaged file is reported once, when it is named, never by painting.
    const AnsiString damaged = dir.File("bad.tvy");
    testenv::WriteBytes(ToFsPath(damaged), std::string(200, 'x'));
    f->FilenameEdit->SetText(damaged);
    for (int i = 0; i < 3; ++i) f->PaintBox1->Repaint();
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Файл разрушен!!"_a});
    // A name of no file leaves the picture; chosen while collapsed, a file
    // is loaded when the preview opens.
    f->FilenameEdit->SetText(dir.File("none.tvy"));
    EXPECT_EQ(f->PreviewFile(), damaged);
    f->Button3Click(nullptr);
    f->FilenameEdit->SetText(small);
    EXPECT_EQ(f->PreviewFile(), damaged);
    f->Button3Click(nullptr);
    EXPECT_EQ(f->PreviewFile(), small);
}

class ConnectorDialog : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        SetSchemeFrame(&frame);
        ASSERT_TRUE(DriversInUse().AddVarBit("link1", "насосы"_a));
        f = MakeForm<TForm9>();
    }
    void TearDown() override {
        SetSchemeFrame(nullptr);
        while (DriversInUse().GetVarBitCount() > 0) DriversInUse().DeleteVarBit(0);
        EditorTest::TearDown();
    }
    AnsiString Table() {
        AnsiString s;
        for (int i = 0; i < DriversInUse().GetVarBitCount(); ++i)
            s += DriversInUse().GetVarBit(i).Name + "=" + DriversInUse().GetVarBit(i).Comment + ";";
        return s;
    }
    FakeSchemeFrame frame;
    FakeFrameServices services;
    TForm9* f = nullptr;
};

TEST_F(ConnectorDialog, NewKnownCaseAndRefusedNames) {
    struct Step {
        const char* name;
        const char* comment;
        bool closes;
        const char* table;
    };
    const Step steps[] = {
        // A new name is added with its comment; a known one changes its comment.
        {"link2", "вода", true, "link1=насосы;link2=вода;"},
        {"link1", "два насоса", true, "link1=два насоса;link2=вода;"},
        // Another letter case counts as known: no second signal, and the
        // comment goes to the signals of exactly that name, which are none.
        {"LINK1", "", true, "link1=два насоса;link2=вода;"},
        // Refused by the table: the dialog stays open, nothing is stored.
        {"", "x", false, "link1=два насоса;link2=вода;"},
        {"link2", "a;b\nc", false, "link1=два насоса;link2=вода;"},
    };
    for (const Step& s : steps) {
        port.Clear();
        f->NameBox->SetText(Utf8ToAnsi(s.name));
        f->EditComment->SetText(Utf8ToAnsi(s.comment));
        f->FormActivate(nullptr);
        f->ModalResult = mrNone;
        f->Button3->Click();
        EXPECT_EQ(f->ModalResult, s.closes ? mrOk : mrNone) << s.name;
        EXPECT_EQ(Table(), Utf8ToAnsi(s.table)) << s.name;
        EXPECT_EQ(port.Messages().size(), s.closes ? 0u : 1u) << s.name;
    }
    // The next showing offers the same name and comment; storing gives the
    // element the name only; loading takes the table's comment.
    f->FormActivate(nullptr);
    EXPECT_EQ(f->NameBox->Text(), AnsiString("link2"));
    EXPECT_EQ(f->NameBox->Items()->CommaText(), AnsiString("link1,link2"));
    TVarDriver v(nullptr);
    f->StoreEntity(&v);
    EXPECT_EQ(v.Name(), AnsiString("link2"));
    v.SetName("link1");
    f->LoadEntity(&v);
    EXPECT_EQ(f->EditComment->Text(), "два насоса"_a);
    f->NameBox->SetText("link2");
    f->NameBoxChange(nullptr);
    EXPECT_EQ(f->EditComment->Text(), "вода"_a);
    f->NameBox->SetText("new");
    f->NameBoxChange(nullptr);
    EXPECT_EQ(f->EditComment->Text(), "вода"_a) << "an unknown name leaves the comment";
}

TEST_F(ConnectorDialog, TheDebuggerAndTheSearchOnlyWhenThereAreSome) {
    f->FormActivate(nullptr);
    EXPECT_FALSE(f->btAddToDebug->Visible() || f->btFind->Visible());
    frame.debugger = frame.search = true;
    f->FormActivate(nullptr);
    EXPECT_TRUE(f->btAddToDebug->Visible() && f->btFind->Visible());
    // A known signal: input or output, then to the debugger; a cancelled question adds nothing.
    f->NameBox->SetText("link1");
    f->btAddToDebug->Click();
    services.direction = -1;
    f->btAddToDebug->Click();
    EXPECT_EQ(f->ModalResult, mrOk);
    EXPECT_EQ(services.asked, (std::vector<AnsiString>{"link1", "link1"}));
    EXPECT_EQ(frame.debug, std::vector<AnsiString>{"link1=1"});
    // A new one is added to the table and the user is told to translate.
    f->NameBox->SetText("fresh");
    f->EditComment->SetText("новый"_a);
    f->btAddToDebug->Click();
    EXPECT_EQ(f->ModalResult, mrOk);
    EXPECT_EQ(port.Messages(),
              std::vector<AnsiString>{" Этого сигнала нет в файле данных.\n Транслируйте проект (Ctrl+F9)"_a});
    EXPECT_EQ(Table(), "link1=насосы;fresh=новый;"_a);
    EXPECT_EQ(frame.debug.size(), 1u);
    f->btFindClick(nullptr);
    EXPECT_EQ(frame.found, std::vector<AnsiString>{"fresh"});
}

} // namespace
