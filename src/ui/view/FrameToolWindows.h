#pragma once
#include "host/ToolWindows.h"

class wxWindow;

namespace vx {

class CGPDialogBar;

/// The main window's tool windows as far as they exist: the zoom and page bar and the
/// image file dialog. The image windows come later and show nothing until then.
class FrameToolWindows final : public NoToolWindows {
public:
    FrameToolWindows(wxWindow* parent, CGPDialogBar* bar) : mParent(parent), mBar(bar) {}

    void SetZoom(int32_t numerator, int32_t denominator) override;
    std::vector<std::filesystem::path> ChooseImageFiles(const std::filesystem::path& startFolder) override;

private:
    wxWindow* mParent;
    CGPDialogBar* mBar;
};

}  // namespace vx
