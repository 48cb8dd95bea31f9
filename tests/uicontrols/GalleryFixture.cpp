#include "GalleryFixture.h"

#include <chrono>
#include <thread>

#include <wx/app.h>
#include <wx/dcscreen.h>
#include <wx/dcmemory.h>
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
    mFrame->Show();
    mFrame->Raise();
    Pump(300);
}

void Gallery::TearDown() {
    if (mFrame) mFrame->Destroy();
    Pump(50);
    wxTheApp->ProcessIdle();
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
    window->Update();
    const wxRect r = window->GetScreenRect();
    wxBitmap bmp(r.width, r.height, 24);
    wxMemoryDC mem(bmp);
    wxScreenDC screen;
    mem.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
    mem.SelectObject(wxNullBitmap);
    return bmp.ConvertToImage();
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
