#pragma once
#include <locale.h>

namespace vx {

/// The process locale at start-up: everything from the user's environment (LANG,
/// LC_*), so that the toolkit's own dialogs speak the user's language and the system's
/// error texts keep their letters, but numbers keep the "C" form with its dot.
void SetUpProcessLocale();

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
