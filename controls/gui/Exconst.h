#pragma once
// Registers the library's hand and drag cursors as screen cursors crHand
// (14000) and crDragHand (14001). Runs once; the components that show the
// cursors call it.

#include "controls/Exconst.h"

void RegisterExCursors();
