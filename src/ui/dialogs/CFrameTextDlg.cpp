#include "ui/dialogs/CFrameTextDlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "dialogs/FrameTextRules.h"
#include "dialogs/FrameTextSample.h"
#include "host/FatalError.h"
#include "ui/SurfacePainter.h"
#include "ui/controls/CDisabledItemCombo.h"
#include "ui/controls/CFontComboBox.h"
#include "ui/controls/CFontComboBoxBase.h"
#include "ui/controls/CIconButton.h"
#include "ui/controls/ColourSwatchButton.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/DialogTexts.h"

namespace vx {
namespace {

using F = dialogs::FrameTextController;
using namespace dialog_support;
constexpr int kAlignIds[] = {F::kAlignLeft, F::kAlignCentre, F::kAlignRight};
constexpr int kAlignIcons[] = {158, 159, 160};

}  // namespace

CFrameTextDlg::CFrameTextDlg(wxWindow* parent, int dialogId, std::unique_ptr<F> controller)
    : wxDialog(parent, wxID_ANY, DialogText(dialogId, 0)), mController(std::move(controller)), mDialogId(dialogId) {
    mFont = new CFontComboBox(this, F::kFont, wxDefaultPosition, wxSize(180, -1));
    mSize = new CFontComboBoxBase(this, F::kSize, wxDefaultPosition, wxSize(110, -1), wxCB_READONLY);
    mPosition = new CDisabledItemCombo(this, F::kPosition, wxDefaultPosition, wxSize(110, -1));
    mColour = new ColourSwatchButton(this, F::kColour, *wxBLACK, SharedColourChooser());
    mUpsideDown = new wxCheckBox(this, F::kUpsideDown, DialogText(dialogId, F::kUpsideDown));
    for (size_t i = 0; i < mAlign.size(); ++i) {
        mAlign[i] = new CIconButton(this, kAlignIds[i], wxString(), wxDefaultPosition, wxSize(28, 28));
        mAlign[i]->SetIconsById(kAlignIcons[i], 0);
        mAlign[i]->SetCheckBoxMode(true);
        mAlign[i]->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent&) {
            RunGuarded([&] {
                mController->SetAlign(int(i));
                ShowState();
            });
        });
    }
    mSample = new wxPanel(this, F::kSample, wxDefaultPosition, wxSize(260, 200));
    PrepareSurfaceWindow(*mSample);
    mSample->Bind(wxEVT_PAINT, [this](wxPaintEvent&) { OnPaintSample(); });

    mPosition->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& e) {
        RunGuarded([&] {
            mController->ChoosePosition(e.GetSelection());
            ShowState();
        });
    });
    mPosition->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent& e) {
        FitComboDropDownWidth(mPosition);
        e.Skip();
    });
    mFont->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent& e) {
        SetComboDroppedWidth(mFont);
        e.Skip();
    });
    mUpsideDown->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
        RunGuarded([&] {
            mController->SetUpsideDown(e.IsChecked());
            mSample->Refresh();
        });
    });
    mColour->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        RunGuarded([&] {
            mController->SetColour(FromWx(mColour->GetColour()));
            mSample->Refresh();
        });
    });
    Bind(wxEVT_INIT_DIALOG, &CFrameTextDlg::OnInitDialog, this);
    Bind(wxEVT_BUTTON, &CFrameTextDlg::OnOk, this, wxID_OK);
}

void CFrameTextDlg::Finish(wxSizer* own, const wxString& displayTitle, const wxString& pointsText,
                           const wxString& noteText) {
    auto* display = new wxStaticBoxSizer(wxVERTICAL, this, displayTitle);
    auto* grid = new wxFlexGridSizer(2, 6, 8);
    auto label = [this](const wxString& t) { return new wxStaticText(this, wxID_ANY, t); };
    grid->Add(label(DialogText(mDialogId, mDialogId == 271 ? -2 : -4)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(mPosition);
    grid->AddSpacer(0);
    grid->Add(mUpsideDown);
    grid->Add(label(DialogText(mDialogId, mDialogId == 271 ? -9 : -5)), 0, wxALIGN_CENTER_VERTICAL);
    auto* align = new wxBoxSizer(wxHORIZONTAL);
    for (CIconButton* b : mAlign) align->Add(b, 0, wxRIGHT, 2);
    grid->Add(align);
    display->Add(grid, 0, wxALL, 4);

    auto* font = new wxStaticBoxSizer(wxVERTICAL, this, DialogText(mDialogId, mDialogId == 271 ? -4 : -6));
    auto* fontGrid = new wxFlexGridSizer(2, 6, 8);
    fontGrid->Add(label(DialogText(mDialogId, mDialogId == 271 ? -5 : -7)), 0, wxALIGN_CENTER_VERTICAL);
    fontGrid->Add(mFont);
    fontGrid->Add(label(DialogText(mDialogId, mDialogId == 271 ? -6 : -8)), 0, wxALIGN_CENTER_VERTICAL);
    auto* size = new wxBoxSizer(wxHORIZONTAL);
    size->Add(mSize, 0, wxRIGHT, 4);
    size->Add(label(pointsText), 0, wxALIGN_CENTER_VERTICAL);
    fontGrid->Add(size);
    fontGrid->Add(label(DialogText(mDialogId, mDialogId == 271 ? -7 : -10)), 0, wxALIGN_CENTER_VERTICAL);
    fontGrid->Add(mColour);
    font->Add(fontGrid, 0, wxALL, 4);

    auto* sample = new wxBoxSizer(wxVERTICAL);
    sample->Add(label(DialogText(mDialogId, mDialogId == 271 ? -10 : -1)), 0, wxBOTTOM, 4);
    sample->Add(mSample);

    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, "OK"));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Abbrechen"));
    buttons->Realize();

    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(own, 0, wxEXPAND | wxBOTTOM, 8);
    left->Add(display, 0, wxEXPAND | wxBOTTOM, 8);
    left->Add(font, 0, wxEXPAND);
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    columns->Add(left, 0, wxRIGHT, 12);
    columns->Add(sample);
    auto* note = label(noteText);
    note->Wrap(460);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(columns, 0, wxALL, 10);
    top->Add(note, 0, wxLEFT | wxRIGHT, 10);
    top->Add(buttons, 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
}

void CFrameTextDlg::OnInitDialog(wxInitDialogEvent&) {
    RunGuarded([&] {
        mFont->FillFonts();
        std::vector<std::string> faces;
        for (unsigned i = 0; i < mFont->GetCount(); ++i) faces.push_back(Utf8(mFont->GetString(i)));
        FillEntries(*mSize, dialogs::FontSizeEntries());
        if (!InitController(faces)) {
            CallAfter([this] { EndModal(wxID_CANCEL); });
            return;
        }
        SetTitle(Wx(mController->Title(Utf8(DialogText(mDialogId, 0)))));
        if (mController->FontIndex() >= 0) mFont->SetSelection(mController->FontIndex());
        mSize->SetSelection(mController->SizeIndex());
        FillEntries(*mPosition, dialogs::SideEntries());
        for (unsigned i = 0; i < mPosition->GetCount(); ++i)
            mPosition->SetItemData(i, int(i) == mController->DisabledPosition() ? 0 : 1);
        mColour->SetColour(ToWx(mController->Colour()));
        mUpsideDown->SetValue(mController->UpsideDown());
        ShowState();
    });
}

void CFrameTextDlg::ShowState() {
    for (size_t i = 0; i < mAlign.size(); ++i) mAlign[i]->SetChecked(int(i) == mController->Align());
    if (mPosition->GetSelection() != mController->Position()) mPosition->Select(mController->Position());
    ShowOwnState();
    mSample->Refresh();
}

void CFrameTextDlg::OnPaintSample() {
    wxPaintDC dc(mSample);
    RunGuarded([&] {
        const wxSize size = mSample->GetClientSize();
        const gfx::ImageSurface surface = dialogs::RenderFrameTextSample(size.x, size.y, mController->Sample());
        if (surface.Valid()) PaintSurface(dc, surface, 0, 0);
    });
}

void CFrameTextDlg::OnOk(wxCommandEvent&) {
    RunGuarded([&] {
        mController->SelectFont(mFont->GetSelection());
        mController->SelectSize(mSize->GetSelection() < 0 ? 0 : mSize->GetSelection());
        Accept();
        EndModal(wxID_OK);
    });
}

}  // namespace vx
