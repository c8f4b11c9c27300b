// The clipboard file "clip.brd" pasted into both editors: a refused paste
// changes nothing; an accepted one leaves every position within the limits
// and a document that saves and loads again to the same bytes.
#include "FuzzSupport.h"

#include <cstdlib>

#include "document/Scheme.h"
#include "fsm/FSMLink.h"
#include "fsm/FsmRecords.h"
#include "fsm/fsmScheme.h"
#include "model/Link.h"
#include "model/Records.h"

namespace {

void PasteIntoScheme(int x, int y) {
    TScheme s;
    s.SetFileName(fuzz::File("s.tvs"));
    TAndElement* a = s.CreateAndElement();
    a->SetX(40);
    a->SetY(60);
    s.CreateWire(0, 0, 40, 70);
    s.SetModified(false);
    const std::string before = s.SaveToBytes();
    if (!s.Paste(x, y)) {
        FUZZ_CHECK(s.SaveToBytes() == before);
        FUZZ_CHECK(!s.IsModified());
        return;
    }
    for (TEntity* e : s.LiveObjects()) {
        FUZZ_CHECK(MovedWithinLimits(*e, 0, 0));
    }
    const std::string saved = s.SaveToBytes();
    TScheme again;
    again.SetFileName(fuzz::File("s.tvs"));
    FUZZ_CHECK(again.LoadFromBytes(saved));
    FUZZ_CHECK(again.SaveToBytes() == saved);
}

bool InLimits(long long v) { return std::llabs(v) <= fsmfile::kCoordLimit; }

void PasteIntoMachine(int x, int y) {
    TFSMScheme doc;
    doc.SetFileName(fuzz::File("m.fsm"));
    const std::string empty = doc.SaveToBytes();
    FUZZ_CHECK(doc.LoadFromBytes(empty));
    const std::size_t before = doc.Entities().size();
    const bool ok = doc.PasteFromClipboard(x, y);
    if (!ok && doc.Entities().size() == before) {
        FUZZ_CHECK(doc.SaveToBytes() == empty);
        return;
    }
    for (TfsmElement* s : doc.States()) FUZZ_CHECK(InLimits(s->GetX()) && InLimits(s->GetY()));
    for (TfsmLink* t : doc.Transitions())
        for (int i = 0; i < 4; ++i) FUZZ_CHECK(InLimits(t->GetPointX(i)) && InLimits(t->GetPointY(i)));
    const std::string saved = doc.SaveToBytes();
    TFSMScheme again;
    again.SetFileName(fuzz::File("m.fsm"));
    FUZZ_CHECK(again.LoadFromBytes(saved));
    FUZZ_CHECK(again.SaveToBytes() == saved);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    fuzz::Write("clip.brd", std::string_view(reinterpret_cast<const char*>(data), size));
    // The paste point: inside a sheet, and once at the edge of the limits.
    const int x = size > 0 && data[0] == 0xFF ? 1000000 : 120;
    PasteIntoScheme(x, 80);
    PasteIntoMachine(x, 80);
    return 0;
}
