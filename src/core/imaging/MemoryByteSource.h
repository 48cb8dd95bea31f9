#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "imaging/ByteSource.h"

namespace vx {

/// A block in memory, which must outlive the source.
class MemoryByteSource final : public ByteSource {
public:
    MemoryByteSource(const uint8_t* data, size_t size) : ByteSource(data ? size : 0), mData(data) {}

private:
    bool ReadInside(uint64_t offset, void* out, size_t length) override {
        std::memcpy(out, mData + offset, length);
        return true;
    }

    const uint8_t* mData;
};

}  // namespace vx
