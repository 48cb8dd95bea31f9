#include <gtest/gtest.h>

#include <memory>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/ImageMemoryBudget.h"
#include "model/ObjectList.h"

namespace vx {
namespace {

std::unique_ptr<CImageObj> Image(int width, int height) {
    auto item = std::make_unique<CImageObj>(true, "StdImage");
    ImageDescription d;
    d.width = int16_t(width);
    d.height = int16_t(height);
    item->SetDescription(d);
    return item;
}

void Add(CLayoutSetting& layout, std::unique_ptr<CImageObj> item) {
    ASSERT_TRUE(AppendObject(layout.ItemListHead(), item));
}

TEST(CheckImageMemoryBudget, CountsEveryPictureUpToOneGibibyte) {
    // 16384 x 16384 x 4 bytes is exactly 1,073,741,824.
    CLayoutSetting layout(true);
    Add(layout, Image(16384, 8192));
    std::unique_ptr<CImageObj> half = Image(16384, 8192);
    EXPECT_TRUE(CheckImageMemoryBudget(layout, half.get(), nullptr));

    Add(layout, Image(1, 1));
    EXPECT_FALSE(CheckImageMemoryBudget(layout, half.get(), nullptr)) << "4 bytes over";

    CTextObj text(true);
    EXPECT_TRUE(CheckImageMemoryBudget(layout, &text, nullptr)) << "not an image: passes at once";
    std::unique_ptr<CImageObj> undescribed = std::make_unique<CImageObj>(true);
    EXPECT_TRUE(CheckImageMemoryBudget(layout, undescribed.get(), nullptr));
}

TEST(CheckImageMemoryBudget, CountsTheStampUnlessAnotherItemIsGiven) {
    CLayoutSetting layout(true);
    Add(layout, Image(16384, 8192));
    std::unique_ptr<CImageObj> item = Image(8192, 8192);
    std::unique_ptr<CImageObj> small = Image(10, 10);
    EXPECT_TRUE(CheckImageMemoryBudget(layout, item.get(), nullptr));
    layout.SetStampImage(Image(8192, 8193));
    EXPECT_FALSE(CheckImageMemoryBudget(layout, item.get(), nullptr)) << "the stamp counts";
    EXPECT_TRUE(CheckImageMemoryBudget(layout, item.get(), small.get())) << "the other item instead";
    EXPECT_FALSE(CheckImageMemoryBudget(layout, item.get(), Image(8192, 8193).get()));
}

}  // namespace
}  // namespace vx
