#include "app/ActionFollower.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Menus.h"

TActionFollower::TActionFollower(TMenuItem* item, TBasicAction* action) : TBasicActionLink(item) {
    SetAction(action);
    item->OnClick = [action](TObject*) { action->Execute(); };
    Changed();
}

TActionFollower::TActionFollower(TControl* control, TBasicAction* action) : TBasicActionLink(control) {
    SetAction(action);
    control->OnClick = [action](TObject*) { action->Execute(); };
    Changed();
}

void TActionFollower::Changed() {
    auto* a = dynamic_cast<TCustomAction*>(Action());
    if (!a) return;
    if (auto* item = dynamic_cast<TMenuItem*>(Client())) {
        item->SetEnabled(a->Enabled());
        item->SetShortCut(a->ShortCut());
        item->SetChecked(a->Checked());
    } else if (auto* control = dynamic_cast<TControl*>(Client())) {
        control->SetEnabled(a->Enabled());
    }
}
