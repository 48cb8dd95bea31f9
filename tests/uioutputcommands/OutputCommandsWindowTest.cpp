#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include "../ui/RunningProgramTest.h"
#include "app/AppCore.h"
#include "core/imaging/JpegFixtures.h"
#include "document/LayoutDocument.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/NewItemPlacement.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"
#include "ui/dialogs/FreeLineDlg.h"
#include "ui/dialogs/GPTextDlg.h"
#include "ui/document/GPDocument.h"
#include "ui/document/WxSettingsDialogs.h"
#include "ui/shell/CChildFrame.h"
#include "ui/shell/CChildSplitterWnd.h"
#include "ui/shell/CMainToolBar.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/GPView.h"
#include "ui/shell/LayoutPane.h"

namespace fs = std::filesystem;

wxIMPLEMENT_APP_NO_MAIN(CGPApp);

namespace {

using vx::test::MenuCommand;
using vx::test::MenuItem;
using vx::test::Settle;

CGPApp& App() { return wxGetApp(); }
CMainFrame* Frame() { return CMainFrame::Get(); }

/// What the screen shows of the main window, also written to the test output.
wxImage Shot(const std::string& name) {
    vx::test::Repaint(Frame());
    return vx::test::Shot(Frame(), "uioutputcommands/" + name);
}

std::vector<uint8_t> Jpeg(int width, int height) {
    vx::test::JpegFixture j;
    j.width = width;
    j.height = height;
    j.densityUnit = 1;
    j.xDensity = j.yDensity = 150;
    // Red on the left half, blue on the right: a quarter turn shows.
    j.pixel = [=](int x, int, uint8_t* c) {
        const bool left = x < width / 2;
        c[0] = left ? 210 : 30;
        c[1] = 40;
        c[2] = left ? 30 : 210;
    };
    return vx::test::EncodeJpeg(j);
}

std::string StatusText() { return std::string(Frame()->GetStatusBar()->GetStatusText(0).utf8_str()); }

class OutputCommandsWindow : public vx::test::RunningProgramTest {
protected:
    static void SetUpTestSuite() {
        dialogs = new vx::WxSettingsDialogs;
        vx::test::ProgramRun::Setup setup;
        // New opens an automatic colour layout.
        setup.shapeTemplate = [](vx::CLayoutSetting& layout) { layout.SetColor(2); };
        setup.dialogs = dialogs;
        StartRun(setup, wxSize(1100, 800));
    }
    static void TearDownTestSuite() {
        EndRun();
        delete dialogs;
        dialogs = nullptr;
    }
    /// The proportions of the item's working picture (a preview of the file).
    static wxSize Shape(const vx::CImageObj& image) {
        vx::CImageBitmapLock lock(image);
        if (!lock.Bitmap()) return {};
        const vx::Rect16 r = vx::DibBuffer::GetRect(lock.Bitmap());
        // The preview may be scaled: compare proportions at the file's scale.
        const double scale = 600.0 / std::max<int>(r.Width(), r.Height());
        return {int(r.Width() * scale + 0.5), int(r.Height() * scale + 0.5)};
    }
    vx::CImageObj* FirstImage() const {
        for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem())
            if (p->GetKind() == vx::kKindImage) return static_cast<vx::CImageObj*>(p);
        return nullptr;
    }

    static inline vx::WxSettingsDialogs* dialogs = nullptr;
};

TEST_F(OutputCommandsWindow, LayoutMenuHidesThePaneAndGivesItsWidthBack) {
    CChildFrame* child = Frame()->LayoutWindow();
    CChildSplitterWnd* splitter = child->Splitter();
    ASSERT_TRUE(splitter->IsSplit());
    // The user drew the pane wider than it opened.
    const int width = splitter->InitialLeftWidth() + 57;
    splitter->SetSashPosition(width);
    Settle();
    const int paneWidth = child->LeftPane()->GetSize().x;
    const int viewWidth = child->RightPane()->GetSize().x;
    EXPECT_EQ(splitter->GetSashPosition(), width);
    EXPECT_EQ(MenuItem(33312)->GetItemLabelText(), wxString::FromUTF8("Layoutmenü ausblenden"));
    Shot("1-pane-shown.png");

    MenuCommand(33312);
    EXPECT_FALSE(doc->Core().LayoutPanelShown());
    EXPECT_FALSE(splitter->IsSplit());
    EXPECT_FALSE(child->LeftPane()->IsShown());
    EXPECT_GT(child->RightPane()->GetSize().x, viewWidth + paneWidth / 2) << "the layout takes the room";
    EXPECT_EQ(MenuItem(33312)->GetItemLabelText(), wxString::FromUTF8("Layoutmenü anzeigen"));
    Shot("2-pane-hidden.png");

    MenuCommand(33312);
    EXPECT_TRUE(doc->Core().LayoutPanelShown());
    EXPECT_TRUE(splitter->IsSplit());
    EXPECT_TRUE(child->LeftPane()->IsShown());
    EXPECT_EQ(splitter->GetSashPosition(), width);
    EXPECT_EQ(child->LeftPane()->GetSize().x, paneWidth);
    EXPECT_EQ(child->RightPane()->GetSize().x, viewWidth);
    EXPECT_EQ(MenuItem(33312)->GetItemLabelText(), wxString::FromUTF8("Layoutmenü ausblenden"));
    Shot("3-pane-back.png");
}

TEST_F(OutputCommandsWindow, RotateTurnsASelectedImageOfARealLayout) {
    hook->shown.clear();
    const fs::path path = run->Root() / "quer.jpg";
    vx::test::WriteBytes(path, Jpeg(600, 400));
    ASSERT_EQ(doc->Core().AddImageFile(path), 1);
    ASSERT_EQ(vx::Relayout(*layout), 1);
    Settle();
    vx::CImageObj* image = FirstImage();
    ASSERT_NE(image, nullptr);
    for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) p->SetSelected(0);
    EXPECT_FALSE(MenuItem(33201)->IsEnabled()) << "nothing selected";
    image->SetSelected(1);
    EXPECT_TRUE(MenuItem(33201)->IsEnabled());
    EXPECT_EQ(Shape(*image), wxSize(600, 400));
    Shot("4-landscape.png");

    MenuCommand(33201);
    image = FirstImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetRotate(), 1);
    EXPECT_EQ(App().Core()->GetUndoStore().GetLastUndoCode(), 159);
    EXPECT_EQ(Shape(*image), wxSize(400, 600)) << "a quarter turn stands the picture up";
    Shot("5-turned-right.png");

    MenuCommand(33207);
    image = FirstImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetRotate(), 0);
    EXPECT_EQ(Shape(*image), wxSize(600, 400));

    // The mode: an image sized by dimensions shows which way it turns.
    image->SetSelected(1);
    image->SetSizeMethod(1);
    image->SetFrameRotation(1);
    EXPECT_TRUE(MenuItem(33212)->IsChecked());
    EXPECT_FALSE(MenuItem(33908)->IsChecked());
    MenuCommand(33908);
    EXPECT_EQ(FirstImage()->GetFrameRotation(), 0);
    EXPECT_TRUE(MenuItem(33908)->IsChecked());
    EXPECT_TRUE(hook->shown.empty()) << hook->shown.front();
}

TEST_F(OutputCommandsWindow, InsertFreeLineFromTheMainMenuPlacesALine) {
    vx::CLayoutObj* before = nullptr;
    int count = 0;
    for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) ++count, before = p;
    EXPECT_TRUE(MenuItem(33005)->IsEnabled());
    MenuCommand(33005);
    int after = 0;
    vx::CLayoutObj* last = nullptr;
    for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) ++after, last = p;
    ASSERT_EQ(after, count + 1);
    ASSERT_NE(last, before);
    EXPECT_EQ(last->GetKind(), vx::kKindLine);
    EXPECT_GT(last->GetPosition().x, vx::kUnplacedX);
    EXPECT_EQ(App().Core()->GetUndoStore().GetLastUndoCode(), 5);
    EXPECT_EQ(layout->GetDirty(), 1);
    Shot("6-free-line.png");
}

// The keys of the menu's insert commands, typed with the focus in the layout view.
TEST_F(OutputCommandsWindow, CtrlTAndCtrlLInTheLayoutViewInsertAFreeTextAndAFreeLine) {
    vx::LayoutPane* view = Frame()->LayoutWindow()->RightPane();
    std::vector<std::string> opened;
    // The dialogs shown as the user sees them, then ended with OK.
    hook->answer = [&](wxDialog& dialog) -> std::optional<int> {
        if (auto* text = dynamic_cast<vx::CGPTextDlg*>(&dialog)) {
            opened.push_back("text");
            text->Show();
            Settle(20);
            auto* field = dynamic_cast<wxTextCtrl*>(text->FindWindow(1167));
            if (!field) return wxID_CANCEL;
            field->SetFocus();
            wxUIActionSimulator().Text("Hallo");
            Settle(20);
            vx::test::Repaint(text);
            vx::test::Shot(text, "uioutputcommands/7-free-text-dialog-from-ctrl-t.png");
            return text->PressOk() ? wxID_OK : wxID_CANCEL;
        }
        if (auto* line = dynamic_cast<vx::CFreeLineDlg*>(&dialog)) {
            opened.push_back("line");
            line->Show();
            Settle(20);
            return line->PressOk() ? wxID_OK : wxID_CANCEL;
        }
        return std::nullopt;
    };
    struct Case {
        char key;
        const char* dialog;
        int kind;
    };
    for (const Case& c : {Case{'T', "text", vx::kKindText}, Case{'L', "line", vx::kKindLine}}) {
        SCOPED_TRACE(c.dialog);
        opened.clear();
        int before = 0;
        for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) ++before;
        view->SetFocus();
        Settle();
        ASSERT_TRUE(view->HasFocus());
        wxUIActionSimulator().Char(c.key, wxMOD_CONTROL);
        Settle(40);
        EXPECT_EQ(opened, std::vector<std::string>{c.dialog});
        int after = 0;
        vx::CLayoutObj* last = nullptr;
        for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) ++after, last = p;
        ASSERT_EQ(after, before + 1);
        EXPECT_EQ(last->GetKind(), c.kind);
        EXPECT_GT(last->GetPosition().x, vx::kUnplacedX) << "placed as the menu places it";
        EXPECT_EQ(App().Core()->GetUndoStore().GetLastUndoCode(), 5);
    }
    const vx::CTextObj* text = nullptr;
    for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == vx::kKindText) text = static_cast<const vx::CTextObj*>(p);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetText(), "Hallo");
    hook->answer = nullptr;
    Shot("8-free-text-and-line-from-keys.png");
}

/// Lets the program's image file dialog show and chooses a path in it as the user does,
/// while the run's answering hook stands aside.
class ImageChooser : public wxModalDialogHook {
public:
    fs::path path;
    int shown = 0;
    int others = 0;  // messages, cancelled

    explicit ImageChooser(vx::test::AnsweringHook& hook) : mHook(hook) {
        mHook.Unregister();
        Register();
        mTimer.Bind(wxEVT_TIMER, &ImageChooser::Choose, this);
    }
    ~ImageChooser() override {
        mTimer.Stop();
        Unregister();
        mHook.Register();
    }

protected:
    int Enter(wxDialog* dialog) override {
        if (dialog == mChooser) return wxID_NONE;  // the file dialog's own modal step
        auto* chooser = dynamic_cast<wxFileDialog*>(dialog);
        if (!chooser) {
            ++others;
            return wxID_CANCEL;
        }
        mChooser = chooser;
        ++shown;
        mPathSet = false;
        mTimer.Start(100);
        return wxID_NONE;  // shown, modal, as the user gets it
    }
    void Exit(wxDialog*) override { mChooser = nullptr; }

private:
    void Choose(wxTimerEvent&) {
        if (!mChooser) return;
        if (!mPathSet) {
            mChooser->SetPath(wxString::FromUTF8(path.string()));
            mPathSet = true;
            return;
        }
        wxArrayString chosen;
        mChooser->GetPaths(chosen);  // the chooser selects the path when it has read its folder
        if (chosen.empty()) return;
        mTimer.Stop();
        vx::test::Shot(wxRect(wxPoint(0, 0), wxGetDisplaySize()), "uioutputcommands/9-image-chooser.png");
        mChooser->EndModal(wxID_OK);
    }

    vx::test::AnsweringHook& mHook;
    wxTimer mTimer;
    wxFileDialog* mChooser = nullptr;
    bool mPathSet = false;
};

TEST_F(OutputCommandsWindow, LoadImageOfNoPictureEndsWithTheUnsupportedFormatStatus) {
    // A text file named as a JPEG, alone and in a folder.
    const fs::path folder = run->Root() / "keinbild";
    fs::create_directories(folder / "Ordner");
    vx::test::WriteBytes(folder / "x.jpg", vx::test::Bytes("Das ist kein Bild.\n"));
    vx::test::WriteBytes(folder / "Ordner" / "y.jpg", vx::test::Bytes("Das ist auch kein Bild.\n"));
    int items = 0;
    for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) ++items;

    CMainToolBar* tools = Frame()->ToolBar();
    const wxPoint button = tools->ClientToScreen(wxPoint(24, tools->GetClientSize().y / 2));  // "Bild laden"
    wxUIActionSimulator sim;
    const auto byMenu = [&] {
        sim.MouseMove(Frame()->LayoutWindow()->RightPane()->GetScreenRect().GetPosition() + wxPoint(60, 60));
        Frame()->LayoutWindow()->RightPane()->SetFocus();
        Settle();
        sim.Char('d', wxMOD_ALT);
        Settle(20);
        sim.Char('l');
    };
    // Clicked, and the pointer stays on the button while the dialog is chosen from.
    const auto byButton = [&] {
        sim.MouseMove(button);
        Settle();
        sim.MouseClick();
    };
    struct Case {
        const char* what;
        std::function<void()> start;
        fs::path chosen;
    };
    const Case cases[] = {{"menu, file", byMenu, folder / "x.jpg"},
                          {"button, file", byButton, folder / "x.jpg"},
                          {"button, folder", byButton, folder / "Ordner"}};
    int shot = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImageChooser chooser(*hook);
        chooser.path = c.chosen;
        Frame()->SetStatusText("", 0);
        c.start();
        Settle(100);
        EXPECT_EQ(chooser.shown, 1) << "Load image ran";
        EXPECT_EQ(chooser.others, 0) << "no message";
        EXPECT_EQ(StatusText(), "Bildformat nicht unterstützt.");
        Shot("9-load-no-picture-" + std::to_string(++shot) + ".png");
    }
    int after = 0;
    for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) ++after;
    EXPECT_EQ(after, items) << "nothing was added";
}

}  // namespace
