#pragma once
#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "host/LayoutView.h"
#include "imaging/TempBuffer.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/gfx/LazyImage.h"

namespace vx {

namespace gfx {
class Canvas;
}

/// Print bands kept between the spool pass and the replay pass, keyed by page and band
/// without limits on either: in memory while the bands held stay within the memory budget,
/// beyond it as 24-bit bitmap files (14-byte file header, info header, bottom-up rows) in
/// the temporary folder. Owned by the view; the print job clears it at its start and end,
/// after its target has written or dropped its last page.
class BandStore {
public:
    struct Key {
        int64_t page = 0;
        int64_t band = 0;
        auto operator<=>(const Key&) const = default;
    };

    /// Band pixels held in memory before further bands go to files: two A4 pages at 360
    /// pixels per inch fit; a banner goes to disk with little more than its first bands.
    static constexpr uint64_t kDefaultMemoryBudget = uint64_t(128) << 20;

    BandStore() = default;
    ~BandStore();
    BandStore(const BandStore&) = delete;
    BandStore& operator=(const BandStore&) = delete;

    /// Stores width x height opaque pixels (B,G,R,x bytes, rows of stride bytes, top row
    /// first) as the band's file, replacing an earlier one; a fileWidth above width makes
    /// the file's rows that wide, white beyond the pixels. False, nothing stored, when
    /// the file cannot be made (a full disk) or the size is not a bitmap's.
    bool Store(int64_t page, int64_t band, const uint8_t* pixels, int width, int height, int stride,
               int fileWidth = 0);
    /// Bytes of band pixels that may be held in memory; 0 puts every band in a file.
    void SetMemoryBudget(uint64_t bytes) { mMemoryBudget = bytes; }
    /// Stores the top-left width x height pixels of surface. An opaque surface of just that
    /// size is kept as it is while the memory budget allows, so its owner must not draw on
    /// it any more; others are copied.
    bool Store(int64_t page, int64_t band, const gfx::ImageSurface& surface, int width, int height,
               int fileWidth = 0);
    /// Whether the band has an entry with a file.
    bool HasFile(int64_t page, int64_t band) const;
    /// Whether the band has an entry held in memory.
    bool InMemory(int64_t page, int64_t band) const;
    /// The band's file, or an empty reference.
    TempBufferRef Find(int64_t page, int64_t band) const;

    /// Draws the band's file with its top-left at dest's, clipped to dest, and takes the
    /// entry out. An image surface reads it now and the file goes at once; other targets
    /// (a PDF page) read it when the page is written, and the file goes with PageWritten.
    /// True without an entry or file (nothing was spooled there); false when the file is
    /// damaged or the canvas is in error afterwards.
    bool Draw(gfx::Canvas& canvas, const PixelRect& dest, int64_t page, int64_t band);
    /// The target has written its page: the bands drawn on it and their files go.
    /// False when one of them could not be read while the page was written.
    bool PageWritten();
    /// Every band and file goes.
    void Clear();

    /// Entries not yet drawn, and bands drawn but waiting for their page to be written.
    size_t Count() const { return mEntries.size(); }
    size_t Pending() const { return mDrawn.size(); }

private:
    /// A stored band: its pixels in memory, or its file.
    struct Entry {
        gfx::ImageSurface pixels;
        TempBufferRef file;
    };
    /// A band drawn on a target that reads it later, and what it is read from.
    struct Drawn {
        gfx::ImageSurface pixels;
        TempBufferRef file;
        std::unique_ptr<gfx::LazyImage> image;
    };

    bool StoreInMemory(const Key& key, const uint8_t* pixels, int width, int height, int stride);
    void Drop(Entry& entry);
    void Release(Drawn& drawn);

    // The keeper outlives the pictures made with it.
    gfx::LazyImageKeeper mKeeper;
    std::map<Key, Entry> mEntries;
    std::vector<std::unique_ptr<Drawn>> mDrawn;
    uint64_t mMemoryBudget = kDefaultMemoryBudget;
    uint64_t mMemoryHeld = 0;
};

}  // namespace vx
