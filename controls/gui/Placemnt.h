#pragma once
// Form placement and form storage: a component on a form that restores the
// form's window placement when it is shown and saves it when it closes or is
// destroyed, in a section of an ini file or of the registry store.
// TFormStorage keeps, in the same section, chosen properties of the form's
// components (StoredProps) and named values of the program (StoredValues).
// TIniLink lets other components (the recent-file manager, check-list boxes)
// write into the same store at the same moments.
//
// Version rule: stored data is applied only when its "FormVersion" is at
// least the component's Version (missing data counts as 0); the next save
// writes the current version, so a changed layout starts afresh once.
//
// A form built in code hooks the component into its show, close-query and
// destroy events by loading it: BeginLoading(), set the properties (and the
// form's own handlers first), EndLoading().

#include <memory>
#include <vector>

#include "controls/Placemnt.h"
#include "controls/gui/ExHook.h"
#include "platform/StringList.h"
#include "platform/gui/Forms.h"

class TFormPlacement;

enum TPlacementOption { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = unsigned; // set of TPlacementOption: bit (1 << option)
constexpr TPlacementOptions PlacementOptions(std::initializer_list<TPlacementOption> o) {
    TPlacementOptions r = 0;
    for (TPlacementOption x : o) r |= 1u << x;
    return r;
}

enum TPlacementRegRoot { prCurrentUser, prLocalMachine, prCurrentConfig, prClassesRoot, prUsers, prDynData };

// Size limits of the form; a zero value leaves its limit alone.
class TWinMinMaxInfo : public TPersistent {
public:
    explicit TWinMinMaxInfo(TFormPlacement* owner) : owner_(owner) {}
    int MaxPosLeft() const { return v_[0]; }
    int MaxPosTop() const { return v_[1]; }
    int MaxSizeHeight() const { return v_[2]; }
    int MaxSizeWidth() const { return v_[3]; }
    int MaxTrackHeight() const { return v_[4]; }
    int MaxTrackWidth() const { return v_[5]; }
    int MinTrackHeight() const { return v_[6]; }
    int MinTrackWidth() const { return v_[7]; }
    void SetMaxPosLeft(int v) { Set(0, v); }
    void SetMaxPosTop(int v) { Set(1, v); }
    void SetMaxSizeHeight(int v) { Set(2, v); }
    void SetMaxSizeWidth(int v) { Set(3, v); }
    void SetMaxTrackHeight(int v) { Set(4, v); }
    void SetMaxTrackWidth(int v) { Set(5, v); }
    void SetMinTrackHeight(int v) { Set(6, v); }
    void SetMinTrackWidth(int v) { Set(7, v); }
    // All eight values are zero.
    bool DefaultMinMaxInfo() const;
    void Assign(TPersistent* source) override;

private:
    void Set(int index, int v);
    TFormPlacement* owner_;
    int v_[8] = {};
};

// Joins a component to a placement's store: its save and load events run
// when the placement saves and restores.
class TIniLink : public TPersistent {
public:
    TIniLink() = default;
    ~TIniLink() override;
    TFormPlacement* Storage() const { return storage_; }
    // Leaves the old placement's list and joins the new one's.
    void SetStorage(TFormPlacement* storage);
    // The placement's open store, or null.
    TObject* IniObject() const;
    // The placement's IniSection as set (not its default) + "\", or "".
    AnsiString RootSection() const;
    void SaveToIni();
    void LoadFromIni();
    TNotifyEvent OnSave;
    TNotifyEvent OnLoad;

private:
    TFormPlacement* storage_ = nullptr;
};

class TFormPlacement : public TComponent {
public:
    explicit TFormPlacement(TComponent* owner);
    ~TFormPlacement() override;

    bool Active = true;
    // Store name: registry key path or ini file name; empty: the defaults.
    AnsiString IniFileName;
    // Section; empty: the owner's default section (its class name for a form).
    AnsiString IniSection;
    TPlacementOptions Options;
    TPlacementRegRoot RegistryRoot = prCurrentUser;
    bool UseRegistry = false;
    int Version = 0;
    TWinMinMaxInfo* MinMaxInfo() { return &minMaxInfo_; }
    void SetMinMaxInfo(TWinMinMaxInfo* info) { minMaxInfo_.Assign(info); }
    // The user cannot resize or maximise the form.
    bool PreventResize() const { return preventResize_; }
    void SetPreventResize(bool v);
    TNotifyEvent OnSavePlacement;
    TNotifyEvent OnRestorePlacement;

    // Saves (nothing while Active and never restored) / restores the placement.
    // A store that cannot be written is reported ("Невозможно записать файл
    // настроек" and its name), once until a write to it succeeds.
    void SaveFormPlacement();
    void RestoreFormPlacement();
    // Values in the effective section; a call with no store open opens one for itself.
    AnsiString ReadString(const AnsiString& ident, const AnsiString& def);
    void WriteString(const AnsiString& ident, const AnsiString& value);
    int ReadInteger(const AnsiString& ident, int def);
    void WriteInteger(const AnsiString& ident, int value);
    // Erases the effective section and its subsections ("<section>.*", "<section>\*").
    void EraseSections();
    AnsiString GetIniFileName() const;
    AnsiString GetIniSection() const;
    // The open store, or null.
    TObject* IniObject() const { return store_.get(); }
    // A save or restore ran (restored since the last save / saved since the last restore).
    bool Restored() const { return restored_; }
    bool Saved() const { return saved_; }

protected:
    virtual void SavePlacement();
    virtual void RestorePlacement();
    virtual AnsiString DoReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def);
    virtual void DoWriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
    virtual void Save();
    virtual void Restore();
    void Loaded() override;
    TForm* Form() const { return dynamic_cast<TForm*>(Owner()); }
    void MinMaxInfoChanged();
    friend class TWinMinMaxInfo;
    friend class TIniLink;

    bool saved_ = false;
    bool restored_ = false;
    bool destroying_ = false;

private:
    void IniNeeded(bool readOnly);
    void IniFree();
    // Runs f with a store open (opening one for the call when none is).
    template <class F>
    auto WithStore(bool readOnly, F f);
    void HookForm();
    void UnhookForm();
    void UpdateHook();
    void ApplySizeLimits();
    void FormAfterMessage(TMessage& m, bool& handled);

    std::unique_ptr<TObject> store_;
    mutable AnsiString defaultSection_;
    std::vector<TIniLink*> links_;
    TWinMinMaxInfo minMaxInfo_{this};
    bool preventResize_ = false;
    bool hadMaximize_ = false;
    TExWindowHook* hook_ = nullptr;
    bool formHooked_ = false;
    TNotifyEvent savedOnShow_;
    TCloseQueryEvent savedOnCloseQuery_;
    TNotifyEvent savedOnDestroy_;
};

class TFormStorage : public TFormPlacement, public IStoredValuesStorage {
public:
    explicit TFormStorage(TComponent* owner);
    ~TFormStorage() override;

    // Lines "Component.Property" of the form's components.
    TStrings* StoredProps() const { return storedProps_.get(); }
    void SetStoredProps(TStrings* props) { storedProps_->Assign(props); }
    TStoredValues* StoredValues() const { return storedValues_.get(); }
    void SetStoredValues(TStoredValues* values) { storedValues_->Assign(values); }
    // Null for a name that is not in StoredValues.
    Variant GetStoredValue(const AnsiString& name) const;
    // The value as def's type; def when absent, empty or unreadable.
    Variant GetStoredValue(const AnsiString& name, const Variant& def) const;
    // Adds the value when missing; a storage that already saved saves again.
    void SetStoredValue(const AnsiString& name, const Variant& value);

    void SaveProperties();
    void RestoreProperties();

    // IStoredValuesStorage: the form's section.
    AnsiString ReadString(const AnsiString& ident, const AnsiString& def) override {
        return TFormPlacement::ReadString(ident, def);
    }
    void WriteString(const AnsiString& ident, const AnsiString& value) override {
        TFormPlacement::WriteString(ident, value);
    }
    void StoredValueChanged() override { saved_ = false; }

protected:
    void SavePlacement() override;
    void RestorePlacement() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TStringList> storedProps_;
    std::unique_ptr<TStoredValues> storedValues_;
};

// Publishes the properties of the platform's controls that forms store
// (Left, Top, Width, Height, Visible, Enabled, Caption, Hint, Tag; Checked of
// check boxes) and lets component references name forms. Runs once.
void RegisterStoredControlProperties();
