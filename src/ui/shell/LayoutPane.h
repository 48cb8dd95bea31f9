#pragma once
#include <functional>

#include "host/LayoutView.h"
#include "ui/view/CGPViewWindow.h"

namespace vx {

class CLayoutSetting;

/// The layout window's right pane: the layout view's window, following the document's
/// layout, answering for the layout view.
class LayoutPane : public CGPViewWindow, public LayoutView {
public:
    /// source answers the document's layout as it stands (it comes after the window, and
    /// a reload replaces it).
    LayoutPane(wxWindow* parent, std::function<CLayoutSetting*()> source);

    /// Takes the document's layout when it changed, and makes it the active layout.
    void Sync();

    int GetCurrentPage() const override { return Core().GetCurrentPage(); }
    void SetCurrentPage(int index) override { Core().SetCurrentPage(index); }
    PixelRect ClientToDocRect() const override { return Core().ClientToDocRect(); }
    ViewPageRect GetPageRect() const override { return Core().GetPageRect(); }
    PixelPoint GetPixelsPerInch() const override { return Core().GetPixelsPerInch(); }
    void ScrollTo(PixelPoint logical) override { Core().ScrollTo(logical); }
    void Invalidate() override { Core().Invalidate(); }
    void Update() override { Core().Update(); }
    void SetupObjectTracker(const CLayoutObj& item) override { Core().SetupObjectTracker(item); }
    LayoutViewCommands* Commands() override { return &Core(); }

private:
    std::function<CLayoutSetting*()> mSource;
};

}  // namespace vx
