#pragma once
#include <functional>
#include <memory>

namespace vx {

class CLayoutSetting;
class CUndoEntry;

/// Virtual keys of the view's key handling.
enum VirtualKey : int { kKeyReturn = 13, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40 };

/// Undo code of the first arrow key of a session.
inline constexpr int kUndoCodeKeyMove = 159;

/// Whether an arrow key moves anything: in free layout, or while items other than
/// images are selected, and only with a selection.
bool CanNudgeSelection(const CLayoutSetting& layout);

/// Moves the selection by the preferences' arrow-key step for one arrow key, with grid
/// snapping off meanwhile; in automatic layout selected images keep their place and
/// their offset from the page top takes the vertical step instead. Enter and other keys
/// move nothing. 1 when anything moved.
int NudgeSelection(CLayoutSetting& layout, int virtualKey);

/// One held key on the view, from its first key-down to its key-up (or the focus loss
/// or mouse press that ends it). The first arrow key that can move the selection takes
/// the session's one undo step; every key-down, the toolkit's auto-repeat included,
/// nudges. The close lays the layout out with the drag's checks: a refused relayout puts
/// the layout back as the session found it.
class KeySession {
public:
    explicit KeySession(std::function<CLayoutSetting*()> layout);
    ~KeySession();
    KeySession(const KeySession&) = delete;
    KeySession& operator=(const KeySession&) = delete;

    /// True when the key was Enter or an arrow (consumed), false for any other key.
    bool KeyDown(int virtualKey);
    /// Ends an open session: relayout with checks, the print-settings pane repainted,
    /// the layout marked dirty. Nothing when none is open.
    void Close();
    bool IsOpen() const { return mOpen; }

private:
    std::function<CLayoutSetting*()> mLayout;
    CLayoutSetting* mSessionLayout = nullptr;
    bool mOpen = false;
    std::unique_ptr<CUndoEntry> mSnapshot;
    std::unique_ptr<CUndoEntry> mPrevious;
};

}  // namespace vx
