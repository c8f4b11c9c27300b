#pragma once
// What the scheme model needs from the layers above it. The model never opens
// a window itself and never sees the scheme document's class: the document an
// element belongs to, the signal table, the settings, an element's
// properties, the chain-join question, the frame's cross-scheme services, the
// state-machine files and the translator's error log are reached through the
// interfaces below. The scheme document (document/) installs the scheme
// factory, the signal table and the settings when it is linked; the editor,
// the frame, the state-machine editor and the translator install the rest at
// start-up. With nothing installed every operation does the sound headless
// thing that its comment states.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/AnsiString.h"
#include "platform/Color.h"

class TCanvas;
class TElement;
class TEntity;
class TStrings;
class TVarDriver;
class ISchemeContext;

// Who an entity belongs to: what it draws on and at which zoom. A scheme
// window, a scheme without a window, a dialog's paint box or nothing can be
// an owner. Without a canvas nothing is drawn.
class IEntityOwner {
public:
    virtual ~IEntityOwner() = default;
    // The canvas on which objects show and hide themselves; null draws nothing.
    virtual TCanvas* GetCanvas() = 0;
    // Zoom percentage (25 to 400) of that canvas.
    virtual int GetZoom() { return 100; }
    // The scheme document the owner stands for; null for a paint box.
    virtual ISchemeContext* GetScheme() { return nullptr; }
    // The window's caption (the document's file name, "*" when modified).
    virtual void SetCaption(const AnsiString& caption) { (void)caption; }
    // The document's zoom changed.
    virtual void ShowZoom(int percent) { (void)percent; }
    // Loading progress: max > 0 shows a bar at position; max 0 hides it.
    virtual void ShowProgress(int position, int max) { (void)position; (void)max; }
};

// A pin as it was before its element's pins were made anew: its name,
// direction (0 input, 1 output) and tip.
struct TPinTip {
    AnsiString Name;
    int Direction = 0;
    int X = 0;
    int Y = 0;
};

// What an object asks of the scheme document it belongs to. The document is
// the owner of its objects; it implements this interface.
class ISchemeContext : public IEntityOwner {
public:
    ISchemeContext* GetScheme() override { return this; }
    // The document's file name (empty while untitled).
    virtual const AnsiString& GetFileName() const = 0;
    // Sets the modified flag (and the window's caption).
    virtual void SetModified(bool modified) = 0;
    // Rebuilds the nets from the drawing (after an object's pins changed).
    virtual void RebuildNets() = 0;
    // How deep this document lies inside symbols (0 for a file of its own).
    virtual int GetNestingDepth() const = 0;
    // Whether the document is shown in a window (numbers are checked there).
    virtual bool HasWindow() const = 0;
    // The device of that processing number, or null.
    virtual TElement* FindDeviceByNumber(int number) const = 0;
    // Connectors with their class: 0 joined only to element inputs, 1 only
    // to outputs, 3 both, 2 none; restart begins at the first; null at the end.
    virtual TVarDriver* NextVarDriver(uint8_t& cls, bool restart) = 0;
    // After the element's pins were made anew from `before`: the wire ends
    // and driver pins that lay on an old pin tip follow the pin of the same
    // name and direction; those of a pin that is gone are moved off every pin
    // and stay unconnected. Returns the names of the gone pins that had
    // something joined. A document without wires has nothing to move.
    virtual std::vector<AnsiString> FollowPins(TElement* element, const std::vector<TPinTip>& before) {
        (void)element;
        (void)before;
        return {};
    }
};

// The undo list as the objects see it: an object records its geometry
// before it is dragged.
class IUndoRecorder {
public:
    virtual ~IUndoRecorder() = default;
    virtual void AddMove(TEntity* object) = 0;
};

// The machine-signal table in use, as driver pins read it.
class ISignalTable {
public:
    virtual ~ISignalTable() = default;
    // The driver, bit and comment of a signal bound to a driver bit, the name
    // compared as the translation library compares it (letter case aside);
    // false (and "", 0, "") when there is none.
    virtual bool FindBit(const AnsiString& name, AnsiString& driverName, int& bitNumber, AnsiString& comment) const = 0;
    // 0 for an input driver, 1 for an output driver, -1 for no driver of that name.
    virtual int DriverDirection(const AnsiString& driverName) const = 0;
    // The comment of a variable signal, letter case aside; false ("") when
    // there is none.
    virtual bool FindVarBit(const AnsiString& name, AnsiString& comment) const = 0;
};

// The settings the model reads (see SchemeSettings.h for each one's key).
enum class TSchemeSetting {
    BackColor, LinkColor, SelectedLinkColor, SelectedColor, ElementNameColor, EmptyPinColor, DriverNameColor,
    ChainNameColor, TimerAttrColor, InDriverColor, OutDriverColor, DriverColor, JunctionColor, DashColor,
    TimerMultiple, CheckOrder, MaxWidth, MaxHeight,
};

// The program's settings module as the model reads it; colours come as
// TColor values, flags as 0 or 1.
class ISchemeSettings {
public:
    virtual ~ISchemeSettings() = default;
    // false when the module holds no value (the model's default applies).
    virtual bool SchemeSetting(TSchemeSetting which, int& value) const = 0;
};

// Makes the scheme of a symbol file, loaded at the given nesting depth;
// null when the file cannot be loaded.
using TSymbolSchemeFactory = std::function<std::unique_ptr<ISchemeContext>(const AnsiString& fileName, int depth)>;

// A paint box that shows single elements (the insertion and symbol dialogs'
// previews): its canvas at 100 %, no scheme.
class TPaintBoxOwner : public IEntityOwner {
public:
    explicit TPaintBoxOwner(TCanvas* canvas) : canvas_(canvas) {}
    TCanvas* GetCanvas() override { return canvas_; }

private:
    TCanvas* canvas_;
};

// The property dialogs of the element kinds. Run fills the dialog from the
// entity and shows it modally, returning the modal result; Store writes the
// dialog back (called between the entity's hide and show, after mrOk).
enum class TPropertyDialog {
    Element,         // generic element dialog: and, or, drstrigger, filter, plain elements
    ElementOutputs,  // the same with output-pin limits: counters, decoder, commutator
    ElementNoPins,   // the same with its pin buttons hidden: xor, d8trigger, cbyte
    PredTimer,
    Trigger,         // trigger and D-trigger
    Timer,
    Link,
    Driver,          // driver pin ("Вывод драйвера"); modal result 6 means "no change"
    VarDriver,       // connector ("Соединение")
    Case,            // the four CASE kinds
    Goto,
    SymbolAction,    // what to do with a symbol or state-machine element; see Choice
};

class IPropertyDialogs {
public:
    virtual ~IPropertyDialogs() = default;
    virtual int Run(TPropertyDialog dialog, TEntity* entity) = 0;
    virtual void Store(TPropertyDialog dialog, TEntity* entity) = 0;
    // The item chosen in the symbol action dialog after it returned mrOk:
    // 0 reload / pick a file, 1 open in an editor window, 2 edit properties.
    virtual int SymbolActionChoice() = 0;
};

// The frame's services that elements and the document call.
class IFrameServices {
public:
    virtual ~IFrameServices() = default;
    // Opens a scheme file in a new scheme window.
    virtual void OpenSchemeWindow(const AnsiString& fileName) = 0;
    // The open dialog for state-machine files; the proposed name when cancelled.
    virtual AnsiString AskFileName(const AnsiString& proposed) = 0;
    // Opens a state-machine file in a state-machine window, which becomes active.
    virtual void OpenFSMWindow(const AnsiString& fileName) = 0;
    // Gives the active state-machine window the element's pin names when the
    // counts agree (else it shows its own message).
    virtual void CheckFSMPins(const AnsiString& unused, TStrings* inputs, TStrings* outputs) = 0;
    // Resolves a jump's target element (may fill targetElement); true when a
    // message was shown.
    virtual bool ResolveGotoTarget(const AnsiString& sourceFile, const AnsiString& targetScheme, int unused,
                                   const AnsiString& jumpName, AnsiString& targetElement) = 0;
    // A file of the open project (the project folder + name).
    virtual AnsiString MakeProjectPath(const AnsiString& name) = 0;
    // The chain-join question: true (with the joined name) when the user
    // answers Yes.
    virtual bool AskJoinChains(const AnsiString& first, const AnsiString& second, AnsiString& joined) = 0;
    // The add-internal-signal question for a connector passed to the
    // debugger: 0 as an input, 1 as an output, -1 when cancelled.
    virtual int AskSignalDirection(const AnsiString& name) = 0;
    // Appends the bare file names of the open project's schemes in project
    // order; without a project nothing is listed.
    virtual bool ListProjectFiles(const AnsiString& unused, TStrings* list) {
        (void)unused;
        (void)list;
        return false;
    }
    // Appends the device names of that project scheme as its file holds
    // them, in the scheme's order; nothing for a scheme it cannot read.
    virtual bool ListSchemeElements(const AnsiString& schemeName, TStrings* list) {
        (void)schemeName;
        (void)list;
        return false;
    }
    // Opens the CASE-forming window of a CASE element (its scheme named
    // after baseName); list gets the window's numbers back.
    virtual bool OpenCaseWindow(TStrings* list, const AnsiString& baseName, TElement* element) {
        (void)list;
        (void)baseName;
        (void)element;
        return false;
    }
};

// The state-machine document's file and table, supplied by the state-machine
// editor: the element reads and writes the pin names of its ".fsm" file and
// asks for the transition-table text when it is translated.
class IFsmServices {
public:
    virtual ~IFsmServices() = default;
    // The input and output signal names of the file; false when the file is
    // missing or refused.
    virtual bool ReadPins(const AnsiString& fileName, TStrings* inputs, TStrings* outputs) = 0;
    // Writes the pin names into the file in place; false when it cannot.
    virtual bool WritePins(const AnsiString& fileName, TStrings* inputs, TStrings* outputs) = 0;
    // Loads the file, checks it and appends its transition table; false when
    // the file is missing or fails its check (the check shows its message).
    virtual bool AppendTransitionTable(const AnsiString& fileName, TStrings* lines) = 0;
};

// The translator's error operation.
class ITranslationLog {
public:
    virtual ~ITranslationLog() = default;
    virtual void Error(const AnsiString& text) = 0;
};

// The installed services; each may be null.
struct TModelHooks {
    TSymbolSchemeFactory SymbolSchemes;  // null: a symbol loads no scheme and has no pins
    const ISignalTable* Signals = nullptr;    // null: no signal is found (an empty table)
    const ISchemeSettings* Settings = nullptr; // null: the settings file's defaults
    IPropertyDialogs* Dialogs = nullptr; // null: Properties changes nothing and answers false
    IFrameServices* Frame = nullptr;     // null: see each caller
    IFsmServices* Fsm = nullptr;         // null: state-machine pins stay, no table is written
    ITranslationLog* Log = nullptr;      // null: translation errors are shown as messages
};

TModelHooks& ModelHooks();

// Reports a translation error through the installed log, or as a message.
void ReportTranslationError(const AnsiString& text);
