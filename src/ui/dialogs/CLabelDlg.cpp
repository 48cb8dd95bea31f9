#include "ui/dialogs/CLabelDlg.h"

#include <wx/app.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "host/FatalError.h"
#include "ui/controls/CDisabledItemCombo.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

using L = dialogs::LabelsController;
using namespace dialog_support;
constexpr int kDialog = 270;

}  // namespace

CLabelDlg::CLabelDlg(wxWindow* parent, UndoStore& undo)
    : CFrameTextDlg(parent, kDialog, std::make_unique<L>(undo)) {
    mItems = new wxListCtrl(this, L::kItems, wxDefaultPosition, wxSize(300, 170),
                            wxLC_REPORT | wxLC_NO_HEADER | wxLC_SINGLE_SEL | wxLC_HRULES | wxBORDER_SUNKEN);
    mItems->EnableCheckBoxes();
    mItems->AppendColumn(wxString(), wxLIST_FORMAT_LEFT,
                         300 - 2 * wxSystemSettings::GetMetric(wxSYS_EDGE_X) - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X));
    const std::vector<std::string> rows = L::RowTexts();
    for (size_t i = 0; i < rows.size(); ++i) mItems->InsertItem(long(i), Wx(rows[i]));
    mCombination = new CDisabledItemCombo(this, L::kCombination, wxDefaultPosition, wxSize(300, -1));
    FillEntries(*mCombination, L::CombinationTexts());

    auto ticked = [this](wxListEvent& e, bool on) {
        RunGuarded([&] {
            if (mShowing) return;
            Controller().SetRowTicked(int(e.GetIndex()), on);
            ShowOwnState();
        });
    };
    mItems->Bind(wxEVT_LIST_ITEM_CHECKED, [ticked](wxListEvent& e) { ticked(e, true); });
    mItems->Bind(wxEVT_LIST_ITEM_UNCHECKED, [ticked](wxListEvent& e) { ticked(e, false); });
    mItems->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& e) {
        RunGuarded([&] {
            Controller().ToggleRow(int(e.GetIndex()));
            ShowOwnState();
        });
    });
    mCombination->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& e) {
        RunGuarded([&] {
            Controller().ChooseCombination(e.GetSelection());
            ShowOwnState();
        });
    });
    mCombination->Bind(wxEVT_COMBOBOX_CLOSEUP, [this](wxCommandEvent& e) {
        RunGuarded([&] {
            Controller().CombinationClosed();
            ShowOwnState();
        });
        e.Skip();
    });
    mCombination->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent& e) {
        FitComboDropDownWidth(mCombination);
        e.Skip();
    });

    auto* own = new wxBoxSizer(wxVERTICAL);
    own->Add(new wxStaticText(this, wxID_ANY, DialogText(kDialog, -2)), 0, wxBOTTOM, 4);
    own->Add(mItems, 0, wxEXPAND | wxBOTTOM, 6);
    own->Add(mCombination, 0, wxEXPAND);
    Finish(own, DialogText(kDialog, -3), DialogText(kDialog, -9), DialogText(kDialog, -11));
}

bool CLabelDlg::InitController(const std::vector<std::string>& faces) {
    if (!Controller().Init(faces)) return false;
    for (unsigned i = 0; i < mCombination->GetCount(); ++i)
        mCombination->SetItemData(i, int(i) == L::kCustom ? 0 : 1);
    return true;
}

void CLabelDlg::ShowOwnState() {
    mShowing = true;
    for (int row = 0; row < L::kRows && row < mItems->GetItemCount(); ++row)
        if (mItems->IsItemChecked(row) != Controller().Ticked(row)) mItems->CheckItem(row, Controller().Ticked(row));
    mShowing = false;
    if (mCombination->GetSelection() != Controller().Combination()) mCombination->Select(Controller().Combination());
}

void CLabelDlg::Accept() { Controller().OnOK(); }

bool WxSettingsDialogs::RunLabels(CLayoutSetting& layout, bool preset) {
    if (!dialogs::ChooseEditedImage(layout, preset).item) return false;
    CLabelDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, Undo());
    dialog.SetPreset(preset);
    dialog.SetLayout(&layout);
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
