#pragma once
#include <type_traits>  // before wx/weakref.h, which uses it without including it

#include <wx/weakref.h>
#include <wx/window.h>

#include "host/ToolWindows.h"

class wxFrame;
class wxCommandEvent;
class wxUpdateUIEvent;
class wxWindowDestroyEvent;

namespace vx {

class CGPDialogBar;
class CImageInfoWnd;
class CImagePreviewDlg;

/// The main window's tool windows: the zoom and page bar, the image file dialog, and
/// the image information and image preview windows with their menu toggles (33604,
/// 33605), which it binds on the frame.
class FrameToolWindows final : public NoToolWindows {
public:
    static constexpr int kToggleImageInfo = 33604;
    static constexpr int kToggleImagePreview = 33605;

    FrameToolWindows(wxWindow* parent, CGPDialogBar* bar);
    ~FrameToolWindows() override;

    void SetZoom(int32_t numerator, int32_t denominator) override;
    std::vector<std::filesystem::path> ChooseImageFiles(const std::filesystem::path& startFolder) override;

    bool IsImageInfoShown() override;
    void ShowImageInfo(const CLayoutObj& item, int group) override;
    void ResetImageInfoRows() override;
    void OnPreviewObjectRemoved(uint32_t objectId) override;
    void RecreatePreviewPane() override;
    void ShowToolWindowsFromSettings(const AppPreferences& preferences) override;
    bool ShowObject(const CLayoutObj* item) override;
    CLayoutObj* GetCurrentObject() override;
    void Refresh() override;
    void UpdateImage() override;

    /// The menu toggles: the flag is inverted and the window follows it.
    void ToggleImageInfo();
    void ToggleImagePreview();
    CImageInfoWnd* InfoWindow() const { return mInfo.get(); }
    CImagePreviewDlg* PreviewWindow() const { return mPreview.get(); }

private:
    void CreateInfoWindow();
    void CreatePreviewWindow();
    void OnToggle(wxCommandEvent& event);
    void OnUpdateToggle(wxUpdateUIEvent& event);
    /// Stores the windows' placement and destroys them.
    void CloseWindows();

    wxWeakRef<wxWindow> mParent;  // the frame may go first
    CGPDialogBar* mBar;
    wxWeakRef<CImageInfoWnd> mInfo;
    wxWeakRef<CImagePreviewDlg> mPreview;
};

}  // namespace vx
