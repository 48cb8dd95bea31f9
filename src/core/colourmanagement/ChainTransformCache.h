#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <mutex>

#include "colourmanagement/ProfileChain.h"
#include "platform/colour/ColourTransform.h"

namespace vx {

/// Transforms made for planned chains, kept while the plan and the files it names stay
/// the same (modification time and size): making one costs milliseconds (inverting
/// sampled tone curves, precalculating tables), which many pictures or page colours
/// through the same chain should pay once. Holds the few most recently used; one
/// thread at a time uses a transform. Thread-safe.
class ChainTransformCache {
public:
    enum class Kind { Pixels, Colours };

    /// Calls use(transform, colour space of the chain's first profile) with the
    /// transform of the plan, made when none is kept, and returns its result; false
    /// without calling it when the transform cannot be made (logged).
    bool With(const ProfileChainPlan& plan, Kind kind, TransformQuality quality,
              const std::function<bool(const ColourTransform&, uint32_t firstSpace)>& use);

    /// Forgets every kept transform.
    void Clear();

private:
    struct FileStamp {
        std::filesystem::file_time_type mtime{};
        uintmax_t size = 0;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    struct Entry {
        ProfileChainPlan plan;
        std::vector<FileStamp> stamps;
        Kind kind;
        TransformQuality quality;
        uint32_t firstSpace = 0;
        ColourTransform transform;
    };
    static constexpr size_t kCapacity = 4;

    static bool StampsOf(const ProfileChainPlan& plan, std::vector<FileStamp>& stamps);

    std::mutex mMutex;
    std::list<Entry> mEntries;  // most recently used first
};

/// The cache the colour transforms of pictures and page colours share.
ChainTransformCache& SharedChainTransforms();

}  // namespace vx
