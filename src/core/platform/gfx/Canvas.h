#pragma once
#include <map>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include "platform/gfx/CairoHandles.h"
#include "platform/gfx/Colour.h"
#include "platform/gfx/Geom.h"
#include "platform/gfx/Path.h"
#include "platform/gfx/Pen.h"
#include "platform/gfx/TextFormat.h"

namespace vx::gfx {

class Picture;
class LazyImage;

struct RectD {
    double x = 0, y = 0, w = 0, h = 0;
};

/// Nearest on screen; good (smoothed) when printing and for preview pictures, where
/// picked pixels make moiré.
enum class Filter { Nearest, Good };

/// Takes the lazy pictures drawn on a canvas in place of its cairo target: a page writer
/// that writes pictures itself. toDevice maps picture pixels to the target's device
/// space; clip is the clip's bounding box there.
class PictureSink {
public:
    virtual void TakePicture(LazyImage& image, const cairo_matrix_t& toDevice, const RectD& clip, Filter filter) = 0;

protected:
    ~PictureSink() = default;
};

/// Drawing on one cairo context: an image surface, a PDF page or a window. Coordinates
/// are user units (device pixels until the caller transforms). Strokes follow GDI+
/// pixel placement: a 1-pixel line at x covers pixel column x. Errors stay in the cairo
/// context (Ok()). Text: grey anti-aliasing, no hinting, so widths scale linearly.
class Canvas {
public:
    /// Draws on target (referenced).
    Canvas(cairo_surface_t* target, double pixelsPerInch);
    /// Draws through cr (referenced), as a window's paint hands it out.
    Canvas(cairo_t* cr, double pixelsPerInch);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Native() const { return mCr.get(); }
    double PixelsPerInch() const { return mPixelsPerInch; }
    bool Ok() const { return cairo_status(mCr.get()) == CAIRO_STATUS_SUCCESS; }

    void SetAntialias(bool on);
    bool Antialias() const { return mAntialias; }

    /// Save and restore transform and clip.
    void Save() { cairo_save(mCr.get()); }
    void Restore() { cairo_restore(mCr.get()); }
    void Translate(double dx, double dy) { cairo_translate(mCr.get(), dx, dy); }
    /// Turns by degrees (clockwise on screen) about (cx, cy).
    void RotateAbout(double cx, double cy, double degrees);
    void Scale(double sx, double sy) { cairo_scale(mCr.get(), sx, sy); }
    void ResetTransform() { cairo_identity_matrix(mCr.get()); }

    void ClipRect(const RectD& r);
    void ClipPolygon(const geom::Polygon& polygon);
    void ResetClip() { cairo_reset_clip(mCr.get()); }

    /// Fills the whole target (inside the clip), replacing what is there.
    void Clear(Rgba colour);
    void FillRect(const RectD& r, Rgba colour);
    void FillPath(const Path& path, Rgba colour, bool evenOdd = false);
    void FillPolygon(const geom::Polygon& polygon, Rgba colour);
    /// Fills outer XOR inner: the band between them when inner lies inside.
    void FillXorBand(const RectD& outer, const RectD& inner, Rgba colour);

    /// GDI+ DrawRectangle: a 1-pixel pen covers columns x and x + w, rows y and y + h.
    void StrokeRect(const RectD& r, const Pen& pen);
    void DrawLine(double x1, double y1, double x2, double y2, const Pen& pen);
    void StrokePath(const Path& path, const Pen& pen);

    /// Draws the source rectangle of the picture into the destination rectangle.
    void DrawPicture(const Picture& picture, const RectD& source, const RectD& destination, Filter filter);
    /// Draws the source rectangle of an image surface (a rendered page) into the
    /// destination; with Filter::Good a reduction averages, as a preview picture needs.
    void DrawSurface(cairo_surface_t* surface, const RectD& source, const RectD& destination, Filter filter);
    /// Draws a lazy picture whole into the destination; it is read when cairo needs it.
    void DrawLazyImage(LazyImage& image, const RectD& destination, Filter filter);

    /// Draws text (UTF-8, '\n' or "\r\n" between lines) in box, clipped to the box.
    void DrawText(std::string_view text, const Font& font, const TextFormat& format, const RectD& box,
                  Rgba colour);
    /// The extent the same layout has; a box side of 0 means no limit on that side.
    TextExtent MeasureText(std::string_view text, const Font& font, const TextFormat& format,
                           const RectD& box = {});
    /// Ascent plus descent of the font, in pixels (GDI+ GetHeight).
    double LineSpacing(const Font& font);

    /// Records each text, picture and fill call as one line of text, for tests.
    void SetTrace(std::vector<std::string>* trace) { mTrace = trace; }
    /// Lazy pictures go to sink instead of the target from now on; null ends that.
    void SetPictureSink(PictureSink* sink) { mPictureSink = sink; }

private:
    struct Laid;
    Laid Layout(std::string_view text, const Font& font, const TextFormat& format, const RectD& box);
    const PangoFontDescription* Description(const Font& font);
    void SetPen(const Pen& pen);
    /// Sets the pen and the transform a stroke in GDI+ pixel placement is built under;
    /// points are added with (dx, dy). The end strokes and puts the transform back.
    struct Placement {
        cairo_matrix_t saved;
        double dx = 0, dy = 0;
    };
    Placement BeginPixelPlacement(const Pen& pen);
    void EndPixelPlacement(const Placement& at);
    void AddPath(const Path& path);
    /// Adds steps [begin, end) to cairo's path, moved by (dx, dy).
    void AddSteps(const std::vector<Path::Step>& steps, size_t begin, size_t end, double dx, double dy);
    void Trace(std::string line);
    /// Pad on raster targets, so scaled edges do not fade; none on PDF pages, where a
    /// padded source is a copy kept to the end of the page.
    cairo_extend_t PictureExtend() const;

    CairoPtr mCr;
    double mPixelsPerInch;
    bool mAntialias = true;
    PangoContext* TextContext(bool vertical);

    // Horizontal text keeps its glyphs on the baseline whatever the turn; vertical text
    // lets pango stand CJK upright. pango_cairo_update_context marks a context changed on
    // every call, which makes all its layouts shape again: each turn (the transform less
    // its offset) keeps a context of its own, so labels turned different ways do not
    // undo each other's layouts.
    struct TurnedContext {
        double xx, yx, xy, yy;
        bool vertical;
        PangoContextPtr context;
    };
    std::vector<TurnedContext> mContexts;
    size_t mLastContext = 0;
    std::string mKey;  // the layout key being built, kept for its capacity
    std::map<std::string, FontDescription> mFonts;
    // Laid-out strings by text, font, format and box size: a repaint draws the same
    // labels again. pango lays a cached layout out anew when its context changed.
    struct CachedLayout {
        PangoLayoutPtr layout;
        unsigned serial = 0;  // the layout's serial its measures were taken at
        double width = 0, height = 0, inkLeft = 0, inkRight = 0;
        int lines = 0, shownLines = 0;
    };
    std::unordered_map<std::string, CachedLayout> mLayouts;
    std::vector<std::string>* mTrace = nullptr;
    PictureSink* mPictureSink = nullptr;
};

}  // namespace vx::gfx
