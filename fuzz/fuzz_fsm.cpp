// State-machine files (".fsm"): a refused file leaves the document empty with
// one message; one that loads keeps its coordinates within the limits, and
// saves and loads again to the same bytes with every transition between the
// same states.
#include "FuzzSupport.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "fsm/FSMLink.h"
#include "fsm/FsmRecords.h"
#include "fsm/FsmTestSupport.h"
#include "fsm/fsmScheme.h"

namespace {

bool InLimits(long long v) { return std::llabs(v) <= fsmfile::kCoordLimit; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TFSMScheme doc;
    doc.SetFileName(fuzz::File("m.fsm"));
    if (!doc.LoadFromBytes(bytes)) {
        FUZZ_CHECK(doc.Entities().empty());
        FUZZ_CHECK(!doc.IsModified());
        FUZZ_CHECK(fuzz::Ui().Messages().size() == 1);
        return 0;
    }
    FUZZ_CHECK(fuzz::Ui().Messages().size() <= 1);
    if (doc.GetResetLink()) FUZZ_CHECK(!doc.GetResetLink()->GetSource());
    for (TfsmElement* s : doc.States()) FUZZ_CHECK(InLimits(s->GetX()) && InLimits(s->GetY()));
    for (TfsmLink* t : doc.Transitions())
        for (int i = 0; i < 4; ++i) FUZZ_CHECK(InLimits(t->GetPointX(i)) && InLimits(t->GetPointY(i)));
    const std::vector<std::pair<int, int>> logic = fsmtest::Logic(doc);
    const std::string saved = doc.SaveToBytes();
    TFSMScheme again;
    again.SetFileName(fuzz::File("m.fsm"));
    FUZZ_CHECK(again.LoadFromBytes(saved));
    FUZZ_CHECK(fsmtest::Logic(again) == logic);
    FUZZ_CHECK(again.SaveToBytes() == saved);
    return 0;
}
