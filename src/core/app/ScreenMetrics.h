#pragma once
#include <cstdint>

namespace vx {

/// The system metrics that window sizes are built from, in pixels.
struct ScreenMetrics {
    int32_t edge = 2;        // a sunken edge
    int32_t frame = 4;       // a sizing frame
    int32_t scrollBar = 17;  // width of a vertical scroll bar

    /// Metrics as the toolkit answers them; an answer below 0 (GTK without a realised
    /// window) takes the default.
    static ScreenMetrics FromSystem(int edge, int frame, int scrollBar);

    /// Width the layout window's left pane opens with: 332 + scroll bar + two edges.
    int32_t LeftPaneWidth() const { return 332 + scrollBar + 2 * edge; }
};

}  // namespace vx
