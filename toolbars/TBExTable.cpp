// The rows of a toolbar's table made into buttons and separators.
#include "toolbars/TBExTable.h"

#include "platform/ImageList.h"
#include "toolbars/TBExTlbr.h"

TToolbarButtonEx* NewTableButton(TComponent* form, TWinControl* bar, const char* action, const char* name,
                                 int group, unsigned flags, const char* hint, int image, TNotifyEvent click,
                                 TButtonSet& style) {
    const bool separator = action && AnsiString(action) == "-";
    const AnsiString buttonName =
        name ? AnsiString(name) : AnsiString(separator ? "Sep" : "Button") + IntToStr(++style.Count);
    if (separator) {
        NewControl<TToolbarSepEx>(form, bar, buttonName);
        return nullptr;
    }
    auto* b = NewControl<TToolbarButtonEx>(form, bar, buttonName);
    b->SetImages(style.Images);
    if (!action) b->SetImageIndex(image);
    b->SetDisplayMode(dmGlyphOnly);
    // A button of an action shows the action's hint (its caption when it has
    // none) unless it has one of its own.
    if (action) b->SetAction(FindTableAction(form, action));
    if (hint && *hint) b->SetHint(Utf8ToAnsi(hint));
    if (style.ShowHint) b->SetShowHint(true);
    if (group) b->SetGroupIndex(group);
    if (flags & bfHidden) b->SetVisible(false);
    if (flags & bfDown) b->SetDown(true);
    if (click) b->OnClick = std::move(click);
    return b;
}
