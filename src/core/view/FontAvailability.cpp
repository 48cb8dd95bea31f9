#include "view/FontAvailability.h"

#include "platform/gfx/Fonts.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

// Vertical-writing faces: never offered in place of an ordinary one.
bool IsVerticalFace(const std::string& family) { return !family.empty() && family.front() == '@'; }

}  // namespace

bool IsFontAvailable(std::string& face, std::span<const std::string> families) {
    const std::string* first = nullptr;
    for (const std::string& family : families) {
        if (IsVerticalFace(family)) continue;
        if (EqualsNoCaseAscii(family, face)) return true;
        // A longer name could not be saved with the layout again.
        if (!first && CountCodePoints(family) <= kMaxFontNameChars) first = &family;
    }
    face = first ? *first : std::string();
    return false;
}

bool IsFontAvailable(std::string& face) { return IsFontAvailable(face, gfx::FontFamilies()); }

bool EnsureFontAvailable(std::string& face, bool& warn, std::span<const std::string> families) {
    if (IsFontAvailable(face, families)) return true;
    face = LoadString(IDS_SUBSTITUTE_FONT);
    if (!IsFontAvailable(face, families)) {
        // Our stand-in for the substitute face, so that a layout saved after the
        // substitution is not warned about again.
        face = gfx::kFallbackFamily;
        IsFontAvailable(face, families);
    }
    if (warn && Messages().Show(IDS_MISSING_FONTS_REPLACED, {}, Icon::Error, Buttons::OkCancel) == kIdOk)
        warn = false;
    return false;
}

bool EnsureFontAvailable(std::string& face, bool& warn) {
    return EnsureFontAvailable(face, warn, gfx::FontFamilies());
}

}  // namespace vx
