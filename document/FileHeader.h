#pragma once
// The two records that open every scheme file, state-machine file and the
// clipboard file "clip.brd": FileHeader (52 bytes: the file name as stored,
// version, record count) and FileSignature (76 bytes: magic and maker
// signature; in "clip.brd" also the fragment's minimum X and Y and which
// editor wrote it).

#include <cstdint>

#include "platform/AnsiString.h"
#include "platform/Bytes.h"

constexpr uint32_t kFileMagic = 0x71190625;
constexpr int kFileHeaderSize = 52;
constexpr int kFileSignatureSize = 76;

// Which editor wrote "clip.brd". Files from before the mark read as unknown.
enum class ClipWriter : int32_t { Unknown = 0, Scheme = 1, StateMachine = 2 };

struct FileHeader {
    AnsiString Name; // stored cut to 40 characters
    int32_t Version = 0;
    int32_t Count = 0;

    void Write(ByteWriter& w) const;
    static FileHeader Read(ByteReader& r); // throws EReadError when short
    // Offset of the record count, for writing it again once it is known.
    static constexpr std::size_t kCountOffset = 48;
};

struct FileSignature {
    uint32_t Magic = kFileMagic;
    AnsiString Maker = "Tarvelion";
    int32_t MinX = 0; // clip.brd only
    int32_t MinY = 0; // clip.brd only
    ClipWriter Writer = ClipWriter::Unknown; // clip.brd only

    bool IsValid() const { return Magic == kFileMagic; }
    void Write(ByteWriter& w) const;
    static FileSignature Read(ByteReader& r); // throws EReadError when short
};
