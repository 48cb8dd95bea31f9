#include "ui/dialogs/CCaptionDlg.h"

#include <wx/app.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "dialogs/FrameTextRules.h"
#include "platform/system/StringTable.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

using namespace dialog_support;
constexpr int kDialog = 271;
constexpr int kTextId = 1148;

}  // namespace

CCaptionDlg::CCaptionDlg(wxWindow* parent, UndoStore& undo)
    : CFrameTextDlg(parent, kDialog, std::make_unique<dialogs::CaptionController>(undo)) {
    mText = new wxTextCtrl(this, kTextId, wxString(), wxDefaultPosition, wxSize(300, -1));
    auto* own = new wxBoxSizer(wxVERTICAL);
    own->Add(new wxStaticText(this, wxID_ANY, DialogText(kDialog, -1)), 0, wxBOTTOM, 4);
    own->Add(mText, 0, wxEXPAND);
    Finish(own, DialogText(kDialog, -3), DialogText(kDialog, -8), DialogText(kDialog, -11));
}

bool CCaptionDlg::InitController(const std::vector<std::string>& faces) {
    if (!Controller().Init(faces)) return false;
    mText->ChangeValue(Wx(Controller().Text()));
    return true;
}

void CCaptionDlg::Accept() {
    Controller().SetText(Utf8(mText->GetValue()));
    Controller().OnOK();
}

bool WxSettingsDialogs::RunCaption(CLayoutSetting& layout, bool preset) {
    if (!dialogs::ChooseEditedImage(layout, preset).item) return false;
    CCaptionDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, Undo());
    dialog.SetPreset(preset);
    dialog.SetLayout(&layout);
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
