#include "GalleryFixture.h"

#include <dlfcn.h>

#include <chrono>
#include <thread>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include "support/TestFolders.h"

namespace {

class GalleryApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(GalleryApp);

void Gallery::SetUpTestSuite() {
    if (wxTheApp) return;
    static int argc = 1;
    static char arg0[] = "vellicorex-controls-test";
    static char* argv[] = {arg0, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv));
    ASSERT_TRUE(wxTheApp->CallOnInit());
    wxInitAllImageHandlers();
}

void Gallery::SetUp() {
    ASSERT_NE(wxTheApp, nullptr);
    mFrame = new wxFrame(nullptr, wxID_ANY, "Gallery", wxPoint(40, 40), wxSize(520, 420));
    mPanel = new wxPanel(mFrame);
    mSim.MouseMove(1250, 1000);  // away from where the last test left the pointer
    mFrame->Show();
    mFrame->Raise();
    Pump(300);
    PumpUntil([this] { return mFrame->IsShownOnScreen() && mFrame->IsActive(); }, 1000);
}

void Gallery::TearDown() {
    while (wxWindow* captured = wxWindow::GetCapture()) captured->ReleaseMouse();
    if (mFrame) mFrame->Destroy();
    Pump(50);
    wxTheApp->ProcessIdle();
    PumpUntil([] { return wxTopLevelWindows.IsEmpty(); }, 1000);
}

void Gallery::Pump(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

wxImage Gallery::Grab(wxWindow* window) {
    // Read from the root window through the toolkit (wx has loaded it): painting from a
    // screen device context stops the later drawing of the process's windows from
    // reaching the display.
    using RootFn = void* (*)();
    using GrabFn = void* (*)(void*, int, int, int, int);
    using IntFn = int (*)(const void*);
    using PixelsFn = unsigned char* (*)(const void*);
    using UnrefFn = void (*)(void*);
    static auto root = reinterpret_cast<RootFn>(dlsym(RTLD_DEFAULT, "gdk_get_default_root_window"));
    static auto grab = reinterpret_cast<GrabFn>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_from_window"));
    static auto channels = reinterpret_cast<IntFn>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_n_channels"));
    static auto stride = reinterpret_cast<IntFn>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_rowstride"));
    static auto pixels = reinterpret_cast<PixelsFn>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_pixels"));
    static auto unref = reinterpret_cast<UnrefFn>(dlsym(RTLD_DEFAULT, "g_object_unref"));
    window->Update();
    const wxRect r = window->GetScreenRect();
    wxImage image(r.width, r.height);
    if (!root || !grab || !channels || !stride || !pixels || !unref) {
        ADD_FAILURE() << "toolkit functions not found";
        return image;
    }
    void* pixbuf = grab(root(), r.x, r.y, r.width, r.height);
    if (!pixbuf) {
        ADD_FAILURE() << "screen not readable";
        return image;
    }
    const int n = channels(pixbuf), rowBytes = stride(pixbuf);
    const unsigned char* data = pixels(pixbuf);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const unsigned char* p = data + y * rowBytes + x * n;
            image.SetRGB(x, y, p[0], p[1], p[2]);
        }
    unref(pixbuf);
    return image;
}

void Gallery::SavePng(wxWindow* window, const std::string& name) {
    const auto path = vx::test::OutputFolder() / name;
    EXPECT_TRUE(Grab(window).SaveFile(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG)) << path;
}

void Gallery::MoveTo(wxWindow* window, wxPoint p) {
    const wxRect r = window->GetScreenRect();
    const wxPoint at = p == wxDefaultPosition ? wxPoint(r.x + r.width / 2, r.y + r.height / 2)
                                               : window->ClientToScreen(p);
    mSim.MouseMove(at);
    Pump(100);
}

void Gallery::ClickAt(wxWindow* window, int button, wxPoint p) {
    MoveTo(window, p);
    mSim.MouseClick(button);
    Pump(150);
}

void Gallery::Type(const char* keys) {
    mSim.Text(keys);
    Pump(150);
}
