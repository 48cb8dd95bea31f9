#include "model/CPointProp.h"

#include "model/CObjNode.h"

namespace vx {

CPointProp::CPointProp(CObjNode& owner, std::string_view name)
    : CPropertyMember(owner, name, ValueType::Point) {}

LayoutPoint CPointProp::Get() const { return GetAs<LayoutPoint>(); }

void CPointProp::Set(LayoutPoint p) const { CPropertyMember::Set(p); }

int32_t CPointProp::Change(int32_t LayoutPoint::*component, int64_t value, bool relative) const {
    LayoutPoint p = Get();
    p.*component = ClampToInt32(relative ? p.*component + value : value);
    Set(p);
    return p.*component;
}

int32_t CPointProp::SetX(int32_t v) const { return Change(&LayoutPoint::x, v, false); }
int32_t CPointProp::SetY(int32_t v) const { return Change(&LayoutPoint::y, v, false); }
int32_t CPointProp::AddX(int32_t d) const { return Change(&LayoutPoint::x, d, true); }
int32_t CPointProp::AddY(int32_t d) const { return Change(&LayoutPoint::y, d, true); }
int32_t CPointProp::SubX(int32_t d) const { return Change(&LayoutPoint::x, -int64_t(d), true); }
int32_t CPointProp::SubY(int32_t d) const { return Change(&LayoutPoint::y, -int64_t(d), true); }

}  // namespace vx
