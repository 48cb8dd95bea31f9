#include "ui/shell/LayoutPane.h"

#include "host/ApplicationState.h"
#include "host/HostService.h"

namespace vx {

LayoutPane::LayoutPane(wxWindow* parent, std::function<CLayoutSetting*()> source)
    : CGPViewWindow(parent), mSource(std::move(source)) {
    // The document's layout may come after the window: a paint takes it up.
    Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
        Sync();
        View().UpdateFrameTitle();
        event.Skip();
    });
    Sync();
}

void LayoutPane::Sync() {
    CLayoutSetting* layout = mSource ? mSource() : nullptr;
    if (ApplicationState* app = HostService<ApplicationState>(); app && layout) app->ActiveLayoutSlot() = layout;
    if (layout != Core().LayoutSetting()) OnInitialUpdate(layout);
}

}  // namespace vx
