#include "controls/gui/Exconst.h"

#include "platform/Bitmap.h"
#include "platform/gui/Forms.h"

void RegisterExCursors() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterExResources();
    TBitmap hand, drag;
    hand.LoadFromResourceName("EX_HANDCUR");
    drag.LoadFromResourceName("EX_DRAGCUR");
    hand.SetTransparent(true);
    drag.SetTransparent(true);
    Screen->SetCursors(crHand, hand, kHandCursorHotX, kHandCursorHotY);
    Screen->SetCursors(crDragHand, drag, kDragCursorHotX, kDragCursorHotY);
}
