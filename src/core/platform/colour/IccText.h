#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vx {

/// The text of a stored ICC text tag as UTF-8: textDescriptionType ('desc', its 8-bit
/// part, else its Unicode part), multiLocalizedUnicodeType ('mluc', the "en"/"US"
/// entry, else the first) or textType ('text'). 8-bit text that reads as UTF-8 stays,
/// anything else is Latin-1; UTF-16 pairs combine, broken ones become U+FFFD. Text ends
/// at the first zero. nullopt for another type, or when a count or offset reaches
/// past the tag.
std::optional<std::string> DecodeIccText(std::span<const uint8_t> tag);

}  // namespace vx
