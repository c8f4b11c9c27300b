#pragma once
// What the state-machine window asks of the frame that holds it. The window
// never includes the frame's header: the frame installs its IFsmFrame at
// start-up, tests install a fake. Without one the window works alone: it
// cannot save itself, nothing is pasted and the check command stays off.

class TForm;

class IFsmFrame {
public:
    virtual ~IFsmFrame() = default;
    // Saves the window's document (asking for a name when it has none);
    // false when nothing was written.
    virtual bool SaveWindow(TForm* window) = 0;
    // A fragment was copied into the clipboard file.
    virtual void SetPasteAvailable(bool available) = 0;
    // Whether the frame's paste command is enabled now.
    virtual bool PasteEnabled() = 0;
    // The window's zoom changed: the frame refreshes its zoom commands.
    virtual void AllZoomUpdate() = 0;
    // The frame's "work with the active scheme" box is ticked.
    virtual bool DebuChecked() = 0;
};

IFsmFrame* FsmFrame();
// Installs the frame (not owned; null removes it); returns the previous one.
IFsmFrame* SetFsmFrame(IFsmFrame* frame);
