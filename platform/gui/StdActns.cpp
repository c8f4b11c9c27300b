#include "platform/gui/StdActns.h"

#include "platform/gui/Forms.h"

TForm* TWindowAction::Frame() const { return Form ? Form : Application->MainForm(); }

bool TWindowAction::Update() {
    if (OnUpdate) return TAction::Update();
    TForm* f = Frame();
    SetEnabled(f && f->FormStyle() == fsMDIForm && f->MDIChildCount() > 0);
    return true;
}

bool TWindowAction::Execute() {
    if (OnExecute) return TAction::Execute();
    Update();
    if (!Enabled()) return false;
    Arrange(Frame());
    return true;
}

void TWindowCascade::Arrange(TForm* frame) { frame->Cascade(); }

void TWindowTileHorizontal::Arrange(TForm* frame) {
    frame->TileMode = tbHorizontal;
    frame->Tile();
}

void TWindowTileVertical::Arrange(TForm* frame) {
    frame->TileMode = tbVertical;
    frame->Tile();
}

void TWindowMinimizeAll::Arrange(TForm* frame) { frame->MinimizeAll(); }

void TWindowArrange::Arrange(TForm* frame) { frame->ArrangeIcons(); }
