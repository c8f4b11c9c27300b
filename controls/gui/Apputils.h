#pragma once
// Where settings live and the window-related layouts kept in them: the
// default registry key and sections of forms and components, window
// placements (one set of keys per screen size), the open MDI children and
// grid column widths, and form lookup. Single values go through the calls of
// controls/Apputils.h.

#include <functional>

#include "controls/Apputils.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"

// "Software\" + the executable's base name (see controls/Apputils.h).
AnsiString GetDefaultIniRegKey();
// A form: its class name. A control: the class name of its form (else its
// parent's name) joined directly to its name. Any other component: its name,
// after "<form class>." when its owner is a form.
AnsiString GetDefaultSection(TComponent* component);
// The store and section a control keeps its data in by default: the first
// form placement on its form names the store; otherwise the default key or
// ini file.
void GetDefaultIniData(TControl* control, AnsiString& iniFileName, AnsiString& section, bool useRegistry);

// Window placement in a section: "Flags", "ShowCmd", "PixelsPerInch",
// "MinMaxPos" and "NormPos", each text under the screen-size key
// ("NormPos(1920x1080)") and the plain key.
void WriteFormPlacement(TForm* form, TIniFile* iniFile, const AnsiString& section);
void WriteFormPlacementReg(TForm* form, TRegIniFile* iniFile, const AnsiString& section);
// Restores the state and/or the position. A position written at another
// pixel density is not applied; a rectangle that lies off every screen is
// moved onto the nearest one.
void ReadFormPlacement(TForm* form, TIniFile* iniFile, const AnsiString& section, bool loadState, bool loadPosition);
void ReadFormPlacementReg(TForm* form, TRegIniFile* iniFile, const AnsiString& section, bool loadState,
                          bool loadPosition);
// The same in any store object (either kind).
void WriteFormPlacementTo(TForm* form, TObject* store, const AnsiString& section);
void ReadFormPlacementFrom(TForm* form, TObject* store, const AnsiString& section, bool loadState, bool loadPosition);
void SaveFormPlacement(TForm* form, const AnsiString& iniFileName, bool useRegistry);
void RestoreFormPlacement(TForm* form, const AnsiString& iniFileName, bool useRegistry);

// A form class: its name, how to make one and how to recognise one.
struct TFormClass {
    AnsiString Name;
    std::function<TForm*(TComponent* owner)> Create;
    std::function<bool(TForm*)> IsInstance;
};
template <class T>
TFormClass FormClassOf(const AnsiString& name) {
    return {name, [](TComponent* owner) { return static_cast<TForm*>(new T(owner)); },
            [](TForm* f) { return dynamic_cast<T*>(f) != nullptr; }};
}
// Classes the MDI restore may create, by name.
void RegisterFormClass(const TFormClass& formClass);
const TFormClass* FindFormClass(const AnsiString& name);

// "MDI Children": "Count" and "Item%d" = class name of each child, in the
// frame's order. Restoring makes the last saved child first; unknown names
// are skipped. Not an MDI frame: EInvalidOperation
// "Cannot create form. No MDI forms are currently active".
void SaveMDIChildren(TForm* mainForm, TIniFile* iniFile);
void SaveMDIChildrenReg(TForm* mainForm, TRegIniFile* iniFile);
void RestoreMDIChildren(TForm* mainForm, TIniFile* iniFile);
void RestoreMDIChildrenReg(TForm* mainForm, TRegIniFile* iniFile);

// Column widths under "Item%d" in the grid's default section.
void SaveGridLayout(TCustomGrid* grid, TIniFile* iniFile);
void SaveGridLayoutReg(TCustomGrid* grid, TRegIniFile* iniFile);
void RestoreGridLayout(TCustomGrid* grid, TIniFile* iniFile);
void RestoreGridLayoutReg(TCustomGrid* grid, TRegIniFile* iniFile);

// The first screen form of the class, or null.
TForm* FindForm(const TFormClass& formClass);
// The first form of the class with that caption (any, for an empty caption),
// made when there is none; shown, and restored when minimised.
TForm* FindShowForm(const TFormClass& formClass, const AnsiString& caption);
// Makes the form, shows it modally and frees it; true for OK or Yes.
bool ShowDialog(const TFormClass& formClass);
// Makes the form only when reference is still null.
TForm* InstantiateForm(const TFormClass& formClass, TForm*& reference);
// Sends the message to every screen form.
void AppBroadcast(unsigned msg, WPARAM wParam, LPARAM lParam);
