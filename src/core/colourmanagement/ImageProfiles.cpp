#include "colourmanagement/ImageProfiles.h"

#include <mutex>
#include <utility>

#include "colourmanagement/ProfileCatalogue.h"
#include "imaging/EpsReader.h"
#include "imaging/ImageFileType.h"
#include "imaging/JpegReader.h"
#include "imaging/PsdReader.h"
#include "imaging/TiffReader.h"
#include "model/CImageObj.h"
#include "platform/system/FourCC.h"

namespace vx {
namespace {

std::mutex gMutex;
ImporterProfileReader gImporterReader;

std::vector<uint8_t> AskImporters(const std::filesystem::path& file, uint32_t type) {
    ImporterProfileReader reader;
    {
        std::lock_guard lock(gMutex);
        reader = gImporterReader;
    }
    return reader ? reader(file, type) : std::vector<uint8_t>();
}

}  // namespace

void SetImporterProfileReader(ImporterProfileReader reader) {
    std::lock_guard lock(gMutex);
    gImporterReader = std::move(reader);
}

std::vector<uint8_t> LoadImageEmbeddedProfile(const CImageObj& item) {
    std::vector<uint8_t> profile;
    if (item.GetColorSpace() == kSpaceGray) return profile;
    const std::filesystem::path& file = item.GetFilePath();
    switch (const uint32_t type = item.GetFileType()) {
        case kFileTypeJpeg: LoadJpegIccProfile(file, profile); break;
        case kFileTypeTiff: LoadTiffIccProfile(file, profile); break;
        case FourCC("8BPS"): LoadPsdIccProfile(file, profile); break;
        case kFileTypeEps: LoadEpsIccProfile(file, profile); break;
        case FourCC("PNGf"):
        case FourCC("PICT"): profile = AskImporters(file, type); break;
        default: break;
    }
    return profile;
}

std::string GetImageProfileDescription(const CImageObj& item) {
    const std::vector<uint8_t> bytes = LoadImageEmbeddedProfile(item);
    std::string text;
    if (!bytes.empty()) GetProfileDescription(OpenProfileFromMemory(bytes), text);
    return text;
}

bool IsImageSourceProfileAvailable(const CImageObj& item) {
    if (item.GetUseZelFile() != 0) return true;
    if (item.GetFileEmbedded() && item.GetProfileUseEmbed()) return true;
    return ProfileFileExists(item.GetSourceProfile());
}

}  // namespace vx
