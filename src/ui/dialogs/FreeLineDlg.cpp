#include "ui/dialogs/FreeLineDlg.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "model/CLayoutSetting.h"
#include "model/FreeLineItem.h"
#include "model/ImageAdding.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/StringTable.h"
#include "ui/SurfacePainter.h"
#include "ui/controls/CNumEdit.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {

namespace {
wxToggleButton* PictureToggle(wxWindow* parent, int id, int icon, const char* fallback) {
    auto* button = new wxToggleButton(parent, id, std::filesystem::exists(IconPath(icon)) ? "" : fallback,
                                      wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    if (std::filesystem::exists(IconPath(icon))) button->SetBitmap(ResourceIcon(icon, 24));
    return button;
}
}  // namespace

CFreeLineDlg::CFreeLineDlg(wxWindow* parent) : SettingsDialog(parent, "Freie Linie") {
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* sampleBox = new wxStaticBoxSizer(wxVERTICAL, this, "Beispiel:");
    mSample = new wxPanel(sampleBox->GetStaticBox(), 3623, wxDefaultPosition, wxSize(320, 100), wxBORDER_SIMPLE);
    PrepareSurfaceWindow(*mSample);
    sampleBox->Add(mSample, 1, wxEXPAND | wxALL, 4);
    outer->Add(sampleBox, 0, wxEXPAND | wxALL, 6);

    auto* grid = new wxFlexGridSizer(2, 4, 6);
    auto label = [&](const wxString& text) { grid->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL); };
    label("Linienart:");
    auto* styleRow = new wxBoxSizer(wxHORIZONTAL);
    mStyle[0] = PictureToggle(this, 3795, 259, "—");
    mStyle[1] = PictureToggle(this, 3796, 258, "- -");
    styleRow->Add(mStyle[0], 0, wxRIGHT, 2);
    styleRow->Add(mStyle[1]);
    grid->Add(styleRow);

    label("Dicke:");
    auto* thickRow = new wxBoxSizer(wxHORIZONTAL);
    mThickness = new CNumEdit(this, 1150, "", wxDefaultPosition, wxSize(70, -1));
    mThickness->SetParams(0, 1000, true, 0, 9);
    thickRow->Add(mThickness);
    thickRow->Add(new wxStaticText(this, wxID_ANY, "Punkt"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    grid->Add(thickRow);

    label(Text("Länge:"));
    auto* lengthRow = new wxBoxSizer(wxHORIZONTAL);
    mLength = new CNumEdit(this, 1148, "", wxDefaultPosition, wxSize(90, -1));
    mUnit = new wxChoice(this, 3614);
    mUnit->Append(Text(LoadString(IDS_UNIT_MM)));
    mUnit->Append(Text(LoadString(IDS_UNIT_INCH)));
    lengthRow->Add(mLength);
    lengthRow->Add(mUnit, 0, wxLEFT, 4);
    grid->Add(lengthRow);

    label("Winkel:");
    auto* angleRow = new wxBoxSizer(wxHORIZONTAL);
    mAngle = new CNumEdit(this, 1149, "", wxDefaultPosition, wxSize(70, -1));
    mAngle->SetParams(-180, 180, true, 0, 9);
    angleRow->Add(mAngle);
    angleRow->Add(new wxStaticText(this, wxID_ANY, "Grad"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    grid->Add(angleRow);

    label("Farbe:");
    mColour = new ColourSwatchButton(this, 1165, *wxBLACK, SharedColourChooser());
    grid->Add(mColour);

    label("Pfeilmarkierung:");
    auto* markRow = new wxBoxSizer(wxHORIZONTAL);
    mMark[0] = new wxRadioButton(this, 3798, "Aus", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    mMark[1] = new wxRadioButton(this, 3799, "Ein Ende");
    mMark[2] = new wxRadioButton(this, 3800, "Beide Enden");
    for (wxRadioButton* r : mMark) markRow->Add(r, 0, wxRIGHT, 8);
    grid->Add(markRow);

    label("Typ:");
    auto* typeRow = new wxBoxSizer(wxHORIZONTAL);
    mType[0] = PictureToggle(this, 3801, 262, "90");
    mType[1] = PictureToggle(this, 3802, 263, "90o");
    mType[2] = PictureToggle(this, 3803, 260, "60");
    mType[3] = PictureToggle(this, 3804, 261, "60o");
    for (wxToggleButton* t : mType) typeRow->Add(t, 0, wxRIGHT, 2);
    grid->Add(typeRow);

    label(Text("Größe:"));
    auto* sizeRow = new wxBoxSizer(wxHORIZONTAL);
    mSize[0] = new wxRadioButton(this, 3805, Text("Groß"), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    mSize[1] = new wxRadioButton(this, 3806, "Mittel");
    mSize[2] = new wxRadioButton(this, 3807, "Klein");
    for (wxRadioButton* r : mSize) sizeRow->Add(r, 0, wxRIGHT, 8);
    grid->Add(sizeRow);
    outer->Add(grid, 0, wxEXPAND | wxALL, 8);
    outer->Add(MakeButtons(), 0, wxEXPAND | wxALL, 6);

    mSample->Bind(wxEVT_PAINT, Guarded<wxPaintEvent>([this](wxPaintEvent&) {
        wxPaintDC dc(mSample);
        const wxSize size = mSample->GetClientSize();
        // Off screen, then copied to the window in one step.
        gfx::ImageSurface surface(std::max(1, size.x), std::max(1, size.y), true);
        if (!surface.Valid()) return;
        {
            gfx::Canvas canvas(surface.Native(), 96);
            DrawFreeLineSample(canvas, size.x, size.y, SampleStyle());
        }
        PaintSurface(dc, surface, 0, 0);
    }));
    for (size_t i = 0; i < 2; ++i)
        mStyle[i]->Bind(wxEVT_TOGGLEBUTTON, Guarded<wxCommandEvent>([this, i](wxCommandEvent&) {
                            Choose(mStyle, 2, mStyle[i]);
                        }));
    for (size_t i = 0; i < 4; ++i)
        mType[i]->Bind(wxEVT_TOGGLEBUTTON, Guarded<wxCommandEvent>([this, i](wxCommandEvent&) {
                           Choose(mType, 4, mType[i]);
                       }));
    for (wxRadioButton* r : mMark)
        r->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { ArrowsChanged(); }));
    for (wxRadioButton* r : mSize)
        r->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { mSample->Refresh(); }));
    // The swatch's own handler takes the new colour first; the sample follows it.
    mColour->Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) {
        event.Skip();
        CallAfter([this] { mSample->Refresh(); });
    });
    mUnit->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
                    mCtl.GetValues().lengthText = Utf8(mLength->GetValue());
                    mCtl.SetUnit(mUnit->GetSelection() == 0 ? 1 : 2);
                    SetLengthRange();
                    mLength->ChangeValue(Text(mCtl.GetValues().lengthText));
                }));

    SetSizerAndFit(outer);
    SetEscapeId(wxID_CANCEL);
    CentreOnParent();
}

void CFreeLineDlg::Choose(wxToggleButton* const* group, size_t count, wxToggleButton* chosen) {
    for (size_t i = 0; i < count; ++i) group[i]->SetValue(group[i] == chosen);
    mSample->Refresh();
}

void CFreeLineDlg::ArrowsChanged() {
    const bool on = !mMark[0]->GetValue();
    for (wxToggleButton* t : mType) t->Enable(on);
    for (wxRadioButton* r : mSize) r->Enable(on);
    mSample->Refresh();
}

void CFreeLineDlg::SetLengthRange() {
    mLength->SetParams(0, mCtl.LengthFieldMaximum(), false, mCtl.GetValues().unit == 1 ? 5 : 1, 9);
}

int CFreeLineDlg::SetLine(const CLineObj& line) {
    mCtl.SetLine(line);
    ShowValues();
    return 1;
}

int CFreeLineDlg::GetLine(CLineObj& line) const {
    mCtl.GetLine(line);
    return 1;
}

void CFreeLineDlg::ShowValues() {
    const FreeLineController::Values& v = mCtl.GetValues();
    Choose(mStyle, 2, mStyle[v.lineStyle]);
    mThickness->ChangeValue(Text(v.thicknessText));
    mUnit->SetSelection(v.unit == 1 ? 0 : 1);
    SetLengthRange();
    mLength->ChangeValue(Text(v.lengthText));
    mAngle->ChangeValue(Text(v.angleText));
    mColour->SetColour(ToWx(v.colour));
    for (int i = 0; i < 3; ++i) mMark[i]->SetValue(v.arrowMark == i);
    Choose(mType, 4, mType[int(v.arrowType)]);
    for (int i = 0; i < 3; ++i) mSize[i]->SetValue(v.arrowSize == 3 - i);
    ArrowsChanged();
}

void CFreeLineDlg::ReadValues() {
    FreeLineController::Values& v = mCtl.GetValues();
    v.lineStyle = mStyle[1]->GetValue() ? 1 : 0;
    v.thicknessText = Utf8(mThickness->GetValue());
    v.lengthText = Utf8(mLength->GetValue());
    v.angleText = Utf8(mAngle->GetValue());
    v.colour = FromWx(mColour->GetColour());
    v.arrowMark = mMark[2]->GetValue() ? 2 : mMark[1]->GetValue() ? 1 : 0;
    for (int i = 0; i < 4; ++i)
        if (mType[i]->GetValue()) v.arrowType = FreeLineController::ArrowType(i);
    v.arrowSize = mSize[0]->GetValue() ? 3 : mSize[1]->GetValue() ? 2 : 1;
}

FreeLineSampleStyle CFreeLineDlg::SampleStyle() const {
    FreeLineSampleStyle s;
    s.colour = FromWx(mColour->GetColour());
    s.dashed = mStyle[1]->GetValue();
    s.arrowMark = mMark[2]->GetValue() ? 2 : mMark[1]->GetValue() ? 1 : 0;
    s.wideHead = mType[0]->GetValue() || mType[1]->GetValue();
    s.filledHead = mType[0]->GetValue() || mType[2]->GetValue();
    s.arrowSize = mSize[0]->GetValue() ? 3 : mSize[1]->GetValue() ? 2 : 1;
    return s;
}

DialogCheck CFreeLineDlg::Commit() {
    ReadValues();
    return mCtl.Apply();
}

bool WxSettingsDialogs::RunFreeLine(CLayoutSetting& layout, CLayoutObj* item) {
    if (item && item->GetKind() != kKindLine) return false;
    // A new line lives in the layout while the dialog runs; Cancel takes it out again.
    CLineObj* line = item ? static_cast<CLineObj*>(item) : CreateLineObject(&layout, layout.ItemListHead());
    if (!line) return false;
    CFreeLineDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr);
    dialog.SetLine(*line);
    if (dialog.ShowModal() != wxID_OK) {
        if (!item) DeleteLayoutObject(line, layout.ItemListHead());
        return false;
    }
    dialog.GetLine(*line);
    if (!item) layout.SetCurrentItem(line);
    return true;
}

}  // namespace vx
