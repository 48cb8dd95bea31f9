#include "support/TestFolders.h"
#include <gtest/gtest.h>

#include <filesystem>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/window.h>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "ui/SurfacePainter.h"

namespace {

class SurfaceTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

/// A window painted only from an off-screen surface.
class SurfaceWindow : public wxWindow {
public:
    SurfaceWindow(wxWindow* parent, const vx::gfx::ImageSurface& surface)
        : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(surface.Width(), surface.Height())), mSurface(surface) {
        vx::PrepareSurfaceWindow(*this);
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxPaintDC dc(this);
            vx::PaintSurface(dc, mSurface, 0, 0);
            ++paints;
        });
    }
    int paints = 0;

private:
    const vx::gfx::ImageSurface& mSurface;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(SurfaceTestApp);

TEST(SurfaceWindow, ShowsTheSurfaceItWasPaintedFrom) {
    int argc = 1;
    char arg0[] = "vellicorex-paint-test";
    char* argv[] = {arg0, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv));
    ASSERT_TRUE(wxTheApp->CallOnInit());
    wxInitAllImageHandlers();

    // Left half red, right half blue, a white bar with black text across.
    vx::gfx::ImageSurface surface(240, 160);
    {
        vx::gfx::Canvas c(surface.Native(), vx::gfx::kScreenPixelsPerInch);
        c.FillRect({0, 0, 120, 160}, {1, 0, 0, 1});
        c.FillRect({120, 0, 120, 160}, {0, 0, 1, 1});
        c.FillRect({0, 60, 240, 40}, {1, 1, 1, 1});
        c.DrawText("Fenster", vx::gfx::Font{"DejaVu Sans", 20}, {}, {10, 66, 0, 0}, {0, 0, 0, 1});
    }
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Fläche", wxPoint(0, 0));
    auto* window = new SurfaceWindow(frame, surface);
    frame->SetClientSize(240, 160);
    frame->Show();
    for (int i = 0; i < 50 && window->paints == 0; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(20);
    }
    window->Refresh();
    window->Update();
    wxTheApp->Yield(true);
    EXPECT_GT(window->paints, 0);

    // Read back what the screen shows of the window.
    wxBitmap shot(240, 160, 24);
    {
        wxMemoryDC mem(shot);
        wxScreenDC screen;
        const wxPoint at = window->ClientToScreen(wxPoint(0, 0));
        ASSERT_TRUE(mem.Blit(0, 0, 240, 160, &screen, at.x, at.y));
    }
    wxImage image = shot.ConvertToImage();
    const std::filesystem::path out = vx::test::OutputFolder() / "ui-surface-window.png";
    std::filesystem::create_directories(out.parent_path());
    EXPECT_TRUE(image.SaveFile(out.string(), wxBITMAP_TYPE_PNG));
    EXPECT_EQ(image.GetRed(30, 20), 255);
    EXPECT_EQ(image.GetBlue(30, 20), 0);
    EXPECT_EQ(image.GetBlue(200, 140), 255);
    EXPECT_EQ(image.GetRed(200, 140), 0);
    EXPECT_EQ(image.GetGreen(200, 64), 255);
    int dark = 0;
    for (int x = 10; x < 110; ++x)
        for (int y = 62; y < 98; ++y) dark += image.GetGreen(x, y) < 100;
    EXPECT_GT(dark, 50);

    frame->Destroy();
    wxTheApp->ProcessIdle();
    wxTheApp->OnExit();
    wxEntryCleanup();
}
