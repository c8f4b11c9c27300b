#pragma once
// The editing modes of the scheme window, and the mode word that holds one.
//
// The window keeps its mode in a mode word: the mode in the low 12 bits,
// PlacingFlag while a placement or a wire is in progress, InsertedFlag once
// the object of the current placement exists and follows the mouse. The
// frame's mode buttons follow the mode (without the flags), and the frame's
// "Переместить связь" command sets mdMove. The numbers are those the mode
// word has always held; the frame's buttons and the window's status text key
// on them.

enum TSchemeMode : int {
    mdSelect = 1,   // select, drag, rubber band
    mdMove = 2,     // the frame's "Переместить связь"
    mdWire = 4,     // draw wires
    mdPin = 5,      // place driver pins
    mdDrag = 10,    // the selection follows the mouse
    mdDevice = 11,  // place elements and copies
    mdConnect = 12, // place connectors
    mdPaste = 13,   // the pasted fragment waits for its place
    mdOrder = 14,   // number the elements by clicks
    mdSymbol = 15,  // place symbols
    mdFSM = 16,     // place state-machine elements
};

// The bits of the mode word around the mode.
inline constexpr int PlacingFlag = 0x8000;
inline constexpr int InsertedFlag = 0x4000;
inline constexpr int ModeMask = 0x0FFF;

// The mode of a mode word.
constexpr TSchemeMode SchemeModeOf(int word) { return TSchemeMode(word & ModeMask); }
