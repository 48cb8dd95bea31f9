#include "imaging/TempBuffer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <utility>

#include "platform/system/Folders.h"
#include "platform/system/FileDescriptor.h"

namespace vx {
namespace {

uint64_t NextContentGeneration() {
    static uint64_t last = 0;  // user-interface thread only
    return ++last;
}

// Larger single writes are cut short by the kernel anyway.
constexpr uint64_t kMaxChunk = uint64_t(1) << 30;

bool WriteBytes(int fd, const uint8_t* data, uint64_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size < kMaxChunk ? size : kMaxChunk));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= uint64_t(n);
    }
    return true;
}

bool ReadBytes(int fd, uint8_t* data, uint64_t size) {
    while (size > 0) {
        const ssize_t n = ::read(fd, data, size_t(size < kMaxChunk ? size : kMaxChunk));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= uint64_t(n);
    }
    return true;
}

/// Reserves the blocks, not just the length: a sparse file on a full file system would
/// turn a later write through the mapping into SIGBUS.
bool Reserve(int fd, uint64_t size) {
    if (size == 0) return true;
    int rc;
    do rc = posix_fallocate(fd, 0, off_t(size));
    while (rc == EINTR);
    return rc == 0;
}

}  // namespace

/// The unlocked views kept mapped, the one given back last at the front.
class ParkedViews {
public:
    static void Park(TempBuffer& buffer) {
        List().push_front(&buffer);
        buffer.mParkedAt = List().begin();
        Bytes() += buffer.mParkedSize;
        while (Bytes() > TempBuffer::kParkedBytes || List().size() > TempBuffer::kParkedViews)
            List().back()->DropParked();
    }
    static void Forget(TempBuffer& buffer) {
        List().erase(buffer.mParkedAt);
        Bytes() -= buffer.mParkedSize;
    }

private:
    // Never destroyed: buffers of static objects give their views back after exit.
    static std::list<TempBuffer*>& List() {
        static auto* list = new std::list<TempBuffer*>;
        return *list;
    }
    static uint64_t& Bytes() {
        static uint64_t bytes = 0;
        return bytes;
    }
};

TempBuffer::~TempBuffer() {
    assert(mLockCount == 0 && "a TempBuffer destroyed while locked");
    UnmapAll();
    DeleteFile();
}

void TempBuffer::DropParked() {
    if (!mParked) return;
    ParkedViews::Forget(*this);
    munmap(mParked, size_t(mParkedSize));
    mParked = nullptr;
    mParkedSize = 0;
}

bool TempBuffer::Create(const void* data, uint64_t size) {
    if (mView) return false;
    DropParked();
    if (HasFile() && !DeleteFile()) return false;
    mGeneration = NextContentGeneration();
    if (size > uint64_t(std::numeric_limits<off_t>::max())) return false;

    std::string path = (TempFolder() / "VelXXXXXX").string();
    FileDescriptor fd(mkostemp(path.data(), O_CLOEXEC));  // mode 0600
    if (fd.Get() < 0) return false;
    bool ok = data ? WriteBytes(fd.Get(), static_cast<const uint8_t*>(data), size)
                   : Reserve(fd.Get(), size);
    ok = fd.Close() && ok;
    if (!ok) {
        ::unlink(path.c_str());
        return false;
    }
    mPath = std::move(path);
    return true;
}

bool TempBuffer::ReadAll(std::vector<uint8_t>& out) const {
    out.clear();
    if (mPath.empty()) return false;
    FileDescriptor fd(::open(mPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    struct stat st {};
    if (fd.Get() < 0 || fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    try {
        out.resize(size_t(st.st_size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!ReadBytes(fd.Get(), out.data(), out.size())) {
        out.clear();
        out.shrink_to_fit();
        return false;
    }
    return true;
}

bool TempBuffer::Map(void** view, uint64_t* size, int protection) {
    if (!view) return false;
    if (!MapView(view, size)) return false;
    if (protection != kMapReadOnly) {
        mWriteLocked = true;
        mGeneration = NextContentGeneration();
    }
    return true;
}

bool TempBuffer::MapView(void** view, uint64_t* size) {
    if (mLockCount > 0 && mView) {
        ++mLockCount;
        *view = mView;
        if (size) *size = mSize;
        return true;
    }
    if (mParked) {
        // Given back last time and still mapped: no system call.
        ParkedViews::Forget(*this);
        mView = std::exchange(mParked, nullptr);
        mSize = std::exchange(mParkedSize, 0);
        mLockCount = 1;
        *view = mView;
        if (size) *size = mSize;
        return true;
    }
    if (mPath.empty()) return false;
    // Read-write whatever was asked: a nested writer must never get a read-only view.
    FileDescriptor fd(::open(mPath.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW));
    struct stat st {};
    if (fd.Get() < 0 || fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0)
        return false;
    void* p = mmap(nullptr, size_t(st.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd.Get(), 0);
    // The mapping keeps the file open by itself: thousands of buffers hold no descriptor.
    if (p == MAP_FAILED) return false;
    mView = p;
    mSize = uint64_t(st.st_size);
    mLockCount = 1;
    *view = mView;
    if (size) *size = mSize;
    return true;
}

bool TempBuffer::Unmap() {
    if (--mLockCount > 0) return true;
    mLockCount = 0;
    if (mWriteLocked) {
        // The writer may have written up to its last moment.
        mWriteLocked = false;
        mGeneration = NextContentGeneration();
    }
    if (!mView) return true;
    // Out of sight (View() is null) but kept for the next lock.
    mParked = std::exchange(mView, nullptr);
    mParkedSize = std::exchange(mSize, 0);
    ParkedViews::Park(*this);
    return true;
}

void TempBuffer::UnmapAll() {
    DropParked();
    if (mView) munmap(mView, size_t(mSize));
    mView = nullptr;
    mSize = 0;
    mLockCount = 0;
}

bool TempBuffer::DeleteFile() {
    if (mView || mPath.empty()) return false;
    DropParked();
    if (::unlink(mPath.c_str()) != 0 && errno != ENOENT) return false;
    mPath.clear();
    mGeneration = NextContentGeneration();
    return true;
}

void AddRefTempBuffer(TempBuffer* buffer) {
    if (buffer) ++buffer->mRefCount;
}

void ReleaseTempBuffer(TempBuffer** holder) {
    if (!holder || !*holder) return;
    TempBuffer* buffer = *holder;
    *holder = nullptr;
    if (--buffer->mRefCount < 1) delete buffer;
}

void AssignTempBuffer(TempBuffer** holder, TempBuffer* buffer) {
    if (!holder) return;
    AddRefTempBuffer(buffer);
    ReleaseTempBuffer(holder);
    *holder = buffer;
}

}  // namespace vx
