#include "platform/FileStream.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileIO.h"
#include "platform/FileUtils.h"

TFileStream::TFileStream(const AnsiString& fileName, unsigned mode) : fileName_(fileName) {
    bool create = (mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) flags |= O_RDWR | O_CREAT | O_TRUNC;
    else if ((mode & 3) == fmOpenWrite) flags |= O_WRONLY;
    else if ((mode & 3) == fmOpenReadWrite) flags |= O_RDWR;
    else flags |= O_RDONLY;
    int err = 0;
    if (fileName.IsEmpty()) err = ENOENT;
    else if ((fd_ = ::open(ToFsPath(fileName).c_str(), flags, 0666)) < 0) err = errno;
    else {
        // A folder opens for reading on this system, but it is not a file.
        struct stat st;
        if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) err = EISDIR;
    }
    if (err) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        AnsiString text = "\"" + fileName + "\". " + SysErrorMessage(err);
        if (create) throw EFCreateError("Cannot create file " + text);
        throw EFOpenError("Cannot open file " + text);
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int TFileStream::Read(void* buffer, int count) {
    int done = 0;
    while (done < count) {
        ssize_t n = ::read(fd_, static_cast<char*>(buffer) + done, std::size_t(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += int(n);
    }
    return done;
}

int TFileStream::Write(const void* buffer, int count) {
    int done = 0;
    while (done < count) {
        ssize_t n = ::write(fd_, static_cast<const char*>(buffer) + done, std::size_t(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += int(n);
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, int origin) {
    int whence = origin == soFromCurrent ? SEEK_CUR : origin == soFromEnd ? SEEK_END : SEEK_SET;
    off_t r = ::lseek(fd_, off_t(offset), whence);
    return r < 0 ? -1 : std::int64_t(r);
}

std::int64_t TFileStream::Size() {
    struct stat st;
    return ::fstat(fd_, &st) == 0 ? std::int64_t(st.st_size) : -1;
}

void TFileStream::SetSize(std::int64_t size) {
    if (size < 0 || ::ftruncate(fd_, off_t(size)) != 0)
        throw EStreamError("Cannot change the size of \"" + fileName_ + "\". " + SysErrorMessage(size < 0 ? EINVAL : errno));
    if (Position() > size) Seek(size, soFromBeginning);
}
