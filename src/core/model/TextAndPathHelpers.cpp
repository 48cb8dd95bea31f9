#include "model/TextAndPathHelpers.h"

#include <system_error>

#include "platform/system/Utf8.h"

namespace vx {

size_t CountDisplayChars(std::string_view text) {
    size_t n = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t len = Utf8SequenceLength(text, i);
        if (text[i] != '\r' && text[i] != '\n') ++n;
        i += len ? len : 1;
    }
    return n;
}

int MultiByteType(std::string_view text, size_t index) {
    for (size_t i = 0; i < text.size();) {
        const size_t len = Utf8SequenceLength(text, i);
        const size_t step = len ? len : 1;
        if (index < i + step) return len < 2 ? 0 : index == i ? 1 : 2;
        i += step;
    }
    return 0;
}

bool FileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

std::string GetParentFolderName(const std::filesystem::path& path) {
    const std::filesystem::path folder = path.parent_path().filename();
    return "/" + folder.string();
}

}  // namespace vx
