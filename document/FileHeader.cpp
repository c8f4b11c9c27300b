#include "document/FileHeader.h"

void FileHeader::Write(ByteWriter& w) const {
    w.SmallString(Name, 40); // 41 bytes
    w.Zeros(3);
    w.I32(Version);
    w.I32(Count);
}

FileHeader FileHeader::Read(ByteReader& r) {
    FileHeader h;
    h.Name = r.SmallString(40);
    r.Skip(3);
    h.Version = r.I32();
    h.Count = r.I32();
    return h;
}

void FileSignature::Write(ByteWriter& w) const {
    w.U32(Magic);
    w.FixedText(Maker, 10); // offsets 4..13, zero-terminated
    w.Zeros(36 - 14);
    w.I32(MinX); // 36
    w.I32(MinY); // 40
    w.I32(int32_t(Writer)); // 44
    w.Zeros(kFileSignatureSize - 48);
}

FileSignature FileSignature::Read(ByteReader& r) {
    FileSignature s;
    std::size_t start = r.Position();
    s.Magic = r.U32();
    s.Maker = r.FixedText(10);
    r.Seek(start + 36);
    s.MinX = r.I32();
    s.MinY = r.I32();
    int32_t writer = r.I32();
    s.Writer = writer == 1 ? ClipWriter::Scheme : writer == 2 ? ClipWriter::StateMachine : ClipWriter::Unknown;
    r.Seek(start + kFileSignatureSize);
    return s;
}
