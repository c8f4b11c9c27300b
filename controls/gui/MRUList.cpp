#include "controls/gui/MRUList.h"

#include <algorithm>

#include "controls/gui/Apputils.h"
#include "platform/ScopeGuard.h"
#include "platform/gui/Forms.h"

TMRUManager::TMRUManager(TComponent* owner) : TComponent(owner), iniLink_(std::make_unique<TIniLink>()) {
    list_.SetMaxSize(10);
    list_.OnChange = [this](TObject*) { ListChanged(); };
    iniLink_->OnSave = [this](TObject*) {
        if (!Name().IsEmpty() && iniLink_->IniObject()) Save(iniLink_->IniObject(), LinkSection());
    };
    iniLink_->OnLoad = [this](TObject*) {
        if (!Name().IsEmpty() && iniLink_->IniObject()) Load(iniLink_->IniObject(), LinkSection());
    };
}

TMRUManager::~TMRUManager() {
    Destroying();
    *alive_ = false;
    list_.OnChange = nullptr;
    iniLink_.reset();
    clicking_ = 0;
    ClearRecentMenu();
    FreeGraveyard();
    if (recentMenu_) recentMenu_->RemoveFreeNotification(this);
}

void TMRUManager::Discard(TMenuItem* item) {
    if (clicking_ > 0) graveyard_.push_back(item);
    else delete item;
}

void TMRUManager::FreeGraveyard() {
    std::vector<TMenuItem*> dead;
    dead.swap(graveyard_);
    for (TMenuItem* item : dead) delete item;
}

AnsiString TMRUManager::LinkSection() const {
    // While the form is being destroyed its class is no longer what it was:
    // the section found before stays.
    if (!Owner() || !Owner()->IsDestroying()) defaultSection_ = GetDefaultSection(const_cast<TMRUManager*>(this));
    return iniLink_->RootSection() + defaultSection_;
}

void TMRUManager::ListChanged() {
    if (list_.UpdateCount() > 0) return;
    if (OnChange) OnChange(this);
    if (autoUpdate_) UpdateRecentMenu();
}

void TMRUManager::RebuildIfAuto() {
    if (autoUpdate_) UpdateRecentMenu();
}

void TMRUManager::ApplyEnable() {
    if (autoEnable_ && recentMenu_) recentMenu_->SetEnabled(recentMenu_->Count() > 0);
}

void TMRUManager::SetIniStorage(TFormPlacement* storage) {
    LinkSection();
    iniLink_->SetStorage(storage);
}

void TMRUManager::SetRecentMenu(TMenuItem* item) {
    if (item == recentMenu_) return;
    ClearRecentMenu();
    if (recentMenu_) recentMenu_->RemoveFreeNotification(this);
    recentMenu_ = item;
    if (recentMenu_) recentMenu_->FreeNotification(this);
    UpdateRecentMenu();
}

void TMRUManager::SetAutoUpdate(bool v) {
    if (v == autoUpdate_) return;
    autoUpdate_ = v;
    RebuildIfAuto();
}

void TMRUManager::SetAutoEnable(bool v) {
    if (v == autoEnable_) return;
    autoEnable_ = v;
    ApplyEnable();
}

void TMRUManager::SetShowAccelChar(bool v) {
    if (v == showAccelChar_) return;
    showAccelChar_ = v;
    RebuildIfAuto();
}

void TMRUManager::SetStartAccel(unsigned v) {
    if (v == startAccel_) return;
    startAccel_ = v;
    RebuildIfAuto();
}

void TMRUManager::SetAccelDelimiter(TAccelDelimiter v) {
    if (v == accelDelimiter_) return;
    accelDelimiter_ = v;
    if (showAccelChar_) RebuildIfAuto();
}

void TMRUManager::SetSeparateSize(unsigned short v) {
    if (v == separateSize_) return;
    separateSize_ = v;
    RebuildIfAuto();
}

void TMRUManager::Add(const AnsiString& recentName, int userData) {
    list_.AddObject(recentName, TRecentStrings::DataObject(userData));
}

void TMRUManager::Remove(const AnsiString& recentName) { list_.Remove(recentName); }

void TMRUManager::Clear() { list_.Clear(); }

void TMRUManager::ClearRecentMenu() {
    std::vector<TMenuItem*> items;
    items.swap(items_);
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        TMenuItem* item = *it;
        if (recentMenu_ && recentMenu_->IndexOf(item) >= 0) {
            recentMenu_->Remove(item);
            Discard(item);
        }
    }
    ApplyEnable();
}

void TMRUManager::UpdateRecentMenu() {
    ClearRecentMenu();
    if (!recentMenu_) return;
    auto addItem = [this](const AnsiString& caption) {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        recentMenu_->Add(item);
        items_.push_back(item);
        return item;
    };
    if (list_.Count() > 0 && recentMenu_->Count() > 0) addItem("-");
    for (int i = 0; i < list_.Count(); ++i) {
        if (separateSize_ > 0 && i >= 1 && i % separateSize_ == 0) addItem("-");
        AnsiString text = list_.Get(i);
        TShortCut shortCut = 0;
        int data = list_.UserData(i);
        if (OnGetItemData) OnGetItemData(this, text, shortCut, data);
        AnsiString caption = GetShortHint(text);
        if (showAccelChar_) {
            unsigned a = unsigned(i) + startAccel_;
            AnsiString prefix;
            if (a < 10) prefix = "&" + IntToStr(a);
            else if (a <= 100) prefix = AnsiString("&") + char(a + 55);
            else prefix = " ";
            caption = prefix + (accelDelimiter_ == adTab ? '\t' : ' ') + caption;
        }
        TMenuItem* item = addItem(caption);
        item->SetHint(GetLongHint(text));
        item->SetShortCut(shortCut);
        item->SetEnabled(true);
        item->Tag = i;
        item->OnClick = [this, item](TObject*) { ItemClicked(item->Tag, item->Caption()); };
    }
    ApplyEnable();
}

void TMRUManager::ItemClicked(int index, const AnsiString& caption) {
    if (index < 0 || index >= list_.Count()) return;
    AnsiString name = list_.Get(index);
    // The handler may change the list (and so the menu): items taken out
    // meanwhile are freed after the click. The entry goes with RemoveOnSelect
    // even when the handler fails.
    struct Finish {
        TMRUManager* m;
        AnsiString name;
        ~Finish() {
            try {
                if (m->RemoveOnSelect) m->Remove(name);
            } catch (Exception& e) {
                Application->HandleException(m, e);
            }
            if (--m->clicking_ == 0 && !m->graveyard_.empty())
                PostCall([m = m, alive = m->alive_] {
                    if (*alive) m->FreeGraveyard();
                });
        }
    } finish{this, name};
    ++clicking_;
    if (OnClick) OnClick(this, name, caption, list_.UserData(index));
}

void TMRUManager::Save(TObject* store, const AnsiString& section) {
    IniEraseSection(store, section);
    for (int i = 0; i < list_.Count(); ++i) {
        if (OnWriteItem) {
            OnWriteItem(this, store, section, i, list_.Get(i), list_.UserData(i));
            continue;
        }
        IniWriteString(store, section, Format("Item_%d", i), list_.Get(i));
        if (list_.UserData(i) != 0) IniWriteInteger(store, section, Format("User_%d", i), list_.UserData(i));
        else IniDeleteKey(store, section, Format("User_%d", i));
    }
}

void TMRUManager::Load(TObject* store, const AnsiString& section) {
    TRecentMode mode = list_.Mode;
    list_.BeginUpdate();
    TScopeGuard endUpdate([&] {
        list_.Mode = mode;
        list_.EndUpdate();
    });
    list_.Clear();
    list_.Mode = rmInsert;
    for (int i = list_.MaxSize() - 1; i >= 0; --i) {
        AnsiString name;
        int data = 0;
        if (OnReadItem) {
            OnReadItem(this, store, section, i, name, data);
        } else {
            name = IniReadString(store, section, Format("Item_%d", i), "");
            data = IniReadInteger(store, section, Format("User_%d", i), 0);
        }
        if (!name.IsEmpty()) list_.AddObject(name, TRecentStrings::DataObject(data));
    }
}

void TMRUManager::LoadFromIni(TIniFile* iniFile, const AnsiString& section) { Load(iniFile, section); }
void TMRUManager::SaveToIni(TIniFile* iniFile, const AnsiString& section) { Save(iniFile, section); }
void TMRUManager::LoadFromRegistry(TRegIniFile* iniFile, const AnsiString& section) { Load(iniFile, section); }
void TMRUManager::SaveToRegistry(TRegIniFile* iniFile, const AnsiString& section) { Save(iniFile, section); }

void TMRUManager::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == recentMenu_) {
        items_.clear(); // they are ours and stay until the manager goes
        recentMenu_ = nullptr;
    } else if (std::find(items_.begin(), items_.end(), component) != items_.end()) {
        items_.erase(std::remove(items_.begin(), items_.end(), component), items_.end());
    }
}
