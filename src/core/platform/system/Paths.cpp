#include "platform/system/Paths.h"

#include <algorithm>

namespace vx {

std::filesystem::path PathFromStored(std::string_view stored) {
    std::string s(stored);
    std::replace(s.begin(), s.end(), '\\', '/');
    return std::filesystem::path(s);
}

std::filesystem::path ResolveStoredPath(const std::filesystem::path& baseFolder,
                                        std::string_view stored) {
    std::filesystem::path p = PathFromStored(stored);
    if (p.is_absolute() || p.empty()) return p.lexically_normal();
    return (baseFolder / p).lexically_normal();
}

std::string PathText(const std::filesystem::path& p) { return p.string(); }

}  // namespace vx
