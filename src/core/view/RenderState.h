#pragma once
#include <cstdint>

#include "view/RenderContext.h"
#include "view/ViewGeometry.h"

namespace vx {

namespace gfx {
class Canvas;
}

/// Drawing modes of a pass.
enum DrawMode : int {
    kDrawScreen = 1,
    kDrawPrinter = 2,
    kDrawPreview = 3,
    kDrawTemplatePreview = 4,
    kDrawPreviewPane = 5,
};

/// The state of the running draw pass and the render lock, kept once per process
/// (InstallRenderState). Between passes the mode is the screen and everything else is
/// empty. User-interface thread only.
class RenderState : public RenderContext {
public:
    /// Takes the lock for owner when it is free. The owner is not compared: a holder
    /// that asks again finds it taken. Nothing else runs on this thread while it is held,
    /// so a held lock is never waited for here.
    bool Acquire(int owner, bool wait) override;
    /// Frees the lock, whoever holds it.
    void Release() override;
    int LockOwner() const { return mLockOwner; }

    /// Starts a pass: scales are pixels per unit times the geometry's zoom; the failure
    /// flag is cleared.
    void Begin(gfx::Canvas* canvas, ViewGeometry* geometry, CLayoutSetting* layout, double xPerUnit,
               double yPerUnit, int mode);
    /// Ends the pass.
    void Reset();

    gfx::Canvas* GetCanvas() const { return mCanvas; }
    ViewGeometry* GetGeometry() const { return mGeometry; }
    CLayoutSetting* GetLayoutSetting() const override { return mLayout; }
    double GetScaleX() const override { return mScaleX; }
    double GetScaleY() const override { return mScaleY; }
    int GetMode() const { return mMode; }
    bool IsPrinting() const override { return mMode == kDrawPrinter; }
    bool ImageFailed() const { return mImageFailed; }
    void MarkBitmapDrawn(bool flag) override { mImageFailed = flag; }
    /// The owner of the pass's geometry; without a pass, the active layout view.
    LayoutView* GetView() const;

    /// A canvas and geometry lent to hit tests and trackers outside a paint.
    void SetCached(gfx::Canvas* canvas, ViewGeometry* geometry);
    void ClearCached() { SetCached(nullptr, nullptr); }
    gfx::Canvas* GetCachedCanvas() const { return mCachedCanvas; }
    ViewGeometry* GetCachedGeometry() const { return mCachedGeometry; }

    /// The page (from 0) of the item's draw origin: its y over the paper height of the
    /// pass's layout, else of the open layout; 0 without a layout or paper height.
    int GetItemPage(const CLayoutObj& item) const;
    int32_t GetItemPageTop(const CLayoutObj& item) const override;
    PixelPoint GetPageOrigin() const override;
    PixelRect PageToDeviceRect(const PixelRect& rect) const override;
    PixelPoint PageToDevicePoint(PixelPoint point) const;

private:
    const CLayoutSetting* PageLayout() const;

    gfx::Canvas* mCanvas = nullptr;
    ViewGeometry* mGeometry = nullptr;
    CLayoutSetting* mLayout = nullptr;
    double mScaleX = 0;
    double mScaleY = 0;
    int mMode = kDrawScreen;
    int mLockOwner = 0;
    bool mImageFailed = false;
    gfx::Canvas* mCachedCanvas = nullptr;
    ViewGeometry* mCachedGeometry = nullptr;
};

/// The process's render state, installed as HostService<RenderContext> on first use.
RenderState& InstallRenderState();

}  // namespace vx
