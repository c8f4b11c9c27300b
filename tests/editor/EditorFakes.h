#pragma once
// Stand-ins for what the editor's windows reach above them: the frame's interface of the scheme window, the frame's
// services to the model and the state-machine files; and a signal table to name pins after.

#include <functional>
#include <string>
#include <vector>

#include "document/DriversInfo.h"
#include "editor/EditorHooks.h"
#include "model/ModelHooks.h"
#include "platform/StringList.h"
#include "platform/gui/Dialogs.h"

// Records what the window asks of the frame.
class FakeSchemeFrame : public ISchemeFrame {
public:
    void UpdateModeButtons(TSchemeMode mode) override { modes.push_back(mode); }
    void ZoomChanged() override { ++zoomRules; }
    bool SaveWindow(TForm*) override { return ++saves, saveResult; }
    bool PasteEnabled() override { return pasteEnabled; }
    void SetPasteAvailable(bool available) override { pasteAvailable.push_back(available); }
    void MirrorEditActions(bool cut, bool copy, bool del) override {
        mirrored = std::string(1, "01"[cut]) + "01"[copy] + "01"[del];
    }
    bool DebuCheck() override { return debuCheck; }
    int SortDr() override { return sortDr; }
    void CheckScheme(TScheme* scheme) override { checked.push_back(scheme); }
    bool DebuggerPresent() override { return debugger; }
    bool DebugWindowActive() override { return debugActive; }
    void AddSignalsToDebug(TStrings* inputs, TStrings* outputs) override {
        debug.push_back(inputs->CommaText() + "/" + outputs->CommaText());
    }
    void AddSignalToDebug(const AnsiString& name, int kind) override { debug.push_back(name + "=" + IntToStr(kind)); }
    bool SignalSearchPresent() override { return search; }
    void FindSignal(const AnsiString& name) override { found.push_back(name); }
    TPrintDialog* PrintDialog() override { return &printDialog; }
    bool ExportCase(TForm* window, std::vector<int32_t>* outputs) override {
        return exported.push_back(window), exportCase && exportCase(outputs);
    }

    std::vector<TSchemeMode> modes;
    int zoomRules = 0, saves = 0, sortDr = 0;
    bool saveResult = true, pasteEnabled = false, debuCheck = false, debugger = false, debugActive = false, search = false;
    std::vector<bool> pasteAvailable;
    std::string mirrored;
    std::vector<TScheme*> checked;
    std::vector<AnsiString> debug, found;
    TPrintDialog printDialog{nullptr};
    // The check's outputs; unset, the check does not run.
    std::function<bool(std::vector<int32_t>*)> exportCase;
    std::vector<TForm*> exported;
};

// The frame's services to the model (the open dialog, the signal-direction question) and a state-machine file with
// inputs a, b and output y.
class FakeFrameServices : public IFrameServices, public IFsmServices {
public:
    FakeFrameServices() { ModelHooks().Frame = this, ModelHooks().Fsm = this; }
    ~FakeFrameServices() override { ModelHooks().Frame = nullptr, ModelHooks().Fsm = nullptr; }
    void OpenSchemeWindow(const AnsiString&) override {}
    AnsiString AskFileName(const AnsiString& proposed) override { return asked.push_back(proposed), answer; }
    void OpenFSMWindow(const AnsiString&) override {}
    void CheckFSMPins(const AnsiString&, TStrings*, TStrings*) override {}
    bool ResolveGotoTarget(const AnsiString&, const AnsiString&, int, const AnsiString&, AnsiString&) override {
        return false;
    }
    AnsiString MakeProjectPath(const AnsiString& name) override { return name; }
    bool AskJoinChains(const AnsiString&, const AnsiString&, AnsiString&) override { return false; }
    int AskSignalDirection(const AnsiString& name) override { return asked.push_back(name), direction; }
    bool ReadPins(const AnsiString&, TStrings* inputs, TStrings* outputs) override {
        return inputs->SetCommaText("a,b"), outputs->SetCommaText("y"), true;
    }
    bool WritePins(const AnsiString&, TStrings*, TStrings*) override { return true; }
    bool AppendTransitionTable(const AnsiString&, TStrings*) override { return true; }

    AnsiString answer;
    int direction = 1;
    std::vector<AnsiString> asked;
};

// The table in use gets driver D1 (input) with X1, X2 on bits 2, 3 and driver D2 (output) with Y1 on bit 0.
inline void SeedSignals() {
    TDriversInfo& t = DriversInUse();
    t.AddDriverType("DI", 3);
    _drv d;
    d.Name = "D1", d.Type = 0, d.BitCount = 8;
    t.AddDriver(d);
    d.Name = "D2", d.Direction = 1, d.Address = 1;
    t.AddDriver(d);
    t.AddBit("X1", "D1", 2, "пуск"_a);
    t.AddBit("X2", "D1", 3, "стоп"_a);
    t.AddBit("Y1", "D2", 0, "лампа"_a);
}
