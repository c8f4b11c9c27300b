// The options dialog: what "OK", "Отмена" and "Сброс" leave in the settings and the stored values, the debugger's
// order, work-file names it refuses, the two previews and the rubber band drawn on them.
#include "editor/EditorTest.h"

#include "common/Printers.h"
#include "controls/gui/EXSpin.h"
#include "controls/gui/ExCheckListBox.h"
#include "controls/gui/Placemnt.h"
#include "document/Scheme.h"
#include "editor/ChildWin.h"
#include "editor/Option.h"
#include "fsm/FsmTestSupport.h"
#include "fsm/fsmScheme.h"
#include "platform/Canvas.h"

namespace {

class Options : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        storage = NewComponent<TFormStorage>(MakeForm(), "FormS"), OptionDlg = MakeForm<TOptionDlg>();
        OptionDlg->FormS = storage, InitModule->SetDefaults();
    }
    TOptionDlg* D() const { return OptionDlg; }
    // Shows the dialog: the steps, then the button; a refused "OK" keeps it open, and it is then ended with mrAbort.
    int Show(const std::function<void()>& steps, TButton* close) {
        return RunModal(D(), {[&] {
            steps(), close->Click();
            if (D()->ModalResult == mrNone) D()->ModalResult = mrAbort;
        }});
    }
    Variant Stored(const char* name) const { return storage->GetStoredValue(name); }
    TFormStorage* storage = nullptr;
};

TEST_F(Options, OkCancelAndResetLeaveWhatTheyShould) {
    TInitModule& m = *InitModule;
    // What is done in the dialog, whether it ends with "OK", what it left.
    const std::tuple<const char*, std::function<void()>, bool, std::function<void()>> cases[] = {
        {"a timer colour stays after Отмена, the background goes back",
         [&] {
             port.AnswerColor(TColor(0x123456)), D()->BitBtn[9]->Click();
             port.AnswerColor(TColor(0x654321)), D()->BitBtn[1]->Click();
             EXPECT_EQ(m.BackColor, TColor(0x654321)) << "at once";
         },
         false,
         [&] { EXPECT_EQ(std::pair(m.TimerAttrColor, m.BackColor), std::pair(TColor(0x123456), TColor(123))); }},
        {"Сброс, then Отмена: what the dialog saved comes back, the rest keeps its defaults",
         [&] { D()->Button1->Click(); }, false,
         [&] {
             EXPECT_EQ(std::tuple(m.BackColor, m.SelectedLinkColor, m.GridStep, m.MaxWidth, m.GridVisible, m.CheckOrder),
                       std::tuple(TColor(123), TColor(77), 25, 1000, false, false));
             EXPECT_EQ(std::pair(Stored("DoTextLogicFile").AsBoolean(), Stored("SortDr").AsInteger()), std::pair(true, 1));
             EXPECT_EQ(std::tuple(m.DataFile, m.TimerMax, m.StateColor, m.TimerAttrColor),
                       std::tuple(AnsiString("tvca.dat"), 50000000, TColor(32768), TColor(clYellow)));
         }},
        {"Сброс, then OK: the numbers shown go over the defaults",
         [&] { D()->Button1->Click(); }, true,
         [&] {
             EXPECT_EQ(std::tuple(m.BackColor, m.GridStep, m.MaxWidth, m.GridVisible), std::tuple(TColor(0), 25, 1000, false));
             EXPECT_EQ(std::tuple(Stored("DoTextLogicFile").AsBoolean(), Stored("CheckSchemes").AsBoolean(),
                                  Stored("SortBits").AsBoolean(), Stored("CheckBit").AsBoolean(), Stored("SortDr").AsInteger()),
                       std::tuple(false, true, true, false, 0));
         }},
        {"OK keeps numbers within the settings' ranges",
         [&] {
             D()->ExSpinEdit1->SetText("500"), D()->ExSpinEdit2->SetText("99999");
             D()->ExSpinEdit3->SetText("-5"), D()->AutoInterval->SetText("0");
         },
         true, [&] {
             EXPECT_EQ(std::tuple(m.GridStep, m.MaxWidth, m.MaxHeight, m.AutoSavePeriod),
                       std::tuple(100, int(TInitModule::MaxSheetSize), 1, 1));
         }},
    };
    for (const auto& [name, steps, ok, check] : cases) {
        SCOPED_TRACE(name);
        m.SetDefaults();
        m.BackColor = TColor(123), m.SelectedLinkColor = TColor(77), m.StateColor = TColor(9);
        m.GridStep = 25, m.MaxWidth = 1000, m.TimerMax = 7, m.DataFile = "x.dat";
        m.GridVisible = m.CheckOrder = false;
        storage->SetStoredValue("DoTextLogicFile", true), storage->SetStoredValue("SortDr", 1);
        EXPECT_EQ(Show(steps, ok ? D()->OKBtn : D()->CancelBtn), ok ? mrOk : mrCancel);
        check();
    }
}

TEST_F(Options, WorkFileNamesTheSettingsCannotKeepAreRefusedBeforeAnythingIsWritten) {
    const std::tuple<TEdit* TOptionDlg::*, const char*, const char*> cases[] = {
        {&TOptionDlg::Edit4, "dir/3.$$$", "Имя файла \"dir/3.$$$\" (Сигналы) не годится: нужно имя файла без папки"},
        {&TOptionDlg::Edit7, "", "Имя файла \"\" (TVCA файл) не годится: нужно имя файла без папки"},
        {&TOptionDlg::Edit8, "", "Имя файла \"\" (Log файл) не годится для рабочего файла"},
    };
    for (const auto& [edit, text, message] : cases) {
        port.Clear();
        EXPECT_EQ(Show([&] { D()->ExSpinEdit1->SetText("20"), (D()->*edit)->SetText(text); }, D()->OKBtn), mrAbort);
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{Utf8ToAnsi(message)});
        EXPECT_EQ(std::pair(InitModule->GridStep, D()->PageControl1->ActivePage()), std::pair(10, D()->TabSheet3))
            << "nothing written, the page with the name shown";
    }
    Show([&] { D()->Edit8->SetText("logs/err.log"); }, D()->OKBtn);
    EXPECT_EQ(InitModule->LogFile, AnsiString("logs/err.log")) << "the log may lie in another folder";
}

TEST_F(Options, TheDebuggersOrderIsOneOfTwoOrNone) {
    // The stored order, the two boxes shown ticked, the clicks, what is stored after "OK".
    const std::tuple<int, bool, bool, std::function<void()>, int> cases[] = {
        {1, false, true, [] {}, 1},
        {7, false, false, [] {}, -1}, // a stored value outside 0..1 chooses none
        {0, true, false, [&] { D()->SortDr->SetChecked(1, true), D()->SortDrClickCheck(D()->SortDr); }, 0},
        {0, true, false, [&] { D()->SortDr->SetChecked(0, false); }, -1},
    };
    for (const auto& [stored, byPlace, byNames, steps, written] : cases) {
        storage->SetStoredValue("SortDr", stored);
        std::pair<bool, bool> shown;
        Show([&] { shown = {D()->SortDr->GetChecked(0), D()->SortDr->GetChecked(1)}, steps(); }, D()->OKBtn);
        EXPECT_EQ(std::tuple(shown.first, shown.second, Stored("SortDr").AsInteger()), std::tuple(byPlace, byNames, written))
            << stored;
    }
}

TEST_F(Options, ThePreviewsLoadTheirOwnFilesAndTheBandLeavesNothingBehind) {
    TScheme scheme;
    scheme.CreateWire(20, 20, 120, 20), scheme.SetFileName(dir.File("p.tvs"));
    TFSMScheme machine;
    fsmtest::BuildExample(machine), machine.SetFileName(dir.File("m.fsm"));
    ASSERT_TRUE(scheme.SaveToFile() && machine.SaveToFile());
    std::vector<int> filters;
    std::deque<AnsiString> answers = {dir.File("m.fsm"), "", dir.File("p.tvs"), ""};
    port.OnFileDialog = [&](FileDialogRequest& r) {
        filters.push_back(r.FilterIndex), r.FileName = answers.front(), answers.pop_front();
        return !r.FileName.IsEmpty();
    };
    auto image = [](TPaintBox* box) { return box->Canvas()->Image()->copy(); };
    auto painted = [&](TPaintBox* box) { // pixels unlike the top left one
        const QImage img = image(box);
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) != img.pixel(0, 1);
        return n;
    };
    auto clean = [&](TPaintBox* box) { // a repaint changes nothing
        const QImage before = image(box);
        return box->Repaint(), before == *box->Canvas()->Image();
    };
    // A press, two moves and (but for the band being checked) the release.
    auto band = [&](TPaintBox* box, bool release) {
        D()->PaintBoxMouseDown(box, mbLeft, 0, 10, 10);
        D()->PaintBoxMouseMove(box, 0, 70, 50), D()->PaintBoxMouseMove(box, 0, 40, 30);
        if (release) D()->PaintBoxMouseUp(box, mbLeft, 0, 40, 30);
    };
    std::vector<int> pixels; // the machine, loaded and after a cancel; the grid, the scheme over it
    std::vector<bool> checks;
    TTabSheet* first = nullptr;
    Show(
        [&] {
            TPaintBox *box1 = D()->PaintBox1, *box2 = D()->PaintBox2;
            first = D()->PageControl1->ActivePage();
            D()->BitBtn10->Click(), pixels.push_back(painted(box2));
            D()->BitBtn10->Click(), pixels.push_back(painted(box2)); // cancelled: the same file again
            const QImage other = image(box1), before = image(box2);
            band(box2, false);
            // Drawn on the box pressed, and again by a repaint while it is on.
            checks = {before != image(box2), clean(box2), other == image(box1)};
            D()->PaintBoxMouseUp(box2, mbLeft, 0, 40, 30), checks.push_back(clean(box2));
            D()->PageControl1->SetActivePage(D()->TabSheet1), pixels.push_back(painted(box1));
            D()->BitBtn10->Click(), pixels.push_back(painted(box1));
            D()->BitBtn10->Click(), band(box1, true), checks.push_back(clean(box1));
            D()->PageControl1->SetActivePage(D()->TabSheet3), D()->BitBtn10->Click(); // nothing to open here
        },
        D()->CancelBtn);
    EXPECT_EQ(first, D()->TabSheet4) << "the first showing";
    EXPECT_EQ(filters, (std::vector<int>{2, 2, 1, 1}));
    ASSERT_EQ(pixels.size(), 4u);
    EXPECT_GT(pixels[0], 100) << "two states and their transitions";
    EXPECT_EQ(pixels[1], pixels[0]);
    EXPECT_GT(pixels[3], pixels[2]) << "the wire over the grid";
    EXPECT_EQ(checks, std::vector<bool>(5, true));
    EXPECT_EQ(D()->PreviewScheme->GetFileName(), dir.File("p.tvs"));
    TTabSheet* page = nullptr;
    Show([&] { page = D()->PageControl1->ActivePage(); }, D()->CancelBtn);
    EXPECT_EQ(page, D()->TabSheet3) << "the page last seen";
}

TEST_F(Options, ThePreviewBandsSecondCornerIsThePointer) {
    // The first corner is the snapped press point (10, 10); the second the
    // pointer itself, under the selection cursor while the band is on.
    std::vector<bool> checks;
    std::vector<TCursor> cursors;
    Show(
        [&] {
            TPaintBox* box = D()->PaintBox1;
            D()->PageControl1->SetActivePage(D()->TabSheet1);
            box->Repaint();
            const QImage before = box->Canvas()->Image()->copy();
            D()->PaintBoxMouseDown(box, mbLeft, 0, 12, 9);
            D()->PaintBoxMouseMove(box, 0, 73, 47);
            cursors.push_back(box->Cursor());
            // Drawn once more, the expected rectangle takes the band away.
            box->Canvas()->DrawFocusRect(Rect(10, 10, 73, 47));
            checks.push_back(before == *box->Canvas()->Image());
            box->Canvas()->DrawFocusRect(Rect(10, 10, 73, 47));
            D()->PaintBoxMouseUp(box, mbLeft, 0, 73, 47);
            cursors.push_back(box->Cursor());
            checks.push_back(before == *box->Canvas()->Image());
        },
        D()->CancelBtn);
    EXPECT_EQ(checks, std::vector<bool>({true, true}));
    EXPECT_EQ(cursors, std::vector<TCursor>({TMDIChild::crSelectCursor, crDefault}));
}

} // namespace
