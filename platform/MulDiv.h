#pragma once
// MulDiv: a * b / c with the product in 64 bits, rounded half away from zero.
// -1 when c is 0 or the result does not fit in 32 bits, as the old platform's
// routine answered (callers scale coordinates with it).

int MulDiv(int a, int b, int c);
