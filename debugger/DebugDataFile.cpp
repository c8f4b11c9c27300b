#include "debugger/DebugDataFile.h"

#include <algorithm>

#include "platform/Bytes.h"

namespace {

// Reads bytes up to a NUL. False when the data ends before one; the text read
// so far is kept.
bool ReadZText(ByteReader& in, AnsiString& text) {
    std::string s;
    while (!in.AtEnd()) {
        char c = char(in.U8());
        if (c == '\0') {
            text = AnsiString(std::move(s));
            return true;
        }
        s += c;
    }
    text = AnsiString(std::move(s));
    return false;
}

DebugDriverRecord ReadDriver(ByteReader& in) {
    std::string_view raw = in.Bytes(DebugDriverRecord::kSize);
    ByteReader r(raw);
    DebugDriverRecord d;
    d.TypeCode = r.I16();
    r.Skip(4);
    d.FirstByte = r.U16();
    d.ByteCount = r.U16();
    return d;
}

// The name section: records up to the end of the data. False when it is
// damaged (see ReadDebugDataFile).
bool ReadNames(ByteReader& in, std::vector<SignalNameRecord>& names) {
    if (in.AtEnd()) return false; // announced, but not one record
    while (!in.AtEnd()) {
        if (in.Remaining() < 2) return false;
        SignalNameRecord rec;
        rec.Operand = in.U16();
        if (!ReadZText(in, rec.Name)) return false;
        bool whole = ReadZText(in, rec.Comment);
        names.push_back(std::move(rec));
        if (!whole) break;
        in.Skip(std::min<std::size_t>(2, in.Remaining()));
    }
    return true;
}

} // namespace

int ReadDebugDataFile(std::string_view bytes, DebugDataFile& out) {
    out = DebugDataFile();
    ByteReader in(bytes);
    if (in.Remaining() < std::size_t(DebugDataHeader::kSize)) return kLoadBadData;
    {
        ByteReader h(in.Bytes(DebugDataHeader::kSize));
        DebugDataHeader& hd = out.Header;
        hd.InputDriverCount = h.U16();
        hd.OutputDriverCount = h.U16();
        hd.CodeSize = h.U16();
        hd.RecordCount = h.U16();
        hd.TimerCount = h.U16();
        h.Seek(24);
        hd.NamesFlag = h.U16();
    }
    const DebugDataHeader& hd = out.Header;
    std::size_t drivers = std::size_t(hd.InputDriverCount) + hd.OutputDriverCount;
    if (in.Remaining() < drivers * DebugDriverRecord::kSize + hd.CodeSize + 4) return kLoadBadData;
    out.InputDrivers.reserve(hd.InputDriverCount);
    for (int i = 0; i < hd.InputDriverCount; ++i) out.InputDrivers.push_back(ReadDriver(in));
    out.OutputDrivers.reserve(hd.OutputDriverCount);
    for (int i = 0; i < hd.OutputDriverCount; ++i) out.OutputDrivers.push_back(ReadDriver(in));
    std::string_view code = in.Bytes(hd.CodeSize);
    out.Code.assign(code.begin(), code.end());
    in.Skip(4); // a 32-bit word the emulator does not use
    if (hd.NamesFlag != 0) {
        out.HasNames = true;
        if (!ReadNames(in, out.Names)) return kLoadBadData;
    }
    return kLoadOk;
}
