#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "model/PropertyValue.h"

namespace vx {

class CObjNode;

/// One named property of a record: owner, name and value type. Every operation goes
/// through the owner's `Access` by name, so the owner's setter sees each change. A
/// handle: copying it never copies the value.
class CPropertyMember {
public:
    CPropertyMember(CObjNode& owner, std::string_view name, ValueType type);

    CObjNode& Owner() const { return *mOwner; }
    const std::string& Name() const { return mName; }
    ValueType Type() const { return mType; }

    /// The value; empty when the owner does not answer the name with this type.
    PropertyValue Get() const;
    /// Writes value; false when no class of the owner knows the name.
    bool Set(const PropertyValue& value) const;

    /// Stores v as a 16-bit or 32-bit value and returns v.
    int16_t SetShort(int16_t v) const;
    int32_t SetLong(int32_t v) const;
    /// The 16-bit or 32-bit value; 0 when the owner has none of that form.
    int16_t GetShort() const;
    int32_t GetLong() const;
    /// Writes the 32-bit value of other into this member; nothing when other has none.
    void CopyLongFrom(const CPropertyMember& other) const;

protected:
    template <class T>
    T GetAs() const {
        PropertyValue v = T{};
        Access(false, v);
        return std::get<T>(v);
    }
    bool Access(bool write, PropertyValue& value) const;

private:
    CObjNode* mOwner;
    std::string mName;
    ValueType mType;
};

}  // namespace vx
