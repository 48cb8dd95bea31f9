#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vx {

/// One image resource of a block of "8BIM" resources (a Photoshop file's resource
/// section, an APP13 marker, an EPS file's "%BeginPhotoshop:" data).
struct ImageResource {
    uint16_t id = 0;
    std::span<const uint8_t> name;  // the Pascal string's bytes, without its length byte
    std::span<const uint8_t> data;
};

/// Walks a block of image resources in memory, each: "8BIM", id (16 bits, big-endian),
/// name as a Pascal string padded to an even length, data size (32 bits, big-endian),
/// data padded to an even length. Every size is checked against the block: the walk
/// stops at the end of the block and at the first resource that is not "8BIM" or does
/// not fit, which Stopped() then reports.
class ImageResourceReader {
public:
    ImageResourceReader(const uint8_t* data, size_t size) : mData(data), mSize(data ? size : 0) {}
    explicit ImageResourceReader(std::span<const uint8_t> block) : ImageResourceReader(block.data(), block.size()) {}

    /// The next resource; false when the walk has ended.
    bool Next(ImageResource& out);
    /// True when the walk ended before the end of the block.
    bool Stopped() const { return mStopped; }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPosition = 0;
    bool mStopped = false;
};

/// The first resource with this id before the walk ends; nothing when there is none.
std::optional<ImageResource> FindImageResource(std::span<const uint8_t> block, uint16_t id);

/// A big-endian number of 1 to 4 bytes, as image resources store their values; the
/// caller checks the bounds.
uint32_t BigEndianValue(const uint8_t* p, int bytes);

}  // namespace vx
