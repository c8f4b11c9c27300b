// The rows of a window's action and menu tables made into actions and items.
#include "platform/gui/ActionTable.h"

namespace {

AnsiString Text(const char* utf8) { return utf8 ? Utf8ToAnsi(utf8) : AnsiString(); }

// A row's key; a text that names no key is a fault of the table.
TShortCut KeyOf(const char* key) {
    if (!key || !*key) return 0;
    const TShortCut s = TextToShortCut(key);
    if (!s) throw EMenuError(AnsiString("No key is called ") + key);
    return s;
}

} // namespace

TAction* NewTableAction(TActionList* list, TAction* made, const char* name, const char* caption, const char* key,
                        const char* hint, int image, unsigned flags) {
    TAction* a = made ? made : new TAction(list->Owner());
    a->SetName(name);
    a->SetCaption(Text(caption));
    if (const TShortCut s = KeyOf(key)) a->SetShortCut(s);
    if (hint && *hint) a->SetHint(Text(hint));
    if (image >= 0) a->SetImageIndex(image);
    if (flags & cfHidden) a->SetVisible(false);
    if (flags & cfDisabled) a->SetEnabled(false);
    if (flags & cfChecked) a->SetChecked(true);
    a->SetActionList(list);
    return a;
}

TBasicAction* FindTableAction(TComponent* form, const char* name) {
    if (auto* a = dynamic_cast<TBasicAction*>(form->FindComponent(name))) return a;
    throw EMenuError(AnsiString("No action is called ") + name);
}

TMenuItem* NewTableItem(TComponent* form, TMenuItem* parent, const char* caption, const char* action, unsigned flags,
                        const char* name, TNotifyEvent click, const char* hint, const char* key,
                        TMenuNumbering& numbering) {
    const AnsiString own = Text(caption);
    AnsiString itemName;
    if (name) itemName = name;
    else itemName = AnsiString(own == "-" ? numbering.Line : action ? numbering.Item : numbering.Menu) +
                    IntToStr(++numbering.Count);
    TMenuItem* m = nullptr;
    if (!action) {
        m = NewItem(parent, itemName, own, std::move(click), KeyOf(key));
    } else if (flags & cfRunsAction) {
        TBasicAction* a = FindTableAction(form, action);
        m = NewItem(parent, itemName, own);
        m->OnClick = [a](TObject*) { a->Execute(); };
    } else {
        // The item follows its action in all it does not have of its own.
        m = NewItem(parent, itemName, AnsiString());
        m->SetAction(FindTableAction(form, action));
        if (!own.IsEmpty()) m->SetCaption(own);
    }
    if (hint && *hint) m->SetHint(Text(hint));
    if (flags & cfHidden) m->SetVisible(false);
    if (flags & cfDisabled) m->SetEnabled(false);
    if (flags & cfChecked) m->SetChecked(true);
    return m;
}
