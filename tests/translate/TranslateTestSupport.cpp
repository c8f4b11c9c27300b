#include "TranslateTestSupport.h"

#include <cstdio>

#include "platform/StringList.h"

namespace trtest {

Work Work::Standard() {
    Work w;
    w.Types = {"DIN 1", "DOUT 2"};
    w.Drivers = {"DI in DIN 00000100 16 0", "DO out DOUT 00000200 16 0"};
    for (int k = 0; k < 16; ++k) w.Signals.push_back(DriverPin("I" + IntToStr(k), "DI", k));
    for (int k = 0; k < 16; ++k) w.Signals.push_back(DriverPin("Q" + IntToStr(k), "DO", k));
    for (int k = 1; k <= 8; ++k) w.Signals.push_back(Connector("N" + IntToStr(k)));
    return w;
}

void Work::Block(const std::vector<AnsiString>& lines) {
    Elements.insert(Elements.end(), lines.begin(), lines.end());
    Elements.push_back(AnsiString());
}

void WriteLines(const AnsiString& path, const std::vector<AnsiString>& lines) {
    std::string bytes;
    for (const AnsiString& l : lines) bytes += l.str() + "\r\n";
    testenv::WriteBytes(ToFsPath(path), bytes);
}

void TranslateTest::WriteWork() const {
    WriteLines(Path("1.$$$"), work.Types);
    WriteLines(Path("2.$$$"), work.Drivers);
    WriteLines(Path("3.$$$"), work.Signals);
    WriteLines(Path("4.$$$"), work.Elements);
    WriteLines(Path("5.$$$"), work.Comments);
}

int TranslateTest::Generate(int32_t copyFlag, uint16_t iterations, const AnsiString& data) {
    WriteWork();
    const AnsiString out = data.IsEmpty() ? DataPath() : data;
    return _GenerateDatFile(Path("1.$$$").c_str(), Path("2.$$$").c_str(), Path("3.$$$").c_str(),
                            Path("5.$$$").c_str(), Path("4.$$$").c_str(), out.c_str(), LogPath().c_str(), iterations,
                            copyFlag);
}

std::vector<AnsiString> TranslateTest::Log() const {
    std::string bytes;
    if (!ReadWholeFile(LogPath(), bytes)) return {};
    TStringList list;
    list.SetText(AnsiString(bytes));
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

DebugDataFile TranslateTest::Parsed() const {
    DebugDataFile f;
    EXPECT_EQ(ReadDebugDataFile(DataBytes(), f), kLoadOk);
    return f;
}

std::vector<Record> TranslateTest::Records() const {
    const DebugDataFile f = Parsed();
    return SplitRecords(f.Code, f.Header.RecordCount);
}

std::vector<Record> SplitRecords(const std::vector<uint8_t>& code, int count) {
    std::vector<Record> records;
    std::size_t pos = 0;
    auto w = [&](std::size_t at) { return uint16_t(code.at(at) | code.at(at + 1) << 8); };
    for (int i = 0; i < count; ++i) {
        const int type = w(pos) & 0xFF, w1 = w(pos + 2), w2 = w(pos + 4);
        std::size_t size = 0;
        if (type == 21) {
            const std::size_t ib = std::size_t(w1 + 7) / 8, ob = std::size_t(w2 + 7) / 8;
            std::size_t q = pos + 6 + 2 * std::size_t(w1);
            const int states = w(q);
            q += 4 + 2 * (2 * ib + 1);
            for (int s = 0; s < states; ++s) q += 2 + ob + std::size_t(w(q)) * (2 * ib + 1);
            size = q + 2 * std::size_t(w2) - pos;
        } else {
            size = 2 * std::size_t(3 + (type == 3 ? 4 : w1) + w2);
        }
        Record r;
        r.Bytes.assign(code.begin() + std::ptrdiff_t(pos), code.begin() + std::ptrdiff_t(pos + size));
        for (std::size_t k = 0; k + 1 < size && type != 21; k += 2) r.Words.push_back(w(pos + k));
        records.push_back(r);
        pos += size;
    }
    EXPECT_EQ(pos, code.size());
    return records;
}

std::string Hex(const std::vector<uint16_t>& words) {
    std::string s;
    char buf[8];
    for (uint16_t v : words) {
        std::snprintf(buf, sizeof buf, "%04X ", v);
        s += buf;
    }
    return s;
}

} // namespace trtest
