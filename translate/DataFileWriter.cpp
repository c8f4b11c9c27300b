#include "translate/DataFileWriter.h"

#include <filesystem>

#include "platform/Bytes.h"
#include "platform/FileIO.h"

namespace translate {

std::string BuildDataFile(const TMemoryMap& map, const TProgram& program, uint16_t iterations, bool controllerCopy,
                          const std::string& names) {
    int inputs = 0, outputs = 0;
    for (const TDriverArea& d : map.Drivers()) ++(d.Output ? outputs : inputs);
    ByteWriter w;
    w.U16(uint16_t(inputs));
    w.U16(uint16_t(outputs));
    w.U16(uint16_t(program.Code.size()));
    w.U16(uint16_t(program.Records));
    w.U16(uint16_t(program.Timers));
    w.U16(iterations);              // 10
    w.U16(kDataFileVersion);        // 12
    w.U16(controllerCopy ? 1 : 0);  // 14
    w.Zeros(8);                     // 16-23
    w.U16(names.empty() ? 0 : 1);   // 24
    w.Zeros(6);                     // 26-31
    for (bool output : {false, true})
        for (const TDriverArea& d : map.Drivers()) {
            if (d.Output != output) continue;
            w.I16(d.TypeCode);
            w.Zeros(4);
            w.U16(d.First);
            w.U16(d.Bytes);
            w.Zeros(6);
        }
    w.Bytes(program.Code);
    w.U32(0);
    w.Bytes(names);
    return w.Take();
}

bool WriteDataFile(const AnsiString& path, const std::string& bytes) {
    return !path.IsEmpty() && WriteFileAtomic(path, bytes);
}

void RemoveDataFile(const AnsiString& path) {
    if (path.IsEmpty()) return;
    std::error_code ec;
    std::filesystem::remove(ToFsPath(path), ec);
}

} // namespace translate
