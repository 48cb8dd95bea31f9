#include "model/CRectProp.h"

#include "model/CObjNode.h"

namespace vx {

CRectProp::CRectProp(CObjNode& owner, std::string_view name)
    : CPropertyMember(owner, name, ValueType::Rect) {}

LayoutRect CRectProp::Get() const { return GetAs<LayoutRect>(); }

void CRectProp::Set(LayoutRect r) const { CPropertyMember::Set(r); }

int32_t CRectProp::Change(int32_t LayoutRect::*edge, int64_t value, bool relative) const {
    LayoutRect r = Get();
    r.*edge = ClampToInt32(relative ? r.*edge + value : value);
    Set(r);
    return r.*edge;
}

int32_t CRectProp::SetLeft(int32_t v) const { return Change(&LayoutRect::left, v, false); }
int32_t CRectProp::SetTop(int32_t v) const { return Change(&LayoutRect::top, v, false); }
int32_t CRectProp::SetRight(int32_t v) const { return Change(&LayoutRect::right, v, false); }
int32_t CRectProp::SetBottom(int32_t v) const { return Change(&LayoutRect::bottom, v, false); }
int32_t CRectProp::AddLeft(int32_t d) const { return Change(&LayoutRect::left, d, true); }
int32_t CRectProp::AddTop(int32_t d) const { return Change(&LayoutRect::top, d, true); }
int32_t CRectProp::AddRight(int32_t d) const { return Change(&LayoutRect::right, d, true); }
int32_t CRectProp::AddBottom(int32_t d) const { return Change(&LayoutRect::bottom, d, true); }

}  // namespace vx
