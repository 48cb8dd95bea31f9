#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>

namespace vx {

class CLayoutSetting;

/// How a load ended. Callers show "Datei nicht lesbar." for Unreadable only.
enum class LayoutLoadStatus : uint8_t {
    Loaded,
    Unreadable,  // not a layout file, or a value its reader refuses
    Declined,    // the user refused the default profiles or cancelled the font message
    Cancelled,   // the user stopped the load (Ctrl with the decimal key)
};

struct LayoutLoad {
    LayoutLoadStatus status = LayoutLoadStatus::Unreadable;
    /// The new layout record, owned by the caller; null on failure and when the file
    /// was read into a template target.
    std::unique_ptr<CLayoutSetting> layout;
    bool Ok() const { return status == LayoutLoadStatus::Loaded; }
};

/// A new layout record made from the application's default layout (`mType` 2).
/// Throws std::bad_alloc.
std::unique_ptr<CLayoutSetting> NewLayoutFromDefaults();

/// Reads a layout document or template into a new layout record made from the
/// application's default layout (`mType` 2, path stored as its document path), or
/// into target when that is a template (`mTemplate` set). Missing images are searched
/// with the user, missing fonts and profiles replaced by defaults with the user's
/// consent; a load that returns a record makes its summary the current template
/// information. Shows nothing for a failure and writes nothing.
LayoutLoad LoadLayoutXml(const std::filesystem::path& path, CLayoutSetting* target = nullptr);

/// The header and footer line pitch as the nearest listed percentage (110, 125, 150,
/// 175, 200, 225 or 250; the first on a tie) of a font size, which counts as 1 when it
/// is 0 or less.
int16_t NearestLineSpacingPercent(int32_t lineHeight, int32_t fontSize);

}  // namespace vx
