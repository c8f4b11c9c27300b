#pragma once
// The pieces of the transition-table text that the state-machine element of a
// scheme hands the translator: condition bits padded to whole bytes, the
// target byte and the value-mask item of one transition.

#include "platform/AnsiString.h"

class TfsmElement;

namespace fsmtable {

// The text of the condition box of a state or transition; "" without a box.
AnsiString ConditionText(const TfsmElement* e);
// 'X' -> '0', other characters kept.
AnsiString ValueBits(const AnsiString& cond);
// '1' for every 'X', '0' for every other character.
AnsiString MaskBits(const AnsiString& cond);
// For a condition of length len: the number of fill characters that make it
// a whole number of bytes (8 - len mod 8, or 0).
int PadCount(int len);
AnsiString Pad(const AnsiString& bits, int pad, char fill);
// Eight characters, bit 7 first, of the low byte of a state's number.
AnsiString TargetByte(int number);
// value bits "-" mask bits "=" target byte ";" of one transition, padded by pad.
AnsiString ValueMaskItem(const AnsiString& cond, int pad, const TfsmElement* target);

} // namespace fsmtable
