#include "model/CCutLineObj.h"

#include <algorithm>

#include "model/LayoutLimits.h"
#include "model/PropertyTable.h"

namespace vx {

CCutLineObj::CCutLineObj(bool newId, std::string_view name) : CLayoutObj(newId, name, kKindCutLine) {}

const PropertyTable<CCutLineObj>& CCutLineObj::Properties() {
    using V = ValueType;
    using C = CCutLineObj;
    static const PropertyTable<CCutLineObj> table({
        PropertyField<V::Short, &C::GetCutterType, &C::SetCutterType>("mCutterType"),
        PropertyField<V::Short, &C::GetCutMark, &C::SetCutMark>("mCutMark"),
        PropertyField<V::Long, &C::GetCutMarkSpace, &C::SetCutMarkSpace>("mCutMarkSpace"),
        PropertyField<V::Long, &C::GetMargin, &C::SetMargin>("mMargin"),
        // Copied together with the arrays whose length it is.
        PropertyField<V::Long, &C::GetImageObj, &C::SetImageObj>("mImageObj", PropertyCopy::Never),
    });
    return table;
}

bool CCutLineObj::Access(std::string_view name, bool write, PropertyValue& value) {
    return Properties().Access(*this, name, write, value) || CLayoutObj::Access(name, write, value);
}

std::vector<CPropertyMember> CCutLineObj::InitPropertyNames() {
    return MembersThenBase<CLayoutObj>(*this, Properties());
}

void CCutLineObj::CopyFrom(const CObjNode& source, bool copyLink) {
    const CCutLineObj* src = &CopySourceAs<CCutLineObj>(source);
    Arrays arrays = src->mArrays;  // may throw; the target is still whole then
    CLayoutObj::CopyFrom(source, copyLink);
    mArrays = std::move(arrays);
    mImageObj = src->mImageObj;
    Properties().CopyAll(*this, *src, false);
}

void CCutLineObj::SetImageObj(int32_t count) {
    const auto n = size_t(std::clamp(count, 0, kMaxLayoutObjects));
    Arrays resized = mArrays;
    for (std::vector<int32_t>& v : resized.values) v.resize(n);
    resized.rects.resize(n);
    mArrays = std::move(resized);
    mImageObj = int32_t(n);
}

}  // namespace vx
