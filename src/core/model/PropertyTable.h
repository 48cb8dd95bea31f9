#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/CPropertyMember.h"
#include "model/PropertyValue.h"

namespace vx {

/// How CopyFrom treats a property.
enum class PropertyCopy : uint8_t {
    Always,
    UnlessLocal,  // a copy that keeps the target's local view and output settings leaves it
    Never,
};

/// One named property of a record class R: how Access reads and writes it and how
/// CopyFrom copies it.
template <class R>
struct PropertyEntry {
    std::string_view name;
    ValueType type;
    PropertyValue (*read)(R&);
    void (*write)(R&, const PropertyValue&);  // null: read-only by name
    void (*copy)(R&, const R&);               // null: CopyFrom leaves it
    bool member = true;  // false: Access answers it, but the record lists no member
    bool local = false;  // see PropertyCopy::UnlessLocal
};

/// The named properties of one record class, in declaration order. Names are unique
/// within a class, so a hash lookup finds what a scan in declaration order would.
template <class R>
class PropertyTable {
public:
    explicit PropertyTable(std::vector<PropertyEntry<R>> entries) : mEntries(std::move(entries)) {
        for (size_t i = 0; i < mEntries.size(); ++i)
            if (!mIndex.emplace(mEntries[i].name, i).second)
                throw std::logic_error("duplicate property " + std::string(mEntries[i].name));
    }

    const std::vector<PropertyEntry<R>>& Entries() const { return mEntries; }

    const PropertyEntry<R>* Find(std::string_view name) const {
        auto it = mIndex.find(name);
        return it == mIndex.end() ? nullptr : &mEntries[it->second];
    }

    /// Access for the names of this class; false when the name is not among them.
    bool Access(R& record, std::string_view name, bool write, PropertyValue& value) const {
        const PropertyEntry<R>* e = Find(name);
        if (!e) return false;
        if (write) {
            if (e->write && HoldsType(value, e->type)) e->write(record, value);
        } else if (std::holds_alternative<std::monostate>(value) || HoldsType(value, e->type)) {
            value = e->read(record);
        }
        return true;
    }

    /// Appends the members of this class, bound to record, in declaration order.
    void AppendMembers(R& record, std::vector<CPropertyMember>& out) const {
        for (const PropertyEntry<R>& e : mEntries)
            if (e.member) out.emplace_back(record, e.name, e.type);
    }

    /// Copies every copied property from source, in declaration order.
    void CopyAll(R& target, const R& source, bool keepLocal) const {
        for (const PropertyEntry<R>& e : mEntries)
            if (e.copy && !(keepLocal && e.local)) e.copy(target, source);
    }

private:
    std::vector<PropertyEntry<R>> mEntries;
    std::unordered_map<std::string_view, size_t> mIndex;
};

/// InitPropertyNames of a class R with base class Base: R's members, then Base's.
template <class Base, class R>
std::vector<CPropertyMember> MembersThenBase(R& record, const PropertyTable<R>& table) {
    std::vector<CPropertyMember> members;
    table.AppendMembers(record, members);
    std::vector<CPropertyMember> base = record.Base::InitPropertyNames();
    members.insert(members.end(), base.begin(), base.end());
    return members;
}

namespace property_detail {
template <class M> struct GetterTraits;
template <class C, class T> struct GetterTraits<T (C::*)() const> {
    using Class = C;
    using Value = T;
};
}  // namespace property_detail

/// An entry read by a typed getter and written by a one-line typed setter of R; a
/// copy takes the getter's value of the source.
template <ValueType Type, auto Getter, auto Setter>
auto PropertyField(std::string_view name, PropertyCopy rule = PropertyCopy::Always) {
    using Traits = property_detail::GetterTraits<decltype(Getter)>;
    using R = typename Traits::Class;
    using T = PropertyCType<Type>;
    static_assert(std::is_same_v<typename Traits::Value, T>, "getter type differs from the value type");
    return PropertyEntry<R>{
        name, Type,
        [](R& r) { return PropertyValue(std::in_place_type<T>, (r.*Getter)()); },
        [](R& r, const PropertyValue& v) { (r.*Setter)(std::get<T>(v)); },
        rule == PropertyCopy::Never
            ? nullptr
            : +[](R& target, const R& source) { (target.*Setter)((source.*Getter)()); },
        true, rule == PropertyCopy::UnlessLocal};
}

/// A read-only entry: written by name it changes nothing, and copies leave it.
template <ValueType Type, auto Getter>
auto PropertyReadOnly(std::string_view name) {
    using Traits = property_detail::GetterTraits<decltype(Getter)>;
    using R = typename Traits::Class;
    using T = PropertyCType<Type>;
    static_assert(std::is_same_v<typename Traits::Value, T>, "getter type differs from the value type");
    return PropertyEntry<R>{
        name, Type, [](R& r) { return PropertyValue(std::in_place_type<T>, (r.*Getter)()); },
        nullptr, nullptr, true, false};
}

}  // namespace vx
