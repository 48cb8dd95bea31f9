#include <gtest/gtest.h>

#include <png.h>

#include "ImporterFixtures.h"
#include "support/TestFolders.h"
#include "imaging/MemoryByteSource.h"
#include "importers/PictureImport.h"
#include "importers/QtmlStartCount.h"
#include "model/CImageObj.h"
#include "model/ImageAdding.h"
#include "platform/system/FourCC.h"

namespace vx {
namespace {

TEST(QtmlStartCount, StartsNestAndOnlyTheLastStopEndsImports) {
    ASSERT_FALSE(ImportersStarted());
    test::TestRoot root;
    const auto path = root.Path() / "p.png";
    test::PngContent content;
    content.width = 2;
    content.height = 1;
    content.samples = {1, 2, 3, 4, 5, 6};
    test::WriteBytes(path, test::WritePng(content));
    std::unique_ptr<CImageObj> item(CreateImageObj(nullptr, nullptr, "StdImage"));
    ImageDescription d;
    d.codecType = FourCC("png ");
    item->SetDescription(d);
    item->SetFilePath(path);

    EXPECT_EQ(QtmlInitialize(31), 0);
    EXPECT_EQ(QtmlInitialize(31), 0);
    QtmlTerminate();
    int32_t version = 0;
    EXPECT_EQ(QtGestalt(FourCC("qtim"), version), 0);
    EXPECT_EQ(version, 0x06000000);
    int messageId = 0;
    EXPECT_NE(ImportPictureWithQuickTime(*item, nullptr, messageId), nullptr);
    EXPECT_TRUE(DescribeImportedFile(path).has_value());

    QtmlTerminate();
    EXPECT_EQ(QtGestalt(FourCC("qtim"), version), -2095);
    EXPECT_EQ(ImportPictureWithQuickTime(*item, nullptr, messageId), nullptr);
    EXPECT_EQ(messageId, 10526);
    EXPECT_FALSE(DescribeImportedFile(path).has_value());
    QtmlTerminate();  // one stop too many stays at 0
    EXPECT_FALSE(ImportersStarted());
}

TEST(QtmlStartCount, TheFailingSwitchRefusesTheStart) {
    SetQtmlStartFailsForTesting(true);
    EXPECT_EQ(QtmlInitialize(31), -2093);
    EXPECT_FALSE(ImportersStarted());
    int32_t version = 0;
    EXPECT_EQ(QtGestalt(FourCC("qtim"), version), -2095);
    SetQtmlStartFailsForTesting(false);
    EXPECT_EQ(QtmlInitialize(31), 0);
    EXPECT_EQ(QtGestalt(FourCC("what"), version), kQtGestaltUndefined);
    QtmlTerminate();
}

TEST(KeepsImportedAlpha, OnlyVersionSixDepth32PngAndPhotoshop) {
    for (int32_t version : {0x600, 0x500})
        for (int depth : {32, 24})
            for (uint32_t codec : {FourCC("png "), FourCC("8BPS"), FourCC("PICT")}) {
                SCOPED_TRACE(testing::Message() << version << " " << depth << " " << codec);
                const bool expected = version == 0x600 && depth == 32 && codec != FourCC("PICT");
                EXPECT_EQ(KeepsImportedAlpha(version, depth, codec), expected);
            }
}

}  // namespace
}  // namespace vx
