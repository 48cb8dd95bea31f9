#include "templates/TemplateFiles.h"

#include <fcntl.h>
#include <stdio.h>

#include <atomic>

namespace vx {

namespace {
std::atomic<int> gStepsTaken{0};
std::atomic<int> gFailAt{0};
}  // namespace

bool TemplateFileStep() {
    const int step = ++gStepsTaken;
    const int failAt = gFailAt.load();
    return failAt == 0 || step != failAt;
}

int FailTemplateFileStepForTests(int n) {
    const int taken = gStepsTaken.load();
    gFailAt = n == 0 ? 0 : taken + n;
    return taken;
}

bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!TemplateFileStep()) return false;
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

}  // namespace vx
