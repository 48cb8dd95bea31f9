#include "colourmanagement/SingleColourTransforms.h"

#include <array>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "colourmanagement/ProfileChain.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

ColorRef Apply(const ColourTransform& transform, ColorRef colour) {
    // Widened by 257 so that 255 becomes 0xFFFF; narrowed by dropping the low byte.
    const std::array<uint16_t, 3> rgb = {uint16_t((colour & 0xFF) * 257), uint16_t(((colour >> 8) & 0xFF) * 257),
                                         uint16_t(((colour >> 16) & 0xFF) * 257)};
    const std::array<uint16_t, 3> out = transform.ApplyToColour(rgb);
    return (colour & 0xFF000000u) | ColorRef(out[0] >> 8) | (ColorRef(out[1] >> 8) << 8) |
           (ColorRef(out[2] >> 8) << 16);
}

// What a chain's files were when its transform was made.
struct FileStamp {
    fs::file_time_type mtime{};
    uintmax_t size = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

std::optional<std::vector<FileStamp>> StampsOf(const ProfileChainPlan& plan) {
    std::vector<FileStamp> stamps;
    for (const ChainProfile& p : plan) {
        if (p.from != ChainProfile::From::File) continue;
        std::error_code ec, sizeError;
        FileStamp s{fs::last_write_time(p.file, ec), fs::file_size(p.file, sizeError)};
        if (ec || sizeError) return std::nullopt;
        stamps.push_back(s);
    }
    return stamps;
}

struct CachedTransform {
    ProfileChainPlan plan;
    std::vector<FileStamp> stamps;
    ColourTransform transform;
};

std::mutex gCacheMutex;
std::optional<CachedTransform> gCache;

}  // namespace

bool TransformColor(std::span<const ChainEntry> chain, ColorRef& colour, int flag) {
    if (flag == 0) return true;
    const ColourTransform transform = ColourTransform::ForColours(chain, TransformQuality::Best);
    if (!transform) return false;
    colour = Apply(transform, colour);
    return true;
}

ColorRef TransformColorForView(const CLayoutSetting* layout, int flag, ColorRef colour) {
    std::optional<ProfileChainPlan> plan = BuildColorProfileChain(layout, flag, CatalogueProfiles());
    if (!plan) return colour;
    std::optional<std::vector<FileStamp>> stamps = StampsOf(*plan);
    if (!stamps) return colour;

    std::lock_guard lock(gCacheMutex);
    if (!gCache || gCache->plan != *plan || gCache->stamps != *stamps) {
        gCache.reset();
        std::optional<OpenedChain> chain = OpenedChain::Open(*plan);
        if (!chain) return colour;
        ColourTransform transform = ColourTransform::ForColours(chain->Entries(), TransformQuality::Best);
        if (!transform) return colour;
        gCache = CachedTransform{std::move(*plan), std::move(*stamps), std::move(transform)};
    }
    // A transform applies on one thread at a time: the lock covers it.
    return Apply(gCache->transform, colour);
}

}  // namespace vx
