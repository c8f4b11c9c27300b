#pragma once
// TMemoryStream: a stream held in memory. SaveToFile is how a document is
// written: the bytes go to a temporary file beside the target, which replaces
// the target only when all of them were written, so a failed save never
// leaves a truncated document behind.

#include <string>

#include "platform/Stream.h"

class TMemoryStream : public TStream {
public:
    int Read(void* buffer, int count) override;
    // Writing past the end makes the stream longer (a gap is zero-filled).
    int Write(const void* buffer, int count) override;
    std::int64_t Seek(std::int64_t offset, int origin) override;
    std::int64_t Size() override { return std::int64_t(data_.size()); }
    // A larger size is zero-filled; the position stays unless it is past the new end.
    void SetSize(std::int64_t size) override;

    // The bytes; valid until the size changes.
    void* Memory() { return data_.data(); }
    const void* Memory() const { return data_.data(); }
    const std::string& Bytes() const { return data_; }
    void Clear();

    // Replaces the contents with the whole of the source (from its start).
    void LoadFromStream(TStream* stream);
    // Writes the whole contents at the target's position.
    void SaveToStream(TStream* stream);
    // Raises EFOpenError as TFileStream does.
    void LoadFromFile(const AnsiString& fileName);
    // Atomic; raises EFCreateError "Cannot create file "<name>"" and leaves an
    // existing file as it was when the file cannot be written.
    void SaveToFile(const AnsiString& fileName);

private:
    std::string data_;
    std::int64_t pos_ = 0;
};
