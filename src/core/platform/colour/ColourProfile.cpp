#include "platform/colour/ColourProfile.h"

#include <lcms2.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <system_error>

#include "platform/colour/ColourLog.h"
#include "platform/colour/IccText.h"
#include "platform/system/Paths.h"
#include "platform/system/Utf8.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

constexpr uint32_t kMinProfileSize = 128;  // the fixed header
constexpr size_t kMaxTextTagBytes = 1 << 20;

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

}  // namespace

void ColourProfile::Closer::operator()(void* handle) const noexcept {
    cmsCloseProfile(handle);
}

ColourProfile::ColourProfile(void* handle, uint32_t headerSize) : mHandle(handle) {
    mHeader.size = headerSize;
    mHeader.deviceClass = uint32_t(cmsGetDeviceClass(handle));
    mHeader.colourSpace = uint32_t(cmsGetColorSpace(handle));
    mHeader.pcs = uint32_t(cmsGetPCS(handle));
    mHeader.version = cmsGetEncodedICCversion(handle);
    mHeader.renderingIntent = cmsGetHeaderRenderingIntent(handle);
}

ColourProfile ColourProfile::OpenFile(const fs::path& path) {
    InstallColourLog();
    // One open for the check and for LittleCMS: colour folders are listed by opening
    // every file in them.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    struct stat st {};
    uint8_t head[4] = {};
    if (!file || fstat(fileno(file), &st) != 0 || std::fread(head, 1, sizeof head, file) != sizeof head ||
        std::fseek(file, 0, SEEK_SET) != 0) {
        if (file) std::fclose(file);
        LogColourError("cannot read profile " + PathText(path));
        return {};
    }
    const uint32_t size = BigEndian32(head);
    if (size < kMinProfileSize || uintmax_t(size) > uintmax_t(st.st_size)) {
        std::fclose(file);
        LogColourError("profile size field does not fit the file: " + PathText(path));
        return {};
    }
    cmsHPROFILE h = cmsOpenProfileFromStream(file, "r");  // closes the file with the profile
    if (!h) {
        std::fclose(file);
        LogColourError("cannot open profile " + PathText(path));
        return {};
    }
    return ColourProfile(h, size);
}

ColourProfile ColourProfile::OpenMemory(std::span<const uint8_t> bytes) {
    InstallColourLog();
    if (bytes.size() < kMinProfileSize) {
        LogColourError("profile data shorter than its header");
        return {};
    }
    const uint32_t size = BigEndian32(bytes.data());
    if (size < kMinProfileSize || size > bytes.size()) {
        LogColourError("profile size field does not fit the data");
        return {};
    }
    cmsHPROFILE h = cmsOpenProfileFromMem(bytes.data(), size);
    if (!h) {
        LogColourError("cannot open profile from memory");
        return {};
    }
    return ColourProfile(h, size);
}

bool ColourProfile::IsValid() const {
    if (!mHandle) return false;
    const uint32_t major = mHeader.version >> 24;
    if ((major != 2 && major != 4) || !cmsIsTag(Handle(), cmsSigProfileDescriptionTag))
        return false;
    for (cmsUInt32Number intent = 0; intent <= 3; ++intent)
        if (cmsIsIntentSupported(Handle(), intent, LCMS_USED_AS_INPUT) ||
            cmsIsIntentSupported(Handle(), intent, LCMS_USED_AS_OUTPUT))
            return true;
    return false;
}

std::optional<std::string> ColourProfile::Description() const {
    // Our own bounds-checked reading of the stored tag: LittleCMS 2.14 leaves
    // unfilled characters after UTF-16 pairs in what it hands out.
    auto tag = RawTag(uint32_t(cmsSigProfileDescriptionTag), kMaxTextTagBytes);
    if (!tag) return std::nullopt;
    auto text = DecodeIccText(*tag);
    if (!text) return std::nullopt;
    return TruncateCodePoints(*text, kMaxDescriptionChars);
}

std::optional<std::vector<uint8_t>> ColourProfile::RawTag(uint32_t signature,
                                                          size_t maxBytes) const {
    const auto sig = static_cast<cmsTagSignature>(signature);
    if (!mHandle || !cmsIsTag(Handle(), sig)) return std::nullopt;
    const cmsUInt32Number size = cmsReadRawTag(Handle(), sig, nullptr, 0);
    if (size == 0 || size > maxBytes) return std::nullopt;
    std::vector<uint8_t> data(size);
    if (cmsReadRawTag(Handle(), sig, data.data(), size) != size) return std::nullopt;
    return data;
}

}  // namespace vx
