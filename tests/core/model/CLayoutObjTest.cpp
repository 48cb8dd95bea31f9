#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "PropertyChecks.h"
#include "model/CCutLineObj.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"

namespace vx {
namespace {

TEST(CLayoutObj, PositionAndSizeKeepFractionsAndTravelAsWholeUnits) {
    CLineObj line(false);
    line.SetPositionD(10.9, -3.7);
    line.SetSizeD(1e12, std::nan(""));  // what damaged input could leave
    EXPECT_EQ(line.GetPosition(), (LayoutPoint{10, -3}));
    EXPECT_EQ(test::Read(line, "mPosition"), PropertyValue(LayoutPoint{10, -3}));
    EXPECT_EQ(test::Read(line, "mSize"), PropertyValue(LayoutPoint{INT32_MAX, 0}));
    EXPECT_EQ(line.GetPositionD(), (LayoutPointD{10.9, -3.7}));

    line.SetRect(100, 200, 40, 260);
    EXPECT_EQ(line.GetPosition(), (LayoutPoint{100, 200}));
    EXPECT_EQ(line.GetSize(), (LayoutPoint{-60, 60}));
    EXPECT_EQ(line.GetRect(), (LayoutRect{100, 200, 40, 260}));
    line.SetSize(INT32_MAX, 10);
    EXPECT_EQ(line.GetRect().right, INT32_MAX);  // saturated, not wrapped
}

TEST(CLayoutObj, CopyFromStandsOnWholeUnitsAndKeepsTheSelectionMarks) {
    CLayoutSetting layout(false);
    CImageObj source(true, "StdImage"), copy(true);
    source.SetOwner(&layout);
    source.SetPositionD(10.9, 20.5);
    source.SetSizeD(100.7, -50.2);
    source.SetSelected(1);
    source.SetLastModified(1);
    source.SetDblClickSelected(1);
    source.SetAngle(90);
    source.SetOffsetOrgPos({3, 4});
    source.SetOrgSize({5, 6});
    source.SetChanged(1);
    source.SetOnview(1);
    source.SetViewImage({1, 2, 3, 4});
    copy.SetChanged(0);
    copy.CopyFrom(source, false);

    EXPECT_EQ(copy.GetPositionD(), (LayoutPointD{10, 20}));
    EXPECT_EQ(copy.GetSizeD(), (LayoutPointD{100, -50}));
    EXPECT_EQ(copy.GetName(), "StdImage");
    EXPECT_EQ(copy.GetOwner(), &layout);
    EXPECT_EQ(copy.GetSelected(), 1);
    EXPECT_EQ(copy.GetLastModified(), 1);
    EXPECT_EQ(copy.GetDblClickSelected(), 1);
    EXPECT_EQ(copy.GetAngle(), 90);
    EXPECT_EQ(copy.GetOffsetOrgPos(), (LayoutPoint{3, 4}));
    EXPECT_EQ(copy.GetOrgSize(), (LayoutPoint{5, 6}));
    EXPECT_EQ(copy.GetChanged(), 0);
    EXPECT_EQ(copy.GetOnview(), 0);
    EXPECT_EQ(copy.GetViewImage(), LayoutRect{});
    EXPECT_NE(copy.GetObjectId(), source.GetObjectId());
    EXPECT_EQ(copy.GetNext(), nullptr);
}

TEST(CLayoutObj, CopyFromARecordOfAnotherClassIsRefused) {
    CTextObj text(false, "text");
    CLineObj line(false, "line");
    line.SetPositionD(5, 5);
    EXPECT_THROW(text.CopyFrom(line, false), std::invalid_argument);
    EXPECT_EQ(text.GetName(), "text");
    EXPECT_EQ(text.GetPosition(), LayoutPoint{});
    CLayoutSetting layout(false);
    EXPECT_THROW(text.CopyFrom(layout, false), std::invalid_argument);
}

TEST(CLayoutObj, MoveWithinPageKeepsTheItemBelowItsPageTop) {
    struct Case { const char* what; int32_t paperHeight; bool owned; double y; int32_t newY; int32_t expectedY; };
    for (const Case& c : {
             Case{"above the page top", 1000, true, 1500, 800, 1001},
             Case{"within the page", 1000, true, 1500, 1200, 1200},
             Case{"to a later page", 1000, true, 1500, 2500, 2500},
             Case{"first page", 1000, true, 300, -40, 1},
             Case{"above the first page", 1000, true, -300, -400, 1},
             Case{"paper height 0", 0, true, 1500, 800, 800},
             Case{"damaged paper height", -1000, true, 1500, 800, 800},
             Case{"no owner", 1000, false, 1500, 800, 800},
         }) {
        SCOPED_TRACE(c.what);
        CLayoutSetting layout(false);
        layout.SetPaper({800, c.paperHeight});
        CTextObj item(false);
        if (c.owned) item.SetOwner(&layout);
        item.SetPositionD(7, c.y);
        item.MoveWithinPage(70, c.newY);
        EXPECT_EQ(item.GetPosition(), (LayoutPoint{70, c.expectedY}));
    }
}

TEST(CTextObj, OriginFollowsTheBoxOnlyOnceMeasured) {
    CTextObj text(true);
    text.SetPositionD(100.8, 200.2);
    EXPECT_EQ(text.GetOrigin(), (LayoutPoint{100, 200}));  // never measured
    CTextObj::BoxPoints box{};
    box[0] = {5, 6};
    box[2] = {-7, 8};
    text.SetBoxPoints(box);
    EXPECT_EQ(text.GetOrigin(), (LayoutPoint{105, 206}));
    text.SetColumnarWriting(1);
    EXPECT_EQ(text.GetOrigin(), (LayoutPoint{93, 208}));
    CLineObj line(true);
    line.SetPositionD(-1.5, 2.5);
    EXPECT_EQ(line.GetOrigin(), (LayoutPoint{-1, 2}));
}

TEST(CTextObj, CopyFromTakesTextFontBoxAndProperties) {
    CTextObj source(true), copy(false);
    source.SetText("Grüße\r\naus Köln");
    source.SetFont({"DejaVu Sans", 0x300, 60, 0xFF});
    source.SetBackgroundColorValue(0x00C0C0C0);
    CTextObj::BoxPoints box{};
    box[7] = {1, 2};
    source.SetBoxPoints(box);
    source.SetTextLineHeight(120);
    source.SetTextJustify(-1);
    source.SetColumnarWriting(1);
    source.SetBackgroundColor(1);
    copy.CopyFrom(source, false);
    EXPECT_EQ(copy.GetText(), source.GetText());
    EXPECT_EQ(copy.GetFont(), source.GetFont());
    EXPECT_EQ(copy.GetBackgroundColorValue(), 0x00C0C0C0u);
    EXPECT_EQ(copy.GetBoxPoints(), box);
    EXPECT_EQ(copy.GetTextLineHeight(), 120);
    EXPECT_EQ(copy.GetTextJustify(), -1);
    EXPECT_EQ(copy.GetColumnarWriting(), 1);
    EXPECT_EQ(copy.GetBackgroundColor(), 1);
}

TEST(CLineObj, CopyFromTakesColourGeometryAndProperties) {
    CLineObj source(true), copy(false);
    source.SetLineColor(0x000000FF);
    source.SetGeometryPoints({LayoutPoint{1, 2}, {3, 4}, {5, 6}, {7, 8}});
    source.SetLineStyle(1);
    source.SetThickness(20);
    source.SetLength(1440);
    source.SetArrowMark(2);
    source.SetArrowAngle(60);
    source.SetArrowFill(1);
    source.SetArrowSize(3);
    source.SetOffsetStart({-5, 5});
    source.SetOffsetEnd({50, -50});
    copy.CopyFrom(source, false);
    EXPECT_EQ(copy.GetLineColor(), 0x000000FFu);
    EXPECT_EQ(copy.GetGeometryPoints(), source.GetGeometryPoints());
    for (const CPropertyMember& m : source.InitPropertyNames()) {
        if (m.Name() == "mNext") continue;
        EXPECT_EQ(test::Read(copy, m.Name()), m.Get()) << m.Name();
    }
}

TEST(CCutLineObj, ArraysAlwaysHaveImageObjEntries) {
    CCutLineObj cut(true);
    EXPECT_TRUE(cut.Rects().empty());
    for (int32_t count : {3, 0, -5, 1000000000, 2}) {
        SCOPED_TRACE(count);
        PropertyValue v = count;
        ASSERT_TRUE(cut.Access("mImageObj", true, v));
        const size_t n = size_t(cut.GetImageObj());
        EXPECT_EQ(n, size_t(std::clamp(count, 0, 999)));
        for (size_t a = 0; a < CCutLineObj::kValueArrays; ++a) EXPECT_EQ(cut.Values(a).size(), n);
        EXPECT_EQ(cut.Rects().size(), n);
    }
    EXPECT_THROW(cut.Values(4), std::out_of_range);
}

TEST(CCutLineObj, CopyFromReplacesTheArrays) {
    CCutLineObj source(true), copy(false), empty(false);
    source.SetImageObj(3);
    source.Values(0)[2] = 42;
    source.Values(3)[0] = -1;
    source.Rects()[1] = {1, 2, 3, 4};
    source.SetCutterType(1);
    source.SetCutMark(2);
    source.SetCutMarkSpace(144);
    source.SetMargin(72);
    copy.SetImageObj(5);
    copy.CopyFrom(source, false);
    EXPECT_EQ(copy.GetImageObj(), 3);
    EXPECT_EQ(copy.Values(0)[2], 42);
    EXPECT_EQ(copy.Values(3)[0], -1);
    EXPECT_EQ(copy.Rects()[1], (LayoutRect{1, 2, 3, 4}));
    EXPECT_EQ(copy.Values(1).size(), 3u);
    EXPECT_EQ(copy.GetCutMarkSpace(), 144);
    EXPECT_EQ(copy.GetMargin(), 72);
    copy.CopyFrom(empty, false);
    EXPECT_EQ(copy.GetImageObj(), 0);
    EXPECT_TRUE(copy.Values(2).empty());
    EXPECT_TRUE(copy.Rects().empty());
}

}  // namespace
}  // namespace vx
