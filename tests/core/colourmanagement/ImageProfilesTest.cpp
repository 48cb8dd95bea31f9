#include <gtest/gtest.h>

#include "../imaging/EpsFixtures.h"
#include "../imaging/JpegFixtures.h"
#include "../imaging/PsdWriter.h"
#include "../imaging/TiffFixtures.h"
#include "CatalogueFolders.h"
#include "colourmanagement/ImageProfiles.h"
#include "imaging/ImageFileType.h"
#include "model/CImageObj.h"
#include "platform/system/FourCC.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using Bytes = std::vector<uint8_t>;

struct FileCase {
    const char* name;
    uint32_t fileType;
    uint32_t space;
    std::function<Bytes(const Bytes& profile)> file;
    bool hasProfile;
};

Bytes JpegWithProfile(const Bytes& profile) {
    test::JpegFixture fixture;
    // Split over two chunks, as writers do for large profiles.
    const size_t half = profile.size() / 2;
    fixture.markers = {{JPEG_APP0 + 2, test::IccChunk(1, 2, Bytes(profile.begin(), profile.begin() + half))},
                    {JPEG_APP0 + 2, test::IccChunk(2, 2, Bytes(profile.begin() + half, profile.end()))}};
    return test::EncodeJpeg(fixture);
}

Bytes TiffWithProfile(const Bytes& profile) {
    test::TiffFixture fixture;
    fixture.icc = profile;
    return test::EncodeTiff(fixture);
}

Bytes PhotoshopWithProfile(const Bytes& profile) {
    test::PsdFixture fixture;
    fixture.resources = test::ResourceBuilder().Resolution(300, 300).Add(1039, "", profile).Bytes();
    return test::EncodePsd(fixture);
}

Bytes EpsWithProfile(const Bytes& profile) {
    test::EpsFixture fixture;
    fixture.icc = profile;
    fixture.data.assign(size_t(fixture.columns * fixture.rows * 3), 0x80);
    return test::EncodeEps(fixture);
}

TEST(ImageProfiles, ComeFromTheImageFile) {
    const Bytes profile = test::DescribedSrgb("Camera Space");
    const std::vector<FileCase> cases = {
        {"JPEG", kFileTypeJpeg, kSpaceRgb, JpegWithProfile, true},
        {"JPEG without profile", kFileTypeJpeg, kSpaceRgb, [](const Bytes&) { return test::EncodeJpeg({}); }, false},
        {"TIFF", kFileTypeTiff, kSpaceRgb, TiffWithProfile, true},
        {"CMYK TIFF", kFileTypeTiff, kSpaceCmyk, TiffWithProfile, true},
        {"Photoshop", FourCC("8BPS"), kSpaceRgb, PhotoshopWithProfile, true},
        {"EPS", kFileTypeEps, kSpaceCmyk, EpsWithProfile, true},
        {"grey image", kFileTypeTiff, kSpaceGray, TiffWithProfile, false},
        {"bitmap file", kFileTypeBmp, kSpaceRgb, TiffWithProfile, false},
        {"PNG without importer", FourCC("PNGf"), kSpaceRgb, TiffWithProfile, false},
    };
    test::TestRoot root;
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = root.Path() / "image";
        test::WriteBytes(path, c.file(profile));
        CImageObj item(true, "StdImage");
        item.SetFilePath(path);
        item.SetFileType(c.fileType);
        item.SetColorSpace(c.space);
        EXPECT_EQ(LoadImageEmbeddedProfile(item), c.hasProfile ? profile : Bytes());
        EXPECT_EQ(GetImageProfileDescription(item), c.hasProfile ? "Camera Space" : "");
    }
}

TEST(ImageProfiles, AskTheImportersForTheirTypes) {
    std::vector<std::pair<fs::path, uint32_t>> asked;
    SetImporterProfileReader([&](const fs::path& file, uint32_t type) {
        asked.emplace_back(file, type);
        return test::DescribedSrgb("From PNG");
    });
    CImageObj item(true, "StdImage");
    item.SetFilePath("/pictures/a.png");
    item.SetColorSpace(kSpaceRgb);
    for (uint32_t type : {FourCC("PNGf"), FourCC("PICT"), kFileTypeJpeg}) {
        item.SetFileType(type);
        (void)GetImageProfileDescription(item);
    }
    SetImporterProfileReader(nullptr);
    const std::vector<std::pair<fs::path, uint32_t>> expected = {{"/pictures/a.png", FourCC("PNGf")},
                                                                  {"/pictures/a.png", FourCC("PICT")}};
    EXPECT_EQ(asked, expected);
}

TEST(ImageProfiles, ADamagedProfileHasNoDescription) {
    test::TestRoot root;
    Bytes damaged = test::DescribedSrgb("Damaged");
    damaged.resize(damaged.size() - 40);
    const fs::path path = root.Path() / "damaged.tif";
    test::WriteBytes(path, TiffWithProfile(damaged));
    CImageObj item(true, "StdImage");
    item.SetFilePath(path);
    item.SetFileType(kFileTypeTiff);
    item.SetColorSpace(kSpaceRgb);
    EXPECT_EQ(LoadImageEmbeddedProfile(item), damaged);
    EXPECT_EQ(GetImageProfileDescription(item), "");
}

TEST(ImageProfiles, SourceProfileAvailability) {
    test::CatalogueFolders folders;
    folders.Write(0, "there.icc", test::DescribedSrgb("There"));
    struct Case {
        const char* name;
        int16_t useZel;
        bool embedded, useEmbed;
        const char* source;
        bool available;
    };
    const std::vector<Case> cases = {
        {"Zel", 2, false, false, "Nowhere", true},
        {"embedded and used", 0, true, true, "Nowhere", true},
        {"embedded, not used", 0, true, false, "Nowhere", false},
        {"used, none embedded", 0, false, true, "Nowhere", false},
        {"described file", 0, false, false, "there", true},
        {"no description", 0, false, false, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImageObj item(true, "StdImage");
        item.SetUseZelFile(c.useZel);
        item.SetFileEmbedded(c.embedded);
        item.SetProfileUseEmbed(c.useEmbed);
        item.SetSourceProfile(c.source);
        EXPECT_EQ(IsImageSourceProfileAvailable(item), c.available);
    }
}

}  // namespace
}  // namespace vx
