#include "platform/colour/ColourProfile.h"

#include <lcms2.h>

#include <fstream>
#include <system_error>

#include "platform/colour/ColourLog.h"
#include "platform/system/Paths.h"
#include "platform/system/Utf8.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

constexpr uint32_t kMinProfileSize = 128;  // the fixed header

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// LittleCMS hands out version 2 text bytes widened through a signed char (so bytes
// above 0x7F arrive negative) and version 4 UTF-16 units one by one (surrogates stay
// separate). Text that is bytes only is UTF-8 when it reads as UTF-8 (some writers put
// it there), else Latin-1.
std::string WideToUtf8(const wchar_t* text, size_t count) {
    std::vector<long long> units;
    bool bytesOnly = true;
    for (size_t i = 0; i < count && text[i] != 0; ++i) {
        long long v = static_cast<long long>(text[i]);
        if (v < 0 && v >= -128) v += 256;
        bytesOnly = bytesOnly && v >= 0 && v <= 0xFF;
        units.push_back(v);
    }
    std::string out;
    if (bytesOnly) {
        for (long long v : units) out += char(v);
        return ToUtf8FromUtf8OrLatin1(out);
    }
    for (size_t i = 0; i < units.size(); ++i) {
        const long long v = units[i];
        char32_t cp = 0xFFFD;
        if (v >= 0xD800 && v <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            cp = char32_t(0x10000 + ((v - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (v > 0 && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF)) {
            cp = char32_t(v);
        }
        AppendUtf8(out, cp);
    }
    return out;
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
    std::error_code ec;
    const uintmax_t fileSize = fs::file_size(path, ec);
    uint8_t head[4] = {};
    std::ifstream in(path, std::ios::binary);
    if (ec || !in || !in.read(reinterpret_cast<char*>(head), sizeof head)) {
        LogColourError("cannot read profile " + PathText(path));
        return {};
    }
    const uint32_t size = BigEndian32(head);
    if (size < kMinProfileSize || size > fileSize) {
        LogColourError("profile size field does not fit the file: " + PathText(path));
        return {};
    }
    cmsHPROFILE h = cmsOpenProfileFromFile(path.c_str(), "r");
    if (!h) {
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
    if (!mHandle || !cmsIsTag(Handle(), cmsSigProfileDescriptionTag)) return std::nullopt;
    const cmsUInt32Number bytes =
        cmsGetProfileInfo(Handle(), cmsInfoDescription, "en", "US", nullptr, 0);
    if (bytes == 0) return std::nullopt;
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, 0);
    if (cmsGetProfileInfo(Handle(), cmsInfoDescription, "en", "US", text.data(),
                          cmsUInt32Number(text.size() * sizeof(wchar_t))) == 0)
        return std::nullopt;
    return TruncateCodePoints(WideToUtf8(text.data(), text.size()), kMaxDescriptionChars);
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
