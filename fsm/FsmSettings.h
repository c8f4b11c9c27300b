#pragma once
// The settings the state-machine objects read: sizes and colours of states,
// transitions and condition boxes, and the sheet size. Entities copy them when
// they are made (the state name colour is read at every drawing), so a change
// of settings reaches objects made after it.

#include "platform/Color.h"

struct FsmSettings {
    int StateRadius = 30;
    TColor StateColor = 32768;
    TColor ActiveStateColor = 16711935;
    TColor TransitionColor = 8388608;
    TColor ConditionColor = 8421504;
    TColor SelectedConditionColor = 65535;
    TColor ConditionTextColor = 65535;
    TColor StateNameColor = 255;
    TColor BackgroundColor = 16777215;
    int SheetWidth = 800;
    int SheetHeight = 600;
};

// The values of the settings module in use.
FsmSettings CurrentFsmSettings();
