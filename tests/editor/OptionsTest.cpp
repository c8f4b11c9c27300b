// The options dialog: what "OK", "Отмена" and "Сброс" leave in the settings
// and the stored values, the order of the debugger's signals, names of work
// files it refuses, the two previews and the rubber band drawn on them.
#include "editor/EditorTest.h"

#include "common/Printers.h"
#include "controls/gui/EXSpin.h"
#include "controls/gui/ExCheckListBox.h"
#include "controls/gui/Placemnt.h"
#include "document/Scheme.h"
#include "editor/Option.h"
#include "fsm/FsmTestSupport.h"
#include "fsm/fsmScheme.h"
#include "platform/Canvas.h"

namespace {

class Options : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        host = MakeForm();
        storage = NewComponent<TFormStorage>(host, "FormS");
        for (const char* name : {"DoTextLogicFile", "SortBits", "CheckBit", "CheckSchemes"})
            storage->SetStoredValue(name, false);
        storage->SetStoredValue("SortDr", 0);
        OptionDlg = MakeForm<TOptionDlg>();
        OptionDlg->FormS = storage;
        InitModule->SetDefaults();
    }
    TOptionDlg* D() const { return OptionDlg; }
    // Shows the dialog modally: steps, then the closing button.
    int Show(const std::function<void()>& steps, TButton* close) {
        ModalScript script;
        script.On(D(), [&] {
            steps();
            close->Click();
            // A refused "OK" keeps the dialog open: it is then cancelled.
            if (D()->ModalResult == mrNone) D()->ModalResult = mrAbort;
        });
        const int r = D()->ShowModal();
        EXPECT_FALSE(script.stuck);
        return r;
    }
    bool StoredBool(const char* name) const { return storage->GetStoredValue(name).AsBoolean(); }
    int StoredInt(const char* name) const { return storage->GetStoredValue(name).AsInteger(); }
    // Whether the box shows what a full repaint draws.
    static bool Clean(TPaintBox* box) {
        const QImage before = box->Canvas()->Image()->copy();
        box->Repaint();
        return before == *box->Canvas()->Image();
    }
    TForm* host = nullptr;
    TFormStorage* storage = nullptr;
};

TEST_F(Options, OkCancelAndResetLeaveWhatTheyShould) {
    TInitModule& m = *InitModule;
    struct Case {
        const char* name;
        std::function<void()> steps;
        bool ok;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"a timer colour stays after Отмена, the background goes back",
         [&] {
             port.AnswerColor(TColor(0x123456));
             D()->BitBtn[9]->Click();
             port.AnswerColor(TColor(0x654321));
             D()->BitBtn[1]->Click();
             EXPECT_EQ(m.BackColor, TColor(0x654321)) << "at once";
         },
         false,
         [&] {
             EXPECT_EQ(m.TimerAttrColor, TColor(0x123456));
             EXPECT_EQ(m.BackColor, TColor(0));
         }},
        {"Сброс, then Отмена: what the dialog saved comes back, the rest keeps its defaults",
         [&] {
             EXPECT_EQ(D()->ExSpinEdit1->AsInteger(), 25);
             D()->Button1->Click();
             EXPECT_EQ(D()->Edit7->Text(), AnsiString("tvca.dat"));
         },
         false,
         [&] {
             EXPECT_EQ(m.BackColor, TColor(123));
             EXPECT_EQ(m.SelectedLinkColor, TColor(77));
             EXPECT_EQ(m.GridStep, 25);
             EXPECT_EQ(m.MaxWidth, 1000);
             EXPECT_EQ(m.MaxHeight, 900);
             EXPECT_FALSE(m.GridVisible);
             EXPECT_FALSE(m.CheckOrder);
             EXPECT_TRUE(StoredBool("DoTextLogicFile"));
             EXPECT_EQ(StoredInt("SortDr"), 1);
             EXPECT_EQ(m.DataFile, AnsiString("tvca.dat"));
             EXPECT_EQ(m.TimerMax, 50000000);
             EXPECT_EQ(m.StateColor, TColor(32768));
             EXPECT_EQ(m.TimerAttrColor, TColor(clYellow));
         }},
        {"Сброс, then OK: the shown numbers go over the defaults",
         [&] { D()->Button1->Click(); },
         true,
         [&] {
             EXPECT_EQ(m.BackColor, TColor(0));
             EXPECT_EQ(m.GridStep, 25);
             EXPECT_EQ(m.MaxWidth, 1000);
             EXPECT_FALSE(m.GridVisible);
             EXPECT_FALSE(StoredBool("DoTextLogicFile"));
             EXPECT_TRUE(StoredBool("CheckSchemes"));
             EXPECT_TRUE(StoredBool("SortBits"));
             EXPECT_FALSE(StoredBool("CheckBit"));
             EXPECT_EQ(StoredInt("SortDr"), 0);
             EXPECT_EQ(m.DataFile, AnsiString("tvca.dat"));
         }},
        {"OK keeps numbers within the settings' ranges",
         [&] {
             D()->ExSpinEdit1->SetText("500");
             D()->ExSpinEdit2->SetText("99999");
             D()->ExSpinEdit3->SetText("-5");
             D()->AutoInterval->SetText("0");
             D()->Edit4->SetText("signals.txt");
         },
         true,
         [&] {
             EXPECT_EQ(m.GridStep, 100);
             EXPECT_EQ(m.MaxWidth, TInitModule::MaxSheetSize);
             EXPECT_EQ(m.MaxHeight, 1);
             EXPECT_EQ(m.AutoSavePeriod, 1);
             EXPECT_EQ(m.SignalsFile, AnsiString("signals.txt"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m.SetDefaults();
        m.BackColor = TColor(123);
        m.SelectedLinkColor = TColor(77);
        m.GridStep = 25;
        m.MaxWidth = 1000;
        m.MaxHeight = 900;
        m.GridVisible = false;
        m.CheckOrder = false;
        m.DataFile = "x.dat";
        m.TimerMax = 7;
        m.StateColor = TColor(9);
        storage->SetStoredValue("DoTextLogicFile", true);
        storage->SetStoredValue("SortDr", 1);
        if (std::string(c.name).rfind("a timer", 0) == 0) m.BackColor = TColor(0);
        EXPECT_EQ(Show(c.steps, c.ok ? D()->OKBtn : D()->CancelBtn), c.ok ? mrOk : mrCancel);
        c.check();
    }
}

TEST_F(Options, WorkFileNamesTheSettingsCannotKeepAreRefusedBeforeAnythingIsWritten) {
    TInitModule& m = *InitModule;
    struct Case {
        TEdit* TOptionDlg::*edit;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {&TOptionDlg::Edit4, "dir/3.$$$", "Имя файла \"dir/3.$$$\" (Сигналы) не годится: нужно имя файла без папки"},
        {&TOptionDlg::Edit7, "", "Имя файла \"\" (TVCA файл) не годится: нужно имя файла без папки"},
        {&TOptionDlg::Edit8, "", "Имя файла \"\" (Log файл) не годится для рабочего файла"},
    };
    for (const Case& c : cases) {
        port.Clear();
        m.GridStep = 10;
        const int r = Show(
            [&] {
                D()->ExSpinEdit1->SetText("20");
                (D()->*c.edit)->SetText(c.text);
            },
            D()->OKBtn);
        EXPECT_EQ(r, mrAbort) << "the dialog stayed open";
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{Utf8ToAnsi(c.message)});
        EXPECT_EQ(m.GridStep, 10) << "nothing written";
        EXPECT_EQ(D()->PageControl1->ActivePage(), D()->TabSheet3);
    }
    // A log in another folder is a name it keeps.
    Show([&] { D()->Edit8->SetText("logs/err.log"); }, D()->OKBtn);
    EXPECT_EQ(m.LogFile, AnsiString("logs/err.log"));
}

TEST_F(Options, TheDebuggersOrderIsOneOfTwoOrNone) {
    struct Case {
        Variant stored;
        bool byPlace, byNames;
        std::function<void()> steps;
        int written;
    };
    const Case cases[] = {
        {1, false, true, [] {}, 1},
        {0, true, false, [] {}, 0},
        {7, false, false, [] {}, -1}, // a stored value outside 0..1 chooses none
        {-1, false, false, [] {}, -1},
        // Both checked: "по именам" gives way.
        {0, true, false, [&] {
             D()->SortDr->SetChecked(1, true);
             D()->SortDrClickCheck(D()->SortDr);
             EXPECT_FALSE(D()->SortDr->GetChecked(1));
         },
         0},
        {0, true, false, [&] { D()->SortDr->SetChecked(0, false); }, -1},
    };
    for (const Case& c : cases) {
        storage->SetStoredValue("SortDr", c.stored);
        bool place = false, names = false;
        Show(
            [&] {
                place = D()->SortDr->GetChecked(0);
                names = D()->SortDr->GetChecked(1);
                c.steps();
            },
            D()->OKBtn);
        EXPECT_EQ(place, c.byPlace) << c.stored.AsInteger();
        EXPECT_EQ(names, c.byNames) << c.stored.AsInteger();
        EXPECT_EQ(StoredInt("SortDr"), c.written) << c.stored.AsInteger();
    }
}

TEST_F(Options, ThePreviewsLoadTheirOwnFilesAndTheBandLeavesNothingBehind) {
    // A scheme with a wire and a state machine of two states.
    {
        TScheme s;
        s.CreateWire(20, 20, 120, 20);
        s.SetFileName(dir.File("p.tvs"));
        ASSERT_TRUE(s.SaveToFile());
        TFSMScheme m;
        fsmtest::BuildExample(m);
        m.SetFileName(dir.File("m.fsm"));
        ASSERT_TRUE(m.SaveToFile());
    }
    std::vector<int> filters;
    std::deque<AnsiString> answers = {dir.File("m.fsm"), "", dir.File("p.tvs"), ""};
    port.OnFileDialog = [&](FileDialogRequest& r) {
        filters.push_back(r.FilterIndex);
        r.FileName = answers.front();
        answers.pop_front();
        return !r.FileName.IsEmpty();
    };
    auto painted = [](TPaintBox* box, TColor background) {
        const QImage& img = *box->Canvas()->Image();
        const QRgb bg = (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) != bg;
        return n;
    };
    int fsmPixels = 0, fsmAgain = 0, schemePixels = 0, dotsOnly = 0;
    bool bandClean[2] = {false, false}, bandShown = false;
    Show(
        [&] {
            EXPECT_EQ(D()->PageControl1->ActivePage(), D()->TabSheet4) << "the first showing";
            D()->BitBtn10->Click();
            fsmPixels = painted(D()->PaintBox2, InitModule->FsmBackColor);
            D()->BitBtn10->Click(); // cancelled: the same file again
            fsmAgain = painted(D()->PaintBox2, InitModule->FsmBackColor);
            // The band on the state machines' box, drawn again by a repaint
            // while it is on.
            const QImage before = D()->PaintBox2->Canvas()->Image()->copy();
            const QImage other = D()->PaintBox1->Canvas()->Image()->copy();
            D()->PaintBoxMouseDown(D()->PaintBox2, mbLeft, 0, 30, 30);
            D()->PaintBoxMouseMove(D()->PaintBox2, 0, 90, 70);
            bandShown = before != *D()->PaintBox2->Canvas()->Image() && Clean(D()->PaintBox2) &&
                        other == *D()->PaintBox1->Canvas()->Image();
            D()->PaintBoxMouseDown(D()->PaintBox2, mbLeft, 0, 30, 30);
            D()->PaintBoxMouseMove(D()->PaintBox2, 0, 90, 70);
            D()->PaintBoxMouseUp(D()->PaintBox2, mbLeft, 0, 90, 70);
            bandClean[1] = Clean(D()->PaintBox2);

            D()->PageControl1->SetActivePage(D()->TabSheet1);
            dotsOnly = painted(D()->PaintBox1, InitModule->BackColor);
            D()->BitBtn10->Click();
            schemePixels = painted(D()->PaintBox1, InitModule->BackColor);
            D()->BitBtn10->Click();
            EXPECT_EQ(D()->PreviewScheme->GetFileName(), dir.File("p.tvs"));
            D()->PaintBoxMouseDown(D()->PaintBox1, mbLeft, 0, 10, 10);
            D()->PaintBoxMouseMove(D()->PaintBox1, 0, 70, 50);
            D()->PaintBoxMouseMove(D()->PaintBox1, 0, 40, 30);
            D()->PaintBoxMouseUp(D()->PaintBox1, mbLeft, 0, 40, 30);
            bandClean[0] = Clean(D()->PaintBox1);
            // Nothing to open on the page of the files.
            D()->PageControl1->SetActivePage(D()->TabSheet3);
            D()->BitBtn10->Click();
        },
        D()->CancelBtn);
    EXPECT_EQ(filters, (std::vector<int>{2, 2, 1, 1}));
    EXPECT_GT(fsmPixels, 100) << "two states and their transitions";
    EXPECT_EQ(fsmAgain, fsmPixels);
    EXPECT_GT(schemePixels, dotsOnly) << "the wire over the grid";
    EXPECT_TRUE(bandShown);
    EXPECT_TRUE(bandClean[0]);
    EXPECT_TRUE(bandClean[1]);
    EXPECT_EQ(D()->PreviewFSM->GetFileName(), dir.File("m.fsm"));
    // The next showing opens on the page last seen.
    TTabSheet* page = nullptr;
    Show([&] { page = D()->PageControl1->ActivePage(); }, D()->CancelBtn);
    EXPECT_EQ(page, D()->TabSheet3);
}

} // namespace
