#pragma once
// TMainForm: the program's one multi-document frame. It owns the open
// project and the translator, carries every menu command, toolbar button and
// shortcut of the program in ActionList1, routes editing commands to the
// active child window (see FrameChild.h), and offers the cross-scheme
// services that elements, dialogs and other windows reach through the global
// MainForm.
//
// The actions, menu items and toolbar buttons are tables of rows (Main.cpp,
// MainLayout.cpp): each row names its action's handlers. Handlers keep the
// names they are known by (FileOpen1Execute, N26Click...); the actions'
// update handlers carry the enabling rules and run at idle.

#include <cstdint>
#include <memory>
#include <vector>

#include "app/FileKinds.h"
#include "app/FrameChild.h"
#include "editor/CheckConnect.h"
#include "editor/SchemeMode.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

class TDockEx;
class TToolbarEx;
class TToolbarButtonEx;
class TToolWindowEx;
class TFormStorage;
class TMRUManager;
class TImageList;
class TProject;
class TLogFile;
class TScheme;
class TFSMScheme;
class TStrings;
class IPropertyDialogs;

class TMainForm : public TForm, public IChainServices {
public:
    explicit TMainForm(TComponent* owner);
    ~TMainForm() override;

    // ---- data ------------------------------------------------------------------------
    // The open project (null when none) and the translator's log, made when
    // the frame is created and freed when it is destroyed.
    std::unique_ptr<TProject> CurrentProject;
    std::unique_ptr<TLogFile> LogFile;
    // Whether a fragment has been copied since the program started.
    bool PasteAvailable() const { return pasteAvailable_; }
    // The file named on the command line, opened when the frame first shows.
    AnsiString CommandLineFile;

    // ---- components --------------------------------------------------------------------
    // The actions are made from the table in CreateActions; those without a
    // field are found by name (FindComponent).
    TActionList* ActionList1;
    TAction *FileNew1, *FileOpen1, *FileClose1, *FileSave1, *FileSaveAs1, *FileExit1;
    TAction *CutAction, *CopyAction, *PasteAction, *DeleteAction, *UndoAction;
    TAction *WindowCascade1, *WindowTileHorizontal1, *WindowTileVertical1;
    TAction *HelpAbout1, *HelpContenstAction;
    TAction *SelectAction, *DeviceAction, *PinAction, *WireAction, *ConnectAction, *MoveLinkAction;
    TAction *SymbolAction, *FSMAction, *RedrawAction;
    TAction *ZoomInAction, *ZoomOutAction, *ZoomNormalAction, *ZoomMaxAction;
    TAction *FlipHorAction, *TypeAction;
    TAction *NewProjectAction, *OpenProjectAction, *CloseProjectAction, *SaveProjectAction;
    TAction *InsertFileAction, *DeleteFileAction, *ActivateFileProjectAction, *OptionProjectAction;
    TAction *MoveFileUp, *MoveFileDown;
    TAction *ExportAction, *ExportSchemeAction, *ShowErrorAction, *ShowFileExportAction;
    TAction *PrintSchemAction, *PrintElementAction, *PreviewAction, *ListElementAction;
    TAction *CheckConnectivityAction, *FindAction, *ConfigAction;

    TMainMenu* MainMenu1;
    TMenuItem* N26;           // "Менеджер проекта"
    TMenuItem* ReopenProject; // "Открыть последний"
    TMenuItem* N72;           // "Статистика"
    TMenuItem *N13, *N14, *N15, *N16, *N19; // "Панели": the toolbars shown
    // The project files' commands (PopupMenu1) and a copy of "Панели" with
    // "Настроить" (PopupMenu2): the frame keeps them, no control shows them.
    TPopupMenu* PopupMenu1;
    TPopupMenu* PopupMenu2;

    TStatusBar* StatusBar;
    TOpenDialog* OpenDialog;
    TSaveDialog* SaveDialog1;
    TOpenDialog* OpenDialogPrj;
    TPrintDialog* PrintDialog1;
    // Stored values ("MWCol1Width", "MWCol2Width", "DoTextLogicFile",
    // "CheckSchemes", "SortBits", "SortDr", "CheckBit") and the recent projects.
    TFormStorage* FormS;
    TMRUManager* MRUMan;

    // Dock areas and toolbars.
    TDockEx* DockBarTop;
    TDockEx* DockBarLeft;
    TToolbarEx* ToolBar2; // "Работа с файлами"
    TToolbarEx* ToolBar3; // "Дополнительно"
    TToolbarEx* ToolBar5; // "Драйвера"
    TToolbarEx* ToolB;    // "Работа со схемой": the mode buttons
    TToolbarEx* ToolbarEx1; // "Примитивы": hidden, its four buttons do nothing
    TToolbarButtonEx *ToolbarButtonEx1, *ToolbarButtonEx3, *ToolbarButtonEx4;
    TToolbarButtonEx *ToolbarButtonEx5, *ToolbarButtonEx19, *ToolbarButtonEx29, *ToolbarButtonEx32;
    TToolbarButtonEx* ToolbarButtonEx27; // opens the timing diagram
    TToolbarButtonEx* ToolbarButtonEx26; // opens the debugger
    TCheckBox* DebuCheck;
    TImageList* ActionImageList;

    // The project pane: the project's files above the signal search results.
    TToolWindowEx* ManagerWindow;
    TPanel* ManagerToolbar;
    TListView* FileListBox;
    TSplitter* ManagerSplitter;
    TPanel* FindPanel;
    TLabel* FindSignalName;
    TListView* FindSignalListView;

    // ---- start-up and shut-down ------------------------------------------------------------
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void OnAppHint(TObject* Sender);
    void OnAppException(TObject* Sender, Exception* E);

    // ---- windows -------------------------------------------------------------------------------
    // Opens a scheme file in a new scheme window (a recovery copy ".tvt" as
    // an untitled document); null when no scheme window can be made. A file
    // that a window shows already is brought to the front there instead
    // (FindFileWindow), so that no two windows hold edits of one file.
    TForm* CreateMDIChild(const AnsiString& fileName);
    // Opens a state-machine file in a new state-machine window, or brings the
    // window that shows it to the front, as CreateMDIChild does.
    TForm* OpenFSMWindow(const AnsiString& fileName);
    // Opens the scheme of a CASE element in a CASE-forming window. A window
    // that shows the table's file already is brought to the front instead; a
    // CASE-forming window there forms this element's table from then on.
    bool OpenCaseWindow(TStrings* list, const AnsiString& baseName, TObject* element);
    // The active child as a scheme window / a state-machine window, or null.
    ISchemeChild* ActiveScheme() const;
    IFsmChild* ActiveFsm() const;
    // The active child of either kind: the scheme window first.
    IEditorChild* ActiveEditor() const;
    // Saves the document of that child window (asking for a name when it
    // has none); false when it was not written. Windows that close call it
    // with themselves.
    bool SaveWindow(TForm* child);
    bool SaveWindowAs(TForm* child);
    // Closes every child window, each asking about its document; false
    // (and the rest stays open) as soon as one stays open.
    bool CloseChildWindows();
    void SetPasteAvailable(bool available);
    void UpdateModeButtons(TSchemeMode mode);
    void N26Click(TObject* Sender);
    void ManagerWindowClose(TObject* Sender);
    void ManagerWindowVisibleChanged(TObject* Sender);
    // "Панели": show or hide ToolBar2, ToolB, nothing, ToolBar3, ToolBar5.
    void N13Click(TObject* Sender);
    void N14Click(TObject* Sender);
    void N15Click(TObject* Sender);
    void N16Click(TObject* Sender);
    void N19Click(TObject* Sender);
    void ShowProjectFiles(TProject* project);

    // ---- file, project, translation and print commands -----------------------------------------
    void FileNew1Execute(TObject* Sender);
    void FileOpen1Execute(TObject* Sender);
    void FileClose1Execute(TObject* Sender);
    void FileSave1Execute(TObject* Sender);
    void FileSaveAs1Execute(TObject* Sender);
    void FileExit1Execute(TObject* Sender);
    void NewProjectActionExecute(TObject* Sender);
    void OpenProjectActionExecute(TObject* Sender);
    void SaveProjectActionExecute(TObject* Sender);
    void CloseProjectActionExecute(TObject* Sender);
    // Closes the child windows and then the project (saving it); false when
    // a window stayed open, and then the project stays open too. A project
    // that cannot be written is closed only when the user agrees to lose it
    // (the question names the program's exit when exiting).
    bool CloseProject(bool exiting = false);
    void InsertFileActionExecute(TObject* Sender);
    void DeleteFileActionExecute(TObject* Sender);
    void ActivateFileProjectActionExecute(TObject* Sender);
    void OptionProjectActionExecute(TObject* Sender);
    void ExportActionExecute(TObject* Sender);
    void ShowErrorActionExecute(TObject* Sender);
    void PrintSchemActionExecute(TObject* Sender);
    void PrintElementActionExecute(TObject* Sender);
    // The print preview of the active scheme or state-machine window.
    void PreviewActionExecute(TObject* Sender);

    // ---- other frame commands -----------------------------------------------------------------
    void MRUManClick(TObject* Sender, const AnsiString& RecentName, const AnsiString& Caption, int UserData);
    void FileListBoxDblClick(TObject* Sender);
    void MoveFileUpExecute(TObject* Sender);
    void MoveFileDownExecute(TObject* Sender);
    void ExportSchemeActionExecute(TObject* Sender);
    // Translates the scheme of a CASE-forming window and checks its table on
    // the emulator: 65,536 output words into outputs. False when the check
    // did not run.
    bool ExportCase(TForm* window, std::vector<int32_t>* outputs);
    // Loads the project's (or, with DebuCheck, the active scheme's)
    // debugging copy and shows the debugger window.
    void ToolbarButtonEx26Click(TObject* Sender);
    // The same, then the timing diagram.
    void ToolbarButtonEx27Click(TObject* Sender);
    void N72Click(TObject* Sender);
    // "Настройка": the options, then the scheme in front repainted in them.
    void ConfigActionExecute(TObject* Sender);
    void TypeActionExecute(TObject* Sender);
    void HelpAbout1Execute(TObject* Sender);
    void HelpContenstActionExecute(TObject* Sender);
    void ShowFileExportActionExecute(TObject* Sender);

    // ---- enabling rules (OnUpdate; the others are in the action table) --------------------------
    void PasteActionUpdate(TObject* Sender);
    void UndoActionUpdate(TObject* Sender);
    void AllZoomUpdate(TObject* Sender);
    void MoveFileUpUpdate(TObject* Sender);
    void MoveFileDownUpdate(TObject* Sender);

    // ---- cross-scheme services ----------------------------------------------------------------
    bool ActivateSchemeWindow(const AnsiString& name);
    AnsiString AskFileName(const AnsiString& proposed);
    void CheckFSMPins(const AnsiString& unused, TStrings* inputs, TStrings* outputs);
    bool ListProjectFiles(const AnsiString& unused, TStrings* list);
    bool ListSchemeElements(const AnsiString& schemeName, TStrings* list);
    // A jump's target during translation. An empty target becomes the first
    // element of the target scheme in processing order. A named target is
    // looked up in the target scheme too: the translation library finds a
    // jump's target by name among all later blocks of the program, so a name
    // missing from its own scheme would otherwise jump into another scheme
    // that has an element of that name. Every failure goes to the translator's
    // log as a counted error rather than into a message box, so that the
    // translation that asked ends as failed and the text stays in its log.
    // True when a message was logged.
    bool ResolveGotoTarget(const AnsiString& sourceFile, const AnsiString& targetScheme, int unused,
                           const AnsiString& jumpName, AnsiString& targetElement);
    // A file beside the project (beside the current folder without one). An
    // absolute name is returned as it is: it already names its file, and
    // putting a folder before it would name a file that does not exist.
    AnsiString MakeProjectPath(const AnsiString& name);
    // The child window of either kind whose document is the file (the same
    // file however its path is written: relative or absolute, through "..",
    // or a link), without bringing it forward; null when none shows it.
    // Every way of opening a file asks it first, so that no two windows hold
    // edits of one file and one window's save never undoes the other's.
    TForm* FindFileWindow(const AnsiString& fileName) const;
    // That window brought to the front; null when none shows the file.
    TForm* ShowFileWindow(const AnsiString& fileName);
    // Brings the child window to the front, back from minimized or hidden.
    static void BringBack(TForm* window);
    // The scheme window of a scheme named by its full or bare file name,
    // without bringing it forward; null when none shows it. A full name is
    // found as FindFileWindow finds it. A bare name stands for the project's
    // file of that name (the project's schemes are known by their bare names);
    // a name that the project does not hold, or without a project, for the
    // first window in child order whose document has that bare name.
    ISchemeChild* FindSchemeWindow(const AnsiString& name) const;
    // The window of a scheme named by its bare (or full) file name: an open
    // one brought to the front, else the project's file of that name opened;
    // null (nothing opened) when neither exists.
    ISchemeChild* ShowSchemeWindow(const AnsiString& name);

    // ---- signal search -------------------------------------------------------------------------
    // F3: asks for a signal and lists the schemes and devices that use it.
    // The search over the open windows names each scheme by its document's
    // bare file name, also when the project does not list it (or no project
    // is open): a row with an empty scheme column would not say where the
    // signal is, and a double click on it could open nothing.
    void FindActionExecute(TObject* Sender);
    // Opens the scheme of the chosen result and centres its view on the device.
    void FindSignalListViewDblClick(TObject* Sender);

    // ---- chains across schemes ---------------------------------------------------------------
    // "Соединения": the chains of the open schemes in the chain dialog.
    void CheckConnectivityActionExecute(TObject* Sender);
    // The chain dialog's walks. The walks over the project cover the open
    // windows when no project is open.
    void HighlightChainInOpenSchemes(const AnsiString& chain, const AnsiString& scheme, bool normal) override;
    void FindChainInProject(const AnsiString& chain, const AnsiString& scheme) override;
    void ListChainMembersInScheme(TStrings* elements, TStrings* outputs, const AnsiString& scheme,
                                  const AnsiString& chain) override;
    void SearchSignalInProject(const AnsiString& scheme, const AnsiString& chain,
                               const TNeighboursFound& found) override;
    void SelectElementInScheme(const AnsiString& scheme, const AnsiString& name, bool device) override;

    // ---- the scheme window's services ------------------------------------------------------------
    // How a single-scheme translation ended: not run (no project, or an
    // untitled scheme the user did not save), or run with or without errors.
    enum class TSchemeRun { NotRun, Failed, Succeeded };
    // Translates one scheme on its own for debugging. Its files are named
    // after the scheme: an untitled one is saved first, if the user agrees.
    TSchemeRun TranslateScheme(TScheme* scheme, bool caseRun = false);
    // "Проверить схему": translates the scheme and hands its debugging data to
    // the signature analysis.
    void CheckScheme(TScheme* scheme);

private:
    void CreateActions();
    void CreateMenus();
    void CreatePane();
    void CreateToolbars();
    void CreateStorage();
    void AddRecentProject(const AnsiString& fileName);
    // The child window showing that scheme document; null when none does.
    TForm* WindowOfScheme(TScheme* scheme);
    // Whether the scheme has a base name for its work files, after offering
    // to save an untitled one.
    bool NameSchemeForTranslation(TScheme* scheme);
    // Asks for the name to save a document under; "" when cancelled or
    // nothing is left of the chosen name.
    AnsiString AskSaveName(bool fsm);
    // Reads a project file and makes it the open project, closing the one
    // open before. A file refused as a project changes nothing; false then,
    // and when the open project stayed open.
    bool LoadProject(const AnsiString& fileName);
    // Makes the project the open one and enables the project commands.
    void InstallProject(std::unique_ptr<TProject> project);
    // Writes the open project at once (its own save reports a failure).
    bool WriteProject();
    // Writes the open project after a change of its list. A project that
    // cannot be written says so once: the changes that follow are kept
    // unsaved without a word, until a write succeeds.
    void WriteChangedList();
    // The frame's caption names the open project.
    void UpdateCaption();
    // A file dialog starts in the open project's folder.
    void StartInProjectFolder(TOpenDialog* dialog);
    // Says that no window of that kind can be made for the file; true when
    // one can.
    bool CanMakeWindow(bool registered, const AnsiString& kind, const AnsiString& fileName);
    void OpenFileByKind(const AnsiString& fileName, bool recoveryToo);
    TForm* OpenSchemeWindow(const AnsiString& fileName, bool recovery);
    // The active scheme window's document, or null after the warning that
    // there is none (F8 and the CASE-forming window).
    TScheme* ActiveSchemeToTranslate();
    // The debugger's pairs of files: the file a translation leaves (whose
    // existence counts) and the debugging copy the emulator loads. A
    // project's are its data file and "Debu" + it; a scheme's is the copy
    // its own run wrote, both times.
    struct TDebugFiles {
        AnsiString Data;
        AnsiString Copy;
        bool Exist() const;
    };
    TDebugFiles ProjectDebugFiles() const;
    TDebugFiles SchemeDebugFiles(TScheme* scheme) const;
    void OpenDebugFiles(const TDebugFiles& files, bool force);
    // The debug buttons' common part: the pair loaded, or false after the
    // warning (the two buttons word the missing files differently).
    bool StartDebugging(const char* noSchemeFiles, const char* noProjectFiles);
    // The pages (1-based child numbers) chosen in the print dialog; false
    // when it was cancelled.
    bool AskPrintRange(int& from, int& to, int& copies);
    void StoreColumnWidths();
    // Which editor wrote "clip.brd" (read again only when the file changed).
    int ClipboardWriter();

    // The signal search's result rows of one document.
    void AddSignalRows(const AnsiString& scheme, TScheme* doc, const AnsiString& signal);
    void FindInOpenWindows(const AnsiString& signal);
    void FindInProject(const AnsiString& signal);
    // The schemes a walk over the project visits: the project's files, or
    // the files of the open windows without a project.
    std::vector<AnsiString> WalkedSchemes() const;

    class ModelServices;
    class TranslatorFrame;
    class FsmFrameServices;
    class SchemeServices;
    std::unique_ptr<ModelServices> modelServices_;
    std::unique_ptr<TranslatorFrame> translatorFrame_;
    std::unique_ptr<FsmFrameServices> fsmFrame_;
    std::unique_ptr<SchemeServices> schemeServices_;
    // The element property dialogs, installed in the model's hooks.
    std::unique_ptr<IPropertyDialogs> propertyDialogs_;
    bool pasteAvailable_ = false;
    // The open project's file loaded only in part: closing writes its sound
    // part over it only when the project was changed or saved on purpose.
    bool projectDamaged_ = false;
    // While set, changes of the project's list are not written one by one
    // (the properties dialog replaces the list entry by entry).
    bool holdProjectWrites_ = false;
    // The last write of the open project failed and the user was told.
    bool projectRefusalTold_ = false;
    struct ClipCache;
    std::unique_ptr<ClipCache> clip_;
};

extern TMainForm* MainForm;
