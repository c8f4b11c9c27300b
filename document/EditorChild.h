#pragma once
// What the frame knows of its child windows. The frame routes editing
// commands to the active child: it tests the child for a scheme window first
// (the CASE-forming window is one) and then, for the commands that both
// editors have, for a state-machine window, and calls the child's handler of
// the same name. The scheme window implements ISchemeChild, the
// state-machine window IFsmChild (fsm/FsmView.h); both are forms (TForm)
// shown as MDI children of the frame. The interfaces lie under both editors'
// windows, so that the scheme window's print preview and element list reach
// either kind of window without including the other editor or the frame.
//
// The commands both editors have are routed through IEditorChild.
//
// A window that closes with a modified document asks about it in its close
// handlers; when the answer is Cancel, or the save fails, it stays open, and
// the frame then stops closing (the program, the project) as well. To save
// itself it calls TMainForm::SaveWindow(this), never the active child's save.

#include "platform/Classes.h"

class TCanvas;
class TScheme;

// What both editors' windows have: the commands the frame forwards to
// either kind and the state of their own cut, copy and delete actions.
class IEditorChild {
public:
    virtual ~IEditorChild() = default;
    // Handlers of the window's own actions, called by the frame's actions of
    // the same name with the frame's action as sender.
    virtual void CutActionExecute(TObject* Sender) = 0;
    virtual void CopyActionExecute(TObject* Sender) = 0;
    virtual void PasteActionExecute(TObject* Sender) = 0;
    virtual void DeleteActionExecute(TObject* Sender) = 0;
    virtual void ZoomInActionExecute(TObject* Sender) = 0;
    virtual void ZoomOutActionExecute(TObject* Sender) = 0;
    virtual void ZoomNormalActionExecute(TObject* Sender) = 0;
    virtual void ZoomMaxActionExecute(TObject* Sender) = 0;
    // Repaints the drawing sheet (its paint box).
    virtual void RepaintSheet() = 0;
    // The Enabled state of the window's own cut, copy and delete actions.
    virtual bool CutActionEnabled() = 0;
    virtual bool CopyActionEnabled() = 0;
    virtual bool DeleteActionEnabled() = 0;
};

// The scheme window (and the CASE-forming window, which is one).
class ISchemeChild : public IEditorChild {
public:
    // The window's document.
    virtual TScheme* SchemeDocument() = 0;
    virtual void SetModeSelectActionExecute(TObject* Sender) = 0;
    virtual void SetModeDeviceActionExecute(TObject* Sender) = 0;
    virtual void SetModePinActionExecute(TObject* Sender) = 0;
    virtual void SetModeWireActionExecute(TObject* Sender) = 0;
    virtual void SetModeConnectActionExecute(TObject* Sender) = 0;
    virtual void SetModeSymbolActionExecute(TObject* Sender) = 0;
    virtual void SetModeFSMActionExecute(TObject* Sender) = 0;
    virtual void FlipHorActionExecute(TObject* Sender) = 0;
    virtual void UndoExecute(TObject* Sender) = 0;
    // Scrolls the selection into the middle of the window (after the frame
    // or a dialog selected an element).
    virtual void CenterSelectedActionExecute(TObject* Sender) = 0;
    // Sets the mode word (editor/SchemeMode.h); the frame's "Переместить
    // связь" sets mdMove.
    virtual void SetMode(int mode) = 0;
    virtual bool FlipHorActionEnabled() = 0;
    // Printing: draws the scheme on a canvas of the settings' sheet size
    // (scaled by zoom percent, for a page at the printer's resolution), and
    // prints the element descriptions on the printer (one page).
    virtual void PrintSchemeTo(TCanvas* canvas, int zoom = 100) = 0;
    virtual void PrintElements() = 0;
};
