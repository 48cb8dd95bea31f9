#include "app/ScreenMetrics.h"

namespace vx {

ScreenMetrics ScreenMetrics::FromSystem(int edge, int frame, int scrollBar) {
    ScreenMetrics metrics;
    if (edge >= 0) metrics.edge = edge;
    if (frame >= 0) metrics.frame = frame;
    if (scrollBar >= 0) metrics.scrollBar = scrollBar;
    return metrics;
}

}  // namespace vx
