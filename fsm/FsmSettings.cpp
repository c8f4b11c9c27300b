#include "fsm/FsmSettings.h"

#include "document/InitModule.h"

FsmSettings CurrentFsmSettings() {
    FsmSettings s;
    if (!InitModule) return s;
    const TInitModule& m = *InitModule;
    s.StateRadius = m.StateRadius;
    s.StateColor = m.StateColor;
    s.ActiveStateColor = m.ActiveStateColor;
    s.TransitionColor = m.TransitionColor;
    s.ConditionColor = m.CondColor;
    s.SelectedConditionColor = m.SelectedCondColor;
    s.ConditionTextColor = m.CondTextColor;
    s.StateNameColor = m.ElementNameColor;
    s.BackgroundColor = m.FsmBackColor;
    s.SheetWidth = m.MaxWidth;
    s.SheetHeight = m.MaxHeight;
    return s;
}
