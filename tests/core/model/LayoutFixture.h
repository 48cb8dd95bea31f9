#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/NewItemPlacement.h"
#include "model/ObjectList.h"

namespace vx::test {

/// A layout on paper width x height with the same printer margin on every side, the
/// given spacing, rows aligned to their top, pages to the top, room for 50 pages and a
/// view state at zoom 1/1.
struct TestLayout {
    CLayoutSetting layout{true};

    explicit TestLayout(int32_t width = 1200, int32_t height = 1000, int32_t margin = 100,
                        LayoutPoint space = {20, 20}) {
        layout.SetPaper({width, height});
        layout.SetMargin({margin, margin, margin, margin});
        layout.SetSpace(space);
        layout.SetAlign({1, 1});
        layout.SetVerticalAlign(1);
        layout.SetPageMax(50);
        ViewStateBlock& view = layout.RenewViewState();
        view.zoomNumerator = view.zoomDenominator = 1;
    }

    /// Appends an item of width x height at (x, y), unplaced by default.
    template <class T = CImageObj>
    T* Add(int32_t width, int32_t height, int32_t x = kUnplacedX, int32_t y = 0) {
        auto item = std::make_unique<T>(true);
        T* raw = item.get();
        raw->SetOwner(&layout);
        raw->SetPosition(x, y);
        raw->SetSize(width, height);
        EXPECT_TRUE(AppendObject(layout.ItemListHead(), item));
        return raw;
    }

    /// Appends count images of width x height.
    std::vector<CImageObj*> AddImages(int count, int32_t width = 300, int32_t height = 200) {
        std::vector<CImageObj*> images;
        for (int i = 0; i < count; ++i) images.push_back(Add(width, height));
        return images;
    }
};

inline std::vector<LayoutPoint> PositionsOf(const std::vector<CImageObj*>& items) {
    std::vector<LayoutPoint> out;
    for (const CImageObj* p : items) out.push_back(p->GetPosition());
    return out;
}

/// Every named value of a layout and of its items in order, with their object ids and
/// the current item's id; links only as present or not (copies have other addresses).
inline std::string DescribeByName(CLayoutSetting& layout) {
    std::ostringstream s;
    const auto describe = [&s](CObjNode& record) {
        for (const CPropertyMember& m : record.InitPropertyNames()) {
            const PropertyValue v = m.Get();
            s << m.Name() << '=';
            if (auto* i = std::get_if<int16_t>(&v)) s << *i;
            if (auto* i = std::get_if<int32_t>(&v)) s << *i;
            if (auto* p = std::get_if<LayoutPoint>(&v)) s << p->x << ',' << p->y;
            if (auto* r = std::get_if<LayoutRect>(&v)) s << r->left << ',' << r->top << ',' << r->right << ',' << r->bottom;
            if (auto* n = std::get_if<CObjNode*>(&v)) s << (*n ? "link" : "null");
            s << ' ';
        }
    };
    describe(layout);
    s << "\ncurrent " << (layout.GetCurrentItem() ? layout.GetCurrentItem()->GetObjectId() : 0);
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        s << "\nid " << p->GetObjectId() << ' ' << p->GetName() << ": ";
        describe(*p);
    }
    return s.str();
}

}  // namespace vx::test
