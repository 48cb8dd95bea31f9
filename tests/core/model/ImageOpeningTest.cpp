#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../imaging/BmpFixtures.h"
#include "../imaging/EpsFixtures.h"
#include "../imaging/IfdWriter.h"
#include "../imaging/JpegFixtures.h"
#include "../imaging/TiffFixtures.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "model/ImageOpenHooks.h"
#include "model/ProfileDescriptions.h"
#include "platform/system/FourCC.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kRgb = FourCC("RGB ");
constexpr uint32_t kGrey = FourCC("GRAY");
constexpr uint32_t kCmyk = FourCC("CMYK");

std::unique_ptr<CImageObj> Described(int width, int height) {
    std::unique_ptr<CImageObj> item(CreateImageObj(nullptr, nullptr, "StdImage"));
    ImageDescription d;
    d.codecType = FourCC("jpeg");
    d.width = int16_t(width);
    d.height = int16_t(height);
    item->SetDescription(d);
    return item;
}

TEST(ChooseAutoRotation, TurnsByModeAndShape) {
    struct Case {
        int mode;
        int landscape, portrait, square;
    };
    const std::vector<Case> cases = {
        {0, 0, 0, 0}, {1, 0, 0, 0},  // no Exif orientation
        {2, 0, 1, 0}, {3, 0, 4, 0}, {4, 1, 0, 0}, {5, 4, 0, 0}, {6, 0, 0, 0}, {-1, 0, 0, 0},
    };
    const auto landscape = Described(600, 400), portrait = Described(400, 600), square = Described(500, 500);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(ChooseAutoRotation(*landscape, c.mode), c.landscape);
        EXPECT_EQ(ChooseAutoRotation(*portrait, c.mode), c.portrait);
        EXPECT_EQ(ChooseAutoRotation(*square, c.mode), c.square);
    }
}

TEST(ChooseAutoRotation, FollowsTheExifOrientation) {
    const int expected[] = {0, 0, 8, 2, 10, 12, 1, 9, 4, 0};  // orientations 0 to 9
    auto item = Described(600, 400);
    for (uint16_t orientation = 0; orientation <= 9; ++orientation) {
        ExifRecord exif;
        exif.orientation = orientation;
        item->SetExif(exif);
        EXPECT_EQ(ChooseAutoRotation(*item, 1), expected[orientation]) << orientation;
        EXPECT_EQ(ChooseAutoRotation(*item, 0), 0);
    }
}

TEST(ChooseAutoRotation, ACroppedItemCountsItsCroppedSize) {
    auto item = Described(600, 400);  // landscape pixels
    item->SetSize(1000, 500);
    item->SetCrop({300, 0, 300, 0});  // 400 x 500 left: portrait
    EXPECT_EQ(ChooseAutoRotation(*item, 2), 0) << "without the crop the pixels count";
    item->SetCropOut(1);
    EXPECT_EQ(ChooseAutoRotation(*item, 2), 1);
    EXPECT_EQ(ChooseAutoRotation(*item, 4), 0);
}

class ApplyLayoutColor : public testing::Test {
protected:
    void SetUp() override {
        SetProfileDescriptions({[] { return std::string("Zel-Arbeitsfarbraum"); },
                                [](const CImageObj&) { return std::string("Eingebettetes Profil"); }});
        layout.SetColorProfRGB(7);
        layout.SetColorIntentRGB(2);
        layout.SetColorProof(1);
        layout.SetColorProfSimulation(3);
        layout.SetColorIntentSimulation(4);
        layout.Texts().rgbSourceProfile = "sRGB Quelle";
        layout.Texts().simulationProfile = "Zeitungsdruck";
    }
    void TearDown() override { SetProfileDescriptions({}); }

    CLayoutSetting layout{true};
};

TEST_F(ApplyLayoutColor, SetsTheSourceByColourSpaceZelAndEmbeddedProfile) {
    struct Expect {
        int16_t useZel, useEmbed, intent;
        const char* source;
    };
    for (uint32_t space : {kRgb, kGrey})
        for (int zel : {0, 1})
            for (int embedRgb : {0, 1})
                for (int embedded : {0, 1})
                    for (int16_t zelFile : {0, 2}) {
                        SCOPED_TRACE(testing::Message() << (space == kRgb ? "RGB" : "GRAY") << " zel " << zel
                                                        << " embedRGB " << embedRgb << " embedded " << embedded
                                                        << " zelFile " << zelFile);
                        layout.SetZel(zel);
                        layout.SetColorEmbedRGB(embedRgb);
                        std::unique_ptr<CImageObj> item(CreateImageObj(nullptr, nullptr, "StdImage"));
                        item->SetOwner(&layout);
                        item->SetColorSpace(space);
                        item->SetFileEmbedded(embedded);
                        item->SetZelFile(zelFile);
                        item->SetSourceProfile("vorher");
                        ApplyLayoutColorSettings(*item);

                        Expect e{0, 0, 0, "vorher"};
                        if (space == kRgb) {
                            e.useZel = zel ? zelFile : 0;
                            e.useEmbed = embedRgb && embedded;
                            e.intent = e.useZel || e.useEmbed ? 5 : 2;
                            e.source = e.useZel ? "Zel-Arbeitsfarbraum"
                                       : e.useEmbed ? "Eingebettetes Profil"
                                                    : "sRGB Quelle";
                        }
                        EXPECT_EQ(item->GetUseZelFile(), e.useZel);
                        EXPECT_EQ(item->GetProfileUseEmbed(), e.useEmbed);
                        EXPECT_EQ(item->GetProfileIntent(), e.intent);
                        EXPECT_EQ(item->GetProfileSource(), 7);
                        EXPECT_EQ(item->GetSourceProfile(), e.source);
                        EXPECT_EQ(item->GetColorProof(), 1);
                        EXPECT_EQ(item->GetColorProfSimulation(), 3);
                        EXPECT_EQ(item->GetColorIntentSimulation(), 4);
                        EXPECT_EQ(item->GetSimulationProfile(), "Zeitungsdruck");
                    }
}

TEST_F(ApplyLayoutColor, LeavesCmykSourcesAndOtherItemsAlone) {
    std::unique_ptr<CImageObj> cmyk(CreateImageObj(nullptr, nullptr, "StdImage"));
    cmyk->SetOwner(&layout);
    cmyk->SetColorSpace(kCmyk);
    ApplyLayoutColorSettings(*cmyk);
    EXPECT_EQ(cmyk->GetProfileIntent(), 1);
    EXPECT_EQ(cmyk->GetProfileUseEmbed(), 1);
    EXPECT_EQ(cmyk->GetProfileSource(), 1);
    EXPECT_EQ(cmyk->GetUseZelFile(), 0);
    EXPECT_EQ(cmyk->GetSimulationProfile(), "Zeitungsdruck");

    std::unique_ptr<CImageObj> prototype(CreateImageObj(nullptr, nullptr, "BaseImage"));
    prototype->SetOwner(&layout);
    prototype->SetType(1);
    prototype->SetColorSpace(kRgb);
    ApplyLayoutColorSettings(*prototype);
    EXPECT_EQ(prototype->GetProfileSource(), 1) << "only loaded items (type 2)";
    EXPECT_EQ(prototype->GetSimulationProfile(), "");
}

/// Items opened from generated files.
class OpenImage : public testing::Test {
protected:
    std::unique_ptr<CImageObj> Open(const std::string& name, const std::vector<uint8_t>& bytes, int expected = 1) {
        const fs::path path = root.Path() / name;
        test::WriteBytes(path, bytes);
        std::unique_ptr<CImageObj> item(CreateImageObj(nullptr, nullptr, "StdImage"));
        EXPECT_EQ(OpenImageFile(item.get(), path) != 0, expected != 0) << name;
        return item;
    }

    test::TestRoot root;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
};

TEST_F(OpenImage, JpegColourSpaceFollowsItsComponents) {
    struct Case {
        J_COLOR_SPACE space;
        uint32_t colorSpace;
        int depth, opened;
    };
    for (const Case& c : {Case{JCS_GRAYSCALE, kGrey, 8, 1}, Case{JCS_RGB, kRgb, 24, 1}, Case{JCS_CMYK, kCmyk, 32, 0}}) {
        SCOPED_TRACE(c.depth);
        test::JpegFixture f;
        f.space = c.space;
        auto item = Open("bild.jpg", test::EncodeJpeg(f), c.opened);
        EXPECT_EQ(item->GetColorSpace(), c.colorSpace);
        EXPECT_EQ(item->GetColorDepth(), c.depth);
        EXPECT_EQ(item->GetFileType(), FourCC("JPEG"));
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OpenImage, EpsColourSpaceFollowsItsDepth) {
    struct Case {
        int mode;
        uint32_t colorSpace;
        int depth;
    };
    for (const Case& c : {Case{4, kCmyk, 32}, Case{3, kRgb, 24}, Case{1, kGrey, 8}}) {
        SCOPED_TRACE(c.depth);
        test::EpsFixture f;
        f.mode = c.mode;
        f.data.assign(size_t(f.columns * f.rows * c.mode), 90);
        auto item = Open("bild.eps", test::EncodeEps(f), c.mode != 4);
        EXPECT_EQ(item->GetFileType(), FourCC("EPSF"));
        EXPECT_EQ(item->GetColorSpace(), c.colorSpace);
        EXPECT_EQ(item->GetColorDepth(), c.depth);
    }
    // No EPS of 16 bits per pixel is read, but a described one is refused.
    auto item = Described(10, 10);
    ImageDescription d = *item->GetDescription();
    d.codecType = FourCC("raw ");
    d.depth = 16;
    item->SetDescription(d);
    EXPECT_EQ(DetermineColorSpace(*item), 0);
    d.depth = 8;
    item->SetDescription(d);
    EXPECT_EQ(DetermineColorSpace(*item), 1);
    EXPECT_EQ(item->GetColorSpace(), kGrey);
}

TEST_F(OpenImage, TiffTakesItsColourSpaceFromItsTags) {
    test::TiffFixture f;
    auto item = Open("bild.tif", test::EncodeTiff(f));
    EXPECT_EQ(item->GetFileType(), FourCC("TIFF"));
    EXPECT_EQ(item->GetDescription()->codecType, FourCC("tiff"));
    EXPECT_EQ(item->GetColorSpace(), kRgb);
}

TEST_F(OpenImage, PalettePicturesAreGreyOnlyWhenTheirPixelsAre) {
    struct Case {
        const char* what;
        uint16_t bitCount;
        std::vector<std::array<uint8_t, 3>> palette;
        uint32_t colorSpace;
    };
    const std::vector<Case> cases = {
        {"8-bit palette of greys", 8, {{0, 0, 0}, {80, 80, 80}, {200, 200, 200}, {255, 255, 255}}, kGrey},
        {"black and white, 1 bit", 1, {{0, 0, 0}, {255, 255, 255}}, kGrey},
        {"colours, 4 bits", 4, {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {10, 10, 10}}, kRgb},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::BmpFixture f;
        f.width = 8;
        f.height = 4;
        f.bitCount = c.bitCount;
        f.palette = c.palette;
        const uint32_t entries = uint32_t(c.palette.size());
        f.pixels = test::StoredRows(f.width, f.height, c.bitCount, false,
                                    [entries](int x, int y) { return uint32_t(x + y) % entries; });
        auto item = Open("bild.bmp", test::EncodeBmp(f));
        EXPECT_EQ(item->GetFileType(), FourCC("BMPf"));
        EXPECT_EQ(item->GetColorSpace(), kRgb) << "before the preview";
        EXPECT_EQ(item->GetColorDepth(), c.bitCount);
        DibBufferPtr preview = LoadImagePreview(*item);
        ASSERT_TRUE(preview);
        EXPECT_EQ(item->GetColorSpace(), c.colorSpace);
    }
}

TEST(DetectGreyPreview, NeedsEveryPixelGrey) {
    EXPECT_EQ(DetectGreyPreview(nullptr), kGrey);
    DibBuffer* raw = nullptr;
    Rect16 r;
    r.Set(0, 0, 3, 2);
    ASSERT_EQ(DibBuffer::Create(&raw, 32, r), 0);
    DibBufferPtr dib(raw);
    uint8_t* bits = DibBuffer::GetBits(raw);
    std::memset(bits, 77, 3 * 2 * 4);
    EXPECT_EQ(DetectGreyPreview(raw), kGrey);
    bits[5 * 4 + 3] = 0;  // alpha does not count
    EXPECT_EQ(DetectGreyPreview(raw), kGrey);
    bits[5 * 4 + 2] = 78;  // the last pixel's red
    EXPECT_EQ(DetectGreyPreview(raw), kRgb);
}

/// Answers the high-quality-thumbnail preference; nothing else is asked.
struct PreferencesOnly : ApplicationState {
    AppPreferences preferences;
    AppPreferences& Preferences() override { return preferences; }
    CLayoutSetting& DefaultLayoutSetting() override { throw std::logic_error("not used"); }
    CLayoutSetting*& ActiveLayoutSlot() override { throw std::logic_error("not used"); }
    void DeleteLayoutRecord(std::unique_ptr<CLayoutSetting>, CLayoutSetting**) override {}
    bool InitAppDefaults() override { return false; }
    bool PrepareNewLayout(CLayoutSetting&) override { return false; }
    int GetSystemLanguage() override { return 7; }
    bool ImportLocked() override { return false; }
    UndoStore& GetUndoStore() override { throw std::logic_error("not used"); }
};

TEST_F(OpenImage, ThePreviewIsTheExifThumbnailUnlessHighQualityIsAsked) {
    test::JpegFixture thumbnail;
    thumbnail.width = 24;
    thumbnail.height = 16;
    // A phone's picture taken upright: stored lying, with orientation 6.
    const std::vector<uint8_t> tiff = test::IfdWriter()
                                          .Ascii(test::IfdWriter::kIfd0, 272, "KW-9")
                                          .Short(test::IfdWriter::kIfd0, 0x0112, 6)
                                          .Short(test::IfdWriter::kExif, 0x9209, 16)
                                          .Thumbnail(test::EncodeJpeg(thumbnail))
                                          .Build();
    std::vector<uint8_t> exif = test::Bytes(std::string_view("Exif\0\0", 6));
    exif.insert(exif.end(), tiff.begin(), tiff.end());
    test::JpegFixture photo;
    photo.width = 600;
    photo.height = 400;
    photo.markers = {{JPEG_APP0 + 1, exif}};

    PreferencesOnly app;
    ScopedHostService<ApplicationState> installApp(&app);
    for (int highQuality : {0, 1}) {
        SCOPED_TRACE(highQuality);
        app.preferences.highQualityThumbnails = highQuality;
        auto item = Open("bild.jpg", test::EncodeJpeg(photo));
        DibBufferPtr preview = LoadImagePreview(*item);
        ASSERT_TRUE(preview);
        const Rect16 r = DibBuffer::GetRect(preview.get());
        EXPECT_EQ(r.Width(), highQuality ? 300 : 24);
        EXPECT_EQ(r.Height(), highQuality ? 200 : 16);
        EXPECT_GT(item->GetColorBright(), 0);
        // The whole Exif record reaches the item either way: the automatic rotation and
        // the labels read it.
        EXPECT_EQ(item->GetExif().orientation, 6);
        EXPECT_EQ(item->GetExif().model, std::string("KW-9"));
        EXPECT_TRUE(item->GetExif().presence & ExifRecord::kFlash);

        item->SetRotate(1);  // the thumbnail is turned as the decoded picture would be
        preview = LoadImagePreview(*item);
        ASSERT_TRUE(preview);
        EXPECT_EQ(DibBuffer::GetRect(preview.get()).Width(), highQuality ? 200 : 16);
    }
}

TEST_F(OpenImage, RefusesWhatNoReaderTakes) {
    int asked = 0;
    ImageOpenHooks previous = SetImageOpenHooks({[&asked](const fs::path&) {
        ++asked;
        return std::optional<ImportedImageInfo>();
    }, {}});
    Open("bild.png", test::Bytes("\x89PNG\r\n\x1a\n...."), 0);
    EXPECT_EQ(asked, 1) << "the importers are asked";

    // An importer's picture is taken up to 8000 pixels on a side.
    ImportedImageInfo info;
    info.fileType = FourCC("PNGf");
    info.description.codecType = FourCC("png ");
    info.description.width = 8000;
    info.description.height = 300;
    info.description.depth = 24;
    info.hasEmbeddedProfile = true;
    SetImageOpenHooks({[&info](const fs::path&) { return std::optional<ImportedImageInfo>(info); },
                       [](const fs::path&) { return int16_t(2); }});
    auto item = Open("bild.png", test::Bytes("\x89PNG\r\n\x1a\n...."), 1);
    EXPECT_EQ(item->GetFileType(), FourCC("PNGf"));
    EXPECT_EQ(item->GetFileEmbedded(), 1);
    EXPECT_EQ(item->GetColorSpace(), kRgb);
    EXPECT_EQ(item->GetZelFile(), 0) << "only JPEG and TIFF files are asked";
    info.description.width = 8001;
    Open("bild.png", test::Bytes("\x89PNG\r\n\x1a\n...."), 0);
    info.fileType = FourCC("GIFf");
    info.description.width = 100;
    Open("bild.png", test::Bytes("\x89PNG\r\n\x1a\n...."), 0);

    // JPEG files in RGB are asked for their Zel level.
    test::JpegFixture f;
    auto jpeg = Open("bild.jpg", test::EncodeJpeg(f));
    EXPECT_EQ(jpeg->GetZelFile(), 2);
    SetImageOpenHooks(std::move(previous));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OpenImage, OnlyLoadedImageItemsAreOpened) {
    test::JpegFixture f;
    const fs::path path = root.Path() / "bild.jpg";
    test::WriteBytes(path, test::EncodeJpeg(f));
    EXPECT_EQ(OpenImageFile(nullptr, path), 0);
    std::unique_ptr<CImageObj> item(CreateImageObj(nullptr, nullptr, "BaseImage"));
    item->SetType(1);
    EXPECT_EQ(OpenImageFile(item.get(), path), 0);
    item->SetType(2);
    EXPECT_NE(OpenImageFile(item.get(), path), 0);
    EXPECT_EQ(item->GetFilePath(), path);
    EXPECT_EQ(item->GetFileSize(), fs::file_size(path));
}

}  // namespace
}  // namespace vx
