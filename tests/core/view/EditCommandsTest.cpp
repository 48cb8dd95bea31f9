#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "ViewCoreFixture.h"
#include "host/DocumentServices.h"
#include "model/CCutLineObj.h"
#include "model/CLineObj.h"
#include "model/ClipboardCommands.h"
#include "model/ItemClipboard.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"
#include "model/Relayout.h"
#include "platform/system/StringTable.h"
#include "view/EditCommands.h"

namespace {
// Set to make the next allocations of the nothrow new fail (the undo store's entry).
bool gFailNothrowNew = false;
}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (gFailNothrowNew) return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace vx {
namespace {

using test::TestLayout;

/// Tool windows that record the image information and preview calls.
struct EditTools : NoToolWindows {
    std::vector<const CLayoutObj*> infoShown;  // one per item shown (group 1 only)
    int infoResets = 0;
    std::vector<uint32_t> previewRemoved;
    int previewShown = 0;   // ShowToolWindowsFromSettings with the preview flag
    int previewUpdates = 0;
    bool IsImageInfoShown() override { return true; }
    void ShowImageInfo(const CLayoutObj& item, int group) override {
        if (group == 1) infoShown.push_back(&item);
    }
    void ResetImageInfoRows() override { ++infoResets; }
    void OnPreviewObjectRemoved(uint32_t id) override { previewRemoved.push_back(id); }
    void ShowToolWindowsFromSettings(const AppPreferences& p) override {
        if (p.imagePreviewWindow) ++previewShown;
    }
    void UpdateImage() override { ++previewUpdates; }
};

/// The duplicate-several-times dialog, bound or not, recording its runs.
struct EditDialogs : SettingsDialogs {
    bool bound = true;
    int runs = 0;
    bool Has(Dialog d) override { return bound && d == Dialog::DuplicateSeveralTimes; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<std::filesystem::path> ChooseTemplate() override { return std::nullopt; }
    bool RunDuplicateSeveralTimes(CLayoutSetting&) override {
        ++runs;
        return true;
    }
};

/// A text whose end is counted, to see when the clipboard frees a deleted item.
struct CountedText : CTextObj {
    static inline int freed = 0;
    CountedText() : CTextObj(true) {}
    ~CountedText() override { ++freed; }
};

/// The view fixture (free layout, three pages of 1200 x 1000 units, margins 100) with
/// recording tool windows and dialogs and an empty clipboard.
struct EditCommandsTest : test::ViewCoreTest {
    EditTools editTools;
    ScopedHostService<ToolWindows> installEditTools{&editTools};
    EditDialogs dialogs;
    ScopedHostService<SettingsDialogs> installDialogs{&dialogs};

    void SetUp() override {
        ViewCoreTest::SetUp();
        ItemClipboard::Instance().Clear();
    }
    void TearDown() override { ItemClipboard::Instance().Clear(); }

    EditCommands& Edit() { return core.Edit(); }
    CImageObj* Image(int32_t x, int32_t y, bool selected = false) {
        CImageObj* p = t.Add(300, 200, x, y);
        p->SetSelected(selected);
        return p;
    }
    template <class T>
    T* Other(int32_t x, int32_t y, bool selected = false) {
        T* p = t.Add<T>(200, 100, x, y);
        p->SetSelected(selected);
        return p;
    }
    int Count() const { return CountObjects(t.layout.ItemListHead()); }
};

// --- update rules -------------------------------------------------------------------

struct RuleCase {
    const char* what;
    int id;
    bool enabled;
    std::function<void(EditCommandsTest&)> build;
};
void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.what; }

struct UpdateRules : EditCommandsTest, testing::WithParamInterface<RuleCase> {};

TEST_P(UpdateRules, EnableByLayoutUndoAndClipboard) {
    GetParam().build(*this);
    EXPECT_EQ(State(GetParam().id).enabled, GetParam().enabled);
}

using F = EditCommandsTest;
void SelectedText(F& f) { f.Other<CTextObj>(200, 200, true); }
void UnselectedImage(F& f) { f.Image(200, 200); }
void UndoEntry(F& f) { f.undo.PushUndo(f.t.layout, 3); }

INSTANTIATE_TEST_SUITE_P(
    Edit, UpdateRules,
    testing::Values(
        RuleCase{"undo without an entry", kCmdEditUndo, false, UnselectedImage},
        RuleCase{"undo with an entry", kCmdEditUndo, true, UndoEntry},
        RuleCase{"forwarded undo with an entry", kCmdEditUndoForwarded, true, UndoEntry},
        RuleCase{"cut with a selection", kCmdEditCut, true, SelectedText},
        RuleCase{"cut without", kCmdEditCut, false, UnselectedImage},
        RuleCase{"copy with a selection", kCmdEditCopy, true, SelectedText},
        RuleCase{"copy without", kCmdEditCopy, false, UnselectedImage},
        RuleCase{"duplicate with a selection", kCmdEditDuplicate, true, SelectedText},
        RuleCase{"duplicate without", kCmdEditDuplicate, false, UnselectedImage},
        RuleCase{"duplicate several with a selection", kCmdEditDuplicateSeveral, true, SelectedText},
        RuleCase{"duplicate several without", kCmdEditDuplicateSeveral, false, UnselectedImage},
        RuleCase{"duplicate several, dialog not bound", kCmdEditDuplicateSeveral, false,
                 [](F& f) {
                     SelectedText(f);
                     f.dialogs.bound = false;
                 }},
        RuleCase{"clear with a selection", kCmdEditClear, true, SelectedText},
        RuleCase{"clear without", kCmdEditClear, false, UnselectedImage},
        RuleCase{"paste, empty clipboard", kCmdEditPaste, false, SelectedText},
        RuleCase{"paste, full clipboard", kCmdEditPaste, true,
                 [](F& f) {
                     SelectedText(f);
                     CopyObjects(f.t.layout);
                 }},
        RuleCase{"all with items", kCmdSelectAll, true, [](F& f) { f.Other<CCutLineObj>(200, 200); }},
        RuleCase{"all without", kCmdSelectAll, false, [](F&) {}},
        RuleCase{"invert with items", kCmdSelectInvert, true, [](F& f) { f.Other<CLineObj>(200, 200); }},
        RuleCase{"invert without", kCmdSelectInvert, false, [](F&) {}},
        RuleCase{"images with an image", kCmdSelectAllImages, true, UnselectedImage},
        RuleCase{"images without", kCmdSelectAllImages, false, SelectedText},
        RuleCase{"on page, an image on the current page", kCmdSelectAllOnPage, true, UnselectedImage},
        RuleCase{"on page, an image on another page", kCmdSelectAllOnPage, false,
                 [](F& f) { f.Image(200, 2200); }},
        RuleCase{"in folder with a selected image", kCmdSelectAllInFolder, true, [](F& f) { f.Image(200, 200, true); }},
        RuleCase{"in folder, only a text selected", kCmdSelectAllInFolder, false, SelectedText},
        RuleCase{"free texts with a text", kCmdSelectAllFreeTexts, true, [](F& f) { f.Other<CTextObj>(200, 200); }},
        RuleCase{"free texts without", kCmdSelectAllFreeTexts, false, UnselectedImage},
        RuleCase{"free lines with a line", kCmdSelectAllFreeLines, true, [](F& f) { f.Other<CLineObj>(200, 200); }},
        RuleCase{"free lines without", kCmdSelectAllFreeLines, false, SelectedText},
        RuleCase{"none with a selection", kCmdSelectNone, true, SelectedText},
        RuleCase{"none without", kCmdSelectNone, false, UnselectedImage}));

// --- selection commands ---------------------------------------------------------------

TEST_F(EditCommandsTest, SelectionCommandsRefreshTheInformationWindowByMode) {
    app.preferences.imageInfoWindow = 1;
    CImageObj* first = Image(200, 200);
    CImageObj* second = Image(600, 200);
    Other<CTextObj>(200, 600);
    Other<CLineObj>(600, 600);

    struct Step {
        int id;
        int shown;   // items shown afterwards
        int resets;  // clears afterwards
        const CLayoutObj* last;
    };
    const std::vector<Step> steps = {
        {kCmdSelectAllFreeTexts, 0, 0, nullptr},  // leaves it
        {kCmdSelectAllFreeLines, 0, 0, nullptr},  // leaves it
        {kCmdSelectAll, 0, 1, nullptr},            // two images: cleared
        {kCmdSelectNone, 0, 2, nullptr},
        {kCmdSelectAllImages, 1, 2, second},       // the current item: the last image
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.id);
        core.OnCommand(s.id);
        EXPECT_EQ(int(editTools.infoShown.size()), s.shown);
        EXPECT_EQ(editTools.infoResets, s.resets);
        if (s.last) EXPECT_EQ(editTools.infoShown.back(), s.last);
    }
    // Select all with one image shows it.
    core.OnCommand(kCmdSelectNone);
    t.layout.GetFirstItem()->SetNext(first->NextItem()->NextItem());  // drops the second image
    std::unique_ptr<CLayoutObj> dropped(second);
    second->SetNext(nullptr);
    core.OnCommand(kCmdSelectAll);
    ASSERT_EQ(t.layout.GetSelected(), 1);
    EXPECT_EQ(editTools.infoShown.back(), first);
}

TEST_F(EditCommandsTest, SelectAllLeavesTheCutLineAsItWas) {
    CCutLineObj* cut = Other<CCutLineObj>(200, 200);
    Other<CTextObj>(200, 600);
    core.OnCommand(kCmdSelectAll);
    EXPECT_EQ(cut->GetSelected(), 0);
    EXPECT_EQ(t.layout.GetOther(), 1);
    cut->SetSelected(1);
    core.OnCommand(kCmdSelectAll);
    EXPECT_EQ(cut->GetSelected(), 1);
}

// --- duplicate, undo, cut ---------------------------------------------------------------

TEST_F(EditCommandsTest, RefusedDuplicatePutsLayoutAndUndoBack) {
    // Automatic layout of one page at most, full with four images.
    t.layout.SetFree(0);
    t.layout.SetPageMax(1);
    for (int i = 0; i < 4; ++i) t.Add(450, 350)->SetSelected(1);
    ASSERT_EQ(Relayout(t.layout), 1);
    undo.PushUndo(t.layout, 3);
    const std::string before = test::DescribeByName(t.layout);
    const uint32_t undoFirstId = undo.GetUndoLayout()->GetFirstItem()->GetObjectId();

    core.OnCommand(kCmdEditDuplicate);
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_PAPER_LENGTH_LIMIT});
    EXPECT_EQ(test::DescribeByName(t.layout), before);
    ASSERT_TRUE(undo.CanUndo());
    EXPECT_EQ(undo.GetUndoLayout()->GetFirstItem()->GetObjectId(), undoFirstId);
    EXPECT_EQ(CountObjects(undo.GetUndoLayout()->ItemListHead()), 4);
}

TEST_F(EditCommandsTest, DuplicateAtTheItemLimitKeepsTheCopiesAndShowsTheLimit) {
    for (int i = 0; i < 997; ++i) Other<CTextObj>(200, 200);
    Other<CTextObj>(300, 300, true);
    Other<CTextObj>(400, 400, true);
    core.OnCommand(kCmdEditDuplicate);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].id, IDS_OBJECT_LIMIT);
    EXPECT_EQ(messages.shown[0].args, Args{999LL});
    EXPECT_EQ(Count(), 999);
}

TEST_F(EditCommandsTest, DuplicateShowsTheCurrentImageAndPutsCopiesBesideTheSources) {
    app.preferences.imageInfoWindow = 1;
    CImageObj* source = Image(200, 200, true);
    core.OnCommand(kCmdEditDuplicate);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(Count(), 2);
    const CLayoutObj* copy = source->NextItem();
    EXPECT_EQ(copy->GetPosition(), (LayoutPoint{250, 250}));
    ASSERT_FALSE(editTools.infoShown.empty());
    EXPECT_EQ(editTools.infoShown.back(), copy);
}

TEST_F(EditCommandsTest, DuplicateSeveralTimesRunsTheBoundDialog) {
    Other<CTextObj>(200, 200, true);
    core.OnCommand(kCmdEditDuplicateSeveral);
    EXPECT_EQ(dialogs.runs, 1);
    dialogs.bound = false;
    core.OnCommand(kCmdEditDuplicateSeveral);
    EXPECT_EQ(dialogs.runs, 1);
}

TEST_F(EditCommandsTest, UndoRestoresLaysOutAndCannotBeRepeated) {
    Other<CTextObj>(200, 200, true);
    Image(600, 200, true);
    core.OnCommand(kCmdEditClear);
    ASSERT_EQ(Count(), 0);
    status.updates.clear();
    core.OnCommand(kCmdEditUndo);
    EXPECT_EQ(Count(), 2);
    EXPECT_FALSE(State(kCmdEditUndo).enabled);
    ASSERT_FALSE(status.updates.empty());
    EXPECT_EQ(status.updates.back().code, kStatusReady);
    // The second undo does nothing.
    core.OnCommand(kCmdEditUndoForwarded);
    EXPECT_EQ(Count(), 2);
}

TEST_F(EditCommandsTest, UndoneAutomaticLayoutIsFlowedAgain) {
    t.layout.SetFree(0);
    Image(0, 0);
    Image(0, 0);
    Relayout(t.layout);
    undo.PushUndo(t.layout, 3);
    // The entry holds the layout with an image out of its row place.
    undo.GetUndoLayout()->GetFirstItem()->SetPosition(700, 700);
    core.OnCommand(kCmdEditUndo);
    EXPECT_NE(t.layout.GetFirstItem()->GetPosition(), (LayoutPoint{700, 700}));
}

TEST_F(EditCommandsTest, CutTellsThePreviewWindowTheItemIsGone) {
    app.preferences.imageInfoWindow = 1;
    CImageObj* image = Image(200, 200, true);
    const uint32_t id = image->GetObjectId();
    t.layout.SetCurrentItem(image);
    core.OnCommand(kCmdEditCut);
    EXPECT_EQ(editTools.previewRemoved, std::vector<uint32_t>{id});
    EXPECT_EQ(editTools.infoResets, 1);
    EXPECT_EQ(Count(), 0);
    core.OnCommand(kCmdEditPaste);
    EXPECT_EQ(Count(), 1);
}

// --- delete -----------------------------------------------------------------------------

TEST_F(EditCommandsTest, DeleteTakesOneUndoStepAndParksTheItemsUntilTheNextCopy) {
    CountedText::freed = 0;
    auto text = std::make_unique<CountedText>();
    text->SetOwner(&t.layout);
    text->SetPosition(200, 200);
    text->SetSize(200, 100);
    text->SetSelected(1);
    CountedText* raw = text.get();
    ASSERT_TRUE(AppendObject(t.layout.ItemListHead(), text));
    Image(600, 200, true);
    CTextObj* kept = Other<CTextObj>(200, 600);
    t.layout.SetDirty(0);

    core.OnCommand(kCmdEditClear);
    EXPECT_EQ(undo.GetLastUndoCode(), kUndoCodeDelete);
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(t.layout.GetFirstItem(), kept);
    EXPECT_EQ(t.layout.GetDirty(), 1);
    EXPECT_EQ(t.layout.GetCurrentItem(), nullptr);
    int parked = 0;
    for (const CLayoutObj* p = ItemClipboard::Instance().Previous(); p; p = p->NextItem()) {
        ++parked;
        EXPECT_EQ(p->GetOwner(), nullptr);
    }
    EXPECT_EQ(parked, 2);
    EXPECT_EQ(ItemClipboard::Instance().Current(), nullptr);
    EXPECT_EQ(CountedText::freed, 0);
    (void)raw;

    kept->SetSelected(1);
    core.OnCommand(kCmdEditCopy);
    EXPECT_EQ(CountedText::freed, 1);
}

TEST_F(EditCommandsTest, DeleteWithoutAnUndoEntryDeletesNothing) {
    Other<CTextObj>(200, 200, true);
    gFailNothrowNew = true;
    core.OnCommand(kCmdEditClear);
    gFailNothrowNew = false;
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(ItemClipboard::Instance().Previous(), nullptr);
}

TEST_F(EditCommandsTest, DeletingTheLastPageOfAnAutomaticLayoutShowsTheNewLastPage) {
    t.layout.SetFree(0);
    for (int i = 0; i < 9; ++i) t.Add(450, 350);  // four a page: three pages
    ASSERT_EQ(Relayout(t.layout), 1);
    ASSERT_EQ(GetPageCount(t.layout), 3);
    core.SetCurrentPage(2);
    for (CLayoutObj* p = t.layout.GetFirstItem(); p; p = p->NextItem())
        p->SetSelected(PageOfY(t.layout, p->GetPosition().y) == 3);
    status.updates.clear();
    core.OnCommand(kCmdEditClear);
    EXPECT_EQ(GetPageCount(t.layout), 2);
    EXPECT_EQ(core.GetCurrentPage(), 1);
    ASSERT_FALSE(status.updates.empty());
    EXPECT_EQ(status.updates.back().code, kStatusReady);
}

// --- right button, double click, activation -------------------------------------------

TEST_F(EditCommandsTest, RightButtonSelectsOrClearsThenUpdatesTheSelection) {
    app.preferences.imageInfoWindow = 1;
    struct Case {
        const char* what;
        bool hit, shift, inside, cleared;
    };
    const std::vector<Case> cases = {
        {"on an item", true, false, true, false},
        {"on an item with Shift", true, true, true, false},
        {"empty page area", false, false, true, true},
        {"empty page area with Shift", false, true, true, false},
        {"outside the page with Shift", false, true, false, true},
        {"outside the page on an item", true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int clears = 0;
        const int resets = editTools.infoResets;
        Edit().OnRightButtonDown(c.shift, c.inside, [&] { return c.hit; }, [&] { ++clears; });
        EXPECT_EQ(clears > 0, c.cleared);
        // Hint 3: the information window follows the selection.
        EXPECT_EQ(editTools.infoResets, resets + 1);
    }
}

TEST_F(EditCommandsTest, DoubleClickOpensTheViewerOrEditorOfTheTopmostItem) {
    CImageObj* image = Image(200, 200);
    CTextObj* text = Other<CTextObj>(600, 200);
    CLineObj* line = Other<CLineObj>(200, 600);
    CCutLineObj* cut = Other<CCutLineObj>(600, 600);
    const auto on = [](const CLayoutObj* target) {
        return PointerHits{[target](const CLayoutObj& p) { return &p == target ? 8 : -1; }, true};
    };
    int clears = 0;
    const auto deselect = [&] { ++clears; };

    Edit().OnDoubleClick(on(image), deselect);  // nothing selected
    EXPECT_EQ(t.layout.GetCurrentItem(), nullptr);
    EXPECT_EQ(editTools.previewUpdates, 0);

    image->SetSelected(1);
    Edit().OnDoubleClick(on(image), deselect);
    EXPECT_EQ(t.layout.GetCurrentItem(), image);
    EXPECT_EQ(app.preferences.imagePreviewWindow, 1);
    EXPECT_EQ(editTools.previewShown, 1);
    EXPECT_EQ(editTools.previewUpdates, 1);
    Edit().OnDoubleClick(on(image), deselect);  // shown already: refreshed only
    EXPECT_EQ(editTools.previewShown, 1);
    EXPECT_EQ(editTools.previewUpdates, 2);

    Edit().OnDoubleClick(on(text), deselect);  // unselected text
    Edit().OnDoubleClick(on(cut), deselect);
    cut->SetSelected(1);
    Edit().OnDoubleClick(on(cut), deselect);
    EXPECT_TRUE(window.frameCommands.empty());

    text->SetSelected(1);
    Edit().OnDoubleClick(on(text), deselect);
    EXPECT_EQ(text->GetDblClickSelected(), 1);
    line->SetSelected(1);
    Edit().OnDoubleClick(on(line), deselect);
    EXPECT_EQ(line->GetDblClickSelected(), 1);
    EXPECT_EQ(window.frameCommands, (std::vector<int>{33004, 33006}));
    EXPECT_EQ(clears, 0);

    Edit().OnDoubleClick(PointerHits{[](const CLayoutObj&) { return -1; }, false}, deselect);
    EXPECT_EQ(clears, 1);
}

TEST_F(EditCommandsTest, DoubleClickTakesTheTopmostItemOnTheCurrentPageOnly) {
    CImageObj* lower = Image(200, 200, true);
    CImageObj* upper = Image(250, 250, true);
    CImageObj* elsewhere = Image(200, 1200, true);  // page 2
    const PointerHits all{[](const CLayoutObj&) { return 8; }, true};
    Edit().OnDoubleClick(all, [] {});
    EXPECT_EQ(t.layout.GetCurrentItem(), upper);
    (void)lower;
    (void)elsewhere;
}

TEST_F(EditCommandsTest, ActivationShowsOrClearsTheInformationWindow) {
    app.preferences.imageInfoWindow = 1;
    CImageObj* image = Image(200, 200, true);
    t.layout.SetCurrentItem(image);
    const EditCommands::ActiveView layoutView{&core, &t.layout, false};
    const EditCommands::ActiveView pane{&window, &t.layout, true};

    // The layout view hears of its own activation and deactivation only.
    Edit().OnActivateView(true, &layoutView, nullptr, true);  // first activation: nothing
    EXPECT_TRUE(editTools.infoShown.empty());
    Edit().OnActivateView(false, &pane, &layoutView, true);  // to the pane: kept
    EXPECT_EQ(editTools.infoResets, 0);
    Edit().OnActivateView(true, &layoutView, &pane, true);  // and back: the current item
    ASSERT_EQ(editTools.infoShown.size(), 1u);
    EXPECT_EQ(editTools.infoShown[0], image);
    Edit().OnActivateView(true, &layoutView, &pane, true);  // the same view again: nothing
    EXPECT_EQ(editTools.infoShown.size(), 1u);
    Edit().OnActivateView(false, nullptr, &layoutView, false);  // no document left: cleared
    EXPECT_EQ(editTools.infoResets, 1);
    Edit().OnActivateView(false, &pane, &layoutView, false);  // the pane keeps it
    EXPECT_EQ(editTools.infoResets, 1);
}

TEST_F(EditCommandsTest, InitialUpdateClearsTheViewCreatingFlag) {
    shell.creating = true;
    TestLayout other;
    other.layout.SetType(kRecordTypeLayout);
    core.OnInitialUpdate(&other.layout);
    EXPECT_FALSE(shell.creating);
    core.OnInitialUpdate(&t.layout);
}

}  // namespace
}  // namespace vx
