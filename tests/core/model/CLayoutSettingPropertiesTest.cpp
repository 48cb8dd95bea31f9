#include <gtest/gtest.h>

#include "PropertyChecks.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/CImageObj.h"
#include "model/ObjectList.h"

namespace vx {
namespace {

using test::ExpectedProperty;
using test::Flag;
using test::Long;
using test::Point;
using test::Rect;
using test::Short;
using test::With;

// The layout's properties in declaration order, with "mPrinterT_RGB", which Access
// answers without a member, where it lies among the values.
std::vector<ExpectedProperty> LayoutProperties() {
    return {
        Short("mType"), With(Long("mSelected"), ExpectedProperty::ReadOnly),
        With(Long("mOther"), ExpectedProperty::ReadOnly), Short("mOrientation"), Short("mPaperSize"),
        Long("mPaperLength"), Long("mPaperWidth"), Short("mDefaultSource"), Long("mMediaType"),
        Short("mAutoMode"), Short("mColor"), Short("mPrintableArea"), Flag("mCentered"),
        Flag("mHighSpeed"), Flag("mNoMargins"), Short("mBackDefaultSource"), Flag("mBanner"),
        Long("mBannerLength"), Long("mPageNum"), Point("mPaper"), Rect("mPage"), Rect("mMargin"),
        Flag("mMarginShow"), Flag("mLayoutMarginShow"), Flag("mPaperSetup"), Flag("mPaperOrient"),
        Short("mPaperMenu"), Short("mUnit"), Long("mKeyMove"), Flag("mFree"), Point("mAlign"),
        Point("mSpace"), Short("mVerticalAlign"), Flag("mHeaderShow"), Short("mHeaderOffset"),
        Flag("mHeaderText"), Flag("mHeaderPrintInfo"), Flag("mHeaderDatePage"),
        Flag("mHeaderUseFixedDate"), Short("mHeaderFixedDate_Year"), Short("mHeaderFixedDate_Month"),
        Short("mHeaderFixedDate_Day"), Flag("mFooterShow"), Short("mFooterOffset"),
        Flag("mFooterText"), Flag("mFooterPrintInfo"), Flag("mFooterDatePage"),
        Flag("mFooterUseFixedDate"), Short("mFooterFixedDate_Year"), Short("mFooterFixedDate_Month"),
        Short("mFooterFixedDate_Day"), Short("mHeaderFooterLineHeight"), Short("mHeaderFooterJustify"),
        Flag("mHeaderFooterFontSizeAuto"), Short("mHeaderFooterLineHeightPercent"),
        Short("mCutterLine"), Short("mCutterMargin"), Short("mColorProfRGB"), Short("mColorIntentRGB"),
        Flag("mColorEmbedRGB"), Short("mColorProof"), Short("mColorProfSimulation"),
        Short("mColorIntentSimulation"), Short("mColorProfDisplay"), Short("mColorMatchPrinter"),
        Flag("mRecommend", 1), Short("mPageNumber"), Short("mPageMax"), Flag("mDirty"),
        Flag("mTemplate"), Flag("mZel"), With(Long("mPrinterT_RGB"), ExpectedProperty::Unlisted),
        Short("mAutoRotate"), Flag("mPreProcessing"), Flag("mRelative"), Point("mUserDefinePaper"),
        Flag("mLayoutAreaMode"), With(Rect("mLayoutAreaMgn"), ExpectedProperty::Normalised),
        Flag("mImageStampInUse"), Flag("mImageStampSettings"), Point("mImageStampPosition"),
        Point("mImageStampSize"), Flag("mImageStampConstrainPropotion"),
        Flag("mSaveTemplateWithImages"), Flag("mSelectedTemplateIndex"), Flag("mSavedLayout"),
        Flag("mSavedTemplate"),
    };
}

TEST(CLayoutSettingProperties, AnswerEveryNameWithItsTypeAndDefault) {
    std::vector<ExpectedProperty> expected = LayoutProperties();
    ASSERT_EQ(expected.size(), 87u);
    CLayoutSetting layout(true);
    test::CheckPropertyTable(layout, expected);
    EXPECT_EQ(layout.InitPropertyNames().size(), 87u);  // 86 and "mNext"
    EXPECT_EQ(layout.GetInputResolution(), 360);
}

TEST(CLayoutSettingProperties, SmallValuesReadBackUnchanged) {
    CLayoutSetting layout(true);
    struct Case { const char* name; PropertyValue value; };
    for (const Case& c : {Case{"mSelectedTemplateIndex", int32_t(7)}, Case{"mPrinterT_RGB", int32_t(-5)},
                          Case{"mDirty", int32_t(1)}, Case{"mPageNumber", int16_t(-1)}}) {
        SCOPED_TRACE(c.name);
        PropertyValue v = c.value;
        ASSERT_TRUE(layout.Access(c.name, true, v));
        EXPECT_EQ(test::Read(layout, c.name), c.value);
    }
    EXPECT_EQ(layout.GetSelectedTemplateIndex(), 7);
}

TEST(CLayoutSettingProperties, SelectedAndOtherCountTheSelectedItemsWhenRead) {
    CLayoutSetting layout(true);
    auto addItem = [&](std::unique_ptr<CLayoutObj> item, int32_t selected) {
        item->SetSelected(selected);
        ASSERT_TRUE(AppendObject(layout.ItemListHead(), item));
    };
    addItem(std::make_unique<CImageObj>(true), 1);
    addItem(std::make_unique<CImageObj>(true), 0);
    addItem(std::make_unique<CImageObj>(true), 1);
    addItem(std::make_unique<CTextObj>(true), 1);
    addItem(std::make_unique<CTextObj>(true), 0);
    EXPECT_EQ(test::Read(layout, "mSelected"), PropertyValue(int32_t(2)));
    EXPECT_EQ(test::Read(layout, "mOther"), PropertyValue(int32_t(1)));

    PropertyValue nine = int32_t(9);
    EXPECT_TRUE(layout.Access("mSelected", true, nine));
    EXPECT_EQ(test::Read(layout, "mSelected"), PropertyValue(int32_t(2)));

    GetObjectAt(layout.ItemListHead(), 1)->SetSelected(1);
    GetObjectAt(layout.ItemListHead(), 3)->SetSelected(0);
    EXPECT_EQ(test::Read(layout, "mSelected"), PropertyValue(int32_t(3)));
    EXPECT_EQ(test::Read(layout, "mOther"), PropertyValue(int32_t(0)));
}

}  // namespace
}  // namespace vx
