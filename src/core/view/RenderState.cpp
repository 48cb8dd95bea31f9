#include "view/RenderState.h"

#include <thread>
#include <utility>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"

namespace vx {

namespace {

/// Without a window: the time, and a millisecond's sleep.
class PlainWaitPort : public RenderWaitPort {
public:
    std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
    void PumpEvents() override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
};

}  // namespace

RenderWaitPort* RenderState::SetWaitPort(RenderWaitPort* port) { return std::exchange(mWaitPort, port); }

bool RenderState::Acquire(int owner, bool wait) {
    if (mLockOwner != 0 && wait) {
        static PlainWaitPort plain;
        RenderWaitPort& port = mWaitPort ? *mWaitPort : plain;
        const auto start = port.Now();
        while (mLockOwner != 0) {
            if (port.Now() - start >= kWaitLimit) return false;
            port.PumpEvents();
        }
    }
    if (mLockOwner != 0) return false;
    mLockOwner = owner;
    return true;
}

void RenderState::Release() { mLockOwner = 0; }

void RenderState::Begin(gfx::Canvas* canvas, ViewGeometry* geometry, CLayoutSetting* layout, double xPerUnit,
                        double yPerUnit, int mode) {
    mCanvas = canvas;
    mGeometry = geometry;
    mLayout = layout;
    const double zoom = geometry ? geometry->zoom : 1.0;
    mScaleX = xPerUnit * zoom;
    mScaleY = yPerUnit * zoom;
    mMode = mode;
    mImageFailed = false;
}

void RenderState::Reset() {
    mCanvas = nullptr;
    mGeometry = nullptr;
    mLayout = nullptr;
    mScaleX = mScaleY = 0;
    mMode = kDrawScreen;
    mImageFailed = false;
}

LayoutView* RenderState::GetView() const {
    if (mGeometry) return mGeometry->owner;
    Shell* shell = HostService<Shell>();
    return shell ? shell->GetLayoutView() : nullptr;
}

void RenderState::SetCached(gfx::Canvas* canvas, ViewGeometry* geometry) {
    mCachedCanvas = canvas;
    mCachedGeometry = geometry;
}

const CLayoutSetting* RenderState::PageLayout() const {
    if (mLayout) return mLayout;
    ApplicationState* app = HostService<ApplicationState>();
    return app ? app->ActiveLayoutSlot() : nullptr;
}

int RenderState::GetItemPage(const CLayoutObj& item) const {
    const CLayoutSetting* layout = PageLayout();
    if (!layout) return 0;
    const int32_t height = GetPaperSize(*layout).y;
    // A paper without height would divide by zero: everything is on the first page.
    if (height <= 0) return 0;
    return GetItemDrawOrigin(item).y / height;
}

int32_t RenderState::GetItemPageTop(const CLayoutObj& item) const {
    const CLayoutSetting* layout = PageLayout();
    if (!layout) return 0;
    return int32_t(int64_t(GetItemPage(item)) * GetPaperSize(*layout).y);
}

PixelPoint RenderState::GetPageOrigin() const {
    if (IsPrinting() || !mGeometry) return {};
    return mGeometry->offset;
}

PixelRect RenderState::PageToDeviceRect(const PixelRect& rect) const {
    const PixelPoint a = PageToDevicePoint({rect.left, rect.top});
    const PixelPoint b = PageToDevicePoint({rect.right, rect.bottom});
    return {a.x, a.y, b.x, b.y};
}

PixelPoint RenderState::PageToDevicePoint(PixelPoint p) const {
    if (!IsPrinting() || !mGeometry) return p;
    if (mLayout && mLayout->GetBanner()) {
        // Banner pages are bands along one strip: the band's origin moves to 0.
        if (mLayout->GetPaperOrient()) p.x -= mGeometry->band.left;
        else p.y -= mGeometry->band.top;
    }
    p.x -= mGeometry->printerOffset.x;
    p.y -= mGeometry->printerOffset.y;
    return p;
}

RenderState& InstallRenderState() {
    static RenderState state;
    if (HostService<RenderContext>() != &state) InstallHostService<RenderContext>(&state);
    return state;
}

}  // namespace vx
