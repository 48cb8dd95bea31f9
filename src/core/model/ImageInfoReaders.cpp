#include "model/ImageInfoReaders.h"

#include "imaging/BmpReader.h"
#include "imaging/EpsReader.h"
#include "imaging/JpegReader.h"
#include "imaging/TiffReader.h"
#include "model/CImageObj.h"
#include "platform/system/FourCC.h"

namespace vx {
namespace {

bool Described(CImageObj& item, bool ok, const ImageDescription& description, bool embedded) {
    if (!ok) {
        item.SetDescription(std::nullopt);
        return false;
    }
    item.SetDescription(description);
    item.SetFileEmbedded(embedded ? 1 : 0);
    return true;
}

}  // namespace

bool ReadJpegInfo(CImageObj& item) {
    JpegFileInfo info;
    if (!ReadJpegInfo(item.GetFilePath(), info)) {
        item.SetDescription(std::nullopt);
        return false;
    }
    item.SetDescription(info.description);
    item.SetExif(info.exif);
    if (info.cmyk) item.SetColorSpace(FourCC("CMYK"));
    item.SetFileEmbedded(info.hasIccProfile ? 1 : 0);
    return true;
}

bool ReadTiffInfo(CImageObj& item) {
    ImageDescription description;
    bool embedded = false;
    const bool ok = ReadTiffInfo(item.GetFilePath(), description, embedded);
    return Described(item, ok, description, embedded);
}

bool ReadBmpInfo(CImageObj& item) {
    ImageDescription description;
    const bool ok = ReadBmpInfo(item.GetFilePath(), description);
    return Described(item, ok, description, false);
}

bool ReadEpsInfo(CImageObj& item) {
    ImageDescription description;
    bool embedded = false;
    const bool ok = ReadEpsInfo(item.GetFilePath(), description, embedded);
    return Described(item, ok, description, embedded);
}

}  // namespace vx
