#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vx {

/// Code points in UTF-8 text; a byte that is not part of a valid sequence counts as one.
size_t CountCodePoints(std::string_view text);

/// Byte length of the valid UTF-8 sequence starting at text[pos], or 0 when invalid.
size_t Utf8SequenceLength(std::string_view text, size_t pos);

bool IsValidUtf8(std::string_view text);

/// Valid UTF-8 stays; otherwise every byte is taken as Latin-1.
std::string ToUtf8FromUtf8OrLatin1(std::string_view text);

/// The first maxChars code points (never cuts a sequence).
std::string TruncateCodePoints(std::string_view text, size_t maxChars);
/// The longest prefix of at most maxBytes bytes that never cuts a sequence.
std::string_view TruncateBytes(std::string_view text, size_t maxBytes);

/// Without leading and trailing blanks, tabs, CR and LF.
std::string_view TrimBlanks(std::string_view text);

/// ASCII case folding, for names compared case-insensitively (INI keys, extensions).
std::string AsciiLower(std::string_view text);
bool EqualsNoCaseAscii(std::string_view a, std::string_view b);

/// The key by which names are sorted where users see the order: NFC-normalised and
/// case-folded, so "Ä", "ä" and "a" + combining diaeresis compare equal and "A…" sorts
/// before "b…". Keys compare bytewise; no locale enters. Invalid UTF-8 is read as Latin-1.
std::string FoldForSort(std::string_view utf8);

}  // namespace vx
