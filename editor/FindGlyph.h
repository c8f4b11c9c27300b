#pragma once
// The picture of the pin dialogs' search button: a magnifying glass over a
// signal's pulse, 24 by 24 pixels on a background that is left out
// (clFuchsia).

#include <memory>

#include "platform/Bitmap.h"

std::unique_ptr<TBitmap> MakeFindSignalGlyph();
