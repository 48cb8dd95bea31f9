#pragma once
#include <cstdint>
#include <string>

namespace vx {

/// Bits of a tree root's remembered state.
inline constexpr int32_t kTreeItemSelected = 0x02;
inline constexpr int32_t kTreeItemExpanded = 0x20;

/// What the template chooser remembers between openings, for the whole run.
struct ChooseTemplateState {
    int32_t firstOpening = 1;
    std::string printer;
    std::string paperSize;
    std::string paperSource;
    int32_t treeMode = 0;         // 0 categories, 1 image masks
    int32_t allState = 0;         // kTreeItemExpanded | kTreeItemSelected of root "Alle"
    int32_t myTemplateState = 0;  // the same for root "MyTemplate"
    std::string treeSelection;
    int32_t view = 0;  // 0 report, 1 small thumbnails, 2 medium thumbnails
    std::string templatePath;
    int32_t tab = 0;
    bool operator==(const ChooseTemplateState&) const = default;
};

}  // namespace vx
