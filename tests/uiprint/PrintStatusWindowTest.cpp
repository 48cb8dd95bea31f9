#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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
#include "platform/system/StringTable.h"
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

/// The program's own status window, telling the test each status text it shows.
struct ObservedStatusWindow : vx::PrintStatusWindow {
    vx::WxPrintStatusWindow real;
    std::function<void(const std::string&)> onStatus;
    explicit ObservedStatusWindow(wxWindow* owner) : real(owner) {}
    bool Create(std::function<void()> onCancel) override { return real.Create(std::move(onCancel)); }
    void Destroy() override { real.Destroy(); }
    bool IsOwnerEnabled() const override { return real.IsOwnerEnabled(); }
    void EnableOwner(bool enable) override { real.EnableOwner(enable); }
    void SetBarRange(int32_t lower, int32_t upper) override { real.SetBarRange(lower, upper); }
    void SetBarPos(int32_t position) override { real.SetBarPos(position); }
    void SetPercentText(const std::string& text) override { real.SetPercentText(text); }
    void SetStatusText(const std::string& text) override {
        real.SetStatusText(text);
        if (onStatus) onStatus(text);
    }
    bool Pump() override { return real.Pump(); }
};

/// The fake printer with the program's own status window.
struct WindowServices : vx::test::FakePrintServices {
    wxWindow* owner = nullptr;
    vx::WxPrintStatusWindow* wx = nullptr;
    std::function<void(const std::string&)> onStatus;
    std::unique_ptr<vx::PrintStatusWindow> CreateStatusWindow() override {
        auto w = std::make_unique<ObservedStatusWindow>(owner);
        w->onStatus = onStatus;
        wx = &w->real;
        return w;
    }
};

/// Whether the control shows its whole text: the size its text needs fits inside the
/// size it has, and the control lies inside its window.
testing::AssertionResult ShowsWhole(wxWindow* control) {
    control->InvalidateBestSize();
    const wxSize need = control->GetBestSize();
    const wxSize has = control->GetSize();
    const wxRect inside(wxPoint(0, 0), control->GetParent()->GetClientSize());
    const std::string text = control->GetLabel().ToStdString(wxConvUTF8);
    if (need.x > has.x || need.y > has.y)
        return testing::AssertionFailure() << "\"" << text << "\" needs " << need.x << " x " << need.y << ", has "
                                           << has.x << " x " << has.y;
    if (!inside.Contains(control->GetRect()))
        return testing::AssertionFailure() << "\"" << text << "\" lies outside its window";
    return testing::AssertionSuccess();
}

using vx::test::Settle;

/// wx starts once for the suite.
class PrintStatusWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char arg0[] = "vellicorex-print-test";
        static char* argv[] = {arg0, nullptr};
        ASSERT_TRUE(wxEntryStart(argc, argv));
        ASSERT_TRUE(wxTheApp->CallOnInit());
        wxInitAllImageHandlers();
    }
    static void TearDownTestSuite() {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(PrintTestApp);

TEST_F(PrintStatusWindowTest, ShowsProgressDisablesItsOwnerAndCancelStopsTheJob) {
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
        // The statuses the window showed; the first spooling to disk is photographed.
        std::vector<std::string> shown;
        const std::string toDisk = vx::MessageText(vx::IDS_PRINT_SPOOLING_TO_DISK, {1LL});
        services.onStatus = [&](const std::string& text) {
            shown.push_back(text);
            if (text != toDisk) return;
            vx::PrintStatusDialog* dialog = services.wx->Dialog();
            vx::test::Repaint(dialog);
            vx::test::Shot(frame->GetScreenRect().Union(dialog->GetScreenRect()), "ui-print-status-spooling.png");
            EXPECT_TRUE(ShowsWhole(dialog->Status()));
        };
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
        // The job's texts in their order, the spooling to disk one per page.
        const auto text = [](int id, vx::Args args) { return vx::MessageText(id, args); };
        EXPECT_EQ(shown, (std::vector<std::string>{
                             text(vx::IDS_PRINT_PREPARING, {}),
                             text(vx::IDS_PRINT_COLOUR_MATCHING, {0LL, 2LL}),
                             text(vx::IDS_PRINT_COLOUR_MATCHING, {1LL, 2LL}),
                             text(vx::IDS_PRINT_COLOUR_MATCHING, {2LL, 2LL}),
                             text(vx::IDS_PRINT_SPOOLING_TO_DISK, {1LL}),
                             text(vx::IDS_PRINT_SPOOLING_TO_DISK, {2LL}),
                             text(vx::IDS_PRINT_SPOOLING_TO_DISK, {3LL}),
                             text(vx::IDS_PRINT_SPOOLING_PAGE, {1LL, 3LL}),
                             text(vx::IDS_PRINT_SPOOLING_PAGE, {2LL, 3LL}),
                         }));
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
}

TEST_F(PrintStatusWindowTest, EveryStatusTextShowsWholeInAWindowOfOneSize) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Layout", wxPoint(0, 0), wxSize(700, 500));
    frame->Show();
    Settle(10);
    {
        vx::WxPrintStatusWindow window(frame);
        ASSERT_TRUE(window.Create([] {}));
        vx::PrintStatusDialog* dialog = window.Dialog();
        ASSERT_NE(dialog, nullptr);
        Settle(10);
        const wxSize size = dialog->GetSize();
        auto* fixed = dialog->FindWindow(vx::PrintStatusDialog::kFixedText);
        ASSERT_NE(fixed, nullptr);
        EXPECT_EQ(fixed->GetLabel(), wxString::FromUTF8("Drucken erfolgt...\nBitte warten Sie."));
        EXPECT_TRUE(ShowsWhole(fixed));

        // Each text as a job shows it and at its widest: pages up to the 16-bit page
        // count, pictures up to the item limit.
        struct Case { int id; vx::Args args; const char* png; };
        const std::vector<Case> cases = {
            {vx::IDS_PRINT_PREPARING, {}, "ui-print-status-preparing.png"},
            {vx::IDS_PRINT_COLOUR_MATCHING, {3LL, 12LL}, nullptr},
            {vx::IDS_PRINT_COLOUR_MATCHING, {999LL, 999LL}, nullptr},
            {vx::IDS_PRINT_SPOOLING_TO_DISK, {2LL}, "ui-print-status-spooling-to-disk.png"},
            {vx::IDS_PRINT_SPOOLING_TO_DISK, {32767LL}, nullptr},
            {vx::IDS_PRINT_SPOOLING_PAGE, {2LL, 3LL}, nullptr},
            {vx::IDS_PRINT_SPOOLING_PAGE, {32767LL, 32767LL}, "ui-print-status-spooling-page.png"},
        };
        for (const Case& c : cases) {
            const std::string text = vx::MessageText(c.id, c.args);
            SCOPED_TRACE(text);
            window.SetStatusText(text);
            Settle(5);
            EXPECT_EQ(dialog->Status()->GetLabel().ToStdString(wxConvUTF8), text);
            EXPECT_TRUE(ShowsWhole(dialog->Status()));
            EXPECT_TRUE(ShowsWhole(fixed));
            EXPECT_EQ(dialog->GetSize(), size) << "the window keeps its size";
            if (c.png) {
                vx::test::Repaint(dialog);
                vx::test::Shot(dialog, c.png);
            }
        }
        EXPECT_EQ(vx::MessageText(vx::IDS_PRINT_SPOOLING_TO_DISK, {2LL}),
                  "Die Druckdaten werden auf der Festplatte\n gespeichert. Seite 2");
        window.Destroy();
    }
    frame->Destroy();
    wxTheApp->ProcessIdle();
}
