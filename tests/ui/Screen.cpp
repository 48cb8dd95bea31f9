#include "Screen.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <cairo.h>

#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx::test {

void Settle(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(15);
    }
}

void Repaint(wxWindow* window) {
    window->Refresh();
    window->Update();
    Settle();
}

wxImage ScreenShot(const wxRect& r) {
    wxBitmap shot(r.width, r.height, 24);
    {
        wxMemoryDC mem(shot);
        wxScreenDC screen;
        // cairo keeps a picture of the root window it read once; later paints must show.
        if (auto* cr = static_cast<cairo_t*>(screen.GetImpl()->GetCairoContext()))
            cairo_surface_mark_dirty(cairo_get_target(cr));
        mem.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
    }
    return shot.ConvertToImage();
}

wxImage Shot(const wxRect& rect, const std::string& name) {
    wxImage image = ScreenShot(rect);
    const fs::path out = OutputFolder() / name;
    fs::create_directories(out.parent_path());
    EXPECT_TRUE(image.SaveFile(out.string(), wxBITMAP_TYPE_PNG)) << out;
    return image;
}

wxImage Shot(wxWindow* window, const std::string& name) { return Shot(window->GetScreenRect(), name); }

}  // namespace vx::test
