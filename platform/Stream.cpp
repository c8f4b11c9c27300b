#include "platform/Stream.h"

#include <algorithm>
#include <vector>

std::int64_t TStream::Size() {
    std::int64_t pos = Position();
    std::int64_t size = Seek(0, soFromEnd);
    Seek(pos, soFromBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int count) {
    if (count != 0 && (count < 0 || Read(buffer, count) != count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int count) {
    if (count != 0 && (count < 0 || Write(buffer, count) != count)) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream* source, std::int64_t count) {
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    std::vector<char> buf(std::size_t(std::min<std::int64_t>(std::max<std::int64_t>(count, 1), 1 << 16)));
    for (std::int64_t left = count; left > 0;) {
        int n = int(std::min<std::int64_t>(left, std::int64_t(buf.size())));
        source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        left -= n;
    }
    return count;
}
