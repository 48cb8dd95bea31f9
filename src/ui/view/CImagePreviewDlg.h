#pragma once
#include <cstdint>

#include <wx/dialog.h>

#include "view/PreviewPaneRenderer.h"

class CDisabledItemCombo;
class wxBitmapButton;
class wxButton;
class wxCheckBox;

namespace vx {

class CLayoutObj;
class CPreviewPane;
struct AppPreferences;

/// The modeless "Bildvorschau" window: one image item of the open layout alone, as it
/// will print, at one of twelve zoom steps, with "+" and "-", the zoom list and the
/// colour-management box over the pane. It keeps its shown flag, origin and size in
/// the preferences.
class CImagePreviewDlg : public wxDialog {
public:
    static constexpr int kZoomIn = 3748;
    static constexpr int kZoomOut = 3867;
    static constexpr int kZoomList = 2002;
    static constexpr int kColourBox = 1081;

    CImagePreviewDlg(wxWindow* parent, AppPreferences& preferences);

    /// Stores the window's origin and size in the preferences (before it goes).
    void SavePlacement();
    /// Shows the active layout's current image item.
    void UpdateImage();
    /// Makes the pane anew and shows the active layout's current image item in it.
    void RecreatePane();
    /// An item left the layout.
    void OnObjectRemoved(uint32_t objectId);
    /// Shows item (null: the one last shown); false when nothing is shown.
    bool ShowObject(const CLayoutObj* item);
    CLayoutObj* GetCurrentObject();
    /// Recomputes the bars and repaints the pane at once.
    void RefreshPane();

    PreviewPaneRenderer& Renderer() { return mRenderer; }
    CPreviewPane* Pane() const { return mPane; }
    CDisabledItemCombo* ZoomList() const { return mList; }
    wxWindow* ZoomInButton() const;
    wxWindow* ZoomOutButton() const;
    wxCheckBox* ColourBox() const { return mColour; }
    /// The height of the control band above the pane.
    int BandHeight() const { return mBand; }

private:
    void CreatePane();
    void ShowCurrentItem();
    /// Brings the list, the buttons, the box and the minimum size up to the renderer.
    void SyncControls();
    void ZoomIn();
    void ZoomOut(ZoomSource source);
    void AfterKeyZoom();
    void OnZoomChosen(wxCommandEvent& event);
    void OnColourBox(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnWheel(wxMouseEvent& event);
    void OnClose(wxCloseEvent& event);

    AppPreferences& mPreferences;
    PreviewPaneRenderer mRenderer;
    CPreviewPane* mPane = nullptr;
    wxButton* mIn = nullptr;
    wxButton* mOut = nullptr;
    CDisabledItemCombo* mList = nullptr;
    wxCheckBox* mColour = nullptr;
    int mBand = 0;
};

}  // namespace vx
