#include "ui/dialogs/CImageSizeDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "host/ApplicationState.h"
#include "host/FatalError.h"
#include "host/HostService.h"
#include "platform/system/StringTable.h"
#include "ui/dialogs/CImageFramePage.h"
#include "ui/dialogs/CImageSizePage.h"
#include "ui/document/WxSettingsDialogs.h"

using namespace vx::dialogs;

CImageSizeDlg::CImageSizeDlg(wxWindow* parent, ImageSizeController& controller, vx::UndoStore& undo)
    : wxDialog(parent, wxID_ANY,
               wxString::FromUTF8("Bildgröße " + controller.TitleSuffix()), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      mCtl(controller),
      mUndo(undo) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    mTabs = new wxNotebook(this, kTabControl);
    mSizePage = new CImageSizePage(mTabs, *this);
    mFramePage = new CImageFramePage(mTabs, *this);
    mTabs->AddPage(mSizePage, wxString::FromUTF8(vx::LoadString(vx::IDS_IMAGE_SIZE_TAB)), true);
    mTabs->AddPage(mFramePage, wxString::FromUTF8(vx::LoadString(vx::IDS_IMAGE_FRAME_TAB)));
    top->Add(mTabs, 1, wxEXPAND | wxALL, 8);
    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, "OK"));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Abbrechen"));
    buttons->Realize();
    top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(top);

    ShowView(mCtl.Size().InitControls());
    mTabs->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &CImageSizeDlg::OnPageChanged, this);
    Bind(wxEVT_BUTTON, &CImageSizeDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& e) {
        e.Skip();
        FocusTab(0);
    });
    CentreOnParent();
}

void CImageSizeDlg::ShowView(const ImageSizeView& view) {
    mSizePage->Apply(view.size);
    mFramePage->Apply(view.frame, mCtl.Values().frameColour);
    if (view.focus) Focus(view.tab, view.focus, view.selectAll);
}

void CImageSizeDlg::OnPageChanged(wxBookCtrlEvent& event) {
    vx::RunGuarded([&] { ShowTab(event.GetSelection()); });
}

// GTK has no dependable show event for a tab: the page is brought up to date here.
void CImageSizeDlg::ShowTab(int tab) {
    ShowView(tab == 0 ? mCtl.Size().InitControls() : mCtl.Frame().InitControls());
    FocusTab(tab);
}

void CImageSizeDlg::FocusTab(int tab) {
    const ImageSizeValues& v = mCtl.Values();
    int control = kFrameCustom;
    if (tab == 0) control = v.sizeMethod == 1 ? kDimensionsRadio : kRatioRadio;
    else if (v.frameMode == 0) control = kFrameOff;
    else if (v.frameMode == 1) control = kFrameAuto;
    Focus(tab, control, false);
}

void CImageSizeDlg::Focus(int tab, int control, bool selectAll) {
    if (tab >= 0 && mTabs->GetSelection() != tab) mTabs->ChangeSelection(tab);
    wxWindow* page = mTabs->GetCurrentPage();
    wxWindow* window = page ? page->FindWindow(control) : nullptr;
    if (!window) return;
    window->SetFocus();
    if (auto* edit = dynamic_cast<wxTextCtrl*>(window); edit && selectAll) edit->SelectAll();
}

void CImageSizeDlg::OnOK(wxCommandEvent&) {
    vx::RunGuarded([&] {
        ImageSizeView view;
        if (mCtl.OnOK(mUndo, view)) {
            EndModal(wxID_OK);
            return;
        }
        ShowView(view);
    });
}

namespace vx {

bool WxSettingsDialogs::RunImageSizeDialog(CLayoutSetting& layout, bool preset) {
    ApplicationState* app = HostService<ApplicationState>();
    if (!app) return false;
    dialogs::ImageSizeController controller;
    if (!controller.LoadFromLayout(layout, preset, app->Preferences().unit)) return false;
    CImageSizeDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, controller, app->GetUndoStore());
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
