#pragma once
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/CLayoutObj.h"

namespace vx {

/// The free-line item (kind 64): style, thickness, length, colour, arrow heads and end
/// offsets, and the geometry points its geometry computation writes.
class CLineObj : public CLayoutObj {
public:
    /// End points and arrow-head geometry; this record stores and copies them.
    using GeometryPoints = std::array<LayoutPoint, 4>;

    explicit CLineObj(bool newId, std::string_view name = {});

    bool Access(std::string_view name, bool write, PropertyValue& value) override;
    std::vector<CPropertyMember> InitPropertyNames() override;
    /// The item base, then colour, geometry points and the nine properties. Throws
    /// std::invalid_argument when source is no free line.
    void CopyFrom(const CObjNode& source, bool copyLink) override;

    ColorRef GetLineColor() const { return mLineColor; }
    void SetLineColor(ColorRef c) { mLineColor = c; }
    const GeometryPoints& GetGeometryPoints() const { return mGeometry; }
    void SetGeometryPoints(const GeometryPoints& points) { mGeometry = points; }

    int16_t GetLineStyle() const { return mLineStyle; }
    void SetLineStyle(int16_t v) { mLineStyle = v; }
    int32_t GetThickness() const { return mThickness; }
    void SetThickness(int32_t v) { mThickness = v; }
    int32_t GetLength() const { return mLength; }
    void SetLength(int32_t v) { mLength = v; }
    int16_t GetArrowMark() const { return mArrowMark; }
    void SetArrowMark(int16_t v) { mArrowMark = v; }
    int16_t GetArrowAngle() const { return mArrowAngle; }
    void SetArrowAngle(int16_t v) { mArrowAngle = v; }
    int32_t GetArrowFill() const { return mArrowFill; }
    void SetArrowFill(int32_t v) { mArrowFill = v; }
    int16_t GetArrowSize() const { return mArrowSize; }
    void SetArrowSize(int16_t v) { mArrowSize = v; }
    LayoutPoint GetOffsetStart() const { return mOffsetStart; }
    void SetOffsetStart(LayoutPoint v) { mOffsetStart = v; }
    LayoutPoint GetOffsetEnd() const { return mOffsetEnd; }
    void SetOffsetEnd(LayoutPoint v) { mOffsetEnd = v; }

private:
    static const PropertyTable<CLineObj>& Properties();

    ColorRef mLineColor = 0;
    GeometryPoints mGeometry{};
    int16_t mLineStyle = 0;
    int32_t mThickness = 0;
    int32_t mLength = 0;
    int16_t mArrowMark = 0;
    int16_t mArrowAngle = 0;
    int32_t mArrowFill = 0;
    int16_t mArrowSize = 0;
    LayoutPoint mOffsetStart;
    LayoutPoint mOffsetEnd;
};

}  // namespace vx
