#include "view/LayoutViewCore.h"

#include <algorithm>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutLimits.h"
#include "model/LayoutOperations.h"
#include "model/ObjectList.h"
#include "model/PageChange.h"
#include "model/PageGeometry.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Ports.h"
#include "view/CGPView.h"

namespace vx {
namespace {

bool RulersShown() {
    ApplicationState* app = HostService<ApplicationState>();
    return app && app->Preferences().ruler != 0;
}

void ReadyStatus() { StatusBar().UpdateStatusText(kStatusReady); }

}  // namespace

CommandState PageCommandState(int commandId, const CLayoutSetting& layout, int currentPage) {
    CommandState state;
    const int count = GetPageCount(layout);
    switch (commandId) {
    case kCmdGoToPage: state.enabled = count > 1; break;
    case kCmdFirstPage: state.enabled = count > 1 && currentPage != 0; break;
    case kCmdPrevPage: state.enabled = currentPage > 0; break;
    case kCmdNextPage: state.enabled = currentPage + 1 < count; break;
    case kCmdLastPage: state.enabled = count > 1 && currentPage < count - 1; break;
    case kCmdInsertPageBefore:
    case kCmdInsertPageAfter:
        state.enabled = !layout.GetBanner() && layout.GetFree() && count < layout.GetPageMax() &&
                        ChooseInputResolution(layout, 1) > 90;
        break;
    case kCmdDeletePage: state.enabled = layout.GetFree() && count > 1 && !CurrentPageHasItems(layout); break;
    default: state.enabled = false; break;
    }
    return state;
}

LayoutViewCore::LayoutViewCore(CGPView& view, ViewWindowPort& window) : mView(view), mWindow(window) {}

void LayoutViewCore::OnInitialUpdate(CLayoutSetting* layout) {
    mLayout = layout;
    mView.Attach(this, layout);
    mScroll = {};
    mScrollZoom.reset();
    ZoomToFit();
    UpdateScrollSizes();
    Invalidate();
    ReadyStatus();
    ShowZoomInBar();
    if (!layout) return;
    if (Shell* shell = HostService<Shell>()) shell->SetViewCreating(false);

    // A new layout is unmodified; an image list imported or dropped right after its
    // creation is an edit, which pushes an undo snapshot first, and must keep the mark.
    ApplicationState* app = HostService<ApplicationState>();
    const uint64_t pushes = app ? app->GetUndoStore().PushCount() : 0;
    const int items = CountObjects(layout->ItemListHead());
    Shell* shell = HostService<Shell>();
    PrintSettingsPane* pane = shell ? shell->GetActivePrintSettingsPane() : nullptr;
    if (pane) pane->LoadDocumentSettings(*layout);
    mWindow.Post([this, layout, pushes, items, pane] {
        if (mLayout != layout) return;
        ApplicationState* state = HostService<ApplicationState>();
        if (state && state->GetUndoStore().PushCount() != pushes) return;
        if (CountObjects(layout->ItemListHead()) != items) return;
        Shell* current = HostService<Shell>();
        if (pane && current && current->GetActivePrintSettingsPane() == pane) pane->OnBindingSettled();
        layout->SetDirty(0);
    });
    mWindow.Post([this, layout] {
        if (mLayout == layout) ZoomFit();
    });
}

void LayoutViewCore::OnViewUpdate(const ViewUpdateHint& hint) {
    if (hint.rect) {
        mWindow.InvalidateClient(&*hint.rect);
        return;
    }
    switch (hint.code) {
    case kViewHintZoom: {
        const ZoomRatio zoom = Zoom();
        UpdateScrollSizes();
        if (mScrollZoom && *mScrollZoom != zoom)
            SetScroll(CentreKeptScroll(mScroll, mWindow.ClientSize(), *mScrollZoom, zoom, mSizes));
        mScrollZoom = zoom;
        Invalidate();
        ReadyStatus();
        break;
    }
    case kViewHintPageSize:
        UpdateScrollSizes();
        Invalidate();
        break;
    case kViewHintSelection: {
        if (!mLayout) break;
        CLayoutObj* item = mLayout->GetCurrentItem();
        if (item) {
            SetupObjectTracker(*item);
            Invalidate();
        }
        UpdateImageInfoWindow(item && mLayout->GetSelected() == 1 ? item : nullptr);
        break;
    }
    default: break;
    }
}

Viewport LayoutViewCore::CurrentViewport() const {
    Viewport v;
    v.client = mWindow.ClientSize();
    v.scroll = mScroll;
    v.pixelsPerInch = mWindow.PixelsPerInch();
    v.rulers = RulersShown();
    v.metrics = mWindow.Metrics();
    return v;
}

ZoomRatio LayoutViewCore::Zoom() const {
    const ViewStateBlock* block = mLayout ? mLayout->GetViewState() : nullptr;
    if (!block || block->zoomNumerator <= 0 || block->zoomDenominator <= 0) return {1, 1};
    return {block->zoomNumerator, block->zoomDenominator};
}

int LayoutViewCore::PageCount() const { return mLayout ? GetPageCount(*mLayout) : 1; }

void LayoutViewCore::UpdateScrollSizes() {
    mSizes = mLayout ? ScrollSizesFor(CurrentViewport(), GetPageRect()) : ScrollSizes{};
    mScroll = ClampScroll(mScroll, mWindow.ClientSize(), mSizes);
    mWindow.ShowScrollBars(mSizes, mScroll);
}

void LayoutViewCore::SetScroll(PixelPoint position) {
    mScroll = ClampScroll(position, mWindow.ClientSize(), mSizes);
    mWindow.ShowScrollBars(mSizes, mScroll);
}

void LayoutViewCore::ApplyZoom(ZoomRatio ratio) {
    ViewStateBlock* block = mLayout ? mLayout->GetViewState() : nullptr;
    if (!block) return;
    block->previousZoomNumerator = block->zoomNumerator;
    block->previousZoomDenominator = block->zoomDenominator;
    block->zoomNumerator = ratio.numerator;
    block->zoomDenominator = ratio.denominator;
    mWindow.SetRedraw(false);
    OnViewUpdate({kViewHintZoom, std::nullopt});
    mWindow.SetRedraw(true);
    Invalidate();
}

void LayoutViewCore::ShowZoomInBar() {
    ToolWindows* tools = HostService<ToolWindows>();
    if (!tools || !mLayout) return;
    const ZoomRatio z = Zoom();
    tools->SetZoom(z.numerator, z.denominator);
}

void LayoutViewCore::ZoomInStep() {
    if (std::optional<ZoomRatio> step = ZoomInStepRatio(Zoom())) ApplyZoom(*step);
}

void LayoutViewCore::ZoomOutStep() {
    if (!mLayout) return;
    if (std::optional<ZoomRatio> step = ZoomOutStepRatio(Zoom(), mLayout->GetPaper().y, mWindow.Metrics()))
        ApplyZoom(*step);
}

void LayoutViewCore::ZoomToFit() {
    if (!mLayout) return;
    if (std::optional<ZoomRatio> fit = FitZoomRatio(CurrentViewport(), mLayout->GetPaper())) ApplyZoom(*fit);
}

bool LayoutViewCore::SetZoom(int32_t numerator, int32_t denominator) {
    if (numerator <= 0 || denominator <= 0) return false;
    ApplyZoom({numerator, denominator});
    return true;
}

void LayoutViewCore::ZoomIn() {
    ZoomInStep();
    ShowZoomInBar();
}

void LayoutViewCore::ZoomOut() {
    ZoomOutStep();
    ShowZoomInBar();
}

void LayoutViewCore::ZoomFit() {
    ZoomToFit();
    ShowZoomInBar();
}

void LayoutViewCore::OnSize() {
    UpdateScrollSizes();
    Invalidate();
}

void LayoutViewCore::OnScroll(bool vertical, ScrollAction action, int trackPosition) {
    int pos = vertical ? mScroll.y : mScroll.x;
    const int line = vertical ? mSizes.line.y : mSizes.line.x;
    const int page = vertical ? mSizes.page.y : mSizes.page.x;
    switch (action) {
    case ScrollAction::LineUp: pos -= line; break;
    case ScrollAction::LineDown: pos += line; break;
    case ScrollAction::PageUp: pos -= page; break;
    case ScrollAction::PageDown: pos += page; break;
    case ScrollAction::Track: pos = trackPosition; break;
    case ScrollAction::Other: break;
    }
    PixelPoint next = mScroll;
    (vertical ? next.y : next.x) = pos;
    SetScroll(next);
    Invalidate();
    ReadyStatus();
}

void LayoutViewCore::OnWheel(int delta, bool ctrl) {
    if (ctrl && delta != 0) {
        for (int steps = mWheel.Zoom(delta); steps != 0; steps += steps > 0 ? -1 : 1) {
            if (steps > 0) ZoomIn();
            else ZoomOut();
        }
        return;
    }
    if (mSizes.total.y <= 0) return;
    const int pixels = mWheel.Scroll(delta);
    if (pixels == 0) return;
    SetScroll({mScroll.x, mScroll.y + pixels});
    Invalidate();
    ReadyStatus();
    Update();
}

void LayoutViewCore::OnMouseMove(PixelPoint client) {
    if (!RulersShown()) return;
    mView.rulerPointer = ClientToDoc(CurrentViewport(), client);
    const PixelPoint size = mWindow.ClientSize();
    mWindow.InvalidateRulerBands({0, 0, size.x, kRulerBand}, {0, 0, kRulerBand, size.y});
}

LayoutRect LayoutViewCore::GetVisibleOrigin() const {
    if (!mLayout) return {};
    return VisiblePaperRect(CurrentViewport(), mLayout->GetPaper(), Zoom());
}

int LayoutViewCore::GetCurrentPage() const { return mView.GetCurrentPage(); }

void LayoutViewCore::SetCurrentPage(int index) {
    mView.SetCurrentPage(std::clamp(index, 0, PageCount() - 1));
    PageMoved();
}

void LayoutViewCore::PageMoved() {
    Invalidate();
    ReadyStatus();
}

void LayoutViewCore::NextPage() {
    mView.SetCurrentPage(std::clamp(mView.GetCurrentPage() + 1, 0, PageCount() - 1));
    PageMoved();
}

void LayoutViewCore::PrevPage() {
    mView.SetCurrentPage(std::clamp(mView.GetCurrentPage() - 1, 0, PageCount() - 1));
    PageMoved();
}

PixelRect LayoutViewCore::ClientToDocRect() const {
    const PixelPoint size = mWindow.ClientSize();
    return ClientToDoc(CurrentViewport(), PixelRect{0, 0, size.x, size.y});
}

ViewPageRect LayoutViewCore::GetPageRect() const {
    if (!mLayout) return {};
    return PageRectAt(CurrentViewport(), mLayout->GetPaper(), Zoom());
}

PixelPoint LayoutViewCore::GetPixelsPerInch() const { return mWindow.PixelsPerInch(); }

void LayoutViewCore::ScrollTo(PixelPoint logical) {
    SetScroll(logical);
    Invalidate();
}

void LayoutViewCore::Invalidate() { mWindow.InvalidateClient(nullptr); }

void LayoutViewCore::Update() { mWindow.PaintNow(); }

// The selection tracker comes with mouse editing; until then the redraw shows the
// selection.
void LayoutViewCore::SetupObjectTracker(const CLayoutObj& item) {
    PixelRect area;
    mView.SetupObjectTracker(item, &area);
    mWindow.InvalidateClient(&area);
}

void LayoutViewCore::OnCommand(int commandId) {
    if (!mLayout) return;
    if (EditCommands::Handles(commandId)) {
        mEdit.OnCommand(commandId);
        return;
    }
    if (commandId == CGPView::kCommandFilePrintDirect) {
        mView.DoPrintJob();
        return;
    }
    CommandState state;
    switch (commandId) {
    case kCmdViewZoomIn: ZoomIn(); return;
    case kCmdViewZoomOut: ZoomOut(); return;
    case kCmdViewZoomFit: ZoomFit(); return;
    default: break;
    }
    // Menus and keys reach here only while enabled, but a stale menu must not act.
    OnUpdateCommand(commandId, state);
    if (!state.enabled) return;
    const int count = PageCount();
    switch (commandId) {
    case kCmdFirstPage: SetCurrentPage(0); break;
    case kCmdLastPage: SetCurrentPage(count - 1); break;
    case kCmdNextPage: NextPage(); break;
    case kCmdPrevPage: PrevPage(); break;
    case kCmdGoToPage:
        if (std::optional<int> page = mWindow.AskPageNumber(GetCurrentPage() + 1, count)) SetCurrentPage(*page - 1);
        break;
    case kCmdInsertPageBefore:
    case kCmdInsertPageAfter:
    case kCmdDeletePage: {
        ApplicationState* app = HostService<ApplicationState>();
        if (!app) return;
        const bool insert = commandId != kCmdDeletePage;
        ShiftObjectsForPageChange(app->GetUndoStore(), *mLayout, insert, commandId != kCmdInsertPageAfter);
        Invalidate();
        break;
    }
    default: break;
    }
}

void LayoutViewCore::OnUpdateCommand(int commandId, CommandState& state) {
    if (!mLayout) {
        state.enabled = false;
        return;
    }
    if (EditCommands::Handles(commandId)) {
        state = mEdit.State(commandId);
        return;
    }
    if (commandId == kCmdViewZoomIn || commandId == kCmdViewZoomOut || commandId == kCmdViewZoomFit) {
        state.enabled = true;
        return;
    }
    state = PageCommandState(commandId, *mLayout, GetCurrentPage());
}

DibBufferPtr LayoutViewCore::DrawPageOffscreen(int mode, const ViewGeometry& geometry) {
    return mView.DrawPageOffscreen(mode, geometry);
}

}  // namespace vx
