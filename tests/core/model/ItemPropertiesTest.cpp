#include <gtest/gtest.h>

#include <memory>

#include "ImageItemFixtures.h"
#include "PropertyChecks.h"
#include "model/CCutLineObj.h"
#include "model/CImageObj.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"

namespace vx {
namespace {

using test::ExpectedProperty;
using test::Flag;
using test::Long;
using test::Point;
using test::Rect;
using test::Short;
using test::With;

// The class's own properties, then the item base's, as Access searches them.
std::vector<ExpectedProperty> ItemProperties(int16_t kind, std::vector<ExpectedProperty> own) {
    std::vector<ExpectedProperty> base = {
        Short("mType", 2), With(Short("mKind", kind), ExpectedProperty::ReadOnly),
        Flag("mSelected"), Flag("mLastModified"), Point("mPosition"), Point("mSize"),
        Point("mOffsetOrgPos"), Point("mOrgSize"), Short("mAngle"), Flag("mDblClickSelected"),
        Flag("mChanged"), Flag("mOnview"), Rect("mViewImage"),
    };
    own.insert(own.end(), base.begin(), base.end());
    return own;
}

TEST(ItemProperties, ImageItemAnswersItsOwnNamesThenTheBase) {
    CImageObj image(true, "BaseImage");
    const std::vector<ExpectedProperty> own = test::ImageItemOwnProperties();
    ASSERT_EQ(own.size(), 55u);
    test::CheckPropertyTable(image, ItemProperties(kKindImage, own));
    EXPECT_EQ(image.GetName(), "BaseImage");
}

TEST(ItemProperties, FreeTextAnswersItsOwnNamesThenTheBase) {
    CTextObj text(true);
    test::CheckPropertyTable(text, ItemProperties(kKindText, {
        Short("mTextLineHeight"), Short("mTextJustify"), Flag("mColumnarWriting"), Flag("mBackgroundColor"),
    }));
}

TEST(ItemProperties, FreeLineAnswersItsOwnNamesThenTheBase) {
    CLineObj line(true);
    test::CheckPropertyTable(line, ItemProperties(kKindLine, {
        Short("mLineStyle"), Long("mThickness"), Long("mLength"), Short("mArrowMark"),
        Short("mArrowAngle"), Flag("mArrowFill"), Short("mArrowSize"), Point("mOffsetStart"),
        Point("mOffsetEnd"),
    }));
}

TEST(ItemProperties, CutLineAnswersItsOwnNamesThenTheBase) {
    CCutLineObj cut(true);
    ExpectedProperty count = Long("mImageObj");
    count.probe = int32_t(12);
    test::CheckPropertyTable(cut, ItemProperties(kKindCutLine, {
        Short("mCutterType"), Short("mCutMark"), Long("mCutMarkSpace"), Long("mMargin"), count,
    }));
}

TEST(ItemProperties, ObjectIdsComeFromOneCounterOnlyWithTheNewIdFlag) {
    CTextObj a(true), b(true), c(false), d(false);
    CLineObj e(true);
    EXPECT_NE(a.GetObjectId(), 0u);
    EXPECT_GT(b.GetObjectId(), a.GetObjectId());
    EXPECT_GT(e.GetObjectId(), b.GetObjectId());
    EXPECT_EQ(c.GetObjectId(), 0u);
    EXPECT_EQ(d.GetObjectId(), 0u);
}

}  // namespace
}  // namespace vx
