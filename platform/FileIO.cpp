#include "platform/FileIO.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::filesystem::path ToFsPath(const AnsiString& name) {
    std::string utf8 = AnsiToUtf8(name);
    for (char& c : utf8)
        if (c == '\\') c = '/';
    return std::filesystem::path(std::move(utf8));
}

AnsiString FromFsPath(const std::filesystem::path& path) { return Utf8ToAnsi(path.string()); }

bool ReadWholeFile(const AnsiString& name, std::string& bytes) {
    std::error_code ec;
    auto p = ToFsPath(name);
    if (std::filesystem::is_directory(p, ec)) return false;
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    bytes = std::move(data);
    return true;
}

// Writing through a symbolic link writes the file the link names, also when
// that file is not there yet (a dangling link): the link stays as the user
// made it and the content lands where it points. Replacing the link with a
// plain file instead would lose the link, and the place it names would never
// get the content; following it loses nothing. A chain of links is followed
// link by link, each relative one read from its own folder. A circle names
// no file: after as many steps as the system itself follows the answer is
// empty, and a write fails as the system's own would, instead of putting a
// plain file in place of one of the links.
std::filesystem::path LinkedFile(std::filesystem::path path) {
    for (int steps = 0; steps < 40; ++steps) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) return path;
        std::filesystem::path next = std::filesystem::read_symlink(path, ec);
        if (ec) return path;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return {};
}

bool WriteFileAtomic(const AnsiString& name, const std::string& bytes) {
    std::error_code ec;
    const auto target = LinkedFile(ToFsPath(name));
    if (target.empty()) {
        errno = ELOOP;
        return false;
    }
    mode_t mode = 0666;
    struct stat st;
    bool existed = ::stat(target.c_str(), &st) == 0;
    // A read-only file is kept as it is: the rename needs only the folder's
    // permission, and would put a new file in its place.
    if (existed && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0) {
        errno = EACCES;
        return false;
    }
    if (existed) mode = st.st_mode & 07777;
    auto tmp = target;
    tmp += ".tmp~" + std::to_string(::getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += std::size_t(n);
    }
    if (ok && existed) ::fchmod(fd, mode); // the umask must not narrow an existing file's rights
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) {
        int saved = errno;
        std::filesystem::remove(tmp, ec);
        errno = saved; // callers may report why
    }
    return ok;
}

AnsiString CannotCreateFileText(const AnsiString& name) { return "Не могу создать файл!\n"_a + name; }

FileStamp StampOf(const AnsiString& name) {
    FileStamp s;
    struct stat st;
    if (::stat(ToFsPath(name).c_str(), &st) != 0) return s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}
