#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/window.h>

#include <cairo.h>

#include "core/view/ViewFixture.h"
#include "platform/gfx/Colour.h"
#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "ui/ViewPainter.h"
#include "view/CGPView.h"
#include "view/RenderState.h"

namespace {

class ViewTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

/// A view whose pictures can be made to fail.
struct FailingView : vx::CGPView {
    bool fail = false;

protected:
    void RenderImage(const vx::CImageObj& item, unsigned parts) override {
        if (fail) throw std::bad_alloc();
        CGPView::RenderImage(item, parts);
    }
};

/// A bare window with the paint binding, answering for the layout view the fixture's
/// page at zoom 1/4: (0, 0, 198, 280) at (301, 160), 96 pixels per inch.
class ViewWindow : public wxWindow, public vx::LayoutView {
public:
    ViewWindow(wxWindow* parent, vx::CLayoutSetting& layout)
        : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(800, 600)), mPainter(*this, view) {
        view.Attach(this, &layout);
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
    FailingView view;
    vx::PaintResult last = vx::PaintResult::Busy;
    int paints = 0;

private:
    vx::ViewPainter mPainter;
};

/// Paints the window again and lets the events after the paint run.
void Repaint(ViewWindow& window) {
    window.Refresh();
    for (int i = 0; i < 10; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(10);
    }
}

/// What the screen shows of the window.
wxImage Shot(ViewWindow& window) {
    wxBitmap shot(800, 600, 24);
    {
        wxMemoryDC mem(shot);
        wxScreenDC screen;
        // cairo keeps a picture of the root window it read once; later paints must show.
        if (auto* cr = static_cast<cairo_t*>(screen.GetImpl()->GetCairoContext()))
            cairo_surface_mark_dirty(cairo_get_target(cr));
        const wxPoint at = window.ClientToScreen(wxPoint(0, 0));
        mem.Blit(0, 0, 800, 600, &screen, at.x, at.y);
    }
    return shot.ConvertToImage();
}

uint32_t Rgb(const wxImage& image, int x, int y) {
    return uint32_t(image.GetRed(x, y)) << 16 | uint32_t(image.GetGreen(x, y)) << 8 | image.GetBlue(x, y);
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ViewTestApp);

TEST(ViewWindow, ShowsThePageAndFallsBackToTheButtonFace) {
    int argc = 1;
    char arg0[] = "vellicorex-view-test";
    char* argv[] = {arg0, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv));
    ASSERT_TRUE(wxTheApp->CallOnInit());
    wxInitAllImageHandlers();

    // Working bitmaps live in the temporary folder.
    vx::test::TestRoot root;
    vx::test::ScopedEnv temp("VELLICOREX_TEMP_DIR", (root.Path() / "temp").string());
    ASSERT_TRUE(vx::CreateTempFolder());
    vx::test::RecordingMessagePort messages;
    vx::test::ScopedPorts ports(&messages);
    auto layout = vx::test::MakeA4Layout();
    vx::test::AddPictureItem(*layout, 1200, 2400, 900, 600, vx::test::kPictureColour);

    auto* frame = new wxFrame(nullptr, wxID_ANY, "Layout", wxPoint(0, 0));
    auto* window = new ViewWindow(frame, *layout);
    frame->SetClientSize(800, 600);
    frame->Show();
    for (int i = 0; i < 50 && window->paints == 0; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(20);
    }
    Repaint(*window);
    ASSERT_GT(window->paints, 0);
    EXPECT_EQ(window->last, vx::PaintResult::Drawn);

    wxImage image = Shot(*window);
    const std::filesystem::path out = vx::test::OutputFolder() / "ui-view-window.png";
    std::filesystem::create_directories(out.parent_path());
    EXPECT_TRUE(image.SaveFile(out.string(), wxBITMAP_TYPE_PNG));
    EXPECT_EQ(Rgb(image, 5, 5), 0xB4B4B4u);    // desk
    EXPECT_EQ(Rgb(image, 501, 300), 0x4D4D4Du);  // shadow
    EXPECT_EQ(Rgb(image, 400, 442), 0x4D4D4Du);
    EXPECT_EQ(Rgb(image, 310, 300), 0xFFFFFFu);  // layout-area margin
    EXPECT_EQ(Rgb(image, 400, 300), 0xC0E0FFu);  // background
    EXPECT_EQ(Rgb(image, 411, 340), 0xD05030u);  // the picture

    // Failing paints show the button face; the message comes once, after the paint.
    const uint32_t face = [] {
        const uint32_t c = vx::gfx::GetSystemColours().buttonFace;
        return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    }();
    // A changed layout shows with the next paint.
    layout->SetPaperColor(0x00FF00);
    Repaint(*window);
    EXPECT_EQ(Rgb(Shot(*window), 400, 300), 0x00FF00u);
    window->view.fail = true;
    Repaint(*window);
    Repaint(*window);
    EXPECT_EQ(window->last, vx::PaintResult::Failed);
    EXPECT_EQ(Rgb(Shot(*window), 400, 300), face);
    EXPECT_EQ(messages.Ids(), std::vector<int>{vx::IDS_NOT_ENOUGH_MEMORY});
    window->view.fail = false;
    Repaint(*window);
    EXPECT_EQ(window->last, vx::PaintResult::Drawn);
    window->view.fail = true;
    Repaint(*window);
    EXPECT_EQ(messages.Ids().size(), 2u);
    window->view.fail = false;

    // While the print job holds the render lock a paint draws only the button face.
    vx::RenderState& rs = vx::InstallRenderState();
    ASSERT_TRUE(rs.Acquire(vx::kRenderPrinting, false));
    Repaint(*window);
    EXPECT_EQ(window->last, vx::PaintResult::Busy);
    EXPECT_EQ(Rgb(Shot(*window), 400, 300), face);
    EXPECT_EQ(rs.LockOwner(), vx::kRenderPrinting);
    rs.Release();

    // A resized window gets a surface of its new size.
    frame->SetClientSize(640, 480);
    Repaint(*window);
    EXPECT_EQ(window->last, vx::PaintResult::Drawn);
    EXPECT_EQ(window->Painter().Surface().Width(), 640);
    EXPECT_EQ(window->Painter().Surface().Height(), 480);
    EXPECT_EQ(messages.Ids().size(), 2u);

    frame->Destroy();
    layout.reset();
    vx::RemoveTempFolder();
    wxTheApp->ProcessIdle();
    wxTheApp->OnExit();
    wxEntryCleanup();
}
