#pragma once
#include <span>
#include <string>

namespace vx {

/// Longest font face name a layout stores, in characters.
inline constexpr size_t kMaxFontNameChars = 32;

/// Whether a font family of that name is installed (ASCII case ignored; names starting
/// with "@" never match). When it is not, face becomes the first installed family that
/// a layout can store (no "@", at most kMaxFontNameChars), or empty without one.
bool IsFontAvailable(std::string& face);
bool IsFontAvailable(std::string& face, std::span<const std::string> families);

/// Whether face is installed. When it is not, face becomes "Tahoma" when installed,
/// else "DejaVu Sans", else the first family, and while warn is set the user is told
/// (10425, OK and Cancel); OK clears warn, so later substitutions are silent. False
/// when face was substituted.
bool EnsureFontAvailable(std::string& face, bool& warn);
bool EnsureFontAvailable(std::string& face, bool& warn, std::span<const std::string> families);

}  // namespace vx
