// BMP pictures: a damaged picture raises the picture error and leaves the
// bitmap as it was; one that loads saves and loads again to the same bytes.
#include "FuzzSupport.h"

#include "platform/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    TBitmap b;
    b.SetSize(3, 2);
    const std::string before = b.SaveToBytes();
    try {
        b.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EInvalidGraphic&) {
        FUZZ_CHECK(b.SaveToBytes() == before);
        return 0;
    }
    const std::string saved = b.SaveToBytes();
    TBitmap again;
    again.LoadFromBytes(saved);
    FUZZ_CHECK(again.SaveToBytes() == saved);
    FUZZ_CHECK(again.Width() == b.Width() && again.Height() == b.Height());
    return 0;
}
