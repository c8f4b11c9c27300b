#pragma once
// The extended controls: owner-draw, text and check-list boxes, the shadowed
// label and the speed button with its glyphs.

#include "controls/gui/ExCheckListBox.h"
#include "controls/gui/ExLabel.h"
#include "controls/gui/ExListBox.h"
#include "controls/gui/ExSpeedButton.h"
#include "controls/gui/TextListBox.h"
