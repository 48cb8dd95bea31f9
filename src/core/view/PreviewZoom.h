#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace vx {

/// Where a zoom request of the image preview came from: the buttons zoom out to the
/// whole picture from the first allowed step; keys and the wheel step one at a time.
enum class ZoomSource { Button, KeyOrWheel };

/// One scroll bar of the preview pane.
struct PreviewScrollBar {
    bool enabled = false;
    int32_t maximum = 0;
    int32_t position = 0;
    bool operator==(const PreviewScrollBar&) const = default;
};

/// The zoom and scrolling of the image preview pane: twelve steps ("100%" down to "4%",
/// then "Ganzes Bild", the fit ratio), which of them show the item larger than the fit,
/// the state of the zoom buttons and list, the scaled picture's size and its place in
/// the drawing area, and the scroll bars that keep the centre point when the zoom
/// changes. Ratios are screen pixels per 1/360-inch unit of the item's size.
class PreviewZoom {
public:
    static constexpr int kStepCount = 12;
    static constexpr int kFitStep = 11;

    /// The ratio of step 0 to 10; the fit ratio is the pane's own.
    static double StepRatio(int step);
    /// The zoom list's entry of a step: "100%" ... "4%", string 33870 for step 11.
    static std::string StepLabel(int step);
    /// The fit ratio of an item of w x h units in a drawing area of cw x ch pixels: the
    /// smaller of cw / w and ch / h; 0 for an item without area.
    static double FitRatio(int32_t w, int32_t h, int32_t cw, int32_t ch);

    void SetDrawingArea(int32_t width, int32_t height);
    int32_t AreaWidth() const { return mAreaWidth; }
    int32_t AreaHeight() const { return mAreaHeight; }

    /// Takes a new item of w x h units: every step that is not larger than the fit is
    /// disabled, "Ganzes Bild" is chosen, the list enabled, zoom-out disabled and zoom-in
    /// enabled when some step is allowed. False, and cleared, for an item narrower or
    /// lower than one unit (its fit ratio would divide by zero).
    bool Prepare(int32_t w, int32_t h);
    /// Back to empty: no item, list and buttons disabled, both bars off.
    void Clear();
    bool HasItem() const { return mHasItem; }
    int32_t ItemWidth() const { return mItemWidth; }
    int32_t ItemHeight() const { return mItemHeight; }

    double Fit() const { return mFit; }
    int FirstAllowed() const { return mFirstAllowed; }
    bool IsStepEnabled(int step) const;
    int Selection() const { return mSelection; }
    /// The step in use after UpdateScrollBars; -1 right after Prepare.
    int Step() const { return mStep; }
    /// The ratio the pane draws at: the chosen step's, the fit for "Ganzes Bild".
    double Ratio() const;

    bool ListEnabled() const { return mListEnabled; }
    bool ZoomInEnabled() const { return mZoomInEnabled; }
    bool ZoomOutEnabled() const { return mZoomOutEnabled; }

    /// The step a zoom-in would choose, or -1 when it does nothing.
    int ZoomInTarget() const;
    /// The step a zoom-out from source would choose, or -1 when it does nothing.
    int ZoomOutTarget(ZoomSource source) const;
    /// Chooses step as the list and the buttons do (a disabled step changes nothing
    /// but the list) and recomputes the scroll bars. False for a step outside the list.
    bool Choose(int step);
    /// Zooms in or out; the step chosen, or -1 when nothing happened.
    int ZoomIn();
    int ZoomOut(ZoomSource source);
    /// The buttons' state for the list's entry index (the window's UpdateZoomButtons).
    void UpdateButtons(int index);

    /// Recomputes the scaled size, the picture's offset and both bars, keeping the
    /// picture's point under the area's centre at the centre.
    void UpdateScrollBars();
    int32_t ScaledWidth() const { return mScaledWidth; }
    int32_t ScaledHeight() const { return mScaledHeight; }
    int32_t ImageLeft() const { return mImageLeft; }
    int32_t ImageTop() const { return mImageTop; }
    const PreviewScrollBar& Horizontal() const { return mHorizontal; }
    const PreviewScrollBar& Vertical() const { return mVertical; }
    /// Sets a bar's position, clamped to 0..its maximum; the position taken.
    int32_t ScrollTo(bool horizontal, int32_t position);
    /// A drag by (dx, dy) pixels moves the picture with the mouse.
    void Pan(int32_t dx, int32_t dy);
    /// Whether a press may pan (the list is enabled and a step is chosen).
    bool CanPan() const { return mHasItem && mListEnabled && mSelection != kFitStep; }

private:
    int32_t mAreaWidth = 0;
    int32_t mAreaHeight = 0;
    bool mHasItem = false;
    int32_t mItemWidth = 0;
    int32_t mItemHeight = 0;
    double mFit = 0;
    int mFirstAllowed = kFitStep;
    std::array<bool, kStepCount> mEnabled{};
    int mSelection = kFitStep;
    int mStep = -1;
    bool mListEnabled = false;
    bool mZoomInEnabled = false;
    bool mZoomOutEnabled = false;
    int32_t mScaledWidth = 0;
    int32_t mScaledHeight = 0;
    int32_t mImageLeft = 0;
    int32_t mImageTop = 0;
    PreviewScrollBar mHorizontal;
    PreviewScrollBar mVertical;
};

/// A screen rectangle of the preview window's placement.
struct PreviewWindowRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const PreviewWindowRect&) const = default;
};

/// The side the preview window opens with, and the room kept below it.
inline constexpr int32_t kPreviewWindowSize = 450;
inline constexpr int32_t kPreviewBottomRoom = 475;

/// Where the preview window opens: 450 x 450 at origin, no further right than 450 and
/// no lower than 475 pixels from the work area's right and bottom edges, never left of
/// or above the work area.
PreviewWindowRect PlacePreviewWindow(const PreviewWindowRect& workArea, int32_t originX, int32_t originY);
/// The size stored when the window closes at width x height.
int32_t PreviewSizeOnClose(int32_t width, int32_t height);
/// The smallest client area for an item of w x h units below a control band of band
/// pixels (w or h 0: no item).
void PreviewMinimumClientSize(int32_t w, int32_t h, int32_t band, int32_t& minWidth, int32_t& minHeight);

}  // namespace vx
