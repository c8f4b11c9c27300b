// Scheme files (".tvs", symbols, recovery copies): a refused file leaves the
// document empty with one message; a file that loads has its geometry and its
// picture computed without overflow, and saves and loads again to the same
// bytes.
#include "FuzzSupport.h"

#include "document/Scheme.h"
#include "model/Element.h"
#include "model/InOut.h"
#include "model/Link.h"
#include "model/Records.h"
#include "platform/Bitmap.h"

namespace {

void Exercise(TScheme& s) {
    int maxX = 0, maxY = 0;
    s.GetExtent(maxX, maxY);
    TBitmap bitmap;
    bitmap.SetSize(48, 48);
    int k = 0;
    for (TEntity* e : s.LiveObjects()) {
        FUZZ_CHECK(MovedWithinLimits(*e, 0, 0));
        const TRect b = e->Bounds();
        e->HitTest(b.Left, b.Bottom);
        e->InRect(Rect(-10, -10, 100, 100));
        if (auto* el = dynamic_cast<TElement*>(e))
            for (int i = 0; i < el->PinCount(); ++i) {
                TInOut* p = el->Pin(i);
                el->HitTest(p->TipX(), p->TipY());
            }
        // A few objects at the largest and the smallest zoom.
        if (k++ < 8) {
            e->DrawTo(bitmap.Canvas(), false, 400);
            e->DrawTo(bitmap.Canvas(), true, 25);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const AnsiString name = fuzz::File("f.tvs");
    TScheme s;
    s.SetFileName(name);
    if (!s.LoadFromBytes(bytes)) {
        FUZZ_CHECK(s.LiveObjects().empty());
        FUZZ_CHECK(!s.IsModified());
        FUZZ_CHECK(fuzz::Ui().Messages().size() == 1);
        return 0;
    }
    Exercise(s);
    const std::string saved = s.SaveToBytes();
    TScheme again;
    again.SetFileName(name);
    FUZZ_CHECK(again.LoadFromBytes(saved));
    FUZZ_CHECK(again.SaveToBytes() == saved);
    return 0;
}
