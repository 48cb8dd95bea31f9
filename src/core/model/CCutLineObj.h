#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/CLayoutObj.h"

namespace vx {

/// The cut-line item (kind 32): cutter type, cut marks, margin, and five arrays with
/// one entry per image item the cut line serves. Their meaning belongs to the code that
/// makes cut lines; this record owns, copies and frees them, and keeps each exactly
/// `mImageObj` long.
class CCutLineObj : public CLayoutObj {
public:
    static constexpr size_t kValueArrays = 4;

    explicit CCutLineObj(bool newId, std::string_view name = {});

    bool Access(std::string_view name, bool write, PropertyValue& value) override;
    std::vector<CPropertyMember> InitPropertyNames() override;
    /// The item base, then the five arrays and the five properties. Throws
    /// std::invalid_argument when source is no cut line.
    void CopyFrom(const CObjNode& source, bool copyLink) override;

    /// Value array which (0 to 3; another index throws std::out_of_range), and the
    /// rectangle array; each `mImageObj` entries long.
    std::span<int32_t> Values(size_t which) { return mArrays.values.at(which); }
    std::span<const int32_t> Values(size_t which) const { return mArrays.values.at(which); }
    std::span<LayoutRect> Rects() { return mArrays.rects; }
    std::span<const LayoutRect> Rects() const { return mArrays.rects; }

    int16_t GetCutterType() const { return mCutterType; }
    void SetCutterType(int16_t v) { mCutterType = v; }
    int16_t GetCutMark() const { return mCutMark; }
    void SetCutMark(int16_t v) { mCutMark = v; }
    int32_t GetCutMarkSpace() const { return mCutMarkSpace; }
    void SetCutMarkSpace(int32_t v) { mCutMarkSpace = v; }
    int32_t GetMargin() const { return mMargin; }
    void SetMargin(int32_t v) { mMargin = v; }
    int32_t GetImageObj() const { return mImageObj; }
    /// Sets the number of image items served and resizes the arrays to it (new entries
    /// 0); below 0 gives 0, above the layout's item limit gives the limit.
    void SetImageObj(int32_t count);

private:
    struct Arrays {
        std::array<std::vector<int32_t>, kValueArrays> values;
        std::vector<LayoutRect> rects;
    };
    static const PropertyTable<CCutLineObj>& Properties();

    Arrays mArrays;
    int16_t mCutterType = 0;
    int16_t mCutMark = 0;
    int32_t mCutMarkSpace = 0;
    int32_t mMargin = 0;
    int32_t mImageObj = 0;
};

}  // namespace vx
