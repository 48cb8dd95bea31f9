#include "model/CTextObj.h"

#include "model/PropertyTable.h"

namespace vx {

CTextObj::CTextObj(bool newId, std::string_view name) : CLayoutObj(newId, name, kKindText) {}

const PropertyTable<CTextObj>& CTextObj::Properties() {
    using V = ValueType;
    using C = CTextObj;
    static const PropertyTable<CTextObj> table({
        PropertyField<V::Short, &C::GetTextLineHeight, &C::SetTextLineHeight>("mTextLineHeight"),
        PropertyField<V::Short, &C::GetTextJustify, &C::SetTextJustify>("mTextJustify"),
        PropertyField<V::Flag, &C::GetColumnarWriting, &C::SetColumnarWriting>("mColumnarWriting"),
        PropertyField<V::Flag, &C::GetBackgroundColor, &C::SetBackgroundColor>("mBackgroundColor"),
    });
    return table;
}

bool CTextObj::Access(std::string_view name, bool write, PropertyValue& value) {
    return Properties().Access(*this, name, write, value) || CLayoutObj::Access(name, write, value);
}

std::vector<CPropertyMember> CTextObj::InitPropertyNames() {
    return MembersThenBase<CLayoutObj>(*this, Properties());
}

void CTextObj::CopyFrom(const CObjNode& source, bool copyLink) {
    const CTextObj* src = &CopySourceAs<CTextObj>(source);
    CLayoutObj::CopyFrom(source, copyLink);
    mText = src->mText;
    mFont = src->mFont;
    mBackgroundColorValue = src->mBackgroundColorValue;
    mBox = src->mBox;
    Properties().CopyAll(*this, *src, false);
}

LayoutPoint CTextObj::GetOrigin() const {
    LayoutPoint p = GetPosition();
    const LayoutPoint& offset = mBox[mColumnarWriting ? 2 : 0];
    return {ClampToInt32(int64_t(p.x) + offset.x), ClampToInt32(int64_t(p.y) + offset.y)};
}

}  // namespace vx
