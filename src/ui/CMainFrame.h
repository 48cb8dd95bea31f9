#pragma once
#include <memory>
#include <string>

#include <wx/docview.h>
#include <wx/timer.h>

#include "colourmanagement/DisplayColorBlock.h"
#include "host/Shell.h"

class CChildFrame;
class CMainToolBar;
class wxMenu;
class wxPanel;
class wxSizer;

namespace vx {
class CGPDialogBar;
class CLayoutSetting;
class SettingsStore;
class GPDocManager;
class GPView;
class LayoutPane;
}  // namespace vx

/// The main window: menu bar, one top row (the main toolbar and the zoom and page bar's
/// place), the layout window of the open layout, and the status bar ("Bereit" | the
/// quick-print pane | "CAP" | "NUM"). It answers core code as the shell.
class CMainFrame : public wxDocParentFrame, public vx::Shell {
public:
    /// Width of the quick-print pane of the status bar.
    static constexpr int kQuickPrintPaneWidth = 320;

    CMainFrame(vx::GPDocManager* manager, const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);
    ~CMainFrame() override;

    /// The main window of the run, or null.
    static CMainFrame* Get();

    /// What the colour-matched view records of the display and the default printer.
    vx::DisplayColorBlock* DisplayColours() const { return mDisplayColours.get(); }

    CMainToolBar* ToolBar() const { return mToolBar; }
    wxWindow* ZoomBarPlace() const;
    vx::CGPDialogBar* ZoomBar() const { return mZoomBar; }
    /// Shows the active view's page in the zoom and page bar (with each "Bereit").
    void ShowPagesInBar();
    wxWindow* BarRow() const { return mBarRow; }
    CChildFrame* LayoutWindow() const { return mChild; }

    /// Makes the layout window of view in the client area.
    CChildFrame* AttachLayoutWindow(vx::GPView* view);
    /// Removes the layout window (with its panes).
    void DetachLayoutWindow(CChildFrame* child);
    void SetViewCreating(bool creating) override { mViewCreating = creating; }
    /// Where the placement goes when the window closes.
    void SetSettingsStore(vx::SettingsStore* store) { mSettings = store; }

    /// "TEVRA Vellicor EX - " and the active document's title, or the bare name.
    void RenewTitle();
    /// Text of the status bar's message pane.
    void SetMessageText(const std::string& text);
    /// Shows the context menu of a kind (1 to 5) at a point of the screen.
    void ShowContextMenu(int kind, const wxPoint& screen);
    /// The kind of context menu for a point of the screen: 0 none.
    int ContextMenuKindAt(const wxPoint& screen) const;

    // Shell
    vx::LayoutView* FindLayoutView(const vx::CLayoutSetting& layout) override;
    vx::LayoutView* GetLayoutView() override;
    vx::PrintSettingsPane* GetActivePrintSettingsPane() override;
    bool IsViewCreating() override { return mViewCreating; }
    void RefreshToolBar(int flags) override;
    void SetQuickPrintStatus(int state) override;
    void SetLayoutTitle(const std::string& text) override;
    void PrintNow() override;
    void ShowPrintSettingsPane(bool shown) override;
    void SetPrintToolBarPicture(int bitmapId) override;

private:
    vx::CGPDialogBar* CreateZoomBar(wxWindow* parent);
    void CreateStatusPanes();
    vx::GPView* ActiveView() const;
    vx::LayoutPane* ActivePane() const;
    bool Busy() const;

    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnMenuOpen(wxMenuEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnLockKeysTimer(wxTimerEvent& event);
    /// "CAP" and "NUM" while the lock keys are on.
    void ShowLockKeys();
    void RememberNormalRect();
    void SavePlacement();

    vx::GPDocManager* mManager;
    std::unique_ptr<vx::DisplayColorBlock> mDisplayColours;
    wxPanel* mBarRow = nullptr;
    CMainToolBar* mToolBar = nullptr;
    vx::CGPDialogBar* mZoomBar = nullptr;
    wxPanel* mClient = nullptr;
    CChildFrame* mChild = nullptr;
    wxMenu* mRecentMenu = nullptr;
    wxTimer mLockKeys;
    bool mCapsShown = false;
    bool mNumShown = false;
    bool mViewCreating = false;
    vx::SettingsStore* mSettings = nullptr;
    wxRect mNormalRect;
};
