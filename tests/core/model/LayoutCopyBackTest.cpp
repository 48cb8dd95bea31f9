#include <gtest/gtest.h>

#include "model/CLayoutSetting.h"
#include "model/ItemFactory.h"
#include "model/LayoutCopyBack.h"
#include "model/ObjectList.h"

namespace vx {
namespace {

CLayoutObj* AddText(CLayoutSetting& layout, int32_t x) {
    std::unique_ptr<CLayoutObj> item = DefaultItemFactory().Create(kKindText, "Text");
    item->SetOwner(&layout);
    item->SetPosition(x, 0);
    CLayoutObj* raw = item.get();
    EXPECT_TRUE(AppendObject(layout.ItemListHead(), item));
    return raw;
}

void SetView(CLayoutSetting& layout, int32_t base) {
    ViewStateBlock& v = layout.RenewViewState();
    v.zoomNumerator = base + 1;
    v.zoomDenominator = base + 2;
    v.previousZoomNumerator = base + 3;
    v.previousZoomDenominator = base + 4;
    v.statusA = base + 5;
    v.statusB = base + 6;
    v.visibleWidth = base + 7;
}

TEST(CopyLayoutBack, CopiesEverythingButTheTargetsZoomAndStatusValues) {
    for (bool deep : {true, false}) {
        SCOPED_TRACE(deep ? "deep" : "sync");
        CLayoutSetting snapshot(false), live(true);
        SetView(live, 0);
        AddText(live, 10);
        snapshot.CopyDeep(live, true, true, true);
        snapshot.SetPaperSize(8);
        GetObjectAt(snapshot.ItemListHead(), 0)->SetPosition(50, 0);
        SetView(snapshot, 100);
        AddText(live, 20);  // made after the snapshot

        CopyLayoutBack(live, snapshot, deep);
        EXPECT_EQ(live.GetPaperSize(), 8);
        ASSERT_EQ(CountObjects(live.ItemListHead()), deep ? 1 : 2);
        EXPECT_EQ(live.GetFirstItem()->GetObjectId(), snapshot.GetFirstItem()->GetObjectId());
        EXPECT_EQ(live.GetFirstItem()->GetPosition().x, 50);
        const ViewStateBlock& v = *live.GetViewState();
        EXPECT_EQ(v.zoomNumerator, 1);
        EXPECT_EQ(v.zoomDenominator, 2);
        EXPECT_EQ(v.previousZoomNumerator, 3);
        EXPECT_EQ(v.previousZoomDenominator, 4);
        EXPECT_EQ(v.statusA, 5);
        EXPECT_EQ(v.statusB, 6);
        EXPECT_EQ(v.visibleWidth, 107);
        EXPECT_EQ(v.owner, &live);
    }
}

TEST(CopyLayoutBack, ATargetWithoutViewStateTakesTheSources) {
    CLayoutSetting snapshot(false), live(true);
    SetView(snapshot, 100);
    CopyLayoutBack(live, snapshot, true);
    ASSERT_NE(live.GetViewState(), nullptr);
    EXPECT_EQ(live.GetViewState()->zoomNumerator, 101);
    EXPECT_EQ(live.GetViewState()->owner, &live);
}

}  // namespace
}  // namespace vx
