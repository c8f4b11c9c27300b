#pragma once
// The program's own mouse cursors, drawn for this program and registered as
// the resource pictures "CR_ZOOMIN", "CR_ZOOMOUT", "CR_SELECT", "CR_MOVE" and
// "CR_INSERT". The frame installs them in the screen's cursor table under
// the numbers the editor windows select them by.

#include "platform/AnsiString.h"

enum TProgramCursor { crZoomIn = 1, crZoomOut = 2, crSelect = 3, crMove = 4, crInsert = 5 };

// The resource name of cursor number 1..5; "" for other numbers.
AnsiString CursorResourceName(int number);
// Registers the five pictures (once) and puts them into Screen's table at 1..5.
void InstallProgramCursors();
