#include "debugger/ui/Sharefun.h"

#include "controls/gui/CtlUtils.h"
#include "debugger/Vac.h"
#include "debugger/ui/Debuginf.h"
#include "debugger/ui/For.h"
#include "platform/FileUtils.h"
#include "platform/StringList.h"

namespace {

TVAC* g_emulator = nullptr;

} // namespace

TDebuggerHooks& DebuggerHooks() {
    static TDebuggerHooks hooks;
    return hooks;
}

TVAC* Emulator() { return g_emulator; }

void SetEmulator(TVAC* vac) { g_emulator = vac; }

bool DebuggerPresent() { return fmDebug && fmRun && Emulator(); }

void SaveDebugSelection() {
    if (fmRun) fmRun->SaveSelection();
}

void RestoreDebugSelection() {
    if (fmRun) fmRun->RestoreSelection();
}

void ShowDebugWindow(TObject*) {
    if (!DebuggerPresent()) return;
    RestoreDebugSelection();
    fmDebug->Show();
    // A debugger the user minimized comes back too, in front.
    SwitchToWindow(fmDebug, true);
}

void ShowTimingDebugWindow(TObject*) {
    if (!DebuggerPresent()) return;
    RestoreDebugSelection();
    fmDebug->ButTimersClick(fmDebug);
}

void AddSignalToDebug(const AnsiString& name, int kind) {
    if (fmRun) fmRun->Wanted.Add(name, kind);
}

void AddSignalsToDebug(TStrings* inputs, TStrings* outputs) {
    if (!fmRun) return;
    for (int i = 0; inputs && i < inputs->Count(); ++i) AddSignalToDebug(inputs->Get(i), TWantedSignalList::kInput);
    for (int i = 0; outputs && i < outputs->Count(); ++i) AddSignalToDebug(outputs->Get(i), TWantedSignalList::kOutput);
    RestoreDebugSelection();
}

void OpenDebugData(const AnsiString& dataFile, const AnsiString& emulatorFile, bool force) {
    if (!DebuggerPresent() || !FileExists(dataFile)) return;
    if (Emulator()->FileName == emulatorFile && !force) {
        fmDebug->LoadDebugData(false);
        return;
    }
    SaveDebugSelection();
    Emulator()->FileName = emulatorFile;
    fmDebug->LoadDebugData(true);
    RestoreDebugSelection();
}

void RunSignatureAnalysis(const AnsiString& dataFile, const AnsiString& emulatorFile) {
    OpenDebugData(dataFile, emulatorFile, true);
    if (!DebuggerPresent() || !FileExists(dataFile) || !Emulator()->Loaded()) return;
    fmRun->SignatureAction->Execute();
}

bool VerifyCaseTable(const AnsiString&, const AnsiString&, bool, std::vector<int32_t>* outputs) {
    if (!outputs || !DebuggerPresent()) return false;
    return fmRun->CompareOutputs(*outputs);
}

bool IsDebugWindowInactive() { return !fmDebug || Screen->ActiveForm() != fmDebug; }

void ClearDebugSignals() {
    if (fmDebug) fmDebug->ClearRows();
    if (fmRun) fmRun->Wanted.Clear();
}
