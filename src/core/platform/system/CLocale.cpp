#include "platform/system/CLocale.h"

#include <clocale>
#include <stdexcept>

namespace vx {

void SetUpProcessLocale() {
    // The toolkit leaves the locale at "C". Messages alone would not do: with a "C"
    // character set the translated system texts lose their umlauts.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
}

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
