#include "debugger/ui/Debuginf.h"

#include <algorithm>
#include <chrono>

#include "controls/gui/ExCheckListBox.h"
#include "debugger/Vac.h"
#include "debugger/ui/DebugGlyphs.h"
#include "debugger/ui/For.h"
#include "debugger/ui/Sharefun.h"
#include "platform/Bitmap.h"

TfmRun* fmRun = nullptr;

namespace {

// Record executions per second the estimate counts on, and the work above
// which the engineer is asked first (about ten seconds).
constexpr double kRecordsPerSecond = 2e8;
constexpr double kAskAbove = 2e9;

// The pins the translator gives to open inputs and outputs: analysed, never shown.
bool IsNullPin(const AnsiString& name) {
    const AnsiString n = name.Trim();
    return n == "_null_in_" || n == "_null_out_";
}

void FillNames(TListBox* box, const TStringList& lines, bool wholeLines) {
    TStrings* items = box->Items();
    items->BeginUpdate();
    items->Clear();
    for (int i = 0; i < lines.Count(); ++i)
        if (!IsNullPin(lines.Names(i))) items->Add(wholeLines ? lines[i] : lines.Names(i));
    items->EndUpdate();
    box->SetItemIndex(-1);
}

} // namespace

AnsiString TfmRun::WaitCaption() { return " Подождите, идет обработка сигналов..."_a; }
AnsiString TfmRun::DoneCaption() { return " Обработка сигналов закончена."_a; }
AnsiString TfmRun::CancelledCaption() { return " Обработка сигналов прервана."_a; }

TfmRun::TfmRun(TComponent* owner) : TForm(owner) {
    Build();
    OnShow = [this](TObject* s) { FormShow(s); };
}

TfmRun::~TfmRun() {
    if (analysis_) analysis_->Cancel();
    if (fmRun == this) fmRun = nullptr;
}

void TfmRun::Build() {
    SetName("fmRun");
    SetCaption("Сигнатурный анализатор"_a);
    SetPosition(poScreenCenter);
    SetClientWidth(502);
    SetClientHeight(290);

    auto label = [&](const char* name, const AnsiString& caption, int x, int y) {
        TLabel* l = NewControl<TLabel>(this, this, name);
        l->SetCaption(caption);
        l->SetLeft(x);
        l->SetTop(y);
        return l;
    };
    auto list = [&](const char* name, int x, int width) {
        TListBox* l = NewControl<TListBox>(this, this, name);
        l->SetBounds(x, 42, width, 204);
        return l;
    };
    Label1 = label("Label1", "Входные сигналы"_a, 8, 24);
    ListBox1 = list("ListBox1", 8, 150);
    Label2 = label("Label2", "Выходные сигналы"_a, 166, 24);
    ListBox2 = list("ListBox2", 166, 150);
    Label3 = label("Label3", "Не сработавшие сигналы\r\nи их постоянные значения"_a, 324, 8);
    ListBox3 = list("ListBox3", 324, 170);
    ListBox3->Font()->SetStyle(TFontStyles() << fsBold);

    auto search = [&](const char* name, int x) {
        TBitBtn* b = NewControl<TBitBtn>(this, this, name);
        b->SetBounds(x, 254, 150, 27);
        b->SetGlyph(MakeDebugGlyph(dgFind).get());
        b->SetEnabled(false);
        return b;
    };
    BitBtn1 = search("BitBtn1", 8);
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    BitBtn2 = search("BitBtn2", 166);
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    btClose = NewControl<TButton>(this, this, "btClose");
    btClose->SetCaption("Выход"_a);
    btClose->SetBounds(409, 255, 85, 25);
    btClose->OnClick = [this](TObject* s) { btCloseClick(s); };

    ActionList1 = NewComponent<TActionList>(this, "ActionList1");
    SignatureAction = NewComponent<TAction>(this, "SignatureAction");
    SignatureAction->SetCaption("Проверить схему"_a);
    SignatureAction->SetHint("Проверить схему сигнатурным анализтором"_a);
    SignatureAction->SetActionList(ActionList1);
    SignatureAction->OnExecute = [this](TObject* s) { SignatureActionExecute(s); };
}

// ---- the signals between the wanted list and the debugger --------------------------------

void TfmRun::MapSignals(bool classify) {
    TVAC* vac = Emulator();
    if (!vac) return;
    // The list is rebuilt, not appended to: repeated analyses show each
    // comment once.
    TStringList comments;
    std::vector<int> signalOfLine;
    TSignalLists::CollectComments(*vac, comments, signalOfLine);
    if (fmDebug) fmDebug->SetComments(&comments, signalOfLine);
    if (classify) Lists.BuildSignalLists(*vac);
}

void TfmRun::SaveSelection() {
    if (!fmDebug) return;
    // Wanted signals the loaded program does not know were never rows (a
    // program not translated yet, a scheme not in it): they wait for the
    // next program instead of being lost.
    TVAC* vac = Emulator();
    TWantedSignalList waiting;
    for (int i = 0; i < Wanted.Count(); ++i)
        if (!vac || vac->SignalIndex().IndexOfName(Wanted.Name(i)) < 0) waiting.Append(Wanted.Name(i), Wanted.KindOf(i));
    Wanted.Clear();
    struct Side {
        TStrings* rows;
        const SignalsStr* (TfmDebug::*signal)(int) const;
        int kind;
    };
    for (const Side& side : {Side{fmDebug->in_signal->Items(), &TfmDebug::InputSignal, TWantedSignalList::kInput},
                             Side{fmDebug->out_signal->Items(), &TfmDebug::OutputSignal, TWantedSignalList::kOutput}})
        for (int row = 0; row < side.rows->Count(); ++row) {
            const SignalsStr* s = (fmDebug->*side.signal)(row);
            Wanted.Append(s ? s->Name : side.rows->Get(row), side.kind);
        }
    for (int i = 0; i < waiting.Count(); ++i) Wanted.Add(waiting.Name(i), waiting.KindOf(i));
    fmDebug->ClearRows();
}

void TfmRun::RestoreSelection() {
    TVAC* vac = Emulator();
    if (!vac || !fmDebug) return;
    for (int i = 0; i < Wanted.Count(); ++i) {
        const int line = vac->SignalIndex().IndexOfName(Wanted.Name(i));
        if (line < 0) continue;
        const int index = TSignalLists::IndexOfLine(*vac, line);
        if (index < 0) continue;
        const SignalsStr& s = vac->Signals()[std::size_t(index)];
        const bool output = s.DriverType < 0 ? Wanted.KindOf(i) != 0 : s.Side != 0;
        fmDebug->AddSignal(s.Name, output, index);
    }
}

// ---- the CASE check --------------------------------------------------------------------

bool TfmRun::CompareOutputs(std::vector<int32_t>& table) {
    TVAC* vac = Emulator();
    if (!vac || !vac->Loaded()) return false;
    MapSignals(true);
    return ::CompareOutputs(*vac, Lists, table);
}

// ---- the signature analysis --------------------------------------------------------------

void TfmRun::SignatureActionExecute(TObject*) {
    TVAC* vac = Emulator();
    if (!vac || !vac->Loaded() || AnalysisRunning()) return;
    SetCaption(WaitCaption());
    RunAnalysis();
}

void TfmRun::RunAnalysis() {
    TVAC* vac = Emulator();
    if (!vac || !vac->Loaded()) return;
    // The analysis borrows the emulator: no timer may scan meanwhile.
    if (fmDebug) fmDebug->Halt();
    vac->SuppressDisplay = true;
    MapSignals(true);
    analysis_ = std::make_unique<TSignatureAnalysis>(Lists);
    analysis_->Begin(*vac);
    if (fmDebug) fmDebug->Running = true;

    const double work = double(analysis_->Estimate()) * double(std::max(1, vac->RecordCount()));
    if (work > kAskAbove) {
        const double seconds = std::min(work / kRecordsPerSecond + 0.5, 9.2e18);
        const AnsiString question = " Анализ займёт около "_a + IntToStr((long long)seconds) + " с.\n Продолжить?"_a;
        if (MessageDlg(question, mtConfirmation, mbYesNo) != mrYes) analysis_->Cancel();
    }
    if (analysis_->Active()) {
        if (Visible()) Hide();
        PostSlice();
        ShowModal();
        // Closed some other way than by the end of the run.
        if (analysis_->Active()) analysis_->Cancel();
    }
    if (fmDebug) {
        fmDebug->Running = false;
        fmDebug->FlushCounters();
    }
    FillResult();
    SetCaption(analysis_->Finished() ? DoneCaption() : CancelledCaption());
    Show();
}

void TfmRun::PostSlice() {
    std::weak_ptr<char> alive = Alive();
    PostCall([this, alive] {
        if (!alive.expired()) RunSlice();
    });
}

void TfmRun::RunSlice(int sliceMs) {
    if (!AnalysisRunning()) return;
    TVAC* vac = Emulator();
    // About a millisecond of scans between looks at the clock.
    const uint64_t chunk = std::max<uint64_t>(1, uint64_t(kRecordsPerSecond / 1000) / uint64_t(std::max(1, vac->RecordCount())));
    const auto start = std::chrono::steady_clock::now();
    while (!analysis_->Step(chunk) &&
           std::chrono::steady_clock::now() - start < std::chrono::milliseconds(sliceMs)) {
    }
    if (fmDebug) fmDebug->FlushCounters();
    if (analysis_->Active()) PostSlice();
    else if (IsModal()) ModalResult = mrOk;
}

void TfmRun::FillResult() {
    FillNames(ListBox1, Lists.Inputs, false);
    FillNames(ListBox2, Lists.Outputs, false);
    const TStringList none;
    FillNames(ListBox3, analysis_ ? analysis_->Constants() : none, true);
}

// ---- buttons ------------------------------------------------------------------------------

void TfmRun::btCloseClick(TObject*) {
    if (AnalysisRunning()) {
        analysis_->Cancel();
        ModalResult = mrCancel;
        return;
    }
    Hide();
}

void TfmRun::Search(TListBox* list) {
    const int i = list->ItemIndex();
    auto& find = DebuggerHooks().FindSignal;
    if (i < 0 || !find) return;
    find(list->Items()->Get(i));
}

void TfmRun::BitBtn1Click(TObject*) { Search(ListBox1); }

void TfmRun::BitBtn2Click(TObject*) { Search(ListBox2); }

void TfmRun::FormShow(TObject*) {
    // The search belongs to the frame; until it lends it the buttons stay off.
    const TDebuggerHooks& hooks = DebuggerHooks();
    const bool canSearch = hooks.FindSignal && (!hooks.CanFindSignal || hooks.CanFindSignal());
    BitBtn1->SetEnabled(canSearch);
    BitBtn2->SetEnabled(canSearch);
}
