#include "model/ImageInfoReaders.h"

#include "imaging/JpegReader.h"
#include "model/CImageObj.h"
#include "platform/system/FourCC.h"

namespace vx {

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

}  // namespace vx
