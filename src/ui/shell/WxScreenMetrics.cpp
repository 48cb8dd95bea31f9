#include "ui/shell/WxScreenMetrics.h"

#include <wx/settings.h>

namespace vx {

ScreenMetrics CurrentScreenMetrics() {
    return ScreenMetrics::FromSystem(wxSystemSettings::GetMetric(wxSYS_EDGE_X),
                                     wxSystemSettings::GetMetric(wxSYS_FRAMESIZE_X),
                                     wxSystemSettings::GetMetric(wxSYS_VSCROLL_X));
}

}  // namespace vx
