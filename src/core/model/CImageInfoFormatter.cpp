#include "model/CImageInfoFormatter.h"

#include <chrono>
#include <ctime>
#include <string_view>
#include <utility>

#include "model/CImageObj.h"
#include "model/ProfileDescriptions.h"
#include "platform/system/Format.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

std::string SourceProfileText(const CImageObj& item) {
    if (item.GetUseZelFile() >= 2) return ZelWorkingSpaceDescription();
    if (item.GetProfileUseEmbed() != 1) return item.GetSourceProfile();
    return EmbeddedProfileDescription(item);
}

/// Local time in the German form "TT.MM.JJJJ HH:MM".
std::string LocalDateTime(CImageObj::Time time) {
    const std::time_t t = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    char text[32];
    if (!localtime_r(&t, &local) || std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", &local) == 0)
        return {};
    return text;
}

std::string FileSize(uint64_t size) {
    constexpr uint64_t kMegabyte = 1048576;
    if (size < kMegabyte) {
        const uint64_t t = size * 10 / 1024;
        return MessageText(IDS_SIZE_KB, {static_cast<long long>(t / 10), static_cast<long long>(t % 10)});
    }
    const uint64_t t = size / 1024 * 10 / 1024;
    return MessageText(IDS_SIZE_MB, {static_cast<long long>(t / 10), static_cast<long long>(t % 10)});
}

std::string ExifVersion(const ExifRecord& exif) {
    const auto& v = exif.exifVersion;
    for (uint8_t c : v)
        if (c == 0) return {};  // no version was read
    return std::string{char(v[0]), char(v[1]), '.', char(v[2]), char(v[3])};
}

int LightSourceText(uint16_t value) {
    switch (value) {
        case 1: return IDS_LIGHT_SOURCE_DAYLIGHT;
        case 2: return IDS_LIGHT_SOURCE_FLUORESCENT;
        case 3: return IDS_LIGHT_SOURCE_TUNGSTEN;
        case 4: return IDS_LIGHT_SOURCE_FLASH;
        case 9: return IDS_LIGHT_SOURCE_FINE_WEATHER;
        case 10: return IDS_LIGHT_SOURCE_CLOUDY;
        case 11: return IDS_LIGHT_SOURCE_SHADE;
        case 12: return IDS_LIGHT_SOURCE_DAYLIGHT_FLUORESCENT;
        case 13: return IDS_LIGHT_SOURCE_DAY_WHITE_FLUORESCENT;
        case 14: return IDS_LIGHT_SOURCE_COOL_WHITE_FLUORESCENT;
        case 15: return IDS_LIGHT_SOURCE_WHITE_FLUORESCENT;
        case 17: return IDS_LIGHT_SOURCE_STANDARD_A;
        case 18: return IDS_LIGHT_SOURCE_STANDARD_B;
        case 19: return IDS_LIGHT_SOURCE_STANDARD_C;
        case 20: return IDS_LIGHT_SOURCE_D55;
        case 21: return IDS_LIGHT_SOURCE_D65;
        case 22: return IDS_LIGHT_SOURCE_D75;
        case 23: return IDS_LIGHT_SOURCE_D50;
        case 24: return IDS_LIGHT_SOURCE_ISO_STUDIO_TUNGSTEN;
        case 255: return IDS_LIGHT_SOURCE_OTHER;
        default: return IDS_LIGHT_SOURCE_UNKNOWN;
    }
}

std::string ExposureTime(uint32_t numerator, uint32_t denominator) {
    if (numerator == 0) return "0sec";
    if (denominator == 0) return {};  // n/0 is no time
    if (numerator >= denominator) return FormatC("%.1f sec", double(numerator) / denominator);
    const double q = double(denominator) / numerator;
    return FormatC(q >= 10.0 ? "1/%.1f sec" : "1/%.2f sec", q);
}

int WhiteBalanceText(uint16_t v) {
    return v == 0 ? IDS_WHITE_BALANCE_AUTO : v == 1 ? IDS_WHITE_BALANCE_MANUAL : IDS_WHITE_BALANCE_UNKNOWN;
}
int ContrastText(uint16_t v) {
    return v == 1 ? IDS_CONTRAST_SOFT : v == 2 ? IDS_CONTRAST_HARD : IDS_CONTRAST_NORMAL;
}
int SaturationText(uint16_t v) {
    return v == 1 ? IDS_SATURATION_LOW : v == 2 ? IDS_SATURATION_HIGH : IDS_SATURATION_NORMAL;
}

/// The first flash text: fired or not, and with or without red-eye reduction.
std::string FlashFired(uint8_t flash) {
    if (!(flash & 0x01)) return LoadString(IDS_FLASH_NOT_FIRED);
    return LoadString(IDS_FLASH_FIRED) + " " +
           LoadString(flash & 0x40 ? IDS_FLASH_RED_EYE_REDUCTION : IDS_FLASH_NO_RED_EYE_REDUCTION);
}

/// The second flash text: the flash mode, only when it fired.
std::string FlashMode(uint8_t flash) {
    if (!(flash & 0x01)) return {};
    static constexpr int kModes[] = {IDS_FLASH_COMPULSORY_UNKNOWN, IDS_FLASH_COMPULSORY_FIRED,
                                     IDS_FLASH_COMPULSORY_SUPPRESSED, IDS_FLASH_AUTO_MODE};
    return LoadString(kModes[(flash >> 3) & 3]);
}

}  // namespace

std::string CImageInfoFormatter::FormatField(int field) const {
    const ExifRecord& exif = mItem.GetExif();
    const std::optional<ImageDescription>& description = mItem.GetDescription();
    switch (field) {
        case 0: return FormatC("%d", int(mItem.GetLabelNumber()));
        case 1: return mItem.GetFilePath().filename().string();
        case 2: return LocalDateTime(mItem.GetCreationTime());
        case 3: return LocalDateTime(mItem.GetLastWriteTime());
        case 4: return FileSize(mItem.GetFileSize());
        case 5: return FourCCText(mItem.GetFileType());
        case 6:
            if (!description) return {};
            return MessageText(IDS_PIXEL_SIZE, {static_cast<long long>(description->width),
                                                static_cast<long long>(description->height)});
        case 7:
            if (!description) return {};
            return MessageText(IDS_PIXELS_PER_INCH, {static_cast<long long>(description->hRes)});
        case 8: return SourceProfileText(mItem);
        case 9: return mItem.GetColorProof() != 0 ? mItem.GetSimulationProfile() : std::string();
        case 10: return exif.maker;
        case 11: return exif.model;
        case 12: return ExifVersion(exif);
        case 13: return exif.dateTimeOriginal;
        case 14: return exif.dateTimeDigitized;
        case 15: return LoadString(LightSourceText(exif.lightSource));
        case 16: return ExposureTime(exif.exposureTimeNumerator, exif.exposureTimeDenominator);
        case 17: return FormatC("%.2f", exif.exposureBiasValue);
        case 18: return FormatC("%.2f", exif.fNumber);
        case 19: return FormatC("%d", int(exif.isoSpeedRatings));
        case 20: return LoadString(WhiteBalanceText(exif.whiteBalance));
        case 21: return LoadString(exif.colorSpace == 1 ? IDS_COLOR_SPACE_SRGB : IDS_COLOR_SPACE_OTHER);
        case 22: return LoadString(ContrastText(exif.contrast));
        case 23: return LoadString(SaturationText(exif.saturation));
        case 24: return FlashFired(uint8_t(exif.flash));  // the low byte holds the bits shown
        case 25: return FlashMode(uint8_t(exif.flash));
        default: return {};
    }
}

}  // namespace vx
