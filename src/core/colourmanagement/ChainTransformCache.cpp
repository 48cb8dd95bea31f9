#include "colourmanagement/ChainTransformCache.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace vx {

bool ChainTransformCache::StampsOf(const ProfileChainPlan& plan, std::vector<FileStamp>& stamps) {
    stamps.clear();
    for (const ChainProfile& p : plan) {
        if (p.from != ChainProfile::From::File) continue;
        std::error_code timeError, sizeError;
        FileStamp s{fs::last_write_time(p.file, timeError), fs::file_size(p.file, sizeError)};
        if (timeError || sizeError) return false;
        stamps.push_back(s);
    }
    return true;
}

bool ChainTransformCache::With(const ProfileChainPlan& plan, Kind kind, TransformQuality quality,
                               const std::function<bool(const ColourTransform&, uint32_t)>& use) {
    std::vector<FileStamp> stamps;
    if (!StampsOf(plan, stamps)) return false;  // a file went away: opening would fail too

    std::lock_guard lock(mMutex);
    auto kept = std::find_if(mEntries.begin(), mEntries.end(), [&](const Entry& e) {
        return e.kind == kind && e.quality == quality && e.plan == plan;
    });
    if (kept != mEntries.end() && kept->stamps != stamps) {
        mEntries.erase(kept);
        kept = mEntries.end();
    }
    if (kept == mEntries.end()) {
        std::optional<OpenedChain> chain = OpenedChain::Open(plan);
        if (!chain) return false;
        ColourTransform transform = kind == Kind::Pixels
                                        ? ColourTransform::ForPixels(chain->Entries(), quality)
                                        : ColourTransform::ForColours(chain->Entries(), quality);
        if (!transform) return false;
        mEntries.push_front(Entry{plan, std::move(stamps), kind, quality, chain->First().Header().colourSpace,
                                  std::move(transform)});
        if (mEntries.size() > kCapacity) mEntries.pop_back();
    } else {
        mEntries.splice(mEntries.begin(), mEntries, kept);
    }
    const Entry& entry = mEntries.front();
    return use(entry.transform, entry.firstSpace);
}

void ChainTransformCache::Clear() {
    std::lock_guard lock(mMutex);
    mEntries.clear();
}

ChainTransformCache& SharedChainTransforms() {
    static ChainTransformCache cache;
    return cache;
}

}  // namespace vx
