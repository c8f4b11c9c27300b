#include "platform/Color.h"

TColor ColorToRGB(TColor color) {
    if (!(uint32_t(color) & 0x80000000u)) return color & 0xFFFFFF;
    // The classic desktop scheme.
    static const TColor sys[] = {
        0xC8C8C8, 0x000000, 0x6A240A, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x6A240A, 0xFFFFFF, 0xC0C0C0,
        0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x404040, 0xE0E0E0, 0x000000,
        0xE1FFFF};
    unsigned index = uint32_t(color) & 0xFF;
    return index < sizeof sys / sizeof sys[0] ? sys[index] : 0;
}
