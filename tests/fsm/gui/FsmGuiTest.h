#pragma once
// The state-machine window's tests: an MDI frame to hold the windows, a fake
// of the frame's services, settings for the window to read, and helpers that
// press, move and release the real mouse on the paint box.

#include <QImage>
#include <string>
#include <vector>

#include "platform/gui/GuiTest.h"

#include "common/Printers.h"
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
    // The paint box's image now, and after a fresh full repaint.
    static QImage Shown(TFSMChild* w);
    static QImage Repainted(TFSMChild* w);
    // Real mouse events on the paint box at pixel points.
    static void Press(TFSMChild* w, int x, int y, Qt::MouseButton b = Qt::LeftButton);
    static void MoveTo(TFSMChild* w, int x, int y, Qt::MouseButtons held = Qt::LeftButton);
    static void Release(TFSMChild* w, int x, int y, Qt::MouseButton b = Qt::LeftButton);
    // Press, move in steps and release.
    static void Drag(TFSMChild* w, int x0, int y0, int x1, int y1);
    // A move to the point and a click there.
    static void Click(TFSMChild* w, int x, int y);
    static void DoubleClick(TFSMChild* w, int x, int y);

    TForm* frame = nullptr;
    FakeFsmFrame fake;
    testenv::TempDir dir;

private:
    TInitModule* ownSettings_ = nullptr;
    IFsmFrame* previousFrame_ = nullptr;
};

// The pixels of an image as bytes, to compare whole pictures.
std::string Bytes(const QImage& img);
