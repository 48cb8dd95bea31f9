#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/LayoutTypes.h"

namespace vx {

/// The value forms of layout files, each in both directions. Numbers are locale-free.
/// Readers of several components take them one by one as "%d,%d" scanning does: a
/// component that does not parse leaves its field, and every later one, unchanged.

std::string FormatXmlBool(bool value);
/// True when the text is "true" in any letter case.
bool ParseXmlBool(std::string_view text);

std::string FormatXmlInt(int64_t value);
/// The first run of digits after skipping everything that is neither a digit nor '-'; a
/// '-' right before it negates; no digits give 0. Saturates to int32.
int32_t ParseXmlInt(std::string_view text);
/// As ParseXmlInt, saturated to int16.
int16_t ParseXmlShort(std::string_view text);

/// A point or size, second component first: (x, y) as "y,x".
std::string FormatXmlPair(LayoutPoint value);
void ParseXmlPair(std::string_view text, LayoutPoint& value);
/// (left, top, right, bottom) as "top,left,bottom,right".
std::string FormatXmlRect(LayoutRect value);
void ParseXmlRect(std::string_view text, LayoutRect& value);
/// A COLORREF as "red,green,blue"; components read back are clamped to 0-255.
std::string FormatXmlColour(ColorRef value);
void ParseXmlColour(std::string_view text, ColorRef& value);

/// A font size in 1/360 inch as whole points (size / 5, toward zero), and back (× 5,
/// saturated to int16).
std::string FormatXmlPoints(int32_t size);
int16_t ParseXmlPoints(std::string_view text);

struct XmlDate {
    int16_t year = 0;
    int16_t month = 0;
    int16_t day = 0;
    friend bool operator==(const XmlDate&, const XmlDate&) = default;
};
/// "year-month-day" without padding.
std::string FormatXmlDate(const XmlDate& value);
void ParseXmlDate(std::string_view text, XmlDate& value);

/// Font style bits 0x100 "Bold", 0x200 "Italic", 0x400 "Underline" joined by "+", or
/// "Normal"; reading takes every bit whose word occurs anywhere in the text.
std::string FormatXmlFace(int32_t face);
int16_t ParseXmlFace(std::string_view text);

/// Label-item mask: the words of its set bits (0 "Number" ... 24 "Flash") joined by "+",
/// "Off" when none; reading takes every bit whose word occurs anywhere in the text.
std::string FormatXmlLabels(uint32_t mask);
uint32_t ParseXmlLabels(std::string_view text);

/// One word of an enumerated element.
struct XmlWord {
    int32_t value;
    std::string_view word;
};
/// The word of value, or nullopt when none is listed.
std::optional<std::string_view> FormatXmlWord(std::span<const XmlWord> words, int32_t value);
/// The value of the first entry with exactly this word (letter case matters).
std::optional<int32_t> ParseXmlWord(std::span<const XmlWord> words, std::string_view text);

/// Rendering intents 1 "Perceptual" to 5 "Endorsed by Profile"; a layout leaves out
/// another value, and in image elements another word reads as 65535.
extern const std::span<const XmlWord> kXmlIntentWords;
inline constexpr int32_t kXmlUnknownIntent = 65535;

/// The text form: with quoted, the text between double quotes without its carriage
/// returns. Control characters other than TAB, LF and CR, U+FFFE and U+FFFF are dropped:
/// XML cannot carry them. nullopt when the text is not valid UTF-8.
std::optional<std::string> ToXmlText(std::string_view text, bool quoted);
/// Back from the text form: what lies between the first and the last double quote (the
/// whole text without two quotes), each LF that no CR precedes becoming CR LF.
std::string FromXmlText(std::string_view text);

}  // namespace vx
