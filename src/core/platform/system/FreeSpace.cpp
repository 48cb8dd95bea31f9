#include "platform/system/FreeSpace.h"

#include <sys/statvfs.h>

namespace vx {
namespace {
std::optional<uint64_t> gFake;
}

std::optional<uint64_t> FreeBytesAt(const std::filesystem::path& folder) {
    if (gFake) return gFake;
    struct statvfs st {};
    if (statvfs(folder.c_str(), &st) != 0) return std::nullopt;
    return uint64_t(st.f_bavail) * uint64_t(st.f_frsize);
}

void FakeFreeBytesForTests(std::optional<uint64_t> bytes) { gFake = bytes; }

}  // namespace vx
