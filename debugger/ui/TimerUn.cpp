#include "debugger/ui/TimerUn.h"

#include <algorithm>

#include "controls/gui/ExCheckListBox.h"
#include "controls/gui/EXSpin.h"
#include "controls/gui/Placemnt.h"
#include "debugger/Vac.h"
#include "debugger/ui/DebugGlyphs.h"
#include "debugger/ui/Debuginf.h"
#include "debugger/ui/For.h"
#include "debugger/ui/InGraph.h"
#include "debugger/ui/MT.h"
#include "debugger/ui/OutGraph.h"
#include "platform/Bitmap.h"
#include "platform/ScopeGuard.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"

TTimersForm* TimersForm = nullptr;

namespace {

constexpr unsigned kEventMs = 50;
// Height of the window beyond its rows: frame, toolbar, buttons, scroll bar.
constexpr int kHeightBeyondRows = 112;
constexpr int kNameColumnWidth = 145;
constexpr TColor kIntervalLine = clSilver;

} // namespace

TTimersForm::TTimersForm(TComponent* owner) : TForm(owner) {
    Build();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
    OnHide = [this](TObject* s) { FormHide(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    FormPlacement1 = NewComponent<TFormPlacement>(this, "FormPlacement1");
    FormPlacement1->UseRegistry = true;
    FormPlacement1->Version = 13;
    FormPlacement1->BeginLoading();
    FormPlacement1->EndLoading();
    DebuggerHooks().Timing = this;
}

TTimersForm::~TTimersForm() {
    Timer1->SetEnabled(false);
    if (DebuggerHooks().Timing == this) DebuggerHooks().Timing = nullptr;
    if (fmFormuls && fmFormuls->Owner == this) fmFormuls->Owner = nullptr;
    if (TimersForm == this) TimersForm = nullptr;
}

// ---- pictures ------------------------------------------------------------------------------

void TTimersForm::DrawBackground(TBitmap* b) {
    b->SetSize(TTraceRow::kTraceWidth, kScaleHeight);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, b->Width(), b->Height()));
    c->Pen()->SetColor(kIntervalLine);
    c->Pen()->SetWidth(1);
    // A trace starts at x = 1: a line at every minimal interval from there.
    for (int x = 1; x < b->Width(); x += kStepsPerInterval) {
        c->MoveTo(x, 0);
        c->LineTo(x, b->Height());
    }
}

void TTimersForm::DrawScale(TBitmap* b) {
    b->SetSize(kScaleWidth, kScaleHeight);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, b->Width(), b->Height()));
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(1);
    c->MoveTo(0, kScaleHeight - 4);
    c->LineTo(b->Width(), kScaleHeight - 4);
    // A tick per minimal interval, a long one every four.
    for (int k = 0, x = 1; x < b->Width(); ++k, x += kStepsPerInterval) {
        c->MoveTo(x, k % 4 ? kScaleHeight - 10 : 3);
        c->LineTo(x, kScaleHeight - 4);
    }
}

// ---- building -----------------------------------------------------------------------------

void TTimersForm::Build() {
    SetName("TimersForm");
    SetCaption("Отладчик"_a);
    SetPosition(poScreenCenter);
    SetWidth(800);
    SetHeight(RememberedHeight);

    DockEx1 = NewControl<TDockEx>(this, this, "DockEx1");
    DockEx1->SetPosition(dpTop);
    ActionList1 = NewComponent<TActionList>(this, "ActionList1");
    auto action = [&](const char* name, const AnsiString& caption) {
        TAction* a = NewComponent<TAction>(this, name);
        a->SetCaption(caption);
        a->SetActionList(ActionList1);
        return a;
    };
    ClearAction = action("ClearAction", "Очистить"_a);
    ClearAction->OnExecute = [this](TObject* s) { ClearActionExecute(s); };
    EditIntervalAction = action("EditIntervalAction", "Интервал"_a);
    EditIntervalAction->OnExecute = [this](TObject* s) { EditIntervalActionExecute(s); };
    DelAction = action("DelAction", "Удалить"_a);
    DelAction->OnExecute = [this](TObject* s) { DelActionExecute(s); };
    DelAction->OnUpdate = [this](TObject* s) { DelActionUpdate(s); };
    mvCenter = action("mvCenter", AnsiString());
    mvCenter->OnUpdate = [this](TObject* s) { mvCenterUpdate(s); };
    BuildToolbar();

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(30);
    Panel1->SetBevelOuter(bvNone);
    auto glyphButton = [&](auto* b, TDebugGlyph glyph, const AnsiString& hint, int x) {
        b->SetBounds(x, 3, 25, 25);
        b->SetGlyph(MakeDebugGlyph(glyph).get());
        b->SetHint(hint);
        b->SetShowHint(true);
        return b;
    };
    btRetry = glyphButton(NewControl<TSpeedButton>(this, Panel1, "btRetry"), dgRetry,
                          "Постоянный режим работы отладчика"_a, 4);
    btRetry->OnClick = [this](TObject* s) { btRetryClick(s); };
    btHalt = glyphButton(NewControl<TSpeedButton>(this, Panel1, "btHalt"), dgHalt, "Остановить отладчик"_a, 4);
    btHalt->OnClick = [this](TObject* s) { btHaltClick(s); };
    btHalt->SetVisible(false);
    BitBtn1 = glyphButton(NewControl<TBitBtn>(this, Panel1, "BitBtn1"), dgFormula,
                          "Формулы|Задать формулы для входных сигналов"_a, 32);
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    SpeedButton1 = glyphButton(NewControl<TSpeedButton>(this, Panel1, "SpeedButton1"), dgFitHeight,
                               "Показать все сигналы|Выровнять высоту окна по количеству сигналов"_a, 60);
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    SpeedButton2 = glyphButton(NewControl<TSpeedButton>(this, Panel1, "SpeedButton2"), dgFirstSize,
                               "Первоначальный размер| Вернуть окно к первоначальному размеру"_a, 88);
    SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
    MinInterval = NewControl<TLabel>(this, Panel1, "MinInterval");
    MinInterval->SetBounds(120, 9, 60, 13);
    MinInterval->SetCaption("1000 мс"_a);
    // The scale of the traces beside the interval one step of it stands for.
    TimerConst = NewControl<TImage>(this, Panel1, "TimerConst");
    TimerConst->SetBounds(186, 4, kScaleWidth, kScaleHeight);
    DrawScale(TimerConst->Picture()->Bitmap());
    TIm = NewControl<TImage>(this, Panel1, "TIm");
    TIm->SetVisible(false);
    TIm->SetBounds(0, 0, TTraceRow::kTraceWidth, kScaleHeight);
    DrawBackground(TIm->Picture()->Bitmap());

    ScrollMammy = NewControl<TScrollBox>(this, this, "ScrollMammy");
    ScrollMammy->SetAlign(alLeft);
    ScrollMammy->SetWidth(kNameColumnWidth);
    ScrollMammy->VertScrollBar()->SetIncrement(TTraceRow::kRowPitch);
    ScrollPapa = NewControl<TScrollBox>(this, this, "ScrollPapa");
    ScrollPapa->SetAlign(alClient);
    ScrollPapa->SetColor(clWhite);
    ScrollPapa->HorzScrollBar()->SetRange(TTraceRow::kTraceWidth);
    ScrollPapa->HorzScrollBar()->SetIncrement(20);
    ScrollPapa->VertScrollBar()->SetIncrement(TTraceRow::kRowPitch);
    // The name column's scroll bar moves both (mvCenter).
    ScrollPapa->VertScrollBar()->SetVisible(false);
    // Not the counters: a read-only number is no place for the focus.
    SetActiveControl(ScrollMammy);

    Timer1 = NewComponent<TTimer>(this, "Timer1");
    Timer1->SetEnabled(false);
    Timer1->SetInterval(kEventMs);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
}

void TTimersForm::BuildToolbar() {
    ToolbarEx1 = NewControl<TToolbarEx>(this, DockEx1, "ToolbarEx1");
    ToolbarEx1->SetCaption("Отладчик"_a);
    // The window's one bar spans its width, without a handle to grip.
    ToolbarEx1->SetFullSize(true);
    ToolbarEx1->SetDragHandleStyle(dhNone);
    ToolbarEx1->SetCloseButton(false);
    int separators = 0;
    auto separator = [&] { NewControl<TToolbarSepEx>(this, ToolbarEx1, "Sep" + IntToStr(++separators)); };
    auto textButton = [&](const char* name, int width) {
        auto* b = NewControl<TToolbarButtonEx>(this, ToolbarEx1, name);
        b->SetDisplayMode(dmTextOnly);
        b->SetBounds(0, 0, width, 22);
        b->SetShowHint(true);
        return b;
    };
    ToolbarButtonEx6 = textButton("ToolbarButtonEx6", 70);
    ToolbarButtonEx6->SetCaption("Обнулить"_a);
    ToolbarButtonEx6->SetHint("Обнулить значения всех сигналов|Обнулить значения всех сигналов"_a);
    ToolbarButtonEx6->OnClick = [this](TObject* s) { ToolbarButtonEx6Click(s); };
    separator();
    ToolbarButtonEx3 = textButton("ToolbarButtonEx3", 70);
    ToolbarButtonEx3->SetAction(ClearAction);
    ToolbarButtonEx4 = textButton("ToolbarButtonEx4", 70);
    ToolbarButtonEx4->SetAction(EditIntervalAction);
    ToolbarButtonEx5 = textButton("ToolbarButtonEx5", 64);
    ToolbarButtonEx5->SetAction(DelAction);
    separator();
    auto glyphButton = [&](const char* name, TDebugGlyph glyph, const AnsiString& hint) {
        auto* b = NewControl<TToolbarButtonEx>(this, ToolbarEx1, name);
        b->SetDisplayMode(dmGlyphOnly);
        b->SetGlyph(MakeDebugGlyph(glyph).get());
        b->SetHint(hint);
        b->SetShowHint(true);
        return b;
    };
    ToolbarButtonEx2 = glyphButton("ToolbarButtonEx2", dgDebugger,
                                   "Перейти в отладчик с комментариями|Перейти в отладчик с комментариями"_a);
    ToolbarButtonEx2->OnClick = [this](TObject* s) { ToolbarButtonEx2Click(s); };
    ToolbarButtonEx1 = glyphButton("ToolbarButtonEx1", dgScheme, "Перейти на схему|Перейти на схему"_a);
    ToolbarButtonEx1->OnClick = [this](TObject* s) { ToolbarButtonEx1Click(s); };
    separator();
    auto counter = [&](const char* labelName, TLabel*& label, const AnsiString& caption, int width, const char* name) {
        label = NewControl<TLabel>(this, ToolbarEx1, labelName);
        label->SetCaption(caption);
        label->SetLayout(tlCenter);
        label->SetAlignment(taCenter);
        label->SetAutoSize(false);
        label->SetBounds(0, 0, width, 22);
        TEdit* e = NewControl<TEdit>(this, ToolbarEx1, name);
        e->SetBounds(0, 0, 60, 22);
        e->SetReadOnly(true);
        e->SetText("0");
        return e;
    };
    CountRun = counter("Label1", Label1, "Запусков"_a, 66, "CountRun");
    separator();
    TimerTicks = counter("Label2", Label2, "Тиков"_a, 44, "TimerTicks");
    ToolbarEx1->SetDockPos(0);
}

// ---- creation, showing and activation ---------------------------------------------------------

void TTimersForm::FormCreate(TObject*) {
    if (InRows[0]) return;
    for (int i = 0; i < kMaxRows; ++i) {
        InRows[std::size_t(i)] = new TInGr(ScrollMammy, ScrollPapa, TIm->Picture()->Bitmap());
        InRows[std::size_t(i)]->SetName("InGr" + IntToStr(i + 1));
        InRows[std::size_t(i)]->SetParent(ScrollMammy);
        OutRows[std::size_t(i)] = new TOutGr(ScrollMammy, ScrollPapa, TIm->Picture()->Bitmap());
        OutRows[std::size_t(i)]->SetName("OutGr" + IntToStr(i + 1));
        OutRows[std::size_t(i)]->SetParent(ScrollMammy);
    }
    formulas_.History().Clear();
}

void TTimersForm::FormShow(TObject*) {
    SetMinInterval(fmDebug ? fmDebug->MinInterval : MinIntervalMs);
    ScrollPapa->VertScrollBar()->SetPosition(ScrollMammy->VertScrollBar()->Position());
    // A run of the debugger goes on here, drawn: this window's timer takes
    // it over (both timers at once would run emulated time at two rates).
    if (fmDebug && fmDebug->Timer->Enabled()) {
        fmDebug->Timer->SetEnabled(false);
        btRetryClick(this);
    }
}

void TTimersForm::FormActivate(TObject*) {
    // Back from a dialog of this window: the traces keep their history.
    if (returning_) {
        returning_ = false;
        return;
    }
    RebuildRows();
}

void TTimersForm::FormDeactivate(TObject* Sender) {
    TForm* now = Screen->ActiveForm();
    if (!now || now == this) return;
    if (ownDialog_) {
        returning_ = true;
        return;
    }
    ToolbarButtonEx1Click(Sender);
}

int TTimersForm::ShowOwnDialog(TForm* dialog) {
    ownDialog_ = true;
    TScopeGuard ownDialogClosed([this] { ownDialog_ = false; });
    return dialog->ShowModal();
}

void TTimersForm::FormHide(TObject*) {
    // A hidden diagram goes on running: the debugger shows its halt button.
    if (Timer1->Enabled()) btRetryClick(this);
}

void TTimersForm::FormClose(TObject*, TCloseAction&) {
    formulas_.Release();
    formulas_.History().Clear();
}

void TTimersForm::Open(int minInterval) {
    const int offered = TfmMTValue::Offered(minInterval);
    if (fmMTValue) fmMTValue->Val->SetValue(offered);
    ShowMinInterval(offered);
    Show();
}

void TTimersForm::ToolbarButtonEx1Click(TObject* Sender) {
    DelClearActionExecute(Sender);
    Hide();
}

void TTimersForm::ToolbarButtonEx2Click(TObject*) {
    Hide();
    ShowDebugWindow(this);
}

// ---- rows ----------------------------------------------------------------------------------

void TTimersForm::AddTrace(int byteAddress, int bit, bool flag, bool isOutput, const AnsiString& name, int signalIndex) {
    int& count = isOutput ? OutCount : InCount;
    if (count >= kMaxRows || !InRows[0]) return;
    TTraceRow* row = isOutput ? static_cast<TTraceRow*>(OutRows[std::size_t(count)]) : InRows[std::size_t(count)];
    row->Setup(name, byteAddress, flag, InCount + OutCount, bit, signalIndex);
    ++count;
    row->Show();
    row->ProgresTimer->Show();
}

void TTimersForm::DelClearActionExecute(TObject*) {
    for (int i = 0; i < kMaxRows && InRows[0]; ++i) {
        if (InRows[std::size_t(i)]->InUse) InRows[std::size_t(i)]->Remove();
        if (OutRows[std::size_t(i)]->InUse) OutRows[std::size_t(i)]->Remove();
    }
    InCount = OutCount = 0;
}

void TTimersForm::RebuildRows() {
    DelClearActionExecute(this);
    // The traces start again at the left, and so does the view of them.
    ScrollPapa->HorzScrollBar()->SetPosition(0);
    if (!fmDebug || !fmRun) return;
    TStrings* inputs = fmDebug->in_signal->Items();
    TStrings* outputs = fmDebug->out_signal->Items();
    // A signal on both sides of the debugger gets one trace of each kind.
    std::vector<int> tracedIn, tracedOut;
    auto traced = [](const std::vector<int>& rows, int row) { return std::find(rows.begin(), rows.end(), row) != rows.end(); };
    for (int i = 0; i < fmRun->Wanted.Count(); ++i) {
        const AnsiString name = fmRun->Wanted.Name(i);
        if (const int row = inputs->IndexOf(name); row >= 0 && !traced(tracedIn, row)) {
            tracedIn.push_back(row);
            const SignalsStr* s = fmDebug->InputSignal(row);
            if (!s || InCount >= kMaxRows) continue;
            AddTrace(s->ByteAddress, s->Bit, s->DriverType < 0, false, s->Name, int(fmDebug->in_signal->GetItemData(row)));
            InRows[std::size_t(InCount - 1)]->SetLevel(fmDebug->in_signal->GetChecked(row) ? 1 : 0);
        } else if (const int out = outputs->IndexOf(name); out >= 0 && !traced(tracedOut, out)) {
            tracedOut.push_back(out);
            if (const SignalsStr* s = fmDebug->OutputSignal(out))
                AddTrace(s->ByteAddress, s->Bit, false, true, s->Name, int(fmDebug->out_signal->GetItemData(out)));
        }
    }
    ResolveFormulas();
}

std::vector<AnsiString> TTimersForm::InputNames() {
    std::vector<AnsiString> names;
    for (int i = 0; i < InCount; ++i) names.push_back(InRows[std::size_t(i)]->Name());
    return names;
}

void TTimersForm::ClearActionExecute(TObject*) {
    for (int i = 0; i < kMaxRows && InRows[0]; ++i) {
        if (InRows[std::size_t(i)]->InUse) InRows[std::size_t(i)]->ResetTrace();
        if (OutRows[std::size_t(i)]->InUse) OutRows[std::size_t(i)]->ResetTrace();
    }
    ScrollPapa->HorzScrollBar()->SetPosition(0);
}

void TTimersForm::DelActionExecute(TObject* Sender) {
    DelClearActionExecute(Sender);
    formulas_.RetireAll();
    ClearDebugSignals();
}

void TTimersForm::DelActionUpdate(TObject*) {
    const bool any = InCount + OutCount > 0;
    DelAction->SetEnabled(any);
    ClearAction->SetEnabled(any);
}

void TTimersForm::mvCenterUpdate(TObject*) {
    TControlScrollBar* papa = ScrollPapa->VertScrollBar();
    const int position = ScrollMammy->VertScrollBar()->Position();
    if (papa->Position() != position) papa->SetPosition(position);
}

void TTimersForm::SpeedButton1Click(TObject*) {
    const int h = (InCount + OutCount) * TTraceRow::kRowPitch + kHeightBeyondRows;
    if (Height() != h) RememberedHeight = Height();
    SetHeight(h);
}

void TTimersForm::SpeedButton2Click(TObject*) { SetHeight(RememberedHeight); }

void TTimersForm::ToolbarButtonEx6Click(TObject*) {
    if (fmDebug) fmDebug->Button1Click(fmDebug->Button1);
    // Zeroing starts the run over: the formulas begin again with their first steps.
    formulas_.Restart(*this);
    for (int i = 0; i < InCount; ++i) InRows[std::size_t(i)]->DrawStep();
    for (int i = 0; i < OutCount; ++i) OutRows[std::size_t(i)]->DrawStep();
}

void TTimersForm::ToggleTrace(int, int signalIndex) {
    // Only a trace that shows the same signal: a row of another one, or a
    // signal the 30 rows left out, is no business of this.
    for (int i = 0; i < InCount; ++i)
        if (InRows[std::size_t(i)]->SignalIndex == signalIndex) InRows[std::size_t(i)]->InSignClick();
}

// ---- running -------------------------------------------------------------------------------

void TTimersForm::SetMinInterval(int ms) {
    // An interval the dialog does not offer (0 from a timer of no time, or
    // from a debugger that has not set one yet) is the nearest one it does,
    // so the label, the rate and the dialog agree.
    MinIntervalMs = TfmMTValue::Offered(ms);
    const int rate = MinIntervalMs / int(Timer1->Interval());
    Rate = rate >= 1 ? rate : 1;
}

void TTimersForm::Timer1Timer(TObject*) {
    TVAC* vac = Emulator();
    if (!vac) return;
    vac->Run();
    if (Rate > kStepsPerInterval) {
        for (int k = 0; k < Rate / kStepsPerInterval; ++k) {
            vac->Tick();
            FormulaStep(1);
        }
    } else if (kStepsPerInterval / Rate > EventCounter) {
        ++EventCounter;
    } else {
        vac->Tick();
        FormulaStep(1);
        EventCounter = 1;
    }
    for (int i = 0; i < InCount; ++i) InRows[std::size_t(i)]->DrawStep();
    for (int i = 0; i < OutCount; ++i) OutRows[std::size_t(i)]->DrawStep();
}

void TTimersForm::btRetryClick(TObject*) {
    if (fmDebug) fmDebug->ShowRunButtons(true);
    else ShowRunning(true);
    Timer1->SetEnabled(true);
}

void TTimersForm::btHaltClick(TObject*) {
    if (fmDebug) fmDebug->Halt();
    ShowRunning(false);
    Timer1->SetEnabled(false);
}

void TTimersForm::ShowRunning(bool running) {
    btRetry->SetVisible(!running);
    btHalt->SetVisible(running);
}

void TTimersForm::StopTimer() { Timer1->SetEnabled(false); }

void TTimersForm::ShowRunCount(int runs) { CountRun->SetText(IntToStr(runs)); }

void TTimersForm::ShowTickCount(int ticks) { TimerTicks->SetText(IntToStr(ticks)); }

void TTimersForm::ShowMinInterval(int minInterval) { MinInterval->SetCaption(IntToStr(minInterval) + " мс"_a); }

// ---- dialogs -------------------------------------------------------------------------------

void TTimersForm::EditIntervalActionExecute(TObject*) {
    if (!fmMTValue) return;
    // The dialog offers the interval in use; only "Да" changes it.
    fmMTValue->Val->SetValue(MinIntervalMs);
    if (ShowOwnDialog(fmMTValue) != mrOk) return;
    SetMinInterval(fmMTValue->Interval());
    ShowMinInterval(MinIntervalMs);
}

void TTimersForm::BitBtn1Click(TObject*) {
    if (!fmFormuls) return;
    fmFormuls->Owner = this;
    ShowOwnDialog(fmFormuls);
}

// ---- formulas ------------------------------------------------------------------------------

void TTimersForm::FormulaStep(int increment) { formulas_.Step(increment, *this); }

void TTimersForm::NextStep(int index, bool advance) { formulas_.NextStep(index, advance, *this); }

void TTimersForm::DeleteFormula(int index) { formulas_.Delete(index); }

TInGr* TTimersForm::FormulaRow(const FormulStr& f) const {
    if (f.Row < 0 || f.Row >= InCount) return nullptr;
    TInGr* row = InRows[std::size_t(f.Row)];
    return row->InUse && SameText(row->Name(), f.Name) ? row : nullptr;
}

void TTimersForm::ResolveFormulas() {
    for (int i = formulas_.Count() - 1; i >= 0; --i) {
        FormulStr& f = formulas_[i];
        f.Row = -1;
        for (int r = 0; r < InCount; ++r)
            if (SameText(InRows[std::size_t(r)]->Name(), f.Name)) f.Row = r;
        // A signal the debugger no longer has as an input: nothing to drive.
        if (f.Row < 0 && (!fmDebug || fmDebug->in_signal->Items()->IndexOf(f.Name) < 0)) formulas_.Retire(i);
    }
}

void TTimersForm::Scan() {
    if (TVAC* vac = Emulator()) vac->Run();
}

void TTimersForm::OutputsFollow() {
    for (int i = 0; i < OutCount; ++i) OutRows[std::size_t(i)]->Follow();
}

int TTimersForm::InputLevel(const FormulStr& f) {
    if (TInGr* row = FormulaRow(f)) return row->Level;
    // The diagram is hidden (or its rows left the signal out): the debugger's row.
    const int row = fmDebug ? fmDebug->in_signal->Items()->IndexOf(f.Name) : -1;
    return row >= 0 && fmDebug->in_signal->GetChecked(row) ? 1 : 0;
}

void TTimersForm::ToggleInput(const FormulStr& f) {
    if (TInGr* row = FormulaRow(f)) {
        row->InSignClick();
        return;
    }
    const int row = fmDebug ? fmDebug->in_signal->Items()->IndexOf(f.Name) : -1;
    if (row < 0) return;
    if (const SignalsStr* s = fmDebug->InputSignal(row))
        fmDebug->SetInput(s->ByteAddress, s->Bit, !fmDebug->in_signal->GetChecked(row));
}
