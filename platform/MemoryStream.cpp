#include "platform/MemoryStream.h"

#include <algorithm>
#include <cstring>

#include "platform/FileIO.h"
#include "platform/FileStream.h"

int TMemoryStream::Read(void* buffer, int count) {
    std::int64_t size = Size();
    if (count <= 0 || pos_ >= size) return 0;
    int n = int(std::min<std::int64_t>(count, size - pos_));
    std::memcpy(buffer, data_.data() + pos_, std::size_t(n));
    pos_ += n;
    return n;
}

int TMemoryStream::Write(const void* buffer, int count) {
    if (count <= 0) return 0;
    std::size_t end = std::size_t(pos_) + std::size_t(count);
    if (end > data_.size()) data_.resize(end, '\0');
    std::memcpy(data_.data() + pos_, buffer, std::size_t(count));
    pos_ += count;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, int origin) {
    std::int64_t base = origin == soFromCurrent ? pos_ : origin == soFromEnd ? Size() : 0;
    std::int64_t pos = base + offset;
    if (pos < 0) return -1;
    pos_ = pos;
    return pos_;
}

void TMemoryStream::SetSize(std::int64_t size) {
    if (size < 0) throw EStreamError("Stream size cannot be negative");
    data_.resize(std::size_t(size), '\0');
    pos_ = std::min(pos_, size);
}

void TMemoryStream::Clear() {
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream) {
    stream->SetPosition(0);
    std::int64_t size = stream->Size();
    Clear();
    data_.resize(std::size_t(size));
    for (std::int64_t done = 0; done < size;) {
        int n = int(std::min<std::int64_t>(size - done, 1 << 30));
        stream->ReadBuffer(data_.data() + done, n);
        done += n;
    }
}

void TMemoryStream::SaveToStream(TStream* stream) {
    for (std::size_t done = 0; done < data_.size();) {
        int n = int(std::min<std::size_t>(data_.size() - done, 1 << 30));
        stream->WriteBuffer(data_.data() + done, n);
        done += std::size_t(n);
    }
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TMemoryStream::SaveToFile(const AnsiString& fileName) {
    if (!WriteFileAtomic(fileName, data_)) throw EFCreateError("Cannot create file \"" + fileName + "\"");
}
