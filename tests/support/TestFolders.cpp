#include "support/TestFolders.h"

#include <sys/stat.h>

#include <clocale>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/system/Folders.h"

namespace vx::test {

// Passed at run time rather than compiled in, so that objects do not depend on where
// the clone lies.
std::filesystem::path SourceFolder() {
    if (const char* v = std::getenv("VX_SOURCE_DIR"); v && *v) return v;
    std::ifstream cache(ExecutableFolder() / ".." / "CMakeCache.txt");
    const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
    for (std::string line; std::getline(cache, line);)
        if (line.rfind(key, 0) == 0) return line.substr(key.size());
    throw std::runtime_error("source folder unknown: run the tests through ctest or set VX_SOURCE_DIR");
}

std::filesystem::path OutputFolder() {
    const std::filesystem::path p = ExecutableFolder() / ".." / "test-output";
    std::filesystem::create_directories(p);
    return p.lexically_normal();
}

std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> entries;
    const auto add = [&](const std::filesystem::path& p) {
        struct stat st {};
        if (lstat(p.c_str(), &st) != 0) return;
        std::string what = std::to_string(st.st_mode) + " " + std::to_string(st.st_uid);
        if (S_ISREG(st.st_mode))
            what += " " + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + " " +
                    ReadFileBytes(p);
        std::error_code ec;
        if (S_ISLNK(st.st_mode)) what += " -> " + std::filesystem::read_symlink(p, ec).string();
        entries[p.lexically_relative(folder).string()] = what;
    };
    add(folder);
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        add(it->path());
    return entries;
}

TestRoot::TestRoot() {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/vx-test-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    mPath = tmpl;
}

TestRoot::~TestRoot() {
    std::error_code ec;
    std::filesystem::remove_all(mPath, ec);
}

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : mName(name) {
    if (const char* old = std::getenv(name)) mOld = old;
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (mOld) setenv(mName.c_str(), mOld->c_str(), 1);
    else unsetenv(mName.c_str());
}

ScopedLocale::ScopedLocale(const char* name) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    mOld = old ? old : "C";
    mActive = std::setlocale(LC_ALL, name) != nullptr;
}

ScopedLocale::~ScopedLocale() { std::setlocale(LC_ALL, mOld.c_str()); }

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

}  // namespace vx::test
