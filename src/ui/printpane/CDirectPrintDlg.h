#pragma once
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <wx/dialog.h>

#include "app/DirectPrintController.h"

class CIconButton;
class wxFrame;

namespace vx {
class CPrinterManager;
}

/// The direct-print window ("Direktdruck"): one button per direct-print printer of the
/// preferences; a layout file dropped on a button prints on that printer at once while
/// the open layout is set aside. A small tool window that keeps its place for the run.
class CDirectPrintDlg : public wxDialog {
public:
    static constexpr int kDialog = 308;
    static constexpr int kFirstButton = 3890;
    static constexpr int kButtons = 8;
    /// The menu command that shows and hides the window.
    static constexpr int kToggleCommand = 33401;

    /// host may be null: the window then works on the application's documents.
    CDirectPrintDlg(wxWindow* parent, vx::CPrinterManager& manager, vx::DirectPrintHost* host = nullptr);
    ~CDirectPrintDlg() override;

    /// Captions, pictures and states of the buttons from the preferences' printers; the
    /// window is as high as the used buttons (one at least).
    void LayoutPrinterButtons();
    CIconButton* Button(int index) const { return mButtons.at(index); }
    /// files dropped at a point of the window's client area.
    vx::DirectPrintResult DropAt(const wxPoint& client, const std::vector<std::filesystem::path>& files);

    /// The open window, or null.
    static CDirectPrintDlg* Instance();
    /// Binds the show and hide command (33401) on the main frame and shows the window at
    /// start when the preferences say it was open.
    static void BindCommand(wxFrame* frame);

private:
    void OnButtonMouseMove(CIconButton& button, const wxPoint& point);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);
    bool ForwardAccelerator(const wxKeyEvent& event);
    void PlaceOnScreen();

    vx::CPrinterManager& mManager;
    std::unique_ptr<vx::DirectPrintHost> mOwnHost;
    vx::DirectPrintHost* mHost;
    std::unique_ptr<vx::DirectPrintController> mController;
    std::array<CIconButton*, kButtons> mButtons{};
    std::array<std::string, kButtons> mLaidOut;  // the printers the buttons show
};
