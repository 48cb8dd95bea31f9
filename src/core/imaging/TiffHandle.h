#pragma once
#include <tiffio.h>

#include <filesystem>
#include <memory>

namespace vx {

struct TiffCloser {
    void operator()(TIFF* tiff) const noexcept { TIFFClose(tiff); }
};
/// An open libtiff handle, closed with the object.
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

/// The most libtiff may allocate at once for one file, whatever its tags claim.
inline constexpr tmsize_t kTiffMaxSingleAllocation = tmsize_t(256) << 20;

/// Opens a TIFF file for reading. libtiff's errors and warnings go to the log, its single
/// allocations are bounded, and the file is read, not mapped, so that a file cut short
/// while it is open gives a read error. Null when libtiff refuses the file.
TiffFile OpenTiffFile(const std::filesystem::path& path);

/// libtiff over the caller's procedures, with the same handlers and bound.
TiffFile OpenTiffClient(const char* name, const char* mode, thandle_t client,
                        TIFFReadWriteProc read, TIFFReadWriteProc write, TIFFSeekProc seek,
                        TIFFCloseProc close, TIFFSizeProc size, TIFFMapFileProc map,
                        TIFFUnmapFileProc unmap);

}  // namespace vx
