#include "imaging/JpegError.h"

#include <jerror.h>

#include "platform/system/StringTable.h"

namespace vx {
namespace {

void EmitNothing(j_common_ptr info, int level) {
    if (level < 0) ++info->err->num_warnings;
}

void OutputNothing(j_common_ptr) {}

}  // namespace

void JpegErrorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
    std::longjmp(errors->jump, 1);
}

jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& errors) {
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = JpegErrorExit;
    errors.pub.emit_message = EmitNothing;
    errors.pub.output_message = OutputNothing;
    return &errors.pub;
}

int JpegErrorMessageId(const JpegErrorManager& errors) {
    switch (errors.pub.msg_code) {
        case JERR_OUT_OF_MEMORY:
        case JERR_NO_BACKING_STORE:  // what libjpeg raises past max_memory_to_use
            return IDS_NOT_ENOUGH_MEMORY;
        default: return IDS_FILE_NOT_READABLE;
    }
}

}  // namespace vx
