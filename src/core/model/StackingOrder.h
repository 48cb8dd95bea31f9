#pragma once
#include <cstdint>

namespace vx {

class CLayoutSetting;
class UndoStore;

/// Stacking commands: to the front, one step forward, one step backward, to the back.
enum StackingMode : int {
    kStackToFront = 1,
    kStackForward = 2,
    kStackBackward = 4,
    kStackToBack = 5,
};

/// Moves each selected image, free text and free line once, in list order, past the
/// unselected ones it overlaps: to the front behind the last of those after it, forward
/// behind the first, backward before the last of those before it, to the back before the
/// first. Cut lines neither move nor count. Takes an undo entry (code 14) first and marks
/// the layout dirty even when nothing moved. 0 when the undo entry cannot be taken, else 1.
int ChangeObjectZOrder(CLayoutSetting& layout, int mode, UndoStore& undo);

}  // namespace vx
