#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/CImageObj.h"
#include "model/ImageGeometry.h"

namespace vx {
namespace {

std::unique_ptr<CImageObj> Described(int16_t width, int16_t height, uint32_t hRes, uint32_t vRes = 0) {
    auto item = std::make_unique<CImageObj>(true);
    ImageDescription d;
    d.width = width;
    d.height = height;
    d.hRes = hRes;
    d.vRes = vRes ? vRes : hRes;
    item->SetDescription(d);
    return item;
}

std::ostream& operator<<(std::ostream& s, const LayoutPoint& p) { return s << '(' << p.x << ", " << p.y << ')'; }
std::ostream& operator<<(std::ostream& s, const LayoutRect& r) {
    return s << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
}

TEST(ImagePrintSize, IsPixelsLessCropRoundedUpToUnitsAndTurned) {
    struct Case {
        const char* what;
        int16_t width, height;
        uint32_t hRes, vRes;
        int16_t rotate, cropOut;
        bool inUnits;
        LayoutPoint size;
    };
    const Case cases[] = {
        {"the example", 3000, 2000, 300, 300, 0, 0, true, {3600, 2400}},
        {"a quarter turn", 3000, 2000, 300, 300, 1, 0, true, {2400, 3600}},
        {"mirrored with a half turn", 3000, 2000, 300, 300, 10, 0, true, {3600, 2400}},
        {"in pixels, turned", 3000, 2000, 300, 300, 4, 0, false, {2000, 3000}},
        {"cropped", 3000, 2000, 300, 300, 0, 1, false, {2960, 1940}},
        {"the crop only drawn", 3000, 2000, 300, 300, 0, 2, false, {3000, 2000}},
        {"cropped, in units", 3000, 2000, 300, 300, 0, 1, true, {3552, 2328}},
        {"rounded up", 1001, 1000, 300, 300, 0, 0, true, {1202, 1200}},
        {"exact at 360 ppi", 29, 58, 360, 360, 0, 0, true, {29, 58}},
        {"150000 units is still a size", 30000, 30001, 72, 72, 0, 0, true, {150000, 0}},
        {"no resolution on one axis", 3000, 2000, 0, 300, 0, 0, true, {0, 2400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto item = Described(c.width, c.height, c.hRes, c.vRes);
        item->SetRotate(c.rotate);
        item->SetCropOut(c.cropOut);
        item->SetCrop({10, 20, 30, 40});
        EXPECT_EQ(GetImagePrintSize(*item, c.inUnits), c.size);
    }
    EXPECT_EQ(GetImagePrintSize(CImageObj(true), true), (LayoutPoint{0, 0})) << "no description";
}

TEST(ImageNaturalSize, IsTheCroppedTurnedImageAtItsResolution) {
    auto item = Described(3000, 2000, 300);
    EXPECT_DOUBLE_EQ(GetImageNaturalSize(*item).x, 3600);
    EXPECT_DOUBLE_EQ(GetImageNaturalSize(*item).y, 2400);
    item->SetCrop({10, 20, 30, 40});
    item->SetCropOut(1);
    EXPECT_DOUBLE_EQ(GetImageNaturalSize(*item).x, 2960 * 360.0 / 300) << "less both side insets";
    EXPECT_DOUBLE_EQ(GetImageNaturalSize(*item).y, 1940 * 360.0 / 300);
    item->SetRotate(1);  // displayed insets (40, 10, 20, 30)
    EXPECT_DOUBLE_EQ(GetImageNaturalSize(*item).x, (2000 - 60) * 360.0 / 300);
    item->SetCropOut(0);
    EXPECT_DOUBLE_EQ(GetImageNaturalSize(*item).x, 2400);
    EXPECT_DOUBLE_EQ(GetImageNaturalSize(*Described(1001, 7, 300)).x, 1201.2) << "not made whole";
    EXPECT_EQ(GetImageNaturalSize(*Described(3000, 2000, 0)), (LayoutPointD{0, 0}));
    EXPECT_EQ(GetImageNaturalSize(CImageObj(true)), (LayoutPointD{0, 0}));
}

TEST(ImageItemSize, FollowsTheSizeMethod) {
    CImageObj prototype(true);
    prototype.SetSize(1260, 1260);
    auto item = Described(3000, 2000, 300);
    item->SetSizeRatioMode(1);
    item->SetSizeMethod(2);
    item->SetSizeRatio({500, 500});
    EXPECT_EQ(ComputeImageItemSize(*item, prototype), (LayoutPoint{1800, 1200}));
    item->SetSizeRatio({0, 500});
    EXPECT_EQ(ComputeImageItemSize(*item, prototype), (LayoutPoint{-1, -1})) << "a zero side";

    item->SetSizeMethod(1);
    item->SetSize(300, 200);  // its own proportions
    EXPECT_EQ(ComputeImageItemSize(*item, prototype), (LayoutPoint{1260, 840}));
    item->SetSizeMethod(3);
    EXPECT_EQ(ComputeImageItemSize(*item, prototype), (LayoutPoint{-1, -1}));
}

TEST(FitImageSize, KeepsTheImageProportionsInsideTheBox) {
    auto item = Described(3000, 2000, 300);
    item->SetSizeMethod(2);
    item->SetSizeRatioMode(1);
    EXPECT_EQ(FitImageSize(*item, 1000, 1000), (LayoutPoint{1000, 667}));
    EXPECT_EQ(FitImageSize(*item, 6000, 1000), (LayoutPoint{1500, 1000})) << "the height bounds it";
    EXPECT_EQ(item->GetFrame(), (LayoutRect{})) << "no automatic frame";

    item->SetFrameMode(1);
    EXPECT_EQ(FitImageSize(*item, 1000, 1000), (LayoutPoint{1000, 667}));
    EXPECT_EQ(item->GetFrame(), (LayoutRect{33, 33, 33, 33})) << "5 % of 667, truncated";
}

TEST(FitImageSize, UsesTheBoxUnchangedWhenAsked) {
    struct Case {
        const char* what;
        void (*set)(CImageObj&);
    };
    const Case cases[] = {
        {"a frame without keeping proportions",
         [](CImageObj& i) {
             i.SetSizeRatioMode(0);
             i.SetFrameMode(2);
         }},
        {"an image option without keeping proportions",
         [](CImageObj& i) {
             i.SetSizeRatioMode(0);
             i.SetImageOptionDimens(1);
         }},
        {"sized with the shift key", [](CImageObj& i) { i.SetResizeWithShiftkey(1); }},
        {"a frame as wide as the item",
         [](CImageObj& i) {
             i.SetSizeMethod(1);
             i.SetSize(300, 200);
             i.SetFrame({150, 0, 150, 0});
         }},
        {"a crop wider than the image",
         [](CImageObj& i) {
             i.SetCropOut(1);
             i.SetCrop({2000, 0, 2000, 0});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto item = Described(3000, 2000, 300);
        item->SetSizeMethod(2);
        item->SetSizeRatioMode(1);
        c.set(*item);
        EXPECT_EQ(FitImageSize(*item, 1000, 1000), (LayoutPoint{1000, 1000}));
    }
    // 3000 x 1 pixels fit as (1000, 0): the box stays, and the scale limit then holds the
    // one pixel at 6000 % of its 1.2 units.
    auto line = Described(3000, 1, 300);
    line->SetSizeMethod(2);
    line->SetSizeRatioMode(1);
    EXPECT_EQ(FitImageSize(*line, 1000, 1000), (LayoutPoint{1000, 72}));
}

TEST(LimitImageScale, HoldsTheSizeWithin6000PercentAnd150000PixelsPerInch) {
    struct Case {
        const char* what;
        int16_t width, height;
        LayoutPoint asked;
        bool both;
        LayoutPoint size;
    };
    const Case cases[] = {
        {"15 m from 1000 x 800 pixels", 1000, 800, {212598, 170078}, true, {72000, 57600}},
        {"15 m from 300 x 200 pixels", 300, 200, {212598, 141732}, true, {21600, 14400}},
        {"within the limits", 3000, 2000, {3600, 2400}, true, {3600, 2400}},
        {"only the axis that broke it", 1000, 800, {212598, 800}, false, {72000, 800}},
        {"too many pixels per inch", 3000, 2000, {5, 6}, true, {8, 5}},
        {"too many pixels per inch on one axis", 3000, 2000, {5, 6}, false, {8, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto item = Described(c.width, c.height, 300);
        EXPECT_EQ(LimitImageScale(*item, c.asked, c.both), c.size);
    }
}

// Every case divides by zero or by a negative length if the code lets it; each answer
// must be defined (run under UBSan).
TEST(ImageGeometry, ZeroAndNegativeLengthsGiveDefinedResults) {
    auto noResolution = Described(3000, 2000, 0);
    noResolution->SetSizeMethod(2);
    noResolution->SetSizeRatioMode(1);
    EXPECT_EQ(GetImagePrintSize(*noResolution, true), (LayoutPoint{0, 0}));
    EXPECT_EQ(LimitImageScale(*noResolution, {5, 5}, true), (LayoutPoint{5, 5}));
    EXPECT_EQ(FitImageSize(*noResolution, 1000, 1000), (LayoutPoint{1000, 667}));
    EXPECT_EQ(ComputeImageItemSize(*noResolution, CImageObj(true)), (LayoutPoint{-1, -1}));

    auto wideCrop = Described(3000, 2000, 300);
    wideCrop->SetCropOut(1);
    wideCrop->SetCrop({2000, 0, 2000, 0});
    EXPECT_EQ(GetImagePrintSize(*wideCrop, false), (LayoutPoint{-1000, 2000}));
    EXPECT_EQ(LimitImageScale(*wideCrop, {100000, 5}, true), (LayoutPoint{100000, 5}));
    EXPECT_DOUBLE_EQ(GetImageNaturalSize(*wideCrop).x, -1200);

    auto fullFrame = Described(4000, 3000, 300);
    fullFrame->SetSize(300, 200);
    fullFrame->SetFrame({150, 100, 150, 100});
    fullFrame->SetSizeMethod(1);
    Rect16 whole;
    whole.Set(0, 0, 4000, 3000);
    EXPECT_EQ(GetCenteredCropRect(*fullFrame), whole);
    EXPECT_EQ(FitImageSize(*fullFrame, 500, 500), (LayoutPoint{500, 500}));
    fullFrame->SetFrame({200, 150, 200, 150});  // more than the item
    EXPECT_EQ(GetCenteredCropRect(*fullFrame), whole);

    EXPECT_EQ(LimitImageScale(*Described(3000, 2000, 300), {0, 0}, true), (LayoutPoint{0, 0}));
    EXPECT_EQ(LimitImageScale(*Described(3000, 2000, 300), {-10, 50}, true), (LayoutPoint{-10, 50}));
    EXPECT_EQ(GetCenteredCropRect(CImageObj(true)), Rect16{});
}

TEST(RotatedCropRects, CarryTheInsetsIntoTheDisplayedOrientation) {
    struct Case {
        int16_t code;
        LayoutRect inset;  // displayed left, top, right, bottom
    };
    const Case cases[] = {
        {0, {10, 20, 30, 40}}, {1, {40, 10, 20, 30}}, {2, {30, 40, 10, 20}}, {4, {20, 30, 40, 10}},
        {8, {30, 20, 10, 40}}, {9, {40, 30, 20, 10}}, {10, {10, 40, 30, 20}}, {12, {20, 10, 40, 30}},
        {3, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        auto item = Described(3000, 2000, 300);
        item->SetCrop({10, 20, 30, 40});
        item->SetRotate(c.code);
        LayoutRect image, crop;
        GetRotatedCropRects(*item, image, crop);
        const bool turned = ExchangesSides(c.code);
        const int32_t w = turned ? 2000 : 3000, h = turned ? 3000 : 2000;
        EXPECT_EQ(image, (LayoutRect{0, 0, w, h}));
        EXPECT_EQ(crop, (LayoutRect{c.inset.left, c.inset.top, w - c.inset.right, h - c.inset.bottom}));
    }
}

TEST(CenteredCropRect, IsTheLargestCentredPartWithTheInteriorsProportions) {
    struct Case {
        const char* what;
        LayoutPoint size;
        LayoutRect frame;
        int16_t rotate;
        Rect16 rect;  // top, left, bottom, right
    };
    const Case cases[] = {
        {"a square", {1000, 1000}, {}, 0, {0, 500, 3000, 3500}},
        {"a square inside a frame", {1200, 1000}, {150, 0, 50, 0}, 0, {0, 500, 3000, 3500}},
        {"tall", {100, 300}, {}, 0, {0, 1500, 3000, 2500}},
        {"wide", {400, 100}, {}, 0, {1000, 0, 2000, 4000}},
        {"tall, on a turned item", {100, 300}, {}, 1, {833, 0, 2166, 4000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto item = Described(4000, 3000, 300);
        item->SetSize(c.size.x, c.size.y);
        item->SetFrame(c.frame);
        item->SetRotate(c.rotate);
        EXPECT_EQ(GetCenteredCropRect(*item), c.rect);
    }
}

}  // namespace
}  // namespace vx
