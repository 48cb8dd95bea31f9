#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "document/DocumentCommands.h"
#include "document/LayoutDocument.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "model/ViewStateBlock.h"
#include "platform/system/AtomicFile.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/TestFolders.h"
#include "LayoutLoadFixtures.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
mode_t Mode(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(CopyFileWritable, ReadOnlySourceGivesAWritableCopyAndLeavesTheSource) {
    test::TestRoot root;
    const fs::path source = root.Path() / "Vorlage.kqt";
    std::ofstream(source) << "vorlage";
    ::chmod(source.c_str(), 0444);
    const fs::path target = root.Path() / "Kopie.kqt";
    ASSERT_TRUE(CopyFileWritable(source, target, true));
    EXPECT_EQ(Bytes(target), "vorlage");
    EXPECT_TRUE(Mode(target) & S_IWUSR);
    EXPECT_EQ(Mode(source), 0444u);

    std::ofstream(target, std::ios::trunc) << "eigene";
    EXPECT_FALSE(CopyFileWritable(source, target, true)) << "fail-if-exists";
    EXPECT_EQ(Bytes(target), "eigene");

    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    EXPECT_FALSE(CopyFileWritable(source, target, false));
    FailAtomicWriteStepForTests(AtomicWriteStep::None);
    EXPECT_EQ(Bytes(target), "eigene");
    EXPECT_TRUE(CopyFileWritable(source, target, false));
    EXPECT_EQ(Bytes(target), "vorlage");
    EXPECT_FALSE(CopyFileWritable(root.Path() / "fehlt", root.Path() / "x", false));
    EXPECT_FALSE(fs::exists(root.Path() / "x"));
}

TEST(OpenRequests, QuotesTrailingArgumentsAndRelativePaths) {
    const fs::path cwd = fs::current_path();
    EXPECT_EQ(PathOfOpenRequest("\"/home/u/Mein Plan.kqf\" /p"), "/home/u/Mein Plan.kqf");
    EXPECT_EQ(PathOfOpenRequest("/home/u/a.kqf"), "/home/u/a.kqf");
    EXPECT_EQ(PathOfOpenRequest("Pläne/../a.kqf"), cwd / "a.kqf");
    EXPECT_EQ(PathOfOpenRequest(""), fs::path());
}

class OpenDocuments : public test::LayoutLoadTest {};

TEST_F(OpenDocuments, TheOpenFileIsFoundUnderAnyOfItsNames) {
    const fs::path file = Touch("Arbeit/a.kqf", "x");
    fs::create_directory_symlink(root.Path() / "Arbeit", root.Path() / "Verweis");
    CGPDoc doc;
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->Texts().documentPath = file.string();
    doc.AdoptLayout(std::move(layout));
    EXPECT_EQ(FindOpenDocument(root.Path() / "Verweis" / "a.kqf"), &doc);
    EXPECT_EQ(FindOpenDocument(root.Path() / "Arbeit" / "b.kqf"), nullptr);
}

struct RecordingCommands : LayoutViewCommands {
    std::vector<int> run;
    int zooms = 0;
    CLayoutSetting* layout = nullptr;
    void OnCommand(int id) override { run.push_back(id); }
    void OnUpdateCommand(int id, CommandState& state) override { state.enabled = id != 32867; }
    void ZoomToFit() override { Zoom(3, 7); }
    void ZoomInStep() override { Zoom(2, 1); }
    void ZoomOutStep() override { Zoom(1, 2); }
    DibBufferPtr DrawPageOffscreen(int, const ViewGeometry&) override { return nullptr; }
    void Zoom(int n, int d) {
        ++zooms;
        layout->GetViewState()->zoomNumerator = n;
        layout->GetViewState()->zoomDenominator = d;
    }
};
struct ViewWithCommands : test::RecordingLayoutView {
    LayoutViewCommands* commands = nullptr;
    LayoutViewCommands* Commands() override { return commands; }
};
struct ZoomBox : test::ScriptedToolWindows {
    std::vector<std::pair<int, int>> zooms;
    void SetZoom(int32_t n, int32_t d) override { zooms.push_back({n, d}); }
};

TEST(ForwardedCommands, GoToTheActiveViewAndZoomsReachTheZoomBox) {
    test::InstalledApplicationState app;
    CLayoutSetting layout(true);
    layout.RenewViewState();
    app.active = &layout;
    test::RecordingShell shell;
    ScopedHostService<Shell> installShell(&shell);
    ZoomBox box;
    ScopedHostService<ToolWindows> installBox(&box);

    EXPECT_FALSE(ForwardedCommandState(57634, true).enabled) << "no view";
    EXPECT_FALSE(ForwardedCommandState(kCmdZoomIn, true).enabled);
    ForwardCommand(57634);

    RecordingCommands commands;
    commands.layout = &layout;
    ViewWithCommands view;
    view.commands = &commands;
    shell.view = &view;
    EXPECT_TRUE(ForwardedCommandState(57634, true).enabled);
    EXPECT_FALSE(ForwardedCommandState(32867, true).enabled);
    EXPECT_FALSE(ForwardedCommandState(12345, true).enabled);
    EXPECT_TRUE(ForwardedCommandState(kCmdZoomToFit, true).enabled);
    EXPECT_FALSE(ForwardedCommandState(kCmdZoomToFit, false).enabled);
    ForwardCommand(57634);
    ForwardCommand(32850);
    ForwardCommand(12345);
    EXPECT_EQ(commands.run, (std::vector<int>{57634, 32850}));
    ForwardCommand(kCmdZoomIn);
    ForwardCommand(kCmdZoomToFit);
    EXPECT_EQ(box.zooms, (std::vector<std::pair<int, int>>{{2, 1}, {3, 7}}));
}

}  // namespace
}  // namespace vx
