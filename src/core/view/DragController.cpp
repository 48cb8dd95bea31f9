#include "view/DragController.h"

#include "model/CUndoEntry.h"
#include "view/CGPView.h"

namespace vx {

DragController::DragController(CGPView& view) : mView(view) {}
DragController::~DragController() = default;

void DragController::Press(PixelPoint, PointerKeys, bool) {}
void DragController::Motion(PixelPoint, PointerKeys) {}
void DragController::KeyDown(int, PointerKeys) {}
void DragController::KeyUp(int, PointerKeys) {}
void DragController::RightPress() {}
void DragController::Release(PixelPoint, PointerKeys) {}
void DragController::CaptureLost() {}
std::optional<PixelRect> DragController::Band() const { return std::nullopt; }

}  // namespace vx
