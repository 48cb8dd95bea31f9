#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutLimits.h"
#include "model/ObjectList.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

TEST(LayoutLimits, AtMost999Items) {
    CLayoutSetting layout(true);
    for (int i = 0; i < 998; ++i) {
        auto item = std::make_unique<CImageObj>(false);
        ASSERT_TRUE(AppendObject(layout.ItemListHead(), item));
    }
    EXPECT_TRUE(CanAddObjects(layout, false));
    EXPECT_TRUE(CanAddObjects(layout, true));
    auto item = std::make_unique<CImageObj>(false);
    ASSERT_TRUE(AppendObject(layout.ItemListHead(), item));
    EXPECT_TRUE(CanAddObjects(layout, false));
    EXPECT_FALSE(CanAddObjects(layout, true));

    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    ShowObjectLimitMessage();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].id, 59430);
    EXPECT_EQ(messages.shown[0].text, "Die maximale Anzahl von Objekten, die Sie einfügen können, beträgt 999.");
    EXPECT_EQ(messages.shown[0].icon, Icon::Error);
}

TEST(LayoutLimits, ImagePixelSizes) {
    struct Case { int64_t width, height; bool supported; };
    for (const Case& c : {Case{8000, 8000, true}, Case{250, 25000, true}, Case{25000, 250, true},
                          Case{8001, 8000, false}, Case{249, 1000, false}, Case{25001, 300, false},
                          Case{65836, 300, false}, Case{40000, 300, false}, Case{0, 500, false},
                          Case{500, -500, false}, Case{INT64_MAX, INT64_MAX, false}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(IsImageSizeSupported(c.width, c.height), c.supported);
    }
}

TEST(LayoutLimits, InputResolutionFollowsPaperAreaAndPages) {
    constexpr int32_t kT1 = 176'644'100, kT2 = 529'932'300;
    struct Case {
        const char* what;
        int32_t width, length;
        int16_t pages;
        int32_t banner, bannerPages, extra;
        int32_t ppi;
    };
    for (const Case& c : {
             Case{"T1", kT1, 1, 1, 0, 0, 0, 360},
             Case{"T1 + 1", kT1 + 1, 1, 1, 0, 0, 0, 120},
             Case{"T2", kT2, 1, 1, 0, 0, 0, 120},
             Case{"T2 + 1", kT2 + 1, 1, 1, 0, 0, 0, 90},
             Case{"A4 sheets", 2100, 2970, 28, 0, 0, 0, 360},
             Case{"extra pages count", 2100, 2970, 28, 0, 0, 1, 120},
             Case{"a banner counts its banner pages", kT1 / 2 + 1, 2, 1, 1, 1, 0, 120},
             Case{"not the page count", kT1 / 2 + 1, 2, 1, 1, 0, 0, 360},
             Case{"int32 maxima", INT32_MAX, INT32_MAX, INT16_MAX, 1, INT32_MAX, INT32_MAX, 90},
         }) {
        SCOPED_TRACE(c.what);
        CLayoutSetting layout(false);
        layout.SetPaperWidth(c.width);
        layout.SetPaperLength(c.length);
        layout.SetPageNumber(c.pages);
        layout.SetBanner(c.banner);
        layout.SetPageNum(c.bannerPages);
        EXPECT_EQ(ChooseInputResolution(layout, c.extra), c.ppi);
    }
}

}  // namespace
}  // namespace vx
