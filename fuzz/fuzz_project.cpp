// Project files (".tvp"): a file that is not a project is never written
// over; a project that loads, even in part, saves a file that loads whole and
// saves again to the same bytes with the same entries.
#include "FuzzSupport.h"

#include <vector>

#include "document/Project.h"

namespace {

std::vector<AnsiString> Entries(TProject& p) {
    std::vector<AnsiString> v;
    for (int i = 0; i < p.GetFileCount(); ++i) v.push_back(p.GetFile(i));
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::Write("p.tvp", bytes);
    TProject p(nullptr);
    p.SetFileName(fuzz::File("p.tvp"));
    p.Load();
    if (!p.Save()) {
        FUZZ_CHECK(fuzz::Read("p.tvp") == bytes);
        return 0;
    }
    const std::string saved = fuzz::Read("p.tvp");
    const std::vector<AnsiString> entries = Entries(p);
    fuzz::BeginInput();
    TProject q(nullptr);
    q.SetFileName(fuzz::File("p.tvp"));
    FUZZ_CHECK(q.Load());
    FUZZ_CHECK(fuzz::Ui().Calls.empty());
    FUZZ_CHECK(Entries(q) == entries);
    FUZZ_CHECK(q.ProjectName == p.ProjectName && q.Iterations == p.Iterations && q.Convert == p.Convert);
    FUZZ_CHECK(q.Save());
    FUZZ_CHECK(fuzz::Read("p.tvp") == saved);
    return 0;
}
