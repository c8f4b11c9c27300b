#pragma once
// TFileStream: a stream over an open file. The share flags of the old
// platform are accepted and ignored (one process, one user). A file that
// cannot be opened raises EFOpenError "Cannot open file "<name>". <reason>",
// one that cannot be created EFCreateError "Cannot create file "<name>". <reason>".
// Writing a document should go through TMemoryStream::SaveToFile instead,
// which replaces the file only once everything was written.

#include "platform/Stream.h"

inline constexpr unsigned fmCreate = 0xFF00; // create or truncate, read and write
inline constexpr unsigned fmOpenRead = 0x0000;
inline constexpr unsigned fmOpenWrite = 0x0001;
inline constexpr unsigned fmOpenReadWrite = 0x0002;
inline constexpr unsigned fmShareCompat = 0x0000;
inline constexpr unsigned fmShareExclusive = 0x0010;
inline constexpr unsigned fmShareDenyWrite = 0x0020;
inline constexpr unsigned fmShareDenyRead = 0x0030;
inline constexpr unsigned fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
public:
    TFileStream(const AnsiString& fileName, unsigned mode);
    ~TFileStream() override;

    const AnsiString& FileName() const { return fileName_; }
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    std::int64_t Seek(std::int64_t offset, int origin) override;
    std::int64_t Size() override;
    // Raises EStreamError when the file cannot be resized.
    void SetSize(std::int64_t size) override;

private:
    AnsiString fileName_;
    int fd_ = -1;
};
