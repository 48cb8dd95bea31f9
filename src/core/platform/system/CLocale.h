#pragma once
#include <locale.h>

namespace vx {

/// Switches the calling thread to the "C" locale for its lifetime (uselocale is
/// per thread), so printf and strtod use dot decimals whatever GTK set.
class ScopedCLocale {
public:
    ScopedCLocale();
    ~ScopedCLocale();
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

    static locale_t Handle();  // the process-wide "C" locale object

private:
    locale_t mPrevious;
};

}  // namespace vx
