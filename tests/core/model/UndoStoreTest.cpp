#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "model/CUndoEntry.h"
#include "model/UndoStore.h"
#include "support/RecordingHost.h"

namespace vx {
namespace {

using test::DescribeByName;
using test::TestLayout;

// A layout with three items, the last current, at zoom 1/2.
struct Edited : TestLayout {
    Edited() {
        AddImages(2);
        layout.SetCurrentItem(Add<CTextObj>(100, 50, 300, 400));
        layout.GetViewState()->zoomDenominator = 2;
    }
    // An edit that changes settings, moves and removes items and adds one.
    void Edit() {
        layout.SetPageMax(7);
        layout.GetFirstItem()->SetPosition(999, 999);
        RemoveObjectAt(layout.ItemListHead(), 1);
        Add(10, 10);
    }
};

TEST(UndoStore, UndoPutsEverythingBackButTheZoom) {
    Edited e;
    const std::string before = DescribeByName(e.layout);
    UndoStore undo;
    ASSERT_TRUE(undo.PushUndo(e.layout, 14));
    e.Edit();
    ViewStateBlock& view = *e.layout.GetViewState();
    view.zoomNumerator = 3;
    view.zoomDenominator = 4;
    view.statusA = 11;

    test::RecordingHost host;
    EXPECT_TRUE(undo.PerformUndo(e.layout));
    EXPECT_EQ(DescribeByName(e.layout), before);
    EXPECT_EQ(e.layout.GetCurrentItem()->GetOwner(), &e.layout);
    EXPECT_EQ(view.zoomNumerator, 3);
    EXPECT_EQ(view.zoomDenominator, 4);
    EXPECT_EQ(view.statusA, 11);
    EXPECT_EQ(host.pane.printerControlFills, 1);
    EXPECT_EQ(host.pane.templateTexts, std::vector<const CLayoutSetting*>{&e.layout});

    // The undo command clears the entry: a second undo has nothing to put back.
    undo.ClearUndo();
    e.Edit();
    const std::string edited = DescribeByName(e.layout);
    undo.PerformUndo(e.layout);
    EXPECT_EQ(DescribeByName(e.layout), edited);
    EXPECT_FALSE(undo.CanUndo());
}

TEST(UndoStore, RunsOfDuplicateAndDragStepsUndoInOneStep) {
    struct Case {
        const char* what;
        std::vector<int> codes;  // pushed before edits; -1 is an undo
        bool backToStart;        // the last undo returns to before the first push
    };
    const std::vector<Case> cases = {
        {"15 then 6", {15, 6}, true},
        {"15 then 6 twice", {15, 6, 6}, true},
        {"35 then 35", {35, 35}, true},
        {"6 then 6", {6, 6}, false},
        {"35 then 14", {35, 14}, false},
        {"15, undo, 6", {15, -1, 6}, false},
        {"35, undo, 35", {35, -1, 35}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edited e;
        UndoStore undo;
        const std::string start = DescribeByName(e.layout);
        std::string beforeLast;
        for (int code : c.codes) {
            if (code < 0) {
                undo.PerformUndo(e.layout);
                undo.ClearUndo();
                continue;
            }
            beforeLast = DescribeByName(e.layout);
            ASSERT_TRUE(undo.PushUndo(e.layout, uint16_t(code)));
            e.Add(20, 20);
        }
        ASSERT_TRUE(undo.CanUndo());
        undo.PerformUndo(e.layout);
        EXPECT_EQ(DescribeByName(e.layout), c.backToStart ? start : beforeLast);
    }
}

TEST(UndoStore, ClearingKeepsTheLastCode) {
    TestLayout t;
    UndoStore undo;
    EXPECT_EQ(undo.GetLastUndoCode(), 0);
    undo.PushUndo(t.layout, 15);
    undo.ClearUndo();
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(undo.GetUndoLayout(), nullptr);
    EXPECT_EQ(undo.GetLastUndoCode(), 15);
    undo.SetLastUndoCode(36);
    EXPECT_EQ(undo.GetLastUndoCode(), 36);
}

TEST(UndoStore, FindsThePageOfAnItemInTheEntry) {
    struct Case { const char* what; int32_t y; int32_t paperHeight; bool known; bool pushed; int page; };
    for (const Case& c : {Case{"page 3", 2030, 1000, true, true, 2}, Case{"top of page 2", 1000, 1000, true, true, 1},
                          Case{"above page 1", -50, 1000, true, true, 0}, Case{"unknown id", 2030, 1000, false, true, 0},
                          Case{"no entry", 2030, 1000, true, false, 0}, Case{"no paper height", 2030, 0, true, true, 0}}) {
        SCOPED_TRACE(c.what);
        TestLayout t(1200, c.paperHeight);
        CImageObj* image = t.Add(300, 200, 100, c.y);
        UndoStore undo;
        if (c.pushed) undo.PushUndo(t.layout, 14);
        const uint32_t id = c.known ? image->GetObjectId() : image->GetObjectId() + 1000;
        EXPECT_EQ(undo.FindItemInUndo(id), c.page);
    }
}

TEST(CUndoEntry, CopiesBackWholeOrItemByItemKeepingTheZoom) {
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        Edited e;
        CUndoEntry entry;
        entry.CopyFromLayout(e.layout, true);
        CLayoutObj* first = e.layout.GetFirstItem();
        const uint32_t firstId = first->GetObjectId();
        first->SetPosition(999, 999);
        e.layout.GetViewState()->zoomNumerator = 5;
        entry.CopyToLayout(e.layout, mode);
        EXPECT_EQ(DescribeByName(e.layout), DescribeByName(entry.Layout()));
        EXPECT_EQ(e.layout.GetViewState()->zoomNumerator, 5);
        EXPECT_EQ(e.layout.GetFirstItem()->GetObjectId(), firstId);
        // Only the item-by-item copy keeps the item objects.
        EXPECT_EQ(e.layout.GetFirstItem() == first, mode == 0);
    }
}

}  // namespace
}  // namespace vx
