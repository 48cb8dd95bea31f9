// The layout view's window, the zoom and page bar and the go-to-page dialog in a frame
// of their own, driven by simulated keys, clicks and typing.
#include <gtest/gtest.h>

#include <iostream>
#include <regex>

#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "../uicontrols/GalleryFixture.h"
#include "core/model/LayoutFixture.h"
#include "core/view/ViewFixture.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/PageGeometry.h"
#include "model/UndoStore.h"
#include "platform/gfx/Colour.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"
#include "ui/SurfacePainter.h"
#include "ui/controls/CIconButton.h"
#include "ui/view/CGPDialogBar.h"
#include "ui/view/CGPViewWindow.h"
#include "document/DocumentCommands.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/MenuTable.h"
#include "view/RulerCommand.h"

namespace vx {
namespace {

/// The shell, tool windows and status bar of the frame: the status text "ready" puts
/// the view's page into the bar, as the main frame does.
struct FrameServices : Shell, NoToolWindows, StatusPort {
    CGPViewWindow* view = nullptr;
    CGPDialogBar* bar = nullptr;
    CLayoutSetting* layout = nullptr;

    LayoutView* FindLayoutView(const CLayoutSetting&) override { return view ? &view->Core() : nullptr; }
    LayoutView* GetLayoutView() override { return view ? &view->Core() : nullptr; }
    PrintSettingsPane* GetActivePrintSettingsPane() override { return nullptr; }
    bool IsViewCreating() override { return false; }
    void RefreshToolBar(int) override {}
    void SetQuickPrintStatus(int) override {}
    void SetLayoutTitle(const std::string&) override {}
    void PrintNow() override {}

    void SetZoom(int32_t n, int32_t d) override {
        if (bar) bar->SetZoom(n, d);
    }

    void UpdateStatusText(int code, const Args&) override {
        if (code == kStatusReady && bar && view && layout)
            bar->SetPages(view->Core().GetCurrentPage(), GetPageCount(*layout));
    }
};

void FailOnAssert(const wxString& file, int line, const wxString&, const wxString& cond, const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str(), line) << cond.utf8_string() << " " << msg.utf8_string();
}

class LayoutViewWindow : public Gallery {
protected:
    void SetUp() override {
        wxSetAssertHandler(FailOnAssert);
        Gallery::SetUp();
        mFrame->Hide();
        FillSystemColours();
        app.undo = &undo;
        t.layout.SetType(kRecordTypeLayout);
        t.layout.SetFree(1);
        t.layout.SetUnit(1);
        t.layout.SetPageNumber(3);
        t.layout.SetColor(2);
        t.layout.SetPaperColor(0xFFFFFF);
        t.layout.SetBaseImage(std::make_unique<CImageObj>(true));
        t.Add<CTextObj>(1080, 720, 720, 4209 + 1440);  // a free text on page 2

        frame = new wxFrame(nullptr, wxID_ANY, "Layout", wxPoint(20, 20), wxSize(900, 760));
        frame->SetMenuBar(BuildMenuBar());
        bar = new CGPDialogBar;
        ASSERT_TRUE(bar->Create(frame));
        view = new CGPViewWindow(frame);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(bar, 0, wxEXPAND);
        sizer->Add(view, 1, wxEXPAND);
        frame->SetSizer(sizer);

        std::vector<wxAcceleratorEntry> keys = LayoutViewAccelerators();
        wxAcceleratorTable table(int(keys.size()), keys.data());
        frame->SetAcceleratorTable(table);
        // Commands reach the view as the main window routes them.
        frame->Bind(wxEVT_MENU, [](wxCommandEvent& e) {
            const int id = FromWxId(e.GetId());
            if (id == kCmdViewRulers) ToggleRulers();
            else if (IsForwardedCommand(id)) ForwardCommand(id);
        });
        frame->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
            const int id = FromWxId(e.GetId());
            if (id == kCmdViewRulers) {
                e.SetText(wxString::FromUTF8(RulerCommandState().text));
                return;
            }
            if (!IsForwardedCommand(id)) return;
            const CommandState state = ForwardedCommandState(id, app.active != nullptr);
            e.Enable(state.enabled);
        });

        services.view = view;
        services.bar = bar;
        services.layout = &t.layout;
        frame->Show();
        frame->Raise();
        Pump(300);
        PumpUntil([this] { return frame->IsShownOnScreen() && frame->IsActive(); }, 1000);
    }

    void TearDown() override {
        if (frame) frame->Destroy();
        services.view = nullptr;
        services.bar = nullptr;
        Gallery::TearDown();
    }

    /// Opens the layout in the view as the document does.
    void Open() {
        app.active = &t.layout;
        view->OnInitialUpdate(&t.layout);
        Pump(300);
        view->SetFocus();
        Pump(100);
    }

    ZoomRatio Zoom() const {
        const ViewStateBlock* b = t.layout.GetViewState();
        return {b->zoomNumerator, b->zoomDenominator};
    }
    void Key(int key, int modifiers = wxMOD_CONTROL) {
        view->SetFocus();
        Pump(30);
        mSim.Char(key, modifiers);
        Pump(200);
    }
    void Command(int id) {
        wxCommandEvent e(wxEVT_MENU, ToWxId(id));
        frame->GetEventHandler()->ProcessEvent(e);
        Pump(100);
    }
    std::string ZoomField() const { return bar->ZoomList()->GetValue().utf8_string(); }
    std::string PageField() const { return bar->PageList()->GetValue().utf8_string(); }
    void TypeInto(wxComboBox* combo, const char* text) {
        combo->SetFocus();
        Pump(50);
        combo->SelectAll();
        mSim.Text(text);
        mSim.Char(WXK_RETURN);
        Pump(250);
    }
    bool ControlsEnabled(bool expected) {
        return PumpUntil([&] {
            for (int id : {3748, 3750, 3751, 3752, 3880, 3881})
                if (bar->FindWindow(id)->IsEnabled() != expected) return false;
            return true;
        });
    }

    test::TestLayout t{2976, 4209, 100};
    UndoStore undo;
    test::InstalledApplicationState app;
    FrameServices services;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages, nullptr, &services};
    ScopedHostService<Shell> installShell{&services};
    ScopedHostService<ToolWindows> installTools{&services};
    wxFrame* frame = nullptr;
    CGPDialogBar* bar = nullptr;
    CGPViewWindow* view = nullptr;
};

TEST_F(LayoutViewWindow, ZoomChangesFromKeysWheelListTypingAndFit) {
    EXPECT_TRUE(ControlsEnabled(false));
    Open();
    EXPECT_TRUE(ControlsEnabled(true));
    const ZoomRatio fitted = Zoom();
    std::cout << "fitted ratio " << fitted.numerator << "/" << fitted.denominator << " = "
              << ZoomPercentText(fitted) << " in a client of " << view->GetClientSize().x << " x "
              << view->GetClientSize().y << "\n";
    EXPECT_TRUE(std::regex_match(ZoomField(), std::regex(R"(\d+\.\d\d%)"))) << ZoomField();
    EXPECT_LE(view->Core().GetPageRect().page.bottom, view->GetClientSize().y);

    Key(WXK_NUMPAD_ADD);
    const ZoomRatio afterPad = Zoom();
    EXPECT_NE(afterPad, fitted);
    EXPECT_EQ(ZoomField(), ZoomTable[size_t(FindZoomRow(afterPad))].label);
    Key(WXK_NUMPAD_SUBTRACT);
    Key('-');
    EXPECT_LT(double(Zoom().numerator) / Zoom().denominator, double(afterPad.numerator) / afterPad.denominator);
    const ZoomRatio beforePlus = Zoom();
    Key('=', wxMOD_CONTROL | wxMOD_SHIFT);  // the main keyboard's plus
    EXPECT_NE(Zoom(), beforePlus);

    // Ctrl with the wheel zooms in one step.
    const ZoomRatio beforeWheel = Zoom();
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = 120;
    wheel.m_wheelDelta = 120;
    wheel.m_controlDown = true;
    wheel.SetEventObject(view);
    view->GetEventHandler()->ProcessEvent(wheel);
    Pump(100);
    EXPECT_EQ(Zoom(), *ZoomInStepRatio(beforeWheel));

    // A choice from the list, typed percentages, and the fit.
    bar->ZoomList()->SetSelection(kZoomRow100);
    wxCommandEvent choice(wxEVT_COMBOBOX, CGPDialogBar::kIdZoomList);
    choice.SetInt(kZoomRow100);
    choice.SetEventObject(bar->ZoomList());
    bar->ZoomList()->GetEventHandler()->ProcessEvent(choice);
    Pump(200);
    EXPECT_EQ(Zoom(), (ZoomRatio{1, 1}));
    // At 100% a 96-ppi screen shows A4 as 793 x 1122 pixels.
    EXPECT_EQ(view->Core().GetPageRect().page, (PixelRect{0, 0, 793, 1122}));
    SavePng(frame, "layout-view-100.png");

    TypeInto(bar->ZoomList(), "250");
    EXPECT_EQ(Zoom(), (ZoomRatio{250, 100}));
    EXPECT_EQ(ZoomField(), "250%");
    TypeInto(bar->ZoomList(), "abc");
    EXPECT_EQ(Zoom(), (ZoomRatio{1, 1}));
    EXPECT_EQ(ZoomField(), "100%");

    Command(kCmdViewZoomFit);
    EXPECT_EQ(Zoom(), fitted);
    EXPECT_EQ(ZoomField(), ZoomPercentText(fitted));

    // The bar's buttons.
    ClickAt(bar->FindWindow(CGPDialogBar::kIdZoomIn));
    EXPECT_EQ(Zoom(), *ZoomInStepRatio(fitted));
    EXPECT_EQ(ZoomField(), ZoomTable[size_t(FindZoomRow(Zoom()))].label);
    SavePng(frame, "layout-view-zoom.png");

    app.active = nullptr;
    EXPECT_TRUE(ControlsEnabled(false));
    app.active = &t.layout;
}

TEST_F(LayoutViewWindow, ZoomKeepsThePointAtTheWindowCentre) {
    Open();
    view->Core().SetZoom(1, 1);
    Pump(100);
    view->Core().ScrollTo({0, 300});
    Pump(100);
    const PixelPoint client = {view->GetClientSize().x, view->GetClientSize().y};
    const auto centreOnPage = [&] {
        const ViewPageRect r = view->Core().GetPageRect();
        const PixelPoint s = view->Core().ScrollPosition();
        return (s.y + client.y / 2 - r.offset.y) / (double(Zoom().numerator) / Zoom().denominator);
    };
    const double before = centreOnPage();
    Key(WXK_NUMPAD_ADD);
    EXPECT_EQ(Zoom(), (ZoomRatio{2, 1}));
    EXPECT_NEAR(centreOnPage(), before, 10.0);
    EXPECT_EQ(view->GetScrollPos(wxVERTICAL), view->Core().ScrollPosition().y);
}

TEST_F(LayoutViewWindow, PagesMoveByKeysBarAndDialog) {
    Open();
    EXPECT_EQ(PageField(), "1 / 3");
    Key(WXK_PAGEDOWN);
    EXPECT_EQ(view->Core().GetCurrentPage(), 1);
    EXPECT_EQ(PageField(), "2 / 3");
    SavePng(frame, "layout-view-page-2.png");
    Key(WXK_END);
    EXPECT_EQ(PageField(), "3 / 3");
    Key(WXK_PAGEUP);
    EXPECT_EQ(PageField(), "2 / 3");
    Key(WXK_HOME);
    EXPECT_EQ(PageField(), "1 / 3");

    // Ctrl+J: 0 is refused with the range message, 3 shows the third page.
    bool dialogSeen = false;
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        wxDialog* dialog = nullptr;
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* d = wxDynamicCast(w, wxDialog); d && d->IsModal()) dialog = d;
        if (!dialog || dialogSeen) return;
        dialogSeen = true;
        poll.Stop();
        auto* field = wxDynamicCast(dialog->FindWindow(1175), wxTextCtrl);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->GetValue(), "1");
        field->ChangeValue("0");
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        dialog->GetEventHandler()->ProcessEvent(ok);
        EXPECT_TRUE(dialog->IsModal());
        field->ChangeValue("3");
        dialog->GetEventHandler()->ProcessEvent(ok);
    });
    poll.Start(50);
    Key('J');
    PumpUntil([&] { return dialogSeen && view->Core().GetCurrentPage() == 2; });
    EXPECT_TRUE(dialogSeen);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].id, 10523);
    EXPECT_EQ(view->Core().GetCurrentPage(), 2);
    EXPECT_EQ(PageField(), "3 / 3");

    // Insert after the third page, go to the new empty one, delete it.
    Command(kCmdInsertPageAfter);
    EXPECT_EQ(PageField(), "3 / 4");
    ClickAt(bar->FindWindow(CGPDialogBar::kIdNextPage));
    EXPECT_EQ(PageField(), "4 / 4");
    ClickAt(bar->FindWindow(CGPDialogBar::kIdNextPage));  // on the last page: nothing
    EXPECT_EQ(view->Core().GetCurrentPage(), 3);
    Command(kCmdDeletePage);
    EXPECT_EQ(PageField(), "3 / 3");
    ClickAt(bar->FindWindow(CGPDialogBar::kIdPrevPage));
    EXPECT_EQ(PageField(), "2 / 3");

    // A typed page.
    TypeInto(bar->PageList(), "3");
    EXPECT_EQ(view->Core().GetCurrentPage(), 2);
    EXPECT_EQ(PageField(), "3 / 3");
}

TEST_F(LayoutViewWindow, RulersShowWithCtrlRAndFollowThePointer) {
    Open();
    view->Core().SetZoom(1, 1);
    Pump(200);
    const ViewPageRect before = view->Core().GetPageRect();
    frame->UpdateWindowUI();
    EXPECT_EQ(frame->GetMenuBar()->GetLabel(ToWxId(kCmdViewRulers)).utf8_string(), "Lineal anzeigen\tCtrl+R");
    frame->SetFocus();
    Key('R');
    EXPECT_EQ(app.preferences.ruler, 1);
    frame->UpdateWindowUI();
    Pump(100);
    EXPECT_EQ(frame->GetMenuBar()->GetLabel(ToWxId(kCmdViewRulers)).utf8_string(), "Lineal ausblenden\tCtrl+R");
    const ViewPageRect after = view->Core().GetPageRect();
    // The page is taller than the window: the least offset, 10, and the band.
    EXPECT_EQ(after.offset.y - before.offset.y, 20);

    MoveTo(view, wxPoint(300, 200));
    Pump(200);
    const int full = view->FullPaints(), bands = view->RulerPaints();
    MoveTo(view, wxPoint(320, 220));
    PumpUntil([&] { return view->RulerPaints() > bands; });
    EXPECT_GT(view->RulerPaints(), bands);
    EXPECT_EQ(view->FullPaints(), full);

    const wxImage shot = Grab(view);
    SavePng(view, "layout-view-rulers.png");
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    EXPECT_EQ(PixelAt(shot, {10, 150}), face);
    EXPECT_EQ(PixelAt(shot, {320, 10}), *wxRED);
    EXPECT_EQ(PixelAt(shot, {10, 220}), *wxRED);
    // The 20 mm tick: page left + trunc(200 / 2100 x 793) = + 75, from the bottom up.
    const int tick = after.offset.x - view->Core().ScrollPosition().x + 75;
    EXPECT_EQ(PixelAt(shot, {tick, 18}), wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));

    Key('R');
    EXPECT_EQ(app.preferences.ruler, 0);
    EXPECT_EQ(view->Core().GetPageRect().offset, before.offset);
}

}  // namespace
}  // namespace vx
