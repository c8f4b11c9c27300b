#pragma once
// A menu item or a control that runs an action and follows its enabled
// state (and, for a menu item, its shortcut and check mark) while keeping a
// caption and a visibility of its own. A client bound with SetAction would
// take the action's caption and visibility at every change of the action.

#include "platform/gui/Actions.h"

class TMenuItem;
class TControl;

class TActionFollower : public TBasicActionLink {
public:
    TActionFollower(TMenuItem* item, TBasicAction* action);
    TActionFollower(TControl* control, TBasicAction* action);
    void Changed() override;
};
