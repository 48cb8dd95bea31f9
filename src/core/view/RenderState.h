#pragma once
#include <chrono>
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

/// What a waiting Acquire needs of the outside: the time, and letting the user-interface
/// events run while it waits (a paint, a Cancel button). The window side installs one
/// that pumps events; tests install a clock of their own.
class RenderWaitPort {
public:
    virtual ~RenderWaitPort() = default;
    virtual std::chrono::steady_clock::time_point Now() = 0;
    /// Runs the waiting events, then sleeps about a millisecond.
    virtual void PumpEvents() = 0;
};

/// The state of the running draw pass and the render lock, kept once per process
/// (InstallRenderState). Between passes the mode is the screen and everything else is
/// empty. User-interface thread only.
class RenderState : public RenderContext {
public:
    /// How long a waiting Acquire waits for a holder before it gives up.
    static constexpr std::chrono::seconds kWaitLimit{10};

    /// Takes the lock for owner when it is free. The owner is not compared: a holder
    /// that asks again finds it taken. With wait, the events keep running (the holder
    /// is on this thread too) until the lock is free, for at most kWaitLimit: a holder
    /// that leaked it would otherwise hang the program; false then.
    bool Acquire(int owner, bool wait) override;
    /// Frees the lock, whoever holds it.
    void Release() override;
    int LockOwner() const { return mLockOwner; }
    /// Installs the port a waiting Acquire uses (null: the steady clock, no events);
    /// returns the previous one.
    RenderWaitPort* SetWaitPort(RenderWaitPort* port);

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
    RenderWaitPort* mWaitPort = nullptr;
    gfx::Canvas* mCachedCanvas = nullptr;
    ViewGeometry* mCachedGeometry = nullptr;
};

/// Holds the render lock for a scope when it could be taken.
class RenderLockGuard {
public:
    RenderLockGuard(RenderState& state, int owner, bool wait) : mState(state), mHeld(state.Acquire(owner, wait)) {}
    ~RenderLockGuard() {
        if (mHeld) mState.Release();
    }
    RenderLockGuard(const RenderLockGuard&) = delete;
    RenderLockGuard& operator=(const RenderLockGuard&) = delete;
    bool Held() const { return mHeld; }

private:
    RenderState& mState;
    bool mHeld;
};

/// The process's render state, installed as HostService<RenderContext> on first use.
RenderState& InstallRenderState();

}  // namespace vx
