#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

namespace vx {

class CLayoutObj;
struct AppPreferences;

/// The main frame's tool windows as core code uses them: image information and image
/// preview windows, the zoom and page bar, the image file dialog. The window side
/// implements them (HostService<ToolWindows>); without one nothing is shown.
class ToolWindows {
public:
    virtual ~ToolWindows() = default;

    /// Whether the image information window exists.
    virtual bool IsImageInfoShown() = 0;
    /// Fills the image information window with information group 1 to 4 of item.
    virtual void ShowImageInfo(const CLayoutObj& item, int group) = 0;
    /// Empties the image information window back to its captions.
    virtual void ResetImageInfoRows() = 0;
    /// The image preview window forgets the item with this object id.
    virtual void OnPreviewObjectRemoved(uint32_t objectId) = 0;
    /// Re-creates the preview pane of the image preview window (after a layout closed).
    virtual void RecreatePreviewPane() = 0;
    /// Shows the window flags of preferences that are set.
    virtual void ShowToolWindowsFromSettings(const AppPreferences& preferences) = 0;

    /// Selects the zoom step numerator/denominator in the zoom box, or shows the ratio
    /// as a percentage when no step has it.
    virtual void SetZoom(int32_t numerator, int32_t denominator) = 0;

    /// The image files the user chose, starting in startFolder; empty on Cancel.
    virtual std::vector<std::filesystem::path> ChooseImageFiles(const std::filesystem::path& startFolder) = 0;

    // The image preview window's pane. Until the window exists they do nothing.
    /// Makes item (null: the remembered one) the shown item; false when nothing is shown.
    virtual bool ShowObject(const CLayoutObj* item) { (void)item; return false; }
    /// The active layout's item the pane shows, or null.
    virtual CLayoutObj* GetCurrentObject() { return nullptr; }
    /// Recomputes the pane's scroll bars and repaints it at once.
    virtual void Refresh() {}
    /// Shows the active layout's current image item in the preview window, when it exists.
    virtual void UpdateImage() {}
};

/// Tool windows that show nothing: a base for window sides that have only some of them.
class NoToolWindows : public ToolWindows {
public:
    bool IsImageInfoShown() override { return false; }
    void ShowImageInfo(const CLayoutObj&, int) override {}
    void ResetImageInfoRows() override {}
    void OnPreviewObjectRemoved(uint32_t) override {}
    void RecreatePreviewPane() override {}
    void ShowToolWindowsFromSettings(const AppPreferences&) override {}
    void SetZoom(int32_t, int32_t) override {}
    std::vector<std::filesystem::path> ChooseImageFiles(const std::filesystem::path&) override { return {}; }
};

}  // namespace vx
