#pragma once
#include <cstdint>
#include <string_view>

#include "model/CPropertyMember.h"
#include "model/LayoutTypes.h"

namespace vx {

/// A point or size property. Each component operation reads the whole value through
/// the owner's Access, changes one component and writes the whole value back; a
/// property that is no point reads as (0, 0) and is not written.
class CPointProp : public CPropertyMember {
public:
    CPointProp(CObjNode& owner, std::string_view name);

    LayoutPoint Get() const;
    void Set(LayoutPoint p) const;

    int32_t GetX() const { return Get().x; }
    int32_t GetY() const { return Get().y; }
    /// Each returns the new component.
    int32_t SetX(int32_t v) const;
    int32_t SetY(int32_t v) const;
    int32_t AddX(int32_t d) const;
    int32_t AddY(int32_t d) const;
    int32_t SubX(int32_t d) const;
    int32_t SubY(int32_t d) const;
    /// Takes x (or y) of another point property.
    void SetXFrom(const CPointProp& other) const { SetX(other.GetX()); }
    void SetYFrom(const CPointProp& other) const { SetY(other.GetY()); }

private:
    int32_t Change(int32_t LayoutPoint::*component, int64_t value, bool relative) const;
};

}  // namespace vx
