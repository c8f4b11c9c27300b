#pragma once
// A toolbar's buttons declared as data, one row a button in the order the
// toolbar lays them out: the action it shows, or an image, hint and click of
// its own; its radio group; a separator; or a control of another kind that
// the form makes. AddToolbarButtons makes them, as the form's description
// would.

#include "platform/gui/ActionTable.h"
#include "toolbars/TBExCtls.h"

class TImageList;
class TToolbarEx;

// A button hidden, or pressed at start.
enum TButtonFlag : unsigned { bfHidden = 1, bfDown = 2 };

// Action "-" makes a separator; no action, a button with Image, Hint and
// Click of its own; Make, a control the form makes on the bar.
template <class Form>
struct TButtonRow {
    const char* Action;
    const char* Name = nullptr;
    TToolbarButtonEx* Form::*Field = nullptr;
    int Group = 0;
    unsigned Flags = 0;
    const char* Hint = "";
    int Image = -1;
    TFormHandler<Form> Click{};
    void (*Make)(Form&, TWinControl* bar) = nullptr;
};

// What a window's buttons share: the images and whether they show hints;
// the count that numbers buttons and separators without a name.
struct TButtonSet {
    TImageList* Images = nullptr;
    bool ShowHint = false;
    int Count = 0;
};

// The parts of the routine that do not depend on the form; null for a
// separator.
TToolbarButtonEx* NewTableButton(TComponent* form, TWinControl* bar, const char* action, const char* name,
                                 int group, unsigned flags, const char* hint, int image, TNotifyEvent click,
                                 TButtonSet& style);

// Makes the rows' buttons on the bar, in row order.
template <class Form>
void AddToolbarButtons(TWinControl* bar, Form* form, std::span<const TButtonRow<std::type_identity_t<Form>>> rows,
                       TButtonSet& style) {
    for (const auto& row : rows) {
        if (row.Make) {
            row.Make(*form, bar);
            continue;
        }
        TToolbarButtonEx* b = NewTableButton(form, bar, row.Action, row.Name, row.Group, row.Flags, row.Hint,
                                             row.Image, row.Click.For(form), style);
        if (row.Field) form->*row.Field = b;
    }
}
