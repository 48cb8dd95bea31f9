#include "DialogWindowFixture.h"

#include <dlfcn.h>

#include <chrono>
#include <thread>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "support/TestFolders.h"

namespace {

class DialogTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Fires once from the modal dialog's event loop.
class OneShot : public wxTimer {
public:
    explicit OneShot(std::function<void()> f) : mF(std::move(f)) {}
    void Notify() override {
        auto f = std::move(mF);
        delete this;
        f();
    }

private:
    std::function<void()> mF;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(DialogTestApp);

void DialogWindow::SetUpTestSuite() {
    if (wxTheApp) return;
    static int argc = 1;
    static char arg0[] = "vellicorex-imagesize-test";
    static char* argv[] = {arg0, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv));
    ASSERT_TRUE(wxTheApp->CallOnInit());
    wxInitAllImageHandlers();
}

void DialogWindow::TearDown() {
    Pump(50);
    wxTheApp->ProcessIdle();
}

void DialogWindow::Pump(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void DialogWindow::CallSoon(std::function<void()> f) { (new OneShot(std::move(f)))->StartOnce(50); }

void DialogWindow::SavePng(wxWindow* window, const std::string& name) {
    // Read from the root window through the toolkit wx has loaded.
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
    Pump(100);
    ASSERT_TRUE(root && grab && channels && stride && pixels && unref) << "toolkit functions not found";
    const wxRect r = window->GetScreenRect();
    void* pixbuf = grab(root(), r.x, r.y, r.width, r.height);
    ASSERT_NE(pixbuf, nullptr) << "screen not readable";
    wxImage image(r.width, r.height);
    const int n = channels(pixbuf), rowBytes = stride(pixbuf);
    const unsigned char* data = pixels(pixbuf);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const unsigned char* p = data + y * rowBytes + x * n;
            image.SetRGB(x, y, p[0], p[1], p[2]);
        }
    unref(pixbuf);
    const auto path = vx::test::OutputFolder() / name;
    EXPECT_TRUE(image.SaveFile(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG)) << path;
}

void DialogWindow::ClickAt(wxWindow* window, wxPoint p) {
    const wxRect r = window->GetScreenRect();
    const wxPoint at = p == wxDefaultPosition ? wxPoint(r.x + r.width / 2, r.y + r.height / 2)
                                               : window->ClientToScreen(p);
    mSim.MouseMove(at);
    Pump(100);
    mSim.MouseClick();
    Pump(200);
}

void DialogWindow::TypeInto(wxWindow* edit, const char* keys) {
    ClickAt(edit);
    if (auto* text = dynamic_cast<wxTextCtrl*>(edit)) text->SelectAll();
    Pump(50);
    mSim.Text(keys);
    Pump(250);
}
