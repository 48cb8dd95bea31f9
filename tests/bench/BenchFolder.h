#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/system/Folders.h"

namespace vx::bench {

/// A folder of the benchmark's own under $TMPDIR (else /var/tmp), made the place of the
/// program's temporary folder, which is made in it; removed with the object.
class BenchFolder {
public:
    BenchFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string dir = (std::filesystem::path(tmp && *tmp ? tmp : "/var/tmp") / "vellicorex-bench-XXXXXX").string();
        if (!mkdtemp(dir.data())) {
            std::perror("mkdtemp");
            return;
        }
        mPath = dir;
        setenv("VELLICOREX_TEMP_DIR", dir.c_str(), 1);
        if (!vx::CreateTempFolder()) std::fprintf(stderr, "cannot make the temporary folder in %s\n", dir.c_str());
    }
    ~BenchFolder() {
        std::error_code ec;
        if (!mPath.empty()) std::filesystem::remove_all(mPath, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    /// Empty when the folder could not be made.
    const std::filesystem::path& Path() const { return mPath; }

private:
    std::filesystem::path mPath;
};

}  // namespace vx::bench
