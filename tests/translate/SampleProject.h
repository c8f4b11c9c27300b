#pragma once
// The two-scheme project that the end-to-end tests translate and debug, and
// that the test tool debugsample writes for trying the debugger by hand.
//
// The signal table: input driver DI (type DIN, user number 1, 8 bits at
// 0x100) with A = bit 0 ("Кнопка A") and B = bit 1 ("Кнопка B"), output driver
// DO (type DOUT, 2, 8 bits at 0x200) with Y = bit 0 ("Лампа Y") and Z = bit 1
// ("Лампа Z"), and the connector X ("Связь s1 - s2"). Scheme s1: AND1 =
// A and B -> Y, and TIMER1 (1,000 ms) started by A -> X; scheme s2: OR1 =
// X or B -> Z, its connector X joined by a wire. Every pin has a driver pin
// of its own on its tip.

#include "platform/AnsiString.h"

class TDriversInfo;

namespace sample {

// Fills an empty table; false with the reason when the table refuses.
bool FillTable(TDriversInfo& table, AnsiString& error);
// Writes s1.tvs and s2.tvs into the folder (a program path) and, with project, p.tvp listing both; false when a file
// cannot be written.
bool WriteSchemes(const AnsiString& folder, bool project);

} // namespace sample
