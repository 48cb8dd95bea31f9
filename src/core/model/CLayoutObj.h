#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/CObjNode.h"
#include "model/LayoutTypes.h"

namespace vx {

class CLayoutSetting;
template <class R> class PropertyTable;

/// Base of every item placed on a layout: kind, selection marks, position and size
/// (doubles in 1/360 inch), reference offset and size, angle, change and view marks,
/// name and owner layout. Items are linked into lists through `mNext`.
class CLayoutObj : public CObjNode {
public:
    bool Access(std::string_view name, bool write, PropertyValue& value) override;
    std::vector<CPropertyMember> InitPropertyNames() override;
    /// Copies name, owner, type, kind, selection marks, position and size (truncated to
    /// whole units), reference offset and size and angle; not the change and view marks.
    /// Throws std::invalid_argument when source is no item.
    void CopyFrom(const CObjNode& source, bool copyLink) override;

    /// The item's reference point: its position in whole units, for free text plus the
    /// drawing offset of its text box.
    virtual LayoutPoint GetOrigin() const;

    /// The next item of the list that holds this one.
    CLayoutObj* NextItem() const { return static_cast<CLayoutObj*>(GetNext()); }

    CLayoutSetting* GetOwner() const { return mOwner; }
    void SetOwner(CLayoutSetting* owner) { mOwner = owner; }
    const std::string& GetName() const { return mName; }
    void SetName(std::string_view name) { mName = name; }

    int16_t GetType() const { return mType; }
    void SetType(int16_t v) { mType = v; }
    /// The kind is the record's class: it is never written.
    int16_t GetKind() const { return mKind; }
    int32_t GetSelected() const { return mSelected; }
    void SetSelected(int32_t v) { mSelected = v; }
    int32_t GetLastModified() const { return mLastModified; }
    void SetLastModified(int32_t v) { mLastModified = v; }
    int32_t GetDblClickSelected() const { return mDblClickSelected; }
    void SetDblClickSelected(int32_t v) { mDblClickSelected = v; }
    LayoutPoint GetOffsetOrgPos() const { return mOffsetOrgPos; }
    void SetOffsetOrgPos(LayoutPoint v) { mOffsetOrgPos = v; }
    LayoutPoint GetOrgSize() const { return mOrgSize; }
    void SetOrgSize(LayoutPoint v) { mOrgSize = v; }
    int16_t GetAngle() const { return mAngle; }
    void SetAngle(int16_t v) { mAngle = v; }
    int32_t GetChanged() const { return mChanged; }
    void SetChanged(int32_t v) { mChanged = v; }
    int32_t GetOnview() const { return mOnview; }
    void SetOnview(int32_t v) { mOnview = v; }
    LayoutRect GetViewImage() const { return mViewImage; }
    void SetViewImage(LayoutRect v) { mViewImage = v; }

    /// Position and size truncated toward zero to whole units (saturated to int32,
    /// NaN as 0), and with their fractions.
    LayoutPoint GetPosition() const;
    LayoutPoint GetSize() const;
    LayoutPointD GetPositionD() const { return mPosition; }
    LayoutPointD GetSizeD() const { return mSize; }
    void SetPosition(int32_t x, int32_t y) { mPosition = {double(x), double(y)}; }
    void SetPositionD(double x, double y) { mPosition = {x, y}; }
    void SetSize(int32_t cx, int32_t cy) { mSize = {double(cx), double(cy)}; }
    void SetSizeD(double cx, double cy) { mSize = {cx, cy}; }

    /// (x, y, x + cx, y + cy) from the truncated position and size.
    LayoutRect GetRect() const;
    /// Position (left, top), size (right - left, bottom - top).
    void SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom);

    /// Sets the position to (x, y), but a y above the top of the page the item stands
    /// on now becomes that page top + 1. Without an owner, or when its paper height is
    /// 0 or less, the position is set unclamped.
    void MoveWithinPage(int32_t x, int32_t y);

protected:
    /// An item of kind, mType 2, all values 0; name may be empty.
    CLayoutObj(bool newId, std::string_view name, int16_t kind);

private:
    static const PropertyTable<CLayoutObj>& Properties();
    void SetPositionPoint(LayoutPoint p) { SetPosition(p.x, p.y); }
    void SetSizePoint(LayoutPoint p) { SetSize(p.x, p.y); }

    CLayoutSetting* mOwner = nullptr;
    std::string mName;
    int16_t mType = 0;
    int16_t mKind = 0;
    int32_t mSelected = 0;
    int32_t mLastModified = 0;
    int32_t mDblClickSelected = 0;
    LayoutPointD mPosition;
    LayoutPointD mSize;
    LayoutPoint mOffsetOrgPos;
    LayoutPoint mOrgSize;
    int16_t mAngle = 0;
    int32_t mChanged = 0;
    int32_t mOnview = 0;
    LayoutRect mViewImage;
};

}  // namespace vx
