#include <gtest/gtest.h>

#include "app/StartupBindings.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "printing/PrinterSetupServices.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"

namespace vx::test {
namespace {

struct RecordingOutputDialog : SettingsDialogs {
    std::vector<CLayoutSetting*> runs;
    bool answer = true;
    bool Has(Dialog d) override { return d == Dialog::OutputColor; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<std::filesystem::path> ChooseTemplate() override { return std::nullopt; }
    bool RunOutputColor(CLayoutSetting& layout) override {
        runs.push_back(&layout);
        return answer;
    }
};

// Without a document the dialog edits the application's defaults; either way the pane
// re-reads its profile afterwards.
TEST(OutputColorOpener, WithoutADocumentTheDefaultLayoutIsEdited) {
    RecordingApplicationState app;
    RecordingPrintSettingsPane pane;
    RecordingShell shell;
    shell.pane = &pane;
    RecordingOutputDialog dialogs;
    StartupBindings bindings({&app, &shell});
    PrinterSetupServices* services = HostService<PrinterSetupServices>();
    ASSERT_NE(services, nullptr);
    EXPECT_FALSE(services->RunOutputColorDialog());  // no dialogs yet
    InstallHostService<SettingsDialogs>(&dialogs);
    for (bool answer : {true, false}) {
        dialogs.answer = answer;
        EXPECT_EQ(services->RunOutputColorDialog(), answer);
    }
    InstallHostService<SettingsDialogs>(nullptr);
    EXPECT_EQ(dialogs.runs, (std::vector<CLayoutSetting*>{&app.defaults, &app.defaults}));
    EXPECT_EQ(pane.profileUpdates, 2);
}

}  // namespace
}  // namespace vx::test
