#pragma once
// The settings the scheme model reads from the settings module, in one place.

#include "platform/Color.h"

namespace schemesettings {

TColor Background();      // "Цвет фона"
TColor LinkColor();       // "Цвет связи (элементов)": wires and element boxes
TColor HighlightColor();  // "Цвет выделенной связи"
TColor SelectedColor();   // "Цвет выбранных"
TColor NameColor();       // "Цвет назв. элементов"
TColor EmptyPinColor();   // "Цвет пустого вывода"
TColor DriverNameColor(); // "Цвет названия драйвера"
TColor ConnectorNameColor(); // "Цвет названия связи (схем)"
TColor TimerColor();      // "Цвет атрибутов таймера"
TColor InputDriverColor();  // "Цвет входного драйвера"
TColor OutputDriverColor(); // "Цвет выходного драйвера"
TColor DriverColor();       // "Цвет драйвера"
TColor JunctionColor();     // "Цвет пересечения"
TColor OrderingColor();     // devices still to be numbered
int TimerMultiplicity();    // "Кратность таймера" (0 or less counts as 1)
bool CheckOrder();          // "Проверять порядок элементов"
int SheetWidth();           // "Максимальная ширина"
int SheetHeight();          // "Максимальная высота"

} // namespace schemesettings
