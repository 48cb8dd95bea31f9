#include "ui/CMainFrame.h"

#include <wx/app.h>
#include <wx/display.h>
#include <wx/filehistory.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "app/MainFrameCommands.h"
#include "app/WindowPlacement.h"
#include "document/DocumentCommands.h"
#include "document/LayoutDocument.h"
#include "document/ObjectSettingCommands.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "platform/system/Folders.h"
#include "platform/system/Paths.h"
#include "platform/system/StringTable.h"
#include "ui/document/ApplicationDialogs.h"
#include "ui/document/GPDocument.h"
#include "ui/printpane/CDirectPrintDlg.h"
#include "ui/printpane/CMainFormView.h"
#include "ui/shell/CChildFrame.h"
#include "ui/shell/CMainToolBar.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/ContextMenus.h"
#include "ui/shell/DropTargets.h"
#include "ui/shell/GPView.h"
#include "ui/shell/LayoutPane.h"
#include "ui/shell/MenuTable.h"
#include "ui/shell/ShellTexts.h"
#include "ui/view/CGPDialogBar.h"
#include "ui/view/CGPViewWindow.h"
#include "view/RulerCommand.h"

namespace {

CMainFrame* gMainFrame = nullptr;

constexpr int kFirstCommand = vx::ToWxId(vx::kFirstCommandId);
constexpr int kLastCommand = vx::ToWxId(vx::kLastCommandId);

wxString Wx(const std::string& text) { return wxString::FromUTF8(text); }

}  // namespace

CMainFrame* CMainFrame::Get() { return gMainFrame; }

CMainFrame::CMainFrame(vx::GPDocManager* manager, const wxPoint& pos, const wxSize& size)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, Wx(vx::ShellTitle()), pos, size), mManager(manager) {
    gMainFrame = this;
    SetMenuBar(vx::BuildMenuBar());
    CDirectPrintDlg::BindCommand(this);
    mRecentMenu = vx::FindSubMenu(GetMenuBar(), "Letzte öffnen(&R)");
    if (mRecentMenu && manager) {
        manager->FileHistoryUseMenu(mRecentMenu);
        manager->FileHistoryAddFilesToMenu(mRecentMenu);
    }

    // One row on top: the toolbar and, beside it, the zoom and page bar.
    mBarRow = new wxPanel(this, wxID_ANY);
    mToolBar = new CMainToolBar(mBarRow);
    mZoomBar = CreateZoomBar(mBarRow);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(mToolBar, 0, wxALIGN_CENTER_VERTICAL);
    row->Add(mZoomBar, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    mBarRow->SetSizer(row);

    mClient = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
    mClient->SetSizer(new wxBoxSizer(wxVERTICAL));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(mBarRow, 0, wxEXPAND);
    column->Add(mClient, 1, wxEXPAND);
    SetSizer(column);

    CreateStatusPanes();
    // The colour-matched view records which display it matched for.
    vx::SetMonitorNameProvider([] {
        const int index = wxDisplay::GetFromPoint(wxPoint(0, 0));
        return std::string(wxDisplay(index == wxNOT_FOUND ? 0u : unsigned(index)).GetName().utf8_str());
    });
    mDisplayColours = vx::CreateDisplayColorBlock();

    vx::AcceptFrameDrops(mBarRow);
    vx::AcceptFrameDrops(mClient);

    // The numeric pad's zoom keys; the menus carry the others.
    const std::vector<wxAcceleratorEntry> keys = vx::LayoutViewAccelerators();
    SetAcceleratorTable(wxAcceleratorTable(int(keys.size()), keys.data()));
    Bind(wxEVT_MENU, &CMainFrame::OnCommand, this, kFirstCommand, kLastCommand);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this, kFirstCommand, kLastCommand);
    Bind(wxEVT_MENU_OPEN, &CMainFrame::OnMenuOpen, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_CONTEXT_MENU, &CMainFrame::OnContextMenu, this);
    // New and Open give the document its layout after the window exists: the pane and
    // the title follow at the next quiet moment.
    Bind(wxEVT_IDLE, [this](wxIdleEvent& e) {
        ActivePane();
        RenewTitle();
        e.Skip();
    });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) { RememberNormalRect(); e.Skip(); });
    Bind(wxEVT_MOVE, [this](wxMoveEvent& e) { RememberNormalRect(); e.Skip(); });
    mLockKeys.Bind(wxEVT_TIMER, &CMainFrame::OnLockKeysTimer, this);
    mLockKeys.Start(250);
}

CMainFrame::~CMainFrame() {
    mLockKeys.Stop();
    vx::SetMonitorNameProvider({});
    // Nothing may reach the windows going down with the frame.
    if (vx::HostService<vx::Shell>() == this) vx::InstallHostService<vx::Shell>(nullptr);
    if (mManager)
        for (wxDocument* doc : mManager->GetDocumentsVector())
            for (wxView* v : doc->GetViewsVector())
                if (auto* view = dynamic_cast<vx::GPView*>(v)) view->ForgetWindow();
    if (mManager) {
        if (mRecentMenu) mManager->FileHistoryRemoveMenu(mRecentMenu);
    }
    if (gMainFrame == this) gMainFrame = nullptr;
}

vx::CGPDialogBar* CMainFrame::CreateZoomBar(wxWindow* parent) {
    auto* bar = new vx::CGPDialogBar;
    bar->Create(parent);
    return bar;
}

wxWindow* CMainFrame::ZoomBarPlace() const { return mZoomBar; }

void CMainFrame::ShowPagesInBar() {
    vx::LayoutPane* pane = ActivePane();
    const vx::CLayoutSetting* layout = pane ? pane->View().GetLayout() : nullptr;
    if (mZoomBar && layout) mZoomBar->SetPages(pane->GetCurrentPage(), vx::GetPageCount(*layout));
}

void CMainFrame::CreateStatusPanes() {
    wxStatusBar* bar = CreateStatusBar(4, wxSTB_DEFAULT_STYLE);
    const int lockWidth = std::max(bar->GetTextExtent("CAP").x, bar->GetTextExtent("NUM").x) + 16;
    const int widths[] = {-1, kQuickPrintPaneWidth, lockWidth, lockWidth};
    bar->SetStatusWidths(4, widths);
    bar->SetStatusText(Wx(vx::ReadyText()), 0);
    bar->SetStatusText(Wx(vx::QuickPrintText(vx::kQuickPrintPaneBlank)), 1);
    ShowLockKeys();
}

void CMainFrame::OnLockKeysTimer(wxTimerEvent&) { ShowLockKeys(); }

void CMainFrame::ShowLockKeys() {
    wxStatusBar* bar = GetStatusBar();
    if (!bar) return;
    // The toolkit answers key states on X11 only; elsewhere the panes stay blank.
    static const bool x11 = wxGetDisplayInfo().type == wxDisplayX11;
    const bool caps = x11 && wxGetKeyState(WXK_CAPITAL);
    const bool num = x11 && wxGetKeyState(WXK_NUMLOCK);
    if (caps != mCapsShown || bar->GetStatusText(2).empty() == caps) bar->SetStatusText(caps ? "CAP" : "", 2);
    if (num != mNumShown || bar->GetStatusText(3).empty() == num) bar->SetStatusText(num ? "NUM" : "", 3);
    mCapsShown = caps;
    mNumShown = num;
}

void CMainFrame::SetMessageText(const std::string& text) {
    if (GetStatusBar()) GetStatusBar()->SetStatusText(Wx(text), 0);
}

CChildFrame* CMainFrame::AttachLayoutWindow(vx::GPView* view) {
    // One layout at a time: a second layout window replaces the first.
    if (mChild) DetachLayoutWindow(mChild);
    mChild = new CChildFrame(mClient, view);
    mClient->GetSizer()->Add(mChild, 1, wxEXPAND);
    mClient->Layout();
    return mChild;
}

void CMainFrame::DetachLayoutWindow(CChildFrame* child) {
    if (!child || child != mChild) return;
    mClient->GetSizer()->Detach(child);
    child->Destroy();
    mChild = nullptr;
    mClient->Layout();
    mClient->Refresh();
    SetTitle(Wx(vx::ShellTitle()));
}

vx::GPView* CMainFrame::ActiveView() const {
    if (!mManager) return nullptr;
    if (auto* view = dynamic_cast<vx::GPView*>(mManager->GetCurrentView())) return view;
    for (wxDocument* doc : mManager->GetDocumentsVector())
        for (wxView* v : doc->GetViewsVector())
            if (auto* view = dynamic_cast<vx::GPView*>(v)) return view;
    return nullptr;
}

vx::LayoutPane* CMainFrame::ActivePane() const {
    vx::GPView* view = ActiveView();
    vx::LayoutPane* pane = view ? view->Pane() : nullptr;
    if (pane) pane->Sync();
    return pane;
}

bool CMainFrame::Busy() const {
    vx::ApplicationState* app = vx::HostService<vx::ApplicationState>();
    return app && app->Preferences().appBusyFlag != 0;
}

vx::LayoutView* CMainFrame::FindLayoutView(const vx::CLayoutSetting& layout) {
    if (!mManager) return nullptr;
    for (wxDocument* doc : mManager->GetDocumentsVector()) {
        auto* gp = dynamic_cast<vx::GPDocument*>(doc);
        if (!gp || gp->Core().GetLayout() != &layout) continue;
        for (wxView* v : doc->GetViewsVector())
            if (auto* view = dynamic_cast<vx::GPView*>(v); view && view->Pane()) {
                view->Pane()->Sync();
                return view->Pane();
            }
    }
    return nullptr;
}

vx::LayoutView* CMainFrame::GetLayoutView() { return ActivePane(); }

vx::PrintSettingsPane* CMainFrame::GetActivePrintSettingsPane() {
    return mChild ? dynamic_cast<CMainFormView*>(mChild->LeftPane()) : nullptr;
}

void CMainFrame::ShowPrintSettingsPane(bool shown) {
    if (mChild) mChild->ShowPrintSettingsPane(shown);
}

void CMainFrame::SetPrintToolBarPicture(int bitmapId) {
    wxImage image;
    wxLogNull quiet;  // a missing picture keeps the current one
    const auto path = vx::DataFolder() / "bitmaps" / "toolbar" / (std::to_string(bitmapId) + ".png");
    if (!mToolBar || !image.LoadFile(wxString::FromUTF8(vx::PathText(path)), wxBITMAP_TYPE_PNG)) return;
    mToolBar->SetToolNormalBitmap(vx::ToWxId(vx::kCmdPrint), wxBitmap(image));
    mToolBar->Refresh();
}

void CMainFrame::RefreshToolBar(int flags) {
    if (!(flags & 1) || !mToolBar) return;
    mToolBar->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
    mToolBar->Refresh(true);
    mToolBar->Update();
}

void CMainFrame::SetQuickPrintStatus(int state) {
    if (!GetStatusBar()) return;
    GetStatusBar()->SetStatusText(Wx(vx::QuickPrintText(state)), 1);
}

void CMainFrame::SetLayoutTitle(const std::string&) {
    // The layout window has no caption of its own: the main window names the active
    // document, as its title always did.
    RenewTitle();
}

void CMainFrame::RenewTitle() {
    vx::GPView* view = ActiveView();
    wxDocument* doc = view ? view->GetDocument() : nullptr;
    const wxString title = doc ? Wx(vx::ShellTitle()) + " - " + doc->GetUserReadableName() : Wx(vx::ShellTitle());
    if (GetTitle() != title) SetTitle(title);
}

void CMainFrame::OnCommand(wxCommandEvent& event) {
    const int id = vx::FromWxId(event.GetId());
    if (vx::IsForwardedCommand(id)) {
        vx::ForwardCommand(id);
        return;
    }
    vx::GPView* view = ActiveView();
    vx::GPDocument* doc = view ? view->Document() : nullptr;
    if (vx::MainFrameCommands::Handles(id)) {
        vx::MainFrameCommands(doc ? &doc->Core() : nullptr).OnCommand(id);
        return;
    }
    switch (id) {
        case vx::kCmdViewRulers: vx::ToggleRulers(); return;
        case vx::kCmdNew:
            if (!Busy() && mManager) mManager->CreateDocument(wxEmptyString, wxDOC_NEW);
            return;
        case vx::kCmdOpen:
            if (mManager) vx::RunOpenCommand(this, *mManager);
            return;
        case vx::kCmdOpenLast:
            if (mManager && !Busy() && mManager->GetHistoryFilesCount() > 0)
                mManager->OpenLayoutFile(std::string(mManager->GetHistoryFile(0).utf8_str()));
            return;
        case vx::kCmdClose:
            if (doc) doc->Core().OnFileClose();
            return;
        case vx::kCmdSave:
            if (doc) doc->Core().OnFileSave();
            return;
        case vx::kCmdSaveAs:
            if (doc) doc->Core().OnFileSaveAs();
            return;
        case vx::kCmdLoadImage:
            if (doc) doc->Core().OnLoadImage();
            return;
        case vx::kCmdAbout: {
            vx::CAboutDlg about(this);
            about.ShowModal();
            return;
        }
        case vx::kCmdManual: vx::OpenUserManual(); return;
        // With a document its own table takes it; without one it edits the defaults.
        case vx::kCmdPresetImageSize: vx::ObjectSettingCommands::PresetImageSize(nullptr); return;
        case vx::kCmdExit:
            if (!Busy()) Close();
            return;
        default: event.Skip(); return;
    }
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event) {
    const int id = vx::FromWxId(event.GetId());
    vx::GPView* view = ActiveView();
    vx::GPDocument* doc = view ? view->Document() : nullptr;
    const bool hasLayout = doc && doc->Core().GetLayout();
    if (vx::IsForwardedCommand(id)) {
        const vx::CommandState state = vx::ForwardedCommandState(id, hasLayout);
        event.Enable(state.enabled);
        if (state.checked) event.Check(true);
        if (!state.text.empty()) event.SetText(Wx(state.text));
        return;
    }
    if (vx::MainFrameCommands::Handles(id)) {
        static vx::AppPreferences fallback;
        vx::ApplicationState* app = vx::HostService<vx::ApplicationState>();
        const vx::CommandState state =
            vx::MainFrameCommands::State(id, doc ? &doc->Core() : nullptr, app ? app->Preferences() : fallback,
                                         vx::BoundDialogs::Of(vx::HostService<vx::SettingsDialogs>()));
        event.Enable(state.enabled);
        return;
    }
    switch (id) {
        case vx::kCmdViewRulers: event.SetText(Wx(vx::RulerCommandState().text)); return;
        case vx::kCmdNew:
        case vx::kCmdOpen:
        case vx::kCmdExit: event.Enable(!Busy()); return;
        case vx::kCmdOpenLast: event.Enable(!Busy() && mManager && mManager->GetHistoryFilesCount() > 0); return;
        case vx::kCmdClose:
        case vx::kCmdSaveAs:
        case vx::kCmdLoadImage: event.Enable(hasLayout && doc->Core().CanSaveAs()); return;
        case vx::kCmdSave: event.Enable(hasLayout && doc->Core().CanSave()); return;
        case vx::kCmdAbout:
        case vx::kCmdManual: event.Enable(true); return;
        case vx::kCmdPresetImageSize:
            event.Enable(vx::HostService<vx::SettingsDialogs>() &&
                         vx::HostService<vx::SettingsDialogs>()->Has(vx::SettingsDialogs::Dialog::ImageSize));
            return;
        default:
            // A command whose handler does not exist yet is grey.
            event.Enable(false);
            return;
    }
}

void CMainFrame::OnMenuOpen(wxMenuEvent& event) {
    // "Letzte öffnen" is grey while the list is empty.
    if (wxMenuBar* bar = GetMenuBar(); bar && mRecentMenu)
        for (size_t m = 0; m < bar->GetMenuCount(); ++m)
            for (wxMenuItem* item : bar->GetMenu(m)->GetMenuItems())
                if (item->GetSubMenu() == mRecentMenu)
                    item->Enable(mManager && mManager->GetHistoryFilesCount() > 0 && !Busy());
    event.Skip();
}

void CMainFrame::OnClose(wxCloseEvent& event) {
    // A long command holds the window open.
    if (Busy() && event.CanVeto()) {
        event.Veto();
        return;
    }
    SavePlacement();
    event.Skip();
}

void CMainFrame::RememberNormalRect() {
    if (IsShown() && !IsMaximized() && !IsIconized() && !IsFullScreen()) mNormalRect = GetRect();
}

void CMainFrame::SavePlacement() {
    if (!mSettings) return;
    RememberNormalRect();
    if (mNormalRect.IsEmpty()) mNormalRect = GetRect();
    const int32_t show = IsIconized() ? vx::kShowMinimized : IsMaximized() ? vx::kShowMaximized : vx::kShowNormal;
    const vx::ScreenRect normal{mNormalRect.x, mNormalRect.y, mNormalRect.GetRight() + 1, mNormalRect.GetBottom() + 1};
    vx::WindowPlacement placement;
    placement.showCommand = uint32_t(show);
    placement.normal = normal;
    vx::WriteWindowPlacement(*mSettings, placement);
    vx::WriteWindowRect(*mSettings, normal, show);
}

void CMainFrame::OnContextMenu(wxContextMenuEvent& event) {
    wxPoint at = event.GetPosition();
    if (at == wxDefaultPosition) return;  // the keyboard form: no menu
    if (const int kind = ContextMenuKindAt(at)) ShowContextMenu(kind, at);
}

int CMainFrame::ContextMenuKindAt(const wxPoint& screen) const {
    const wxPoint client = mClient->ScreenToClient(screen);
    // Above the client area (the bars) and over the status bar there is no menu.
    if (client.y < 0 || client.y >= mClient->GetClientSize().y) return 0;
    vx::LayoutPane* pane = ActivePane();
    if (!mChild || !pane) return vx::kMenuNoLayout;
    if (!mChild->GetScreenRect().Contains(screen)) return vx::kMenuNoLayout;
    const vx::CLayoutSetting* layout = pane->View().GetLayout();
    if (!layout) return 0;
    if (!pane->GetScreenRect().Contains(screen)) return vx::kMenuPage;
    const wxPoint p = pane->ScreenToClient(screen);
    return vx::ContextMenuKind(*pane, {p.x, p.y});
}

void CMainFrame::ShowContextMenu(int kind, const wxPoint& screen) {
    std::unique_ptr<wxMenu> menu(vx::BuildMenu(vx::ContextMenuId(kind)));
    if (!menu) return;
    PopupMenu(menu.get(), ScreenToClient(screen));
}
