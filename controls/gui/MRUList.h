#pragma once
// TMRUManager: the recent-file menu. It keeps a short list of names with an
// integer of user data each (TRecentStrings), shows them as numbered items
// under a menu item ("&1", a tab and the name), reports a click on one, and
// saves and loads the list in the store of a form placement ("Item_%d" and
// "User_%d" in a section named after the manager, e.g. "TMainForm.MRUMan").

#include <functional>
#include <memory>
#include <vector>

#include "controls/MRUList.h"
#include "platform/IniFile.h"
#include "platform/RegIniFile.h"
#include "controls/gui/Placemnt.h"
#include "platform/gui/Menus.h"

enum TAccelDelimiter { adTab, adSpace };

using TRecentClickEvent =
    std::function<void(TObject* Sender, const AnsiString& RecentName, const AnsiString& Caption, int UserData)>;
using TGetRecentItemDataEvent =
    std::function<void(TObject* Sender, AnsiString& Caption, TShortCut& ShortCut, int UserData)>;
using TReadRecentItemEvent = std::function<void(TObject* Sender, TObject* IniFile, const AnsiString& Section,
                                                int Index, AnsiString& RecentName, int& UserData)>;
using TWriteRecentItemEvent = std::function<void(TObject* Sender, TObject* IniFile, const AnsiString& Section,
                                                 int Index, const AnsiString& RecentName, int UserData)>;

class TMRUManager : public TComponent {
public:
    explicit TMRUManager(TComponent* owner);
    ~TMRUManager() override;

    // Largest number of entries (at least 1).
    int Capacity() const { return list_.MaxSize(); }
    void SetCapacity(int value) { list_.SetMaxSize(value); }
    TRecentMode Mode() const { return list_.Mode; }
    void SetMode(TRecentMode m) { list_.Mode = m; }
    TMenuItem* RecentMenu() const { return recentMenu_; }
    void SetRecentMenu(TMenuItem* item);
    TFormPlacement* IniStorage() const { return iniLink_->Storage(); }
    void SetIniStorage(TFormPlacement* storage);
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool v);
    bool AutoEnable() const { return autoEnable_; }
    void SetAutoEnable(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    unsigned StartAccel() const { return startAccel_; }
    void SetStartAccel(unsigned v);
    TAccelDelimiter AccelDelimiter() const { return accelDelimiter_; }
    void SetAccelDelimiter(TAccelDelimiter v);
    unsigned short SeparateSize() const { return separateSize_; }
    void SetSeparateSize(unsigned short v);
    bool RemoveOnSelect = false;

    TNotifyEvent OnChange;
    TRecentClickEvent OnClick;
    TGetRecentItemDataEvent OnGetItemData;
    TReadRecentItemEvent OnReadItem;
    TWriteRecentItemEvent OnWriteItem;

    // The list itself (names, user data in the object slots).
    TRecentStrings* Strings() { return &list_; }
    void Add(const AnsiString& recentName, int userData);
    void Remove(const AnsiString& recentName);
    void Clear();
    void LoadFromIni(TIniFile* iniFile, const AnsiString& section);
    void SaveToIni(TIniFile* iniFile, const AnsiString& section);
    void LoadFromRegistry(TRegIniFile* iniFile, const AnsiString& section);
    void SaveToRegistry(TRegIniFile* iniFile, const AnsiString& section);
    void UpdateRecentMenu();
    void ClearRecentMenu();

    // Chooses entry index as a click on its menu item would.
    void ItemClicked(int index, const AnsiString& caption);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ListChanged();
    void RebuildIfAuto();
    void ApplyEnable();
    void Load(TObject* store, const AnsiString& section);
    void Save(TObject* store, const AnsiString& section);
    AnsiString LinkSection() const;

    TRecentStrings list_;
    mutable AnsiString defaultSection_;
    std::unique_ptr<TIniLink> iniLink_;
    void Discard(TMenuItem* item);
    void FreeGraveyard();

    TMenuItem* recentMenu_ = nullptr;
    std::vector<TMenuItem*> items_;
    // Items taken out of the menu while one of them was being clicked: they
    // are freed once the click has been handled.
    std::vector<TMenuItem*> graveyard_;
    int clicking_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool autoUpdate_ = true;
    bool autoEnable_ = true;
    bool showAccelChar_ = true;
    unsigned startAccel_ = 1;
    TAccelDelimiter accelDelimiter_ = adTab;
    unsigned short separateSize_ = 0;
};
