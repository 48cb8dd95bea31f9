#pragma once
#include <cstdint>
#include <string_view>

#include "model/CPropertyMember.h"
#include "model/LayoutTypes.h"

namespace vx {

/// A rectangle property. Each edge operation reads the whole value through the owner's
/// Access, changes one edge and writes the whole value back; a property that is no
/// rectangle reads as all zero and is not written.
class CRectProp : public CPropertyMember {
public:
    CRectProp(CObjNode& owner, std::string_view name);

    LayoutRect Get() const;
    void Set(LayoutRect r) const;

    int32_t GetLeft() const { return Get().left; }
    int32_t GetTop() const { return Get().top; }
    int32_t GetRight() const { return Get().right; }
    int32_t GetBottom() const { return Get().bottom; }
    /// Each returns the new edge.
    int32_t SetLeft(int32_t v) const;
    int32_t SetTop(int32_t v) const;
    int32_t SetRight(int32_t v) const;
    int32_t SetBottom(int32_t v) const;
    int32_t AddLeft(int32_t d) const;
    int32_t AddTop(int32_t d) const;
    int32_t AddRight(int32_t d) const;
    int32_t AddBottom(int32_t d) const;
    /// Takes the left (or top) edge of another rectangle property.
    void SetLeftFrom(const CRectProp& other) const { SetLeft(other.GetLeft()); }
    void SetTopFrom(const CRectProp& other) const { SetTop(other.GetTop()); }
    void SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) const {
        Set({left, top, right, bottom});
    }

private:
    int32_t Change(int32_t LayoutRect::*edge, int64_t value, bool relative) const;
};

}  // namespace vx
