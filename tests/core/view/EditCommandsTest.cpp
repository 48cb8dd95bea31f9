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
#include "view/ItemTracker.h"
#include "view/KeySession.h"

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
    /// A free text whose frame is its rectangle.
    CTextObj* Text(int32_t x, int32_t y, bool selected = false) {
        CTextObj* p = Other<CTextObj>(x, y, selected);
        p->SetBoxPoints({LayoutPoint{0, 0}, {100, 0}, {200, 0}, {200, 50}, {200, 100}, {100, 100}, {0, 100}, {0, 50}});
        return p;
    }
    /// A free line along its rectangle's diagonal.
    CLineObj* Line(int32_t x, int32_t y, bool selected = false) {
        CLineObj* p = Other<CLineObj>(x, y, selected);
        p->SetOffsetStart({0, 0});
        p->SetOffsetEnd({200, 100});
        return p;
    }
    PixelPoint Centre(const CLayoutObj& item) {
        const PixelRect r = view.SetupObjectTracker(item).Rect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

PixelPoint operator+(PixelPoint a, PixelPoint b) { return {a.x + b.x, a.y + b.y}; }

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

struct DuplicateCase {
    const char* what;
    int message;
    bool restored;
    int32_t paperWidth = 0, paperLength = 0;  // printer paper, for the sheet check
    int16_t pictureWidth = 100;               // of the selected images
};
void PrintTo(const DuplicateCase& c, std::ostream* os) { *os << c.what; }

struct DuplicateOutcome : EditCommandsTest, testing::WithParamInterface<DuplicateCase> {};

TEST_P(DuplicateOutcome, ShowsTheMessageAndRestoresOrKeeps) {
    const DuplicateCase& c = GetParam();
    t.layout.SetFree(0);
    t.layout.SetPaperWidth(c.paperWidth);
    t.layout.SetPaperLength(c.paperLength);
    std::vector<CImageObj*> images = t.AddImages(9);  // a page full
    ASSERT_EQ(Relayout(t.layout), 1);
    for (int i = 0; i < 3; ++i) {
        images[size_t(i)]->SetSelected(1);
        images[size_t(i)]->SetDescription(ImageDescription{0, c.pictureWidth, 8000, 72, 72, 24, std::nullopt});
    }
    undo.PushUndo(t.layout, 3);
    const std::string before = test::DescribeByName(t.layout);

    core.OnCommand(kCmdEditDuplicate);
    EXPECT_EQ(messages.Ids(), std::vector<int>{c.message});
    if (c.restored) {
        EXPECT_EQ(test::DescribeByName(t.layout), before);
        ASSERT_TRUE(undo.CanUndo());
        EXPECT_EQ(CountObjects(undo.GetUndoLayout()->ItemListHead()), 9);
    } else {
        EXPECT_GE(Count(), 9);  // what was copied before the stop stays
        EXPECT_EQ(undo.GetLastUndoCode(), kUndoCodeDuplicate);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edit, DuplicateOutcome,
    testing::Values(
        // Two pages of 13,000 x 20,400: past the cut-sheet area, 90 ppi.
        DuplicateCase{"too much cut-sheet area", IDS_PAGE_COUNT_LIMIT, true, 13000, 20400},
        // Three pictures of 512,000,000 bytes are past the memory budget.
        DuplicateCase{"memory budget", IDS_NOT_ENOUGH_MEMORY, false, 0, 0, 16000}));

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
    CImageObj* image = Image(600, 200, true);
    CTextObj* kept = Other<CTextObj>(200, 600);
    t.layout.SetDirty(0);
    PixelRect textRect, imageRect;
    view.SetupObjectTracker(*raw, &textRect);
    view.SetupObjectTracker(*image, &imageRect);
    window.rects.clear();

    core.OnCommand(kCmdEditClear);
    // One redraw of both places, none per item (the relayout redraws the kept item).
    ASSERT_FALSE(window.rects.empty());
    EXPECT_EQ(window.rects[0], (PixelRect{textRect.left, textRect.top, imageRect.right, imageRect.bottom}));
    for (const PixelRect& r : window.rects) {
        EXPECT_NE(r, textRect);
        EXPECT_NE(r, imageRect);
    }
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
    CImageObj* first = Image(200, 200);
    CImageObj* second = Image(700, 200);
    const PixelPoint emptyPage = Centre(*Image(200, 600)) + PixelPoint{0, 80};
    const PixelPoint offPage{2, 2};
    const auto selected = [&] { return std::vector<int>{first->GetSelected(), second->GetSelected()}; };

    Edit().OnRightButtonDown(Centre(*first), false);
    EXPECT_EQ(selected(), (std::vector<int>{1, 0}));
    EXPECT_EQ(editTools.infoShown.back(), first);  // hint 3: the one selected image
    Edit().OnRightButtonDown(Centre(*second), true);
    EXPECT_EQ(selected(), (std::vector<int>{1, 1}));
    Edit().OnRightButtonDown(emptyPage, true);
    EXPECT_EQ(selected(), (std::vector<int>{1, 1}));
    Edit().OnRightButtonDown(emptyPage, false);
    EXPECT_EQ(selected(), (std::vector<int>{0, 0}));
    EXPECT_EQ(editTools.infoResets, 3);  // two selected, then none: cleared each time
    Edit().OnRightButtonDown(Centre(*first), false);
    Edit().OnRightButtonDown(offPage, true);
    EXPECT_EQ(selected(), (std::vector<int>{0, 0}));
}

TEST_F(EditCommandsTest, DoubleClickOpensTheViewerOrEditorOfTheTopmostItem) {
    CImageObj* image = Image(200, 200);
    CTextObj* text = Text(700, 200);
    CLineObj* line = Line(200, 600);
    CCutLineObj* cut = Other<CCutLineObj>(700, 600);
    const PixelPoint lineStart = view.SetupObjectTracker(*line).Rect().left == 0 ? PixelPoint{}
                                 : PixelPoint{view.SetupObjectTracker(*line).Rect().left,
                                              view.SetupObjectTracker(*line).Rect().top};

    Edit().OnDoubleClick(Centre(*image));  // nothing selected
    EXPECT_EQ(t.layout.GetCurrentItem(), nullptr);
    EXPECT_EQ(editTools.previewUpdates, 0);

    image->SetSelected(1);
    Edit().OnDoubleClick(Centre(*image));
    EXPECT_EQ(t.layout.GetCurrentItem(), image);
    EXPECT_EQ(app.preferences.imagePreviewWindow, 1);
    EXPECT_EQ(editTools.previewShown, 1);
    EXPECT_EQ(editTools.previewUpdates, 1);
    Edit().OnDoubleClick(Centre(*image));  // shown already: refreshed only
    EXPECT_EQ(editTools.previewShown, 1);
    EXPECT_EQ(editTools.previewUpdates, 2);

    Edit().OnDoubleClick(Centre(*text));  // unselected text
    Edit().OnDoubleClick(Centre(*cut));
    cut->SetSelected(1);
    Edit().OnDoubleClick(Centre(*cut));
    EXPECT_TRUE(window.frameCommands.empty());

    text->SetSelected(1);
    Edit().OnDoubleClick(Centre(*text));
    EXPECT_EQ(text->GetDblClickSelected(), 1);
    line->SetSelected(1);
    Edit().OnDoubleClick(lineStart);
    EXPECT_EQ(line->GetDblClickSelected(), 1);
    EXPECT_EQ(window.frameCommands, (std::vector<int>{33004, 33006}));
    EXPECT_EQ(t.layout.GetSelected() + t.layout.GetOther(), 4);

    Edit().OnDoubleClick({2, 2});  // off the page
    EXPECT_EQ(t.layout.GetSelected() + t.layout.GetOther(), 0);
}

TEST_F(EditCommandsTest, DoubleClickTakesTheTopmostItemOfTheShownPage) {
    Image(200, 200, true);
    CImageObj* upper = Image(250, 250, true);
    CImageObj* below = Image(250, 1250, true);  // the same place on page 2
    Edit().OnDoubleClick(Centre(*upper));
    EXPECT_EQ(t.layout.GetCurrentItem(), upper);
    core.SetCurrentPage(1);
    Edit().OnDoubleClick(Centre(*below));
    EXPECT_EQ(t.layout.GetCurrentItem(), below);
}

TEST_F(EditCommandsTest, CursorFollowsTheLowestSelectedItemUnderThePointer) {
    CImageObj* lower = Image(200, 200);
    CImageObj* upper = Image(300, 300);
    const ItemTracker tracker = view.SetupObjectTracker(*upper);
    const PixelRect r = tracker.Rect();
    const PixelPoint inside = Centre(*upper);
    using K = CursorChoice::Kind;
    EXPECT_EQ(Edit().CursorAt(inside), (CursorChoice{K::Default, -1}));  // nothing selected

    upper->SetSelected(1);
    for (int index = 1; index <= 8; ++index) {
        SCOPED_TRACE(index);
        const PixelPoint square = tracker.HandleSquare(index);
        EXPECT_EQ(Edit().CursorAt(square + PixelPoint{2, 2}), (CursorChoice{K::Index, HandleHitCode(index)}));
    }
    EXPECT_EQ(Edit().CursorAt(inside), (CursorChoice{K::Index, 8}));
    EXPECT_EQ(Edit().CursorAt({r.right + 40, r.bottom + 40}), (CursorChoice{K::Default, -1}));

    // Both selected: over the upper one's top-left handle, inside the lower one.
    lower->SetSelected(1);
    const PixelPoint handle = tracker.HandleSquare(1) + PixelPoint{2, 2};
    ASSERT_EQ(view.HitTestItem(*upper, handle), 0);
    ASSERT_EQ(view.HitTestItem(*lower, handle), 8);
    EXPECT_EQ(Edit().CursorAt(handle), (CursorChoice{K::Index, 8}));

    // A selected item reaching off the page: the cursor stays as it is there.
    CImageObj* edge = Image(1000, 700, true);
    edge->SetSize(600, 600);
    const PixelRect e = view.SetupObjectTracker(*edge).Rect();
    EXPECT_EQ(Edit().CursorAt({e.right - 3, e.bottom - 20}), (CursorChoice{K::Keep, -1}));
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

// --- arrow keys -------------------------------------------------------------------------

TEST_F(EditCommandsTest, ArrowKeysMoveEverySelectedItemOfAFreeLayoutByTheStep) {
    app.preferences.snapToGrid = 1;  // off for the move, on again afterwards
    app.preferences.gridX = app.preferences.gridY = 100;
    CTextObj* text = Other<CTextObj>(400, 400, true);
    CImageObj* image = Image(600, 300, true);
    CImageObj* unselected = Image(200, 600);
    struct Case {
        int key;
        LayoutPoint delta;
    };
    for (const Case& c : {Case{kKeyLeft, {-70, 0}}, Case{kKeyUp, {0, -70}}, Case{kKeyRight, {70, 0}},
                          Case{kKeyDown, {0, 70}}}) {
        SCOPED_TRACE(c.key);
        const LayoutPoint t0 = text->GetPosition(), i0 = image->GetPosition();
        EXPECT_EQ(NudgeSelection(t.layout, c.key), 1);
        EXPECT_EQ(text->GetPosition(), (LayoutPoint{t0.x + c.delta.x, t0.y + c.delta.y}));
        EXPECT_EQ(image->GetPosition(), (LayoutPoint{i0.x + c.delta.x, i0.y + c.delta.y}));
        EXPECT_EQ(app.preferences.snapToGrid, 1);
    }
    EXPECT_EQ(unselected->GetPosition(), (LayoutPoint{200, 600}));
    EXPECT_EQ(NudgeSelection(t.layout, kKeyReturn), 0);
    EXPECT_EQ(NudgeSelection(t.layout, 'A'), 0);
    EXPECT_EQ(text->GetPosition(), (LayoutPoint{400, 400}));
}

TEST_F(EditCommandsTest, ArrowKeysOverOnlyImagesOfAnAutomaticLayoutKeepTheLastUndo) {
    t.layout.SetFree(0);
    CImageObj* first = Image(0, 0, true);
    CImageObj* second = Image(0, 0, true);
    Relayout(t.layout);
    const std::vector<LayoutPoint> before = test::PositionsOf({first, second});
    const LayoutPoint offset = first->GetOffsetFromPageTop();
    undo.PushUndo(t.layout, 3);
    t.layout.SetDirty(0);

    EXPECT_TRUE(Edit().OnKeyDown(kKeyDown));
    EXPECT_TRUE(Edit().OnKeyDown(kKeyDown));
    Edit().CloseKeySession();
    EXPECT_EQ(undo.GetLastUndoCode(), 3);
    EXPECT_EQ(test::PositionsOf({first, second}), before);
    EXPECT_EQ(first->GetOffsetFromPageTop(), offset);
    EXPECT_EQ(t.layout.GetDirty(), 1);  // laid out again and marked, as after any key
    EXPECT_TRUE(State(kCmdEditUndo).enabled);
}

TEST_F(EditCommandsTest, ArrowKeysInAnAutomaticLayoutMoveTheTextAndShiftTheImagesOffset) {
    t.layout.SetFree(0);
    CImageObj* image = Image(0, 0, true);
    CTextObj* text = Other<CTextObj>(400, 600, true);
    Relayout(t.layout);
    const LayoutPoint imageAt = image->GetPosition();
    const LayoutPoint offset = image->GetOffsetFromPageTop();
    EXPECT_EQ(NudgeSelection(t.layout, kKeyDown), 1);
    EXPECT_EQ(text->GetPosition(), (LayoutPoint{400, 670}));
    EXPECT_EQ(image->GetPosition(), imageAt);
    EXPECT_EQ(image->GetOffsetFromPageTop(), (LayoutPoint{offset.x, offset.y + 70}));
}

TEST_F(EditCommandsTest, AKeySessionMovesWithOneUndoStepUntilItCloses) {
    CTextObj* first = Other<CTextObj>(200, 200, true);
    CTextObj* second = Other<CTextObj>(200, 500, true);
    t.layout.SetDirty(0);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Edit().OnKeyDown(kKeyRight));
    EXPECT_TRUE(Edit().Keys().IsOpen());
    EXPECT_EQ(first->GetPosition(), (LayoutPoint{410, 200}));
    EXPECT_EQ(second->GetPosition(), (LayoutPoint{410, 500}));
    EXPECT_FALSE(Edit().OnKeyDown('A'));
    Edit().CloseKeySession();  // the focus went elsewhere
    EXPECT_FALSE(Edit().Keys().IsOpen());
    EXPECT_EQ(t.layout.GetDirty(), 1);

    core.OnCommand(kCmdEditUndo);
    const CLayoutObj* a = t.layout.GetFirstItem();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetPosition(), (LayoutPoint{200, 200}));
    EXPECT_EQ(a->NextItem()->GetPosition(), (LayoutPoint{200, 500}));
}

TEST_F(EditCommandsTest, EnterTakesNoUndoAndLaysOutWhenReleased) {
    CTextObj* text = Other<CTextObj>(200, 200, true);
    t.layout.SetDirty(0);
    EXPECT_TRUE(Edit().OnKeyDown(kKeyReturn));
    EXPECT_FALSE(undo.CanUndo());
    Edit().CloseKeySession();
    EXPECT_EQ(text->GetPosition(), (LayoutPoint{200, 200}));
    EXPECT_EQ(t.layout.GetDirty(), 1);
    EXPECT_FALSE(undo.CanUndo());
}

TEST_F(EditCommandsTest, ARefusedRelayoutAtTheCloseRestoresTheLayout) {
    CTextObj* text = Other<CTextObj>(200, 200, true);
    undo.PushUndo(t.layout, 3);
    Edit().OnKeyDown(kKeyRight);
    // A layout that no longer fits its page limit refuses the relayout.
    t.layout.SetFree(0);
    t.layout.SetPageMax(1);
    for (int i = 0; i < 5; ++i) t.Add(450, 350);
    Edit().CloseKeySession();
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_PAPER_LENGTH_LIMIT});
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(t.layout.GetFirstItem()->GetPosition(), (LayoutPoint{200, 200}));
    EXPECT_EQ(undo.GetLastUndoCode(), kUndoCodeRestored);
    (void)text;
}

}  // namespace
}  // namespace vx
