#include "model/SchemeSettings.h"

#include "document/InitModule.h"

// Without a settings module (headless tools, tests) the defaults of the
// settings file apply.
namespace schemesettings {

#define GE_SETTING(name, field, def) \
    TColor name() { return InitModule ? InitModule->field : TColor(def); }

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
#undef GE_SETTING

// Devices still to be numbered take the dashed-line colour.
TColor OrderingColor() { return InitModule ? InitModule->DashColor : TColor(8421504); }

int TimerMultiplicity() {
    int v = InitModule ? InitModule->TimerMultiple : 50;
    return v > 0 ? v : 1;
}

bool CheckOrder() { return InitModule ? InitModule->CheckOrder : true; }
int SheetWidth() { return InitModule ? InitModule->MaxWidth : 800; }
int SheetHeight() { return InitModule ? InitModule->MaxHeight : 600; }

} // namespace schemesettings
