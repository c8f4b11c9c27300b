#pragma once
// Shared pieces of the state-machine tests: a view that draws into a bitmap,
// a window that records what its document tells it, and builders of small
// machines.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fsm/fsmScheme.h"
#include "platform/Bitmap.h"
#include "platform/StringList.h"

namespace fsmtest {

// A canvas of the given size with a pattern of varied colours, so that an
// exclusive-or picture leaves a trace on every kind of pixel.
class BitmapView : public IFsmView {
public:
    BitmapView(int w = 900, int h = 700);
    TCanvas* FsmCanvas() override { return bitmap.Canvas(); }
    // The picture's pixels, to compare byte for byte.
    std::string Pixels() const;
    void FillPattern();
    TBitmap bitmap;
};

// The state-machine window as the tests see it: records every report.
class RecordingWindow : public IFsmWindow {
public:
    explicit RecordingWindow(bool withCanvas = false) : view_(withCanvas ? new BitmapView : nullptr) {}
    TCanvas* FsmCanvas() override { return view_ ? view_->FsmCanvas() : nullptr; }
    void ShowCaption(const AnsiString& caption) override { Captions.push_back(caption); }
    void ShowZoom(int percent) override { Zooms.push_back(percent); }
    void BeginProgress(int max) override { ProgressMax = max; ++ProgressShown; }
    void StepProgress(int position) override { Steps.push_back(position); }
    void EndProgress() override { ++ProgressHidden; }
    void ShowSignals(const TStrings& inputs, const TStrings& outputs) override;
    AnsiString InputVectorFromChecks() override { return Checks; }
    void ShowOutputs(const AnsiString& outputs) override { Outputs.push_back(outputs); }
    void StateLoaded() override { ++StatesLoaded; }
    bool EditStateName(AnsiString& name) override;
    bool EditCondition(TfsmCond* box, AnsiString& text) override;

    BitmapView* View() { return view_.get(); }

    std::vector<AnsiString> Captions;
    std::vector<int> Zooms;
    int ProgressMax = -1, ProgressShown = 0, ProgressHidden = 0;
    std::vector<int> Steps;
    std::vector<AnsiString> InputItems, OutputItems;
    AnsiString Checks;
    std::vector<AnsiString> Outputs;
    int StatesLoaded = 0;
    // Dialog answers: empty = cancelled.
    AnsiString NameAnswer, ConditionAnswer;

private:
    std::unique_ptr<BitmapView> view_;
};

// A state with its output value box.
TfsmElement* AddState(TFSMScheme& doc, int x, int y, const AnsiString& name, const AnsiString& output);
// A straight transition from point a to point b, connected by geometry, with
// a condition box when cond is not null.
TfsmLink* AddTransition(TFSMScheme& doc, int ax, int ay, int bx, int by, const char* cond);
// A transition between two states' centres.
TfsmLink* Connect(TFSMScheme& doc, TfsmElement* from, TfsmElement* to, const char* cond);
TfsmResetLink* AddReset(TFSMScheme& doc, int ax, int ay, TfsmElement* to, const char* cond);
void SetSignals(TFSMScheme& doc, std::vector<AnsiString> inputs, std::vector<AnsiString> outputs);

// The machine of the table's worked example: 2 inputs, 1 output, S1 and S2.
struct Example {
    TfsmElement* S1;
    TfsmElement* S2;
    TfsmLink* Initial;
    TfsmResetLink* Reset;
    TfsmLink* S1S2;
    TfsmLink* S2S1;
};
Example BuildExample(TFSMScheme& doc, bool withReset = true);

// Each transition as the places of its source and target among the states
// (-1 for a free end), in document order: the machine's logic.
std::vector<std::pair<int, int>> Logic(const TFSMScheme& doc);
// The seven lines of that example.
std::vector<std::string> ExampleLines();

std::vector<std::string> Lines(const TStrings& list);

} // namespace fsmtest
