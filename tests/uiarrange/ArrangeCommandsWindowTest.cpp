#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/colordlg.h>
#include <wx/image.h>
#include <wx/menu.h>

#include "../ui/RunningProgramTest.h"
#include "app/AppCore.h"
#include "core/imaging/JpegFixtures.h"
#include "document/LayoutDocument.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/ToolWindows.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"
#include "ui/document/GPDocument.h"
#include "ui/document/WxSettingsDialogs.h"
#include "ui/shell/CChildFrame.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/GPView.h"
#include "ui/shell/LayoutPane.h"

namespace fs = std::filesystem;

wxIMPLEMENT_APP_NO_MAIN(CGPApp);

namespace {

/// Reaches the colour dialog's copy of its data into the chooser.
struct Picker : wxColourDialog {
    using wxColourDialog::ColourDataToDialog;
};

/// The colour the colour dialog answers with OK; Cancel while there is none.
std::optional<wxColour> colour;
int colourDialogs = 0;

/// Ends the colour dialog at once, as the user's choice of colour: in the dialog's data
/// and in its chooser. The run's hook answers the other dialogs.
std::optional<int> AnswerColourDialog(wxDialog& dialog) {
    auto* picker = dynamic_cast<wxColourDialog*>(&dialog);
    if (!picker) return std::nullopt;
    ++colourDialogs;
    if (!colour) return wxID_CANCEL;
    picker->GetColourData().SetColour(*colour);
    (picker->*&Picker::ColourDataToDialog)();
    return wxID_OK;
}

/// The image file dialog answering one path.
struct ImageFilePort : vx::NoToolWindows {
    fs::path answer;
    std::vector<fs::path> ChooseImageFiles(const fs::path&) override { return {answer}; }
};

using vx::test::MenuCommand;
using vx::test::MenuItem;
using vx::test::Settle;

CGPApp& App() { return wxGetApp(); }
CMainFrame* Frame() { return CMainFrame::Get(); }

/// What the screen shows of the main window, also written to the test output.
wxImage Shot(const std::string& name) {
    vx::test::Repaint(Frame());
    return vx::test::Shot(Frame(), "uiarrange/" + name);
}

std::vector<uint8_t> Jpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    vx::test::JpegFixture j;
    j.width = width;
    j.height = height;
    j.densityUnit = 1;
    j.xDensity = j.yDensity = 150;
    j.pixel = [=](int, int, uint8_t* c) {
        c[0] = r;
        c[1] = g;
        c[2] = b;
    };
    return vx::test::EncodeJpeg(j);
}

bool Near(const wxImage& image, wxPoint p, int r, int g, int b, int tolerance) {
    if (p.x < 0 || p.y < 0 || p.x >= image.GetWidth() || p.y >= image.GetHeight()) return false;
    return std::abs(image.GetRed(p.x, p.y) - r) <= tolerance && std::abs(image.GetGreen(p.x, p.y) - g) <= tolerance &&
           std::abs(image.GetBlue(p.x, p.y) - b) <= tolerance;
}

std::string Rgb(const wxImage& image, wxPoint p) {
    if (p.x < 0 || p.y < 0 || p.x >= image.GetWidth() || p.y >= image.GetHeight()) return "outside";
    return std::to_string(image.GetRed(p.x, p.y)) + "," + std::to_string(image.GetGreen(p.x, p.y)) + "," +
           std::to_string(image.GetBlue(p.x, p.y));
}

class ArrangeCommandsWindow : public vx::test::RunningProgramTest {
protected:
    static void SetUpTestSuite() {
        dialogs = new vx::WxSettingsDialogs;
        vx::test::ProgramRun::Setup setup;
        // New opens an automatic colour layout.
        setup.shapeTemplate = [](vx::CLayoutSetting& layout) { layout.SetColor(2); };
        setup.dialogs = dialogs;
        StartRun(setup, wxSize(1100, 900));
        hook->answer = AnswerColourDialog;
    }
    static void TearDownTestSuite() {
        EndRun();
        delete dialogs;
        dialogs = nullptr;
    }
    void SetUp() override {
        RunningProgramTest::SetUp();
        if (HasFatalFailure()) return;
        pane = Frame()->LayoutWindow()->RightPane();
        ASSERT_NE(pane, nullptr);
    }

    /// Where a point of page 1 (in 1/360 inch) shows in a shot of the main window.
    wxPoint OnScreen(double x, double y) const {
        const vx::ViewPageRect page = pane->GetPageRect();
        double zoom = 1.0;
        if (const vx::ViewStateBlock* vs = layout->GetViewState(); vs && vs->zoomNumerator > 0)
            zoom = double(vs->zoomNumerator) / vs->zoomDenominator;
        const vx::PixelPoint scroll = pane->Core().ScrollPosition();
        const wxPoint client(int(page.offset.x + x * pane->View().GetXPerUnit() * zoom) - scroll.x,
                             int(page.offset.y + y * pane->View().GetYPerUnit() * zoom) - scroll.y);
        return pane->ClientToScreen(client) - Frame()->GetScreenRect().GetPosition();
    }
    wxPoint Centre(const vx::CLayoutObj& item) const {
        const vx::LayoutRect r = item.GetRect();
        return OnScreen((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
    }
    std::vector<vx::CImageObj*> Images() const {
        std::vector<vx::CImageObj*> images;
        for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem())
            if (p->GetKind() == vx::kKindImage) images.push_back(static_cast<vx::CImageObj*>(p));
        return images;
    }
    void SelectOnly(const vx::CLayoutObj* item) {
        for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) p->SetSelected(p == item ? 1 : 0);
    }

    static inline vx::WxSettingsDialogs* dialogs = nullptr;
    vx::LayoutPane* pane = nullptr;
};

TEST_F(ArrangeCommandsWindow, MenuCommandsChangeTheLayoutAndWhatTheWindowShows) {
    // Two blue pictures in an automatic colour layout, far enough apart to see the page
    // between them.
    EXPECT_EQ(layout->GetColor(), 2);
    EXPECT_EQ(layout->GetFree(), 0);
    const fs::path a = run->Root() / "a.jpg", b = run->Root() / "b.jpg";
    vx::test::WriteBytes(a, Jpeg(600, 400, 40, 60, 200));
    vx::test::WriteBytes(b, Jpeg(600, 400, 40, 60, 200));
    ASSERT_EQ(doc->Core().AddImageFile(a), 1);
    ASSERT_EQ(doc->Core().AddImageFile(b), 1);
    layout->SetSpace({700, 700});
    ASSERT_EQ(vx::Relayout(*layout), 1);
    pane->Core().ZoomToFit();
    Settle();
    ASSERT_EQ(Images().size(), 2u);
    SelectOnly(nullptr);
    hook->shown.clear();
    Shot("0-start.png");

    // Sort in reverse: automatic layout only.
    EXPECT_TRUE(MenuItem(32900)->IsChecked());
    EXPECT_TRUE(MenuItem(32921)->IsEnabled());
    MenuCommand(32921);
    EXPECT_EQ(Images()[0]->GetFilePath(), b);
    EXPECT_EQ(Images()[1]->GetFilePath(), a);

    // 32901: free layout, ticked in the Layout menu; the images keep their places.
    MenuCommand(32901);
    EXPECT_EQ(layout->GetFree(), 1);
    EXPECT_TRUE(MenuItem(32901)->IsChecked());
    EXPECT_FALSE(MenuItem(32900)->IsChecked());
    EXPECT_FALSE(MenuItem(32900)->IsEnabled()) << "a free layout with images stays free";
    EXPECT_FALSE(MenuItem(32921)->IsEnabled()) << "no sorting in free layout";
    Shot("1-free-layout.png");

    // 33303: the grid shows over the page, and the item offers to hide it.
    vx::CImageObj* first = Images()[0];
    vx::CImageObj* second = Images()[1];
    const vx::LayoutRect r0 = first->GetRect(), r1 = second->GetRect();
    // The page between the two pictures, side by side or one above the other.
    const bool sideBySide = r0.right < r1.left;
    ASSERT_TRUE(sideBySide || r0.bottom < r1.top);
    const wxPoint gap = sideBySide ? OnScreen((r0.right + r1.left) / 2.0, (r0.top + r0.bottom) / 2.0)
                                   : OnScreen((r0.left + r0.right) / 2.0, (r0.bottom + r1.top) / 2.0);
    // A stretch of the page below the pictures, where only the grid can draw.
    const auto marked = [&](const wxImage& shot) {
        const int32_t y = std::max(r0.bottom, r1.bottom) + 400;
        int n = 0;
        const wxPoint from = OnScreen(r0.left, y), to = OnScreen(r0.right, y);
        for (int x = from.x; x < to.x; ++x) n += !Near(shot, {x, from.y}, 255, 255, 255, 24);
        return n;
    };
    EXPECT_EQ(MenuItem(33303)->GetItemLabel(), "Raster anzeigen\tCtrl+G");
    const int before = marked(Shot("2-no-grid.png"));
    MenuCommand(33303);
    EXPECT_EQ(App().Core()->Preferences().gridShown, 1);
    EXPECT_EQ(MenuItem(33303)->GetItemLabel(), "Raster ausblenden\tCtrl+G");
    const int after = marked(Shot("3-grid.png"));
    EXPECT_LE(before, 2);
    EXPECT_GE(after, 8) << "grid lines cross the stretch";
    MenuCommand(33303);
    EXPECT_EQ(App().Core()->Preferences().gridShown, 0);
    EXPECT_EQ(MenuItem(33303)->GetItemLabel(), "Raster anzeigen\tCtrl+G");

    // 32924: a black page.
    EXPECT_TRUE(MenuItem(32923)->IsChecked());
    MenuCommand(32924);
    EXPECT_EQ(layout->GetPaperColor(), 0u);
    EXPECT_TRUE(MenuItem(32924)->IsChecked());
    EXPECT_FALSE(MenuItem(32923)->IsChecked());
    wxImage shot = Shot("4-black.png");
    EXPECT_TRUE(Near(shot, gap, 0, 0, 0, 8)) << Rgb(shot, gap);

    // 32925: the colour dialog answers red 200, green 30, blue 30.
    colour = wxColour(200, 30, 30);
    MenuCommand(32925);
    colour.reset();
    EXPECT_EQ(colourDialogs, 1);
    EXPECT_EQ(layout->GetPaperColor(), 0x001E1EC8u);
    EXPECT_TRUE(MenuItem(32925)->IsChecked());
    EXPECT_FALSE(MenuItem(32924)->IsChecked());
    shot = Shot("5-other-colour.png");
    EXPECT_TRUE(Near(shot, gap, 200, 30, 30, 8)) << Rgb(shot, gap);
    EXPECT_EQ(App().Core()->DefaultLayoutSetting().GetPaperColor(), 0x001E1EC8u);

    // 33002: the first picture is replaced by a green one of 800 x 600.
    const fs::path green = run->Root() / "gruen.jpg";
    vx::test::WriteBytes(green, Jpeg(800, 600, 30, 170, 60));
    ImageFilePort port;
    port.answer = green;
    SelectOnly(first);
    EXPECT_TRUE(MenuItem(33002)->IsEnabled());
    {
        vx::ScopedHostService<vx::ToolWindows> files(&port);
        MenuCommand(33002);
    }
    EXPECT_TRUE(hook->shown.empty()) << hook->shown.front();
    ASSERT_EQ(Images().size(), 2u);
    first = Images()[0];
    second = Images()[1];
    EXPECT_EQ(first->GetFilePath(), green);
    EXPECT_EQ(second->GetFilePath(), a);
    EXPECT_EQ(App().Core()->GetUndoStore().GetLastUndoCode(), 26);
    EXPECT_EQ(vx::AppBusyFlag(), 0);
    shot = Shot("6-replaced.png");
    EXPECT_TRUE(Near(shot, Centre(*first), 30, 170, 60, 40)) << Rgb(shot, Centre(*first));
    EXPECT_TRUE(Near(shot, Centre(*second), 40, 60, 200, 40)) << Rgb(shot, Centre(*second));

    // Stacking: the blue picture moved over the green one's centre; the green one,
    // brought to the front, covers it there.
    const vx::LayoutRect g = first->GetRect();
    second->SetPosition((g.left + g.right) / 2, (g.top + g.bottom) / 2);
    pane->Invalidate();
    // Both pictures (4:3 in square boxes) cover three quarters into the green box.
    const wxPoint overlap = OnScreen(g.left + (g.right - g.left) * 0.75, g.top + (g.bottom - g.top) * 0.75);
    shot = Shot("7-overlap.png");
    EXPECT_TRUE(Near(shot, overlap, 40, 60, 200, 40)) << Rgb(shot, overlap);
    SelectOnly(first);
    EXPECT_TRUE(MenuItem(32915)->IsEnabled());
    MenuCommand(32915);
    EXPECT_EQ(layout->GetFirstItem(), second);
    EXPECT_EQ(App().Core()->GetUndoStore().GetLastUndoCode(), 14);
    shot = Shot("8-to-front.png");
    EXPECT_TRUE(Near(shot, overlap, 30, 170, 60, 40)) << Rgb(shot, overlap);
}

TEST_F(ArrangeCommandsWindow, PresetSizeWithoutADocumentIsTheMainWindows) {
    // The size dialog is bound: the preset stays available once the layout is closed.
    EXPECT_TRUE(MenuItem(33000)->IsEnabled());
    doc->Core().OnFileClose();
    Settle();
    EXPECT_EQ(Frame()->LayoutWindow(), nullptr);
    EXPECT_TRUE(MenuItem(33000)->IsEnabled());
    EXPECT_FALSE(MenuItem(32924)->IsEnabled()) << "document commands need a document";
    Shot("9-closed.png");
}

}  // namespace
