#pragma once

namespace vx {

class CImageObj;

// The readers that describe an item's file by its type. Each fills the item's
// description and `mFileEmbedded`; on failure the item is left without a description
// and the result is false.

/// JPEG: also the Exif record, and `mColorSpace` 'CMYK' for CMYK data.
bool ReadJpegInfo(CImageObj& item);
/// TIFF of a kind the decoders take (uncompressed strips, see TiffReader.h).
bool ReadTiffInfo(CImageObj& item);
/// Bitmap files of the own library; they carry no profile.
bool ReadBmpInfo(CImageObj& item);
/// A photo editor's EPS with its "%ImageData:" line.
bool ReadEpsInfo(CImageObj& item);

}  // namespace vx
