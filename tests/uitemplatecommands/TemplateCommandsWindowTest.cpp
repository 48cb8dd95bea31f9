#include <gtest/gtest.h>

#include <algorithm>
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
#include "document/TemplateFileWriter.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/Relayout.h"
#include "support/TestFolders.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateInfo.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"
#include "ui/document/GPDocument.h"
#include "ui/document/WxSettingsDialogs.h"
#include "ui/shell/CChildFrame.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/LayoutPane.h"

namespace fs = std::filesystem;

wxIMPLEMENT_APP_NO_MAIN(CGPApp);

namespace {

/// Records every message box and ends it: save questions with No, other questions with
/// Yes, the rest with OK.
class AnsweringHook : public wxModalDialogHook {
public:
    std::vector<std::string> messages;
    AnsweringHook() { Register(); }
    ~AnsweringHook() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* message = dynamic_cast<wxMessageDialog*>(dialog)) {
            messages.push_back(std::string(message->GetMessage().utf8_str()));
            if (message->GetMessageDialogStyle() & wxNO)
                return messages.back().rfind("Möchten Sie", 0) == 0 ? wxID_NO : wxID_YES;
        }
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

/// The window side's dialogs, except that New is given the test's template and the
/// save-as-template dialog answers the test's fields.
struct TestDialogs : vx::SettingsDialogs {
    vx::WxSettingsDialogs real;
    fs::path chosen;
    vx::SaveTemplateAsFields answer;
    std::vector<vx::SaveTemplateAsFields> presets;
    bool Has(Dialog dialog) override { return dialog == Dialog::SaveTemplateAs || real.Has(dialog); }
    bool RunAutoRotate(vx::CLayoutSetting& layout) override { return real.RunAutoRotate(layout); }
    std::optional<fs::path> ChooseTemplate() override { return chosen; }
    std::optional<uint32_t> ChooseColour(uint32_t initial) override { return real.ChooseColour(initial); }
    bool RunSaveTemplateAs(vx::SaveTemplateAsFields& fields) override {
        presets.push_back(fields);
        fields = answer;
        return true;
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

/// What the screen shows of the main window, written to the test output.
void Shot(const std::string& name) {
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
    const fs::path out = vx::test::OutputFolder() / "uitemplatecommands" / name;
    fs::create_directories(out.parent_path());
    shot.ConvertToImage().SaveFile(out.string(), wxBITMAP_TYPE_PNG);
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

std::vector<uint8_t> Jpeg(uint8_t r, uint8_t g, uint8_t b) {
    vx::test::JpegFixture j;
    j.width = 600;
    j.height = 400;
    j.densityUnit = 1;
    j.xDensity = j.yDensity = 150;
    j.pixel = [=](int, int, uint8_t* c) {
        c[0] = r;
        c[1] = g;
        c[2] = b;
    };
    return vx::test::EncodeJpeg(j);
}

std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TemplateCommandsWindow : public testing::Test {
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
        if (Frame()) Frame()->SetSize(wxSize(1100, 900));
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

    static inline vx::test::TestRoot* root = nullptr;
    static inline vx::test::ScopedEnv* temp = nullptr;
    static inline vx::test::ScopedEnv* user = nullptr;
    static inline AnsweringHook* hook = nullptr;
    static inline TestDialogs* dialogs = nullptr;
    static inline bool started = false;
    vx::GPDocument* doc = nullptr;
    vx::CLayoutSetting* layout = nullptr;
};

TEST_F(TemplateCommandsWindow, SaveTemplateAsFromTheMenuWritesTheTemplateAndItsCatalogueEntry) {
    // Two pictures of the same name from two folders.
    const fs::path a = root->Path() / "rot" / "bild.jpg", b = root->Path() / "blau" / "bild.jpg";
    fs::create_directories(a.parent_path());
    fs::create_directories(b.parent_path());
    vx::test::WriteBytes(a, Jpeg(200, 40, 40));
    vx::test::WriteBytes(b, Jpeg(40, 60, 200));
    ASSERT_EQ(doc->Core().AddImageFile(a), 1);
    ASSERT_EQ(doc->Core().AddImageFile(b), 1);
    ASSERT_EQ(vx::Relayout(*layout), 1);
    layout->SetDirty(1);
    Frame()->LayoutWindow()->RightPane()->Core().ZoomToFit();
    hook->messages.clear();
    Shot("0-layout.png");

    EXPECT_TRUE(Item(32805)->IsEnabled());
    EXPECT_EQ(Item(32805)->GetItemLabel(), "Vorlage speichern unter(&E)...");
    dialogs->answer = {"Urlaub.kqt", "Familie", "Zwei Bilder", 1};
    Menu(32805);

    EXPECT_TRUE(hook->messages.empty()) << hook->messages.front();
    ASSERT_EQ(dialogs->presets.size(), 1u);
    EXPECT_EQ(dialogs->presets[0].saveWithImages, 1);
    const fs::path file = vx::GetTemplateFolder() / "Urlaub.kqt";
    ASSERT_TRUE(fs::is_regular_file(file));
    const fs::path images = vx::TemplateImageFolder(file);
    EXPECT_EQ(Listing(images), (std::vector<std::string>{"bild.jpg", "bild0.jpg"}));
    EXPECT_EQ(vx::test::ReadFileBytes(images / "bild.jpg"), vx::test::ReadFileBytes(a));
    EXPECT_EQ(vx::test::ReadFileBytes(images / "bild0.jpg"), vx::test::ReadFileBytes(b));
    int entries = 0;
    for (const vx::TemplateInfo& info : vx::TemplateCatalog())
        if (info.Path == file.string()) {
            ++entries;
            EXPECT_EQ(info.Category, "Familie");
        }
    EXPECT_EQ(entries, 1);
    ASSERT_EQ(vx::CurrentTemplateInfo().GetSize(), 1);
    EXPECT_EQ(vx::CurrentTemplateInfo().ElementAt(0).Path, file.string());
    EXPECT_EQ(layout->GetDirty(), 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(Item(32804)->IsEnabled()) << "nothing to save";
    Shot("1-saved-as-template.png");

    // A change makes Save template available; it writes over the same file.
    layout->SetDirty(1);
    EXPECT_TRUE(Item(32804)->IsEnabled());
    EXPECT_EQ(Item(32804)->GetItemLabel(), "Vorlage speichern(&T)");
    const auto before = fs::last_write_time(file);
    Menu(32804);
    EXPECT_TRUE(hook->messages.empty()) << hook->messages.front();
    EXPECT_EQ(dialogs->presets.size(), 1u) << "no dialog for Save template";
    EXPECT_GE(fs::last_write_time(file), before);
    EXPECT_EQ(layout->GetDirty(), 0);
    EXPECT_EQ(Listing(images), (std::vector<std::string>{"bild.jpg", "bild0.jpg"}));
    Shot("2-saved-template.png");
}

}  // namespace
