#include "platform/FileUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileIO.h"

namespace fs = std::filesystem;

namespace {

bool StatOf(const AnsiString& name, struct stat& st) {
    return !name.IsEmpty() && ::stat(ToFsPath(name).c_str(), &st) == 0;
}

} // namespace

bool FileExists(const AnsiString& name) {
    struct stat st;
    return StatOf(name, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const AnsiString& name) {
    struct stat st;
    return StatOf(name, st) && S_ISDIR(st.st_mode);
}

bool DeleteFile(const AnsiString& name) {
    return FileExists(name) && ::unlink(ToFsPath(name).c_str()) == 0;
}

bool RenameFile(const AnsiString& oldName, const AnsiString& newName) {
    if (oldName.IsEmpty() || newName.IsEmpty()) return false;
    auto from = ToFsPath(oldName), to = ToFsPath(newName);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace rename: test first.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool CreateDir(const AnsiString& dir) { return !dir.IsEmpty() && ::mkdir(ToFsPath(dir).c_str(), 0777) == 0; }

bool RemoveDir(const AnsiString& dir) { return !dir.IsEmpty() && ::rmdir(ToFsPath(dir).c_str()) == 0; }

bool ForceDirectories(const AnsiString& dir) {
    if (dir.IsEmpty()) return false;
    std::error_code ec;
    fs::create_directories(ToFsPath(dir), ec);
    return DirectoryExists(dir);
}

AnsiString ExpandFileName(const AnsiString& name) {
    if (name.IsEmpty()) return name;
    std::string s = ToFsPath(name).string();
    std::string base;
    if (s[0] != '/') {
        std::error_code ec;
        base = fs::current_path(ec).string();
    }
    bool trailing = s.back() == '/';
    std::vector<std::string> parts;
    auto take = [&parts](const std::string& path) {
        std::size_t pos = 0;
        while (pos <= path.size()) {
            std::size_t end = path.find('/', pos);
            if (end == std::string::npos) end = path.size();
            std::string part = path.substr(pos, end - pos);
            if (part == "..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            pos = end + 1;
        }
    };
    take(base);
    take(s);
    std::string out;
    for (const std::string& p : parts) out += "/" + p;
    if (out.empty() || trailing) out += "/";
    return FromFsPath(out);
}

bool SameFile(const AnsiString& a, const AnsiString& b) {
    if (a.IsEmpty() || b.IsEmpty()) return false;
    struct stat sa, sb;
    if (StatOf(a, sa) && StatOf(b, sb)) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return ExpandFileName(a) == ExpandFileName(b);
}

AnsiString GetCurrentDir() {
    std::error_code ec;
    return FromFsPath(fs::current_path(ec));
}

bool SetCurrentDir(const AnsiString& dir) { return !dir.IsEmpty() && ::chdir(ToFsPath(dir).c_str()) == 0; }

bool FileAge(const AnsiString& name, TDateTime& age) {
    struct stat st;
    if (!StatOf(name, st)) return false;
    age = DateTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    return true;
}

bool FileSetDate(const AnsiString& name, TDateTime age) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = DateTimeToUnix(age);
    times[1].tv_nsec = 0;
    return !name.IsEmpty() && ::utimensat(AT_FDCWD, ToFsPath(name).c_str(), times, 0) == 0;
}

int FileGetAttr(const AnsiString& name) {
    struct stat st;
    if (!StatOf(name, st)) return -1;
    int attr = 0;
    if (S_ISDIR(st.st_mode)) attr |= faDirectory;
    else if (!S_ISREG(st.st_mode)) attr |= faSysFile;
    if ((st.st_mode & 0222) == 0) attr |= faReadOnly;
    AnsiString bare = ToFsPath(name).filename().string();
    if (bare.Length() > 0 && bare[1] == '.' && bare != "." && bare != "..") attr |= faHidden;
    return attr;
}

int FileSetAttr(const AnsiString& name, int attr) {
    struct stat st;
    if (!StatOf(name, st)) return errno ? errno : ENOENT;
    mode_t mode = st.st_mode & 07777;
    if (attr & faReadOnly) mode &= ~mode_t(0222);
    else if ((mode & 0222) == 0) mode |= S_IWUSR;
    return ::chmod(ToFsPath(name).c_str(), mode) == 0 ? 0 : errno;
}

std::int64_t FileSizeOf(const AnsiString& name) {
    struct stat st;
    return StatOf(name, st) && !S_ISDIR(st.st_mode) ? std::int64_t(st.st_size) : -1;
}

AnsiString SysErrorMessage(int error) {
    switch (error) {
    case ENOENT: return "The system cannot find the file specified";
    case ENOTDIR: return "The system cannot find the path specified";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return "Access is denied";
    case ENOSPC: return "There is not enough space on the disk";
    case EEXIST: return "The file exists";
    case ENAMETOOLONG: return "The filename or extension is too long";
    case EMFILE:
    case ENFILE: return "The system cannot open the file";
    case EBUSY:
    case ETXTBSY: return "The process cannot access the file because it is being used by another process";
    case EIO: return "The request could not be performed because of an I/O device error";
    default: break;
    }
    // The system's text in the C locale, so that it reads the same whatever
    // language the desktop speaks.
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    const char* text = c ? ::strerror_l(error, c) : nullptr;
    return text && *text ? AnsiString(text) : "System error " + IntToStr(error);
}

int GetLastError() { return errno; }

void SetLastError(int error) { errno = error; }
