#include "controls/gui/Placemnt.h"

#include <algorithm>

#include "controls/Exprops.h"
#include "controls/Strutils.h"
#include "controls/gui/Apputils.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/UiPort.h"
#include "platform/gui/StdCtrls.h"

namespace {

HKEY RootOf(TPlacementRegRoot r) {
    switch (r) {
    case prCurrentUser: return HKEY_CURRENT_USER;
    case prLocalMachine: return HKEY_LOCAL_MACHINE;
    case prCurrentConfig: return HKEY_CURRENT_CONFIG;
    case prClassesRoot: return HKEY_CLASSES_ROOT;
    case prUsers: return HKEY_USERS;
    case prDynData: return HKEY_DYN_DATA;
    }
    return HKEY_CURRENT_USER;
}

// Reports the program's exception of a save or restore run from a form
// event; the form's own handler still runs. Anything else (no memory) ends
// the event and reaches the application's handler from there.
template <class F>
void Guarded(TObject* sender, F f) {
    try {
        f();
    } catch (EAbort&) {
    } catch (Exception& e) {
        Application->HandleException(sender, e);
    }
}

} // namespace

// ---- TWinMinMaxInfo ----------------------------------------------------------------

bool TWinMinMaxInfo::DefaultMinMaxInfo() const {
    return std::all_of(std::begin(v_), std::end(v_), [](int v) { return v == 0; });
}

void TWinMinMaxInfo::Set(int index, int v) {
    if (v_[index] == v) return;
    v_[index] = v;
    if (owner_) owner_->MinMaxInfoChanged();
}

void TWinMinMaxInfo::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TWinMinMaxInfo*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    std::copy(std::begin(other->v_), std::end(other->v_), std::begin(v_));
    if (owner_) owner_->MinMaxInfoChanged();
}

// ---- TIniLink ------------------------------------------------------------------------

TIniLink::~TIniLink() {
    OnSave = nullptr;
    OnLoad = nullptr;
    SetStorage(nullptr);
}

void TIniLink::SetStorage(TFormPlacement* storage) {
    if (storage == storage_) return;
    if (storage_) {
        auto& links = storage_->links_;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    storage_ = storage;
    if (storage_) storage_->links_.push_back(this);
}

TObject* TIniLink::IniObject() const { return storage_ ? storage_->IniObject() : nullptr; }

AnsiString TIniLink::RootSection() const {
    if (!storage_ || storage_->IniSection.IsEmpty()) return AnsiString();
    return storage_->IniSection + "\\";
}

void TIniLink::SaveToIni() {
    if (OnSave) OnSave(this);
}

void TIniLink::LoadFromIni() {
    if (OnLoad) OnLoad(this);
}

// ---- TFormPlacement --------------------------------------------------------------------

TFormPlacement::TFormPlacement(TComponent* owner) : TComponent(owner) {
    Options = dynamic_cast<TForm*>(owner) ? PlacementOptions({fpState, fpPosition}) : 0;
}

TFormPlacement::~TFormPlacement() {
    Destroying();
    while (!links_.empty()) links_.back()->SetStorage(nullptr);
    UnhookForm();
    IniFree();
}

AnsiString TFormPlacement::GetIniFileName() const {
    if (!IniFileName.IsEmpty() || (ComponentState() & csDesigning)) return IniFileName;
    return UseRegistry ? GetDefaultIniRegKey() : GetDefaultIniName();
}

AnsiString TFormPlacement::GetIniSection() const {
    if (!IniSection.IsEmpty() || (ComponentState() & csDesigning)) return IniSection;
    // While the form is being destroyed its class is no longer what it was:
    // the section found before stays.
    if (!Owner() || !Owner()->IsDestroying()) defaultSection_ = GetDefaultSection(Owner());
    return defaultSection_;
}

void TFormPlacement::IniNeeded(bool readOnly) {
    if (store_) return;
    if (UseRegistry) {
        auto reg = std::make_unique<TRegIniFile>(GetIniFileName(), readOnly ? KEY_READ : KEY_ALL_ACCESS);
        if (RegistryRoot != prCurrentUser) {
            reg->SetRootKey(RootOf(RegistryRoot));
            reg->OpenKey(GetIniFileName(), !readOnly);
        }
        store_ = std::move(reg);
    } else {
        store_ = std::make_unique<TIniFile>(GetIniFileName());
    }
}

void TFormPlacement::IniFree() { store_.reset(); }

template <class F>
auto TFormPlacement::WithStore(bool readOnly, F f) {
    if (store_) return f();
    IniNeeded(readOnly);
    struct Closer {
        TFormPlacement* p;
        ~Closer() { p->IniFree(); }
    } closer{this};
    return f();
}

AnsiString TFormPlacement::DoReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) {
    return WithStore(true, [&] { return IniReadString(store_.get(), section, ident, def); });
}

void TFormPlacement::DoWriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) {
    WithStore(false, [&] { IniWriteString(store_.get(), section, ident, value); });
}

AnsiString TFormPlacement::ReadString(const AnsiString& ident, const AnsiString& def) {
    return DoReadString(GetIniSection(), ident, def);
}

void TFormPlacement::WriteString(const AnsiString& ident, const AnsiString& value) {
    DoWriteString(GetIniSection(), ident, value);
}

int TFormPlacement::ReadInteger(const AnsiString& ident, int def) {
    return WithStore(true, [&] { return IniReadInteger(store_.get(), GetIniSection(), ident, def); });
}

void TFormPlacement::WriteInteger(const AnsiString& ident, int value) {
    WithStore(false, [&] { IniWriteInteger(store_.get(), GetIniSection(), ident, value); });
}

void TFormPlacement::EraseSections() {
    if (store_) return;
    WithStore(false, [&] {
        TStringList sections;
        IniReadSections(store_.get(), &sections);
        AnsiString section = GetIniSection();
        for (int i = 0; i < sections.Count(); ++i) {
            AnsiString name = sections.Get(i);
            if (name == section || IsWild(name, section + ".*", false) || IsWild(name, section + "\\*", false))
                IniEraseSection(store_.get(), name);
        }
    });
}

void TFormPlacement::SavePlacement() {
    TForm* form = Form();
    if (form && (Options & PlacementOptions({fpState, fpPosition}))) {
        WriteFormPlacementTo(form, store_.get(), GetIniSection());
        IniWriteBool(store_.get(), GetIniSection(), "Visible", destroying_);
    }
    if (form && (Options & PlacementOptions({fpActiveControl})) && form->ActiveControl())
        IniWriteString(store_.get(), GetIniSection(), "ActiveControl", form->ActiveControl()->Name());
    std::vector<TIniLink*> links = links_;
    for (TIniLink* link : links) link->SaveToIni();
}

void TFormPlacement::RestorePlacement() {
    if (TForm* form = Form()) {
        // The stored size may differ from the one the limits hold the form to.
        form->Constraints()->SetLimits(0, 0, 0, 0);
        ReadFormPlacementFrom(form, store_.get(), GetIniSection(), Options & PlacementOptions({fpState}),
                              Options & PlacementOptions({fpPosition}));
        ApplySizeLimits();
    }
    std::vector<TIniLink*> links = links_;
    for (TIniLink* link : links) link->LoadFromIni();
}

void TFormPlacement::Save() {
    if (OnSavePlacement) OnSavePlacement(this);
}

void TFormPlacement::Restore() {
    if (OnRestorePlacement) OnRestorePlacement(this);
}

void TFormPlacement::SaveFormPlacement() {
    if (Active && !restored_) return; // a form that was never shown saves nothing
    IniNeeded(false);
    struct Closer {
        TFormPlacement* p;
        ~Closer() { p->IniFree(); }
    } closer{this};
    // Every form with a placement writes the same file as it closes: a file
    // that cannot be written is said once, until a write to it succeeds.
    static AnsiString reported;
    auto* ini = dynamic_cast<TIniFile*>(store_.get());
    const AnsiString file = ini ? ini->FileName() : RegistryStoreFile();
    auto refused = [&] {
        if (reported != file) ShowMessage("Невозможно записать файл настроек "_a + file);
        reported = file;
    };
    saved_ = true;
    try {
        IniWriteInteger(store_.get(), GetIniSection(), "FormVersion", Version);
        SavePlacement();
        Save();
    } catch (const ERegistryException&) {
        refused();
        return;
    } catch (const EIniFileException&) {
        refused();
        return;
    }
    if (reported == file) reported = AnsiString();
}

void TFormPlacement::RestoreFormPlacement() {
    saved_ = false;
    IniNeeded(true);
    struct Closer {
        TFormPlacement* p;
        ~Closer() { p->IniFree(); }
    } closer{this};
    if (IniReadInteger(store_.get(), GetIniSection(), "FormVersion", 0) >= Version) {
        RestorePlacement();
        restored_ = true;
        Restore();
        TForm* form = Form();
        if (form && (Options & PlacementOptions({fpActiveControl}))) {
            AnsiString name = IniReadString(store_.get(), GetIniSection(), "ActiveControl", "");
            auto* control = dynamic_cast<TWinControl*>(name.IsEmpty() ? nullptr : form->FindComponent(name));
            if (control && control->CanFocus() && control->TabStop) form->SetActiveControl(control);
        }
    }
    // Also after an older layout: the coming save writes the current one.
    restored_ = true;
}

void TFormPlacement::Loaded() {
    TComponent::Loaded();
    if (!(ComponentState() & csDesigning)) {
        HookForm();
        UpdateHook();
    }
}

void TFormPlacement::HookForm() {
    TForm* form = Form();
    GetIniSection();
    if (!form || formHooked_) return;
    formHooked_ = true;
    savedOnShow_ = form->OnShow;
    savedOnCloseQuery_ = form->OnCloseQuery;
    savedOnDestroy_ = form->OnDestroy;
    form->OnShow = [this](TObject* sender) {
        if (Active) Guarded(this, [this] { RestoreFormPlacement(); });
        if (savedOnShow_) savedOnShow_(sender);
    };
    form->OnCloseQuery = [this](TObject* sender, bool& canClose) {
        if (savedOnCloseQuery_) savedOnCloseQuery_(sender, canClose);
        if (canClose && Active && Form()) Guarded(this, [this] { SaveFormPlacement(); });
    };
    form->OnDestroy = [this](TObject* sender) {
        if (Active && !saved_) {
            destroying_ = true;
            Guarded(this, [this] { SaveFormPlacement(); });
            destroying_ = false;
        }
        if (savedOnDestroy_) savedOnDestroy_(sender);
    };
}

void TFormPlacement::UnhookForm() {
    delete hook_;
    hook_ = nullptr;
    TForm* form = Form();
    if (!formHooked_ || !form) return;
    formHooked_ = false;
    if (form->IsDestroying()) return;
    form->OnShow = savedOnShow_;
    form->OnCloseQuery = savedOnCloseQuery_;
    form->OnDestroy = savedOnDestroy_;
}

void TFormPlacement::UpdateHook() {
    TForm* form = Form();
    bool wanted = form && (preventResize_ || !minMaxInfo_.DefaultMinMaxInfo()) && !IsDestroying();
    if (wanted && !hook_) {
        hook_ = new TExWindowHook(nullptr);
        hook_->AfterMessage = [this](TObject*, TMessage& m, bool& handled) { FormAfterMessage(m, handled); };
        hook_->SetWinControl(form);
        hook_->SetActive(true);
    } else if (!wanted && hook_) {
        delete hook_;
        hook_ = nullptr;
    }
    ApplySizeLimits();
}

void TFormPlacement::FormAfterMessage(TMessage& m, bool& handled) {
    if (preventResize_ && m.Msg == WM_NCHITTEST && m.Result >= HTLEFT && m.Result <= HTBOTTOMRIGHT) {
        m.Result = HTNOWHERE;
        handled = true;
    }
}

void TFormPlacement::ApplySizeLimits() {
    TForm* form = Form();
    if (!form) return;
    if (preventResize_) {
        TSize frame = form->FrameSize();
        int w = form->Width() - frame.cx, h = form->Height() - frame.cy;
        form->Constraints()->SetLimits(w, h, w, h);
        return;
    }
    const TWinMinMaxInfo& mm = minMaxInfo_;
    form->Constraints()->SetLimits(mm.MinTrackWidth(), mm.MinTrackHeight(), mm.MaxTrackWidth(), mm.MaxTrackHeight());
}

void TFormPlacement::MinMaxInfoChanged() {
    if (!IsLoading()) UpdateHook();
}

void TFormPlacement::SetPreventResize(bool v) {
    TForm* form = Form();
    if (!form || v == preventResize_) return;
    preventResize_ = v;
    if (v) hadMaximize_ = form->BorderIcons() & biMaximize;
    bool saveActive = Active;
    Active = false;
    TBorderIcons icons = form->BorderIcons() & ~biMaximize;
    if (!v && hadMaximize_ && form->BorderStyle() != bsDialog) icons |= biMaximize;
    form->SetBorderIcons(icons);
    Active = saveActive;
    if (!IsLoading()) UpdateHook();
}

// ---- TFormStorage ---------------------------------------------------------------------

TFormStorage::TFormStorage(TComponent* owner)
    : TFormPlacement(owner), storedProps_(std::make_unique<TStringList>()),
      storedValues_(std::make_unique<TStoredValues>(this, this)) {
    RegisterStoredControlProperties();
}

TFormStorage::~TFormStorage() { Destroying(); }

Variant TFormStorage::GetStoredValue(const AnsiString& name) const { return storedValues_->GetStoredValue(name); }

Variant TFormStorage::GetStoredValue(const AnsiString& name, const Variant& def) const {
    return storedValues_->GetStoredValue(name, def);
}

void TFormStorage::SetStoredValue(const AnsiString& name, const Variant& value) {
    storedValues_->SetStoredValue(name, value);
    saved_ = false;
}

void TFormStorage::SaveProperties() {
    TPropsStorage storage;
    storage.Section = GetIniSection();
    storage.OnWriteString = [this](const AnsiString& section, const AnsiString& item, const AnsiString& value) {
        DoWriteString(section, item, value);
    };
    storage.OnEraseSection = [this](const AnsiString& section) { IniEraseSection(IniObject(), section); };
    storage.StoreObjectsProps(Owner(), storedProps_.get());
}

void TFormStorage::RestoreProperties() {
    TPropsStorage storage;
    storage.Section = GetIniSection();
    storage.OnReadString = [this](const AnsiString& section, const AnsiString& item, const AnsiString& def) {
        return DoReadString(section, item, def);
    };
    try {
        storage.LoadObjectsProps(Owner(), storedProps_.get());
    } catch (const Exception&) {
        // Stored properties that cannot be loaded keep what they had.
    }
}

void TFormStorage::SavePlacement() {
    TFormPlacement::SavePlacement();
    SaveProperties();
    storedValues_->SaveValues();
}

void TFormStorage::RestorePlacement() {
    TFormPlacement::RestorePlacement();
    restored_ = true;
    RestoreProperties();
    storedValues_->RestoreValues();
}

void TFormStorage::Loaded() {
    TFormPlacement::Loaded();
    UpdateStoredList(Owner(), storedProps_.get(), true);
    for (int i = 0; i < storedProps_->Count(); ++i)
        if (auto* c = dynamic_cast<TComponent*>(storedProps_->GetObject(i))) c->FreeNotification(this);
}

void TFormStorage::Notification(TComponent* component, TOperation operation) {
    TFormPlacement::Notification(component, operation);
    if (operation != opRemove || IsDestroying() || !storedProps_) return;
    for (int i = storedProps_->Count() - 1; i >= 0; --i)
        if (storedProps_->GetObject(i) == component) storedProps_->Delete(i);
}

// ---- published control properties --------------------------------------------------------

void RegisterStoredControlProperties() {
    static bool done = false;
    if (done) return;
    done = true;
    PublishProperties<TControl>({
        IntegerProperty<TControl>("Left", [](TControl& c) { return c.Left(); }, [](TControl& c, int v) { c.SetLeft(v); }),
        IntegerProperty<TControl>("Top", [](TControl& c) { return c.Top(); }, [](TControl& c, int v) { c.SetTop(v); }),
        IntegerProperty<TControl>("Width", [](TControl& c) { return c.Width(); },
                                  [](TControl& c, int v) { c.SetWidth(v); }),
        IntegerProperty<TControl>("Height", [](TControl& c) { return c.Height(); },
                                  [](TControl& c, int v) { c.SetHeight(v); }),
        IntegerProperty<TControl>("Tag", [](TControl& c) { return c.Tag; }, [](TControl& c, int v) { c.Tag = v; }),
        BooleanProperty<TControl>("Visible", [](TControl& c) { return c.Visible(); },
                                  [](TControl& c, bool v) { c.SetVisible(v); }),
        BooleanProperty<TControl>("Enabled", [](TControl& c) { return c.Enabled(); },
                                  [](TControl& c, bool v) { c.SetEnabled(v); }),
        StringProperty<TControl>("Caption", [](TControl& c) { return c.Caption(); },
                                 [](TControl& c, const AnsiString& v) { c.SetCaption(v); }),
        StringProperty<TControl>("Hint", [](TControl& c) { return c.Hint(); },
                                 [](TControl& c, const AnsiString& v) { c.SetHint(v); }),
    });
    PublishProperties<TCheckBox>({
        BooleanProperty<TCheckBox>("Checked", [](TCheckBox& c) { return c.Checked(); },
                                   [](TCheckBox& c, bool v) { c.SetChecked(v); }),
    });
    FindGlobalComponent = [](const AnsiString& name) -> TComponent* {
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (SameText(Screen->Forms(i)->Name(), name)) return Screen->Forms(i);
        return nullptr;
    };
}
