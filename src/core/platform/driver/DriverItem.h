#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

/// The numbered data items of the driver module. Each number is used with GetRange
/// (what the printer offers), GetData (the current value) and SetData (a new value).
enum class DriverItem : int32_t {
    Orientation = 20,     // 1 portrait, 2 landscape
    PaperOld = 30,        // paper, older form: 16-bit lengths
    Source = 40,
    Monochrome = 50,      // range only: first word 1 when the model has no colour ink
    Media = 60,
    PrintMode = 70,       // {mode word, quality, medium, ink}
    Centring = 80,        // older form of the centring flag, set only
    ColourHandling = 201, // set only: 0 the printer's own colour management, 3 off
    Paper = 203,          // paper, newer form: 32-bit lengths
    LayoutFlags = 204,    // bit 0 centred, bit 1 maximum printable area
    RollOptions = 205,    // bits 0x1, 0x4, 0x8 on a roll source
    HighSpeed = 212,
    Names = 213,          // text for (kind, id)
    SpecialMode = 214,    // {a, b, mode}, mode 15 "Ultrafine"
    InkOnMedium = 225,    // range for (medium, ink): {ink allowed, number of print modes}
    Inks = 236,           // range: the ink values the model offers
};

/// What item calls carry in place of the byte records: the record's value words in its
/// order (16-bit fields widened), list entries, or one value.
using DriverWords = std::vector<int32_t>;

/// The answer of GetRange and GetData: words, or the text of item 213.
struct DriverValue {
    DriverWords words;
    std::string text;
    bool operator==(const DriverValue&) const = default;
};

/// Kinds of item 213's names.
enum NameKind : int32_t { kNamePaper = 1, kNameSource = 2, kNameMedium = 3, kNameProfilePath = 10 };

/// Special-mode value meaning "Ultrafine".
constexpr int32_t kUltrafine = 15;
/// Ink values: colour, black, black-and-white photo.
constexpr int32_t kInkColour = 2, kInkBlack = 1, kInkMonoPhoto = 256;
/// Layout-flag bits of item 204.
constexpr int32_t kFlagCentred = 0x1, kFlagMaximumArea = 0x2;

/// Items 30 and 203: the paper in the current orientation, lengths in 0.1 mm. The
/// printable area's right term is width - printableWidth - left, its bottom term
/// height - printableHeight - top.
struct PaperRecord {
    int32_t width = 0, height = 0, printableWidth = 0, printableHeight = 0, left = 0, top = 0, id = 0;
    DriverWords Words() const { return {width, height, printableWidth, printableHeight, left, top, id}; }
    static std::optional<PaperRecord> From(const DriverWords& w) {
        if (w.size() != 7) return std::nullopt;
        return PaperRecord{w[0], w[1], w[2], w[3], w[4], w[5], w[6]};
    }
    bool operator==(const PaperRecord&) const = default;
};

/// Item 70.
struct PrintModeRecord {
    int32_t modeWord = 0, quality = 1, medium = 0, ink = kInkColour;
    DriverWords Words() const { return {modeWord, quality, medium, ink}; }
    static std::optional<PrintModeRecord> From(const DriverWords& w) {
        if (w.size() != 4) return std::nullopt;
        return PrintModeRecord{w[0], w[1], w[2], w[3]};
    }
    bool operator==(const PrintModeRecord&) const = default;
};

/// Item 214.
struct SpecialModeRecord {
    int32_t a = 0, b = 0, mode = 0;
    DriverWords Words() const { return {a, b, mode}; }
    static std::optional<SpecialModeRecord> From(const DriverWords& w) {
        if (w.size() != 3) return std::nullopt;
        return SpecialModeRecord{w[0], w[1], w[2]};
    }
    bool operator==(const SpecialModeRecord&) const = default;
};

}  // namespace vx
