#include "model/SchemeSettings.h"

#include "model/ModelHooks.h"

// Without a settings module (headless tools, tests) the defaults of the
// settings file apply.
namespace schemesettings {

namespace {
int Setting(TSchemeSetting which, int def) {
    int value = def;
    const ISchemeSettings* s = ModelHooks().Settings;
    return s && s->SchemeSetting(which, value) ? value : def;
}
} // namespace

#define GE_SETTING(name, field, def) \
    TColor name() { return TColor(Setting(TSchemeSetting::field, TColor(def))); }

GE_SETTING(Background, BackColor, 0)
GE_SETTING(LinkColor, LinkColor, 255)
GE_SETTING(HighlightColor, SelectedLinkColor, 16776960)
GE_SETTING(SelectedColor, SelectedColor, clAqua)
GE_SETTING(NameColor, ElementNameColor, 255)
GE_SETTING(EmptyPinColor, EmptyPinColor, clYellow)
GE_SETTING(DriverNameColor, DriverNameColor, clWhite)
GE_SETTING(ConnectorNameColor, ChainNameColor, clFuchsia)
GE_SETTING(TimerColor, TimerAttrColor, clYellow)
GE_SETTING(InputDriverColor, InDriverColor, clLime)
GE_SETTING(OutputDriverColor, OutDriverColor, 0x0080FF)
GE_SETTING(DriverColor, DriverColor, clSilver)
GE_SETTING(JunctionColor, JunctionColor, clYellow)
// Devices still to be numbered take the dashed-line colour.
GE_SETTING(OrderingColor, DashColor, 8421504)
#undef GE_SETTING

int TimerMultiplicity() {
    int v = Setting(TSchemeSetting::TimerMultiple, 50);
    return v > 0 ? v : 1;
}

bool CheckOrder() { return Setting(TSchemeSetting::CheckOrder, 1) != 0; }
int SheetWidth() { return Setting(TSchemeSetting::MaxWidth, 800); }
int SheetHeight() { return Setting(TSchemeSetting::MaxHeight, 600); }

} // namespace schemesettings
