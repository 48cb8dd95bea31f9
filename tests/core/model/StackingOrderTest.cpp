#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "model/CCutLineObj.h"
#include "model/CLineObj.h"
#include "model/StackingOrder.h"
#include "model/UndoStore.h"
#include "support/RecordingHost.h"

namespace vx {
namespace {

using test::TestLayout;

// The list as names, one letter an item.
std::string Order(const CLayoutSetting& layout) {
    std::string s;
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) s += p->GetName();
    return s;
}

// Items named by letters; each is a square of 100 at its (x, y).
struct Stack {
    TestLayout t;
    UndoStore undo;

    template <class T = CImageObj>
    CLayoutObj* Put(const char* name, int32_t x, int32_t y, bool selected = false) {
        CLayoutObj* item = t.Add<T>(100, 100, x, y);
        item->SetName(name);
        item->SetSelected(selected ? 1 : 0);
        return item;
    }
};

TEST(ChangeObjectZOrder, MovesPastTheItemsItOverlaps) {
    struct Case { const char* what; int mode; const char* order; };
    // A selected; B and D overlap it, C does not.
    for (const Case& c : {Case{"one step forward", kStackForward, "BACD"}, Case{"to the front", kStackToFront, "BCDA"}}) {
        SCOPED_TRACE(c.what);
        Stack s;
        s.Put("A", 0, 0, true);
        s.Put("B", 50, 50);
        s.Put<CTextObj>("C", 500, 500);
        s.Put<CLineObj>("D", 20, 20);
        EXPECT_EQ(ChangeObjectZOrder(s.t.layout, c.mode, s.undo), 1);
        EXPECT_EQ(Order(s.t.layout), c.order);
    }
    // D selected; A and C overlap it, B does not.
    for (const Case& c : {Case{"to the back", kStackToBack, "DABC"}, Case{"one step backward", kStackBackward, "ABDC"}}) {
        SCOPED_TRACE(c.what);
        Stack s;
        s.Put("A", 0, 0);
        s.Put("B", 500, 500);
        s.Put("C", 50, 50);
        s.Put("D", 20, 20, true);
        EXPECT_EQ(ChangeObjectZOrder(s.t.layout, c.mode, s.undo), 1);
        EXPECT_EQ(Order(s.t.layout), c.order);
    }
}

TEST(ChangeObjectZOrder, WithNothingOverlappingKeepsTheOrderButTakesUndoAndMarksDirty) {
    for (int mode : {kStackToFront, kStackForward, kStackBackward, kStackToBack}) {
        SCOPED_TRACE(mode);
        Stack s;
        s.Put("A", 0, 0);
        s.Put("B", 200, 0, true);
        s.Put("C", 400, 0);
        EXPECT_EQ(ChangeObjectZOrder(s.t.layout, mode, s.undo), 1);
        EXPECT_EQ(Order(s.t.layout), "ABC");
        EXPECT_TRUE(s.undo.CanUndo());
        EXPECT_EQ(s.undo.GetLastUndoCode(), 14);
        EXPECT_EQ(s.t.layout.GetDirty(), 1);
        for (const CLayoutObj* p = s.t.layout.GetFirstItem(); p; p = p->NextItem())
            EXPECT_EQ(p->GetChanged(), p->GetName() == "B" ? 1 : 0);
    }
}

TEST(ChangeObjectZOrder, EachSelectedItemMovesOnceAndNeverPassesASelectedOne) {
    Stack s;
    s.Put("A", 0, 0, true);
    s.Put("B", 10, 10, true);
    s.Put("C", 20, 20);
    s.Put("D", 30, 30);
    // A goes behind D; then B, the next unhandled one, behind D too (A, being selected,
    // is never passed), so it lands before A.
    EXPECT_EQ(ChangeObjectZOrder(s.t.layout, kStackToFront, s.undo), 1);
    EXPECT_EQ(Order(s.t.layout), "CDBA");
    Stack f;
    f.Put("A", 0, 0, true);
    f.Put("B", 10, 10, true);
    f.Put("C", 20, 20);
    EXPECT_EQ(ChangeObjectZOrder(f.t.layout, kStackForward, f.undo), 1);
    EXPECT_EQ(Order(f.t.layout), "CBA");
}

TEST(ChangeObjectZOrder, CutLinesNeitherMoveNorArePassed) {
    Stack s;
    s.Put("A", 0, 0, true);
    s.Put<CCutLineObj>("X", 10, 10);
    s.Put("B", 20, 20);
    EXPECT_EQ(ChangeObjectZOrder(s.t.layout, kStackForward, s.undo), 1);
    EXPECT_EQ(Order(s.t.layout), "XBA");
    Stack c;
    c.Put("A", 0, 0);
    c.Put<CCutLineObj>("X", 10, 10, true);
    c.Put("B", 20, 20);
    EXPECT_EQ(ChangeObjectZOrder(c.t.layout, kStackToFront, c.undo), 1);
    EXPECT_EQ(Order(c.t.layout), "AXB");
}

TEST(ChangeObjectZOrder, RefreshesTheTrackersOfTheMovedAndThePassedItem) {
    test::RecordingHost host;
    Stack s;
    CLayoutObj* a = s.Put("A", 0, 0, true);
    CLayoutObj* b = s.Put("B", 50, 50);
    ChangeObjectZOrder(s.t.layout, kStackForward, s.undo);
    EXPECT_EQ(host.view.tracked, (std::vector<const CLayoutObj*>{a, b}));
}

}  // namespace
}  // namespace vx
