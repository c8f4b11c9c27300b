#pragma once
// What a state-machine document draws on and reports to. The document and its
// entities never know the window class: they draw on whatever canvas a view
// gives (the window's paint box, an options preview) and tell the window of
// progress, captions, signal lists and simulation outputs through IFsmWindow.
// A document without a view draws nothing and works all the same.

#include "document/EditorChild.h"
#include "platform/AnsiString.h"

class TCanvas;
class TFSMScheme;
class TStrings;
class TfsmCond;

class IFsmView {
public:
    virtual ~IFsmView() = default;
    // The canvas entities draw and erase themselves on, by inverting drawing;
    // null draws nothing.
    virtual TCanvas* FsmCanvas() = 0;
};

// The state-machine window as its document sees it.
class IFsmWindow : public IFsmView {
public:
    // The caption: the file name, with "*" appended while modified.
    virtual void ShowCaption(const AnsiString& caption) = 0;
    // The zoom was changed (status text, repaint).
    virtual void ShowZoom(int percent) = 0;
    // Loading a file: a progress bar of max steps, its position, then hidden.
    // StepProgress may repaint but must not let user input through.
    virtual void BeginProgress(int max) = 0;
    virtual void StepProgress(int position) = 0;
    virtual void EndProgress() = 0;
    // The signal check lists now hold these names, in order.
    virtual void ShowSignals(const TStrings& inputs, const TStrings& outputs) = 0;
    // The input vector from the input check list: the last item first, '1'
    // checked, 'X' grayed, '0' unchecked.
    virtual AnsiString InputVectorFromChecks() = 0;
    // The simulator's output vector, shown in the output check list.
    virtual void ShowOutputs(const AnsiString& outputs) = 0;
    // A state was read from a file (the window's state-name counter).
    virtual void StateLoaded() = 0;
    // The state-name dialog: true with the new name when confirmed.
    virtual bool EditStateName(AnsiString& name) = 0;
    // The condition dialog for a box: true with the new text when confirmed.
    virtual bool EditCondition(TfsmCond* box, AnsiString& text) = 0;
};

// The state-machine window as the frame sees it (document/EditorChild.h).
class IFsmChild : public IEditorChild {
public:
    virtual TFSMScheme* FsmDocument() = 0;
    // The enabled state of the window's flip command (the frame's follows it).
    virtual bool FlipHorActionEnabled() = 0;
    // Printing and the print preview: draws the state machine on a canvas
    // (at 100 %, whatever the window's zoom).
    virtual void PrintSchemeTo(TCanvas* canvas) = 0;
};
