#include "ui/document/WxSettingsDialogs.h"

#include <wx/app.h>
#include <wx/colordlg.h>
#include <wx/window.h>

#include "ui/dialogs/DialogSupport.h"

namespace vx {
namespace fs = std::filesystem;
namespace {

wxWindow* TopWindow() { return wxTheApp ? wxTheApp->GetTopWindow() : nullptr; }

}  // namespace

bool WxSettingsDialogs::Has(Dialog dialog) {
    switch (dialog) {
    case Dialog::SelectTemplate: return true;
    case Dialog::ImageSize: return true;
    case Dialog::CutLines: return true;
    case Dialog::AutoRotate: return true;
    case Dialog::Crop: return true;
    case Dialog::Tint: return true;
    case Dialog::DuplicateSeveralTimes: return true;
    case Dialog::Margins: return true;
    case Dialog::ImageAlign: return true;
    case Dialog::Labels: return true;
    case Dialog::Caption: return true;
    case Dialog::HeaderFooter: return true;
    case Dialog::Preferences: return true;
    case Dialog::InputColorDefaults: return true;
    case Dialog::ImageColor: return true;
    case Dialog::ImageStamp: return true;
    case Dialog::FreeText: return true;
    case Dialog::FreeLine: return true;
    case Dialog::OutputColor: return true;
    case Dialog::SaveTemplateAs: return true;
    case Dialog::OrganizeTemplates: return true;
    case Dialog::DriverSettings: return true;
    default: return false;
    }
}

std::optional<uint32_t> WxSettingsDialogs::ChooseColour(uint32_t initial) {
    // One colour dialog state for the run, so the user's custom colours stay.
    static wxColourData shared = [] {
        wxColourData data;
        data.SetChooseFull(true);
        return data;
    }();
    shared.SetColour(dialog_support::ToWx(initial));
    wxColourDialog dialog(TopWindow(), &shared);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    shared = dialog.GetColourData();
    return dialog_support::FromWx(shared.GetColour());
}

}  // namespace vx
