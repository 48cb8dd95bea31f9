#include "platform/system/CLocale.h"

#include <stdexcept>

namespace vx {

locale_t ScopedCLocale::Handle() {
    static locale_t c = [] {
        locale_t l = newlocale(LC_ALL_MASK, "C", locale_t(0));
        if (l == locale_t(0)) throw std::runtime_error("newlocale(C)");
        return l;
    }();
    return c;
}

ScopedCLocale::ScopedCLocale() : mPrevious(uselocale(Handle())) {}

ScopedCLocale::~ScopedCLocale() { uselocale(mPrevious); }

}  // namespace vx
