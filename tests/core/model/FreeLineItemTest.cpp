#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "LayoutFixture.h"
#include "model/CLineObj.h"
#include "model/FreeLineItem.h"

namespace vx {
namespace {

using test::TestLayout;

LayoutPoint OnPage(const CLineObj& item, LayoutPoint relative) {
    const LayoutPoint p = item.GetPosition();
    return {p.x + relative.x, p.y + relative.y};
}

LayoutPoint StartOnPage(const CLineObj& item) { return OnPage(item, item.GetOffsetStart()); }
LayoutPoint EndOnPage(const CLineObj& item) { return OnPage(item, item.GetOffsetEnd()); }

std::vector<LayoutPoint> OutlineOnPage(const CLineObj& item) {
    std::vector<LayoutPoint> out;
    for (const LayoutPoint& p : item.GetGeometryPoints()) out.push_back(OnPage(item, p));
    return out;
}

// The position is the top-left corner of the box around both ends and the outline,
// and the size its extent.
void ExpectBoundingBox(const CLineObj& item) {
    std::vector<LayoutPoint> points{item.GetOffsetStart(), item.GetOffsetEnd()};
    for (const LayoutPoint& p : item.GetGeometryPoints()) points.push_back(p);
    int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    for (const LayoutPoint& p : points) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    EXPECT_EQ(minX, 0);
    EXPECT_EQ(minY, 0);
    EXPECT_EQ(item.GetSize(), (LayoutPoint{maxX - minX, maxY - minY}));
}

// A line from start to end (on the page), at its angle, without arrow heads.
CLineObj* AddLine(TestLayout& t, LayoutPoint start, LayoutPoint end) {
    CLineObj* line = CreateLineObject(&t.layout, t.layout.ItemListHead());
    line->SetPosition(start.x, start.y);
    line->SetOffsetStart({0, 0});
    line->SetOffsetEnd({end.x - start.x, end.y - start.y});
    MoveFreeLineEnd(*line, 0, 0, 1);
    return line;
}

TEST(CreateLineObject, GivesTheDefaultsAndAppends) {
    TestLayout t;
    CLineObj* line = CreateLineObject(&t.layout, t.layout.ItemListHead());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(t.layout.GetFirstItem(), line);
    EXPECT_EQ(line->GetOwner(), &t.layout);
    EXPECT_NE(line->GetObjectId(), 0u);
    EXPECT_EQ(line->GetSelected(), 0);
    EXPECT_EQ(line->GetChanged(), 1);
    EXPECT_EQ(line->GetLength(), 1417);
    EXPECT_EQ(line->GetThickness(), 100);
    EXPECT_EQ(line->GetLineStyle(), 0);
    EXPECT_EQ(line->GetLineColor(), 0u);
    EXPECT_EQ(line->GetArrowMark(), 0);
    EXPECT_EQ(line->GetArrowAngle(), 60);
    EXPECT_EQ(line->GetArrowFill(), 0);
    EXPECT_EQ(line->GetArrowSize(), 1);
    EXPECT_EQ(line->GetAngle(), 0);
    EXPECT_EQ(line->GetOffsetStart(), (LayoutPoint{0, 0}));
    EXPECT_EQ(line->GetOffsetEnd(), (LayoutPoint{0, 0}));

    CLineObj* second = CreateLineObject(&t.layout, t.layout.ItemListHead());
    EXPECT_EQ(line->NextItem(), second);
    EXPECT_EQ(CreateLineObject(&t.layout, nullptr), nullptr);
}

TEST(MoveFreeLineEnd, StoresTheEndOnlyWithin142To212598Units) {
    struct Case {
        LayoutPoint target;  // of the moved end, from the other
        int32_t length;      // after the move; 1000 when it is refused
    };
    for (int end : {0, 1}) {
        for (const Case& c : {Case{{100, 100}, 1000}, Case{{101, 100}, 142}, Case{{141, 0}, 1000},
                              Case{{0, -142}, 142}, Case{{212598, 0}, 212598}, Case{{212599, 0}, 1000},
                              Case{{-150330, -150330}, 212598}, Case{{150331, -150330}, 1000}, Case{{0, 0}, 1000}}) {
            SCOPED_TRACE(testing::Message() << "end " << end << " to " << c.target.x << ',' << c.target.y);
            TestLayout t;
            CLineObj* line = AddLine(t, {5000, 5000}, {6000, 5000});
            const LayoutPoint fixed = end == 0 ? EndOnPage(*line) : StartOnPage(*line);
            const LayoutPoint moved = end == 0 ? StartOnPage(*line) : EndOnPage(*line);
            const LayoutPoint target{fixed.x + c.target.x, fixed.y + c.target.y};
            MoveFreeLineEnd(*line, target.x - moved.x, target.y - moved.y, end);
            const bool accepted = c.length != 1000;
            EXPECT_EQ(end == 0 ? StartOnPage(*line) : EndOnPage(*line), accepted ? target : moved);
            EXPECT_EQ(end == 0 ? EndOnPage(*line) : StartOnPage(*line), fixed);
            EXPECT_EQ(line->GetLength(), c.length);
            ExpectBoundingBox(*line);
        }
    }
}

TEST(MoveFreeLineEnd, DerivesLengthAngleAndOrigin) {
    struct Case {
        LayoutPoint end;  // from the start at (1000, 1000)
        int32_t length;
        int16_t angle;
        LayoutPoint origin;  // `mOffsetOrgPos` on the page
    };
    for (const Case& c : {Case{{1000, 0}, 1000, 0, {1000, 1000}},
                          Case{{0, 1000}, 1000, 90, {500, 1499}},
                          Case{{0, -1000}, 1000, -90, {500, 501}},  // pointing up: negative
                          Case{{-1000, 0}, 1000, 180, {1, 1000}},
                          Case{{300, -400}, 500, -53, {900, 801}}}) {
        SCOPED_TRACE(testing::Message() << c.end.x << ',' << c.end.y);
        TestLayout t;
        CLineObj* line = AddLine(t, {1000, 1000}, {1000 + c.end.x, 1000 + c.end.y});
        EXPECT_EQ(line->GetLength(), c.length);
        EXPECT_EQ(line->GetAngle(), c.angle);
        EXPECT_EQ(OnPage(*line, line->GetOffsetOrgPos()), c.origin);
    }
}

TEST(MoveFreeLineEnd, CoincidingEndsGiveLengthAndAngle0) {
    TestLayout t;
    CLineObj* line = CreateLineObject(&t.layout, t.layout.ItemListHead());
    line->SetPosition(700, 800);
    line->SetAngle(45);
    MoveFreeLineEnd(*line, 50, 0, 1);  // 50 is too short: refused
    EXPECT_EQ(line->GetLength(), 0);
    EXPECT_EQ(line->GetAngle(), 0);
    EXPECT_EQ(StartOnPage(*line), (LayoutPoint{700, 800}));
    EXPECT_EQ(EndOnPage(*line), (LayoutPoint{700, 800}));
    ExpectBoundingBox(*line);
}

TEST(ComputeFreeLineGeometry, OutlineFollowsTheArrowHeads) {
    // A horizontal line from (1000, 2000) to (2000, 2000), 100 thick, arrow size 1: the
    // half base of a head is 200, its length 200 at 90 degrees and trunc(200 * sqrt 3) =
    // 346 otherwise. Across the line sin(90 degrees) with pi as 3.14159 is a hair below 1,
    // so the products across truncate to 49 and 199.
    struct Case {
        int16_t mark, arrowAngle;
        std::vector<LayoutPoint> outline;
    };
    for (const Case& c : {
             Case{0, 60, {{1000, 2049}, {1000, 1951}, {2000, 2049}, {2000, 1951}}},
             Case{1, 90, {{1200, 2199}, {1200, 1801}, {2000, 2049}, {2000, 1951}}},
             Case{1, 60, {{1346, 2199}, {1346, 1801}, {2000, 2049}, {2000, 1951}}},
             Case{2, 90, {{1200, 2199}, {1200, 1801}, {1800, 2199}, {1800, 1801}}},
             Case{2, 60, {{1346, 2199}, {1346, 1801}, {1654, 2199}, {1654, 1801}}},
         }) {
        SCOPED_TRACE(testing::Message() << "mark " << c.mark << " angle " << c.arrowAngle);
        TestLayout t;
        CLineObj* line = AddLine(t, {1000, 2000}, {2000, 2000});
        line->SetArrowMark(c.mark);
        line->SetArrowAngle(c.arrowAngle);
        ComputeFreeLineGeometry(*line);
        EXPECT_EQ(OutlineOnPage(*line), c.outline);
        EXPECT_EQ(StartOnPage(*line), (LayoutPoint{1000, 2000}));
        EXPECT_EQ(EndOnPage(*line), (LayoutPoint{2000, 2000}));
        EXPECT_EQ(OnPage(*line, line->GetOffsetOrgPos()), (LayoutPoint{1000, 2000}));
        ExpectBoundingBox(*line);
    }
}

TEST(ComputeFreeLineGeometry, TurnedLineKeepsItsEndsAndBoundsItsOutline) {
    for (LayoutPoint end : {LayoutPoint{700, 700}, LayoutPoint{-300, 900}, LayoutPoint{-800, -10}, LayoutPoint{5, -600}}) {
        SCOPED_TRACE(testing::Message() << end.x << ',' << end.y);
        TestLayout t;
        CLineObj* line = AddLine(t, {3000, 3000}, {3000 + end.x, 3000 + end.y});
        line->SetArrowMark(2);
        line->SetThickness(37);
        line->SetArrowSize(3);
        ComputeFreeLineGeometry(*line);
        EXPECT_EQ(StartOnPage(*line), (LayoutPoint{3000, 3000}));
        EXPECT_EQ(EndOnPage(*line), (LayoutPoint{3000 + end.x, 3000 + end.y}));
        ExpectBoundingBox(*line);
    }
}

TEST(ComputeFreeLineGeometry, DamagedThicknessAndArrowSizeSaturate) {
    TestLayout t;
    CLineObj* line = AddLine(t, {1000, 1000}, {2000, 1500});
    line->SetArrowMark(2);
    for (int32_t thickness : {INT32_MAX, INT32_MIN, -100}) {
        SCOPED_TRACE(thickness);
        line->SetThickness(thickness);
        line->SetArrowSize(INT16_MIN);
        ComputeFreeLineGeometry(*line);
        EXPECT_GE(line->GetSize().x, 0);
        EXPECT_GE(line->GetSize().y, 0);
    }
}

}  // namespace
}  // namespace vx
