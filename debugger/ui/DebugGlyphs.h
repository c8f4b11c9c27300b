#pragma once
// The pictures of the debugger's glyph buttons, drawn for this program:
// 16 by 16, fuchsia where the button shows through.

#include <memory>

class TBitmap;
class TCanvas;

enum TDebugGlyph {
    dgRetry, dgHalt, dgStep, dgTimers, dgIncrement, dgFind, dgDebugger,
    dgAdd, dgDelete, dgFormula, dgScheme, dgFitHeight, dgFirstSize
};

// Draws the glyph on a 16 by 16 cell already filled with the clear colour.
void DrawDebugGlyph(TDebugGlyph glyph, TCanvas& canvas);
std::unique_ptr<TBitmap> MakeDebugGlyph(TDebugGlyph glyph);
