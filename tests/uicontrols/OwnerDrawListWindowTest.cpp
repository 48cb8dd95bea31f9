#include "GalleryFixture.h"

#include <wx/dcmemory.h>
#include <wx/imaglist.h>
#include <wx/settings.h>
#include <wx/tooltip.h>

#include "ui/controls/COwnerDrawListCtrl.h"
#include "ui/controls/ControlUtilities.h"

namespace {

using OwnerDrawListWindow = Gallery;

TEST_F(OwnerDrawListWindow, RowsStripeToTheEdgesAndCellsShowTips) {
    auto* list = new COwnerDrawListCtrl(mPanel, wxID_ANY, wxPoint(10, 10), wxSize(300, 200));
    list->AppendColumn("Name", wxLIST_FORMAT_LEFT, 120);
    list->AppendColumn("Wert", wxLIST_FORMAT_RIGHT, 150);
    auto* images = new wxImageList(16, 16);
    wxBitmap pencil(16, 16);
    {
        wxMemoryDC dc(pencil);
        dc.SetBackground(*wxBLUE_BRUSH);
        dc.Clear();
    }
    images->Add(pencil);
    list->AssignImageList(images, wxIMAGE_LIST_SMALL);
    const char* rows[][2] = {{"Papier", "A4"}, {"Rand", "5 mm"}, {"Profil", "Glanz 260"}};
    for (long i = 0; i < 3; ++i) {
        list->InsertItem(i, rows[i][0], i == 1 ? 0 : -1);
        list->SetItem(i, 1, rows[i][1]);
    }
    AddListCellTips(list);
    Pump(300);

    wxRect r0, r1, r2;
    ASSERT_TRUE(list->GetItemRect(0, r0));
    ASSERT_TRUE(list->GetItemRect(1, r1));
    ASSERT_TRUE(list->GetItemRect(2, r2));
    const wxColour grey(224, 224, 224);
    const wxColour window = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    const int x = 250;  // right of the texts
    PumpUntil([&] { return PixelAt(Grab(list), {x, r0.y + 2}) == grey; });
    const wxImage shot = Grab(list);
    EXPECT_EQ(PixelAt(shot, {x, r0.y + 2}), grey);
    EXPECT_EQ(PixelAt(shot, {x, r1.y + 2}), window);
    EXPECT_EQ(PixelAt(shot, {x, r2.y + 2}), grey);
    // The stripes go on below the last row with the same parity.
    EXPECT_EQ(PixelAt(shot, {x, r2.GetBottom() + 3}), window);
    EXPECT_EQ(PixelAt(shot, {x, r2.GetBottom() + r2.height + 3}), grey);
    // The item picture of row 1.
    EXPECT_EQ(PixelAt(shot, {r1.x + 8, r1.y + r1.height / 2}), *wxBLUE);
    SavePng(list, "COwnerDrawListCtrl.png");

    // A selected row is highlighted to the window's right edge while the list has the
    // focus.
    list->SetFocus();
    list->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    const wxPoint beyondColumns(x, r0.y + r0.height / 2);
    PumpUntil([&] { return wxWindow::FindFocus() == list || wxWindow::FindFocus() == ListRowsWindow(list); });
    EXPECT_TRUE(PumpUntil([&] { return PixelAt(Grab(list), beyondColumns) != grey; }));
    const wxColour highlight = PixelAt(Grab(list), beyondColumns);
    EXPECT_GT(highlight.Blue(), highlight.Red());  // the theme's selection, not a stripe
    SavePng(list, "COwnerDrawListCtrl-selected.png");

    wxWindow* rowsWindow = ListRowsWindow(list);
    ASSERT_NE(rowsWindow, list);
    const wxPoint cell = rowsWindow->ScreenToClient(list->ClientToScreen(wxPoint(200, r1.y + r1.height / 2)));
    MoveTo(rowsWindow, cell);
    wxMouseEvent motion(wxEVT_MOTION);
    motion.SetPosition(cell);
    rowsWindow->GetEventHandler()->ProcessEvent(motion);
    EXPECT_EQ(rowsWindow->GetToolTipText(), "5 mm");
    const wxPoint name = rowsWindow->ScreenToClient(list->ClientToScreen(wxPoint(60, r2.y + r2.height / 2)));
    motion.SetPosition(name);
    rowsWindow->GetEventHandler()->ProcessEvent(motion);
    EXPECT_EQ(rowsWindow->GetToolTipText(), "Profil");
}

}  // namespace
