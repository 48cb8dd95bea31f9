#include "ui/printpane/CDirectPrintDlg.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/display.h>
#include <wx/dnd.h>
#include <wx/frame.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/settings.h>

#include "app/AppCore.h"
#include "app/ApplicationCommands.h"
#include "app/DirectPrintState.h"
#include "document/LayoutDocument.h"
#include "host/ApplicationState.h"
#include "host/FatalError.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "model/CLayoutSetting.h"
#include "model/Relayout.h"
#include "platform/system/Folders.h"
#include "platform/system/Paths.h"
#include "printing/CPrinterManager.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"
#include "ui/controls/CIconButton.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/document/GPDocument.h"
#include "ui/shell/CommandIds.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWindowIcon = 128;
const wxColour kUsedFace(0xB4, 0xB4, 0xB4);
CDirectPrintDlg* gOpen = nullptr;

wxString U(const std::string& text) { return wxString::FromUTF8(text); }

vx::AppPreferences* Preferences() {
    vx::ApplicationState* app = vx::HostService<vx::ApplicationState>();
    return app ? &app->Preferences() : nullptr;
}

CGPApp* App() { return dynamic_cast<CGPApp*>(wxApp::GetInstance()); }

/// The application's documents, windows and recent files as a direct print uses them.
class AppDirectPrintHost final : public vx::DirectPrintHost {
public:
    vx::CGPDoc* ActiveDocument() override {
        wxDocManager* manager = Manager();
        auto* doc = manager ? dynamic_cast<vx::GPDocument*>(manager->GetCurrentDocument()) : nullptr;
        return doc ? &doc->Core() : nullptr;
    }
    vx::CGPDoc* OpenDocument(const fs::path& path) override {
        vx::GPDocManager* manager = Manager();
        auto* doc = manager ? dynamic_cast<vx::GPDocument*>(manager->OpenLayoutFile(path)) : nullptr;
        return doc ? &doc->Core() : nullptr;
    }
    void CloseDocument(vx::CGPDoc& core) override {
        vx::GPDocument* doc = vx::GPDocument::Of(&core);
        if (doc && doc->GetDocumentManager()) doc->GetDocumentManager()->CloseDocument(doc, true);
    }
    std::string DocumentTitle(vx::CGPDoc& core) override {
        vx::GPDocument* doc = vx::GPDocument::Of(&core);
        return doc ? doc->GetTitle().utf8_string() : std::string();
    }
    void SetDocumentTitle(vx::CGPDoc& core, const std::string& title) override {
        if (vx::GPDocument* doc = vx::GPDocument::Of(&core)) {
            doc->SetTitle(U(title));
            doc->UpdateAllViews();
            for (wxView* view : doc->GetViewsVector())
                if (view->GetFrame()) view->GetFrame()->SetLabel(U(title));
        }
    }
    bool HasPrintSettingsPane(vx::CGPDoc& core) override {
        vx::GPDocument* doc = vx::GPDocument::Of(&core);
        return doc && doc->GetFirstView();
    }
    std::vector<fs::path> RecentFiles() override {
        vx::AppCore* core = App() ? App()->Core() : nullptr;
        return core ? core->RecentFiles().Entries() : std::vector<fs::path>{};
    }
    void SetRecentFiles(const std::vector<fs::path>& files) override {
        vx::AppCore* core = App() ? App()->Core() : nullptr;
        if (!core || core->RecentFiles().Entries() == files) return;
        vx::RecentFileList& list = core->RecentFiles();
        while (!list.Empty()) list.RemoveFirst();
        for (auto it = files.rbegin(); it != files.rend(); ++it) list.Add(*it);
        core->WriteRecentFileList();
        if (wxFileHistory* history = Manager() ? Manager()->GetFileHistory() : nullptr) {
            while (history->GetCount() > 0) history->RemoveFileFromHistory(0);
            for (auto it = files.rbegin(); it != files.rend(); ++it) history->AddFileToHistory(U(vx::PathText(*it)));
        }
    }
    void BringMainWindowToFront() override {
        if (wxWindow* frame = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) frame->Raise();
    }
    void RedrawLayout(vx::CGPDoc& core) override {
        if (vx::CLayoutSetting* layout = core.GetLayout()) vx::UpdateLayoutAndRedraw(*layout);
        vx::InvalidateMainFormView();
        if (wxWindow* frame = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) frame->Update();
    }

private:
    static vx::GPDocManager* Manager() { return App() ? App()->DocManager() : nullptr; }
};

/// Files dropped on the window or one of its buttons, handed on once the drag has ended.
class DropTarget final : public wxFileDropTarget {
public:
    DropTarget(CDirectPrintDlg* dialog, wxWindow* window) : mDialog(dialog), mWindow(window) {}
    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override {
        std::vector<fs::path> files;
        for (const wxString& n : names) files.push_back(vx::PathFromStored(n.utf8_string()));
        const wxPoint client = mWindow == mDialog ? wxPoint(x, y) : mDialog->ScreenToClient(mWindow->ClientToScreen(wxPoint(x, y)));
        // Messages and the print must not run inside the toolkit's drag.
        wxWeakRef<CDirectPrintDlg> dialog(mDialog);
        mDialog->CallAfter([dialog, client, files] {
            if (dialog) vx::RunGuarded([&] { dialog->DropAt(client, files); });
        });
        return true;
    }

private:
    CDirectPrintDlg* mDialog;
    wxWindow* mWindow;
};

}  // namespace

CDirectPrintDlg::CDirectPrintDlg(wxWindow* parent, vx::CPrinterManager& manager, vx::DirectPrintHost* host)
    : wxDialog(parent, wxID_ANY, vx::DialogText(kDialog, 0), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU | wxFRAME_TOOL_WINDOW | wxFRAME_FLOAT_ON_PARENT),
      mManager(manager) {
    if (!host) {
        mOwnHost = std::make_unique<AppDirectPrintHost>();
        host = mOwnHost.get();
    }
    mHost = host;
    mController = std::make_unique<vx::DirectPrintController>(mManager, *mHost);
    wxBitmap icon;
    wxLogNull quiet;  // a missing picture leaves the window without one
    if (icon.LoadFile(U(vx::PathText(vx::DataFolder() / "icons" / (std::to_string(kWindowIcon) + ".png"))),
                      wxBITMAP_TYPE_PNG)) {
        wxIcon windowIcon;
        windowIcon.CopyFromBitmap(icon);
        SetIcon(windowIcon);
    }
    const wxSize size = ConvertDialogToPixels(wxSize(103, 20));
    for (int i = 0; i < kButtons; ++i) {
        auto* button = new CIconButton(this, kFirstButton + i, wxString(), wxPoint(0, i * size.y), size);
        button->SetPassive(true);
        button->SetMouseMoveHandler([this](CIconButton& b, const wxPoint& p) { OnButtonMouseMove(b, p); });
        button->SetDropTarget(new DropTarget(this, button));
        mButtons[i] = button;
    }
    SetDropTarget(new DropTarget(this, this));
    Bind(wxEVT_CHAR_HOOK, &CDirectPrintDlg::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &CDirectPrintDlg::OnClose, this);
    Bind(wxEVT_MOTION, [this](wxMouseEvent& e) {
        for (CIconButton* b : mButtons) b->SetCursor(wxCursor(wxCURSOR_ARROW));
        e.Skip();
    });
    // The preferences dialog changes the printers while the window stays open.
    Bind(wxEVT_IDLE, [this](wxIdleEvent& e) {
        const vx::AppPreferences* p = Preferences();
        if (p && p->directPrintPrinters != mLaidOut) LayoutPrinterButtons();
        e.Skip();
    });
    LayoutPrinterButtons();
    PlaceOnScreen();
    gOpen = this;
}

CDirectPrintDlg::~CDirectPrintDlg() {
    if (gOpen == this) gOpen = nullptr;
    if (vx::AppPreferences* p = Preferences()) {
        const wxPoint at = GetPosition();
        p->directPrintX = at.x;
        p->directPrintY = at.y;
    }
}

CDirectPrintDlg* CDirectPrintDlg::Instance() { return gOpen; }

void CDirectPrintDlg::PlaceOnScreen() {
    const vx::AppPreferences* p = Preferences();
    wxPoint at = p ? wxPoint(p->directPrintX, p->directPrintY) : wxPoint(40, 40);
    const int display = wxDisplay::GetFromPoint(at);
    const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
    const wxSize size = GetSize();
    at.x = std::max(area.x, std::min(at.x, area.GetRight() + 1 - size.x));
    at.y = std::max(area.y, std::min(at.y, area.GetBottom() + 1 - size.y));
    Move(at);
}

void CDirectPrintDlg::LayoutPrinterButtons() {
    const vx::AppPreferences* p = Preferences();
    mLaidOut = p ? p->directPrintPrinters : std::array<std::string, kButtons>{};
    const std::array<vx::DirectPrintButton, 8> buttons =
        p ? vx::DirectPrintButtons(*p, mManager) : std::array<vx::DirectPrintButton, 8>{};
    for (int i = 0; i < kButtons; ++i) {
        CIconButton* b = mButtons[i];
        const vx::DirectPrintButton& d = buttons[i];
        const bool used = !d.printer.empty();
        b->SetColor(0, used ? kUsedFace : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE), false);
        b->SetLabel(U(d.printer));
        if (used) b->SetIconsById(d.icon, 0);
        else b->SetIcons(wxBitmap());
        b->Enable(used);
        b->Show(i < vx::DirectPrintWindowRows(buttons));
    }
    SetClientSize(mButtons[0]->GetSize().x, mButtons[0]->GetSize().y * vx::DirectPrintWindowRows(buttons));
    Refresh();
}

vx::DirectPrintResult CDirectPrintDlg::DropAt(const wxPoint& client, const std::vector<fs::path>& files) {
    std::string printer;
    for (CIconButton* b : mButtons)
        if (b->IsShown() && b->GetRect().Contains(client)) {
            printer = b->GetLabel().utf8_string();
            break;
        }
    return mController->Drop(printer, files);
}

void CDirectPrintDlg::OnButtonMouseMove(CIconButton& button, const wxPoint& point) {
    const wxPoint client = ScreenToClient(button.ClientToScreen(point));
    for (CIconButton* b : mButtons) {
        const bool over = b->IsEnabled() && !b->GetLabel().empty() && b->GetRect().Contains(client);
        b->SetCursor(wxCursor(over ? wxCURSOR_CROSS : wxCURSOR_ARROW));
    }
}

bool CDirectPrintDlg::ForwardAccelerator(const wxKeyEvent& event) {
    auto* frame = wxDynamicCast(GetParent(), wxFrame);
    wxMenuBar* bar = frame ? frame->GetMenuBar() : nullptr;
    if (!bar) return false;
    int flags = 0;
    if (event.ControlDown()) flags |= wxACCEL_CTRL;
    if (event.AltDown()) flags |= wxACCEL_ALT;
    if (event.ShiftDown()) flags |= wxACCEL_SHIFT;
    const int key = event.GetKeyCode();
    std::function<int(wxMenu*)> find = [&](wxMenu* menu) -> int {
        for (wxMenuItem* item : menu->GetMenuItems()) {
            if (item->IsSubMenu()) {
                if (const int id = find(item->GetSubMenu())) return id;
                continue;
            }
            std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
            if (accel && accel->GetFlags() == flags && wxToupper(accel->GetKeyCode()) == wxToupper(key) &&
                item->IsEnabled())
                return item->GetId();
        }
        return 0;
    };
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
        if (const int id = find(bar->GetMenu(i))) {
            wxCommandEvent command(wxEVT_MENU, id);
            command.SetEventObject(frame);
            frame->GetEventHandler()->ProcessEvent(command);
            return true;
        }
    return false;
}

void CDirectPrintDlg::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
        Close();
        return;
    }
    // The main menu's shortcuts keep working while the window has the focus.
    if ((event.ControlDown() || event.AltDown()) && ForwardAccelerator(event)) return;
    event.Skip();
}

void CDirectPrintDlg::OnClose(wxCloseEvent& event) {
    if (vx::DirectPrintState::Running()) {
        if (event.CanVeto()) {
            event.Veto();
            return;
        }
    }
    if (vx::AppPreferences* p = Preferences()) p->directPrintWindow = 0;
    Destroy();
}

void CDirectPrintDlg::BindCommand(wxFrame* frame) {
    const int id = vx::ToWxId(kToggleCommand);
    frame->Bind(wxEVT_MENU, [frame](wxCommandEvent&) {
        vx::RunGuarded([frame] {
            if (CDirectPrintDlg* open = Instance()) {
                open->Close();
                return;
            }
            vx::CPrinterManager* manager = vx::CPrinterManager::GetInstance();
            if (!manager) return;
            auto* dialog = new CDirectPrintDlg(frame, *manager);
            if (vx::AppPreferences* p = Preferences()) p->directPrintWindow = 1;
            dialog->Show();
        });
    }, id);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) {
        e.SetText(U(vx::ToolWindowToggleText(kToggleCommand, Instance() != nullptr)));
    }, id);
    const vx::AppPreferences* p = Preferences();
    if (p && p->directPrintWindow)
        frame->CallAfter([frame] {
            if (!Instance()) {
                wxCommandEvent show(wxEVT_MENU, vx::ToWxId(kToggleCommand));
                frame->GetEventHandler()->ProcessEvent(show);
            }
        });
}
