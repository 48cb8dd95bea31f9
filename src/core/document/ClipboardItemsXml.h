#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class CLayoutObj;

/// The largest clipboard text the reader takes.
inline constexpr size_t kMaxClipboardBytes = size_t(16) << 20;

/// How reading clipboard items ended.
enum class ClipboardReadStatus : uint8_t {
    Read,
    Unreadable,  // not our format, damaged or cut short
    TooLarge,    // more than 16 MiB
    TooMany,     // more than 999 items
};

struct ClipboardItems {
    ClipboardReadStatus status = ClipboardReadStatus::Unreadable;
    /// The items in their order, owned by nobody; empty unless Read.
    std::vector<std::unique_ptr<CLayoutObj>> items;
    /// Images left out because their file no longer opens as a picture.
    int unreadableImages = 0;
};

/// The items of a list (head, linked through `mNext`) as the program's clipboard text:
/// UTF-8 XML with root "root", a "header" naming the program and format version 1, and
/// an "object" element holding the images (absolute paths), free texts and free lines
/// in the layout file's element forms; cut lines are left out. nullopt when a value
/// cannot be written (text that is not UTF-8 or too long).
std::optional<std::string> WriteClipboardItems(const CLayoutObj* head);

/// Reads what WriteClipboardItems wrote, without network access and taking nothing past
/// 16 MiB or 999 items. Images are identified again from their files.
ClipboardItems ReadClipboardItems(std::string_view bytes);

}  // namespace vx
