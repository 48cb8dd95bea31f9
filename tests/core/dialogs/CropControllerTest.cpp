#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../imaging/JpegFixtures.h"
#include "../model/LayoutFixture.h"
#include "dialogs/CropController.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "model/ImageGeometry.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Jpeg(int width, int height, int ppi) {
    test::JpegFixture f;
    f.width = width;
    f.height = height;
    f.densityUnit = 1;
    f.xDensity = f.yDensity = ppi;
    f.pixel = [width](int x, int, uint8_t* c) {
        for (int i = 0; i < 3; ++i) c[i] = uint8_t(x < width / 2 ? 40 + 60 * i : 200 - 60 * i);
    };
    return test::EncodeJpeg(f);
}

/// A layout in colour with images of a 3000 x 2000 JPEG at 300 ppi (and of a second
/// file when asked), an undo store, recorded messages and a view.
struct CropFixture {
    test::TestRoot root;
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    test::InstalledApplicationState app;
    test::TestLayout t{20000, 20000, 100};
    CLayoutSetting& layout = t.layout;
    static constexpr PixelRect kArea{0, 0, 300, 300};

    CropFixture() {
        app.undo = &undo;
        layout.SetColor(2);
        layout.SetBaseImage(std::unique_ptr<CImageObj>(CreateImageObj(nullptr, nullptr, "BaseImage")));
    }
    static const std::vector<uint8_t>& Picture() {
        static const std::vector<uint8_t> bytes = Jpeg(3000, 2000, 300);
        return bytes;
    }
    CImageObj* Add(const std::string& name, const std::vector<uint8_t>& bytes = Picture()) {
        const fs::path path = root.Path() / name;
        if (!fs::exists(path)) test::WriteBytes(path, bytes);
        EXPECT_EQ(AddImageFilesToLayout(&layout, path, undo), kAddDone);
        CLayoutObj* last = nullptr;
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) last = p;
        auto* image = static_cast<CImageObj*>(last);
        image->SetSelected(1);
        layout.SetCurrentItem(image);
        return image;
    }
};

TEST(CropController, StoredCropRoundTripsThroughEveryTurn) {
    // Insets of the stored picture: left, top, right, bottom.
    const LayoutRect stored{100, 200, 300, 400};
    for (int code : {0, 1, 2, 4, 8, 9, 10, 12}) {
        SCOPED_TRACE(code);
        CropFixture f;
        CImageObj* image = f.Add("a.jpg");
        image->SetRotate(int16_t(code));
        image->SetCrop(stored);
        CropController crop(f.layout, true);
        ASSERT_TRUE(crop.Init(CropFixture::kArea));
        const bool turned = ExchangesSides(code);
        EXPECT_EQ(crop.ImageWidth(), turned ? 2000 : 3000);
        EXPECT_EQ(crop.EditText(CropController::kWidth), turned ? "1400" : "2600");
        EXPECT_EQ(crop.EditText(CropController::kHeight), turned ? "2600" : "1400");
        LayoutRect shown, rect;
        GetRotatedCropRects(*image, shown, rect);

        // Back through the turn: the same insets, and the same rectangle shown.
        image->SetCrop({});
        CropController::StoreCropRect(*image, rect);
        EXPECT_EQ(image->GetCrop(), stored);

        image->SetCrop(stored);
        CropController::Focus focus;
        ASSERT_TRUE(crop.Ok(&focus));
        EXPECT_EQ(image->GetCrop(), stored) << "the unchanged frame lands on the same part";
        EXPECT_EQ(image->GetCropRes(), 300);
        EXPECT_EQ(image->GetCropRatio(), (LayoutPoint{turned ? 1400 : 2600, turned ? 2600 : 1400}));
        EXPECT_EQ(f.undo.GetLastUndoCode(), 5);
        EXPECT_EQ(f.layout.GetDirty(), 1);
    }
}

TEST(CropController, SetsUpThePreviewAndFrameInPreviewPixels) {
    CropFixture f;
    CImageObj* image = f.Add("a.jpg");
    image->SetCrop({300, 200, 600, 400});
    image->SetCropMode(1);
    image->SetCropOut(2);
    image->SetCropFrameColor(0x0000FF);
    CropController crop(f.layout, true);
    ASSERT_TRUE(crop.Init(CropFixture::kArea));
    EXPECT_EQ(crop.PreviewImageRect(), (PixelRect{0, 0, 300, 200}));
    EXPECT_EQ(crop.Tracker()->Rect(), (PixelRect{30, 20, 240, 160}));
    EXPECT_EQ(crop.MinCropWidth(), 10);
    EXPECT_DOUBLE_EQ(crop.ScaleX(), 10.0);
    EXPECT_TRUE(crop.KeepProportions());
    EXPECT_TRUE(crop.Tracker()->AspectLocked());
    EXPECT_EQ(crop.Mode(), 2);
    EXPECT_TRUE(crop.ColourEnabled());
    EXPECT_EQ(crop.Colour(), 0x0000FFu);
    ASSERT_NE(crop.PreviewBitmap(), nullptr);
    EXPECT_EQ(DibBuffer::GetRect(crop.PreviewBitmap()).Width(), 300);
    EXPECT_FALSE(f.undo.CanUndo()) << "nothing written before OK";
}

TEST(CropController, EditsDriveTheFrameAndTheFrameTheEdits) {
    CropFixture f;
    f.Add("a.jpg");
    CropController crop(f.layout, true);
    ASSERT_TRUE(crop.Init(CropFixture::kArea));
    crop.EditChanged(CropController::kWidth, "1000");
    EXPECT_EQ(crop.Tracker()->Rect(), (PixelRect{0, 0, 100, 200}));
    EXPECT_EQ(crop.CropWidth(), 1000);

    // A drag of the right handle writes both edits without feeding back.
    EXPECT_EQ(crop.ButtonDown({99, 100}), CropController::Cursor::SizeWE);
    crop.MouseMove({149, 100}, true);
    crop.ButtonUp({149, 100});
    EXPECT_EQ(crop.EditText(CropController::kWidth), "1500");
    EXPECT_EQ(crop.EditText(CropController::kHeight), "2000");
    EXPECT_EQ(crop.CropWidth(), 1500);
    EXPECT_EQ(crop.Tracker()->Rect(), (PixelRect{0, 0, 150, 200}));

    // Keep proportions: the width typed drives the height; past the picture both fit it.
    ASSERT_TRUE(crop.SetKeepProportions(true));
    crop.EditChanged(CropController::kWidth, "750");
    EXPECT_EQ(crop.EditText(CropController::kHeight), "1000");
    EXPECT_EQ(crop.Tracker()->Rect(), (PixelRect{0, 0, 75, 100}));
    crop.EditChanged(CropController::kWidth, "2400");
    EXPECT_EQ(crop.EditText(CropController::kWidth), "1500");
    EXPECT_EQ(crop.EditText(CropController::kHeight), "2000");

    // Moving the frame inside shows the grab cursor and writes nothing.
    EXPECT_EQ(crop.MouseMove({40, 100}, false), CropController::Cursor::OverFrame);
    EXPECT_EQ(crop.ButtonDown({40, 100}), CropController::Cursor::Dragging);
    crop.ButtonUp({400, 100});
    EXPECT_EQ(crop.Tracker()->Rect(), (PixelRect{150, 0, 300, 200}));
    EXPECT_FALSE(crop.Dragging());
}

TEST(CropController, ShiftRightStopsAtThePicturesRightEdge) {
    CropFixture f;
    CImageObj* image = f.Add("a.jpg");
    image->SetCrop({2000, 0, 0, 0});
    CropController crop(f.layout, true);
    ASSERT_TRUE(crop.Init(CropFixture::kArea));
    EXPECT_EQ(crop.Tracker()->Rect(), (PixelRect{200, 0, 300, 200}));
    crop.MoveFrame(-1, 0);
    EXPECT_EQ(crop.Tracker()->Rect(), (PixelRect{199, 0, 299, 200}));
    for (int i = 0; i < 3; ++i) crop.MoveFrame(1, 0);
    EXPECT_EQ(crop.Tracker()->Rect(), (PixelRect{200, 0, 300, 200}));
}

TEST(CropController, FitsTheRectangleToTheTypedSize) {
    struct Case {
        const char* what;
        LayoutRect rect;
        int32_t typedWidth;
        LayoutRect expected;
    };
    const std::vector<Case> cases = {
        {"shrink", {100, 0, 1100, 500}, 600, {100, 0, 700, 500}},
        {"grow", {100, 0, 1100, 500}, 1500, {100, 0, 1600, 500}},
        {"grow past the right edge moves the left edge", {2000, 0, 2900, 500}, 1500, {1500, 0, 3000, 500}},
        {"never below 0", {500, 0, 2900, 500}, 3500, {0, 0, 3000, 500}},
        {"above 30000 ignored", {100, 0, 1100, 500}, 30001, {100, 0, 1100, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LayoutRect r = c.rect;
        CropController::FitToTypedSize(r, c.typedWidth, 500, 3000, 2000);
        EXPECT_EQ(r, c.expected);
    }
}

TEST(CropController, RefusesZeroSidesAndKeepsTheDialogOpen) {
    CropFixture f;
    f.Add("a.jpg");
    CropController crop(f.layout, true);
    ASSERT_TRUE(crop.Init(CropFixture::kArea));
    crop.EditChanged(CropController::kWidth, "0");
    CropController::Focus focus;
    EXPECT_FALSE(crop.Ok(&focus));
    EXPECT_EQ(focus, CropController::Focus::Width);
    ASSERT_EQ(f.messages.Ids(), std::vector<int>{IDS_VALUE_RANGE_INT});
    EXPECT_EQ(f.messages.shown[0].text,
              "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: 1 Pixel - 3000 Pixel");
    EXPECT_FALSE(crop.SetKeepProportions(true));
    EXPECT_FALSE(crop.KeepProportions());
    EXPECT_EQ(f.messages.Ids().back(), IDS_KEEP_PROPORTIONS_ZERO);
    EXPECT_FALSE(f.undo.CanUndo());

    // Committing raises the width to the minimum.
    crop.EditCommitted(CropController::kWidth);
    EXPECT_EQ(crop.EditText(CropController::kWidth), "10");
}

TEST(CropController, AFailedUndoStepWritesNothingAndStaysOpen) {
    CropFixture f;
    CImageObj* image = f.Add("a.jpg");
    CropController crop(f.layout, true);
    ASSERT_TRUE(crop.Init(CropFixture::kArea));
    crop.EditChanged(CropController::kWidth, "1000");
    // No undo step can be had: stand in with no application state at all.
    ScopedHostService<ApplicationState> noApp(nullptr);
    CropController::Focus focus;
    EXPECT_FALSE(crop.Ok(&focus));
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_NOT_ENOUGH_MEMORY});
    EXPECT_EQ(image->GetCrop(), (LayoutRect{0, 0, 0, 0}));
    EXPECT_EQ(f.layout.GetDirty(), 1) << "as adding left it";
}

TEST(CropController, OtherPicturesTakeOnlyModeProportionsAndColour) {
    CropFixture f;
    CImageObj* other = f.Add("b.jpg", Jpeg(600, 400, 300));
    other->SetCrop({10, 10, 10, 10});
    const int32_t otherResolution = other->GetCropRes();
    CImageObj* image = f.Add("a.jpg");
    CImageObj* same = f.Add("a.jpg");
    f.layout.SetCurrentItem(image);
    CropController crop(f.layout, false);
    ASSERT_TRUE(crop.Init(CropFixture::kArea));
    EXPECT_FALSE(crop.EditsEnabled());
    EXPECT_FALSE(crop.KeepProportionsEnabled());
    EXPECT_EQ(crop.ButtonDown({150, 100}), CropController::Cursor::Arrow) << "the frame is fixed";
    EXPECT_FALSE(crop.Tracking());
    crop.SetMode(1);
    crop.SetColour(0x00FF00);
    CropController::Focus focus;
    ASSERT_TRUE(crop.Ok(&focus));
    EXPECT_EQ(other->GetCrop(), (LayoutRect{10, 10, 10, 10}));
    EXPECT_EQ(other->GetCropOut(), 1);
    EXPECT_EQ(other->GetCropFrameColor(), 0x00FF00u);
    EXPECT_EQ(other->GetCropRes(), otherResolution) << "no crop values beyond the three";
    for (CImageObj* p : {image, same}) {
        EXPECT_EQ(p->GetCropOut(), 1);
        EXPECT_EQ(p->GetCropRes(), 300);
        EXPECT_EQ(p->GetCropFrameColor(), 0x00FF00u);
    }
}

TEST(CropController, AnExtremePictureGetsAPreviewSideOfAtLeastOnePixel) {
    for (bool turned : {false, true}) {
        SCOPED_TRACE(turned);
        CropFixture f;
        CImageObj* image = f.t.Add(1000, 10);
        ImageDescription d;
        d.codecType = 0;
        d.width = 25000;
        d.height = 250;
        d.hRes = d.vRes = 300;
        image->SetDescription(d);
        image->SetRotate(turned ? 1 : 0);
        DibBuffer* dib = nullptr;
        Rect16 r;
        r.Set(0, 0, 100, 1);
        ASSERT_EQ(DibBuffer::Create(&dib, 0, r), 0);
        ASSERT_TRUE(image->SetWorkingBitmap(DibBufferPtr(dib)));
        f.layout.SetCurrentItem(image);
        CropController crop(f.layout, true);
        ASSERT_TRUE(crop.Setup({0, 0, 40, 40}));
        const PixelRect preview = crop.PreviewImageRect();
        EXPECT_EQ(preview.right - preview.left, turned ? 1 : 40);
        EXPECT_EQ(preview.bottom - preview.top, turned ? 40 : 1);
        EXPECT_GT(crop.MinCropWidth(), 0);
        EXPECT_GT(crop.MinCropHeight(), 0);
    }
}

}  // namespace
}  // namespace vx
