#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "model/CObjNode.h"
#include "model/CPointProp.h"
#include "model/CPropertyMember.h"
#include "model/CRectProp.h"
#include "model/PropertyTable.h"

namespace vx {
namespace {

// A record whose setters log every whole-value write.
class ProbeRecord : public CObjNode {
public:
    ProbeRecord() : CObjNode(false) {}
    bool Access(std::string_view name, bool write, PropertyValue& value) override {
        return Table().Access(*this, name, write, value) || CObjNode::Access(name, write, value);
    }
    int16_t GetShortValue() const { return mShort; }
    void SetShortValue(int16_t v) { mShort = v; writes.push_back("short"); }
    int32_t GetLongValue() const { return mLong; }
    void SetLongValue(int32_t v) { mLong = v; writes.push_back("long"); }
    int32_t GetOtherLong() const { return mOther; }
    void SetOtherLong(int32_t v) { mOther = v; writes.push_back("other"); }
    LayoutPoint GetPointValue() const { return mPoint; }
    void SetPointValue(LayoutPoint v) { mPoint = v; writes.push_back("point"); }
    LayoutPoint GetOtherPoint() const { return mOtherPoint; }
    void SetOtherPoint(LayoutPoint v) { mOtherPoint = v; writes.push_back("otherPoint"); }
    LayoutRect GetRectValue() const { return mRect; }
    void SetRectValue(LayoutRect v) { mRect = v; writes.push_back("rect"); }
    LayoutRect GetOtherRect() const { return mOtherRect; }
    void SetOtherRect(LayoutRect v) { mOtherRect = v; writes.push_back("otherRect"); }

    std::vector<std::string> writes;

private:
    static const PropertyTable<ProbeRecord>& Table() {
        using V = ValueType;
        using C = ProbeRecord;
        static const PropertyTable<ProbeRecord> table({
            PropertyField<V::Short, &C::GetShortValue, &C::SetShortValue>("mShort"),
            PropertyField<V::Long, &C::GetLongValue, &C::SetLongValue>("mLong"),
            PropertyField<V::Flag, &C::GetOtherLong, &C::SetOtherLong>("mOther"),
            PropertyField<V::Point, &C::GetPointValue, &C::SetPointValue>("mPoint"),
            PropertyField<V::Point, &C::GetOtherPoint, &C::SetOtherPoint>("mOtherPoint"),
            PropertyField<V::Rect, &C::GetRectValue, &C::SetRectValue>("mRect"),
            PropertyField<V::Rect, &C::GetOtherRect, &C::SetOtherRect>("mOtherRect"),
        });
        return table;
    }
    int16_t mShort = 0;
    int32_t mLong = 0, mOther = 0;
    LayoutPoint mPoint{10, 20}, mOtherPoint{3, 4};
    LayoutRect mRect{1, 2, 3, 4}, mOtherRect{-7, -8, 70, 80};
};

TEST(CPointProp, EachOperationWritesTheWholePointOnce) {
    struct Case {
        const char* what;
        std::function<int32_t(const CPointProp&, const CPointProp&)> op;
        int32_t result;
        LayoutPoint after;
    };
    const std::vector<Case> cases = {
        {"AddX 5", [](auto& p, auto&) { return p.AddX(5); }, 15, {15, 20}},
        {"AddY -25", [](auto& p, auto&) { return p.AddY(-25); }, -5, {10, -5}},
        {"SubX 4", [](auto& p, auto&) { return p.SubX(4); }, 6, {6, 20}},
        {"SubY 5", [](auto& p, auto&) { return p.SubY(5); }, 15, {10, 15}},
        {"SetX 7", [](auto& p, auto&) { return p.SetX(7); }, 7, {7, 20}},
        {"SetY 8", [](auto& p, auto&) { return p.SetY(8); }, 8, {10, 8}},
        {"SetXFrom", [](auto& p, auto& o) { p.SetXFrom(o); return 0; }, 0, {3, 20}},
        {"SetYFrom", [](auto& p, auto& o) { p.SetYFrom(o); return 0; }, 0, {10, 4}},
        {"AddX saturates", [](auto& p, auto&) { return p.AddX(INT32_MAX); }, INT32_MAX, {INT32_MAX, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProbeRecord r;
        CPointProp point(r, "mPoint"), other(r, "mOtherPoint");
        EXPECT_EQ(c.op(point, other), c.result);
        EXPECT_EQ(r.GetPointValue(), c.after);
        EXPECT_EQ(r.writes, std::vector<std::string>{"point"});
    }
    ProbeRecord r;
    EXPECT_EQ(CPointProp(r, "mPoint").GetY(), 20);
    EXPECT_EQ(CPointProp(r, "mRect").AddX(5), 5);  // no point: reads (0, 0), is refused
    EXPECT_EQ(r.GetRectValue(), (LayoutRect{1, 2, 3, 4}));
}

TEST(CRectProp, EachOperationWritesTheWholeRectangleOnce) {
    struct Case {
        const char* what;
        std::function<int32_t(const CRectProp&, const CRectProp&)> op;
        int32_t result;
        LayoutRect after;
    };
    const std::vector<Case> cases = {
        {"AddRight 5", [](auto& r, auto&) { return r.AddRight(5); }, 8, {1, 2, 8, 4}},
        {"AddLeft -1", [](auto& r, auto&) { return r.AddLeft(-1); }, 0, {0, 2, 3, 4}},
        {"AddTop 10", [](auto& r, auto&) { return r.AddTop(10); }, 12, {1, 12, 3, 4}},
        {"AddBottom 1", [](auto& r, auto&) { return r.AddBottom(1); }, 5, {1, 2, 3, 5}},
        {"SetBottom 9", [](auto& r, auto&) { return r.SetBottom(9); }, 9, {1, 2, 3, 9}},
        {"SetTop 9", [](auto& r, auto&) { return r.SetTop(9); }, 9, {1, 9, 3, 4}},
        {"SetLeftFrom", [](auto& r, auto& o) { r.SetLeftFrom(o); return 0; }, 0, {-7, 2, 3, 4}},
        {"SetTopFrom", [](auto& r, auto& o) { r.SetTopFrom(o); return 0; }, 0, {1, -8, 3, 4}},
        {"SetRect", [](auto& r, auto&) { r.SetRect(5, 6, 7, 8); return 0; }, 0, {5, 6, 7, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProbeRecord r;
        CRectProp rect(r, "mRect"), other(r, "mOtherRect");
        EXPECT_EQ(c.op(rect, other), c.result);
        EXPECT_EQ(r.GetRectValue(), c.after);
        EXPECT_EQ(r.writes, std::vector<std::string>{"rect"});
    }
}

TEST(CPropertyMember, TypedValuesGoThroughTheOwner) {
    ProbeRecord r;
    CPropertyMember s(r, "mShort", ValueType::Short), l(r, "mLong", ValueType::Long),
        other(r, "mOther", ValueType::Flag), point(r, "mPoint", ValueType::Point);
    EXPECT_EQ(s.SetShort(-12), -12);
    EXPECT_EQ(s.GetShort(), -12);
    EXPECT_EQ(l.SetLong(123456), 123456);
    other.CopyLongFrom(l);
    EXPECT_EQ(r.GetOtherLong(), 123456);
    EXPECT_EQ(r.writes, (std::vector<std::string>{"short", "long", "other"}));

    // Another width is refused, never written past.
    EXPECT_EQ(s.SetLong(99), 99);
    EXPECT_EQ(r.GetShortValue(), -12);
    EXPECT_EQ(l.GetShort(), 0);
    other.CopyLongFrom(point);
    EXPECT_EQ(r.GetOtherLong(), 123456);
    EXPECT_EQ(r.writes.size(), 3u);
    EXPECT_EQ(point.Get(), PropertyValue(LayoutPoint{10, 20}));
    EXPECT_EQ(CPropertyMember(r, "mMissing", ValueType::Long).Get(), PropertyValue{});
    EXPECT_FALSE(CPropertyMember(r, "mMissing", ValueType::Long).Set(int32_t(1)));
}

}  // namespace
}  // namespace vx
