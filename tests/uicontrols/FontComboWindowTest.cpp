#include "GalleryFixture.h"

#include <wx/choice.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/vlbox.h>
#include <wx/stattext.h>

#include "dialogs/FontList.h"
#include "ui/controls/CDisabledItemCombo.h"
#include "ui/controls/CFontComboBox.h"
#include "ui/controls/CFontComboBoxBase.h"
#include "ui/controls/CIconButton.h"
#include "ui/controls/CNumEdit.h"
#include "ui/controls/COwnerDrawListCtrl.h"
#include "ui/controls/ColourSwatchButton.h"
#include "ui/controls/ControlUtilities.h"

namespace {

using FontComboWindow = Gallery;
using ControlGallery = Gallery;

TEST_F(FontComboWindow, ListsTheMachinesOutlineFontsWithTheirPicture) {
    auto* combo = new CFontComboBox(mPanel, wxID_ANY, wxPoint(10, 10), wxSize(220, -1));
    combo->FillFonts();
    const int dejaVu = combo->FindString("DejaVu Sans", true);
    ASSERT_NE(dejaVu, wxNOT_FOUND);
    ASSERT_NE(combo->Entry(static_cast<unsigned>(dejaVu)), nullptr);
    EXPECT_EQ(combo->Entry(static_cast<unsigned>(dejaVu))->kind, vx::dialogs::kFontKindOutline);
    EXPECT_EQ(combo->GetSelection(), 0);

    combo->SelectByText("dejavu s", false);
    wxString text;
    combo->GetCurText(text);
    EXPECT_EQ(text, "DejaVu Sans");
    combo->FillFonts();  // a refill keeps the choice
    combo->GetCurText(text);
    EXPECT_EQ(text, "DejaVu Sans");
    combo->FillFonts({{"Liberation Serif", true}, {"Fixed", false}});
    EXPECT_EQ(combo->GetSelection(), wxNOT_FOUND);
    combo->GetCurText(text);
    EXPECT_EQ(text, "DejaVu Sans");
    EXPECT_EQ(combo->GetCount(), 1u);

    combo->FillFonts();
    combo->SelectByText("DejaVu Sans", true);
    combo->Popup();
    ASSERT_TRUE(PumpUntil([&] { return combo->IsPopupShown(); }));
    Pump(200);
    wxWindow* list = combo->GetPopupControl()->GetControl();
    SavePng(list, "CFontComboBox-open.png");
    // The picture of an outline font: its dark strokes in the first 16 pixels of a row.
    const wxImage shot = Grab(list);
    const int rowHeight = vx::dialogs::FontListEntryHeight();
    const int firstVisible = static_cast<wxVListBox*>(list)->GetVisibleRowsBegin();
    const int row = dejaVu - firstVisible;
    ASSERT_GE(row, 0);
    int dark = 0;
    for (int y = row * rowHeight; y < (row + 1) * rowHeight && y < shot.GetHeight(); ++y)
        for (int x = 0; x < 16; ++x)
            if (shot.GetRed(x, y) < 60 && shot.GetGreen(x, y) < 60 && shot.GetBlue(x, y) < 60) ++dark;
    EXPECT_GT(dark, 5);
    combo->Dismiss();
}

TEST_F(FontComboWindow, PlainComboSelectsByTextAndKeepsUnknownText) {
    auto* combo = new CFontComboBoxBase(mPanel, wxID_ANY, wxPoint(10, 10), wxSize(120, -1));
    for (const char* s : {"8", "10", "12", "120"}) combo->Append(s);
    combo->SelectByText("12", true);
    EXPECT_EQ(combo->GetSelection(), 2);
    combo->SelectByText("1", false);
    EXPECT_EQ(combo->GetSelection(), 1);
    combo->SelectByText("13", true);
    EXPECT_EQ(combo->GetSelection(), wxNOT_FOUND);
    wxString text;
    combo->GetCurText(text);
    EXPECT_EQ(text, "13");
}

TEST_F(FontComboWindow, DropDownWidthFollowsTheLongestEntry) {
    auto* combo = new CDisabledItemCombo(mPanel, wxID_ANY, wxPoint(10, 10), wxSize(150, -1));
    combo->Append("kurz");
    Pump();
    EXPECT_EQ(WidenComboDropDown(combo), combo->GetSize().x);
    EXPECT_EQ(SetComboDroppedWidth(combo), combo->GetSize().x + 16);
    const wxString longText = "Ein sehr langer Eintrag, der breiter ist als das Feld";
    combo->Append(longText);
    const int wide = WidenComboDropDown(combo);
    EXPECT_EQ(wide, combo->GetTextExtent(longText).x + wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, combo));
    EXPECT_EQ(FitComboDropDownWidth(combo), wide);
    auto* native = new wxChoice(mPanel, wxID_ANY, wxPoint(10, 60));
    native->Append(longText);
    EXPECT_EQ(WidenComboDropDown(native), 0);

    // Next to the screen's right edge the list ends at the edge.
    mFrame->Move(1280 - 200, 40);
    Pump(300);
    const int atEdge = WidenComboDropDown(combo);
    EXPECT_EQ(combo->GetScreenRect().x + atEdge, 1280);
}

TEST_F(ControlGallery, OneOfEachControl) {
    int y = 10;
    new wxStaticText(mPanel, wxID_ANY, "Breite (mm):", wxPoint(10, y + 4));
    auto* edit = new CNumEdit(mPanel, wxID_ANY, "210.00", wxPoint(130, y), wxSize(120, -1));
    edit->SetParams(0, 812.8, false, 1, 9);
    y += 40;
    auto* combo = new CDisabledItemCombo(mPanel, wxID_ANY, wxPoint(130, y), wxSize(200, -1));
    for (const char* s : {"Fotopapier glänzend", "Matt (nicht verfügbar)", "Seidenmatt"}) combo->Append(wxString::FromUTF8(s));
    combo->SetItemData(0, 1);
    combo->SetItemData(2, 1);
    combo->SetSelection(0);
    y += 40;
    auto* fonts = new CFontComboBox(mPanel, wxID_ANY, wxPoint(130, y), wxSize(200, -1));
    fonts->FillFonts();
    fonts->SelectByText("DejaVu Sans", true);
    y += 40;
    auto* button = new CIconButton(mPanel, wxID_ANY, "Drucken", wxPoint(130, y), wxSize(110, 40));
    wxBitmap icon(24, 24, 24);
    {
        wxMemoryDC dc(icon);
        dc.SetBackground(*wxGREEN_BRUSH);
        dc.Clear();
    }
    button->SetIcons(icon, CIconButton::kGreyIdle);
    auto* swatch = new ColourSwatchButton(mPanel, wxID_ANY, wxColour(200, 30, 30),
                                          [](wxWindow*, const wxColour&) { return std::optional<wxColour>(*wxBLUE); },
                                          wxPoint(260, y + 8));
    y += 50;
    auto* list = new COwnerDrawListCtrl(mPanel, wxID_ANY, wxPoint(10, y), wxSize(480, 150));
    list->AppendColumn("Einstellung", wxLIST_FORMAT_LEFT, 160);
    list->AppendColumn("Wert", wxLIST_FORMAT_LEFT, 200);
    const char* rows[][2] = {{"Papier", "A4 (210 × 297 mm)"}, {"Ränder", "5 mm"}, {"Profil", "Glanz 260"}};
    for (long i = 0; i < 3; ++i) {
        list->InsertItem(i, wxString::FromUTF8(rows[i][0]));
        list->SetItem(i, 1, wxString::FromUTF8(rows[i][1]));
    }
    AddListCellTips(list);
    Pump(500);
    SavePng(mPanel, "ControlGallery.png");

    // The swatch button takes the chosen colour and tells its dialog.
    int pressed = 0;
    mPanel->Bind(wxEVT_BUTTON, [&](wxCommandEvent& e) { pressed += e.GetEventObject() == swatch; });
    ClickAt(swatch);
    EXPECT_TRUE(PumpUntil([&] { return pressed == 1; }));
    EXPECT_EQ(swatch->GetColour(), *wxBLUE);
}

TEST_F(ControlGallery, SwatchKeepsItsColourWhenTheChooserIsCancelled) {
    auto* swatch = new ColourSwatchButton(mPanel, wxID_ANY, wxColour(200, 30, 30),
                                          [](wxWindow*, const wxColour&) { return std::optional<wxColour>(); },
                                          wxPoint(20, 20));
    int pressed = 0;
    mPanel->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { ++pressed; });
    Pump();
    ClickAt(swatch);
    Pump(200);
    EXPECT_EQ(pressed, 0);
    EXPECT_EQ(swatch->GetColour(), wxColour(200, 30, 30));
}

}  // namespace
