// Signal-table files: a file that is not a signal table is never written
// over; a table that loads, even in part, saves a file that loads whole and
// saves again to the same bytes.
#include "FuzzSupport.h"

#include "document/DriversInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::Write("t.btb", bytes);
    const AnsiString path = fuzz::File("t.btb");
    TDriversInfo t;
    t.LoadFromFile(path);
    if (!t.SaveToFile(path)) {
        FUZZ_CHECK(fuzz::Read("t.btb") == bytes);
        return 0;
    }
    const std::string saved = fuzz::Read("t.btb");
    fuzz::BeginInput();
    TDriversInfo u;
    FUZZ_CHECK(u.LoadFromFile(path));
    FUZZ_CHECK(fuzz::Ui().Calls.empty());
    FUZZ_CHECK(u.GetDriverTypeCount() == t.GetDriverTypeCount() && u.GetDriverCount() == t.GetDriverCount() &&
               u.GetBitCount() == t.GetBitCount() && u.GetVarBitCount() == t.GetVarBitCount());
    FUZZ_CHECK(u.SaveToFile(path));
    FUZZ_CHECK(fuzz::Read("t.btb") == saved);
    return 0;
}
