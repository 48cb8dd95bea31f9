#include <gtest/gtest.h>

#include <memory>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/LastModifiedImage.h"
#include "model/ObjectList.h"

namespace vx {
namespace {

TEST(LastModifiedImage, TheMarkMovesAmongTheSelectedImagesOnly) {
    CLayoutSetting layout(true);
    CLayoutObj* items[5];
    for (int i = 0; i < 5; ++i) {
        std::unique_ptr<CLayoutObj> item;
        if (i == 3)
            item = std::make_unique<CTextObj>(true);
        else
            item = std::make_unique<CImageObj>(true);
        items[i] = item.get();
        ASSERT_TRUE(AppendObject(layout.ItemListHead(), item));
    }
    EXPECT_EQ(GetLastModifiedImage(layout), nullptr);

    for (int i : {0, 1, 3}) items[i]->SetSelected(1);
    items[2]->SetLastModified(1);  // not selected: keeps its mark, is never the answer
    items[3]->SetLastModified(1);  // not an image
    EXPECT_EQ(GetLastModifiedImage(layout), nullptr);

    SetLastModifiedImage(layout, *items[1]);
    EXPECT_EQ(GetLastModifiedImage(layout), items[1]);
    SetLastModifiedImage(layout, *items[0]);
    EXPECT_EQ(GetLastModifiedImage(layout), items[0]);
    EXPECT_EQ(items[1]->GetLastModified(), 0);
    EXPECT_EQ(items[2]->GetLastModified(), 1);
    EXPECT_EQ(items[3]->GetLastModified(), 1);

    items[0]->SetSelected(0);
    EXPECT_EQ(GetLastModifiedImage(layout), nullptr);
}

}  // namespace
}  // namespace vx
