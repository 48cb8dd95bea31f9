#pragma once
#include <cstddef>
#include <cstdint>

namespace vx {

/// Random access to a bounded run of bytes (a block in memory, or a file) for the
/// metadata readers. Every read is checked against Size() before it is made.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    uint64_t Size() const { return mSize; }

    /// Copies `length` bytes from `offset`; false when they do not all lie inside or the
    /// read fails.
    bool Read(uint64_t offset, void* out, size_t length) {
        if (offset > mSize || length > mSize - offset) return false;
        return length == 0 || ReadInside(offset, out, length);
    }

protected:
    explicit ByteSource(uint64_t size = 0) : mSize(size) {}
    void SetSize(uint64_t size) { mSize = size; }

private:
    /// Only called with a range inside Size().
    virtual bool ReadInside(uint64_t offset, void* out, size_t length) = 0;

    uint64_t mSize;
};

}  // namespace vx
