#pragma once
#include <functional>

#include <wx/window.h>

#include "host/LayoutView.h"
#include "ui/ViewPainter.h"
#include "view/CGPView.h"

namespace vx {

class CLayoutSetting;

/// The layout window's right pane until the scrolled view window takes its place: a
/// plain window that paints the shown page at the layout's zoom (1/1 without one),
/// answering for the layout view.
class LayoutPane : public wxWindow, public LayoutView {
public:
    /// source answers the document's layout as it stands (it comes after the window, and
    /// a reload replaces it).
    LayoutPane(wxWindow* parent, std::function<CLayoutSetting*()> source);

    /// Takes the document's layout when it changed, and makes it the active layout.
    void Sync();
    CGPView& View() { return mView; }

    int GetCurrentPage() const override { return mView.GetCurrentPage(); }
    void SetCurrentPage(int index) override;
    PixelRect ClientToDocRect() const override;
    ViewPageRect GetPageRect() const override;
    PixelPoint GetPixelsPerInch() const override;
    void ScrollTo(PixelPoint) override {}
    void Invalidate() override { Refresh(false); }
    void Update() override { wxWindow::Update(); }
    void SetupObjectTracker(const CLayoutObj&) override {}

    /// What the last paint drew.
    PaintResult LastPaint() const { return mLastPaint; }

private:
    void OnPaint(wxPaintEvent& event);

    std::function<CLayoutSetting*()> mSource;
    CGPView mView;
    ViewPainter mPainter;
    PaintResult mLastPaint = PaintResult::Busy;
};

}  // namespace vx
