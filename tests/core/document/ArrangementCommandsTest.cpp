#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "SettingCommandsFixture.h"
#include "model/CLineObj.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::CommandFixture;
using Dialog = SettingsDialogs::Dialog;

/// The state of a command of either class.
CommandState StateOf(int command, const CLayoutSetting* layout, const AppPreferences& preferences,
                     const BoundDialogs& dialogs) {
    if (ArrangementCommands::Handles(command))
        return ArrangementCommands::State(command, layout, preferences, dialogs);
    EXPECT_TRUE(ObjectSettingCommands::Handles(command)) << command;
    return ObjectSettingCommands::State(command, layout, preferences, dialogs);
}

TEST(SettingCommandStates, FollowTheLayoutThePreferencesAndTheBoundDialogs) {
    struct Case {
        const char* what;
        std::function<void(CommandFixture&, AppPreferences&, BoundDialogs&)> setup;
        std::vector<int> commands;
        bool enabled;
        bool checked;
        int text = 0;  // string id, 0 none
    };
    const auto freeLayout = [](CommandFixture& f) { f.layout->SetFree(1); };
    const auto none = [](CommandFixture&, AppPreferences&, BoundDialogs&) {};
    const auto image = [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.AddImage(true); };
    const auto stacking = std::vector<int>{32915, 32916, 32917, 32918};
    const auto sorting = std::vector<int>{32903, 32904, 32905, 32906, 32907, 32908, 32910, 32911, 32921};
    const auto needImage = std::vector<int>{33101, 33600, 33002, 33103, 33100, 33104, 33601};
    const std::vector<Case> cases = {
        // Layout mode.
        {"automatic layout", image, {32900}, true, true},
        {"free layout with an image",
         [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.AddImage(false), freeLayout(f); },
         {32900}, false, false},
        {"free layout with only a free text",
         [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.Add<CTextObj>(false), freeLayout(f); },
         {32900}, true, false},
        {"free layout ticks Free", [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { freeLayout(f); },
         {32901}, true, true},
        {"automatic layout leaves Free unticked", image, {32901}, true, false},
        // Grid.
        {"grid in automatic layout", none, {33303}, false, false, IDS_SHOW_GRID},
        {"snapping in automatic layout", none, {33304}, false, false},
        {"not snapping in automatic layout", none, {33909}, false, true},
        {"grid hidden", [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { freeLayout(f); }, {33303}, true,
         false, IDS_SHOW_GRID},
        {"grid shown",
         [&](CommandFixture& f, AppPreferences& p, BoundDialogs&) { freeLayout(f), p.gridShown = 1; }, {33303},
         true, false, IDS_HIDE_GRID},
        {"snapping", [&](CommandFixture& f, AppPreferences& p, BoundDialogs&) { freeLayout(f), p.snapToGrid = 1; },
         {33304}, true, true},
        {"snapping: Vom Raster lösen unticked",
         [&](CommandFixture& f, AppPreferences& p, BoundDialogs&) { freeLayout(f), p.snapToGrid = 1; }, {33909},
         true, false},
        {"not snapping", [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { freeLayout(f); }, {33909}, true,
         true},
        // Sorting.
        {"sort in automatic layout with an image", image, sorting, true, false},
        {"sort without images",
         [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.Add<CTextObj>(true); }, sorting, false, false},
        {"sort in free layout",
         [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.AddImage(true), freeLayout(f); }, sorting,
         false, false},
        // Stacking.
        {"free layout, one image selected",
         [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.AddImage(true), f.AddImage(false), freeLayout(f); },
         stacking, true, false},
        {"free layout, one text selected",
         [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.Add<CTextObj>(true), f.AddImage(false), freeLayout(f); },
         stacking, true, false},
        {"automatic layout, an image selected", image, stacking, false, false},
        {"automatic layout, one text and no image selected",
         [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.Add<CTextObj>(true), f.AddImage(false); },
         stacking, true, false},
        {"automatic layout, a text and an image selected",
         [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.Add<CTextObj>(true), f.AddImage(true); },
         stacking, false, false},
        {"free layout, two items selected",
         [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.Add<CLineObj>(true), f.AddImage(true), freeLayout(f); },
         stacking, false, false},
        {"nothing selected", [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.AddImage(false); }, stacking,
         false, false},
        // Commands of the selected images.
        {"a selected image", image, needImage, true, false},
        {"no selected image",
         [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.AddImage(false), f.Add<CTextObj>(true); },
         needImage, false, false},
        {"presets and layout dialogs", none, {33008, 33000, 33007, 33009, 32914, 32926, 32902}, true, false},
        {"alignment in free layout", [&](CommandFixture& f, AppPreferences&, BoundDialogs&) { freeLayout(f); },
         {32902}, false, false},
        // Background colour.
        {"black", [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.layout->SetPaperColor(0); }, {32924},
         true, true},
        {"black: not white, not other",
         [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.layout->SetPaperColor(0); }, {32923, 32925}, true,
         false},
        {"white", none, {32923}, true, true},
        {"white: not black, not other", none, {32924, 32925}, true, false},
        {"other", [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.layout->SetPaperColor(0x123456); },
         {32925}, true, true},
        {"other: not black, not white",
         [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.layout->SetPaperColor(0x123456); },
         {32924, 32923}, true, false},
        // Margin displays.
        {"print margins hidden", none, {33309}, true, false, IDS_SHOW_PRINT_MARGINS},
        {"print margins shown", [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.layout->SetMarginShow(1); },
         {33309}, true, false, IDS_HIDE_PRINT_MARGINS},
        {"page margins hidden", none, {33310}, true, false, IDS_SHOW_PAGE_MARGINS},
        {"page margins shown",
         [](CommandFixture& f, AppPreferences&, BoundDialogs&) { f.layout->SetLayoutMarginShow(1); }, {33310}, true,
         false, IDS_HIDE_PAGE_MARGINS},
        // Unbound dialogs.
        {"no dialog bound",
         [](CommandFixture& f, AppPreferences&, BoundDialogs& b) {
             f.AddImage(true);
             b = BoundDialogs();
         },
         {33101, 33600, 32914, 32926, 32902, 33103, 33100, 33104, 33008, 33000, 33007, 33009}, false, false},
        {"no dialog bound: the rest stay", [](CommandFixture& f, AppPreferences&, BoundDialogs& b) {
             f.AddImage(true);
             b = BoundDialogs();
         },
         {32901, 33002, 32924, 33601}, true, false},
    };
    for (const Case& c : cases) {
        CommandFixture f;
        AppPreferences preferences;
        BoundDialogs bound = BoundDialogs::All();
        c.setup(f, preferences, bound);
        for (int command : c.commands) {
            SCOPED_TRACE(std::string(c.what) + ", command " + std::to_string(command));
            const CommandState state = StateOf(command, f.layout, preferences, bound);
            EXPECT_EQ(state.enabled, c.enabled);
            EXPECT_EQ(state.checked, c.checked);
            EXPECT_EQ(state.text, c.text ? LoadString(c.text) : std::string());
        }
    }
}

TEST(SettingCommandStates, WithoutADocumentOnlyThePresetSizeIsEnabled) {
    const AppPreferences preferences;
    for (int command : {32900, 32901, 33303, 32903, 32915, 33101, 33601, 33002, 32924, 33309, 32926, 33008, 33009})
        EXPECT_FALSE(StateOf(command, nullptr, preferences, BoundDialogs::All()).enabled) << command;
    EXPECT_TRUE(StateOf(33000, nullptr, preferences, BoundDialogs::All()).enabled);
    EXPECT_FALSE(StateOf(33000, nullptr, preferences, BoundDialogs()).enabled);
}

TEST(SettingCommandStates, BoundDialogsAreAskedOfTheService) {
    test::RecordingSettingsDialogs dialogs;
    dialogs.bound = BoundDialogs().Set(Dialog::Crop, true).Set(Dialog::Margins, true);
    const BoundDialogs bound = BoundDialogs::Of(&dialogs);
    EXPECT_TRUE(bound.Has(Dialog::Crop));
    EXPECT_TRUE(bound.Has(Dialog::Margins));
    EXPECT_FALSE(bound.Has(Dialog::Tint));
    EXPECT_FALSE(BoundDialogs::Of(nullptr).Has(Dialog::Crop));
}

TEST(LayoutModeCommands, TheModeInForceTakesNoUndoEntry) {
    CommandFixture f;
    f.AddImage(false);
    const uint64_t pushes = f.undo.PushCount();
    f.arrangement.OnCommand(kCmdAutomaticLayout);
    EXPECT_EQ(f.undo.PushCount(), pushes);
    EXPECT_FALSE(f.undo.CanUndo());
    EXPECT_EQ(f.host.pane.templateTexts, std::vector<const CLayoutSetting*>{f.layout});
    EXPECT_TRUE(f.host.pane.marks.empty());
    EXPECT_EQ(f.layout->GetFree(), 0);
}

TEST(LayoutModeCommands, SwitchingEachWayIsOneUndoableEdit) {
    CommandFixture f;
    f.Add<CTextObj>(false);
    f.Add<CTextObj>(true);
    f.layout->SetDirty(0);

    f.arrangement.OnCommand(kCmdFreeLayout);
    EXPECT_EQ(f.layout->GetFree(), 1);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 17);
    ASSERT_TRUE(f.undo.CanUndo());
    EXPECT_EQ(f.undo.GetUndoLayout()->GetFree(), 0) << "the entry holds the layout before the switch";
    EXPECT_EQ(f.layout->GetDirty(), 1);
    EXPECT_EQ(f.host.pane.marks, std::vector<TemplateChangeMark>{TemplateChangeMark::LayoutMode});
    EXPECT_EQ(f.host.pane.templateTexts.size(), 1u);

    // Back with only free texts on the page.
    f.arrangement.OnCommand(kCmdAutomaticLayout);
    EXPECT_EQ(f.layout->GetFree(), 0);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 17);
    EXPECT_EQ(f.undo.GetUndoLayout()->GetFree(), 1);
    EXPECT_EQ(f.host.pane.marks.size(), 2u);
    EXPECT_EQ(f.host.pane.templateTexts.size(), 2u);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(LayoutModeCommands, ARefusedSwitchPutsTheLayoutAndTheUndoEntryBack) {
    CommandFixture f;
    f.layout->SetFree(1);
    f.layout->SetPageMax(1);
    // Four images of almost half a page each, placed freely on page 1: flowed into
    // rows they need two pages. (The menu keeps a free layout with images from
    // switching; the switch itself must still refuse what does not fit.)
    for (int i = 0; i < 4; ++i) f.Add<CImageObj>(false, 2000, 1900)->SetPosition(100, 100);
    f.undo.PushUndo(*f.layout, 22);

    f.arrangement.SetLayoutMode(1);
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{15168});
    EXPECT_EQ(f.layout->GetFree(), 1);
    EXPECT_TRUE(f.host.pane.marks.empty());
    EXPECT_EQ(f.undo.GetLastUndoCode(), 5) << "the user's entry is given back";
    ASSERT_TRUE(f.undo.CanUndo());
    EXPECT_EQ(f.host.pane.templateTexts.size(), 1u);
}

TEST(GridCommands, ToggleTheSharedFlagsAndRedraw) {
    CommandFixture f;
    f.layout->SetFree(1);
    f.arrangement.OnCommand(kCmdShowGrid);
    EXPECT_EQ(f.app.preferences.gridShown, 1);
    EXPECT_EQ(f.host.view.invalidations, 1);
    const CommandState shown = ArrangementCommands::State(kCmdShowGrid, f.layout, f.app.preferences, BoundDialogs());
    EXPECT_EQ(shown.text, "Raster ausblenden\tCtrl+G");
    f.arrangement.OnCommand(kCmdShowGrid);
    EXPECT_EQ(f.app.preferences.gridShown, 0);

    f.arrangement.OnCommand(kCmdSnapToGrid);
    EXPECT_EQ(f.app.preferences.snapToGrid, 1);
    f.arrangement.OnCommand(kCmdUnsnapGrid);
    EXPECT_EQ(f.app.preferences.snapToGrid, 0);
    EXPECT_FALSE(f.undo.CanUndo());
}

TEST(CropCommand, TellsTheDialogWhetherTheSelectionIsOnePicture) {
    struct Case {
        const char* what;
        bool samePath;
        int16_t secondRotate;
        bool sameImage;
    };
    const Case cases[] = {
        {"one file, one rotation", true, 0, true},
        {"another rotation", true, 1, false},
        {"another file", false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CommandFixture f;
        const fs::path a = f.File("a.jpg");
        f.AddImage(true, a);
        f.AddImage(false, f.File("unselected.jpg"));
        f.AddImage(true, c.samePath ? a : f.File("b.jpg"))->SetRotate(c.secondRotate);
        f.arrangement.OnCommand(kCmdCrop);
        ASSERT_EQ(f.dialogs.runs.size(), 1u);
        EXPECT_EQ(f.dialogs.runs[0].dialog, Dialog::Crop);
        EXPECT_EQ(f.dialogs.runs[0].layout, f.layout);
        EXPECT_EQ(f.dialogs.runs[0].flag, c.sameImage);
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(CropAndTintCommands, AMissingFileStopsThemWithOneMessage) {
    for (int command : {kCmdCrop, kCmdTint}) {
        SCOPED_TRACE(command);
        CommandFixture f;
        f.AddImage(true, f.root.Path() / "gone.jpg");
        f.arrangement.OnCommand(command);
        EXPECT_EQ(f.messages.Ids(), std::vector<int>{10417});
        EXPECT_EQ(f.messages.shown[0].icon, Icon::Error);
        EXPECT_TRUE(f.dialogs.runs.empty());
    }
}

TEST(CropAndTintCommands, TheReferenceIsTheCurrentSelectedImageElseTheFirstSelected) {
    CommandFixture f;
    f.AddImage(false, f.root.Path() / "unselected-gone.jpg");
    CImageObj* first = f.AddImage(true, f.File("first.jpg"));
    CImageObj* second = f.AddImage(true, f.root.Path() / "second-gone.jpg");

    f.layout->SetCurrentItem(nullptr);
    EXPECT_EQ(ReferenceImage(*f.layout), first);
    f.arrangement.OnCommand(kCmdTint);
    EXPECT_TRUE(f.messages.shown.empty());
    ASSERT_EQ(f.dialogs.runs.size(), 1u);
    EXPECT_EQ(f.dialogs.runs[0].dialog, Dialog::Tint);

    f.layout->SetCurrentItem(second);
    f.arrangement.OnCommand(kCmdCrop);
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{10417});
    EXPECT_EQ(f.dialogs.runs.size(), 1u);

    // An unselected current item is not the reference.
    second->SetSelected(0);
    f.layout->SetCurrentItem(f.layout->GetFirstItem());
    EXPECT_EQ(ReferenceImage(*f.layout), first);
}

TEST(CutLineCommand, RunsTheDialogOnTheLayout) {
    CommandFixture f;
    f.arrangement.OnCommand(kCmdCutLines);
    ASSERT_EQ(f.dialogs.runs.size(), 1u);
    EXPECT_EQ(f.dialogs.runs[0].dialog, Dialog::CutLines);
    EXPECT_EQ(f.dialogs.runs[0].layout, f.layout);
}

TEST(StackingCommands, MoveTheOneSelectedItemAsAnUndoableEdit) {
    CommandFixture f;
    f.layout->SetFree(1);
    CTextObj* text = f.Add<CTextObj>(true);
    text->SetPosition(200, 200);
    CImageObj* image = f.AddImage(false);
    image->SetPosition(200, 200);
    f.arrangement.OnCommand(kCmdStackToFront);
    EXPECT_EQ(f.layout->GetFirstItem(), image);
    EXPECT_EQ(f.layout->GetFirstItem()->NextItem(), text);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 14);
    f.arrangement.OnCommand(kCmdStackToBack);
    EXPECT_EQ(f.layout->GetFirstItem(), text);
}

TEST(SortCommands, SortTheImagesAndLeaveAnEmptyLayoutAlone) {
    CommandFixture f;
    f.arrangement.OnCommand(kCmdSortReverse);
    EXPECT_EQ(f.undo.PushCount(), 0u) << "an empty layout does nothing";

    CImageObj* a = f.AddImage(false, "/bilder/a.jpg");
    CImageObj* b = f.AddImage(false, "/bilder/b.jpg");
    f.arrangement.OnCommand(kCmdSortReverse);
    EXPECT_EQ(f.layout->GetFirstItem(), b);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 13);
    f.arrangement.OnCommand(kCmdSortFileName);
    EXPECT_EQ(f.layout->GetFirstItem(), a);
}

TEST(ColorMatchedViewCommand, DiscardsTheUndoEntry) {
    CommandFixture f;
    f.AddImage(true, f.root.Path() / "gone.jpg");
    f.undo.PushUndo(*f.layout, 22);
    f.arrangement.OnCommand(kCmdColorMatchedView);
    EXPECT_FALSE(f.undo.CanUndo());
}

}  // namespace
}  // namespace vx
