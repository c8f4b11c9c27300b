#include "debugger/ui/For.h"

#include "controls/gui/EXSpin.h"
#include "controls/gui/ExCheckListBox.h"
#include "debugger/Vac.h"
#include "debugger/ui/DebugGlyphs.h"
#include "debugger/ui/Debuginf.h"
#include "debugger/ui/Sharefun.h"
#include "document/DriversInfo.h"
#include "platform/Bitmap.h"

TfmDebug* fmDebug = nullptr;

namespace {

// The period of continuous mode and the length of one timer tick.
constexpr unsigned kTickMs = 50;

ITimingView* Timing() { return DebuggerHooks().Timing; }

} // namespace

TfmDebug::TfmDebug(TComponent* owner) : TForm(owner), commentList_(std::make_unique<TStringList>()) {
    Build();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
    // Closed by its window frame: no timer may go on scanning a hidden window.
    OnClose = [this](TObject*, TCloseAction&) { Halt(); };
}

TfmDebug::~TfmDebug() {
    if (Emulator() == vac_.get()) SetEmulator(nullptr);
    if (fmDebug == this) fmDebug = nullptr;
}

void TfmDebug::Build() {
    SetName("fmDebug");
    SetCaption("Отладчик"_a);
    SetPosition(poScreenCenter);
    SetClientWidth(470);
    SetClientHeight(408);
    KeyPreview = true;

    auto label = [&](const char* name, const AnsiString& caption, int x, int y) {
        TLabel* l = NewControl<TLabel>(this, this, name);
        l->SetCaption(caption);
        l->SetLeft(x);
        l->SetTop(y);
        return l;
    };
    Label1 = label("Label1", "Входные сигналы"_a, 8, 6);
    Label2 = label("Label2", "Выходные сигналы"_a, 240, 6);
    auto list = [&](const char* name, int x, int width) {
        TExCheckListBox* l = NewControl<TExCheckListBox>(this, this, name);
        l->SetBounds(x, 24, width, 170);
        l->SetCheckKind(ckCheckMarks);
        l->SetMultiSelect(true);
        return l;
    };
    in_signal = list("in_signal", 8, 224);
    out_signal = list("out_signal", 240, 222);
    out_signal->SetAnchors(akLeft | akTop | akRight);
    in_signal->OnKeyUp = [this](TObject* s, WORD& key, TShiftState shift) { in_signalKeyUp(s, key, shift); };
    out_signal->OnKeyUp = [this](TObject* s, WORD& key, TShiftState shift) { in_signalKeyUp(s, key, shift); };
    // A check mark is read at the next scan; clicking it does nothing else.
    in_signal->OnClickCheck = [](TObject*) {};

    Label3 = label("Label3", "Сообщения"_a, 8, 202);
    CommentOut = NewControl<TMemo>(this, this, "CommentOut");
    CommentOut->SetBounds(8, 220, 454, 110);
    CommentOut->SetAnchors(akLeft | akTop | akRight | akBottom);
    CommentOut->SetReadOnly(true);
    CommentOut->SetScrollBars(ssBoth);
    CommentOut->SetWordWrap(false);

    auto glyphButton = [&](const char* name, TDebugGlyph glyph, const AnsiString& hint, int x) {
        TSpeedButton* b = NewControl<TSpeedButton>(this, this, name);
        b->SetBounds(x, 342, 25, 25);
        b->SetAnchors(akLeft | akBottom);
        b->SetGlyph(MakeDebugGlyph(glyph).get());
        b->SetHint(hint);
        b->SetShowHint(true);
        return b;
    };
    btRetry = glyphButton("btRetry", dgRetry, "Постоянный режим работы отладчика"_a, 8);
    btRetry->OnClick = [this](TObject* s) { btRetryClick(s); };
    btHalt = glyphButton("btHalt", dgHalt, "Остановить отладчик"_a, 8);
    btHalt->OnClick = [this](TObject* s) { btHaltClick(s); };
    btHalt->SetVisible(false);
    btStep = glyphButton("btStep", dgStep, "Пошаговый режим отладчика"_a, 36);
    btStep->OnClick = [this](TObject* s) { btStepClick(s); };
    ButTimers = glyphButton("ButTimers", dgTimers, "Показать сигналы"_a, 64);
    ButTimers->OnClick = [this](TObject* s) { ButTimersClick(s); };
    // The timing diagram is a window of its own; without it there is nothing to show.
    ButTimers->SetVisible(Timing() != nullptr);
    btIncrementTimers = glyphButton("btIncrementTimers", dgIncrement, "Инкрементировать все таймеры"_a, 92);
    btIncrementTimers->OnClick = [this](TObject* s) { btIncrementTimersClick(s); };
    TimeIncr = NewControl<TExSpinEdit>(this, this, "TimeIncr");
    TimeIncr->SetButtonKind(bkStandard);
    TimeIncr->SetBounds(120, 344, 70, 21);
    TimeIncr->SetAnchors(akLeft | akBottom);
    TimeIncr->MinValue = 50;
    TimeIncr->MaxValue = 50000;
    TimeIncr->Increment = 50;
    TimeIncr->SetValue(50);

    auto counter = [&](const char* name, const AnsiString& hint, int x) {
        TEdit* e = NewControl<TEdit>(this, this, name);
        e->SetBounds(x, 344, 60, 21);
        e->SetAnchors(akLeft | akBottom);
        e->SetReadOnly(true);
        e->SetText("0");
        e->SetHint(hint);
        e->SetShowHint(true);
        return e;
    };
    Label4 = label("Label4", "Запусков"_a, 200, 347);
    Label4->SetAnchors(akLeft | akBottom);
    CountRun = counter("CountRun", "Количество запусков отладчика"_a, 262);
    Label5 = label("Label5", "Тиков"_a, 332, 347);
    Label5->SetAnchors(akLeft | akBottom);
    TimerTicks = counter("TimerTicks", "Количество тиков таймера (по 50 мс каждый)"_a, 372);

    ActionList1 = NewComponent<TActionList>(this, "ActionList1");
    DeleteAction = NewComponent<TAction>(this, "DeleteAction");
    DeleteAction->SetCaption("Удалить"_a);
    DeleteAction->SetActionList(ActionList1);
    DeleteAction->OnExecute = [this](TObject* s) { DeleteActionExecute(s); };
    DeleteAction->OnUpdate = [this](TObject* s) { DeleteActionUpdate(s); };
    DeleteAction->SetEnabled(false);
    HelpAction = NewComponent<TAction>(this, "HelpAction");
    HelpAction->SetCaption("Помощь"_a);
    HelpAction->SetShortCut(ShortCut(VK_F1, 0));
    HelpAction->SetActionList(ActionList1);
    HelpAction->OnExecute = [this](TObject* s) { HelpActionExecute(s); };

    auto button = [&](auto* b, const AnsiString& caption, int x) {
        b->SetBounds(x, 376, 85, 25);
        b->SetAnchors(akLeft | akBottom);
        if (!caption.IsEmpty()) b->SetCaption(caption);
        return b;
    };
    Button1 = button(NewControl<TButton>(this, this, "Button1"), "Обновить"_a, 8);
    Button1->SetHint("Обновить список сигналов"_a);
    Button1->SetShowHint(true);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    btDelSignals = button(NewControl<TButton>(this, this, "btDelSignals"), AnsiString(), 99);
    btDelSignals->SetAction(DeleteAction);
    BitBtn1 = button(NewControl<TBitBtn>(this, this, "BitBtn1"), AnsiString(), 190);
    BitBtn1->SetAction(HelpAction);
    btClose = button(NewControl<TButton>(this, this, "btClose"), "Выход"_a, 377);
    btClose->SetAnchors(akRight | akBottom);
    btClose->OnClick = [this](TObject* s) { btCloseClick(s); };

    Timer = NewComponent<TTimer>(this, "Timer");
    Timer->SetEnabled(false);
    Timer->SetInterval(kTickMs);
    Timer->OnTimer = [this](TObject* s) { TimerTimer(s); };
}

// ---- creation and the emulator ---------------------------------------------------------

void TfmDebug::FormCreate(TObject*) {
    loaded_ = mapped_ = Running = false;
    commentList_->Clear();
    drivers_ = std::make_unique<TDriversInfo>();
    driverTable_ = std::make_unique<TDriverTableAdapter>(drivers_.get());
    MakeEmulator(AnsiString());
}

void TfmDebug::FormDestroy(TObject*) {
    Timer->SetEnabled(false);
    if (Emulator() == vac_.get()) SetEmulator(nullptr);
    vac_.reset();
    driverTable_.reset();
    drivers_.reset();
}

void TfmDebug::MakeEmulator(const AnsiString& fileName) {
    // The new emulator is in the cell before the old one goes.
    std::unique_ptr<TVAC> fresh = std::make_unique<TVAC>(this, driverTable_.get());
    fresh->FileName = fileName;
    vac_.swap(fresh);
    SetEmulator(vac_.get());
}

void TfmDebug::InitTVACActionUpdate() {
    TDriversInfo::Assign(drivers_.get(), &DriversInUse());
    vac_->FileName = AnsiString();
    if (vac_->Load() != kLoadOk) {
        // The emulator has said why.
        Close();
        return;
    }
    loaded_ = true;
    IntervalChosen = false;
    if (mapped_) {
        SetComments(nullptr, {});
        mapped_ = false;
    }
}

void TfmDebug::LoadDebugData(bool recreate) {
    if (loaded_ && recreate) {
        const AnsiString name = vac_->FileName;
        MakeEmulator(name);
        loaded_ = false;
        LoadDebugData(false);
        return;
    }
    if (loaded_) return;
    TDriversInfo::Assign(drivers_.get(), &DriversInUse());
    if (vac_->Load() != kLoadOk) return;
    loaded_ = true;
    IntervalChosen = false;
    if (mapped_) {
        SetComments(nullptr, {});
        mapped_ = false;
    }
    MapSignalsOnce();
}

void TfmDebug::MapSignalsOnce() {
    if (fmRun) fmRun->MapSignals(false);
    mapped_ = true;
}

void TfmDebug::SetComments(TStrings* comments, const std::vector<int>& signalOfLine) {
    commentList_->Clear();
    if (comments) commentList_->Assign(comments);
    commentMap_ = signalOfLine;
    commentMap_.resize(std::size_t(commentList_->Count()), -1);
    commentKeys_.clear();
    for (int i = 0; i < commentList_->Count(); ++i) commentKeys_.push_back(AnsiUpperCase((*commentList_)[i]).str());
    shown_.clear();
    shownLines_.clear();
    shownKeys_.clear();
    CommentOut->Lines()->Clear();
}

// ---- rows ------------------------------------------------------------------------------------

const SignalsStr* TfmDebug::SignalOf(const TExCheckListBox* list, int row) const {
    if (!vac_ || row < 0 || row >= list->Items()->Count()) return nullptr;
    const std::intptr_t index = list->GetItemData(row);
    if (index < 0 || index >= std::intptr_t(vac_->Signals().size())) return nullptr;
    return &vac_->Signals()[std::size_t(index)];
}

const SignalsStr* TfmDebug::InputSignal(int row) const { return SignalOf(in_signal, row); }

const SignalsStr* TfmDebug::OutputSignal(int row) const { return SignalOf(out_signal, row); }

void TfmDebug::AddSignal(const AnsiString& name, bool isOutput, int signalIndex) {
    TExCheckListBox* list = isOutput ? out_signal : in_signal;
    if (list->Items()->IndexOf(name) >= 0) return;
    const int row = list->Items()->Add(name);
    list->SetItemData(row, signalIndex);
    if (isOutput) return;
    // An internal signal keeps the engineer's value although elements write it.
    const SignalsStr* s = InputSignal(row);
    if (s && s->DriverType < 0) vac_->AddForcedInput(s->ByteAddress, s->Bit, row);
}

void TfmDebug::ClearRows() {
    in_signal->Items()->Clear();
    out_signal->Items()->Clear();
    if (vac_) vac_->ClearForcedInputs();
}

bool TfmDebug::SetInput(int byteAddress, int bit, bool value) {
    for (int row = 0; row < in_signal->Items()->Count(); ++row) {
        const SignalsStr* s = InputSignal(row);
        if (!s || s->ByteAddress != byteAddress || s->Bit != bit) continue;
        in_signal->SetChecked(row, value);
        vac_->SetBit(byteAddress, bit, value);
        return true;
    }
    return false;
}

bool TfmDebug::IsOutputChecked(int byteAddress, int bit) const {
    for (int row = 0; row < out_signal->Items()->Count(); ++row) {
        const SignalsStr* s = OutputSignal(row);
        if (s && s->ByteAddress == byteAddress && s->Bit == bit) return out_signal->GetChecked(row);
    }
    return false;
}

void TfmDebug::DeleteRows(TExCheckListBox* list, bool inputs) {
    for (int row = list->Items()->Count() - 1; row >= 0; --row) {
        if (!list->GetSelected(row)) continue;
        if (fmRun) fmRun->Wanted.Remove(list->Items()->Get(row));
        // Forced inputs of later rows move up with their rows.
        if (inputs) vac_->InputRowDeleted(row);
        list->Items()->Delete(row);
    }
}

void TfmDebug::DeleteActionExecute(TObject*) {
    DeleteRows(in_signal, true);
    DeleteRows(out_signal, false);
}

void TfmDebug::DeleteActionUpdate(TObject*) {
    DeleteAction->SetEnabled(in_signal->SelCount() > 0 || out_signal->SelCount() > 0);
}

void TfmDebug::in_signalKeyUp(TObject* Sender, WORD& Key, TShiftState) {
    if (Key == VK_DELETE) DeleteActionExecute(Sender);
}

// ---- the emulator's calls ----------------------------------------------------------------

void TfmDebug::RefreshSignals(bool outputs) {
    if (!outputs) {
        for (int row = 0; row < in_signal->Items()->Count(); ++row)
            if (const SignalsStr* s = InputSignal(row)) vac_->SetBit(s->ByteAddress, s->Bit, in_signal->GetChecked(row));
    } else {
        for (int row = 0; row < out_signal->Items()->Count(); ++row) {
            const SignalsStr* s = OutputSignal(row);
            const bool on = s && vac_->GetBit(s->ByteAddress, s->Bit) != 0;
            if (out_signal->GetChecked(row) != on) out_signal->SetChecked(row, on);
        }
    }
    if (!Timing() || !Timing()->IsVisible()) RefreshComments();
}

void TfmDebug::RefreshComments() {
    const std::vector<SignalsStr>& signals = vac_->Signals();
    bool changed = false;
    for (int i = 0; i < commentList_->Count(); ++i) {
        const int index = commentMap_[std::size_t(i)];
        const bool on = index >= 0 && index < int(signals.size()) &&
                        vac_->GetBit(signals[std::size_t(index)].ByteAddress, signals[std::size_t(index)].Bit) != 0;
        const std::string& key = commentKeys_[std::size_t(i)];
        if (on == (shown_.count(key) != 0)) continue;
        changed = true;
        if (on) {
            shownLines_.push_back((*commentList_)[i]);
            shownKeys_.push_back(key);
            shown_.insert(key);
        } else {
            for (std::size_t k = 0; k < shownKeys_.size(); ++k)
                if (shownKeys_[k] == key) {
                    shownLines_.erase(shownLines_.begin() + std::ptrdiff_t(k));
                    shownKeys_.erase(shownKeys_.begin() + std::ptrdiff_t(k));
                    break;
                }
            shown_.erase(key);
        }
    }
    if (!changed) return;
    TStrings* lines = CommentOut->Lines();
    lines->BeginUpdate();
    lines->Clear();
    for (const AnsiString& line : shownLines_) lines->Add(line);
    lines->EndUpdate();
}

void TfmDebug::ReadInputs(TVAC&) { RefreshSignals(false); }

void TfmDebug::ShowOutputs(TVAC&) { RefreshSignals(true); }

bool TfmDebug::InputChecked(int row) { return row >= 0 && row < in_signal->Items()->Count() && in_signal->GetChecked(row); }

bool TfmDebug::IsDebuggerVisible() { return Visible() || (Timing() && Timing()->IsVisible()); }

void TfmDebug::ShowRunCount(int runs) {
    if (vac_ && vac_->SuppressDisplay) {
        pendingRuns_ = runs;
        return;
    }
    CountRun->SetText(IntToStr(runs));
    if (Timing()) Timing()->ShowRunCount(runs);
}

void TfmDebug::ShowTickCount(int ticks) {
    TimerTicks->SetText(IntToStr(ticks));
    if (Timing()) Timing()->ShowTickCount(ticks);
}

void TfmDebug::FlushCounters() {
    if (pendingRuns_ < 0) return;
    CountRun->SetText(IntToStr(pendingRuns_));
    if (Timing()) Timing()->ShowRunCount(pendingRuns_);
    pendingRuns_ = -1;
}

void TfmDebug::Message(const AnsiString& text) { ShowMessage(text); }

// ---- running ------------------------------------------------------------------------------

void TfmDebug::ScanOnce() { vac_->Run(); }

void TfmDebug::TimerTimer(TObject*) {
    vac_->Tick();
    vac_->Run();
}

void TfmDebug::ShowRunButtons(bool running) {
    btRetry->SetVisible(!running);
    btHalt->SetVisible(running);
    if (Timing()) Timing()->ShowRunning(running);
}

void TfmDebug::btRetryClick(TObject*) {
    if (!loaded_) {
        InitTVACActionUpdate();
        if (!loaded_) return;
    }
    if (!mapped_) MapSignalsOnce();
    Running = true;
    ShowRunButtons(true);
    Timer->SetEnabled(true);
}

void TfmDebug::Halt() {
    Running = false;
    ShowRunButtons(false);
    if (Timing()) Timing()->StopTimer();
    Timer->SetEnabled(false);
}

void TfmDebug::btHaltClick(TObject*) { Halt(); }

void TfmDebug::btStepClick(TObject*) {
    if (!loaded_) {
        InitTVACActionUpdate();
        if (!loaded_) return;
    }
    if (!mapped_) MapSignalsOnce();
    Halt();
    ScanOnce();
}

void TfmDebug::btIncrementTimersClick(TObject*) {
    const double limit = TimeIncr->Value();
    for (int t = 0; t < limit; t += int(kTickMs)) vac_->Tick();
}

void TfmDebug::ButTimersClick(TObject*) {
    ITimingView* timing = Timing();
    if (!timing) return;
    // From this window shown as from the frame: the diagram's interval is
    // the loaded program's shortest timer (an interval nothing computed would
    // leave a timer crawling at a tick every 25 steps), unless the user chose
    // one for this program in the interval dialog.
    if (Visible()) Hide();
    else if (!loaded_) InitTVACActionUpdate();
    if (!IntervalChosen) MinInterval = vac_->MinTimerPreset() * int(kTickMs);
    timing->Open(MinInterval);
}

void TfmDebug::ChooseInterval(int ms) {
    MinInterval = ms;
    IntervalChosen = true;
}

void TfmDebug::Button1Click(TObject*) {
    vac_->ClearImages();
    for (int row = 0; row < in_signal->Items()->Count(); ++row) {
        if (!in_signal->GetChecked(row)) continue;
        if (Timing()) Timing()->ToggleTrace(row, int(in_signal->GetItemData(row)));
        in_signal->SetChecked(row, false);
    }
    RefreshSignals(true);
}

void TfmDebug::HelpActionExecute(TObject*) { Application->HelpJump("Отладка с комментариями к сигналам"_a); }

// ---- showing and hiding -----------------------------------------------------------------

void TfmDebug::FormShow(TObject*) {
    ButTimers->SetVisible(Timing() != nullptr);
    if (fmRun) fmRun->RestoreSelection();
    // The messages wait while the timing diagram runs the program: shown
    // again, the window says what holds now, not what held when it hid.
    if (loaded_) RefreshComments();
}

void TfmDebug::btCloseClick(TObject*) {
    Halt();
    Hide();
}

void TfmDebug::FormDeactivate(TObject*) {
    // Only another window of the program sends the debugger away; a message
    // box leaves it as it is.
    TForm* now = Screen->ActiveForm();
    if (!now || now == this) return;
    Halt();
    Hide();
}
