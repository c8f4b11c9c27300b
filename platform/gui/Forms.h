#pragma once
// Forms, the application object and the screen.
//
// A form is built in code: its constructor creates the controls (NewControl)
// with their names and binds the handlers; whoever makes the form calls
// Application->CreateForm (start-up forms) or NewForm (forms made on demand),
// which fires OnCreate once the constructor has finished.
//
// ShowModal runs a real nested event loop until ModalResult becomes non-zero
// (a button with a ModalResult sets it before its OnClick runs; a handler may
// set it back to 0 to keep the form open). Application->OnModalStart runs
// when a modal form has just been shown, so tests can act on it.

#include <functional>
#include <vector>

#include "platform/UiPort.h"
#include "platform/gui/Controls.h"

class QMdiArea;
class QCursor;
namespace gebridge { QCursor QtCursorOf(int c); class Surface; }
class TMainMenu;
class TMenu;
class TActionList;
class TForm;
class TBitmap;

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TTileMode { tbHorizontal, tbVertical };
using TBorderIcons = unsigned;
constexpr unsigned biSystemMenu = 1;
constexpr unsigned biMinimize = 2;
constexpr unsigned biMaximize = 4;
constexpr unsigned biHelp = 8;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TExceptionEvent = std::function<void(TObject* Sender, Exception* E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;

// The window placement record: show command, minimised and maximised
// positions and the normal rectangle (screen coordinates; for an MDI child,
// coordinates in the frame's client area). The normal rectangle of a
// top-level window starts at the top-left corner of the desktop's frame and
// holds the window's size without that frame: the frame is unknown until the
// window is shown, so a placement applied before (the usual restore) gives
// back the same window as one applied after.
struct TWindowPlacement {
    unsigned length = 44;
    unsigned flags = 0;
    unsigned showCmd = 1; // SW_HIDE 0, SW_SHOWNORMAL 1, SW_SHOWMINIMIZED 2, SW_SHOWMAXIMIZED 3
    TPoint ptMinPosition{-1, -1};
    TPoint ptMaxPosition{-1, -1};
    TRect rcNormalPosition;
};
constexpr unsigned SW_HIDE = 0;
constexpr unsigned SW_SHOWNORMAL = 1;
constexpr unsigned SW_SHOWMINIMIZED = 2;
constexpr unsigned SW_SHOWMAXIMIZED = 3;
constexpr unsigned SW_SHOW = 5;
constexpr unsigned SW_MINIMIZE = 6;
constexpr unsigned SW_SHOWNA = 8;
constexpr unsigned SW_RESTORE = 9;

// Shows (SW_SHOW, SW_SHOWNA: without activating) or hides (SW_HIDE) the
// window of a control without changing its Visible property: a window of its
// own that its owner hides while it is not wanted stays Visible.
void ShowWindow(TControl* control, unsigned cmdShow);
// Waits the given time with a timer, while painting, timers and posted calls
// go on; the user's input waits until it is over.
void Delay(unsigned milliseconds);
constexpr unsigned WPF_SETMINPOSITION = 1;
// In a minimized window's placement: it comes back maximized.
constexpr unsigned WPF_RESTORETOMAXIMIZED = 2;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // ---- appearance ----
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle s);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons b);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition p) { position_ = p; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState s);
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* m);
    bool KeyPreview = false;
    int PixelsPerInch = 96;
    bool AutoScroll = false;
    // The canvas of the client area (a persistent image; OnPaint draws on it).
    TCanvas* Canvas();
    void Invalidate() override;

    // The control that gets the focus when the form is shown / activated.
    TWinControl* ActiveControl() const;
    void SetActiveControl(TWinControl* c);

    void SetBounds(int left, int top, int width, int height) override;
    // The desktop's frame around the window: what Width and Height hold
    // beyond the window itself (nothing before the first show).
    TSize FrameSize() const;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientWidth(int v) override;
    void SetClientHeight(int v) override;
    TPoint ClientOrigin() const override;

    // ---- showing and closing ----
    void SetVisible(bool v) override;
    void Show();
    void Hide();
    int ShowModal();
    bool IsModal() const { return modalLevel_ > 0; }
    // Asks OnCloseQuery and OnClose; hides, frees or minimises by the action.
    void Close();
    // Frees the form once the current event is handled.
    void Release();
    // Whether the form was released: it is gone for the user (hidden) and
    // is freed once the current event is handled. A form merely hidden or
    // minimized is not: it still holds what it shows.
    bool Releasing() const { return releasing_; }
    // Runs OnCloseQuery; true when the form may close.
    virtual bool CloseQuery();
    int ModalResult = mrNone;
    // Brings the form to the front and gives it the focus.
    void BringToFront();
    void SetFocus() override;
    bool Active() const;

    // ---- placement ----
    bool GetWindowPlacement(TWindowPlacement& wp) const;
    // Applies a placement; a normal rectangle wholly off the screen (or off
    // the frame's client area for an MDI child) is moved onto it first.
    bool SetWindowPlacement(const TWindowPlacement& wp);

    // ---- MDI (on the frame, FormStyle fsMDIForm) ----
    TForm* ActiveMDIChild() const;
    int MDIChildCount() const;
    // Children with the topmost first.
    TForm* MDIChildren(int index) const;
    void Cascade();
    void Tile();
    TTileMode TileMode = tbHorizontal;
    void ArrangeIcons();
    void MinimizeAll();
    void Next();
    void Previous();
    QMdiArea* MDIArea() const { return mdiArea_; }
    // The sunken edge around the client area that holds the children (none
    // unless shown).
    bool MDIClientEdge() const;
    void SetMDIClientEdge(bool show);

    // ---- shortcuts ----
    // Fires the menu item or action bound to the shortcut; true when one fired.
    virtual bool IsShortCut(WORD key, TShiftState shift, bool lettersToo = true);

    // ---- events ----
    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;

    // Fires OnCreate (once); called by CreateForm and NewForm.
    void DoCreate();
    // Fires OnDestroy (once); called before the form is freed.
    void DoDestroy();
    void BeforeDestruction() override { DoDestroy(); }

    void WndProc(TMessage& message) override;
    bool WantsKey(WORD key) const override;

    // Whether the form has been shown once (OnShow fired).
    bool WasShown() const { return shownOnce_; }
    // The frame of an MDI child.
    TForm* MDIParent() const;

    // Internal: activation bookkeeping called by the screen.
    void DoActivate();
    void DoDeactivate();

protected:
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    void ApplyText() override;
    void ApplyConstraints() override;
    TRect AlignRect() const override;
    void AlignControls(TRect& rect) override;
    void ApplyWindowFlags();
    // A window of its own with a frame that offers neither to minimize nor to
    // maximize it (a dialog border, or neither icon): no such button on its
    // title bar.
    bool WithoutFrameButtons() const;
    // Before and after a modal showing: kept above owner (or above the
    // program's other windows when none), and back.
    void BeginModalWindow(QWidget* owner);
    void EndModalWindow();
    // The window's size as SetBounds takes it (frame included once shown).
    TSize OuterSize() const;
    // The normal rectangle of the window as it stands (see TWindowPlacement).
    TRect ShownNormalRect() const;
    void PlaceOnFirstShow();
    void PlaceChildOnFirstShow();
    void ShowWidget();
    friend class TApplication;
    friend class TScreen;
    friend struct FormEvents;

    TFormStyle formStyle_ = fsNormal;
    TBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    TWindowState pendingState_ = wsNormal;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    QWidget* menuBar_ = nullptr;
    QWidget* subWindow_ = nullptr;
    int modalLevel_ = 0;
    // Shown modally: a dialog of the window system whatever its border, so
    // that the desktop keeps it above the window it belongs to.
    bool modalDialog_ = false;
    bool created_ = false;
    bool destroyed_ = false;
    bool shownOnce_ = false;
    bool placed_ = false;
    bool closing_ = false;
    bool releasing_ = false;
    TRect normalRect_;
    // The program's window that was active when this window was minimized
    // (none when this one was): it is active again once this one is back.
    TForm* activeAtMinimize_ = nullptr;
    std::weak_ptr<char> activeAtMinimizeAlive_;
    gebridge::Surface* surface_ = nullptr;
    TForm* currentChild_ = nullptr; // the MDI child last activated (frame)
};

// Makes a form on demand (not auto-created): constructs it and fires OnCreate.
template <class T, class... Args>
T* NewForm(TComponent* owner, Args&&... args) {
    T* f = new T(owner, std::forward<Args>(args)...);
    f->DoCreate();
    return f;
}

// A monitor of the desktop.
struct TMonitor {
    TRect BoundsRect;
    TRect WorkareaRect;
    bool Primary = false;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // The application-wide cursor override; crDefault removes it. Setting it
    // again replaces the override, it never stacks.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    // The program's cursors by number: a picture (its transparent colour
    // left out) with its hot spot.
    void SetCursors(int index, const TBitmap& image, int hotX, int hotY);
    // Loads a cursor picture file (PNG, BMP, CUR/ICO when Qt reads it).
    bool LoadCursorFile(int index, const AnsiString& fileName, int hotX, int hotY);
    bool HasCursor(int index) const;

    TForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const;
    int FormCount() const { return int(forms_.size()); }
    // Forms with the most recently activated first.
    TForm* Forms(int index) const;
    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return 96; }
    int MonitorCount() const;
    TMonitor Monitors(int index) const;
    // The work area of the monitor nearest to the point / rectangle.
    TRect WorkAreaAt(TPoint p) const;
    TRect WorkAreaRect() const;
    TRect DesktopRect() const;

    TNotifyEvent OnActiveFormChange;

    // Internal bookkeeping of the forms.
    void AddForm(TForm* f);
    void RemoveForm(TForm* f);
    void FormActivated(TForm* f);
    void FormGone(TForm* f);

private:
    friend QCursor gebridge::QtCursorOf(int c);
    TCursor cursor_ = crDefault;
    TForm* activeForm_ = nullptr;
    std::vector<TForm*> forms_;
    struct Cursors;
    std::unique_ptr<Cursors> cursors_;
};

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Installs the Qt user-interface port and Qt's own Russian texts (the
    // real program calls it first).
    void Initialize();
    template <class T>
    void CreateForm(T*& reference) {
        T* f = new T(this);
        reference = f;
        FormCreated(f);
        f->DoCreate();
    }
    // Shows the main form (OnShow fires once) and runs the event loop until
    // the main form closes or Terminate is called (which also ends the modal
    // loops running inside it).
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every pending event, then returns.
    void ProcessMessages();
    // Lets pending painting, timers and posted calls through, but no user
    // input (long work that wants its windows to repaint).
    void ProcessPaintMessages();
    // Runs the idle work now: action updates, OnIdle, deferred repaints.
    void Idle();

    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* f) { mainForm_ = f; }
    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& t);
    AnsiString HelpFile;
    AnsiString ExeName() const;
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& h);
    TColor HintColor = clInfoBk;
    bool ShowHint = true;
    // Whether a window of this program is active: the state that the last
    // OnActivate / OnDeactivate (and WM_ACTIVATEAPP) told, already true or
    // false while they run.
    bool Active() const;

    TExceptionEvent OnException;
    TNotifyEvent OnHint;
    TIdleEvent OnIdle;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    // Runs when a modal form has just been shown, before its loop waits.
    std::function<void(TForm*)> OnModalStart;

    // Whether the program's controls follow a change of the desktop's locale
    // (the date edits rebuild their masks from the date settings).
    bool UpdateFormatSettings = true;
    // Procedures that see the main window's messages first: WM_SETTINGCHANGE
    // when the desktop reports a new locale. The one installed last is asked
    // first; one that returns true has handled the message, and the others
    // do not see it. A procedure may remove itself (or another) while called.
    using TWindowHook = std::function<bool(TMessage& message)>;
    // A number to remove it by; 0 (nothing installed) for an empty procedure.
    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int hook);
    // Internal: hands a message of the main window to the procedures; true
    // when one handled it.
    bool CallMainWindowHooks(TMessage& message);

    // Reports an exception: OnException when set, else ShowException.
    void HandleException(TObject* sender, Exception& e);
    // The default report: "Ошибка в программе!\n" + the message.
    void ShowException(Exception* e);
    int MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags);
    // Help: the topic of HelpFile in the help window (see Help.h).
    void HelpJump(const AnsiString& topic);
    void HelpContext(int context);
    // HELP_CONTENTS and HELP_FINDER open the help at its first topic,
    // HELP_CONTEXT is HelpContext(data), HELP_QUIT closes the help window;
    // false for a command it does not know.
    bool HelpCommand(unsigned command, long data);
    void Minimize();
    void Restore();

    // Internal: called by CreateForm.
    void FormCreated(TForm* f);

private:
    AnsiString title_;
    AnsiString hint_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool running_ = false;
    bool handlingException_ = false;
    std::vector<std::pair<int, TWindowHook>> windowHooks_;
    int nextWindowHook_ = 1;
};

// The one application object and screen, made on first use (a QApplication
// must exist by then).
struct ApplicationRef {
    TApplication* operator->() const;
    operator TApplication*() const;
};
struct ScreenRef {
    TScreen* operator->() const;
    operator TScreen*() const;
};
extern ApplicationRef Application;
extern ScreenRef Screen;
// Frees the application object (and with it every form it owns).
void DestroyApplication();

// The help commands (the old platform's numbers).
enum : unsigned { HELP_CONTEXT = 0x1, HELP_QUIT = 0x2, HELP_CONTENTS = 0x3, HELP_FINDER = 0xB };

// Loads Qt's own Russian texts so that the standard dialogs (open, save,
// print, colour) and the context menus of text fields speak Russian whatever
// the user's locale. False when the translation is not installed (Debian:
// qt6-translations-l10n); loading twice loads once.
bool LoadStandardTranslation();
