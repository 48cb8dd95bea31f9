#include "model/CLineObj.h"

#include "model/PropertyTable.h"

namespace vx {

CLineObj::CLineObj(bool newId, std::string_view name) : CLayoutObj(newId, name, kKindLine) {}

const PropertyTable<CLineObj>& CLineObj::Properties() {
    using V = ValueType;
    using C = CLineObj;
    static const PropertyTable<CLineObj> table({
        PropertyField<V::Short, &C::GetLineStyle, &C::SetLineStyle>("mLineStyle"),
        PropertyField<V::Long, &C::GetThickness, &C::SetThickness>("mThickness"),
        PropertyField<V::Long, &C::GetLength, &C::SetLength>("mLength"),
        PropertyField<V::Short, &C::GetArrowMark, &C::SetArrowMark>("mArrowMark"),
        PropertyField<V::Short, &C::GetArrowAngle, &C::SetArrowAngle>("mArrowAngle"),
        PropertyField<V::Flag, &C::GetArrowFill, &C::SetArrowFill>("mArrowFill"),
        PropertyField<V::Short, &C::GetArrowSize, &C::SetArrowSize>("mArrowSize"),
        PropertyField<V::Point, &C::GetOffsetStart, &C::SetOffsetStart>("mOffsetStart"),
        PropertyField<V::Point, &C::GetOffsetEnd, &C::SetOffsetEnd>("mOffsetEnd"),
    });
    return table;
}

bool CLineObj::Access(std::string_view name, bool write, PropertyValue& value) {
    return Properties().Access(*this, name, write, value) || CLayoutObj::Access(name, write, value);
}

std::vector<CPropertyMember> CLineObj::InitPropertyNames() {
    return MembersThenBase<CLayoutObj>(*this, Properties());
}

void CLineObj::CopyFrom(const CObjNode& source, bool copyLink) {
    const CLineObj* src = &CopySourceAs<CLineObj>(source);
    CLayoutObj::CopyFrom(source, copyLink);
    mLineColor = src->mLineColor;
    mGeometry = src->mGeometry;
    Properties().CopyAll(*this, *src, false);
}

}  // namespace vx
