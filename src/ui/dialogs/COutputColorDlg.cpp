#include "ui/dialogs/COutputColorDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>

#include "model/CLayoutSetting.h"
#include "printing/CPrinterManager.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {
constexpr int kDialog = 278;
constexpr int kIconMonitor = 193;
constexpr int kPictureSize = 32;
}  // namespace

COutputColorDlg::COutputColorDlg(wxWindow* parent, CLayoutSetting& layout, CPrinterManager* manager,
                                 std::vector<OptionEntry> mediaProfiles)
    : wxDialog(parent, wxID_ANY, DialogText(kDialog, 0)), mCtl(layout, manager, std::move(mediaProfiles)) {
    auto* outer = new wxBoxSizer(wxVERTICAL);

    auto* monitor = new wxStaticBoxSizer(wxHORIZONTAL, this, DialogText(kDialog, -1));
    wxWindow* mbox = monitor->GetStaticBox();
    monitor->Add(new wxStaticBitmap(mbox, kMonitorPicture, ResourceIcon(kIconMonitor, kPictureSize)), 0,
                 wxALIGN_CENTER_VERTICAL | wxALL, 4);
    monitor->Add(new wxStaticText(mbox, wxID_ANY, DialogText(kDialog, -2)), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    mMonitor = new ProfileChoice(mbox, kMonitorProfile);
    monitor->Add(mMonitor, 1, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    outer->Add(monitor, 0, wxEXPAND | wxALL, 8);

    auto* printer = new wxStaticBoxSizer(wxVERTICAL, this, DialogText(kDialog, -3));
    wxWindow* pbox = printer->GetStaticBox();
    auto* control = new wxBoxSizer(wxHORIZONTAL);
    control->Add(new wxStaticBitmap(pbox, kPrinterPicture, PrinterModelPicture(layout.Texts().printerModel, kPictureSize)),
                 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    control->Add(new wxStaticText(pbox, wxID_ANY, DialogText(kDialog, -4)), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    mDriver = new wxRadioButton(pbox, kDriver, DialogText(kDialog, kDriver), wxDefaultPosition, wxDefaultSize,
                                wxRB_GROUP);
    mApplication = new wxRadioButton(pbox, kApplication, DialogText(kDialog, kApplication));
    mPhotoType = new wxRadioButton(pbox, kPhotoType, DialogText(kDialog, kPhotoType));
    for (wxRadioButton* r : {mDriver, mApplication, mPhotoType}) control->Add(r, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    printer->Add(control, 0, wxEXPAND);
    auto* profile = new wxBoxSizer(wxHORIZONTAL);
    profile->Add(new wxStaticText(pbox, wxID_ANY, DialogText(kDialog, -5)), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    mPrinter = new ProfileChoice(pbox, kPrinterProfile);
    profile->Add(mPrinter, 1, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    printer->Add(profile, 0, wxEXPAND);
    mPath = new wxStaticText(pbox, kPathText, wxEmptyString, wxDefaultPosition, wxSize(360, -1), wxST_ELLIPSIZE_MIDDLE);
    printer->Add(mPath, 0, wxEXPAND | wxALL, 4);
    outer->Add(printer, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALL, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Abbrechen"), 0, wxALL, 4);
    outer->Add(buttons, 0, wxEXPAND | wxALL, 4);

    mMonitor->Fill(mCtl.MonitorList(), mCtl.MonitorIndex());
    (mCtl.Control() == kControlByDriver ? mDriver : mCtl.Control() == kControlPhotoType ? mPhotoType : mApplication)
        ->SetValue(true);
    ShowPrinterList();
    SetSizerAndFit(outer);
    SetEscapeId(wxID_CANCEL);

    mMonitor->Bind(wxEVT_CHOICE,
                   Guarded<wxCommandEvent>([this](wxCommandEvent&) { mCtl.ChooseMonitor(mMonitor->Entry()); }));
    mPrinter->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                       mCtl.ChoosePrinter(mPrinter->Entry());
                       ShowPrinterList();
                   }));
    const std::pair<wxRadioButton*, int> radios[] = {
        {mDriver, kControlByDriver}, {mApplication, kControlByApplication}, {mPhotoType, kControlPhotoType}};
    for (const auto& [radio, value] : radios)
        radio->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this, value](wxCommandEvent&) {
                        mCtl.ChooseControl(value);
                        ShowPrinterList();
                    }));
    Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { PressOk(); }), wxID_OK);
    Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { End(wxID_CANCEL); }), wxID_CANCEL);
    CentreOnParent();
}

void COutputColorDlg::ShowPrinterList() {
    if (mPrinter->GetCount() != mCtl.PrinterList().Size()) mPrinter->Fill(mCtl.PrinterList(), mCtl.PrinterIndex());
    else mPrinter->SetSelection(mCtl.PrinterIndex());
    mPrinter->Enable(mCtl.PrinterListEnabled());
    mPath->SetLabel(Text(mCtl.PathText()));
}

void COutputColorDlg::PressOk() { End(mCtl.Commit() ? wxID_OK : wxID_CANCEL); }

void COutputColorDlg::End(int code) {
    if (IsModal()) EndModal(code);
    else {
        SetReturnCode(code);
        Hide();
    }
}

bool WxSettingsDialogs::RunOutputColor(CLayoutSetting& layout) {
    CPrinterManager* manager = CPrinterManager::GetInstance();
    std::vector<OptionEntry> media;
    if (manager) media = manager->List(CPrinterManager::OptionList::MediaProfile);
    CPrinterManager* bound = manager && manager->GetLayout() == &layout ? manager : nullptr;
    COutputColorDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, layout, bound, std::move(media));
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
