#include "ui/view/FrameToolWindows.h"

#include "ui/document/FileDialogs.h"
#include "ui/view/CGPDialogBar.h"

namespace vx {

void FrameToolWindows::SetZoom(int32_t numerator, int32_t denominator) {
    if (mBar) mBar->SetZoom(numerator, denominator);
}

std::vector<std::filesystem::path> FrameToolWindows::ChooseImageFiles(const std::filesystem::path& startFolder) {
    return ChooseImageFilesWithDialog(mParent, startFolder);
}

}  // namespace vx
