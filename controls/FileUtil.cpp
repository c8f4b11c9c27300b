#include "controls/FileUtil.h"

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileIO.h"
#include "platform/FileOperation.h"
#include "platform/FileNames.h"
#include "platform/UiPort.h"
#include "platform/FindFile.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCopyBlock = 8192;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Closes a descriptor when it goes out of scope.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

// Removes the temporary copy unless it was renamed into place.
struct TempFile {
    fs::path path;
    bool keep = false;
    ~TempFile() {
        if (!path.empty() && !keep) {
            std::error_code ec;
            fs::remove(path, ec);
        }
    }
};

int LockRange(int handle, std::int64_t offset, std::int64_t size, short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = offset;
    fl.l_len = size;
    return ::fcntl(handle, F_SETLK, &fl) == 0 ? 0 : errno;
}

// The name of the first entry matching the name, or "".
AnsiString FirstMatchName(const AnsiString& name) {
    TSearchRec sr;
    AnsiString result;
    if (FindFirst(name, faAnyFile, sr) == 0) result = sr.Name;
    FindClose(sr);
    return result;
}

AnsiString ConvertPath(const AnsiString& name) {
    std::string s = name.str();
    std::size_t first = s.find_first_of("/\\");
    if (first == std::string::npos) return name;
    AnsiString result;
    // Each component after the first separator, named by its whole prefix.
    std::size_t pos = first;
    while (pos < s.size()) {
        std::size_t next = s.find_first_of("/\\", pos + 1);
        std::size_t end = next == std::string::npos ? s.size() : next;
        if (end > pos + 1) result += "/" + FirstMatchName(AnsiString(s.substr(0, end)));
        pos = end;
    }
    return AnsiString(s.substr(0, first)) + result;
}

} // namespace

AnsiString NormalDir(const AnsiString& dirName) {
    if (dirName.IsEmpty()) return dirName;
    char last = dirName[dirName.Length()];
    if (IsSeparator(last) || last == ':') return dirName;
    return dirName + "/";
}

AnsiString RemoveBackSlash(const AnsiString& dirName) {
    int n = dirName.Length();
    if (n <= 1 || !IsSeparator(dirName[n])) return dirName;
    if (n == 3 && dirName[2] == ':') return dirName; // a drive root
    return dirName.SubString(1, n - 1);
}

bool DirExists(const AnsiString& name) { return DirectoryExists(name); }

namespace {

// The copy or move through the desktop's file operation; a failure or the
// user's cancelling ends the caller silently.
void ShellTransfer(const AnsiString& fileName, const AnsiString& destName, bool move, bool noConfirmation) {
    TExFileOperator op(nullptr);
    op.Source = fileName;
    op.Destination = destName;
    if (!move) op.Operation = foCopy;
    else op.Operation = SameText(ExtractFilePath(fileName), ExtractFilePath(destName)) ? foRename : foMove;
    op.Options &= ~FileOperFlag(flAllowUndo);
    if (noConfirmation) op.Options |= FileOperFlag(flNoConfirmation);
    if (!op.Execute() || op.Aborted()) Abort();
}

} // namespace

void CopyFileEx(const AnsiString& fileName, const AnsiString& destName, bool overwriteReadOnly, bool shellDialog,
                const TCopyProgress& progress) {
    if (shellDialog) {
        ShellTransfer(fileName, destName, false, overwriteReadOnly);
        return;
    }
    AnsiString target = destName;
    if (DirectoryExists(destName)) target = NormalDir(destName) + ExtractFileName(fileName);

    Fd source;
    source.fd = ::open(ToFsPath(fileName).c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (source.fd < 0 || ::fstat(source.fd, &st) != 0 || S_ISDIR(st.st_mode))
        throw EFOpenError("Cannot open file " + fileName);
    std::int64_t size = st.st_size;
    if (progress) progress(size, 0);

    AnsiString folder = ExtractFilePath(target);
    if (!folder.IsEmpty()) ForceDirectories(folder);
    if (FileExists(target) && (FileGetAttr(target) & faReadOnly) && !overwriteReadOnly)
        throw EFCreateError("Cannot create file " + target);

    fs::path finalPath = LinkedFile(ToFsPath(target));
    if (finalPath.empty()) throw EFCreateError("Cannot create file " + target);
    TempFile temp;
    std::string pattern = (finalPath.parent_path() / ("." + finalPath.filename().string() + ".XXXXXX")).string();
    Fd dest;
    dest.fd = ::mkstemp(pattern.data());
    if (dest.fd < 0) throw EFCreateError("Cannot create file " + target);
    temp.path = pattern;
    ::fchmod(dest.fd, st.st_mode & 0777);

    char buffer[kCopyBlock];
    std::int64_t copied = 0;
    for (;;) {
        ssize_t got = ::read(source.fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw EReadError("Stream read error");
        }
        for (ssize_t done = 0; done < got;) {
            ssize_t put = ::write(dest.fd, buffer + done, std::size_t(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) throw EWriteError("Stream write error");
            done += put;
        }
        copied += got;
        if (progress) progress(size, copied);
        if (got < ssize_t(sizeof buffer)) break;
    }
    // The copy takes the source's modification time, to the nanosecond.
    struct timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
    ::futimens(dest.fd, times);
    if (::fsync(dest.fd) != 0 || ::close(dest.fd) != 0) {
        dest.fd = -1;
        throw EWriteError("Stream write error");
    }
    dest.fd = -1;
    std::error_code ec;
    fs::rename(temp.path, finalPath, ec);
    if (ec) throw EFCreateError("Cannot create file " + target);
    temp.keep = true;
    if (progress) progress(size, 0);
}

void CopyFile(const AnsiString& fileName, const AnsiString& destName, const TCopyProgress& progress) {
    CopyFileEx(fileName, destName, false, false, progress);
}

void MoveFile(const AnsiString& fileName, const AnsiString& destName) {
    AnsiString target = ExpandFileName(destName);
    if (RenameFile(fileName, target)) return;
    int attr = FileGetAttr(fileName);
    if (attr < 0) return;
    if (attr & faReadOnly) FileSetAttr(fileName, attr & ~faReadOnly);
    CopyFile(fileName, target);
    DeleteFile(fileName);
}

void MoveFileEx(const AnsiString& fileName, const AnsiString& destName, bool shellDialog) {
    if (shellDialog) ShellTransfer(fileName, destName, true, true);
    else MoveFile(fileName, destName);
}

std::int64_t GetFileSize(const AnsiString& fileName) {
    TSearchRec sr;
    std::int64_t result = -1;
    if (FindFirst(fileName, faAnyFile, sr) == 0 && !(sr.Attr & faDirectory)) result = sr.Size;
    FindClose(sr);
    return result;
}

TDateTime FileDateTime(const AnsiString& fileName) {
    TDateTime age = 0;
    if (!FileExists(fileName) || !FileAge(fileName, age)) return 0;
    return age;
}

bool HasAttr(const AnsiString& fileName, int attr) {
    int a = FileGetAttr(fileName);
    return a >= 0 && (a & attr) == attr;
}

bool DeleteFiles(const AnsiString& fileMask) {
    AnsiString mask = ExpandFileName(fileMask);
    AnsiString folder = ExtractFilePath(mask);
    TSearchRec sr;
    // Anything that matches counts, also what is never deleted (folders,
    // names beginning with '.'): only an empty match is a failure.
    int r = FindFirst(mask, faAnyFile, sr);
    const bool any = r == 0;
    bool ok = true;
    for (; r == 0 && ok; r = FindNext(sr)) {
        if (sr.Name.IsEmpty() || sr.Name[1] == '.' || (sr.Attr & (faDirectory | faVolumeID))) continue;
        ok = DeleteFile(folder + sr.Name);
    }
    FindClose(sr);
    return any && ok;
}

bool DeleteFilesEx(const std::vector<AnsiString>& fileMasks) {
    for (const AnsiString& m : fileMasks)
        if (!DeleteFiles(m)) return false;
    return true;
}

bool ClearDir(const AnsiString& path, bool del) {
    if (!DirectoryExists(path)) return false;
    bool ok = true;
    std::error_code ec;
    fs::directory_iterator it(ToFsPath(path), ec);
    if (ec) return false;
    std::vector<fs::directory_entry> entries(it, fs::directory_iterator());
    for (const fs::directory_entry& entry : entries) {
        std::error_code e;
        // symlink_status: a link is removed itself and never followed.
        if (fs::is_directory(entry.symlink_status(e))) {
            ok = ClearDir(FromFsPath(entry.path()), del) && ok;
        } else {
            ok = fs::remove(entry.path(), e) && !e && ok;
        }
    }
    if (del && ok) {
        AnsiString bare = RemoveBackSlash(path);
        bool driveOrRoot = (bare.Length() == 2 && bare[2] == ':') || bare == "/";
        if (!driveOrRoot) ok = RemoveDir(bare);
    }
    return ok;
}

AnsiString GetTempDir() {
    std::error_code ec;
    fs::path p = fs::temp_directory_path(ec);
    if (ec) p = "/tmp";
    return NormalDir(FromFsPath(p));
}

bool ValidFileName(const AnsiString& fileName) {
    if (fileName.IsEmpty()) return false;
    for (char c : fileName.str())
        if (c == '<' || c == '>' || c == '"' || c == '[' || c == ']' || c == '|') return false;
    return true;
}

int FileLock(int handle, std::int32_t offset, std::int32_t lockSize) {
    return LockRange(handle, std::uint32_t(offset), std::uint32_t(lockSize), F_WRLCK);
}
int FileUnlock(int handle, std::int32_t offset, std::int32_t lockSize) {
    return LockRange(handle, std::uint32_t(offset), std::uint32_t(lockSize), F_UNLCK);
}
int FileLock64(int handle, std::int64_t offset, std::int64_t lockSize) {
    return LockRange(handle, offset, lockSize, F_WRLCK);
}
int FileUnlock64(int handle, std::int64_t offset, std::int64_t lockSize) {
    return LockRange(handle, offset, lockSize, F_UNLCK);
}

AnsiString ShortToLongFileName(const AnsiString& shortName) { return FirstMatchName(shortName); }
AnsiString LongToShortFileName(const AnsiString& longName) { return FirstMatchName(longName); }
AnsiString ShortToLongPath(const AnsiString& shortName) { return ConvertPath(shortName); }
AnsiString LongToShortPath(const AnsiString& longName) { return ConvertPath(longName); }

bool BrowseDirectory(AnsiString& folderName, const AnsiString& dialogText, int helpContext) {
    TBrowseFolderDlg dialog(nullptr);
    dialog.BrowseKind = bfFolders;
    dialog.DesktopRoot = true;
    dialog.Position = dpScreenCenter;
    dialog.FolderName = folderName;
    dialog.DialogText = dialogText;
    dialog.HelpContext = helpContext;
    if (!dialog.Execute()) return false;
    folderName = dialog.FolderName;
    return true;
}

bool TBrowseFolderDlg::Execute() {
    if (BrowseKind != bfFolders) return false;
    FolderDialogRequest request;
    request.Title = DialogText;
    request.HelpContext = HelpContext;
    request.ScreenCenter = Position == dpScreenCenter;
    // The dialog starts at the folder only when it exists.
    if (DirExists(FolderName)) request.Folder = FolderName;
    request.OnSelChanged = [this](const AnsiString& path) {
        selection_ = path;
        // OK only for a folder that exists.
        const bool enabled = !path.IsEmpty() && DirExists(path);
        if (!enabled) selection_ = AnsiString();
        if (OnSelChanged) OnSelChanged(this);
        return enabled;
    };
    request.OnInitialized = [this] {
        if (OnInitialized) OnInitialized(this);
    };
    if (!UiPort().FolderDialog(request)) return false;
    FolderName = RemoveBackSlash(request.Folder);
    return true;
}

// ---- TExFileOperator ----------------------------------------------------------------------

namespace {

// The list form of the file operation: every ';' and '|' ends a name, and a
// second zero ends the list; an empty text is no list.
std::string OperationList(const AnsiString& names) {
    if (names.IsEmpty()) return std::string();
    std::string list = names.str();
    for (char& c : list)
        if (c == ';' || c == '|') c = '\0';
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

} // namespace

bool TExFileOperator::Execute() {
    static const unsigned codes[] = {FO_COPY, FO_DELETE, FO_MOVE, FO_RENAME};
    static const unsigned flags[] = {FOF_ALLOWUNDO,        FOF_CONFIRMMOUSE,  FOF_FILESONLY,      FOF_MULTIDESTFILES,
                                     FOF_NOCONFIRMATION,   FOF_NOCONFIRMMKDIR, FOF_RENAMEONCOLLISION, FOF_SILENT,
                                     FOF_SIMPLEPROGRESS,   FOF_NOERRORUI};
    TSHFileOpStruct op;
    op.wFunc = codes[Operation];
    op.pFrom = OperationList(Source);
    op.pTo = OperationList(Destination);
    for (int f = flAllowUndo; f <= flNoErrorUI; ++f)
        if (Options & FileOperFlag(TFileOperFlag(f))) op.fFlags |= flags[f];
    op.lpszProgressTitle = ProgressTitle;
    const bool ok = SHFileOperation(op) == 0;
    aborted_ = op.fAnyOperationsAborted;
    return ok;
}
