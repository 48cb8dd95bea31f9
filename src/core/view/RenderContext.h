#pragma once
#include <cstdint>

#include "host/LayoutView.h"

namespace vx {

class CLayoutObj;
class CLayoutSetting;

/// Render-lock owners.
enum RenderOwner : int { kRenderScreen = 1, kRenderPrinting = 2, kRenderPreviewPane = 5 };

/// The state of the draw pass that is running, as the drawers of items read it, and the
/// render lock that keeps a screen paint out of a print job. Implemented by the view.
class RenderContext {
public:
    virtual ~RenderContext() = default;

    /// Takes the render lock for owner when nobody holds it; with wait false, returns
    /// false at once when it is held.
    virtual bool Acquire(int owner, bool wait) = 0;
    /// Clears the lock's owner.
    virtual void Release() = 0;

    /// The layout of the pass.
    virtual CLayoutSetting* GetLayoutSetting() const = 0;
    /// y of the top of the item's page, in layout units.
    virtual int32_t GetItemPageTop(const CLayoutObj& item) const = 0;
    /// The page origin in device pixels ((0, 0) when printing).
    virtual PixelPoint GetPageOrigin() const = 0;
    /// Device pixels per layout unit, times the zoom of the pass.
    virtual double GetScaleX() const = 0;
    virtual double GetScaleY() const = 0;
    /// Whether the pass prints (drawing mode 2).
    virtual bool IsPrinting() const = 0;
    /// Stores the pass's bitmap flag; drawers set it when a drawing call failed.
    virtual void MarkBitmapDrawn(bool flag) = 0;
    /// rect in device pixels of the pass: unchanged on screen, less the printer's
    /// offsets when printing.
    virtual PixelRect PageToDeviceRect(const PixelRect& rect) const = 0;
};

}  // namespace vx
