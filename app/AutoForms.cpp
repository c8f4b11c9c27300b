#include "app/AutoForms.h"

#include "app/Main.h"
#include "app/Progress.h"
#include "app/ProjectDlg.h"
#include "app/Stat.h"
#include "debugger/ui/Debuginf.h"
#include "debugger/ui/For.h"
#include "debugger/ui/Formuls.h"
#include "debugger/ui/InpOutp.h"
#include "debugger/ui/MT.h"
#include "debugger/ui/Sharefun.h"
#include "debugger/ui/TimerUn.h"
#include "document/InitModule.h"
#include "document/Project.h"
#include "editor/AddDriver.h"
#include "editor/AddPin.h"
#include "editor/AddTypeDrv.h"
#include "editor/AutoName.h"
#include "editor/CheckConnect.h"
#include "editor/DelayDlg.h"
#include "editor/ElementDlg.h"
#include "editor/FindSign.h"
#include "editor/InsertElement.h"
#include "editor/InsertPin.h"
#include "editor/ListElement.h"
#include "editor/OpenSym.h"
#include "editor/Option.h"
#include "editor/PinDriver.h"
#include "editor/ShowExport.h"
#include "editor/SymbolDlg.h"
#include "editor/TriggerDlg.h"
#include "editor/Unit10.h"
#include "editor/Unit5.h"
#include "editor/Unit9.h"
#include "editor/connectChains.h"
#include "editor/gotoparam.h"
#include "editor/qrprint.h"
#include "fsm/gui/FSMCond.h"
#include "fsm/gui/fsmPins.h"
#include "fsm/gui/stProp.h"
#include "translator/Logfile.h"
#include "translator/TranslatorHost.h"

namespace {

template <class T>
void Make(T*& global) {
    Application->CreateForm(global);
}

void MakeInitModule() {
    if (!InitModule) new TInitModule(Application);
}

void MakeProgress() {
    Application->CreateForm(ProgressForm);
    // The translations show their progress in it.
    TranslatorHooks().Progress = ProgressForm;
}

void MakeShowExport() {
    Application->CreateForm(ShowExportDlg);
    // The viewer shows the work files of the open project, else those of
    // the translator's last run.
    ShowExportDlg->WorkDirectory = [] {
        if (!MainForm) return AnsiString();
        if (MainForm->CurrentProject) return MainForm->CurrentProject->GetDir();
        return MainForm->LogFile ? MainForm->LogFile->Directory() : AnsiString();
    };
}

// The debugger's entry points as the frame hands them to the scheme windows.
class TFrameDebugger : public IFrameDebugger {
public:
    void OpenDebugData(const AnsiString& dataFile, const AnsiString& emulatorFile, bool force) override {
        ::OpenDebugData(dataFile, emulatorFile, force);
    }
    void RunSignatureAnalysis(const AnsiString& dataFile, const AnsiString& emulatorFile) override {
        ::RunSignatureAnalysis(dataFile, emulatorFile);
    }
    void AddSignalsToDebug(TStrings* inputs, TStrings* outputs) override { ::AddSignalsToDebug(inputs, outputs); }
    void AddSignalToDebug(const AnsiString& name, int kind) override { ::AddSignalToDebug(name, kind); }
    bool IsDebugWindowInactive() override { return ::IsDebugWindowInactive(); }
};

void MakeDebugger() {
    Application->CreateForm(fmDebug);
    static TFrameDebugger debugger;
    FrameWindowFactories().Debugger = &debugger;
    // The analyser's search buttons use the frame's signal search whenever one is registered.
    DebuggerHooks().FindSignal = [](const AnsiString& name) {
        if (auto& find = FrameWindowFactories().FindSignal) find(name);
    };
    DebuggerHooks().CanFindSignal = [] { return bool(FrameWindowFactories().FindSignal); };
}

void MakeSignalQuestion() {
    Application->CreateForm(fmIO);
    // The scheme model asks through the frame which side an internal signal
    // put into the debugger goes to.
    FrameWindowFactories().SignalDirection = [](const AnsiString& name) { return fmIO ? fmIO->Ask(name) : -1; };
}

void MakeFindSignal() {
    Application->CreateForm(FindSignalDlg);
    // Other windows search a signal by name through the frame's search.
    FrameWindowFactories().FindSignal = [](const AnsiString& name) {
        if (!MainForm || !FindSignalDlg) return;
        FindSignalDlg->ComboBox->SetText(name);
        MainForm->FindActionExecute(MainForm->FindAction);
    };
}

void MakeOptions() {
    Application->CreateForm(OptionDlg);
    // Five of the options are the frame's stored values.
    if (MainForm) OptionDlg->FormS = MainForm->FormS;
}

void MakeJoinQuestion() {
    Application->CreateForm(fmConnect);
    // The scheme model asks through the frame how two named chains join.
    FrameWindowFactories().JoinChains = [](const AnsiString& first, const AnsiString& second, AnsiString& joined) {
        return fmConnect && fmConnect->Ask(first, second, joined);
    };
}

} // namespace

const std::array<TAutoForm, kAutoFormCount>& AutoForms() {
    static const std::array<TAutoForm, kAutoFormCount> table{{
        {"TMainForm", "MainForm", [] { Make(MainForm); }},
        {"TInitModule", "InitModule", MakeInitModule},
        {"TfmRun", "fmRun", [] { Make(fmRun); }},
        {"TAddDriverForm", "AddDriverForm", [] { Make(AddDriverForm); }},
        {"TAddPinForm", "AddPinForm", [] { Make(AddPinForm); }},
        {"TAddTypeDrvForm", "AddTypeDrvForm", [] { Make(AddTypeDrvForm); }},
        {"TFindSignalDlg", "FindSignalDlg", MakeFindSignal},
        {"TfmDebug", "fmDebug", MakeDebugger},
        {"TfmFormuls", "fmFormuls", [] { Make(fmFormuls); }},
        {"TfmIO", "fmIO", MakeSignalQuestion},
        {"TInsertPinForm", "InsertPinForm", [] { Make(InsertPinForm); }},
        {"TListElementDlg", "ListElementDlg", [] { Make(ListElementDlg); }},
        {"TfmMTValue", "fmMTValue", [] { Make(fmMTValue); }},
        {"TOptionDlg", "OptionDlg", MakeOptions},
        {"TProgressForm", "ProgressForm", MakeProgress},
        {"TProjectDlg", "ProjectDlg", [] { Make(ProjectDlg); }},
        {"TReport1", "Report1", [] { Make(Report1); }},
        {"TShowExportDlg", "ShowExportDlg", MakeShowExport},
        {"TTimersForm", "TimersForm", [] { Make(TimersForm); }},
        {"TForm8", "Form8", [] { Make(Form8); }},
        {"TForm1", "Form1", [] { Make(Form1); }},
        {"TForm4", "Form4", [] { Make(Form4); }},
        {"TfmPrewIm", "fmPrewIm", [] { Make(fmPrewIm); }},
        {"TForm2", "Form2", [] { Make(Form2); }},
        {"TForm3", "Form3", [] { Make(Form3); }},
        {"TForm5", "Form5", [] { Make(Form5); }},
        {"TForm9", "Form9", [] { Make(Form9); }},
        {"TForm7", "Form7", [] { Make(Form7); }},
        {"TInsertElementForm", "InsertElementForm", [] { Make(InsertElementForm); }},
        {"TPinDriverDlg", "PinDriverDlg", [] { Make(PinDriverDlg); }},
        {"TfmOpenSymbolFile", "fmOpenSymbolFile", [] { Make(fmOpenSymbolFile); }},
        {"TForm10", "Form10", [] { Make(Form10); }},
        {"TForm6", "Form6", [] { Make(Form6); }},
        {"TCheckConnectivityDialog", "CheckConnectivityDialog", [] { Make(CheckConnectivityDialog); }},
        {"TfmConnect", "fmConnect", MakeJoinQuestion},
        {"TfmFSMCond", "fmFSMCond", [] { Make(fmFSMCond); }},
        {"TfmPins", "fmPins", [] { Make(fmPins); }},
        {"TfmStProp", "fmStProp", [] { Make(fmStProp); }},
        {"TForm12", "Form12", [] { Make(Form12); }},
        {"TfmAutoNames", "fmAutoNames", [] { Make(fmAutoNames); }},
        {"TfmStat", "fmStat", [] { Make(fmStat); }},
    }};
    return table;
}

void CreateAutoForms(const std::function<void(int)>& progress) {
    const auto& table = AutoForms();
    for (int i = 0; i < kAutoFormCount; ++i) {
        if (!table[std::size_t(i)].Create) continue;
        table[std::size_t(i)].Create();
        if (progress) progress(i);
    }
}
