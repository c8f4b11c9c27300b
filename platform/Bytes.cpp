#include "platform/Bytes.h"

void ByteWriter::SmallString(const AnsiString& s, int capacity) {
    int n = s.Length() < capacity ? s.Length() : capacity;
    if (n < 0) n = 0;
    U8(uint8_t(n));
    buf_.append(s.c_str(), std::size_t(n));
    Zeros(std::size_t(capacity - n));
}

void ByteWriter::FixedText(const AnsiString& s, int size) {
    int n = s.Length() < size - 1 ? s.Length() : size - 1;
    if (n < 0) n = 0;
    buf_.append(s.c_str(), std::size_t(n));
    Zeros(std::size_t(size - n));
}

void ByteWriter::PatchU32(std::size_t offset, uint32_t v) {
    if (offset + 4 > buf_.size()) throw EWriteError("Record patch out of range");
    for (int i = 0; i < 4; ++i) buf_[offset + std::size_t(i)] = char(uint8_t(v >> (8 * i)));
}

AnsiString ByteReader::SmallString(int capacity) {
    std::string_view raw = Bytes(std::size_t(capacity) + 1);
    std::size_t n = uint8_t(raw[0]);
    if (n > std::size_t(capacity)) n = std::size_t(capacity);
    return AnsiString(raw.substr(1, n));
}

AnsiString ByteReader::FixedText(int size) {
    std::string_view raw = Bytes(std::size_t(size));
    std::size_t z = raw.find('\0');
    return AnsiString(raw.substr(0, z == std::string_view::npos ? raw.size() : z));
}

void ByteReader::Fail() { throw EReadError("Unexpected end of data"); }
