#include "ui/document/ApplicationDialogs.h"

#include <string>

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "app/ApplicationCommands.h"
#include "document/LayoutDocument.h"
#include "platform/system/Paths.h"
#include "platform/system/StringTable.h"
#include "ui/document/FileDialogs.h"
#include "ui/document/GPDocument.h"

namespace vx {

std::string BuildVersionText() { return VersionText(VX_VERSION_MAJOR, VX_VERSION_MINOR, VX_VERSION_PATCH); }

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, wxString::FromUTF8("Über Vellicor EX")) {
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* icon = new wxStaticBitmap(this, 2000, wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX));
    // A click on the icon closes the box as OK.
    icon->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) { EndModal(wxID_OK); });
    top->Add(icon, 0, wxALL, 12);
    top->Add(new wxStaticText(this, 3501, wxString::FromUTF8(BuildVersionText())), 1, wxALL | wxALIGN_CENTER_VERTICAL,
             12);
    const std::string notices =
        LoadString(IDS_ABOUT_NOTICE) + LoadString(IDS_ABOUT_TRADEMARKS) + LoadString(IDS_ABOUT_LIBRARIES);
    auto* text = new wxTextCtrl(this, 3899, wxString::FromUTF8(notices), wxDefaultPosition, wxSize(460, 200),
                                wxTE_MULTILINE | wxTE_READONLY | wxTE_WORDWRAP);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(top, 0, wxEXPAND);
    outer->Add(text, 1, wxEXPAND | wxLEFT | wxRIGHT, 12);
    outer->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALIGN_RIGHT | wxALL, 12);
    SetSizerAndFit(outer);
    CentreOnParent();
}

void OpenUserManual() {
    OpenManual([](const std::filesystem::path& path) {
        return wxLaunchDefaultBrowser(wxString::FromUTF8("file://" + PathText(path)));
    });
}

void RunOpenCommand(wxWindow* parent, GPDocManager& manager) {
    if (AppBusyFlag()) return;
    CFileOpenDlg dialog(parent, LoadString(IDS_LAYOUT_FILTER), {});
    if (dialog.ShowModal() != wxID_OK) return;
    OpenLayoutFiles({std::filesystem::path(std::string(dialog.GetPath().utf8_str()))},
                    [&manager](const std::filesystem::path& path) { manager.OpenLayoutFile(path); });
}

}  // namespace vx
