#include "model/GreyConversion.h"

#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"

namespace vx {
namespace {

// Integer hundredths give exactly what truncating the double products gives, for every
// channel value.
uint8_t Grey(unsigned red, unsigned green, unsigned blue) {
    return uint8_t(30 * red / 100 + 59 * green / 100 + 11 * blue / 100);
}

}  // namespace

ColorRef GreyFromRGB(ColorRef c) {
    const ColorRef g = Grey(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return (c & 0xFF000000u) | g << 16 | g << 8 | g;
}

void ConvertPixelsToGrey(std::span<uint8_t> bgra) {
    for (size_t i = 0; i + 4 <= bgra.size(); i += 4) {
        const uint8_t g = Grey(bgra[i + 2], bgra[i + 1], bgra[i]);
        bgra[i] = bgra[i + 1] = bgra[i + 2] = g;
    }
}

bool ConvertToGrey(CLayoutObj& item, bool all) {
    bool complete = true;
    for (CLayoutObj* p = &item; p; p = all ? p->NextItem() : nullptr) {
        if (p->GetKind() != kKindImage) continue;
        auto& image = static_cast<CImageObj&>(*p);
        if (!image.MakeWorkingBitmapUnique()) {
            complete = false;
            continue;
        }
        const CImageBitmapLock lock(image);
        ConvertPixelsToGrey(lock.Pixels());
    }
    return complete;
}

}  // namespace vx
