#pragma once
// A window's commands declared as data: one row an action (its name, caption,
// shortcut, hint, image, execute and update handlers, the form's field that
// keeps it) and one row a menu item (its depth, the action it shows or a
// caption and click of its own). NewActions and NewMenuItems make them in row
// order, as the form's description would; each window keeps one table of
// actions and one of menu items, so that a command is added or changed in one
// row rather than in construction code.

#include <span>
#include <type_traits>
#include <vector>

#include "platform/gui/Menus.h"

// A handler of one of a form's commands: a member of the form, or a function
// given the form (for commands the form hands on to another object).
template <class Form>
class TFormHandler {
public:
    using Member = void (Form::*)(TObject*);
    using Function = void (*)(Form&, TObject*);
    constexpr TFormHandler() = default;
    constexpr TFormHandler(Member member) : member_(member) {}
    constexpr TFormHandler(Function function) : function_(function) {}
    constexpr explicit operator bool() const { return member_ || function_; }
    // The event that runs the handler on the form; empty without one.
    TNotifyEvent For(Form* form) const {
        if (member_) return [form, m = member_](TObject* sender) { (form->*m)(sender); };
        if (function_) return [form, f = function_](TObject* sender) { f(*form, sender); };
        return nullptr;
    }

private:
    Member member_ = nullptr;
    Function function_ = nullptr;
};

// The handler of a command that is kept for its key and does nothing.
template <class Form>
void IgnoreCommand(Form&, TObject*) {}

// How a row's action or item starts: hidden, disabled, ticked; an item that
// runs its action when clicked without showing it (its caption, state and
// tick are its own).
enum TCommandFlag : unsigned { cfHidden = 1, cfDisabled = 2, cfChecked = 4, cfRunsAction = 8 };

// One action. Texts are UTF-8; Key as ShortCutToText writes it ("Ctrl+N",
// "Del", "" for none). Make, when given, makes an action of another class
// (a window arrangement); the row gives it the rest. An action with neither
// an execute handler nor a class of its own is disabled: it would do
// nothing, and its key must reach whoever serves it.
template <class Form>
struct TActionRow {
    const char* Name;
    const char* Caption = "";
    const char* Key = "";
    const char* Hint = "";
    int Image = -1;
    TFormHandler<Form> Execute{};
    TFormHandler<Form> Update{};
    TAction* Form::*Field = nullptr;
    unsigned Flags = 0;
    TAction* (*Make)(Form&) = nullptr;
};

// One menu item, below the last item of the level above (level 0: the
// menu's own items). Caption "-" makes a separator; an item that shows an
// action takes the action's caption unless it has one of its own. An item
// without a name is numbered.
template <class Form>
struct TMenuRow {
    int Level;
    const char* Caption = "";
    const char* Action = nullptr;
    unsigned Flags = 0;
    const char* Name = nullptr;
    TMenuItem* Form::*Field = nullptr;
    TFormHandler<Form> Click{};
    const char* Hint = "";
    const char* Key = "";
};

// The names of a window's numbered menu items: a prefix by kind and one count
// for all of them, carried from one menu of the window to the next.
struct TMenuNumbering {
    const char* Item = "Item";
    const char* Menu = "Menu";
    const char* Line = "Sep";
    int Count = 0;
};

// The parts of the routines that do not depend on the form.
TAction* NewTableAction(TActionList* list, TAction* made, const char* name, const char* caption, const char* key,
                        const char* hint, int image, unsigned flags);
TMenuItem* NewTableItem(TComponent* form, TMenuItem* parent, const char* caption, const char* action, unsigned flags,
                        const char* name, TNotifyEvent click, const char* hint, const char* key,
                        TMenuNumbering& numbering);
// The form's action of that name; EMenuError when it has none.
TBasicAction* FindTableAction(TComponent* form, const char* name);

// Makes the actions of the rows in the form's list, in row order.
template <class Form>
void NewActions(TActionList* list, Form* form, std::span<const TActionRow<std::type_identity_t<Form>>> rows) {
    for (const auto& row : rows) {
        const unsigned idle = row.Execute || row.Make ? 0u : unsigned(cfDisabled);
        TAction* a = NewTableAction(list, row.Make ? row.Make(*form) : nullptr, row.Name, row.Caption, row.Key,
                                    row.Hint, row.Image, row.Flags | idle);
        if (row.Execute) a->OnExecute = row.Execute.For(form);
        if (row.Update) a->OnUpdate = row.Update.For(form);
        if (row.Field) form->*row.Field = a;
    }
}

// Makes the items of the rows under root, in row order.
template <class Form>
void NewMenuItems(TMenuItem* root, Form* form, std::span<const TMenuRow<std::type_identity_t<Form>>> rows,
                  TMenuNumbering& numbering) {
    std::vector<TMenuItem*> last{root};
    for (const auto& row : rows) {
        last.resize(std::size_t(row.Level) + 1);
        TMenuItem* m = NewTableItem(form, last.back(), row.Caption, row.Action, row.Flags, row.Name,
                                    row.Click.For(form), row.Hint, row.Key, numbering);
        last.push_back(m);
        if (row.Field) form->*row.Field = m;
    }
}
