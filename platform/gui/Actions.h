#pragma once
// Actions and action lists, their links to controls and menu items, and
// shortcuts. A shortcut fires on key down, exactly once per press: the form
// that holds the focus is asked first (its menu, then its action lists), then
// the MDI frame of a child, then the main form; the first that fires ends the
// search. A shortcut without Ctrl or Alt (a letter key) acts only in the top
// window that holds the focus and never while the focus is in a text field.

#include <vector>

#include "platform/Classes.h"
#include "platform/gui/Messages.h"

class TControl;
class TActionList;
class TBasicActionLink;

using TShortCut = WORD;
constexpr WORD scShift = 0x2000;
constexpr WORD scCtrl = 0x4000;
constexpr WORD scAlt = 0x8000;
constexpr WORD scNone = 0;
// Shift state bits are those of Controls.h (ssShift 1, ssAlt 2, ssCtrl 4).
TShortCut ShortCut(WORD key, unsigned shift);
void ShortCutToKey(TShortCut s, WORD& key, unsigned& shift);
// "Ctrl+Shift+F11", "Del", "Alt+Enter" ...
AnsiString ShortCutToText(TShortCut s);
TShortCut TextToShortCut(const AnsiString& text);
// A shortcut that types a character: no Ctrl and no Alt, a printable key.
bool IsLetterShortCut(TShortCut s);

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
    ~TBasicAction() override;
    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    // Runs OnUpdate; false when there is none.
    virtual bool Update();
    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;
    // The component that triggered the last execution (a button, a menu item).
    TComponent* ActionComponent = nullptr;

    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);

protected:
    void Change();
    std::vector<TBasicActionLink*> clients_;
};

class TCustomAction : public TBasicAction {
public:
    explicit TCustomAction(TComponent* owner) : TBasicAction(owner) {}
    ~TCustomAction() override;

    TActionList* ActionList() const { return list_; }
    void SetActionList(TActionList* list);
    int Index() const;

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& s);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& s);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut s);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    AnsiString Category;
    int HelpContext = 0;
    bool AutoCheck = false;

    bool Execute() override;

private:
    TActionList* list_ = nullptr;
    AnsiString caption_;
    bool checked_ = false;
    bool enabled_ = true;
    AnsiString hint_;
    int imageIndex_ = -1;
    TShortCut shortCut_ = 0;
    bool visible_ = true;
    int groupIndex_ = 0;
};

class TAction : public TCustomAction {
public:
    explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* owner) : TComponent(owner) {}
    ~TActionList() override;
    int ActionCount() const { return int(actions_.size()); }
    TCustomAction* Actions(int index) const;
    // Fires the enabled action with this shortcut; true when one fired.
    bool IsShortCut(TShortCut s, bool lettersToo = true);
    // Runs the update handler of every action.
    void UpdateActions();
    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TComponent* Images = nullptr;

private:
    friend class TCustomAction;
    std::vector<TCustomAction*> actions_;
};

// A form makes the actions it lists from a table of rows (ActionTable.h).

// Keeps a client (control, menu item) in step with its action.
class TBasicActionLink {
public:
    explicit TBasicActionLink(TObject* client) : client_(client) {}
    virtual ~TBasicActionLink();
    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* a);
    TObject* Client() const { return client_; }
    // Runs the action with the client as the triggering component.
    virtual bool Execute(TComponent* trigger);
    // The action changed a property: the client follows.
    virtual void Changed() {}

private:
    TObject* client_;
    TBasicAction* action_ = nullptr;
};

// The values of an action that its clients show.
struct TActionProperties {
    AnsiString Caption;
    AnsiString Hint;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    TShortCut ShortCut = 0;
    int ImageIndex = -1;
    static TActionProperties Of(const TCustomAction& action);
};

// What a client's link remembers of its action. The client follows each
// property of the action while it shows the value it took last; once it was
// given a value of its own (a menu item's own caption, an item hidden where
// its action is not) it keeps that property until it is bound anew.
class TActionFollow {
public:
    enum Property : unsigned {
        pCaption = 1, pHint = 2, pEnabled = 4, pVisible = 8, pChecked = 16, pShortCut = 32, pImageIndex = 64
    };
    // Whether the client takes the action's new value of the property;
    // shows: whether the client still shows what it took last.
    bool Follows(Property p, bool shows) {
        if (!given_) return true;
        if (!shows) own_ |= p;
        return !(own_ & p);
    }
    const TActionProperties& Given() const { return last_; }
    bool HasGiven() const { return given_; }
    void Remember(const TActionProperties& p) {
        last_ = p;
        given_ = true;
    }
    // Bound anew: the client takes every property again.
    void Forget() {
        given_ = false;
        own_ = 0;
    }

private:
    TActionProperties last_;
    bool given_ = false;
    unsigned own_ = 0;
};

// The caption without its accelerator marks ("В&ставить" -> "Вставить";
// "&&" stays one "&").
AnsiString StripHotkey(const AnsiString& caption);
// The hint that a control bound to the action shows: the action's hint, or,
// when it has none, its caption without accelerator marks.
AnsiString ActionHint(const TCustomAction& action);

class TControlActionLink : public TBasicActionLink {
public:
    explicit TControlActionLink(TControl* client);
    void Changed() override;
    TActionFollow Follow;
};

// Runs every action update of the visible forms (the idle work).
void UpdateAllActions();
