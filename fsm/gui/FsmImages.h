#pragma once
// The pictures of the state-machine window's toolbar, drawn for this program.

class TImageList;

enum TFsmImage {
    fiSelect, fiCondition, fiInputs, fiOutputs, fiState, fiTransition,
    // The simulation button: running, stopped.
    fiSimulationRunning, fiSimulationStopped,
    fiReset,
    kFsmImageCount
};

// Fills the list with the pictures in TFsmImage order (16 by 16).
void FillFsmImages(TImageList* list);
