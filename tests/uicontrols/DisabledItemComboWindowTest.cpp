#include "GalleryFixture.h"

#include <wx/combo.h>

#include "ui/controls/CDisabledItemCombo.h"

namespace {

using DisabledItemComboWindow = Gallery;

CDisabledItemCombo* MakeCombo(wxWindow* parent) {
    auto* combo = new CDisabledItemCombo(parent, wxID_ANY, wxPoint(10, 10), wxSize(200, -1));
    for (const char* s : {"Erster", "Zweiter (grau)", "Dritter"}) combo->Append(s);
    combo->SetItemData(0, 1);
    combo->SetItemData(2, 1);  // entry 1 keeps item data 0: disabled
    combo->SetSelection(0);
    return combo;
}

TEST_F(DisabledItemComboWindow, EntriesWithoutItemDataAreDisabled) {
    auto* combo = MakeCombo(mPanel);
    combo->Append("Neu");
    EXPECT_FALSE(combo->IsItemEnabled(3));
    EXPECT_TRUE(combo->IsItemEnabled(-1));
    EXPECT_TRUE(combo->IsItemEnabled(0));
}

TEST_F(DisabledItemComboWindow, GreyEntryByKeyboardRestoresThePreviousAndNotifiesOnce) {
    auto* combo = MakeCombo(mPanel);
    int events = 0;
    int lastSelection = -2;
    mPanel->Bind(wxEVT_COMBOBOX, [&](wxCommandEvent& e) {
        ++events;
        lastSelection = combo->GetSelection();
        e.Skip();
    });
    combo->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return combo->HasFocus() || wxWindow::FindFocus() == combo ||
                                       (wxWindow::FindFocus() && wxWindow::FindFocus()->GetParent() == combo); }));
    combo->Popup();
    ASSERT_TRUE(PumpUntil([&] { return combo->IsPopupShown(); }));
    mSim.Char(WXK_DOWN);
    Pump();
    mSim.Char(WXK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return !combo->IsPopupShown(); }));
    Pump(300);
    EXPECT_EQ(combo->GetSelection(), 0);
    EXPECT_EQ(combo->GetValue(), "Erster");
    EXPECT_EQ(events, 1);
    EXPECT_EQ(lastSelection, 0);
}

TEST_F(DisabledItemComboWindow, ClickOnAGreyRowLeavesThePopupOpen) {
    auto* combo = MakeCombo(mPanel);
    int events = 0;
    mPanel->Bind(wxEVT_COMBOBOX, [&](wxCommandEvent&) { ++events; });
    combo->Popup();
    ASSERT_TRUE(PumpUntil([&] { return combo->IsPopupShown(); }));
    Pump(200);
    wxWindow* list = combo->GetPopupControl()->GetControl();
    const int rowHeight = list->GetClientSize().y / 4;
    EXPECT_EQ(list->GetClientSize().y / rowHeight, 4);  // three entries open four rows high
    ClickAt(list, wxMOUSE_BTN_LEFT, wxPoint(30, rowHeight + rowHeight / 2));
    Pump(200);
    EXPECT_TRUE(combo->IsPopupShown());
    EXPECT_EQ(combo->GetSelection(), 0);
    SavePng(mFrame, "CDisabledItemCombo-open.png");
    ClickAt(list, wxMOUSE_BTN_LEFT, wxPoint(30, 2 * rowHeight + rowHeight / 2));
    ASSERT_TRUE(PumpUntil([&] { return !combo->IsPopupShown(); }));
    EXPECT_EQ(combo->GetSelection(), 2);
    EXPECT_EQ(events, 1);
}

}  // namespace
