#pragma once
// Little-endian byte records: ByteWriter builds a record or a whole file in
// memory, ByteReader takes one apart with every read bounds-checked (a read
// past the end raises EReadError, so a damaged file can never be over-read).

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/AnsiString.h"
#include "platform/Exceptions.h"

class ByteWriter {
public:
    void U8(uint8_t v) { buf_.push_back(char(v)); }
    void U16(uint16_t v) { U8(uint8_t(v)); U8(uint8_t(v >> 8)); }
    void U32(uint32_t v) { U16(uint16_t(v)); U16(uint16_t(v >> 16)); }
    void I16(int16_t v) { U16(uint16_t(v)); }
    void I32(int32_t v) { U32(uint32_t(v)); }
    void F64(double v) { uint64_t u; std::memcpy(&u, &v, 8); U32(uint32_t(u)); U32(uint32_t(u >> 32)); }
    void Bytes(const void* p, std::size_t n) { buf_.append(static_cast<const char*>(p), n); }
    void Bytes(std::string_view s) { buf_.append(s); }
    void Zeros(std::size_t n) { buf_.append(n, '\0'); }
    // A length-prefixed string of the given capacity: one length byte, the
    // characters cut to the capacity, zero padding to 1 + capacity bytes.
    void SmallString(const AnsiString& s, int capacity);
    // A zero-terminated text in a field of fixed size (cut to size - 1).
    void FixedText(const AnsiString& s, int size);
    void PatchU32(std::size_t offset, uint32_t v);
    void PatchI32(std::size_t offset, int32_t v) { PatchU32(offset, uint32_t(v)); }
    std::size_t Size() const { return buf_.size(); }
    const std::string& Data() const { return buf_; }
    std::string Take() { return std::move(buf_); }

private:
    std::string buf_;
};

class ByteReader {
public:
    explicit ByteReader(std::string_view data) : data_(data) {}
    uint8_t U8() { Need(1); return uint8_t(data_[pos_++]); }
    uint16_t U16() { Need(2); uint16_t v = uint16_t(uint8_t(data_[pos_]) | uint8_t(data_[pos_ + 1]) << 8); pos_ += 2; return v; }
    uint32_t U32() { uint32_t lo = U16(); return lo | uint32_t(U16()) << 16; }
    int16_t I16() { return int16_t(U16()); }
    int32_t I32() { return int32_t(U32()); }
    double F64() { uint64_t lo = U32(); uint64_t u = lo | uint64_t(U32()) << 32; double v; std::memcpy(&v, &u, 8); return v; }
    std::string_view Bytes(std::size_t n) { Need(n); auto v = data_.substr(pos_, n); pos_ += n; return v; }
    void Skip(std::size_t n) { Need(n); pos_ += n; }
    // Reads 1 + capacity bytes; a stored length above the capacity is clamped.
    AnsiString SmallString(int capacity);
    // Reads size bytes; the text ends at the first zero byte.
    AnsiString FixedText(int size);
    std::size_t Position() const { return pos_; }
    void Seek(std::size_t pos) { if (pos > data_.size()) Fail(); pos_ = pos; }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }
    std::size_t Size() const { return data_.size(); }

private:
    void Need(std::size_t n) const { if (n > data_.size() - pos_) Fail(); }
    [[noreturn]] static void Fail();
    std::string_view data_;
    std::size_t pos_ = 0;
};
