#pragma once
// Menus: the form's main menu, pop-up menus and their items. A caption "-"
// makes a separator; "&" marks the accelerator letter. A menu item bound to
// an action shows and runs the action.

#include <memory>
#include <vector>

#include "platform/gui/Actions.h"

class QAction;
class QMenu;
class QWidget;
class TMenu;
class TMenuItemLink;

class EMenuError : public Exception {
public:
    explicit EMenuError(AnsiString message) : Exception(std::move(message)) {}
};

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& s);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut s);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& s);
    bool AutoCheck = false;
    int ImageIndex = -1;
    bool IsLine() const { return caption_ == "-"; }

    TBasicAction* Action() const;
    void SetAction(TBasicAction* a);

    // Sub-items.
    int Count() const { return int(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* operator[](int index) const { return Items(index); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Delete(int index);
    void Remove(TMenuItem* item);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return parentItem_; }
    int MenuIndex() const;
    // The first enabled item (this one or below) bound to the shortcut.
    TMenuItem* FindByShortCut(TShortCut s);

    TNotifyEvent OnClick;
    // Runs the action when one is bound, else OnClick.
    virtual void Click();
    void ActionChange(TBasicAction* a);

    // The Qt side: the item's action and, with sub-items, its menu.
    QAction* QtAction() const { return action_; }
    QMenu* QtMenu();

private:
    friend class TMenu;
    friend TMenuItem* NewItem(TMenuItem*, const AnsiString&, const AnsiString&, TNotifyEvent, TShortCut);
    void Rebuild();
    void UpdateText();
    void ChildrenChanged();
    AnsiString caption_;
    TShortCut shortCut_ = 0;
    bool checked_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    AnsiString hint_;
    std::vector<TMenuItem*> items_;
    TMenuItem* parentItem_ = nullptr;
    QAction* action_ = nullptr;
    QMenu* menu_ = nullptr;
    TMenu* rootOf_ = nullptr; // the menu whose root item this is
    std::unique_ptr<TMenuItemLink> link_;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() const { return items_; }
    // Fires the item bound to the shortcut; true when one fired.
    bool IsShortCut(TShortCut s, bool lettersToo = true);
    TComponent* Images = nullptr;

protected:
    TMenuItem* items_;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    // Fills a Qt menu bar with the top-level items.
    void FillMenuBar(QWidget* menuBar);
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    // Shows the menu at a screen point and returns when it closes.
    virtual void Popup(int x, int y);
    bool AutoPopup = true;
    TPopupAlignment Alignment = paLeft;
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;
};

// Makes a menu item with a caption (and a name) under a parent item.
TMenuItem* NewItem(TMenuItem* parent, const AnsiString& name, const AnsiString& caption, TNotifyEvent onClick = nullptr, TShortCut shortCut = 0);
