#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "dialogs/CCropTracker.h"
#include "host/LayoutView.h"
#include "imaging/DibBuffer.h"
#include "model/LayoutTypes.h"

namespace vx {

class CImageObj;
class CLayoutObj;
class CLayoutSetting;
namespace gfx { class Canvas; }

/// The crop dialog's logic ("Zuschneiden", 149): the preview of the layout's current
/// image with its crop frame, the width and height in image pixels, the crop mode, the
/// keep-proportions box and the frame colour; OK writes the crop into the selected
/// images. Coordinates are those of the preview control; edits are kept as their texts
/// and written by the program without change events, so the controller runs the change
/// handlers itself.
class CropController : private CropEditPort {
public:
    using Axis = CropEditPort::Axis;
    static constexpr Axis kWidth = CropEditPort::kWidth;
    static constexpr Axis kHeight = CropEditPort::kHeight;
    static constexpr int kTextLimit = 9;
    /// A typed size above this is ignored at OK.
    static constexpr int32_t kMaxTypedSize = 30000;

    enum class Cursor { Arrow, SizeNWSE, SizeNESW, SizeNS, SizeWE, OverFrame, Dragging };
    enum class Focus { None, Width, Height };

    /// sameImage false: the selection shows more than one picture, the frame is fixed.
    CropController(CLayoutSetting& layout, bool sameImage);
    ~CropController() override;
    CropController(const CropController&) = delete;
    CropController& operator=(const CropController&) = delete;

    /// The dialog's set-up on the current image item for a preview area (Setup, the
    /// preview picture, the tracker and the edits). False after "Nicht genügend
    /// Speicher." when there is no image, bitmap or preview: the dialog closes.
    bool Init(PixelRect previewArea);
    /// The geometry alone (no picture); Init runs it first.
    bool Setup(PixelRect previewArea);
    /// Decodes the whole picture at the preview image's size (wait cursor meanwhile).
    bool BuildPreview();
    /// White, the picture, white at alpha 128 outside the frame (everywhere with a fixed
    /// frame), then the frame; in the preview control's coordinates.
    void DrawPreview(gfx::Canvas& canvas) const;

    // Controls.
    int Mode() const { return mMode; }
    void SetMode(int mode);
    bool SingleImage() const { return mSingleImage; }
    bool EditsEnabled() const { return mSingleImage && mMode != 0; }
    bool ColourEnabled() const { return mMode == 2; }
    bool KeepProportionsEnabled() const { return mSingleImage; }
    bool KeepProportions() const { return mKeepProportions; }
    /// The box clicked; false when turning on was refused (10525 shown, box unchecked).
    bool SetKeepProportions(bool on);
    ColorRef Colour() const { return mColour; }
    void SetColour(ColorRef colour) { mColour = colour; }
    const std::string& EditText(Axis axis) const { return mText[axis]; }
    /// The user changed an edit's text.
    void EditChanged(Axis axis, const std::string& text);
    /// An edit lost the focus (or Enter was pressed).
    void EditCommitted(Axis axis);

    // Mouse and keyboard over the preview.
    Cursor ButtonDown(PixelPoint point);
    Cursor MouseMove(PixelPoint point, bool buttonDown);
    void ButtonUp(PixelPoint point);
    bool Dragging() const { return mDragging; }
    bool Tracking() const { return mTracker && mTracker->Tracking(); }
    /// Shift with an arrow: the frame one preview pixel along, inside the bounds.
    void MoveFrame(int32_t dx, int32_t dy);
    /// OK: true when the crop was written and the dialog closes; false leaves it open
    /// with focus naming the edit to focus and select.
    bool Ok(Focus* focus);

    // What the window and the tests read.
    const CCropTracker* Tracker() const { return mTracker.get(); }
    PixelRect PreviewArea() const { return mPreviewArea; }
    PixelRect PreviewImageRect() const { return mPreviewImage; }
    int32_t ImageWidth() const { return mImageWidth; }
    int32_t ImageHeight() const { return mImageHeight; }
    int32_t CropWidth() const { return mCropWidth; }
    int32_t CropHeight() const { return mCropHeight; }
    int32_t MinCropWidth() const { return mMinCropWidth; }
    int32_t MinCropHeight() const { return mMinCropHeight; }
    int32_t EffectiveResolution() const { return mResolution; }
    double ScaleX() const { return mScaleX; }
    double ScaleY() const { return mScaleY; }
    const DibBuffer* PreviewBitmap() const { return mPreview.get(); }

    /// Writes a crop rectangle given in the turned image's pixels into item's `mCrop`
    /// insets, turned back by its `mRotate` and held inside the picture.
    static void StoreCropRect(CImageObj& item, const LayoutRect& turned);
    /// Brings each side of rect (turned image pixels) to the typed size: a smaller one
    /// moves the right (bottom) edge in, a larger one out and, past the picture, the left
    /// (top) edge back, not below 0. A typed size above kMaxTypedSize leaves the axis.
    static void FitToTypedSize(LayoutRect& rect, int32_t typedWidth, int32_t typedHeight, int32_t imageWidth,
                               int32_t imageHeight);

private:
    int32_t EditValue(Axis axis) const override;
    void WriteEdit(Axis axis, int32_t value) override;
    void OnEditChanged(Axis axis);
    void WriteOwnEdit(Axis axis, int32_t value);
    void ApplyCrop(CImageObj& item, const LayoutRect& rect) const;
    bool Fail();

    CLayoutSetting& mLayout;
    CImageObj* mCurrent = nullptr;
    std::unique_ptr<CLayoutObj> mCopyOwner;
    CImageObj* mCopy = nullptr;
    bool mSingleImage;
    bool mKeepProportions = false;
    int mMode = 0;
    ColorRef mColour = 0;
    double mScaleX = 1, mScaleY = 1;
    LayoutRect mCropBounds;
    PixelRect mCropRect;  // preview coordinates, before the tracker exists
    PixelRect mPreviewArea;
    PixelRect mPreviewImage;
    int32_t mCropWidth = 0, mCropHeight = 0;
    int32_t mMinCropWidth = 1, mMinCropHeight = 1;
    int32_t mImageWidth = 0, mImageHeight = 0;
    DibBufferPtr mPreview;
    int32_t mResolution = 0;
    double mAspect = 1;
    std::unique_ptr<CCropTracker> mTracker;
    LayoutPoint mRatio;
    bool mDragging = false;
    std::optional<PixelPoint> mAnchor;
    std::string mText[2];
    bool mWritingEdits = false;  // the dialog's own writes: no change handling
};

}  // namespace vx
