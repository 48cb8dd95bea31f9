#include "support/TestFolders.h"

#include <clocale>
#include <stdexcept>
#include <system_error>

namespace vx::test {

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

}  // namespace vx::test
