#include "editor/EditorHooks.h"

#include <memory>

#include "platform/gui/Dialogs.h"

namespace {

// A frame without project, debugger or signal search, whose buttons follow
// nothing: what a window sees before the frame installs itself.
class TNoFrame : public ISchemeFrame {
public:
    void UpdateModeButtons(TSchemeMode) override {}
    void ZoomChanged() override {}
    bool SaveWindow(TForm*) override { return false; }
    bool PasteEnabled() override { return false; }
    void SetPasteAvailable(bool) override {}
    void MirrorEditActions(bool, bool, bool) override {}
    bool DebuCheck() override { return false; }
    int SortDr() override { return 0; }
    void CheckScheme(TScheme*) override {}
    bool DebuggerPresent() override { return false; }
    bool DebugWindowActive() override { return false; }
    void AddSignalsToDebug(TStrings*, TStrings*) override {}
    void AddSignalToDebug(const AnsiString&, int) override {}
    bool SignalSearchPresent() override { return false; }
    void FindSignal(const AnsiString&) override {}
    bool ExportCase(TForm*, std::vector<int32_t>*) override { return false; }
    TPrintDialog* PrintDialog() override {
        if (!dialog_) dialog_ = std::make_unique<TPrintDialog>(nullptr);
        return dialog_.get();
    }

private:
    std::unique_ptr<TPrintDialog> dialog_;
};

TNoFrame noFrame;
ISchemeFrame* installed = nullptr;

} // namespace

ISchemeFrame& SchemeFrame() { return installed ? *installed : noFrame; }

void SetSchemeFrame(ISchemeFrame* frame) { installed = frame; }
