#include "ui/dialogs/CImageAlignDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "host/FatalError.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"
#include "ui/controls/CIconButton.h"
#include "ui/controls/CNumEdit.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

using C = dialogs::ImageAlignController;
using namespace dialog_support;
constexpr int kDialog = 153;

struct RadioIcon {
    int control, icon;
};
constexpr RadioIcon kHorizontalRadios[] = {{C::kHorizontalLeft, 226}, {C::kHorizontalCentre, 228},
                                           {C::kHorizontalRight, 227}, {C::kHorizontalJustify, 229}};
constexpr RadioIcon kVerticalRadios[] = {{C::kVerticalTop, 231}, {C::kVerticalCentre, 233}, {C::kVerticalBottom, 232}};
constexpr RadioIcon kRowRadios[] = {{C::kRowTop, 379}, {C::kRowCentre, 380}, {C::kRowBottom, 381}};

}  // namespace

CImageAlignDlg::CImageAlignDlg(wxWindow* parent, UndoStore& undo)
    : wxDialog(parent, wxID_ANY, DialogText(kDialog, 0)), mController(undo) {
    auto radioRow = [this](wxWindow* owner, const auto& radios) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        for (const RadioIcon& r : radios) {
            auto* b = new CIconButton(owner, r.control, wxString(), wxDefaultPosition, wxSize(32, 32));
            b->SetIconsById(r.icon, 0);
            b->SetCheckBoxMode(true);
            b->Bind(wxEVT_BUTTON, &CImageAlignDlg::OnRadio, this);
            mRadios[r.control] = b;
            row->Add(b, 0, wxRIGHT, 4);
        }
        return row;
    };
    auto spacingRow = [this](wxWindow* owner, int editId, int unitId, CNumEdit*& edit, wxChoice*& unit) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(new wxStaticText(owner, wxID_ANY, DialogText(kDialog, -4)), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
        edit = new CNumEdit(owner, editId, wxString(), wxDefaultPosition, wxSize(90, -1));
        row->Add(edit, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
        unit = new wxChoice(owner, unitId);
        row->Add(unit, 0, wxALIGN_CENTER_VERTICAL);
        edit->Bind(wxEVT_TEXT, &CImageAlignDlg::OnSpacingText, this);
        unit->Bind(wxEVT_CHOICE, &CImageAlignDlg::OnUnit, this);
        return row;
    };
    auto group = [this](const wxString& title) { return new wxStaticBoxSizer(wxVERTICAL, this, title); };

    auto* horizontal = group(DialogText(kDialog, -1));
    horizontal->Add(new wxStaticText(horizontal->GetStaticBox(), wxID_ANY, DialogText(kDialog, -3)), 0, wxBOTTOM, 4);
    horizontal->Add(radioRow(horizontal->GetStaticBox(), kHorizontalRadios), 0, wxBOTTOM, 8);
    horizontal->Add(spacingRow(horizontal->GetStaticBox(), C::kHorizontalSpacing, C::kHorizontalUnit, mHorizontal,
                               mHorizontalUnit));
    auto* vertical = group(DialogText(kDialog, -2));
    vertical->Add(new wxStaticText(vertical->GetStaticBox(), wxID_ANY, DialogText(kDialog, -3)), 0, wxBOTTOM, 4);
    vertical->Add(radioRow(vertical->GetStaticBox(), kVerticalRadios), 0, wxBOTTOM, 8);
    vertical->Add(spacingRow(vertical->GetStaticBox(), C::kVerticalSpacing, C::kVerticalUnit, mVertical, mVerticalUnit));
    auto* row = group(DialogText(kDialog, -5));
    row->Add(radioRow(row->GetStaticBox(), kRowRadios));

    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, "OK"));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Abbrechen"));
    buttons->Realize();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(horizontal, 0, wxEXPAND | wxALL, 10);
    top->Add(vertical, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    top->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    Bind(wxEVT_INIT_DIALOG, &CImageAlignDlg::OnInitDialog, this);
    Bind(wxEVT_BUTTON, &CImageAlignDlg::OnOk, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CImageAlignDlg::OnCancel, this, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
        wxCommandEvent cancel;
        OnCancel(cancel);
    });
}

void CImageAlignDlg::OnInitDialog(wxInitDialogEvent&) {
    RunGuarded([&] {
        mController.Init();
        for (wxChoice* unit : {mHorizontalUnit, mVerticalUnit}) {
            unit->Clear();
            unit->Append(Wx(LoadString(IDS_UNIT_MM)));
            unit->Append(Wx(LoadString(IDS_UNIT_INCH)));
        }
        ShowState();
        mRadios.begin()->second->SetFocus();
    });
}

void CImageAlignDlg::ShowState() {
    for (auto& [control, button] : mRadios)
        button->SetChecked(control == mController.CheckedHorizontal() || control == mController.CheckedVertical() ||
                           control == mController.CheckedRow());
    for (Field f : {Field::Horizontal, Field::Vertical}) {
        CNumEdit* edit = EditOf(f);
        SetFieldRange(*edit, mController.Range(f), mController.Unit(f));
        const wxString text = Wx(mController.Text(f));
        if (edit->GetValue() != text) edit->ChangeValue(text);
        (f == Field::Horizontal ? mHorizontalUnit : mVerticalUnit)->SetSelection(mController.Unit(f) - 1);
    }
    if (std::optional<Field> corrected = mController.TakeCorrectedField()) FocusAndSelect(*EditOf(*corrected));
}

void CImageAlignDlg::OnRadio(wxCommandEvent& event) {
    RunGuarded([&] {
        mController.ClickRadio(event.GetId());
        ShowState();
    });
}

void CImageAlignDlg::OnSpacingText(wxCommandEvent& event) {
    RunGuarded([&] {
        const Field f = event.GetId() == C::kHorizontalSpacing ? Field::Horizontal : Field::Vertical;
        mController.TextChanged(f, Utf8(EditOf(f)->GetValue()));
        ShowState();
    });
}

void CImageAlignDlg::OnUnit(wxCommandEvent& event) {
    RunGuarded([&] {
        const Field f = event.GetId() == C::kHorizontalUnit ? Field::Horizontal : Field::Vertical;
        mController.UnitChanged(f, event.GetSelection());
        ShowState();
    });
}

void CImageAlignDlg::OnOk(wxCommandEvent&) {
    RunGuarded([&] {
        if (mController.OnOK()) EndModal(wxID_OK);
    });
}

void CImageAlignDlg::OnCancel(wxCommandEvent&) {
    RunGuarded([&] {
        mController.OnCancel();
        EndModal(wxID_CANCEL);
    });
}

bool WxSettingsDialogs::RunImageAlign(CLayoutSetting& layout) {
    UndoStore& undo = Undo();
    CImageAlignDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, undo);
    dialog.SetLayout(&layout);
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
