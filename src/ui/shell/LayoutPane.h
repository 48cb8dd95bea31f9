#pragma once
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
    LayoutPane(wxWindow* parent, CLayoutSetting* layout);

    /// The layout shown; the pane follows a reloaded layout.
    void SetLayout(CLayoutSetting* layout);
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

    CGPView mView;
    ViewPainter mPainter;
    PaintResult mLastPaint = PaintResult::Busy;
};

}  // namespace vx
