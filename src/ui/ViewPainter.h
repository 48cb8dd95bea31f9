#pragma once
#include <optional>

#include <wx/dc.h>

#include "platform/gfx/ImageSurface.h"
#include "view/CGPView.h"
#include "view/RenderState.h"

class wxWindow;

namespace vx {

/// The paint binding of the layout view's window. Each paint draws the view into a
/// client surface kept between paints (made anew when the client size changes) and
/// copies it to the window once. While another pass holds the render lock, or when the
/// drawing failed, the window shows the button face; a failure also brings 10413, once
/// and after the paint, and not again until a paint has succeeded.
class ViewPainter {
public:
    ViewPainter(wxWindow& window, CGPView& view);

    /// Paints from the window's paint handler; viewport is the client area in logical
    /// (scrolled) coordinates.
    PaintResult Paint(wxDC& dc, const PixelRect& viewport);
    /// Draws only the rulers over the last paint and copies it to the window; a full
    /// paint when the last one was of another size.
    PaintResult PaintRulers(wxDC& dc, const PixelRect& viewport);
    /// Copies the last paint to the window again, with the overlay over it; a full
    /// paint when the last one was of another size.
    PaintResult PaintCached(wxDC& dc, const PixelRect& viewport);
    /// The rubber band (client pixels) drawn over every paint, or none.
    void SetBand(std::optional<PixelRect> band) { mBand = band; }
    /// What the last paint drew.
    const gfx::ImageSurface& Surface() const { return mSurface; }

private:
    wxWindow& mWindow;
    CGPView& mView;
    gfx::ImageSurface mSurface;
    bool mFailureShown = false;
    std::optional<PixelRect> mBand;

    // Draws the overlay on the window only: the kept picture stays clean for the next.
    void PaintOverlay(wxDC& dc) const;
};

/// Lets a waiting render lock run the user-interface events, a millisecond at a time.
class WxRenderWaitPort final : public RenderWaitPort {
public:
    std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
    void PumpEvents() override;
};

}  // namespace vx
