#include "controls/gui/Apputils.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "controls/Exprops.h"
#include "controls/Strutils.h"
#include "controls/gui/CtlUtils.h"
#include "controls/gui/Placemnt.h"
#include "platform/ScopeGuard.h"

namespace {

const char* const kMDIChildren = "MDI Children";

std::vector<TFormClass>& FormClasses() {
    static std::vector<TFormClass> classes;
    return classes;
}

AnsiString ScreenSizeKey(const AnsiString& key) {
    return key + Format("(%dx%d)", Screen->Width(), Screen->Height());
}

// Writes a text under the screen-size key, then under the plain key.
void WriteTwice(TObject* store, const AnsiString& section, const AnsiString& key, const AnsiString& text) {
    IniWriteString(store, section, ScreenSizeKey(key), text);
    IniWriteString(store, section, key, text);
}

AnsiString ReadEither(TObject* store, const AnsiString& section, const AnsiString& key) {
    AnsiString text = IniReadString(store, section, ScreenSizeKey(key), "");
    return text.IsEmpty() ? IniReadString(store, section, key, "") : text;
}

int WordAsInt(const AnsiString& text, int n, int def) {
    static const TCharSet delims = {' ', ','};
    AnsiString word = ExtractWord(n, text, delims);
    return word.IsEmpty() ? def : StrToIntDef(word, def);
}

// Moves a rectangle that lies off every screen onto the nearest one.
TRect OntoAScreen(const TRect& r) {
    int n = Screen->MonitorCount();
    for (int i = 0; i < n; ++i) {
        TRect common;
        if (IntersectRect(common, r, Screen->Monitors(i).WorkareaRect)) return r;
    }
    TRect area = Screen->WorkAreaAt(TPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2));
    if (IsRectEmpty(area)) area = Screen->WorkAreaRect();
    int w = std::min(r.Width(), area.Width()), h = std::min(r.Height(), area.Height());
    int left = std::clamp(r.Left, area.Left, area.Right - w);
    int top = std::clamp(r.Top, area.Top, area.Bottom - h);
    return Bounds(left, top, w, h);
}

void CheckMDIFrame(TForm* mainForm) {
    if (!mainForm || mainForm->FormStyle() != fsMDIForm)
        throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
}

TForm* MakeForm(const TFormClass& formClass) {
    TForm* f = formClass.Create(Application);
    f->DoCreate();
    return f;
}

// The first form of the class with the caption (any for ""), made when missing.
TForm* FindOrMake(const TFormClass& formClass, const AnsiString& caption, bool restoreMinimized) {
    TForm* found = nullptr;
    for (int i = 0; i < Screen->FormCount() && !found; ++i) {
        TForm* f = Screen->Forms(i);
        if (formClass.IsInstance(f) && (caption.IsEmpty() || f->Caption() == caption)) found = f;
    }
    if (!found) {
        found = MakeForm(formClass);
        if (!caption.IsEmpty()) found->SetCaption(caption);
    }
    if (restoreMinimized && found->WindowState() == wsMinimized) found->SetWindowState(wsNormal);
    found->Show();
    return found;
}

void SaveChildren(TForm* mainForm, TObject* store) {
    CheckMDIFrame(mainForm);
    IniEraseSection(store, kMDIChildren);
    int n = mainForm->MDIChildCount();
    if (n == 0) return;
    IniWriteInteger(store, kMDIChildren, "Count", n);
    for (int i = 0; i < n; ++i)
        IniWriteString(store, kMDIChildren, Format("Item%d", i), ClassNameOf(mainForm->MDIChildren(i)));
}

void RestoreChildren(TForm* mainForm, TObject* store) {
    CheckMDIFrame(mainForm);
    StartWait();
    TScopeGuard stopWait([] { StopWait(); });
    int count = IniReadInteger(store, kMDIChildren, "Count", 0);
    for (int i = 0; i < count; ++i) {
        AnsiString name = IniReadString(store, kMDIChildren, Format("Item%d", count - 1 - i), "");
        if (const TFormClass* cls = FindFormClass(name)) FindOrMake(*cls, "", false);
    }
}

void SaveGrid(TCustomGrid* grid, TObject* store) {
    AnsiString section = GetDefaultSection(grid);
    for (int i = 0; i < grid->ColCount(); ++i) IniWriteInteger(store, section, Format("Item%d", i), grid->ColWidths(i));
}

void RestoreGrid(TCustomGrid* grid, TObject* store) {
    AnsiString section = GetDefaultSection(grid);
    for (int i = 0; i < grid->ColCount(); ++i)
        grid->SetColWidths(i, IniReadInteger(store, section, Format("Item%d", i), grid->ColWidths(i)));
}

} // namespace

AnsiString GetDefaultIniRegKey() { return GetDefaultIniRegKey(Application->Title()); }

AnsiString GetDefaultSection(TComponent* component) {
    if (!component) return AnsiString();
    if (auto* form = dynamic_cast<TForm*>(component)) return ClassNameOf(form);
    if (auto* control = dynamic_cast<TControl*>(component)) {
        TForm* form = GetParentForm(control);
        if (form && form != control) return ClassNameOf(form) + control->Name();
        if (control->Parent()) return control->Parent()->Name() + control->Name();
        return control->Name();
    }
    if (auto* form = dynamic_cast<TForm*>(component->Owner()))
        return Format("%s.%s", ClassNameOf(form), component->Name());
    return component->Name();
}

void GetDefaultIniData(TControl* control, AnsiString& iniFileName, AnsiString& section, bool useRegistry) {
    iniFileName = AnsiString();
    if (control) {
        if (auto* form = dynamic_cast<TForm*>(control->Owner())) {
            for (int i = 0; i < form->ComponentCount(); ++i) {
                if (auto* placement = dynamic_cast<TFormPlacement*>(form->Components(i))) {
                    iniFileName = placement->GetIniFileName();
                    break;
                }
            }
        }
    }
    section = GetDefaultSection(control);
    if (iniFileName.IsEmpty()) iniFileName = useRegistry ? GetDefaultIniRegKey() : GetDefaultIniName();
}

// ---- placement ----------------------------------------------------------------------

void WriteFormPlacementTo(TForm* form, TObject* store, const AnsiString& section) {
    TWindowPlacement wp;
    form->GetWindowPlacement(wp);
    // The program's main window is stored in the state it comes back to:
    // a program closed while minimized would start minimized, out of sight
    // (on a desktop without a task bar, out of reach).
    if (form == Application->MainForm() && form->WindowState() == wsMinimized)
        wp.showCmd = wp.flags & WPF_RESTORETOMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    if (form->FormStyle() == fsMDIChild && form->WindowState() == wsMinimized) wp.flags |= WPF_SETMINPOSITION;
    IniWriteInteger(store, section, "Flags", int(wp.flags));
    IniWriteInteger(store, section, "ShowCmd", int(wp.showCmd));
    IniWriteInteger(store, section, "PixelsPerInch", Screen->PixelsPerInch());
    WriteTwice(store, section, "MinMaxPos",
               Format("%d,%d,%d,%d", wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y));
    const TRect& r = wp.rcNormalPosition;
    WriteTwice(store, section, "NormPos", Format("%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom));
}

void ReadFormPlacementFrom(TForm* form, TObject* store, const AnsiString& section, bool loadState,
                           bool loadPosition) {
    if (!form || (!loadState && !loadPosition)) return;
    TWindowPlacement wp;
    form->GetWindowPlacement(wp);
    if (!form->Visible()) wp.showCmd = SW_HIDE;
    // The form's own rectangle in the placement's terms (without the desktop's frame).
    const TRect current = wp.rcNormalPosition;
    if (loadPosition) {
        bool found = false;
        wp.flags = unsigned(IniReadInteger(store, section, "Flags", int(wp.flags)));
        AnsiString text = ReadEither(store, section, "MinMaxPos");
        if (!text.IsEmpty()) {
            found = true;
            wp.ptMinPosition = TPoint(WordAsInt(text, 1, 0), WordAsInt(text, 2, 0));
            wp.ptMaxPosition = TPoint(WordAsInt(text, 3, 0), WordAsInt(text, 4, 0));
        }
        text = ReadEither(store, section, "NormPos");
        if (!text.IsEmpty()) {
            found = true;
            wp.rcNormalPosition = TRect(WordAsInt(text, 1, current.Left), WordAsInt(text, 2, current.Top),
                                        WordAsInt(text, 3, current.Right), WordAsInt(text, 4, current.Bottom));
        }
        if (IniReadInteger(store, section, "PixelsPerInch", Screen->PixelsPerInch()) != Screen->PixelsPerInch())
            found = false;
        if (found) {
            TRect& r = wp.rcNormalPosition;
            if (form->BorderStyle() != bsSizeable && form->BorderStyle() != bsSizeToolWin)
                r = Bounds(r.Left, r.Top, current.Width(), current.Height());
            if (r.Right > r.Left) {
                if ((form->Position() == poScreenCenter || form->Position() == poDesktopCenter) &&
                    !(form->ComponentState() & csDesigning))
                    form->SetPosition(poDesigned);
                if (form->FormStyle() != fsMDIChild && r.Bottom > r.Top) r = OntoAScreen(r);
                form->SetWindowPlacement(wp);
            }
        }
    }
    if (loadState) {
        TWindowState state = wsNormal;
        bool mainOrNone = form == Application->MainForm() || !Application->MainForm();
        if (mainOrNone && (form->FormStyle() == fsMDIForm ||
                           (form->FormStyle() == fsNormal && form->Position() == poDefault)))
            state = wsMaximized;
        switch (IniReadInteger(store, section, "ShowCmd", 0)) {
        case 1: case 5: case 9: state = wsNormal; break;
        case 2: case 6: case 7: state = wsMinimized; break;
        case 3: state = wsMaximized; break;
        default: break;
        }
        if (state == wsMinimized && mainOrNone) {
            // The whole program goes to the task bar, the form itself stays normal.
            form->SetWindowState(wsNormal);
            PostCall([] { Application->Minimize(); });
            return;
        }
        form->SetWindowState(state);
    }
    form->Update();
}

void WriteFormPlacement(TForm* form, TIniFile* iniFile, const AnsiString& section) {
    WriteFormPlacementTo(form, iniFile, section);
}
void WriteFormPlacementReg(TForm* form, TRegIniFile* iniFile, const AnsiString& section) {
    WriteFormPlacementTo(form, iniFile, section);
}
void ReadFormPlacement(TForm* form, TIniFile* iniFile, const AnsiString& section, bool loadState, bool loadPosition) {
    ReadFormPlacementFrom(form, iniFile, section, loadState, loadPosition);
}
void ReadFormPlacementReg(TForm* form, TRegIniFile* iniFile, const AnsiString& section, bool loadState,
                          bool loadPosition) {
    ReadFormPlacementFrom(form, iniFile, section, loadState, loadPosition);
}

void SaveFormPlacement(TForm* form, const AnsiString& iniFileName, bool useRegistry) {
    std::unique_ptr<TObject> store;
    if (useRegistry) store = std::make_unique<TRegIniFile>(iniFileName);
    else store = std::make_unique<TIniFile>(iniFileName);
    WriteFormPlacementTo(form, store.get(), ClassNameOf(form));
}

void RestoreFormPlacement(TForm* form, const AnsiString& iniFileName, bool useRegistry) {
    std::unique_ptr<TObject> store;
    if (useRegistry) store = std::make_unique<TRegIniFile>(iniFileName, KEY_READ);
    else store = std::make_unique<TIniFile>(iniFileName);
    ReadFormPlacementFrom(form, store.get(), ClassNameOf(form), true, true);
}

// ---- form classes, MDI children, grids ----------------------------------------------

void RegisterFormClass(const TFormClass& formClass) {
    for (TFormClass& c : FormClasses()) {
        if (SameText(c.Name, formClass.Name)) {
            c = formClass;
            return;
        }
    }
    FormClasses().push_back(formClass);
}

const TFormClass* FindFormClass(const AnsiString& name) {
    for (const TFormClass& c : FormClasses())
        if (!name.IsEmpty() && SameText(c.Name, name)) return &c;
    return nullptr;
}

void SaveMDIChildren(TForm* mainForm, TIniFile* iniFile) { SaveChildren(mainForm, iniFile); }
void SaveMDIChildrenReg(TForm* mainForm, TRegIniFile* iniFile) { SaveChildren(mainForm, iniFile); }
void RestoreMDIChildren(TForm* mainForm, TIniFile* iniFile) { RestoreChildren(mainForm, iniFile); }
void RestoreMDIChildrenReg(TForm* mainForm, TRegIniFile* iniFile) { RestoreChildren(mainForm, iniFile); }

void SaveGridLayout(TCustomGrid* grid, TIniFile* iniFile) { SaveGrid(grid, iniFile); }
void SaveGridLayoutReg(TCustomGrid* grid, TRegIniFile* iniFile) { SaveGrid(grid, iniFile); }
void RestoreGridLayout(TCustomGrid* grid, TIniFile* iniFile) { RestoreGrid(grid, iniFile); }
void RestoreGridLayoutReg(TCustomGrid* grid, TRegIniFile* iniFile) { RestoreGrid(grid, iniFile); }

TForm* FindForm(const TFormClass& formClass) {
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (formClass.IsInstance(Screen->Forms(i))) return Screen->Forms(i);
    return nullptr;
}

TForm* FindShowForm(const TFormClass& formClass, const AnsiString& caption) {
    return FindOrMake(formClass, caption, true);
}

bool ShowDialog(const TFormClass& formClass) {
    std::unique_ptr<TForm> form(MakeForm(formClass));
    int result = form->ShowModal();
    return result == mrOk || result == mrYes;
}

TForm* InstantiateForm(const TFormClass& formClass, TForm*& reference) {
    if (!reference) reference = MakeForm(formClass);
    return reference;
}

void AppBroadcast(unsigned msg, WPARAM wParam, LPARAM lParam) {
    std::vector<TForm*> forms;
    for (int i = 0; i < Screen->FormCount(); ++i) forms.push_back(Screen->Forms(i));
    for (TForm* f : forms) f->Perform(msg, wParam, lParam);
}
