#pragma once

namespace vx {

class CImageObj;

/// Describes the item's JPEG file: its description, Exif record, `mColorSpace` 'CMYK'
/// for CMYK data and `mFileEmbedded` for an ICC profile. False, with the item left
/// without a description, when the file cannot be read as a JPEG.
bool ReadJpegInfo(CImageObj& item);

}  // namespace vx
