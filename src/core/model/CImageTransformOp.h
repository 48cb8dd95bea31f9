#pragma once
#include <cstdint>

namespace vx {

class CImageObj;
class CLayoutSetting;
class UndoStore;

/// Orientation operations: back to 0, a quarter turn right, a half turn, a quarter turn
/// left, mirrored left to right, mirrored top to bottom.
enum OrientationOp : int {
    kOrientReset = 0,
    kOrientRight = 1,
    kOrientHalf = 2,
    kOrientLeft = 4,
    kOrientMirrorH = 8,
    kOrientMirrorV = 16,
};

/// The orientation code after op on code (bits: 1 right, 2 half, 4 left, 8 mirrored).
/// frameOnly: the code of a frame, which turns but never mirrors. A code outside 0, 1,
/// 2, 4, 8, 9, 10 and 12 (a damaged file) counts as 0.
int16_t CombineOrientation(int op, int16_t code, bool frameOnly);

/// Turns the item's size and frame edges by op: quarter turns swap width and height
/// and move each edge on by a quarter, the half turn swaps opposite edges, mirrors
/// change nothing.
void RotateSizeAndFrame(CImageObj& item, int op);

/// Whether the item's frame turns with its picture (`mFrameRotation`, or sized by ratio).
bool TurnsWithFrame(const CImageObj& item);

/// The work of one rotate or flip command on the selected images of a layout, as a
/// refusable edit (undo code 159): a relayout that needs more than `mPageMax` pages, or
/// cut sheets at 90 ppi or less, puts everything back.
class CImageTransformOp {
public:
    CImageTransformOp(CLayoutSetting& layout, UndoStore& undo) : mLayout(&layout), mUndo(&undo) {}
    virtual ~CImageTransformOp() = default;

    /// Turns or mirrors every selected image item by op (1, 2, 4, 8 or 16).
    void ApplyToSelection(int op);
    /// Puts every selected image item back to orientation 0.
    void RestoreOriginal();

    /// Transforms the item's working bitmap by op and, when its frame turns with it, its
    /// size and frame (keeping its centre in free layout); then stores the new codes.
    void ApplyOrientationToItem(CImageObj& item, int op);
    /// Undoes the previous codes on the item's bitmap, size and frame; codes become 0.
    void UndoOrientation(CImageObj& item);

    int16_t NewCode() const { return mNewCode; }
    int16_t PreviousCode() const { return mPreviousCode; }
    int16_t NewFrameCode() const { return mNewFrameCode; }
    int16_t PreviousFrameCode() const { return mPreviousFrameCode; }
    const CImageObj* LastItem() const { return mItem; }

private:
    void Finish();
    void TurnFrameKeepingCentre(CImageObj& item, int op);

    CImageObj* mItem = nullptr;
    CLayoutSetting* mLayout;
    UndoStore* mUndo;
    int16_t mNewCode = 0;
    int16_t mPreviousCode = 0;
    int16_t mNewFrameCode = 0;
    int16_t mPreviousFrameCode = 0;
};

}  // namespace vx
