#include "GalleryFixture.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/textctrl.h>

#include "ui/controls/CIconButton.h"

namespace {

using IconButtonWindow = Gallery;

wxBitmap RedSquare() {
    wxBitmap bitmap(24, 24, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxRED_BRUSH);
    dc.Clear();
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, 24, 24);
    return bitmap;
}

TEST_F(IconButtonWindow, IconIsGreyAtRestAndColouredUnderTheMouse) {
    auto* button = new CIconButton(mPanel, wxID_ANY, "", wxPoint(20, 20), wxSize(40, 40));
    ASSERT_EQ(button->SetIcons(RedSquare(), CIconButton::kGreyIdle), 0);
    auto* labelled = new CIconButton(mPanel, wxID_ANY, "Drucker am Fenster", wxPoint(80, 20), wxSize(120, 44));
    labelled->SetIcons(RedSquare(), CIconButton::kGreyIdle);
    auto* passive = new CIconButton(mPanel, wxID_ANY, "Passiv", wxPoint(220, 20), wxSize(100, 44));
    passive->SetIcons(RedSquare(), CIconButton::kGreyIdle);
    passive->SetColor(0, wxColour(180, 180, 180));
    passive->SetPassive(true);
    auto* disabled = new CIconButton(mPanel, wxID_ANY, "Aus", wxPoint(340, 20), wxSize(80, 44));
    disabled->SetIcons(RedSquare());
    disabled->Enable(false);
    Pump(200);

    const wxPoint centre(20, 20);
    EXPECT_TRUE(PumpUntil([&] { return PixelAt(Grab(button), centre) == wxColour(76, 76, 76); }));
    SavePng(mPanel, "CIconButton-rest.png");
    MoveTo(button);
    EXPECT_TRUE(PumpUntil([&] { return PixelAt(Grab(button), centre) == *wxRED; }));
    // The raised border shows while hovered.
    EXPECT_EQ(PixelAt(Grab(button), {0, 10}), wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT));
    SavePng(mPanel, "CIconButton-hover.png");

    // A passive button shows the normal icon and never sends clicks.
    int passiveClicks = 0;
    passive->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { ++passiveClicks; });
    ClickAt(passive);
    EXPECT_EQ(passiveClicks, 0);
}

TEST_F(IconButtonWindow, DoubleClickCountsTwoClicksAndKeysClickToo) {
    auto* button = new CIconButton(mPanel, wxID_ANY, "", wxPoint(20, 20), wxSize(40, 40));
    button->SetIcons(RedSquare());
    int clicks = 0;
    mPanel->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { ++clicks; });
    Pump();
    MoveTo(button);
    mSim.MouseDblClick();
    EXPECT_TRUE(PumpUntil([&] { return clicks == 2; }));
    Pump(200);
    EXPECT_EQ(clicks, 2);

    button->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == button; }));
    mSim.Char(WXK_SPACE);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 3; }));
}

TEST_F(IconButtonWindow, CheckBoxModeFollowsTheSetCheckStates) {
    auto* button = new CIconButton(mPanel, wxID_ANY, "", wxPoint(20, 20), wxSize(40, 40));
    button->SetChecked(true);
    EXPECT_FALSE(button->IsChecked());  // only in check-box mode
    button->SetCheckBoxMode(true);
    const std::pair<unsigned, bool> states[] = {{1, true}, {0, false}, {2, true}, {3, false}};
    for (auto [state, checked] : states) {
        button->SetCheck(state);
        EXPECT_EQ(button->IsChecked(), checked) << state;
    }
    EXPECT_EQ(button->SetColor(6, *wxBLUE), 3);
    EXPECT_EQ(button->SetIcons(wxNullBitmap), 1);
}

TEST_F(IconButtonWindow, DisablingMovesTheFocusOnlyWhenTheButtonHadIt) {
    auto* field = new wxTextCtrl(mPanel, wxID_ANY, "", wxPoint(20, 80), wxSize(120, -1));
    auto* button = new CIconButton(mPanel, wxID_ANY, "Los", wxPoint(20, 20), wxSize(60, 40));
    auto* next = new wxTextCtrl(mPanel, wxID_ANY, "", wxPoint(20, 130), wxSize(120, -1));
    button->MoveAfterInTabOrder(field);
    next->MoveAfterInTabOrder(button);
    field->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == field; }));
    button->Enable(false);
    Pump();
    EXPECT_EQ(wxWindow::FindFocus(), field);

    button->Enable(true);
    button->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == button; }));
    button->Enable(false);
    EXPECT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == next; }));
}

}  // namespace
