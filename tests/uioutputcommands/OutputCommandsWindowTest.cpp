#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/docview.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <cairo.h>

#include "app/AppCore.h"
#include "core/imaging/JpegFixtures.h"
#include "document/LayoutDocument.h"
#include "document/LayoutXmlWriter.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/NewItemPlacement.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "support/TestFolders.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"
#include "ui/document/GPDocument.h"
#include "ui/document/WxSettingsDialogs.h"
#include "ui/shell/CChildFrame.h"
#include "ui/shell/CChildSplitterWnd.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/GPView.h"
#include "ui/shell/LayoutPane.h"

namespace fs = std::filesystem;

wxIMPLEMENT_APP_NO_MAIN(CGPApp);

namespace {

/// Ends every modal dialog at once with OK; messages are recorded.
class AnsweringHook : public wxModalDialogHook {
public:
    std::vector<std::string> messages;
    std::vector<std::string> dialogs;
    AnsweringHook() { Register(); }
    ~AnsweringHook() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override {
        dialogs.push_back(std::string(dialog->GetTitle().utf8_str()));
        if (auto* message = dynamic_cast<wxMessageDialog*>(dialog)) {
            messages.push_back(std::string(message->GetMessage().utf8_str()));
            // Save questions get No, other questions Yes: the run goes on and saves nothing.
            if (message->GetMessageDialogStyle() & wxNO)
                return messages.back().rfind("Möchten Sie", 0) == 0 ? wxID_NO : wxID_YES;
        }
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

/// The window side's dialogs, except that New is given the test's template.
struct TestDialogs : vx::SettingsDialogs {
    vx::WxSettingsDialogs real;
    fs::path chosen;
    bool Has(Dialog dialog) override { return real.Has(dialog); }
    bool RunAutoRotate(vx::CLayoutSetting& layout) override { return real.RunAutoRotate(layout); }
    std::optional<fs::path> ChooseTemplate() override { return chosen; }
    bool RunFreeLine(vx::CLayoutSetting& layout, vx::CLayoutObj* item) override {
        return real.RunFreeLine(layout, item);
    }
};

void Settle(int rounds = 10) {
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(15);
    }
}

CGPApp& App() { return wxGetApp(); }
CMainFrame* Frame() { return CMainFrame::Get(); }

/// What the screen shows of the main window, also written to the test output.
wxImage Shot(const std::string& name) {
    wxWindow* window = Frame();
    window->Refresh();
    window->Update();
    Settle();
    const wxRect r = window->GetScreenRect();
    wxBitmap shot(r.width, r.height, 24);
    {
        wxMemoryDC mem(shot);
        wxScreenDC screen;
        // cairo keeps a picture of the root window it read once; later paints must show.
        if (auto* cr = static_cast<cairo_t*>(screen.GetImpl()->GetCairoContext()))
            cairo_surface_mark_dirty(cairo_get_target(cr));
        mem.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
    }
    wxImage image = shot.ConvertToImage();
    const fs::path out = vx::test::OutputFolder() / "uioutputcommands" / name;
    fs::create_directories(out.parent_path());
    image.SaveFile(out.string(), wxBITMAP_TYPE_PNG);
    return image;
}

/// Sends a menu command by id as the menu bar does, and lets the windows settle.
void Menu(int command) {
    wxCommandEvent event(wxEVT_MENU, vx::ToWxId(command));
    event.SetEventObject(Frame());
    Frame()->GetEventHandler()->ProcessEvent(event);
    Settle();
}

/// The main menu's item of command after its update handlers ran.
wxMenuItem* Item(int command) {
    wxMenuBar* bar = Frame()->GetMenuBar();
    Frame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    bar->UpdateMenus();
    return bar->FindItem(vx::ToWxId(command));
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

class OutputCommandsWindow : public testing::Test {
protected:
    static void SetUpTestSuite() {
        root = new vx::test::TestRoot;
        temp = new vx::test::ScopedEnv("VELLICOREX_TEMP_DIR", (root->Path() / "temp").string());
        user = new vx::test::ScopedEnv("VELLICOREX_USER_DIR", (root->Path() / "user").string());
        hook = new AnsweringHook;
        static int argc = 1;
        static char arg0[] = "vellicorex";
        static char* argv[] = {arg0, nullptr};
        ASSERT_TRUE(wxEntryStart(argc, argv));
        ASSERT_TRUE(wxTheApp->CallOnInit());
        started = App().ExitStatus() == 0;
        if (started) {
            dialogs = new TestDialogs;
            dialogs->chosen = root->Path() / "Vorlage.kqt";
            auto layout = App().Core()->CreateDefaultLayout(nullptr, nullptr);
            ASSERT_NE(layout, nullptr);
            layout->SetColor(2);
            ASSERT_TRUE(vx::SaveLayoutXml(dialogs->chosen, *layout));
            vx::InstallHostService<vx::SettingsDialogs>(dialogs);
            App().FinishStartup();
        }
        Settle(20);
        if (started && Frame() && !Frame()->LayoutWindow())
            wxDocManager::GetDocumentManager()->CreateDocument(wxEmptyString, wxDOC_NEW);
        if (Frame()) Frame()->SetSize(wxSize(1100, 800));
        Settle(20);
    }
    static void TearDownTestSuite() {
        if (wxTheApp) {
            if (CMainFrame* frame = Frame()) frame->Close(true);
            wxTheApp->ProcessPendingEvents();
            wxTheApp->ProcessIdle();
            wxTheApp->OnExit();
            wxEntryCleanup();
        }
        delete hook;
        delete dialogs;
        delete user;
        delete temp;
        delete root;
    }
    void SetUp() override {
        ASSERT_TRUE(started) << "start-up refused";
        ASSERT_NE(Frame(), nullptr);
        ASSERT_NE(Frame()->LayoutWindow(), nullptr) << (hook->messages.empty() ? "" : hook->messages.front());
        for (wxDocument* d : wxDocManager::GetDocumentManager()->GetDocumentsVector())
            if (auto* gp = dynamic_cast<vx::GPDocument*>(d)) doc = gp;
        ASSERT_NE(doc, nullptr);
        layout = doc->Core().GetLayout();
        ASSERT_NE(layout, nullptr);
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

    static inline vx::test::TestRoot* root = nullptr;
    static inline vx::test::ScopedEnv* temp = nullptr;
    static inline vx::test::ScopedEnv* user = nullptr;
    static inline AnsweringHook* hook = nullptr;
    static inline TestDialogs* dialogs = nullptr;
    static inline bool started = false;
    vx::GPDocument* doc = nullptr;
    vx::CLayoutSetting* layout = nullptr;
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
    EXPECT_EQ(Item(33312)->GetItemLabelText(), wxString::FromUTF8("Layoutmenü ausblenden"));
    Shot("1-pane-shown.png");

    Menu(33312);
    EXPECT_FALSE(doc->Core().LayoutPanelShown());
    EXPECT_FALSE(splitter->IsSplit());
    EXPECT_FALSE(child->LeftPane()->IsShown());
    EXPECT_GT(child->RightPane()->GetSize().x, viewWidth + paneWidth / 2) << "the layout takes the room";
    EXPECT_EQ(Item(33312)->GetItemLabelText(), wxString::FromUTF8("Layoutmenü anzeigen"));
    Shot("2-pane-hidden.png");

    Menu(33312);
    EXPECT_TRUE(doc->Core().LayoutPanelShown());
    EXPECT_TRUE(splitter->IsSplit());
    EXPECT_TRUE(child->LeftPane()->IsShown());
    EXPECT_EQ(splitter->GetSashPosition(), width);
    EXPECT_EQ(child->LeftPane()->GetSize().x, paneWidth);
    EXPECT_EQ(child->RightPane()->GetSize().x, viewWidth);
    EXPECT_EQ(Item(33312)->GetItemLabelText(), wxString::FromUTF8("Layoutmenü ausblenden"));
    Shot("3-pane-back.png");
}

TEST_F(OutputCommandsWindow, RotateTurnsASelectedImageOfARealLayout) {
    hook->messages.clear();
    const fs::path path = root->Path() / "quer.jpg";
    vx::test::WriteBytes(path, Jpeg(600, 400));
    ASSERT_EQ(doc->Core().AddImageFile(path), 1);
    ASSERT_EQ(vx::Relayout(*layout), 1);
    Settle();
    vx::CImageObj* image = FirstImage();
    ASSERT_NE(image, nullptr);
    for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) p->SetSelected(0);
    EXPECT_FALSE(Item(33201)->IsEnabled()) << "nothing selected";
    image->SetSelected(1);
    EXPECT_TRUE(Item(33201)->IsEnabled());
    EXPECT_EQ(Shape(*image), wxSize(600, 400));
    Shot("4-landscape.png");

    Menu(33201);
    image = FirstImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetRotate(), 1);
    EXPECT_EQ(App().Core()->GetUndoStore().GetLastUndoCode(), 159);
    EXPECT_EQ(Shape(*image), wxSize(400, 600)) << "a quarter turn stands the picture up";
    Shot("5-turned-right.png");

    Menu(33207);
    image = FirstImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetRotate(), 0);
    EXPECT_EQ(Shape(*image), wxSize(600, 400));

    // The mode: an image sized by dimensions shows which way it turns.
    image->SetSelected(1);
    image->SetSizeMethod(1);
    image->SetFrameRotation(1);
    EXPECT_TRUE(Item(33212)->IsChecked());
    EXPECT_FALSE(Item(33908)->IsChecked());
    Menu(33908);
    EXPECT_EQ(FirstImage()->GetFrameRotation(), 0);
    EXPECT_TRUE(Item(33908)->IsChecked());
    EXPECT_TRUE(hook->messages.empty()) << hook->messages.front();
}

TEST_F(OutputCommandsWindow, InsertFreeLineFromTheMainMenuPlacesALine) {
    vx::CLayoutObj* before = nullptr;
    int count = 0;
    for (vx::CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem()) ++count, before = p;
    EXPECT_TRUE(Item(33005)->IsEnabled());
    Menu(33005);
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

}  // namespace
