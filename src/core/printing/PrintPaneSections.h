#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace vx {

/// The controls of the print-settings pane whose places the sections decide, in the
/// order their rectangles are captured at first show.
enum PrintPaneControl : int {
    kPaneSection1Button,  // 3781
    kPaneSection1Title,   // 3786
    kPanePrinterLabel,
    kPanePrinterCombo,
    kPaneSourceLabel,
    kPaneSourceCombo,
    kPanePaperLabel,
    kPanePaperCombo,
    kPaneLengthValue,  // 3905
    kPaneLengthSpin,   // 3878
    kPaneUnitCombo,    // 3614
    kPaneLengthGroup,  // 3876
    kPaneMediaLabel,
    kPaneMediaCombo,
    kPaneOrientationLabel,
    kPanePortrait,   // 3784
    kPaneLandscape,  // 3785
    kPaneMorePrint,  // 1039
    kPaneSeparator1,      // 3793
    kPaneSection2Button,  // 3782
    kPaneSection2Title,   // 3787
    kPaneProfileLabel,
    kPaneProfileCombo,  // 1221
    kPaneMoreColour,    // 1041
    kPaneSeparator2,      // 3794
    kPaneSection3Button,  // 3783
    kPaneSection3Title,   // 3788
    kPaneTemplateList,    // 3791
    kPanePencilNote,      // 3918
    kPaneControlCount
};

struct PaneRect {
    int x = 0, y = 0, width = 0, height = 0;
    int Bottom() const { return y + height; }
    bool operator==(const PaneRect&) const = default;
};

struct PanePlace {
    int x = 0, y = 0;
    bool visible = true;
    bool operator==(const PanePlace&) const = default;
};

struct PaneMetrics {
    int clientHeight = 0;
    int edgeWidth = 2;         // the system's 3-D edge
    int scrollBarHeight = 16;  // of the horizontal bar, added below the last control
};

struct PaneArrangement {
    std::array<PanePlace, kPaneControlCount> places{};
    int scrollWidth = 0;
    int scrollHeight = 0;  // 0: the pane is tall enough to need no scrolling
};

/// Where each control goes for the three sections' states (true: expanded), in pixels of
/// the pane: open sections keep the captured layout, closed ones fold to 25 pixels and
/// hide their controls. Sizes never change.
PaneArrangement ArrangeSections(const std::array<PaneRect, kPaneControlCount>& captured,
                                const std::array<bool, 3>& expanded, const PaneMetrics& metrics);

/// The roll length in 1/10 mm as the length field shows it: "%.2f" mm for unit item 0,
/// else "%.3f" inches.
std::string RollLengthNumber(int32_t bannerLength, int unitItem);

}  // namespace vx
