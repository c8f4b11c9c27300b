#pragma once
// What the state-machine element of a scheme (model/FSM.h) asks of a ".fsm"
// file: its signal names, writing the element's pin names back into it, and
// its transition table for the translator. Installed into the scheme model's
// hooks by InstallFsmServices at start-up.

#include "model/ModelHooks.h"

class TFsmServices : public IFsmServices {
public:
    // The names of the file's input and output signals; false (nothing
    // changed) when the file is missing or refused. Shows no message.
    bool ReadPins(const AnsiString& fileName, TStrings* inputs, TStrings* outputs) override;
    // Writes the names in place, only when the file has as many inputs and
    // as many outputs as given; otherwise shows the mismatch message and
    // writes nothing. False when nothing was written.
    bool WritePins(const AnsiString& fileName, TStrings* inputs, TStrings* outputs) override;
    // Loads the file into a document without a window, checks it (the check
    // shows its message) and appends its transition table; false when the
    // file is missing, refused or fails the check.
    bool AppendTransitionTable(const AnsiString& fileName, TStrings* lines) override;
};

// Makes the scheme model's state-machine elements use TFsmServices.
void InstallFsmServices();
