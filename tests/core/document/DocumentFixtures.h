#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "document/LayoutXmlRules.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/ObjectList.h"

namespace vx::test {

/// One record of each kind that an element's value can live in, bound into a scope.
struct XmlRecords {
    CLayoutSetting layout{true};
    CImageObj image{true};
    CTextObj text{true};
    CLineObj line{true};
    XmlScope scope;

    XmlRecords() {
        layout.SetBaseImage(std::make_unique<CImageObj>(true));
        scope.layout = &layout;
        scope.image = &image;
        scope.text = &text;
        scope.line = &line;
    }
};

inline const XmlRule& RuleOf(XmlContext context, std::string_view name) {
    for (const XmlRule& r : LayoutXmlRules(context))
        if (kLayoutXmlNames[size_t(r.name)] == name) return r;
    throw std::logic_error("no rule " + std::string(name));
}

/// A layout as a new document has it: A4 portrait in colour, one page, with "BaseImage".
inline std::unique_ptr<CLayoutSetting> MakeSavableLayout() {
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->SetType(kRecordTypeLayout);
    layout->SetPaper({2976, 4209});
    layout->SetOrientation(1);
    layout->SetColor(2);
    layout->SetPageNumber(1);
    layout->SetPageMax(1);
    layout->SetAlign({1, 1});
    layout->SetVerticalAlign(1);
    layout->SetPaperColor(0xFFFFFF);
    auto base = std::make_unique<CImageObj>(true);
    base->SetSizeMethod(1);
    layout->SetBaseImage(std::move(base));
    return layout;
}

template <class T>
T* AddItem(CLayoutSetting& layout) {
    auto item = std::make_unique<T>(true);
    T* raw = item.get();
    raw->SetOwner(&layout);
    EXPECT_TRUE(AppendObject(layout.ItemListHead(), item));
    return raw;
}

inline CImageObj* AddImage(CLayoutSetting& layout, const std::string& path) {
    CImageObj* image = AddItem<CImageObj>(layout);
    image->SetFilePath(path);
    image->SetSizeMethod(1);
    return image;
}

}  // namespace vx::test
