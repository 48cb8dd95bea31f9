#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../colourmanagement/CatalogueFolders.h"
#include "SettingCommandsFixture.h"
#include "document/OutputCommands.h"
#include "model/CImageTransformOp.h"
#include "model/CLineObj.h"
#include "platform/system/StringTable.h"
#include "printing/PrinterSetupServices.h"
#include "view/RulerCommand.h"

namespace vx {
namespace {

using test::CommandFixture;
using Dialog = SettingsDialogs::Dialog;

/// The shell of the fixture that also records the pane being hidden and shown.
struct PaneShell : test::RecordingShell {
    std::vector<bool> paneShown;
    void ShowPrintSettingsPane(bool shown) override { paneShown.push_back(shown); }
};

/// The image colour and stamp runs recorded, answering `answer`.
struct ColourDialogs : test::RecordingSettingsDialogs {
    std::vector<Dialog> opened;
    bool RunImageColor(CLayoutSetting& layout) override { return Record(Dialog::ImageColor, layout, false); }
    bool RunImageStamp(CLayoutSetting& layout) override { return Record(Dialog::ImageStamp, layout, false); }
};

struct OutputSetup : PrinterSetupServices {
    bool answer = true;
    int runs = 0;
    bool RunOutputColorDialog() override {
        ++runs;
        return answer;
    }
    int QueryPrinterPaperCaps(int32_t, int32_t, bool, int32_t, LayoutPoint) override { return 0; }
};

struct OutputFixture : CommandFixture {
    PaneShell shell;
    ScopedHostService<Shell> installShell{&shell};
    ColourDialogs colourDialogs;
    ScopedHostService<SettingsDialogs> installColourDialogs{&colourDialogs};
    OutputSetup setup;
    ScopedHostService<PrinterSetupServices> installSetup{&setup};
    OutputCommands commands{doc};

    OutputFixture() {
        shell.view = &host.view;
        shell.pane = &host.pane;
    }
    CommandState State(int command, const BoundDialogs& dialogs = BoundDialogs::All()) {
        return OutputCommands::State(command, layout, doc.LayoutPanelShown(), dialogs);
    }
    /// A selected or unselected image sized by dimensions (1) or ratio (2).
    CImageObj* Image(bool selected, int16_t sizeMethod, int32_t frameRotation, int32_t lastModified = 0) {
        CImageObj* image = AddImage(selected);
        image->SetSizeMethod(sizeMethod);
        image->SetFrameRotation(frameRotation);
        image->SetLastModified(lastModified);
        return image;
    }
};

const std::vector<int> kSelectionCommands = {33200, 33201, 33202, 33209, 33210, 33207, 33211};

TEST(OutputCommandStates, FollowTheSelectionTheDocumentAndTheBoundDialogs) {
    {
        SCOPED_TRACE("no document");
        for (int command : kSelectionCommands)
            EXPECT_FALSE(OutputCommands::State(command, nullptr, true, BoundDialogs::All()).enabled) << command;
        for (int command : {32808, 32922, 33312, 32807, 33212, 33908})
            EXPECT_FALSE(OutputCommands::State(command, nullptr, true, BoundDialogs::All()).enabled) << command;
    }
    OutputFixture f;
    f.AddImage(false);
    {
        SCOPED_TRACE("nothing selected");
        for (int command : kSelectionCommands) EXPECT_FALSE(f.State(command).enabled) << command;
        for (int command : {32808, 32922, 33312, 32807}) EXPECT_TRUE(f.State(command).enabled) << command;
    }
    f.AddImage(true);
    {
        SCOPED_TRACE("an image selected");
        for (int command : kSelectionCommands) EXPECT_TRUE(f.State(command).enabled) << command;
    }
    {
        SCOPED_TRACE("dialogs not bound");
        BoundDialogs none;
        EXPECT_FALSE(f.State(32808, none).enabled);
        EXPECT_FALSE(f.State(33211, none).enabled);
        EXPECT_FALSE(f.State(32922, none).enabled);
        EXPECT_TRUE(f.State(33201, none).enabled);
    }
    EXPECT_FALSE(f.State(4711).enabled);
}

TEST(OutputCommandStates, PaneAndRulerTextsFollowTheirFlags) {
    OutputFixture f;
    EXPECT_TRUE(f.doc.LayoutPanelShown()) << "a new document shows its pane";
    EXPECT_EQ(f.State(33312).text, "Layoutmenü ausblenden");
    f.commands.OnCommand(33312);
    EXPECT_FALSE(f.doc.LayoutPanelShown());
    EXPECT_EQ(f.State(33312).text, "Layoutmenü anzeigen");
    f.commands.OnCommand(33312);
    EXPECT_EQ(f.State(33312).text, "Layoutmenü ausblenden");
    EXPECT_EQ(f.shell.paneShown, (std::vector<bool>{false, true}));
    EXPECT_EQ(f.host.pane.invalidations, 2);

    EXPECT_TRUE(OutputCommands::HandlesState(33311));
    EXPECT_FALSE(OutputCommands::Handles(33311)) << "the rulers' command stays the view's";
    f.app.preferences.ruler = 0;
    EXPECT_EQ(f.State(33311).text, "Lineal anzeigen\tCtrl+R");
    EXPECT_TRUE(f.State(33311).enabled);
    f.app.preferences.ruler = 1;
    EXPECT_EQ(f.State(33311).text, "Lineal ausblenden\tCtrl+R");
}

TEST(OutputCommandStates, RotationModeFollowsTheReferenceImage) {
    struct Case {
        const char* what;
        std::function<void(OutputFixture&)> setup;
        bool enabled;
        bool withFrameTicked;
        bool inFrameTicked;
    };
    const std::vector<Case> cases = {
        {"nothing selected", [](OutputFixture& f) { f.Image(false, 1, 1); }, false, false, false},
        {"one image turning with its frame", [](OutputFixture& f) { f.Image(false, 1, 0), f.Image(true, 1, 1); }, true,
         true, false},
        {"one image turning inside its frame", [](OutputFixture& f) { f.Image(true, 1, 0); }, true, false, true},
        {"two: the last modified one counts",
         [](OutputFixture& f) { f.Image(true, 1, 0), f.Image(true, 1, 1, 1); }, true, true, false},
        {"two, none marked: the first selected counts",
         [](OutputFixture& f) { f.Image(false, 1, 1), f.Image(true, 1, 0), f.Image(true, 1, 1); }, true, false,
         true},
        {"sized by ratio", [](OutputFixture& f) { f.Image(true, 2, 1); }, false, false, false},
        {"two, the reference sized by ratio",
         [](OutputFixture& f) { f.Image(true, 2, 0), f.Image(true, 1, 1); }, false, false, false},
        {"only a free line selected", [](OutputFixture& f) { f.Add<CLineObj>(true); }, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OutputFixture f;
        c.setup(f);
        const CommandState withFrame = f.State(33212), inFrame = f.State(33908);
        EXPECT_EQ(withFrame.enabled, c.enabled);
        EXPECT_EQ(inFrame.enabled, c.enabled);
        EXPECT_EQ(withFrame.checked, c.withFrameTicked);
        EXPECT_EQ(inFrame.checked, c.inFrameTicked);
    }
}

TEST(OutputCommands, RotationModeWritesEverySelectedImageAsOneUndoStepWithoutLayingOut) {
    for (const int command : {33908, 33212}) {
        SCOPED_TRACE(command);
        OutputFixture f;
        const int32_t mode = command == 33212 ? 1 : 0;
        CImageObj* a = f.Image(true, 1, 1 - mode);
        CImageObj* b = f.Image(false, 1, 1 - mode);
        CImageObj* c = f.Image(true, 2, 1 - mode);
        for (CImageObj* image : {a, b, c}) image->SetPosition(500, 600);
        f.commands.OnCommand(command);
        EXPECT_EQ(a->GetFrameRotation(), mode);
        EXPECT_EQ(b->GetFrameRotation(), 1 - mode) << "not selected";
        EXPECT_EQ(c->GetFrameRotation(), mode);
        ASSERT_TRUE(f.undo.CanUndo());
        EXPECT_EQ(f.undo.GetLastUndoCode(), 159);
        ASSERT_NE(f.undo.GetUndoLayout(), nullptr);
        const CLayoutObj* before = f.undo.GetUndoLayout()->GetFirstItem();
        ASSERT_NE(before, nullptr);
        EXPECT_EQ(static_cast<const CImageObj*>(before)->GetFrameRotation(), 1 - mode) << "undo holds the old mode";
        for (CImageObj* image : {a, b, c}) EXPECT_EQ(image->GetPosition().x, 500) << "nothing laid out";
        EXPECT_TRUE(f.host.pane.hints.empty());
        EXPECT_EQ(f.host.view.invalidations, 0);
    }
}

TEST(OutputCommands, MonochromeLayoutsPrintThroughTheDefaultRgbProfile) {
    test::CatalogueFolders colour{1};
    colour.AddDefaults();
    for (const int16_t mode : {1, 256, 2}) {
        SCOPED_TRACE(mode);
        OutputFixture f;
        f.layout->SetColor(mode);
        f.layout->SetColorMatchPrinter(0);
        f.layout->Texts().printerProfile = "Proof Matt";
        ApplyMonochromeCheck(*f.layout);
        const bool mono = mode != 2;
        EXPECT_EQ(f.layout->GetColorMatchPrinter(), mono ? 1 : 0);
        EXPECT_EQ(f.layout->Texts().printerProfile, mono ? test::kSrgbDescription : "Proof Matt");
        EXPECT_EQ(f.host.pane.firstProfileSelections, mono ? 1 : 0);
        EXPECT_FALSE(f.layout->GetDirty()) << "a print setting, not an edit";
    }
}

TEST(OutputCommands, OutputColourRenewsViewAndProfileListOnlyOnOk) {
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        OutputFixture f;
        f.setup.answer = ok;
        f.commands.OnCommand(32808);
        EXPECT_EQ(f.setup.runs, 1);
        EXPECT_EQ(f.host.pane.profileUpdates, ok ? 1 : 0);
        EXPECT_EQ(f.host.view.invalidations, ok ? 1 : 0);
    }
}

TEST(OutputCommands, DialogCommandsOpenTheBoundRunsOnTheLayout) {
    OutputFixture f;
    f.AddImage(true);
    f.commands.OnCommand(33211);
    f.commands.OnCommand(32922);
    ASSERT_EQ(f.colourDialogs.runs.size(), 2u);
    EXPECT_EQ(f.colourDialogs.runs[0].dialog, Dialog::ImageColor);
    EXPECT_EQ(f.colourDialogs.runs[1].dialog, Dialog::ImageStamp);
    for (const auto& run : f.colourDialogs.runs) EXPECT_EQ(run.layout, f.layout);

    f.commands.OnCommand(32807);
    EXPECT_EQ(f.host.pane.morePrintSettings, 1);
}

TEST(OutputCommands, NothingRunsWithoutALayout) {
    OutputFixture f;
    f.doc.DeleteLayout();
    for (int command : {32808, 33211, 32922, 33201, 33212, 33312, 32807}) f.commands.OnCommand(command);
    EXPECT_EQ(f.setup.runs, 0);
    EXPECT_TRUE(f.colourDialogs.runs.empty());
    EXPECT_TRUE(f.shell.paneShown.empty());
    EXPECT_TRUE(f.doc.LayoutPanelShown());
    EXPECT_EQ(f.host.pane.morePrintSettings, 0);
    EXPECT_FALSE(f.undo.CanUndo());
}

}  // namespace
}  // namespace vx
