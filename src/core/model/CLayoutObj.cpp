#include "model/CLayoutObj.h"

#include "model/CLayoutSetting.h"
#include "model/PropertyTable.h"
#include "platform/system/Numbers.h"

namespace vx {

CLayoutObj::CLayoutObj(bool newId, std::string_view name, int16_t kind)
    : CObjNode(newId), mName(name), mType(kRecordTypeLayout), mKind(kind) {}

const PropertyTable<CLayoutObj>& CLayoutObj::Properties() {
    using V = ValueType;
    using C = CLayoutObj;
    static const PropertyTable<CLayoutObj> table({
        PropertyField<V::Short, &C::GetType, &C::SetType>("mType"),
        PropertyReadOnly<V::Short, &C::GetKind>("mKind"),
        PropertyField<V::Flag, &C::GetSelected, &C::SetSelected>("mSelected"),
        PropertyField<V::Flag, &C::GetLastModified, &C::SetLastModified>("mLastModified"),
        PropertyField<V::Point, &C::GetPosition, &C::SetPositionPoint>("mPosition"),
        PropertyField<V::Point, &C::GetSize, &C::SetSizePoint>("mSize"),
        PropertyField<V::Point, &C::GetOffsetOrgPos, &C::SetOffsetOrgPos>("mOffsetOrgPos"),
        PropertyField<V::Point, &C::GetOrgSize, &C::SetOrgSize>("mOrgSize"),
        PropertyField<V::Short, &C::GetAngle, &C::SetAngle>("mAngle"),
        PropertyField<V::Flag, &C::GetDblClickSelected, &C::SetDblClickSelected>("mDblClickSelected"),
        // The change and view marks describe the item's own drawing: copies leave them.
        PropertyField<V::Flag, &C::GetChanged, &C::SetChanged>("mChanged", PropertyCopy::Never),
        PropertyField<V::Flag, &C::GetOnview, &C::SetOnview>("mOnview", PropertyCopy::Never),
        PropertyField<V::Rect, &C::GetViewImage, &C::SetViewImage>("mViewImage", PropertyCopy::Never),
    });
    return table;
}

bool CLayoutObj::Access(std::string_view name, bool write, PropertyValue& value) {
    return Properties().Access(*this, name, write, value) || CObjNode::Access(name, write, value);
}

std::vector<CPropertyMember> CLayoutObj::InitPropertyNames() {
    return MembersThenBase<CObjNode>(*this, Properties());
}

void CLayoutObj::CopyFrom(const CObjNode& source, bool copyLink) {
    const CLayoutObj* src = &CopySourceAs<CLayoutObj>(source);
    std::string name = src->mName;
    CObjNode::CopyFrom(source, copyLink);
    mName = std::move(name);
    mOwner = src->mOwner;
    // Position and size pass through their whole-unit getters: copies stand on whole units.
    Properties().CopyAll(*this, *src, false);
}

LayoutPoint CLayoutObj::GetOrigin() const { return GetPosition(); }

LayoutPoint CLayoutObj::GetPosition() const {
    return {TruncToInt32(mPosition.x), TruncToInt32(mPosition.y)};
}

LayoutPoint CLayoutObj::GetSize() const { return {TruncToInt32(mSize.x), TruncToInt32(mSize.y)}; }

LayoutRect CLayoutObj::GetRect() const {
    LayoutPoint p = GetPosition(), s = GetSize();
    return {p.x, p.y, ClampToInt32(int64_t(p.x) + s.x), ClampToInt32(int64_t(p.y) + s.y)};
}

void CLayoutObj::SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    SetPosition(left, top);
    SetSizeD(double(right) - double(left), double(bottom) - double(top));
}

void CLayoutObj::MoveWithinPage(int32_t x, int32_t y) {
    const int64_t h = mOwner ? mOwner->GetPaper().y : 0;
    if (h > 0) {
        const int64_t pageTop = int64_t(GetPosition().y) / h * h;
        if (y < pageTop) y = ClampToInt32(pageTop + 1);
    }
    SetPosition(x, y);
}

}  // namespace vx
