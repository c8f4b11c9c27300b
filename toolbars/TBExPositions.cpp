// Saving and restoring where the tool windows of a form are.
#include <algorithm>

#include "platform/IniFile.h"
#include "platform/RegIniFile.h"
#include "platform/ScopeGuard.h"
#include "toolbars/TBEx.h"

namespace {

std::vector<TCustomToolWindowEx*> ToolWindowsOf(TComponent* form) {
    std::vector<TCustomToolWindowEx*> out;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* w = dynamic_cast<TCustomToolWindowEx*>(form->Components(i))) out.push_back(w);
    return out;
}

std::vector<TDockEx*> DocksOf(TComponent* form) {
    std::vector<TDockEx*> out;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* d = dynamic_cast<TDockEx*>(form->Components(i))) out.push_back(d);
    return out;
}

TDockEx* FindDock(TComponent* form, const AnsiString& name) {
    if (name.IsEmpty()) return nullptr;
    for (TDockEx* d : DocksOf(form))
        if (SameText(d->Name(), name)) return d;
    return nullptr;
}

const char* const kNoName = "Cannot save tool window's position because Name property is not set";
const char* const kNoDockName = "Cannot save tool window's position because DockedTo's Name property not set";

} // namespace

void CustomSaveToolbarPositions(TComponent* form, const TPositionWriteIntProc& writeInt, const TPositionWriteStringProc& writeString,
                                void* extraData) {
    std::vector<TCustomToolWindowEx*> windows = ToolWindowsOf(form);
    // Every name is checked before anything is written, so that a failed
    // save leaves no half-written set of positions behind.
    for (TCustomToolWindowEx* w : windows) {
        if (w->Name().IsEmpty()) throw Exception(kNoName);
        if (w->Docked() && w->DockedTo() && w->DockedTo()->AllowDrag() && w->DockedTo()->Name().IsEmpty()) throw Exception(kNoDockName);
    }
    TPositionWriter writer{writeInt, writeString, extraData};
    for (TCustomToolWindowEx* w : windows) {
        const AnsiString& name = w->Name();
        writeInt(name, "Rev", 3, extraData);
        writeInt(name, "Visible", w->Visible() ? 1 : 0, extraData);
        AnsiString dockedTo;
        if (w->Floating()) dockedTo = "+";
        else if (w->Docked() && w->DockedTo() && w->DockedTo()->AllowDrag()) dockedTo = w->DockedTo()->Name();
        writeString(name, "DockedTo", dockedTo, extraData);
        writeString(name, "LastDock", w->LastDock() ? w->LastDock()->Name() : AnsiString(), extraData);
        writeInt(name, "DockRow", w->DockRow(), extraData);
        writeInt(name, "DockPos", w->DockPos(), extraData);
        writeInt(name, "FloatLeft", w->FloatingTopLeft().x, extraData);
        writeInt(name, "FloatTop", w->FloatingTopLeft().y, extraData);
        w->WritePositionData(writer);
    }
}

void CustomLoadToolbarPositions(TComponent* form, const TPositionReadIntProc& readInt, const TPositionReadStringProc& readString,
                                void* extraData) {
    std::vector<TDockEx*> docks = DocksOf(form);
    for (TDockEx* d : docks) d->BeginUpdate();
    TScopeGuard endUpdates([&] {
        for (auto it = docks.rbegin(); it != docks.rend(); ++it) (*it)->EndUpdate();
    });
    TPositionReader reader{readInt, readString, extraData};
    for (TCustomToolWindowEx* w : ToolWindowsOf(form)) {
        const AnsiString name = w->Name();
        if (name.IsEmpty()) throw Exception(kNoName);
        int rev = readInt(name, "Rev", 0, extraData);
        if (rev != 2 && rev != 3) continue;
        w->SetVisible(readInt(name, "Visible", w->Visible() ? 1 : 0, extraData) != 0);
        AnsiString dockedTo = readString(name, "DockedTo", "", extraData);
        bool floating = dockedTo == "+";
        TDockEx* dock = floating ? nullptr : FindDock(form, dockedTo);
        if (dock && !dock->AllowDrag()) dock = nullptr;
        // A placement the window itself forbids is left out.
        if (floating && w->DockMode != dmCanFloat) floating = false;
        if (dock && (!w->DockableTo.Contains(dock->Position()) || (w->DockMode == dmCannotFloatOrChangeDocks && dock != w->DockedTo())))
            dock = nullptr;
        TForm* ownForm = GetToolWindowParentForm(w);
        if (!ownForm) ownForm = dynamic_cast<TForm*>(form);
        if (floating && !ownForm) floating = false;
        if (floating || dock) {
            w->SetDockRow(readInt(name, "DockRow", w->DockRow(), extraData));
            w->SetDockPos(readInt(name, "DockPos", w->DockPos(), extraData));
            int left = readInt(name, "FloatLeft", 0, extraData);
            int top = readInt(name, "FloatTop", 0, extraData);
            w->ReadPositionData(reader);
            w->SetFloatingTopLeft(TPoint(left, top));
            if (floating) {
                w->SetParent(ownForm);
                w->SetBounds(left, top, w->Width(), w->Height());
                w->MoveOnScreen(true);
                if (rev >= 3 && w->UseLastDock()) {
                    if (TDockEx* last = FindDock(form, readString(name, "LastDock", "", extraData))) w->SetLastDock(last);
                }
            } else {
                w->SetParent(dock);
            }
        }
        w->ArrangeControls();
        w->DoneReadingPositionData(reader);
    }
}

void IniSaveToolbarPositions(TComponent* form, const AnsiString& fileName) {
    TMemIniFile ini(fileName);
    CustomSaveToolbarPositions(
        form, [&](const AnsiString& bar, const AnsiString& value, int data, void*) { ini.WriteInteger(bar, value, data); },
        [&](const AnsiString& bar, const AnsiString& value, const AnsiString& data, void*) { ini.WriteString(bar, value, data); }, nullptr);
    ini.UpdateFile();
}

void IniLoadToolbarPositions(TComponent* form, const AnsiString& fileName) {
    TMemIniFile ini(fileName);
    CustomLoadToolbarPositions(
        form, [&](const AnsiString& bar, const AnsiString& value, int def, void*) { return ini.ReadInteger(bar, value, def); },
        [&](const AnsiString& bar, const AnsiString& value, const AnsiString& def, void*) { return ini.ReadString(bar, value, def); },
        nullptr);
}

void RegSaveToolbarPositions(TComponent* form, const AnsiString& baseRegistryKey) {
    RegSaveToolbarPositionsEx(form, HKEY_CURRENT_USER, baseRegistryKey);
}

void RegLoadToolbarPositions(TComponent* form, const AnsiString& baseRegistryKey) {
    RegLoadToolbarPositionsEx(form, HKEY_CURRENT_USER, baseRegistryKey);
}

void RegSaveToolbarPositionsEx(TComponent* form, unsigned rootKey, const AnsiString& baseRegistryKey) {
    TRegIniFile reg("");
    reg.SetRootKey(rootKey);
    if (!reg.OpenKey(baseRegistryKey, true)) throw ERegistryException("Failed to create key " + baseRegistryKey);
    CustomSaveToolbarPositions(
        form, [&](const AnsiString& bar, const AnsiString& value, int data, void*) { reg.WriteInteger(bar, value, data); },
        [&](const AnsiString& bar, const AnsiString& value, const AnsiString& data, void*) { reg.WriteString(bar, value, data); }, nullptr);
}

void RegLoadToolbarPositionsEx(TComponent* form, unsigned rootKey, const AnsiString& baseRegistryKey) {
    TRegIniFile reg("", KEY_READ);
    reg.SetRootKey(rootKey);
    // Reading never creates the key: a missing key reads as nothing stored.
    bool open = reg.OpenKeyReadOnly(baseRegistryKey);
    CustomLoadToolbarPositions(
        form,
        [&](const AnsiString& bar, const AnsiString& value, int def, void*) { return open ? reg.ReadInteger(bar, value, def) : def; },
        [&](const AnsiString& bar, const AnsiString& value, const AnsiString& def, void*) {
            return open ? reg.ReadString(bar, value, def) : def;
        },
        nullptr);
}
