#include "ui/dialogs/CHeaderFooterDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "dialogs/FontList.h"
#include "dialogs/FrameTextRules.h"
#include "host/FatalError.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"
#include "ui/controls/CFontComboBox.h"
#include "ui/controls/CFontComboBoxBase.h"
#include "ui/controls/CIconButton.h"
#include "ui/controls/CNumEdit.h"
#include "ui/controls/ColourSwatchButton.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

using H = dialogs::HeaderFooterController;
using namespace dialog_support;
constexpr int kDialog = 154;
constexpr uint16_t kUndoCodeHeaderFooter = 21;
constexpr int16_t kStyleBits[] = {0x100, 0x200, 0x400};
constexpr int kStyleIds[] = {H::kBold, H::kItalic, H::kUnderline};
constexpr int kStyleIcons[] = {161, 162, 163};
constexpr int kJustifyIds[] = {H::kLeft, H::kCentre, H::kRight};
constexpr int kJustifyCodes[] = {0, 1, -1};
constexpr int kJustifyIcons[] = {158, 159, 160};

struct AreaIds {
    int height, unit, text, edit, info, datePage, fixedDate, dateLabel;
};
constexpr AreaIds kHeaderIds{H::kHeaderHeight, H::kHeaderUnit, H::kHeaderText, H::kHeaderEdit,
                             H::kHeaderPrintInfo, H::kHeaderDatePage, H::kHeaderFixedDate, H::kHeaderDateLabel};
constexpr AreaIds kFooterIds{H::kFooterHeight, H::kFooterUnit, H::kFooterText, H::kFooterEdit,
                             H::kFooterPrintInfo, H::kFooterDatePage, H::kFooterFixedDate, H::kFooterDateLabel};

}  // namespace

CHeaderFooterDlg::CHeaderFooterDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, DialogText(kDialog, 0)) {
    // The font list's entries take the height of the dialog's own font.
    dialogs::FontListItemHeight = GetCharHeight();
    auto* font = new wxStaticBoxSizer(wxVERTICAL, this, DialogText(kDialog, -3));
    wxWindow* box = font->GetStaticBox();
    mFont = new CFontComboBox(box, H::kFont, wxDefaultPosition, wxSize(180, -1));
    mSize = new CFontComboBoxBase(box, H::kSize, wxDefaultPosition, wxSize(110, -1), wxCB_READONLY);
    mLineHeight = new CFontComboBoxBase(box, H::kLineHeight, wxDefaultPosition, wxSize(80, -1), wxCB_READONLY);
    mColour = new ColourSwatchButton(box, H::kColour, *wxBLACK, SharedColourChooser());
    auto iconRow = [&](auto& buttons, const int* ids, const int* icons) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        for (size_t i = 0; i < 3; ++i) {
            buttons[i] = new CIconButton(box, ids[i], wxString(), wxDefaultPosition, wxSize(28, 28));
            buttons[i]->SetIconsById(icons[i], 0);
            buttons[i]->SetCheckBoxMode(true);
            row->Add(buttons[i], 0, wxRIGHT, 2);
        }
        return row;
    };
    auto label = [](wxWindow* owner, const wxString& t) { return new wxStaticText(owner, wxID_ANY, t); };
    auto* grid = new wxFlexGridSizer(2, 6, 8);
    grid->Add(label(box, DialogText(kDialog, -3)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(mFont);
    grid->Add(label(box, DialogText(kDialog, -5)), 0, wxALIGN_CENTER_VERTICAL);
    auto* size = new wxBoxSizer(wxHORIZONTAL);
    size->Add(mSize, 0, wxRIGHT, 4);
    size->Add(new wxStaticText(box, 3820, Wx(LoadString(IDS_UNIT_POINT))), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(size);
    grid->Add(label(box, DialogText(kDialog, -6)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(iconRow(mStyle, kStyleIds, kStyleIcons));
    grid->Add(label(box, DialogText(kDialog, -7)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(iconRow(mJustify, kJustifyIds, kJustifyIcons));
    grid->Add(label(box, DialogText(kDialog, -8)), 0, wxALIGN_CENTER_VERTICAL);
    auto* line = new wxBoxSizer(wxHORIZONTAL);
    line->Add(mLineHeight, 0, wxRIGHT, 4);
    line->Add(new wxStaticText(box, 3821, Wx(LoadString(IDS_UNIT_PERCENT))), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(line);
    grid->Add(label(box, DialogText(kDialog, -9)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(mColour);
    font->Add(grid, 0, wxALL, 4);

    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, "OK"));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Abbrechen"));
    buttons->Realize();
    auto* areas = new wxBoxSizer(wxHORIZONTAL);
    areas->Add(MakeArea(Area::Header, DialogText(kDialog, -1)), 1, wxEXPAND | wxRIGHT, 8);
    areas->Add(MakeArea(Area::Footer, DialogText(kDialog, -2)), 1, wxEXPAND);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(areas, 0, wxEXPAND | wxALL, 10);
    top->Add(font, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    top->Add(buttons, 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);

    for (size_t i = 0; i < 3; ++i) {
        mStyle[i]->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent& e) {
            RunGuarded([&] { mController.SetStyleBit(kStyleBits[i], e.GetInt() != 0); });
        });
        mJustify[i]->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent&) {
            RunGuarded([&] {
                mController.SetJustify(kJustifyCodes[i]);
                ShowStyle();
            });
        });
    }
    mFont->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& e) { RunGuarded([&] { mController.SelectFont(e.GetSelection()); }); });
    mFont->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent& e) {
        SetComboDroppedWidth(mFont);
        e.Skip();
    });
    mSize->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& e) { RunGuarded([&] { mController.SelectSize(e.GetSelection()); }); });
    mLineHeight->Bind(wxEVT_COMBOBOX,
                      [this](wxCommandEvent& e) { RunGuarded([&] { mController.SelectLineHeight(e.GetSelection()); }); });
    mColour->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        RunGuarded([&] { mController.SetColour(FromWx(mColour->GetColour())); });
    });
    Bind(wxEVT_INIT_DIALOG, &CHeaderFooterDlg::OnInitDialog, this);
    Bind(wxEVT_BUTTON, &CHeaderFooterDlg::OnOk, this, wxID_OK);
}

wxSizer* CHeaderFooterDlg::MakeArea(Area area, const wxString& title) {
    const AreaIds& ids = area == Area::Header ? kHeaderIds : kFooterIds;
    AreaControls& c = Of(area);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, title);
    wxWindow* box = group->GetStaticBox();
    c.height = new CNumEdit(box, ids.height, wxString(), wxDefaultPosition, wxSize(80, -1));
    c.unit = new wxChoice(box, ids.unit);
    c.text = new wxCheckBox(box, ids.text, DialogText(kDialog, ids.text));
    c.edit = new wxTextCtrl(box, ids.edit, wxString(), wxDefaultPosition, wxSize(240, 70), wxTE_MULTILINE);
    // The areas show plain text: the printed font is chosen below.
    c.edit->SetFont(wxFont(10, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL, false,
                           wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetFaceName()));
    c.edit->SetForegroundColour(*wxBLACK);
    c.info = new wxCheckBox(box, ids.info, DialogText(kDialog, ids.info));
    c.datePage = new wxCheckBox(box, ids.datePage, DialogText(kDialog, ids.datePage));
    c.fixedDate = new wxCheckBox(box, ids.fixedDate, DialogText(kDialog, ids.fixedDate));
    c.dateLabel = new wxStaticText(box, ids.dateLabel, wxString(), wxDefaultPosition, wxSize(100, -1));

    auto* height = new wxBoxSizer(wxHORIZONTAL);
    height->Add(new wxStaticText(box, wxID_ANY, DialogText(kDialog, -4)), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    height->Add(c.height, 0, wxRIGHT, 4);
    height->Add(c.unit);
    auto* fixed = new wxBoxSizer(wxHORIZONTAL);
    fixed->Add(c.fixedDate, 0, wxALIGN_CENTER_VERTICAL);
    fixed->Add(c.dateLabel, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 2);
    group->Add(height, 0, wxALL, 4);
    group->Add(c.text, 0, wxALL, 4);
    group->Add(c.edit, 1, wxEXPAND | wxLEFT | wxRIGHT, 4);
    group->Add(c.info, 0, wxALL, 4);
    group->Add(c.datePage, 0, wxLEFT | wxRIGHT, 4);
    group->Add(fixed, 0, wxLEFT | wxTOP, 20);

    // The typed texts reach the controller at once, so that redrawing an area keeps them.
    c.height->Bind(wxEVT_TEXT, [this, area](wxCommandEvent& e) {
        RunGuarded([&] { mController.SetHeightText(area, Utf8(Of(area).height->GetValue())); });
        e.Skip();
    });
    c.edit->Bind(wxEVT_TEXT, [this, area](wxCommandEvent& e) {
        RunGuarded([&] { mController.SetAreaText(area, Utf8(Of(area).edit->GetValue())); });
        e.Skip();
    });
    c.text->Bind(wxEVT_CHECKBOX, [this, area](wxCommandEvent& e) { RunGuarded([&] { mController.TickText(area, e.IsChecked()); }); });
    c.info->Bind(wxEVT_CHECKBOX, [this, area](wxCommandEvent& e) { RunGuarded([&] { mController.TickInfo(area, e.IsChecked()); }); });
    c.datePage->Bind(wxEVT_CHECKBOX, [this, area](wxCommandEvent& e) {
        RunGuarded([&] {
            mController.TickDatePage(area, e.IsChecked());
            ShowArea(area);
        });
    });
    c.fixedDate->Bind(wxEVT_CHECKBOX, [this, area](wxCommandEvent& e) {
        RunGuarded([&] {
            mController.TickFixedDate(area, e.IsChecked());
            ShowArea(area);
        });
    });
    c.unit->Bind(wxEVT_CHOICE, [this, area](wxCommandEvent& e) {
        RunGuarded([&] {
            mController.SetHeightText(area, Utf8(Of(area).height->GetValue()));
            mController.UnitChanged(area, e.GetSelection());
            ShowArea(area);
        });
    });
    return group;
}

void CHeaderFooterDlg::OnInitDialog(wxInitDialogEvent&) {
    RunGuarded([&] {
        mFont->FillFonts();
        std::vector<std::string> faces;
        for (unsigned i = 0; i < mFont->GetCount(); ++i) faces.push_back(Utf8(mFont->GetString(i)));
        FillEntries(*mSize, dialogs::FontSizeEntries());
        std::vector<std::string> percents;
        for (int p : H::LineHeightPercents()) percents.push_back(std::to_string(p));
        FillEntries(*mLineHeight, percents);
        mController.Init(faces);
        for (Area a : {Area::Header, Area::Footer}) {
            AreaControls& c = Of(a);
            c.unit->Clear();
            c.unit->Append(Wx(LoadString(IDS_UNIT_MM)));
            c.unit->Append(Wx(LoadString(IDS_UNIT_INCH)));
            c.edit->ChangeValue(Wx(mController.AreaText(a)));
            ShowArea(a);
        }
        if (mController.FontIndex() >= 0) mFont->SetSelection(mController.FontIndex());
        mSize->SetSelection(mController.SizeIndex());
        mLineHeight->SetSelection(mController.LineHeightIndex());
        mColour->SetColour(ToWx(mController.Colour()));
        ShowStyle();
        mHeader.height->SetFocus();
    });
}

void CHeaderFooterDlg::ShowArea(Area a) {
    AreaControls& c = Of(a);
    SetFieldRange(*c.height, mController.Range(a), mController.Unit(a));
    c.height->ChangeValue(Wx(mController.HeightText(a)));
    c.unit->SetSelection(mController.Unit(a) - 1);
    c.text->SetValue(mController.PrintsText(a));
    c.info->SetValue(mController.PrintsInfo(a));
    c.datePage->SetValue(mController.PrintsDatePage(a));
    c.fixedDate->SetValue(mController.UsesFixedDate(a));
    c.fixedDate->Enable(mController.FixedDateEnabled(a));
    c.dateLabel->SetLabel(Wx(mController.FixedDateLabel(a)));
}

void CHeaderFooterDlg::ShowStyle() {
    for (size_t i = 0; i < 3; ++i) {
        mStyle[i]->SetChecked((mController.Style() & kStyleBits[i]) != 0);
        mJustify[i]->SetChecked(mController.Justify() == kJustifyCodes[i]);
    }
}

void CHeaderFooterDlg::OnOk(wxCommandEvent&) {
    RunGuarded([&] {
        for (Area a : {Area::Header, Area::Footer}) {
            mController.SetHeightText(a, Utf8(Of(a).height->GetValue()));
            mController.SetAreaText(a, Utf8(Of(a).edit->GetValue()));
        }
        if (mController.OnOK()) {
            EndModal(wxID_OK);
            return;
        }
        switch (mController.FocusAfterRefusal()) {
            case H::Focus::HeaderHeight: FocusAndSelect(*mHeader.height); break;
            case H::Focus::FooterHeight: FocusAndSelect(*mFooter.height); break;
            case H::Focus::HeaderEdit: FocusAndSelect(*mHeader.edit); break;
            case H::Focus::FooterEdit: FocusAndSelect(*mFooter.edit); break;
            case H::Focus::None: break;
        }
    });
}

bool WxSettingsDialogs::RunHeaderFooter(CLayoutSetting& layout) {
    CHeaderFooterDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr);
    dialog.SetSettings(layout);
    if (dialog.ShowModal() != wxID_OK) return false;
    // Undo takes back the layout as it was before the dialog.
    Undo().PushUndo(layout, kUndoCodeHeaderFooter);
    dialog.GetSettings(layout);
    return true;
}

}  // namespace vx
