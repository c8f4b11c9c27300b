#pragma once
// The user-interface port: every message box, common dialog, help request, URL
// and text-viewer request of the program goes through the one installed port.
// The real port (installed by the windowing layer) shows Qt dialogs; the test
// port (platform/testing/TestUiPort.h) answers from a script and records every call.

#include <functional>
#include <vector>

#include "platform/AnsiString.h"
#include "platform/Color.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = unsigned; // set of TMsgDlgBtn: bit (1 << btn)
constexpr TMsgDlgButtons MsgButtons(std::initializer_list<TMsgDlgBtn> b) {
    TMsgDlgButtons r = 0;
    for (TMsgDlgBtn x : b) r |= 1u << x;
    return r;
}
constexpr TMsgDlgButtons mbYesNo = (1u << mbYes) | (1u << mbNo);
constexpr TMsgDlgButtons mbYesNoCancel = mbYesNo | (1u << mbCancel);
constexpr TMsgDlgButtons mbOKCancel = (1u << mbOK) | (1u << mbCancel);
constexpr TMsgDlgButtons mbOKOnly = 1u << mbOK;
constexpr TMsgDlgButtons mbYesOnly = 1u << mbYes;

// Modal results, as the old platform numbered them.
enum : int {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
    mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10,
};

// MessageBox flags and results (the Win32 values).
enum : unsigned {
    MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5, MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30,
    MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// An open, save or save-picture dialog: filled by the caller, updated by the
// port when the user accepts.
struct FileDialogRequest {
    enum Kind { Open, Save, SavePicture } kind = Open;
    AnsiString Title;
    AnsiString Filter;      // "text|mask|text|mask"
    int FilterIndex = 1;    // 1-based
    AnsiString DefaultExt;  // without the dot; appended to names without one
    AnsiString InitialDir;
    AnsiString FileName;
    std::vector<AnsiString> Files; // every chosen name (multi-select)
    bool MultiSelect = false;
    // A save dialog asks before it gives back the name of a file that exists
    // (ConfirmOverwrite, below); "Нет" lets the user choose again.
    bool OverwritePrompt = false;
    bool FileMustExist = false;
    // The name the caller writes for a chosen name under a filter index, for
    // a caller whose kinds have extension rules of their own (then DefaultExt
    // is not added); "" when nothing is left of the chosen name. The question
    // about a file that exists is asked about this name, and the dialog gives
    // it back: the user is asked once, about the file that will be written.
    std::function<AnsiString(const AnsiString& chosen, int filterIndex)> WrittenName;
};

// The default extension (without its dot) added to a name that has none.
AnsiString WithDefaultExt(const AnsiString& name, const AnsiString& ext);
// The name a file dialog gives back for the one chosen under the filter
// index: the request's WrittenName, else the name with the default extension,
// as a full and clean path (ExpandFileName); "" when WrittenName leaves nothing.
AnsiString GivenFileName(const FileDialogRequest& request, const AnsiString& chosen, int filterIndex);

enum TPrintRange { prAllPages, prSelection, prPageNums };

struct PrintDialogRequest {
    int Copies = 1;
    int MinPage = 0, MaxPage = 0;
    int FromPage = 0, ToPage = 0;
    TPrintRange PrintRange = prAllPages;
    bool PageNumbersAllowed = false;
    bool SelectionAllowed = false;
    AnsiString PrinterName;  // chosen device; empty for the default
    AnsiString PdfFileName;  // set when the user chose to print into a file
};

// A folder dialog: filled by the caller; Folder is updated when the user
// accepts. OK is enabled only while the selection suits the caller.
struct FolderDialogRequest {
    AnsiString Title;          // the prompt above the folders
    AnsiString Folder;         // in: the folder selected at the start (none when empty); out: the choice
    int HelpContext = 0;       // not 0: a help button opens this topic
    bool ScreenCenter = false; // shown in the middle of the screen, else where the desktop puts it
    // Every change of the selection, the starting one included, with the
    // selected folder's path; the answer enables OK. Without it OK needs an
    // existing folder.
    std::function<bool(const AnsiString& path)> OnSelChanged;
    // Once the dialog is up (after the starting selection).
    std::function<void()> OnInitialized;
};

class IUserInterfacePort {
public:
    virtual ~IUserInterfacePort() = default;
    // Message boxes; each returns the modal result of the button pressed.
    virtual int MessageDlg(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) = 0;
    virtual int MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) = 0;
    virtual void ShowMessage(const AnsiString& text) = 0;
    // Common dialogs; false when the user cancels.
    virtual bool FileDialog(FileDialogRequest& request) = 0;
    virtual bool ColorDialog(TColor& color) = 0;
    virtual bool PrintDialog(PrintDialogRequest& request) = 0;
    virtual bool SelectDirectory(const AnsiString& caption, AnsiString& directory) = 0;
    virtual bool FolderDialog(FolderDialogRequest& request) = 0;
    // Help, links and the read-only text viewer.
    virtual void Help(const AnsiString& helpFile, const AnsiString& topic, int context) = 0;
    virtual void OpenUrl(const AnsiString& url) = 0;
    virtual void ViewTextFile(const AnsiString& fileName) = 0;
};

// The installed port. Until one is installed, a fallback writes every message
// and question to standard error and gives each question its safe answer:
// Cancel where the box has it, else No (else Abort); a box with one button
// answers with it. File, colour, print and folder dialogs are cancelled.
IUserInterfacePort& UiPort();
// Installs a port (not owned); null restores the fallback. Returns the previous one.
IUserInterfacePort* SetUiPort(IUserInterfacePort* port);

// Asks before a file that exists is replaced: "Файл <name> уже существует.
// Заменить его?", a warning with Yes and No. True when the name is no file
// or the answer was Yes. The first form asks through the given port, the
// second through the installed one.
bool ConfirmOverwrite(IUserInterfacePort& port, const AnsiString& fileName);
bool ConfirmOverwrite(const AnsiString& fileName);

// The program's calls, forwarded to the port.
int MessageDlg(const AnsiString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const AnsiString& text);
int MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags);
