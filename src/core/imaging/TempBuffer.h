#pragma once
#include <cstdint>
#include <filesystem>
#include <list>
#include <vector>

namespace vx {

/// Bytes kept in a private file "Vel…" in the program's temporary folder and mapped into
/// memory only while somebody holds a lock (Map ... Unmap), so that many large pictures
/// cost neither address space nor file descriptors between uses. The views given back
/// last stay mapped out of sight, up to kParkedBytes together, because every screen
/// paint locks the same pictures again and unmapping costs more than drawing them. Holders count
/// references with TempBufferRef (or the free functions below); the last release
/// deletes the buffer and its file. User-interface thread only.
class TempBuffer {
public:
    static constexpr int kMapReadOnly = 2;
    static constexpr int kMapReadWrite = 4;
    /// Bytes and count of unlocked views kept mapped for the next lock.
    static constexpr uint64_t kParkedBytes = uint64_t(1) << 30;
    static constexpr size_t kParkedViews = 2048;

    TempBuffer() = default;
    /// Unmaps and deletes the file. Destroying a locked buffer means that somebody holds
    /// a lock without a reference: a bug, asserted in debug builds.
    virtual ~TempBuffer();
    TempBuffer(const TempBuffer&) = delete;
    TempBuffer& operator=(const TempBuffer&) = delete;

    bool HasFile() const { return !mPath.empty(); }
    const std::filesystem::path& Path() const { return mPath; }
    /// The view while somebody holds a lock, else null.
    void* View() const { return mView; }
    /// How many holders share the buffer.
    int32_t RefCount() const { return mRefCount; }
    /// Names the bytes as they stand: a new value with every new file, every lock for
    /// writing, and the last unlock after one; 0 before the first file. No two contents
    /// of any buffers ever share a value, so what was found out about the bytes can be
    /// kept under it.
    uint64_t ContentGeneration() const { return mGeneration; }
    /// True from a lock for writing until the view's last lock is given back: the bytes
    /// may change at any moment, and nothing learnt from them meanwhile can be kept.
    bool WriteLocked() const { return mWriteLocked; }

    /// Puts size bytes from data, or size zero bytes when data is null, into a new file;
    /// an earlier file is deleted first. False, with no file left behind, when the folder
    /// or the disk refuses, and while the buffer is mapped.
    bool Create(const void* data, uint64_t size);
    /// The whole file; false (and out empty) when there is no file, it cannot be read
    /// whole, or memory is short.
    bool ReadAll(std::vector<uint8_t>& out) const;
    /// Locks the buffer and gives the view of the whole file, always readable and
    /// writable (the files are private). Protection says what the holder does:
    /// kMapReadOnly promises not to write; any other lock counts as a writer and renews
    /// the content generation. Nested locks share the view. False, lock count unchanged, for a null view
    /// pointer, no file, an empty file, or when the mapping fails.
    bool Map(void** view, uint64_t* size = nullptr, int protection = kMapReadWrite);
    /// Gives back one lock; the last one unmaps the view. Always true.
    bool Unmap();
    /// Unmaps the view kept after the last lock, for bytes nobody reads again soon: their
    /// pages then leave the process at once. Nothing while locked.
    void DropParkedView() {
        if (mLockCount == 0) DropParked();
    }
    /// False while mapped or without a file; otherwise deletes the file.
    bool DeleteFile();

private:
    friend void AddRefTempBuffer(TempBuffer* buffer);
    friend void ReleaseTempBuffer(TempBuffer** holder);

    bool MapView(void** view, uint64_t* size);
    void UnmapAll();
    /// Unmaps a view kept after its last lock.
    void DropParked();
    friend class ParkedViews;

    std::filesystem::path mPath;
    void* mView = nullptr;
    uint64_t mSize = 0;
    void* mParked = nullptr;  // the view after its last lock, still mapped
    uint64_t mParkedSize = 0;
    std::list<TempBuffer*>::iterator mParkedAt;
    int32_t mLockCount = 0;
    int32_t mRefCount = 0;
    uint64_t mGeneration = 0;
    bool mWriteLocked = false;
};

/// Adds a reference; null is ignored.
void AddRefTempBuffer(TempBuffer* buffer);
/// Drops the holder's reference, deleting the buffer with the last one, and always
/// clears the holder, so a second release through the same holder does nothing.
void ReleaseTempBuffer(TempBuffer** holder);
/// References buffer, releases what the holder held, and stores buffer in it.
void AssignTempBuffer(TempBuffer** holder, TempBuffer* buffer);

/// A holder of one reference.
class TempBufferRef {
public:
    TempBufferRef() = default;
    /// Takes a new reference to buffer (it may be null).
    explicit TempBufferRef(TempBuffer* buffer) { Assign(buffer); }
    TempBufferRef(const TempBufferRef& other) { Assign(other.mBuffer); }
    TempBufferRef& operator=(const TempBufferRef& other) {
        Assign(other.mBuffer);
        return *this;
    }
    ~TempBufferRef() { Release(); }

    void Assign(TempBuffer* buffer) { AssignTempBuffer(&mBuffer, buffer); }
    void Release() { ReleaseTempBuffer(&mBuffer); }

    TempBuffer* Get() const { return mBuffer; }
    TempBuffer* operator->() const { return mBuffer; }
    explicit operator bool() const { return mBuffer != nullptr; }

private:
    TempBuffer* mBuffer = nullptr;
};

}  // namespace vx
