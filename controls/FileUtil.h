#pragma once
// File and folder routines of the component library: folder names with and
// without their closing separator, file-name validation, copying and moving
// with progress, deleting by mask, clearing folders, long and short names,
// byte-range locks and the folder-selection dialog.
//
// Names are program paths (Windows-1251, '/' or '\' between folders). This
// system has no drive letters, no 8.3 short names and no shell shortcuts: a
// file's short name is its name.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Classes.h"
#include "platform/DateTime.h"
#include "platform/FileUtils.h"

// The name with one closing separator: unchanged when empty or ending in
// '/', '\' or ':'; otherwise '/' is appended.
AnsiString NormalDir(const AnsiString& dirName);
// One closing separator removed, except from a one-character name and from a
// drive root ("C:\").
AnsiString RemoveBackSlash(const AnsiString& dirName);
bool DirExists(const AnsiString& name);

// Progress of a copy: the size of the source and the bytes copied so far;
// (size, 0) before the first block and again at the end.
using TCopyProgress = std::function<void(std::int64_t size, std::int64_t copied)>;

// Copies a file. A destination that is an existing folder receives the file
// under its own name. The copy is written beside the target under a
// temporary name and renamed into place, so a copy that fails leaves no
// partial target and an existing target as it was. The target's folder is
// created when missing and the target takes the source's date.
// Errors: EFOpenError "Cannot open file <source>", EFCreateError "Cannot
// create file <target>" (also for a read-only target unless overwriteReadOnly),
// EReadError "Stream read error", EWriteError "Stream write error".
void CopyFile(const AnsiString& fileName, const AnsiString& destName, const TCopyProgress& progress = nullptr);
// With shellDialog the copy is the desktop's file operation: it asks before
// replacing a target (unless overwriteReadOnly) and ends silently (EAbort)
// when it fails or the user cancels.
void CopyFileEx(const AnsiString& fileName, const AnsiString& destName, bool overwriteReadOnly, bool shellDialog,
                const TCopyProgress& progress = nullptr);
// Renames the file; across file systems it is copied and the source deleted.
void MoveFile(const AnsiString& fileName, const AnsiString& destName);
// With shellDialog the desktop's file operation moves the file (renames it
// within its folder) without questions, and ends silently (EAbort) when it fails.
void MoveFileEx(const AnsiString& fileName, const AnsiString& destName, bool shellDialog);

// The size of the first file matching the name (a mask may be given); -1 when
// nothing matches or the match is a folder.
std::int64_t GetFileSize(const AnsiString& fileName);
// The modification time; 0 when the file does not exist.
TDateTime FileDateTime(const AnsiString& fileName);
// The attributes could be read and hold every bit of attr.
bool HasAttr(const AnsiString& fileName, int attr);
// Deletes every file matching the mask (never a folder or a name beginning
// with '.'); stops at the first failure. False when nothing matched or a
// deletion failed.
bool DeleteFiles(const AnsiString& fileMask);
// DeleteFiles for each mask while all so far succeeded.
bool DeleteFilesEx(const std::vector<AnsiString>& fileMasks);
// Deletes the files of a folder and, recursively, of its subfolders; with del
// the emptied folders are removed too. A link inside the folder is removed
// as a link: the folder it points to is never entered. Hidden files are
// files like any other. False when path is not a folder or anything could
// not be removed.
bool ClearDir(const AnsiString& path, bool del);
// The folder for temporary files, with its closing separator.
AnsiString GetTempDir();
// Not empty and none of < > " [ ] |.
bool ValidFileName(const AnsiString& fileName);

// Byte-range locks on an open file descriptor: 0 or the system error number.
int FileLock(int handle, std::int32_t offset, std::int32_t lockSize);
int FileUnlock(int handle, std::int32_t offset, std::int32_t lockSize);
int FileLock64(int handle, std::int64_t offset, std::int64_t lockSize);
int FileUnlock64(int handle, std::int64_t offset, std::int64_t lockSize);

// The name of the last component of the first match, empty when nothing
// matches. Long and short names are the same here.
AnsiString ShortToLongFileName(const AnsiString& shortName);
AnsiString LongToShortFileName(const AnsiString& longName);
// Every component converted that way; a component that does not exist gives
// an empty name. The part before the first separator stays as it is.
AnsiString ShortToLongPath(const AnsiString& shortName);
AnsiString LongToShortPath(const AnsiString& longName);

enum TFileOperation { foCopy, foDelete, foMove, foRename };
enum TFileOperFlag {
    flAllowUndo, flConfirmMouse, flFilesOnly, flMultiDest, flNoConfirmation, flNoConfirmMkDir, flRenameOnCollision,
    flSilent, flSimpleProgress, flNoErrorUI,
};
using TFileOperFlags = unsigned; // a set: bit (1 << flag)
constexpr TFileOperFlags FileOperFlag(TFileOperFlag f) { return 1u << f; }

// The desktop's file operation as a component (platform/FileOperation.h
// tells what each option does). Source and Destination hold names separated
// by ';' or '|'.
class TExFileOperator : public TComponent {
public:
    explicit TExFileOperator(TComponent* owner) : TComponent(owner) {}
    TFileOperation Operation = foCopy;
    TFileOperFlags Options = FileOperFlag(flAllowUndo) | FileOperFlag(flNoConfirmMkDir);
    AnsiString Source;
    AnsiString Destination;
    AnsiString ProgressTitle;
    // Whether the last Execute was cancelled by the user part way.
    bool Aborted() const { return aborted_; }
    // True when every step succeeded (or the user cancelled: see Aborted).
    bool Execute();

private:
    bool aborted_ = false;
};

// The folder-selection dialog (a TBrowseFolderDlg for folders, in the middle
// of the screen); on success folderName is the chosen folder without a
// closing separator.
bool BrowseDirectory(AnsiString& folderName, const AnsiString& dialogText, int helpContext);

enum TBrowseKind { bfFolders, bfComputers };
enum TDialogPosition { dpDefault, dpScreenCenter };

// The folder-selection dialog as a component (through the user-interface
// port). It starts at FolderName when that folder exists, shows DialogText,
// a help button for a HelpContext other than 0, and enables OK only while the
// selection is an existing folder. OnSelChanged fires on every change of the
// selection (the starting one included), OnInitialized once the dialog is
// up. Only folders can be browsed here (there is no network neighbourhood):
// Execute of bfComputers answers false.
class TBrowseFolderDlg : public TComponent {
public:
    explicit TBrowseFolderDlg(TComponent* owner) : TComponent(owner) {}
    TBrowseKind BrowseKind = bfFolders;
    bool DesktopRoot = true;
    AnsiString DialogText;
    AnsiString FolderName;
    int HelpContext = 0;
    TDialogPosition Position = dpScreenCenter;
    TNotifyEvent OnInitialized;
    TNotifyEvent OnSelChanged;
    // False when cancelled; FolderName is then unchanged.
    bool Execute();

private:
    AnsiString selection_; // the selected folder while the dialog is open; empty when OK is off
};
