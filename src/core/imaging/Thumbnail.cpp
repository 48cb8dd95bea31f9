#include "imaging/Thumbnail.h"

#include "imaging/JpegDecompressor.h"
#include "imaging/JpegReader.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {

DibBufferPtr CreateThumbnailDIB(const uint8_t* jpegBytes, size_t length) {
    constexpr int16_t kSide = 128;
    Rect16 target;
    target.Set(0, 0, kSide, kSide);
    JpegDecompressor d;
    int messageId = 0;
    DibBufferPtr picture;
    if (d.Open(jpegBytes, length)) picture = DecodeJpeg(d, &target, messageId);
    else messageId = d.MessageId();
    if (!picture && messageId == IDS_NOT_ENOUGH_MEMORY)
        Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
    return picture;
}

}  // namespace vx
