#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostFakes.h"
#include "LayoutFixture.h"
#include "model/ClampedMove.h"
#include "model/ClipboardCommands.h"
#include "model/ItemClipboard.h"
#include "model/LayoutLimits.h"
#include "model/PageGeometry.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

using test::DescribeByName;
using test::TestLayout;

constexpr int32_t kA4Width = 2976;
constexpr int32_t kA4Height = 4209;

std::vector<const CLayoutObj*> Order(const CLayoutSetting& layout) {
    std::vector<const CLayoutObj*> items;
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) items.push_back(p);
    return items;
}

std::vector<const CLayoutObj*> Order(const ItemClipboard& clipboard, bool previous = false) {
    std::vector<const CLayoutObj*> items;
    for (const CLayoutObj* p = previous ? clipboard.Previous() : clipboard.Current(); p; p = p->NextItem())
        items.push_back(p);
    return items;
}

std::vector<const CLayoutObj*> Selected(const CLayoutSetting& layout) {
    std::vector<const CLayoutObj*> items;
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetSelected()) items.push_back(p);
    return items;
}

// A4 in free layout, no margins, shown by the recording view (400 x 300 pixels at 96
// ppi) at zoom 1/2 on its second page; an own clipboard, undo store and ports.
struct Clipboard : testing::Test {
    TestLayout t{kA4Width, kA4Height, 0};
    test::RecordingHost host;
    test::ToolWindowHost tools;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    ItemClipboard clipboard;

    Clipboard() {
        t.layout.SetFree(1);
        SetPageNumber(t.layout, 3);
        t.layout.GetViewState()->zoomNumerator = 1;
        t.layout.GetViewState()->zoomDenominator = 2;
        host.view.currentPage = 1;
    }

    CImageObj* Image(int32_t x, int32_t y, int32_t w = 600, int32_t h = 200, bool selected = true) {
        CImageObj* image = t.Add(w, h, x, y);
        image->SetSelected(selected ? 1 : 0);
        return image;
    }
};

TEST_F(Clipboard, CopyRotatesTheListsAndFreesThePreviousOne) {
    CImageObj* image = Image(1000, 1000);
    image->SetDescription(ImageDescription{0, 600, 200, 72, 72, 24, std::nullopt});
    CTextObj* text = t.Add<CTextObj>(300, 100, 100, 100);
    text->SetSelected(1);
    const TempBuffer* pixels = image->GetWorkingTempBuffer();
    ASSERT_NE(pixels, nullptr);
    const int32_t alone = pixels->RefCount();

    EXPECT_TRUE(CopyObjects(t.layout, clipboard));
    const std::vector<const CLayoutObj*> first = Order(clipboard);
    ASSERT_EQ(first.size(), 2u);
    // The last selected item first; copies, not the items, and nobody's.
    EXPECT_EQ(first[0]->GetKind(), kKindText);
    EXPECT_EQ(first[1]->GetKind(), kKindImage);
    for (const CLayoutObj* c : first) {
        EXPECT_EQ(c->GetOwner(), nullptr);
        EXPECT_NE(c->GetObjectId(), image->GetObjectId());
        EXPECT_NE(c->GetObjectId(), text->GetObjectId());
    }
    EXPECT_EQ(pixels->RefCount(), alone + 1);  // the copy shares the picture

    image->SetSelected(0);
    text->SetSelected(0);
    EXPECT_TRUE(CopyObjects(t.layout, clipboard));
    EXPECT_TRUE(clipboard.IsEmpty());
    EXPECT_EQ(Order(clipboard, true), first);
    EXPECT_EQ(pixels->RefCount(), alone + 1);

    EXPECT_TRUE(CopyObjects(t.layout, clipboard));
    EXPECT_EQ(clipboard.Previous(), nullptr);
    EXPECT_EQ(pixels->RefCount(), alone);  // the first copy is gone
}

TEST_F(Clipboard, DeletedItemsWaitOnThePreviousListUntilTheNextCopy) {
    auto deleted = std::make_unique<CTextObj>(true);
    deleted->SetOwner(&t.layout);
    const CTextObj* raw = deleted.get();
    clipboard.AdoptDeleted(std::move(deleted));
    EXPECT_EQ(Order(clipboard, true), std::vector<const CLayoutObj*>{raw});
    EXPECT_EQ(raw->GetOwner(), nullptr);
    EXPECT_TRUE(clipboard.IsEmpty());
    CopyObjects(t.layout, clipboard);
    EXPECT_EQ(clipboard.Previous(), nullptr);
}

TEST_F(Clipboard, PasteCentresOnTheVisiblePartOfTheShownPage) {
    // Visible: 3000 x 2250 units from the top of page 2, cut to the paper: its centre is
    // (1488, 4209 + 1125); the copied box's centre (1300, 1100).
    Image(1000, 1000);
    CopyObjects(t.layout, clipboard);
    t.layout.GetFirstItem()->SetSelected(0);
    ASSERT_TRUE(PasteObjects(t.layout, undo, clipboard));
    const std::vector<const CLayoutObj*> items = Order(t.layout);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1]->GetPosition(), (LayoutPoint{1188, 5234}));
    EXPECT_EQ(items[1]->GetOwner(), &t.layout);
    EXPECT_EQ(Selected(t.layout), std::vector<const CLayoutObj*>{items[1]});
    EXPECT_EQ(t.layout.GetCurrentItem(), items[1]);
    EXPECT_EQ(t.layout.GetDirty(), 1);
    EXPECT_TRUE(undo.CanUndo());
    EXPECT_EQ(undo.GetLastUndoCode(), 5);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Clipboard, CutThenTwoPastesAddTwoSetsAtOnePlace) {
    CImageObj* image = Image(1000, 1000);
    CTextObj* text = t.Add<CTextObj>(300, 100, 1000, 1400);
    text->SetSelected(1);
    ASSERT_TRUE(CutObjects(t.layout, undo, clipboard));
    EXPECT_EQ(t.layout.GetFirstItem(), nullptr);
    EXPECT_EQ(Order(clipboard), (std::vector<const CLayoutObj*>{text, image}));  // the items themselves
    EXPECT_EQ(image->GetOwner(), nullptr);
    EXPECT_EQ(undo.GetLastUndoCode(), 3);

    ASSERT_TRUE(PasteObjects(t.layout, undo, clipboard));
    ASSERT_TRUE(PasteObjects(t.layout, undo, clipboard));
    const std::vector<const CLayoutObj*> items = Order(t.layout);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0]->GetPosition(), items[2]->GetPosition());
    EXPECT_EQ(items[1]->GetPosition(), items[3]->GetPosition());
    EXPECT_EQ(items[0]->GetKind(), kKindText);
    EXPECT_EQ(Selected(t.layout), (std::vector<const CLayoutObj*>{items[2], items[3]}));
    EXPECT_EQ(Order(clipboard).size(), 2u);  // the clipboard keeps its items
}

TEST_F(Clipboard, CopiedItemsPasteIntoAnotherLayoutAsOftenAsAsked) {
    // What a Copy holds outlives its layout's window: New, then Paste, takes it.
    Image(1000, 1000);
    t.Add<CTextObj>(300, 100, 1000, 1400)->SetSelected(1);
    ASSERT_TRUE(CopyObjects(t.layout, clipboard));
    TestLayout other{kA4Width, kA4Height, 0};
    other.layout.SetFree(1);
    SetPageNumber(other.layout, 3);
    ASSERT_TRUE(PasteObjects(other.layout, undo, clipboard));
    ASSERT_TRUE(PasteObjects(other.layout, undo, clipboard));
    const std::vector<const CLayoutObj*> items = Order(other.layout);
    ASSERT_EQ(items.size(), 4u);
    for (const CLayoutObj* p : items) EXPECT_EQ(p->GetOwner(), &other.layout);
    EXPECT_EQ(items[0]->GetKind(), kKindText);
    EXPECT_EQ(items[1]->GetKind(), kKindImage);
    EXPECT_EQ(items[2]->GetKind(), kKindText);
    EXPECT_EQ(items[3]->GetKind(), kKindImage);
    EXPECT_EQ(Order(t.layout).size(), 2u);
    EXPECT_EQ(Order(clipboard).size(), 2u);
    for (const CLayoutObj* c : Order(clipboard)) EXPECT_EQ(c->GetOwner(), nullptr);
}

TEST_F(Clipboard, CutOrPasteWithNothingToDoChangesNothing) {
    Image(1000, 1000, 600, 200, false);
    EXPECT_FALSE(CutObjects(t.layout, undo, clipboard));
    EXPECT_FALSE(PasteObjects(t.layout, undo, clipboard));
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(Order(t.layout).size(), 1u);
}

TEST_F(Clipboard, AutomaticLayoutPastesImagesBeforeTheFirstSelectedImage) {
    TestLayout a;  // automatic layout, 1200 x 1000
    auto images = a.AddImages(3);
    images[2]->SetSelected(1);
    CopyObjects(a.layout, clipboard);
    images[2]->SetSelected(0);
    images[1]->SetSelected(1);
    ASSERT_TRUE(PasteObjects(a.layout, undo, clipboard));
    const std::vector<const CLayoutObj*> items = Order(a.layout);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], images[0]);
    EXPECT_EQ(items[2], images[1]);
    EXPECT_EQ(items[3], images[2]);
    EXPECT_EQ(Selected(a.layout), std::vector<const CLayoutObj*>{items[1]});
    EXPECT_EQ(static_cast<const CImageObj*>(items[1])->GetLabelNumber(), 2);
}

TEST_F(Clipboard, RefusedPastePutsLayoutAndUndoStateBack) {
    TestLayout a;  // 3 x 3 images of 300 x 200 fill a page
    a.layout.SetPageMax(1);
    auto images = a.AddImages(9);
    ASSERT_EQ(Relayout(a.layout), 1);
    images[0]->SetSelected(1);
    CopyObjects(a.layout, clipboard);
    for (bool earlierEntry : {false, true}) {
        SCOPED_TRACE(earlierEntry ? "with an undo entry" : "without");
        UndoStore store;
        std::string undoBefore;
        if (earlierEntry) {
            store.PushUndo(a.layout, 22);
            undoBefore = DescribeByName(*store.GetUndoLayout());
        }
        const std::string before = DescribeByName(a.layout);
        messages.shown.clear();
        EXPECT_TRUE(PasteObjects(a.layout, store, clipboard));
        EXPECT_EQ(messages.Ids(), std::vector<int>{15168});
        EXPECT_TRUE(DescribeByName(a.layout) == before);
        ASSERT_EQ(store.CanUndo(), earlierEntry);
        if (earlierEntry) {
            EXPECT_TRUE(DescribeByName(*store.GetUndoLayout()) == undoBefore);
        }
    }
}

TEST_F(Clipboard, PasteStopsAtTheMemoryBudgetOrTheItemLimitAndKeepsWhatItPasted) {
    struct Case {
        const char* what;
        int existing;          // text items already in the layout
        int16_t width, height; // of the three copied images
        int pasted;
        int message;
    };
    // Two pictures of 512,000,000 bytes fit in 1 GiB, a third does not.
    const std::vector<Case> cases = {
        {"memory", 0, 16000, 8000, 2, 10413},
        {"999 items", 997, 100, 100, 2, 59430},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestLayout l{kA4Width, kA4Height, 0};
        l.layout.SetFree(1);
        ItemClipboard board;
        UndoStore store;
        for (int i = 0; i < 3; ++i) {
            auto image = std::make_unique<CImageObj>(true);
            image->SetDescription(ImageDescription{0, c.width, c.height, 72, 72, 24, std::nullopt});
            image->SetSize(100, 100);
            board.PushFront(std::move(image));
        }
        for (int i = 0; i < c.existing; ++i) l.Add<CTextObj>(10, 10, 100, 100);
        messages.shown.clear();
        ASSERT_TRUE(PasteObjects(l.layout, store, board));
        EXPECT_EQ(CountObjects(l.layout.ItemListHead()), c.existing + c.pasted);
        ASSERT_EQ(messages.Ids(), std::vector<int>{c.message});
        if (c.message == 59430) {
            EXPECT_EQ(messages.shown[0].text, "Die maximale Anzahl von Objekten, die Sie einfügen können, beträgt 999.");
        }
    }
}

// Duplicate --------------------------------------------------------------------------

TEST_F(Clipboard, DuplicateInFreeLayoutHoldsCopiesOnTheSourcesPage) {
    host.view.currentPage = 0;
    // Items 20 wide: a copy wholly on the paper stays where the offset puts it.
    struct Case { const char* what; int32_t x, y; LayoutPoint copy; };
    const std::vector<Case> cases = {
        {"50 right and down", 2900, 1000, {2950, 1050}},
        {"off the right edge: 142 inside", 2950, 1000, {2834, 1050}},
        {"on page 3 while page 1 shows", 1000, 2 * kA4Height + 1000, {1050, 2 * kA4Height + 1050}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestLayout l{kA4Width, kA4Height, 0};
        l.layout.SetFree(1);
        SetPageNumber(l.layout, 3);
        CImageObj* source = l.Add(20, 200, c.x, c.y);
        source->SetSelected(1);
        ASSERT_EQ(DuplicateSelection(l.layout, undo), kDuplicateDone);
        const std::vector<const CLayoutObj*> items = Order(l.layout);
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0], source);
        EXPECT_EQ(items[1]->GetPosition(), c.copy);
        EXPECT_EQ(Selected(l.layout), std::vector<const CLayoutObj*>{items[1]});
        EXPECT_EQ(l.layout.GetCurrentItem(), items[1]);
        EXPECT_EQ(undo.GetLastUndoCode(), 6);
    }
}

TEST_F(Clipboard, DuplicateInAutomaticLayoutTakesTheSourcesPlace) {
    TestLayout a;
    auto images = a.AddImages(3);
    images[1]->SetSelected(1);
    CTextObj* text = a.Add<CTextObj>(100, 100, 500, 500);
    text->SetSelected(1);
    ASSERT_EQ(DuplicateSelection(a.layout, undo), kDuplicateDone);
    const std::vector<const CLayoutObj*> items = Order(a.layout);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0], images[0]);
    EXPECT_EQ(items[2], images[1]);
    EXPECT_EQ(items[3], images[2]);
    EXPECT_EQ(items[4], text);
    EXPECT_EQ(items[5]->GetPosition(), (LayoutPoint{550, 550}));  // texts move beside their source
    EXPECT_EQ(Selected(a.layout), (std::vector<const CLayoutObj*>{items[1], items[5]}));
    EXPECT_EQ(static_cast<const CImageObj*>(items[1])->GetLabelNumber(), 2);
}

TEST_F(Clipboard, DuplicateReportsEachOutcome) {
    struct Case {
        const char* what;
        int result;
        int16_t pageMax = 50;
        int32_t paperWidth = 0, paperLength = 0;  // printer paper, for the sheet check
        int existing = 0;                         // further text items
        int16_t pictureWidth = 100;               // of the selected images
        bool select = true;
    };
    const std::vector<Case> cases = {
        {"nothing selected", kDuplicateNothing, 50, 0, 0, 0, 100, false},
        {"done", kDuplicateDone},
        // Nine images fill the first page; the copies need a second.
        {"past the page maximum", kDuplicateTooLong, 1},
        // Two pages of 13,000 x 20,400: past the cut-sheet area, 90 ppi.
        {"too much cut-sheet area", kDuplicateTooManySheets, 50, 13000, 20400},
        // Three pictures of 512,000,000 bytes are past 1 GiB already.
        {"memory budget", kDuplicateOutOfMemory, 50, 0, 0, 0, 16000},
        // 997 items: two copies fit.
        {"item limit", kDuplicateItemLimit, 50, 0, 0, 988},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestLayout a;
        a.layout.SetPageMax(c.pageMax);
        a.layout.SetPaperWidth(c.paperWidth);
        a.layout.SetPaperLength(c.paperLength);
        auto images = a.AddImages(9);
        for (int i = 0; i < c.existing; ++i) a.Add<CTextObj>(10, 10, 100, 100);
        ASSERT_EQ(Relayout(a.layout), 1);
        for (int i = 0; i < 3; ++i) {
            images[size_t(i)]->SetSelected(c.select ? 1 : 0);
            images[size_t(i)]->SetDescription(ImageDescription{0, c.pictureWidth, 8000, 72, 72, 24, std::nullopt});
        }
        UndoStore store;
        EXPECT_EQ(DuplicateSelection(a.layout, store), c.result);
        EXPECT_EQ(store.CanUndo(), c.result != kDuplicateNothing);
    }
}

// Clamped move -----------------------------------------------------------------------

TEST(MoveItemClamped, PutsAnOriginOffThePageBack142InsideItsMargins) {
    struct Case { const char* what; int32_t x, y, dx, dy; int page; LayoutPoint at; };
    // Paper 1200 x 1000, margins 100: the margin rectangle of page 2 is 100..1100 x 1100..1900.
    const std::vector<Case> cases = {
        {"inside: just moved", 500, 1500, 10, 20, 1, {510, 1520}},
        {"left and top edges count as inside", 0, 1000, 0, 0, 1, {0, 1000}},
        {"off the left", 50, 1500, -100, 0, 1, {242, 1500}},
        {"off the bottom onto the next page", 500, 1800, 0, 300, 1, {500, 1758}},
        {"off the right", 1150, 1500, 100, 0, 1, {958, 1500}},
        {"above the page", 500, 900, 0, 0, 1, {500, 1242}},
        {"the page is the caller's", 500, 1500, 0, 0, 0, {500, 758}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestLayout l;
        SetPageNumber(l.layout, 3);
        CImageObj* image = l.Add(100, 100, c.x, c.y);
        MoveItemClamped(*image, c.dx, c.dy, c.page);
        EXPECT_EQ(image->GetPosition(), c.at);
    }
}

}  // namespace
}  // namespace vx
