#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/menu.h>

#include "../ui/RunningProgramTest.h"
#include "app/AppCore.h"
#include "core/imaging/JpegFixtures.h"
#include "document/LayoutDocument.h"
#include "document/TemplateFileWriter.h"
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

/// The window side's dialogs, except that the save-as-template dialog answers the
/// test's fields.
struct TestDialogs : vx::SettingsDialogs {
    vx::WxSettingsDialogs real;
    vx::SaveTemplateAsFields answer;
    std::vector<vx::SaveTemplateAsFields> presets;
    bool Has(Dialog dialog) override { return dialog == Dialog::SaveTemplateAs || real.Has(dialog); }
    bool RunAutoRotate(vx::CLayoutSetting& layout) override { return real.RunAutoRotate(layout); }
    // The run answers New with its template.
    std::optional<fs::path> ChooseTemplate() override { return std::nullopt; }
    std::optional<uint32_t> ChooseColour(uint32_t initial) override { return real.ChooseColour(initial); }
    bool RunSaveTemplateAs(vx::SaveTemplateAsFields& fields) override {
        presets.push_back(fields);
        fields = answer;
        return true;
    }
};

using vx::test::MenuCommand;
using vx::test::MenuItem;

CMainFrame* Frame() { return CMainFrame::Get(); }

/// What the screen shows of the main window, written to the test output.
void Shot(const std::string& name) {
    vx::test::Repaint(Frame());
    vx::test::Shot(Frame(), "uitemplatecommands/" + name);
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

class TemplateCommandsWindow : public vx::test::RunningProgramTest {
protected:
    static void SetUpTestSuite() {
        dialogs = new TestDialogs;
        vx::test::ProgramRun::Setup setup;
        // New opens an automatic colour layout.
        setup.shapeTemplate = [](vx::CLayoutSetting& layout) { layout.SetColor(2); };
        setup.dialogs = dialogs;
        StartRun(setup, wxSize(1100, 900));
    }
    static void TearDownTestSuite() {
        EndRun();
        delete dialogs;
        dialogs = nullptr;
    }

    static inline TestDialogs* dialogs = nullptr;
};

TEST_F(TemplateCommandsWindow, SaveTemplateAsFromTheMenuWritesTheTemplateAndItsCatalogueEntry) {
    // Two pictures of the same name from two folders.
    const fs::path a = run->Root() / "rot" / "bild.jpg", b = run->Root() / "blau" / "bild.jpg";
    fs::create_directories(a.parent_path());
    fs::create_directories(b.parent_path());
    vx::test::WriteBytes(a, Jpeg(200, 40, 40));
    vx::test::WriteBytes(b, Jpeg(40, 60, 200));
    ASSERT_EQ(doc->Core().AddImageFile(a), 1);
    ASSERT_EQ(doc->Core().AddImageFile(b), 1);
    ASSERT_EQ(vx::Relayout(*layout), 1);
    layout->SetDirty(1);
    Frame()->LayoutWindow()->RightPane()->Core().ZoomToFit();
    hook->shown.clear();
    Shot("0-layout.png");

    EXPECT_TRUE(MenuItem(32805)->IsEnabled());
    EXPECT_EQ(MenuItem(32805)->GetItemLabel(), "Vorlage speichern unter(&E)...");
    dialogs->answer = {"Urlaub.kqt", "Familie", "Zwei Bilder", 1};
    MenuCommand(32805);

    EXPECT_TRUE(hook->shown.empty()) << hook->shown.front();
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
    EXPECT_FALSE(MenuItem(32804)->IsEnabled()) << "nothing to save";
    Shot("1-saved-as-template.png");

    // A change makes Save template available; it writes over the same file.
    layout->SetDirty(1);
    EXPECT_TRUE(MenuItem(32804)->IsEnabled());
    EXPECT_EQ(MenuItem(32804)->GetItemLabel(), "Vorlage speichern(&T)");
    const auto before = fs::last_write_time(file);
    MenuCommand(32804);
    EXPECT_TRUE(hook->shown.empty()) << hook->shown.front();
    EXPECT_EQ(dialogs->presets.size(), 1u) << "no dialog for Save template";
    EXPECT_GE(fs::last_write_time(file), before);
    EXPECT_EQ(layout->GetDirty(), 0);
    EXPECT_EQ(Listing(images), (std::vector<std::string>{"bild.jpg", "bild0.jpg"}));
    Shot("2-saved-template.png");
}

}  // namespace
