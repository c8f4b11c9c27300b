#pragma once
// Painting routines for edits with a button that draw their own text (none
// of the library's edits does; they are offered for such edits).

#include "controls/gui/ToolEdit.h"

class TCanvas;

// The text's margins inside the edit: x is the edit's own left margin plus
// the width of its border (0 without a border, 2 for the flat single border),
// y the border's width.
TPoint EditorTextMargins(TCustomComboEdit* editor);

// Draws text in the edit's area left of its button, with the alignment and
// the margins above, on the edit's colour: every character as the password
// character when the edit has one, and in the gray-text colour while the
// edit is disabled (unless its background is that colour). With
// standardPaint an enabled edit shows its text itself: nothing is drawn.
// Answers whether it drew.
bool PaintComboEdit(TCustomComboEdit* editor, const AnsiString& text, TAlignment alignment, bool standardPaint,
                    TCanvas* canvas);
