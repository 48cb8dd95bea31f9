#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "host/LayoutView.h"
#include "view/EditCommands.h"
#include "view/LayoutViewCommands.h"
#include "view/ViewZoom.h"

namespace vx {

class CGPView;
class CLayoutSetting;

/// Command ids of the layout view's zoom and page commands.
enum ViewCommand : int {
    kCmdViewZoomIn = 33300,
    kCmdViewZoomOut = 33301,
    kCmdViewZoomFit = 33302,
    kCmdFirstPage = 33305,
    kCmdPrevPage = 33306,
    kCmdNextPage = 33307,
    kCmdLastPage = 33308,
    kCmdGoToPage = 33313,
    kCmdInsertPageBefore = 32863,
    kCmdInsertPageAfter = 32865,
    kCmdDeletePage = 32867,
};

/// Scroll-bar actions, as the window reports them.
enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, Track, Other };

/// What the view logic asks of its window.
class ViewWindowPort {
public:
    virtual ~ViewWindowPort() = default;
    virtual PixelPoint ClientSize() const = 0;
    virtual PixelPoint PixelsPerInch() const = 0;
    virtual FitMetrics Metrics() const = 0;
    /// Off while a zoom recomputes the scroll position, so that nothing shows between.
    virtual void SetRedraw(bool on) = 0;
    /// Marks the rectangle (client pixels) for repainting; null: the whole client area.
    virtual void InvalidateClient(const PixelRect* rect) = 0;
    /// Marks only the two ruler bands: the rest of the last paint is still good.
    virtual void InvalidateRulerBands(const PixelRect& top, const PixelRect& left) = 0;
    /// Paints what is invalid now.
    virtual void PaintNow() = 0;
    /// Shows the scroll bars for the sizes at the position.
    virtual void ShowScrollBars(const ScrollSizes& sizes, PixelPoint position) = 0;
    /// Runs task once the events waiting now have been handled.
    virtual void Post(std::function<void()> task) = 0;
    /// The go-to-page dialog: the page number (from 1) chosen, nullopt on Cancel.
    virtual std::optional<int> AskPageNumber(int currentPage, int pageCount) = 0;
    /// Posts a command to the main frame, which runs it once this event is done.
    virtual void PostFrameCommand(int commandId) { (void)commandId; }
};

/// The state of one command by the page rules: navigation by the current page and the
/// count, insert only in a free, non-banner layout below `mPageMax` while one more page
/// keeps printing above 90 pixels per inch, delete only on an empty page of several.
CommandState PageCommandState(int commandId, const CLayoutSetting& layout, int currentPage);

/// The logic of the layout view's window: zoom, scrolling, page placement, page
/// navigation and page commands, update hints, the wheel and the rulers' mouse marks.
/// The window owns it with the drawing core and forwards its events; it answers core
/// code as the LayoutView and takes the forwarded commands.
class LayoutViewCore : public LayoutView, public LayoutViewCommands {
public:
    LayoutViewCore(CGPView& view, ViewWindowPort& window);

    /// Takes the document's layout, fits the page, shows the zoom in the bar, and
    /// posts a second fit (the window has its final size then) and the clear of the
    /// new layout's modified mark, which an edit made before it cancels.
    void OnInitialUpdate(CLayoutSetting* layout);
    /// The document's update of its views.
    void OnViewUpdate(const ViewUpdateHint& hint) override;

    void OnSize();
    void OnScroll(bool vertical, ScrollAction action, int trackPosition);
    /// A turn of the vertical wheel: scrolls, or with Ctrl zooms.
    void OnWheel(int delta, bool ctrl);
    /// The pointer moved to a client point: the ruler marks follow it.
    void OnMouseMove(PixelPoint client);

    /// Applies a ratio from the bar; every positive ratio is taken.
    bool SetZoom(int32_t numerator, int32_t denominator) override;
    /// The zoom commands: the step, then the ratio shown in the bar.
    void ZoomIn();
    void ZoomOut();
    void ZoomFit();
    void NextPage();
    void PrevPage();

    CLayoutSetting* LayoutSetting() const { return mLayout; }
    /// The edit, selection and key commands of the view.
    EditCommands& Edit() { return mEdit; }
    Viewport CurrentViewport() const;
    ScrollSizes Sizes() const { return mSizes; }
    PixelPoint ScrollPosition() const { return mScroll; }
    ZoomRatio Zoom() const;
    /// The part of the paper in view, in layout units from the page's top-left.
    LayoutRect GetVisibleOrigin() const;

    // LayoutView
    int GetCurrentPage() const override;
    void SetCurrentPage(int index) override;
    PixelRect ClientToDocRect() const override;
    ViewPageRect GetPageRect() const override;
    PixelPoint GetPixelsPerInch() const override;
    void ScrollTo(PixelPoint logical) override;
    void Invalidate() override;
    void Update() override;
    void SetupObjectTracker(const CLayoutObj& item) override;
    LayoutViewCommands* Commands() override { return this; }

    // LayoutViewCommands
    void OnCommand(int commandId) override;
    void OnUpdateCommand(int commandId, CommandState& state) override;
    void ZoomToFit() override;
    void ZoomInStep() override;
    void ZoomOutStep() override;
    DibBufferPtr DrawPageOffscreen(int mode, const ViewGeometry& geometry) override;

private:
    void ApplyZoom(ZoomRatio ratio);
    void UpdateScrollSizes();
    void SetScroll(PixelPoint position);
    void ShowZoomInBar();
    void PageMoved();
    int PageCount() const;

    CGPView& mView;
    ViewWindowPort& mWindow;
    CLayoutSetting* mLayout = nullptr;
    PixelPoint mScroll;
    ScrollSizes mSizes;
    // The zoom the scroll position was computed for: a later update of the layout at
    // the same zoom keeps the position.
    std::optional<ZoomRatio> mScrollZoom;
    WheelAccumulator mWheel;
    EditCommands mEdit{*this, mView, mWindow};
};

}  // namespace vx
