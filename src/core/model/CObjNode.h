#pragma once
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "model/CPropertyMember.h"
#include "model/PropertyValue.h"

namespace vx {

/// Base of every layout record: the list link, the object id and named-property access.
/// Records are not copyable; CopyFrom copies values between existing records.
class CObjNode {
public:
    virtual ~CObjNode() = default;
    CObjNode(const CObjNode&) = delete;
    CObjNode& operator=(const CObjNode&) = delete;

    /// Reads (write false) or writes the property `name` through `value`. Names are
    /// exact and case-sensitive; a class passes names it does not declare to its base.
    /// A value of another type than the property's is refused, as is a write of a
    /// read-only name; nothing changes then. Returns whether a class of the chain
    /// knows the name ("mNext" is read-only: lists change only through list operations).
    virtual bool Access(std::string_view name, bool write, PropertyValue& value);

    /// The record's named members in the order Access searches them: its own class's
    /// first, then each base's, "mNext" last.
    virtual std::vector<CPropertyMember> InitPropertyNames();

    /// Copies source's values into this record; derived records extend it and call
    /// their base first. Never copies the object id; copies the link only when copyLink.
    virtual void CopyFrom(const CObjNode& source, bool copyLink);

    CObjNode* GetNext() const { return mNext; }
    /// Sets the list link; for list code that links records itself.
    void SetNext(CObjNode* next) { mNext = next; }

    /// 0, or a number from the process-wide counter that no other record of this run has.
    uint32_t GetObjectId() const { return mObjectId; }

protected:
    /// With newId the record draws the next object id (the first is 1), else its id is 0.
    explicit CObjNode(bool newId);

    /// source as a T, for CopyFrom; a record of another class is a caller's bug.
    template <class T>
    static const T& CopySourceAs(const CObjNode& source) {
        if (const auto* s = dynamic_cast<const T*>(&source)) return *s;
        throw std::invalid_argument("CopyFrom: source is a record of another class");
    }

private:
    friend class CLayoutSetting;  // whole-layout copies keep ids when asked
    void SetObjectId(uint32_t id) { mObjectId = id; }

    CObjNode* mNext = nullptr;
    uint32_t mObjectId = 0;
};

}  // namespace vx
