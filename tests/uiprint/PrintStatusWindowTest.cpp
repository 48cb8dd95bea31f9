#include <gtest/gtest.h>

#include <filesystem>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>
#include <wx/window.h>

#include "../ui/Screen.h"
#include "core/view/PrintJobFixture.h"
#include "platform/gfx/Colour.h"
#include "ui/PrintStatusDialog.h"
#include "ui/ViewPainter.h"

namespace {

class PrintTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

/// A bare layout view window with the paint binding.
class ViewWindow : public wxWindow, public vx::LayoutView {
public:
    ViewWindow(wxWindow* parent, vx::CGPView& v)
        : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(800, 600)), view(v), mPainter(*this, v) {
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxPaintDC dc(this);
            last = mPainter.Paint(dc, ClientToDocRect());
            ++paints;
        });
    }
    int GetCurrentPage() const override { return view.GetCurrentPage(); }
    void SetCurrentPage(int index) override { view.SetCurrentPage(index); }
    vx::PixelRect ClientToDocRect() const override {
        const wxSize s = GetClientSize();
        return {0, 0, s.x, s.y};
    }
    vx::ViewPageRect GetPageRect() const override { return {{0, 0, 198, 280}, {301, 160}}; }
    vx::PixelPoint GetPixelsPerInch() const override { return {96, 96}; }
    void ScrollTo(vx::PixelPoint) override {}
    void Invalidate() override { Refresh(); }
    void Update() override { wxWindow::Update(); }
    void SetupObjectTracker(const vx::CLayoutObj&) override {}

    const vx::ViewPainter& Painter() const { return mPainter; }
    vx::CGPView& view;
    vx::PaintResult last = vx::PaintResult::Busy;
    int paints = 0;

private:
    vx::ViewPainter mPainter;
};

/// The fake printer with the program's own status window.
struct WindowServices : vx::test::FakePrintServices {
    wxWindow* owner = nullptr;
    vx::WxPrintStatusWindow* wx = nullptr;
    std::unique_ptr<vx::PrintStatusWindow> CreateStatusWindow() override {
        auto w = std::make_unique<vx::WxPrintStatusWindow>(owner);
        wx = w.get();
        return w;
    }
};

using vx::test::Settle;

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(PrintTestApp);

TEST(PrintStatusWindow, ShowsProgressDisablesItsOwnerAndCancelStopsTheJob) {
    int argc = 1;
    char arg0[] = "vellicorex-print-test";
    char* argv[] = {arg0, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv));
    ASSERT_TRUE(wxTheApp->CallOnInit());
    wxInitAllImageHandlers();

    vx::test::TestRoot root;
    vx::test::ScopedEnv temp("VELLICOREX_TEMP_DIR", (root.Path() / "temp").string());
    ASSERT_TRUE(vx::CreateTempFolder());
    {
        vx::CGPView view;
        vx::test::PrintFixture f(view);
        WindowServices services;
        vx::ScopedHostService<vx::PrintJobServices> installed(&services);
        f.layout->SetPageNumber(3);

        auto* frame = new wxFrame(nullptr, wxID_ANY, "Layout", wxPoint(0, 0));
        auto* window = new ViewWindow(frame, view);
        frame->SetClientSize(800, 600);
        frame->Show();
        view.Attach(window, f.layout.get());
        view.SetCurrentPage(1);
        services.owner = window;
        Settle(20);

        const uint32_t face = vx::gfx::GetSystemColours().buttonFace;
        const uint32_t faceRgb = (face & 0xFF) << 16 | (face & 0xFF00) | (face >> 16 & 0xFF);
        std::vector<std::string> percents;
        std::vector<std::string> statuses;
        bool ownerDisabled = false;
        bool busyPaint = false;
        bool clicked = false;
        bool cancelSeen = false;
        wxString title;
        services.setUpJob = [&](vx::test::FakeSpoolJob& job) {
            job.inEndPage = [&] {
                vx::PrintStatusDialog* dialog = services.wx ? services.wx->Dialog() : nullptr;
                ASSERT_NE(dialog, nullptr);
                percents.push_back(dialog->Percent()->GetLabel().ToStdString(wxConvUTF8));
                statuses.push_back(dialog->Status()->GetLabel().ToStdString(wxConvUTF8));
                title = dialog->GetTitle();
                ownerDisabled = !frame->IsEnabled();
                // The view paints the button face while the job holds the render lock.
                window->Refresh();
                window->Update();
                Settle(5);
                busyPaint = window->last == vx::PaintResult::Busy &&
                            (window->Painter().Surface().Pixel(400, 300) & 0xFFFFFF) == faceRgb;
                if (percents.size() < 2) return;

                // Page 2: show the window, then press its Cancel button with the pointer.
                const wxRect shotRect = frame->GetScreenRect().Union(dialog->GetScreenRect());
                vx::test::Shot(shotRect, "ui-print-status.png");
                auto* cancel = wxDynamicCast(dialog->FindWindow(wxID_CANCEL), wxButton);
                ASSERT_NE(cancel, nullptr);
                EXPECT_EQ(cancel->GetLabel(), wxString::FromUTF8("Abbrechen"));
                wxUIActionSimulator sim;
                const wxRect r = cancel->GetScreenRect();
                sim.MouseMove(r.x + r.width / 2, r.y + r.height / 2);
                Settle(3);
                sim.MouseClick();
                clicked = true;
                vx::CPrintStatusDlg* status = view.RunningPrintJob()->Status();
                for (int i = 0; i < 200 && !cancelSeen; ++i) {
                    cancelSeen = status->IsCancelled();
                    wxMilliSleep(10);
                }
                // Cancel leaves the window open: the job closes it.
                EXPECT_TRUE(dialog->IsShown());
            };
        };

        EXPECT_FALSE(view.DoPrintJob());
        EXPECT_TRUE(clicked);
        EXPECT_TRUE(cancelSeen);
        EXPECT_EQ(title, wxString::FromUTF8("Druckstatus"));
        EXPECT_TRUE(ownerDisabled);
        EXPECT_TRUE(busyPaint);
        ASSERT_EQ(percents.size(), 2u);
        EXPECT_EQ(percents[0], "33%");
        EXPECT_EQ(percents[1], "66%");
        EXPECT_EQ(statuses[1], "Seite 2 /3 wird gespoolt.");
        const std::vector<std::string> calls = services.calls;
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "EndDoc"), 0);
        EXPECT_EQ(calls.back(), "AbortDoc");
        EXPECT_TRUE(f.messages.shown.empty());

        // Afterwards the owner works again, the window is gone and the view draws.
        Settle(10);
        EXPECT_TRUE(frame->IsEnabled());
        wxTheApp->ProcessIdle();
        EXPECT_EQ(wxTopLevelWindows.GetCount(), 1u) << "the status window is gone";
        window->Refresh();
        Settle(10);
        EXPECT_EQ(window->last, vx::PaintResult::Drawn);
        f.ExpectPutBack();

        frame->Destroy();
        wxTheApp->ProcessIdle();
    }
    vx::RemoveTempFolder();
    wxTheApp->OnExit();
    wxEntryCleanup();
}
