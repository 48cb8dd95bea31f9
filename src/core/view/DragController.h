#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "host/LayoutView.h"
#include "model/LayoutTypes.h"
#include "view/ViewMapping.h"

namespace vx {

class CGPView;
class CLayoutObj;
class CLayoutSetting;
class CUndoEntry;
class UndoStore;
struct AppPreferences;

/// The modifier keys of one mouse or key event, as the event carries them.
struct PointerKeys {
    bool shift = false;
    bool ctrl = false;
};

/// The key that cancels a drag.
inline constexpr int kKeyEscape = 27;

/// What happens between a left-button press on the layout view and its release: the
/// click selection, the rubber band on empty page, moving the selection, resizing
/// images by their handles, dragging a free line's end, reordering images of an
/// automatic layout by dropping them on another, grid snapping, and the relayout,
/// checks and undo that close a drag. The window feeds it its events and keeps the
/// mouse captured while Tracking() holds; it draws Band() over its last paint.
/// Cancelling (Esc, right press, lost capture) puts the layout and the undo state back
/// as they were at the press.
class DragController {
public:
    explicit DragController(CGPView& view);
    ~DragController();
    DragController(const DragController&) = delete;
    DragController& operator=(const DragController&) = delete;

    /// The left button went down at a client point; rightDown: the right one is down too.
    void Press(PixelPoint client, PointerKeys keys, bool rightDown = false);
    void Motion(PixelPoint client, PointerKeys keys);
    void KeyDown(int keyCode, PointerKeys keys);
    void KeyUp(int keyCode, PointerKeys keys);
    void RightPress();
    void Release(PixelPoint client, PointerKeys keys);
    /// The window lost the mouse capture or the focus: cancels.
    void CaptureLost();

    /// Whether a press is being tracked: the window keeps the mouse captured.
    bool Tracking() const { return mMode != Mode::Idle; }
    /// The rubber band in client pixels while one is drawn.
    std::optional<PixelRect> Band() const;
    /// The hit code of the press being tracked (-1 for the band or none).
    int Hit() const { return mHit; }

private:
    enum class Mode { Idle, Band, Item };

    void MoveStep(PixelPoint client);
    void LineEndStep(PixelPoint client);
    void ResizeStep(PixelPoint client);
    bool BeginChange();
    void Cancel();
    void EndPress();
    void FinishDrag(PixelPoint client);
    void SnapOnRelease(PixelPoint client);
    void DropOnTarget(PixelPoint client);
    void Refresh();
    CLayoutSetting* Layout() const;
    /// Logical pixels travelled since the press.
    std::pair<int64_t, int64_t> Travel(PixelPoint client) const;

    CGPView& mView;
    Mode mMode = Mode::Idle;
    int mHit = -1;
    CLayoutObj* mItem = nullptr;
    ViewMapping mMapping;
    UndoStore* mUndo = nullptr;
    const AppPreferences* mPrefs = nullptr;
    std::unique_ptr<CUndoEntry> mSnapshot;
    std::unique_ptr<CUndoEntry> mPrevious;
    PixelPoint mPress;
    PixelPoint mPressScroll;
    PixelPoint mLast;
    // Units applied since the press, so that each step moves by the difference between
    // the total travel converted once and what was applied already.
    LayoutPoint mApplied;
    PixelPoint mBandEnd;
    bool mBandDrawn = false;
};

}  // namespace vx
