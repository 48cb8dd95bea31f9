#pragma once
#include "host/ToolWindows.h"

class wxWindow;

namespace vx {

class CGPDialogBar;

/// The main window's tool windows as far as they exist: the zoom and page bar and the
/// image file dialog. The image windows come later and show nothing until then.
class FrameToolWindows final : public ToolWindows {
public:
    FrameToolWindows(wxWindow* parent, CGPDialogBar* bar) : mParent(parent), mBar(bar) {}

    bool IsImageInfoShown() override { return false; }
    void ShowImageInfo(const CLayoutObj&, int) override {}
    void ResetImageInfoRows() override {}
    void OnPreviewObjectRemoved(uint32_t) override {}
    void RecreatePreviewPane() override {}
    void ShowToolWindowsFromSettings(const AppPreferences&) override {}
    void SetZoom(int32_t numerator, int32_t denominator) override;
    std::vector<std::filesystem::path> ChooseImageFiles(const std::filesystem::path& startFolder) override;

private:
    wxWindow* mParent;
    CGPDialogBar* mBar;
};

}  // namespace vx
