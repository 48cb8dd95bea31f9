#include <gtest/gtest.h>

#include "../imaging/JpegFixtures.h"
#include "dialogs/ImageStampController.h"
#include "imaging/DibBuffer.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"
#include "model/UndoStore.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

class ImageStampDialogTest : public testing::Test {
protected:
    test::TestRoot root;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    test::InstalledApplicationState app;
    UndoStore undo;
    CLayoutSetting layout{true};
    ImageStampController dialog{&layout};

    void SetUp() override {
        app.undo = &undo;
        layout.SetUnit(1);
        layout.SetColor(2);
    }

    fs::path Jpeg(const std::string& name, int width, int height) {
        test::JpegFixture fixture;
        fixture.width = width;
        fixture.height = height;
        fixture.densityUnit = 1;
        fixture.xDensity = fixture.yDensity = 300;
        fixture.pixel = [](int, int, uint8_t* c) { c[0] = 200, c[1] = 40, c[2] = 40; };
        const fs::path path = root.Path() / name;
        test::WriteBytes(path, test::EncodeJpeg(fixture));
        return path;
    }
};

TEST_F(ImageStampDialogTest, BuildStampTriesFilesWithinTheLimits) {
    const fs::path text = root.Path() / "kein-bild.jpg";
    test::WriteBytes(text, test::Bytes("nur Text"));
    EXPECT_EQ(dialog.BuildStamp(Jpeg("klein.jpg", 100, 100), 1), kStampSizeOutOfRange);
    EXPECT_EQ(dialog.BuildStamp(text, 1), kStampUnsupported);
    EXPECT_EQ(dialog.BuildStamp(Jpeg("gut.jpg", 300, 600), 1), kStampBuilt);
    EXPECT_EQ(dialog.Width(), 360);
    EXPECT_EQ(dialog.Height(), 720);
    EXPECT_DOUBLE_EQ(dialog.Ratio(), 2.0);
    EXPECT_EQ(layout.GetStampImage(), nullptr);  // mode 1 leaves the layout

    auto big = std::make_unique<CImageObj>(true);
    ImageDescription huge;
    huge.width = huge.height = 20000;
    big->SetDescription(huge);
    AppendObject(layout.ItemListHead(), big);
    EXPECT_EQ(dialog.BuildStamp(Jpeg("gut.jpg", 300, 600), 1), kStampOutOfMemory);
    EXPECT_EQ(dialog.BuildStamp(Jpeg("gut.jpg", 300, 600), 0), kStampOutOfMemory);
    EXPECT_EQ(layout.GetStampImage(), nullptr);
    EXPECT_EQ(ImageStampController().BuildStamp(text, 1), kStampUnsupported);  // no layout
}

TEST_F(ImageStampDialogTest, ApplyModeBuildsAsideAndTurnsGreyForGreyLayouts) {
    ASSERT_EQ(dialog.BuildStamp(Jpeg("farbe.jpg", 300, 300), 0), kStampBuilt);
    CImageObj* first = layout.GetStampImage();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetSize(), (LayoutPoint{360, 360}));
    EXPECT_EQ(dialog.BuildStamp(Jpeg("klein.jpg", 100, 100), 0), kStampSizeOutOfRange);
    EXPECT_EQ(layout.GetStampImage(), first);  // a failed build keeps the old stamp

    layout.SetColor(1);
    ASSERT_EQ(dialog.BuildStamp(Jpeg("farbe.jpg", 300, 300), 0), kStampBuilt);
    CImageBitmapLock lock(*layout.GetStampImage(), TempBuffer::kMapReadOnly);
    ASSERT_NE(lock.Bitmap(), nullptr);
    const uint8_t* px = DibBuffer::GetBits(lock.Bitmap()) + 4 * 10;
    EXPECT_EQ(px[0], px[1]);
    EXPECT_EQ(px[1], px[2]);
}

TEST_F(ImageStampDialogTest, KeptProportionsFollowAndClampAtFifteenMetres) {
    layout.SetImageStampSize({1440, 720});
    layout.SetImageStampConstrainPropotion(1);
    layout.SetImageStampSettings(1);
    layout.SetImageStampInUse(1);
    dialog.Load();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(dialog.WidthText(), "101.60");
    ImageStampController::SizeFollow f = dialog.SizeEdited(true, "203.2", dialog.HeightText());
    EXPECT_TRUE(f.heightChanged);
    EXPECT_FALSE(f.widthChanged);
    EXPECT_EQ(dialog.FollowText(dialog.Height()), "101.60");
    EXPECT_DOUBLE_EQ(dialog.WidthRange().maximum, 15000.0);
    EXPECT_DOUBLE_EQ(dialog.HeightRange().maximum, 7500.0);

    f = dialog.SizeEdited(false, dialog.WidthText(), "10000");
    EXPECT_TRUE(f.widthChanged);
    EXPECT_TRUE(f.heightChanged);
    EXPECT_EQ(dialog.Width(), 212598);
    EXPECT_EQ(dialog.Height(), 106299);

    dialog.SetSizeUnit(2);
    EXPECT_DOUBLE_EQ(dialog.HeightRange().maximum, 590.55 * 0.5);
    EXPECT_EQ(dialog.FollowText(720), "2.000");
}

TEST_F(ImageStampDialogTest, ZeroSidesRefuseKeptProportions) {
    layout.SetImageStampSize({0, 720});
    layout.SetImageStampSettings(1);
    layout.SetImageStampInUse(1);
    dialog.Load();
    EXPECT_EQ(messages.Ids(), (std::vector<int>{10525}));
    dialog.SetKeep(true);
    EXPECT_FALSE(dialog.Keep());
    EXPECT_EQ(messages.Ids(), (std::vector<int>{10525, 10525}));
    EXPECT_EQ(dialog.ChainIcon(), ImageStampController::kIconFree);
}

TEST_F(ImageStampDialogTest, OkChecksBeforeWriting) {
    layout.SetImageStampInUse(1);
    layout.SetImageStampSettings(1);
    layout.SetImageStampSize({1440, 720});
    dialog.Load();
    dialog.SizeEdited(true, "0.5", dialog.HeightText());
    EXPECT_EQ(dialog.Apply().controlId, ImageStampController::kIdWidth);
    EXPECT_EQ(messages.shown.back().text,
              "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: 1.00 mm - 15000.00 mm");

    dialog.SizeEdited(true, "100", "50");
    ASSERT_EQ(dialog.ChooseFile(Jpeg("stempel.jpg", 300, 300)), kStampBuilt);
    const fs::path path = dialog.Path();
    fs::remove(path);
    messages.shown.clear();
    EXPECT_FALSE(dialog.Apply());
    EXPECT_EQ(messages.Ids(), (std::vector<int>{10417}));
    EXPECT_EQ(layout.Texts().imageStampPath, "");
    EXPECT_FALSE(undo.CanUndo());

    Jpeg("stempel.jpg", 300, 300);
    ASSERT_TRUE(dialog.Apply());
    EXPECT_EQ(layout.Texts().imageStampPath, path.string());
    EXPECT_EQ(layout.GetImageStampSize(), (LayoutPoint{360, 360}));
    EXPECT_NE(layout.GetStampImage(), nullptr);
    EXPECT_EQ(undo.GetLastUndoCode(), 20);
}

TEST_F(ImageStampDialogTest, AFailedBuildOnOkKeepsEverything) {
    ASSERT_EQ(dialog.ChooseFile(Jpeg("alt.jpg", 300, 300)), kStampBuilt);
    ASSERT_TRUE(dialog.Apply());
    CImageObj* old = layout.GetStampImage();
    const fs::path bad = Jpeg("neu.jpg", 300, 300);
    ASSERT_EQ(dialog.ChooseFile(bad), kStampBuilt);
    test::WriteBytes(bad, test::Bytes("verdorben"));
    messages.shown.clear();
    EXPECT_FALSE(dialog.Apply());
    EXPECT_EQ(messages.Ids().back(), 10526);
    EXPECT_EQ(layout.GetStampImage(), old);
    EXPECT_EQ(layout.Texts().imageStampPath, (root.Path() / "alt.jpg").string());
}

TEST_F(ImageStampDialogTest, ChoosingAnUnreadableFileRestoresThePreviousOne) {
    ASSERT_EQ(dialog.ChooseFile(Jpeg("alt.jpg", 300, 600)), kStampBuilt);
    EXPECT_EQ(dialog.ChooseFile(Jpeg("klein.jpg", 100, 100)), kStampSizeOutOfRange);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{10444}));
    EXPECT_EQ(dialog.Path(), (root.Path() / "alt.jpg").string());
    EXPECT_EQ(dialog.Height(), 720);
}

TEST_F(ImageStampDialogTest, SwitchingTheStampOffTakesNoUndoStep) {
    layout.SetImageStampInUse(1);
    dialog.Load();
    dialog.SetOn(false);
    EXPECT_TRUE(dialog.OkEnabled());
    ASSERT_TRUE(dialog.Apply());
    EXPECT_EQ(layout.GetImageStampInUse(), 0);
    EXPECT_FALSE(undo.CanUndo());
}

}  // namespace
}  // namespace vx
