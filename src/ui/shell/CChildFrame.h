#pragma once
#include <wx/panel.h>

class CChildSplitterWnd;

namespace vx {
class GPView;
class LayoutPane;
class CLayoutSetting;
}

/// The layout window of the open layout inside the main window: the splitter with the
/// print-settings pane's place on the left and the layout view on the right. Files and
/// folders dropped on it are loaded into the layout.
class CChildFrame : public wxPanel {
public:
    CChildFrame(wxWindow* parent, vx::GPView* view);

    CChildSplitterWnd* Splitter() const { return mSplitter; }
    wxWindow* LeftPane() const { return mLeft; }
    vx::LayoutPane* RightPane() const { return mRight; }
    vx::GPView* View() const { return mView; }

    /// Hides or shows the print-settings pane; shown again it takes back the width it had.
    void ShowPrintSettingsPane(bool shown);

    /// The right pane: the one place where the layout view's window is made.
    static vx::LayoutPane* CreateLayoutViewWindow(wxWindow* parent, vx::GPView* view);

private:
    vx::GPView* mView;
    CChildSplitterWnd* mSplitter;
    wxWindow* mLeft;
    vx::LayoutPane* mRight;
    int mHiddenPaneWidth = 0;
};
