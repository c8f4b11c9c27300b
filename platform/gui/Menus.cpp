// Actions, shortcuts and menus.
#include "platform/gui/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "platform/QtText.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"

// ---- shortcuts -------------------------------------------------------------------

TShortCut ShortCut(WORD key, unsigned shift) {
    if (key & 0xFF00) return 0;
    TShortCut s = key;
    if (shift & ssShift) s |= scShift;
    if (shift & ssCtrl) s |= scCtrl;
    if (shift & ssAlt) s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut s, WORD& key, unsigned& shift) {
    key = s & 0xFF;
    shift = 0;
    if (s & scShift) shift |= ssShift;
    if (s & scCtrl) shift |= ssCtrl;
    if (s & scAlt) shift |= ssAlt;
}

namespace {

struct KeyName {
    WORD key;
    const char* name;
};
const KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"}, {VK_HOME, "Home"}, {VK_LEFT, "Left"},
    {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
    {VK_ADD, "Num +"}, {VK_SUBTRACT, "Num -"}, {VK_MULTIPLY, "Num *"}, {VK_DIVIDE, "Num /"},
};

AnsiString KeyText(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return AnsiString(char(key));
    if (key >= VK_F1 && key <= VK_F12) return "F" + IntToStr(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "Num " + IntToStr(key - VK_NUMPAD0);
    for (const KeyName& k : kKeyNames)
        if (k.key == key) return k.name;
    return "";
}

} // namespace

AnsiString ShortCutToText(TShortCut s) {
    AnsiString name = KeyText(s & 0xFF);
    if (name.IsEmpty()) return "";
    AnsiString r;
    if (s & scShift) r += "Shift+";
    if (s & scCtrl) r += "Ctrl+";
    if (s & scAlt) r += "Alt+";
    return r + name;
}

TShortCut TextToShortCut(const AnsiString& text) {
    AnsiString t = text;
    TShortCut mods = 0;
    for (;;) {
        if (t.SubString(1, 6).AnsiCompareIC("Shift+") == 0) { mods |= scShift; t = t.SubString(7, t.Length()); }
        else if (t.SubString(1, 5).AnsiCompareIC("Ctrl+") == 0) { mods |= scCtrl; t = t.SubString(6, t.Length()); }
        else if (t.SubString(1, 4).AnsiCompareIC("Alt+") == 0) { mods |= scAlt; t = t.SubString(5, t.Length()); }
        else break;
    }
    for (WORD k = 1; k < 0x100; ++k) {
        AnsiString n = KeyText(k);
        if (!n.IsEmpty() && SameText(n, t)) return TShortCut(mods | k);
    }
    return 0;
}

bool IsLetterShortCut(TShortCut s) {
    if (s & (scCtrl | scAlt)) return false;
    WORD k = s & 0xFF;
    return (k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9') || k == VK_SPACE || (k >= 0xBA && k <= 0xDE);
}

// ---- actions ---------------------------------------------------------------------

TBasicAction::~TBasicAction() {
    Destroying();
    for (TBasicActionLink* l : std::vector<TBasicActionLink*>(clients_)) l->SetAction(nullptr);
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
    if (std::find(clients_.begin(), clients_.end(), link) == clients_.end()) clients_.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
    clients_.erase(std::remove(clients_.begin(), clients_.end(), link), clients_.end());
}

void TBasicAction::Change() {
    for (TBasicActionLink* l : std::vector<TBasicActionLink*>(clients_)) l->Changed();
}

TCustomAction::~TCustomAction() {
    Destroying();
    SetActionList(nullptr);
}

void TCustomAction::SetActionList(TActionList* list) {
    if (list == list_) return;
    if (list_) {
        auto& v = list_->actions_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    list_ = list;
    if (list_) list_->actions_.push_back(this);
}

int TCustomAction::Index() const {
    if (!list_) return -1;
    auto& v = list_->actions_;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : int(it - v.begin());
}

void TCustomAction::SetCaption(const AnsiString& s) {
    if (s == caption_) return;
    caption_ = s;
    Change();
}

void TCustomAction::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    if (v && groupIndex_ > 0 && list_)
        for (TCustomAction* a : list_->actions_)
            if (a != this && a->groupIndex_ == groupIndex_) a->SetChecked(false);
    Change();
}

void TCustomAction::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Change();
}

void TCustomAction::SetHint(const AnsiString& s) {
    if (s == hint_) return;
    hint_ = s;
    Change();
}

void TCustomAction::SetImageIndex(int v) {
    if (v == imageIndex_) return;
    imageIndex_ = v;
    Change();
}

void TCustomAction::SetShortCut(TShortCut s) {
    if (s == shortCut_) return;
    shortCut_ = s;
    Change();
}

void TCustomAction::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Change();
}

void TCustomAction::SetGroupIndex(int v) {
    groupIndex_ = v;
    Change();
}

bool TCustomAction::Execute() {
    Update();
    if (!enabled_) return false;
    if (AutoCheck) SetChecked(!checked_);
    if (list_ && list_->OnExecute) {
        bool handled = false;
        list_->OnExecute(this, handled);
        if (handled) return true;
    }
    return TBasicAction::Execute();
}

TActionList::~TActionList() {
    Destroying();
    for (TCustomAction* a : std::vector<TCustomAction*>(actions_)) a->SetActionList(nullptr);
}

TCustomAction* TActionList::Actions(int index) const {
    if (index < 0 || index >= ActionCount()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return actions_[std::size_t(index)];
}

bool TActionList::IsShortCut(TShortCut s, bool lettersToo) {
    if (!s || (!lettersToo && IsLetterShortCut(s))) return false;
    for (TCustomAction* a : std::vector<TCustomAction*>(actions_)) {
        if (a->ShortCut() != s) continue;
        a->Update();
        if (!a->Enabled()) continue;
        a->ActionComponent = nullptr;
        a->Execute();
        return true;
    }
    return false;
}

void TActionList::UpdateActions() {
    for (TCustomAction* a : std::vector<TCustomAction*>(actions_)) {
        if (OnUpdate) {
            bool handled = false;
            OnUpdate(a, handled);
            if (handled) continue;
        }
        a->Update();
    }
}

TBasicActionLink::~TBasicActionLink() {
    if (action_) action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* a) {
    if (a == action_) return;
    if (action_) action_->UnRegisterChanges(this);
    action_ = a;
    if (action_) action_->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* trigger) {
    if (!action_) return false;
    action_->ActionComponent = trigger;
    bool r = action_->Execute();
    if (action_) action_->ActionComponent = nullptr;
    return r;
}

TActionProperties TActionProperties::Of(const TCustomAction& a) {
    TActionProperties p;
    p.Caption = a.Caption();
    p.Hint = a.Hint();
    p.Enabled = a.Enabled();
    p.Visible = a.Visible();
    p.Checked = a.Checked();
    p.ShortCut = a.ShortCut();
    p.ImageIndex = a.ImageIndex();
    return p;
}

AnsiString StripHotkey(const AnsiString& caption) {
    std::string r;
    const std::string& s = caption.str();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') {
                r += '&';
                ++i;
            }
            continue;
        }
        r += s[i];
    }
    return AnsiString(r);
}

AnsiString ActionHint(const TCustomAction& action) {
    return action.Hint().IsEmpty() ? StripHotkey(action.Caption()) : action.Hint();
}

TControlActionLink::TControlActionLink(TControl* client) : TBasicActionLink(client) {}

void TControlActionLink::Changed() {
    if (auto* c = dynamic_cast<TControl*>(Client())) c->ActionChange(Action(), false);
}

namespace {

void CollectLists(TComponent* c, std::vector<TActionList*>& out) {
    for (int i = 0; i < c->ComponentCount(); ++i) {
        TComponent* x = c->Components(i);
        if (auto* l = dynamic_cast<TActionList*>(x)) out.push_back(l);
    }
}

} // namespace

void UpdateAllActions() {
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* f = Screen->Forms(i);
        if (!f->Visible() && !f->IsModal()) continue;
        std::vector<TActionList*> lists;
        CollectLists(f, lists);
        for (TActionList* l : lists) l->UpdateActions();
    }
}

// ---- menus -----------------------------------------------------------------------

class TMenuItemLink : public TBasicActionLink {
public:
    explicit TMenuItemLink(TMenuItem* item) : TBasicActionLink(item) {}
    void Changed() override { static_cast<TMenuItem*>(Client())->ActionChange(Action()); }
    TActionFollow Follow;
};

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
    action_ = new QAction(nullptr);
    QObject::connect(action_, &QAction::triggered, [this] {
        // Qt flips a checkable action by itself; the check mark is the item's
        // Checked, which only the handler (or AutoCheck) changes.
        action_->setChecked(checked_);
        Dispatch([this] { Click(); });
    });
    QObject::connect(action_, &QAction::hovered, [this] {
        Application->SetHint(GetLongHint(hint_));
    });
}

TMenuItem::~TMenuItem() {
    Destroying();
    link_.reset();
    for (TMenuItem* c : std::vector<TMenuItem*>(items_)) c->parentItem_ = nullptr;
    items_.clear();
    if (parentItem_) parentItem_->Remove(this);
    delete menu_;
    delete action_;
}

void TMenuItem::UpdateText() {
    // A separator is drawn as a line only: some styles would draw its
    // caption "-" beside the line.
    if (IsLine()) {
        action_->setText(QString());
        action_->setSeparator(true);
        return;
    }
    AnsiString t = caption_;
    if (shortCut_) t += "\t" + ShortCutToText(shortCut_);
    action_->setText(ToQString(t));
    action_->setSeparator(false);
}

void TMenuItem::SetCaption(const AnsiString& s) {
    caption_ = s;
    UpdateText();
}

void TMenuItem::SetShortCut(TShortCut s) {
    shortCut_ = s;
    UpdateText();
}

void TMenuItem::SetChecked(bool v) {
    checked_ = v;
    action_->setCheckable(v || radioItem_ || AutoCheck);
    action_->setChecked(v);
    if (v && radioItem_ && parentItem_)
        for (TMenuItem* s : parentItem_->items_)
            if (s != this && s->radioItem_ && s->groupIndex_ == groupIndex_ && s->checked_) s->SetChecked(false);
}

void TMenuItem::SetRadioItem(bool v) {
    radioItem_ = v;
    action_->setCheckable(v || checked_);
}

void TMenuItem::SetGroupIndex(int v) { groupIndex_ = v; }

void TMenuItem::SetVisible(bool v) {
    visible_ = v;
    action_->setVisible(v);
}

void TMenuItem::SetEnabled(bool v) {
    enabled_ = v;
    action_->setEnabled(v);
}

void TMenuItem::SetHint(const AnsiString& s) {
    hint_ = s;
    action_->setStatusTip(ToQString(GetLongHint(s)));
}

TBasicAction* TMenuItem::Action() const { return link_ ? link_->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* a) {
    if (!a) {
        link_.reset();
        return;
    }
    if (!link_) link_ = std::make_unique<TMenuItemLink>(this);
    link_->SetAction(a);
    link_->Follow.Forget();
    ActionChange(a);
}

void TMenuItem::ActionChange(TBasicAction* a) {
    auto* ca = dynamic_cast<TCustomAction*>(a);
    if (!ca) return;
    // Each property follows the action while the item shows what it took
    // from it last; a value of the item's own is kept.
    const TActionProperties now = TActionProperties::Of(*ca);
    TActionFollow none;
    TActionFollow& f = link_ && link_->Action() == a ? link_->Follow : none;
    const TActionProperties& was = f.Given();
    if (f.Follows(TActionFollow::pCaption, caption_ == was.Caption)) SetCaption(now.Caption);
    if (f.Follows(TActionFollow::pShortCut, shortCut_ == was.ShortCut)) SetShortCut(now.ShortCut);
    if (f.Follows(TActionFollow::pChecked, checked_ == was.Checked)) SetChecked(now.Checked);
    if (f.Follows(TActionFollow::pEnabled, enabled_ == was.Enabled)) SetEnabled(now.Enabled);
    if (f.Follows(TActionFollow::pVisible, visible_ == was.Visible)) SetVisible(now.Visible);
    if (f.Follows(TActionFollow::pHint, hint_ == was.Hint)) SetHint(now.Hint);
    if (f.Follows(TActionFollow::pImageIndex, ImageIndex == was.ImageIndex)) ImageIndex = now.ImageIndex;
    f.Remember(now);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return items_[std::size_t(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parentItem_) throw EMenuError("Menu inserted twice");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parentItem_ = this;
    ChildrenChanged();
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    items_.erase(items_.begin() + index);
    item->parentItem_ = nullptr;
    ChildrenChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
    int i = IndexOf(item);
    if (i >= 0) Delete(i);
}

void TMenuItem::Clear() {
    for (TMenuItem* c : std::vector<TMenuItem*>(items_)) delete c;
    items_.clear();
    ChildrenChanged();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

int TMenuItem::MenuIndex() const { return parentItem_ ? parentItem_->IndexOf(this) : -1; }

TMenuItem* TMenuItem::FindByShortCut(TShortCut s) {
    for (TMenuItem* c : items_) {
        if (c->shortCut_ == s && c->enabled_ && !c->IsLine()) return c;
        if (TMenuItem* x = c->FindByShortCut(s)) return x;
    }
    return nullptr;
}

QMenu* TMenuItem::QtMenu() {
    if (!menu_) {
        menu_ = new QMenu;
        QObject::connect(menu_, &QMenu::aboutToShow, [this] {
            // Items bound to actions show their current state.
            for (TMenuItem* c : items_)
                if (c->Action()) Dispatch([c] { c->Action()->Update(); });
        });
        Rebuild();
    }
    return menu_;
}

void TMenuItem::ChildrenChanged() {
    if (menu_) Rebuild();
    if (parentItem_) parentItem_->ChildrenChanged();
    else if (auto* m = dynamic_cast<TMainMenu*>(rootOf_); m && !m->IsDestroying()) {
        // The form's menu bar follows.
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i)->Menu() == m) Screen->Forms(i)->SetMenu(m);
    }
}

void TMenuItem::Rebuild() {
    menu_->clear();
    for (TMenuItem* c : items_) {
        if (!c->items_.empty()) c->action_->setMenu(c->QtMenu());
        menu_->addAction(c->action_);
    }
}

void TMenuItem::Click() {
    if (AutoCheck) SetChecked(!checked_);
    if (OnClick) OnClick(this);
    else if (link_ && link_->Action()) link_->Execute(this);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->rootOf_ = this; }

TMenu::~TMenu() {
    Destroying();
    // The items belong to the menu's owner, which frees them; only the root
    // item is the menu's own.
    items_->rootOf_ = nullptr;
    delete items_;
}

bool TMenu::IsShortCut(TShortCut s, bool lettersToo) {
    if (!s || (!lettersToo && IsLetterShortCut(s))) return false;
    TMenuItem* item = items_->FindByShortCut(s);
    if (!item) return false;
    if (item->Action()) {
        item->Action()->Update();
        if (auto* ca = dynamic_cast<TCustomAction*>(item->Action()); ca && !ca->Enabled()) return false;
    }
    item->Click();
    return true;
}

void TMainMenu::FillMenuBar(QWidget* w) {
    auto* bar = static_cast<QMenuBar*>(w);
    bar->clear();
    for (int i = 0; i < items_->Count(); ++i) {
        TMenuItem* top = items_->Items(i);
        if (top->Count()) top->QtAction()->setMenu(top->QtMenu());
        bar->addAction(top->QtAction());
    }
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    for (int i = 0; i < items_->Count(); ++i)
        if (TBasicAction* a = items_->Items(i)->Action()) a->Update();
    QMenu* m = items_->QtMenu();
    QPoint at(x, y);
    if (Alignment == paRight) at.rx() -= m->sizeHint().width();
    else if (Alignment == paCenter) at.rx() -= m->sizeHint().width() / 2;
    m->exec(at);
}

TMenuItem* NewItem(TMenuItem* parent, const AnsiString& name, const AnsiString& caption, TNotifyEvent onClick, TShortCut shortCut) {
    // The items belong to the owner of the menu they join, which frees them
    // (the root item of a menu has no owner of its own).
    TComponent* owner = nullptr;
    if (parent) owner = parent->Owner() ? parent->Owner() : parent->rootOf_ ? parent->rootOf_->Owner() : nullptr;
    auto* item = new TMenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    item->SetShortCut(shortCut);
    if (parent) parent->Add(item);
    return item;
}
