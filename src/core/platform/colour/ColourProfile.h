#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/system/FourCC.h"

namespace vx {

/// Header fields of an ICC profile that callers decide on.
struct ProfileHeader {
    uint32_t size = 0;             // the header's size field, checked against the data
    uint32_t deviceClass = 0;      // 'mntr', 'prtr', 'abst', 'scnr', 'link', 'spac' ...
    uint32_t colourSpace = 0;      // 'RGB ', 'CMYK', 'GRAY', 'Lab ' ...
    uint32_t pcs = 0;              // 'XYZ ' or 'Lab '
    uint32_t version = 0;          // encoded, 0x02100000 for 2.1
    uint32_t renderingIntent = 0;  // as stored; may lie outside 0..3
};

inline constexpr uint32_t kClassMonitor = FourCC("mntr");
inline constexpr uint32_t kClassPrinter = FourCC("prtr");
inline constexpr uint32_t kClassAbstract = FourCC("abst");
inline constexpr uint32_t kSpaceRgb = FourCC("RGB ");
inline constexpr uint32_t kSpaceCmyk = FourCC("CMYK");
inline constexpr uint32_t kSpaceGray = FourCC("GRAY");
inline constexpr uint32_t kSpaceLab = FourCC("Lab ");
inline constexpr uint32_t kSpaceXyz = FourCC("XYZ ");

/// Longest description kept, in characters (the program's 260-byte buffers).
inline constexpr size_t kMaxDescriptionChars = 259;

/// An open ICC profile (a LittleCMS handle, closed with the object). Empty when opening
/// failed; the reason is logged. Opening checks only that the data is a profile whose
/// header size fits; IsValid() says whether it is usable for transforms.
class ColourProfile {
public:
    ColourProfile() = default;

    static ColourProfile OpenFile(const std::filesystem::path& path);
    /// Uses the header's size field as the profile's length: refused when it is below
    /// 128 or beyond the bytes given. LittleCMS keeps its own copy of the bytes.
    static ColourProfile OpenMemory(std::span<const uint8_t> bytes);

    explicit operator bool() const { return mHandle != nullptr; }
    const ProfileHeader& Header() const { return mHeader; }

    /// Version 2 or 4, has a 'desc' tag, and supports some intent in some direction.
    bool IsValid() const;

    /// The 'desc' text (v2 text description or v4 localised: "en"/"US", else the first
    /// entry) as UTF-8, cut at kMaxDescriptionChars; nullopt without a readable tag.
    std::optional<std::string> Description() const;

    /// The undecoded bytes of a tag (type signature first); nullopt when the tag is
    /// absent, longer than maxBytes, or cannot be read.
    std::optional<std::vector<uint8_t>> RawTag(uint32_t signature, size_t maxBytes) const;

    /// The LittleCMS handle (cmsHPROFILE), for the transform layer.
    void* Handle() const { return mHandle.get(); }

private:
    struct Closer {
        void operator()(void* handle) const noexcept;
    };
    ColourProfile(void* handle, uint32_t headerSize);

    std::unique_ptr<void, Closer> mHandle;
    ProfileHeader mHeader;
};

}  // namespace vx
