#pragma once
#include <cstdint>
#include <string>

namespace vx {

/// What the template organiser remembers between openings, for the whole run. The
/// root states hold kTreeItemExpanded and kTreeItemSelected (ChooseTemplateState.h).
struct OrganizeTemplatesState {
    int32_t firstOpening = 1;
    int32_t categoryState = 0;    // root "Kategorie"
    int32_t imageMaskState = 0;   // root "Bildmaske"
    int32_t myTemplateState = 0;  // root "MyTemplate"
    std::string treeSelection;
    int32_t view = 0;  // 0 report, 1 small thumbnails, 2 medium thumbnails
    std::string templatePath;
    int32_t tab = 0;
    bool operator==(const OrganizeTemplatesState&) const = default;
};

}  // namespace vx
