#include "controls/gui/ComboEditPaint.h"

#include "platform/Canvas.h"

TPoint EditorTextMargins(TCustomComboEdit* editor) {
    const int border = editor->BorderStyle() == bsNone ? 0 : 2;
    const auto margins = static_cast<unsigned>(editor->Perform(EM_GETMARGINS));
    return TPoint(int(margins & 0xFFFF) + border, border);
}

bool PaintComboEdit(TCustomComboEdit* editor, const AnsiString& text, TAlignment alignment, bool standardPaint,
                    TCanvas* canvas) {
    if (standardPaint && editor->Enabled()) return false;
    const TPoint margins = EditorTextMargins(editor);
    // The formatting rectangle of the edit: the button keeps its own place.
    const TRect area = Rect(0, 0, editor->ClientWidth() - editor->ButtonWidth() - 2, editor->ClientHeight() + 1);
    AnsiString shown = text;
    if (editor->PasswordChar() != 0)
        for (int i = 1; i <= shown.Length(); ++i) shown[i] = editor->PasswordChar();
    canvas->SetFont(editor->Font());
    if (!editor->Enabled() && editor->Color() != clGrayText) canvas->Font()->SetColor(clGrayText);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(editor->Color());
    const int width = canvas->TextWidth(shown);
    int x = margins.x;
    if (alignment == taRightJustify) x = area.Right - margins.x - width;
    else if (alignment == taCenter) x = (area.Left + area.Right - width) / 2;
    canvas->TextRect(area, x, margins.y, shown);
    return true;
}
