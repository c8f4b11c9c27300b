#pragma once
// What the scheme model needs from the layers above it. The model never opens
// a window itself: an element's properties, the chain-join question, the
// frame's cross-scheme services, the state-machine files and the translator's
// error log are reached through the interfaces below, which the editor, the
// frame, the state-machine editor and the translator install at start-up.
// With nothing installed every operation does the sound headless thing that
// its comment states.

#include "platform/AnsiString.h"

class TCanvas;
class TEntity;
class TScheme;
class TStrings;

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
    virtual TScheme* GetScheme() { return nullptr; }
    // The window's caption (the document's file name, "*" when modified).
    virtual void SetCaption(const AnsiString& caption) { (void)caption; }
    // The document's zoom changed.
    virtual void ShowZoom(int percent) { (void)percent; }
    // Loading progress: max > 0 shows a bar at position; max 0 hides it.
    virtual void ShowProgress(int position, int max) { (void)position; (void)max; }
};

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
    IPropertyDialogs* Dialogs = nullptr; // null: Properties changes nothing and answers false
    IFrameServices* Frame = nullptr;     // null: see each caller
    IFsmServices* Fsm = nullptr;         // null: state-machine pins stay, no table is written
    ITranslationLog* Log = nullptr;      // null: translation errors are shown as messages
};

TModelHooks& ModelHooks();

// Reports a translation error through the installed log, or as a message.
void ReportTranslationError(const AnsiString& text);
