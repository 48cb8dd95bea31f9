#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/menu.h>

#include "ToolWindowsFixture.h"
#include "ui/controls/CDisabledItemCombo.h"
#include "ui/controls/COwnerDrawListCtrl.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/shell/CommandIds.h"
#include "ui/view/CImageInfoWnd.h"
#include "ui/view/CImagePreviewDlg.h"
#include "ui/view/CPreviewPane.h"
#include "ui/view/FrameToolWindows.h"
#include "view/PreviewZoom.h"
#include "view/RulerCommand.h"

namespace vx {
namespace {

constexpr uint32_t kGray = 0x47524159;

/// The frame gets the ruler command on Ctrl+R, as the main frame's menu has it, and
/// the tool windows with their toggles.
class ToolWindows : public test::ToolWindowsFixture {
protected:
    void SetUp() override {
        ToolWindowsFixture::SetUp();
        auto* view = new wxMenu;
        view->Append(ToWxId(kCmdViewRulers), "Lineal anzeigen\tCtrl+R");
        auto* bar = new wxMenuBar;
        bar->Append(view, "Ansicht");
        mFrame->SetMenuBar(bar);
        mFrame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ToggleRulers(); }, ToWxId(kCmdViewRulers));
        // As the main frame has them: every command without a handler of its own is grey
        // and goes nowhere.
        mFrame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, ToWxId(kFirstCommandId),
                     ToWxId(kLastCommandId));
        mFrame->Bind(wxEVT_MENU, [](wxCommandEvent& e) { e.Skip(); }, ToWxId(kFirstCommandId), ToWxId(kLastCommandId));
        tools = std::make_unique<FrameToolWindows>(mFrame, nullptr);
    }
    void TearDown() override {
        tools.reset();
        ToolWindowsFixture::TearDown();
    }

    void Toggle(int command) {
        wxCommandEvent event(wxEVT_MENU, ToWxId(command));
        event.SetEventObject(mFrame);
        mFrame->ProcessWindowEvent(event);
        Pump(200);
    }
    wxString ToggleText(int command, bool* enabled = nullptr) {
        wxUpdateUIEvent event(ToWxId(command));
        event.SetEventObject(mFrame);
        mFrame->ProcessWindowEvent(event);
        if (enabled) *enabled = event.GetEnabled();
        return event.GetText();
    }
    void Press(wxWindow* window, int key, int modifiers = wxMOD_NONE) {
        window->SetFocus();
        Pump(100);
        mSim.Char(key, modifiers);
        Pump(200);
    }

    std::unique_ptr<FrameToolWindows> tools;
};

TEST_F(ToolWindows, InformationWindowListsTheCurrentImage) {
    bool enabled = false;
    EXPECT_EQ(ToggleText(FrameToolWindows::kToggleImageInfo, &enabled), "Bildinformation anzeigen");
    EXPECT_TRUE(enabled);
    item->SetSelected(1);
    Toggle(FrameToolWindows::kToggleImageInfo);
    CImageInfoWnd* info = tools->InfoWindow();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(app.preferences.imageInfoWindow, 1);
    EXPECT_EQ(ToggleText(FrameToolWindows::kToggleImageInfo), "Bildinformation ausblenden");
    ASSERT_TRUE(PumpUntil([&] { return info->IsShownOnScreen(); }));
    Pump(200);
    COwnerDrawListCtrl* list = info->List();
    EXPECT_EQ(list->GetItemCount(), 26);
    EXPECT_TRUE(list->HasFlag(wxLC_NO_HEADER));
    EXPECT_EQ(list->GetItemText(1, 2), "blau.jpg");
    EXPECT_EQ(list->GetItemText(0, 1), ":");
    SavePng(info, "image-information.png");

    // The whole value is the tip over the separator and the value.
    wxWindow* rows = ListRowsWindow(list);
    wxRect cell;
    ASSERT_TRUE(list->GetItemRect(1, cell));
    const int valueX = list->GetColumnWidth(0) + list->GetColumnWidth(1) + 5;
    EXPECT_EQ(info->TipAt(wxPoint(valueX, cell.y + cell.height / 2)), "blau.jpg");
    EXPECT_EQ(info->TipAt(wxPoint(5, cell.y + cell.height / 2)), "Name");
    (void)rows;

    tools->ResetImageInfoRows();
    EXPECT_EQ(list->GetItemText(1, 2), "");
    tools->ShowImageInfo(*item, 3);
    EXPECT_EQ(list->GetItemText(1, 2), "blau.jpg");

    Toggle(FrameToolWindows::kToggleImageInfo);
    EXPECT_EQ(app.preferences.imageInfoWindow, 0);
    ASSERT_TRUE(PumpUntil([&] { return tools->InfoWindow() == nullptr; }));
}

TEST_F(ToolWindows, InformationWindowKeysAndRepaints) {
    app.preferences.imageInfoWindow = 1;
    tools->ShowToolWindowsFromSettings(app.preferences);
    CImageInfoWnd* info = tools->InfoWindow();
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return info->IsShownOnScreen(); }));
    info->Raise();
    Pump(300);

    const int registered = info->TipRegistrations();
    for (int i = 0; i < 10; ++i) {
        info->List()->Refresh();
        info->List()->Update();
        Pump(30);
    }
    EXPECT_EQ(info->TipRegistrations(), registered);

    Press(info->List(), WXK_RETURN);
    EXPECT_NE(tools->InfoWindow(), nullptr);  // Enter does nothing

    EXPECT_EQ(app.preferences.ruler, 0);
    Press(info->List(), 'R', wxMOD_CONTROL);
    EXPECT_EQ(app.preferences.ruler, 1);  // the frame's command ran

    Press(info->List(), WXK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return tools->InfoWindow() == nullptr; }));
    EXPECT_EQ(app.preferences.imageInfoWindow, 0);
}

TEST_F(ToolWindows, PreviewZoomsByButtonsAndClosesOnEscape) {
    bool enabled = false;
    EXPECT_EQ(ToggleText(FrameToolWindows::kToggleImagePreview, &enabled), "Bildvorschau anzeigen");
    EXPECT_TRUE(enabled);
    Toggle(FrameToolWindows::kToggleImagePreview);
    CImagePreviewDlg* preview = tools->PreviewWindow();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(app.preferences.imagePreviewWindow, 1);
    EXPECT_EQ(ToggleText(FrameToolWindows::kToggleImagePreview), "Bildvorschau ausblenden");
    ASSERT_TRUE(PumpUntil([&] { return preview->IsShownOnScreen(); }));
    Pump(300);

    CDisabledItemCombo* list = preview->ZoomList();
    EXPECT_EQ(list->GetCount(), 12u);
    EXPECT_EQ(list->GetString(11), "Ganzes Bild");
    EXPECT_EQ(list->GetSelection(), 11);
    EXPECT_TRUE(list->IsEnabled());
    EXPECT_FALSE(preview->ZoomOutButton()->IsEnabled());
    EXPECT_TRUE(preview->ColourBox()->GetValue());
    SavePng(preview, "image-preview-whole.png");

    // "+" goes to the first step that shows the picture larger than the real pane's fit.
    const wxSize area = preview->Pane()->DrawingArea();
    PreviewZoom expected;
    expected.SetDrawingArea(area.x, area.y);
    expected.Prepare(3600, 2400);
    ClickAt(preview->ZoomInButton());
    EXPECT_EQ(list->GetSelection(), expected.FirstAllowed());
    EXPECT_TRUE(preview->ZoomOutButton()->IsEnabled());
    for (int step = expected.FirstAllowed() + 1; step < 11; ++step) EXPECT_FALSE(list->IsItemEnabled(step)) << step;
    SavePng(preview, "image-preview-zoomed.png");
    ClickAt(preview->ZoomOutButton());
    EXPECT_EQ(list->GetSelection(), 11);
    EXPECT_EQ(list->GetValue(), "Ganzes Bild");

    // Hiding keeps the window; showing again shows the image again.
    Toggle(FrameToolWindows::kToggleImagePreview);
    EXPECT_EQ(app.preferences.imagePreviewWindow, 0);
    EXPECT_EQ(tools->PreviewWindow(), preview);
    EXPECT_FALSE(preview->IsShown());
    Toggle(FrameToolWindows::kToggleImagePreview);
    EXPECT_TRUE(preview->IsShown());
    EXPECT_EQ(tools->GetCurrentObject(), item);

    ASSERT_TRUE(PumpUntil([&] { return preview->IsShownOnScreen(); }));
    preview->Raise();
    Pump(200);
    Press(preview->ZoomList(), WXK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return tools->PreviewWindow() == nullptr; }));
    EXPECT_EQ(app.preferences.imagePreviewWindow, 0);
    EXPECT_EQ(app.preferences.imagePreviewSize, PreviewSizeOnClose(450, 450));
}

TEST_F(ToolWindows, GreyImageUnticksAndGreysTheColourBox) {
    item->SetColorSpace(kGray);
    app.preferences.imagePreviewWindow = 1;
    tools->ShowToolWindowsFromSettings(app.preferences);
    CImagePreviewDlg* preview = tools->PreviewWindow();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return preview->IsShownOnScreen(); }));
    EXPECT_FALSE(preview->ColourBox()->GetValue());
    EXPECT_FALSE(preview->ColourBox()->IsEnabled());
    SavePng(preview, "image-preview-grey.png");

    // The item leaves the layout: the pane empties and its controls grey.
    tools->OnPreviewObjectRemoved(item->GetObjectId());
    EXPECT_FALSE(preview->ZoomList()->IsEnabled());
    EXPECT_EQ(tools->GetCurrentObject(), nullptr);
}

TEST_F(ToolWindows, WindowsGoingWithTheFrameKeepTheirPlaceAndShownFlags) {
    app.preferences.imageInfoWindow = 1;
    app.preferences.imagePreviewWindow = 1;
    tools->ShowToolWindowsFromSettings(app.preferences);
    ASSERT_NE(tools->InfoWindow(), nullptr);
    ASSERT_NE(tools->PreviewWindow(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return tools->PreviewWindow()->IsShownOnScreen(); }));
    tools->InfoWindow()->Move(123, 77);
    Pump(300);
    const wxPoint info = tools->InfoWindow()->GetPosition();
    const wxRect preview = tools->PreviewWindow()->GetRect();

    mFrame->Destroy();
    mFrame = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return !tools->InfoWindow() && !tools->PreviewWindow(); }));
    EXPECT_EQ(app.preferences.imageInfoX, info.x);
    EXPECT_EQ(app.preferences.imageInfoY, info.y);
    EXPECT_EQ(app.preferences.imagePreviewX, preview.x);
    EXPECT_EQ(app.preferences.imagePreviewSize, PreviewSizeOnClose(preview.width, preview.height));
    // Shown when the program ended: shown again at the next start.
    EXPECT_EQ(app.preferences.imageInfoWindow, 1);
    EXPECT_EQ(app.preferences.imagePreviewWindow, 1);
}

}  // namespace
}  // namespace vx
