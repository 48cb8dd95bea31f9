#include "model/CPropertyMember.h"

#include "model/CObjNode.h"

namespace vx {

CPropertyMember::CPropertyMember(CObjNode& owner, std::string_view name, ValueType type)
    : mOwner(&owner), mName(name), mType(type) {}

bool CPropertyMember::Access(bool write, PropertyValue& value) const {
    return mOwner->Access(mName, write, value);
}

PropertyValue CPropertyMember::Get() const {
    PropertyValue v;
    Access(false, v);
    return HoldsType(v, mType) ? v : PropertyValue{};
}

bool CPropertyMember::Set(const PropertyValue& value) const {
    PropertyValue v = value;
    return Access(true, v);
}

int16_t CPropertyMember::SetShort(int16_t v) const {
    Set(v);
    return v;
}

int32_t CPropertyMember::SetLong(int32_t v) const {
    Set(v);
    return v;
}

int16_t CPropertyMember::GetShort() const { return GetAs<int16_t>(); }

int32_t CPropertyMember::GetLong() const { return GetAs<int32_t>(); }

void CPropertyMember::CopyLongFrom(const CPropertyMember& other) const {
    PropertyValue v;
    other.Access(false, v);
    if (std::holds_alternative<int32_t>(v)) Set(v);  // nothing to copy from another form
}

}  // namespace vx
