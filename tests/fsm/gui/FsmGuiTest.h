#pragma once
// The state-machine window's tests: an MDI frame to hold the windows, a fake
// of the frame's services, and settings for the window to read.

#include <QImage>
#include <string>
#include <vector>

#include "platform/gui/GuiTest.h"

#include "common/TestEnv.h"
#include "controls/gui/ExCheckListBox.h"
#include "document/InitModule.h"
#include "fsm/gui/FSMChild.h"
#include "fsm/gui/FsmFrame.h"
#include "platform/Canvas.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"

// The frame as the window sees it: records what it is told and answers
// from fields the test sets.
class FakeFsmFrame : public IFsmFrame {
public:
    bool SaveWindow(TForm* window) override;
    void SetPasteAvailable(bool available) override { pasteAvailable.push_back(available); }
    bool PasteEnabled() override { return pasteEnabled; }
    void AllZoomUpdate() override { ++zoomUpdates; }
    bool DebuChecked() override { return debuChecked; }

    // Answer of SaveWindow; when true the document is written as the frame does.
    bool saveSucceeds = true;
    int saves = 0;
    std::vector<bool> pasteAvailable;
    bool pasteEnabled = false;
    int zoomUpdates = 0;
    bool debuChecked = false;
};

class FsmGuiTest : public GuiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new window on the frame, its document named and loaded as the frame
    // does it (a missing file gives an empty document).
    TFSMChild* Open(const AnsiString& fileName = AnsiString());
    // The document saved as name in the test's folder; its path.
    AnsiString Saved(TFSMScheme& doc, const AnsiString& name);
    // The worked example (S1, S2, four transitions) saved as name.
    AnsiString ExampleFile(const AnsiString& name = "lift.fsm");
    // The paint box's image now.
    static QImage Shown(TFSMChild* w);
    // Whether the paint box equals a fresh full repaint: no inverted trace
    // is left on it. The image shown is kept.
    static bool ShowsRepaint(TFSMChild* w);

    TForm* frame = nullptr;
    FakeFsmFrame fake;
    testenv::TempDir dir;

private:
    TInitModule* ownSettings_ = nullptr;
    IFsmFrame* previousFrame_ = nullptr;
};

// The pixels of an image as bytes, to compare whole pictures.
std::string Bytes(const QImage& img);
