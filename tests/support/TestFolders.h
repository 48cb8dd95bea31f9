#pragma once
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace vx::test {

/// The root of the source tree, for tests that read the files the build reads: the
/// VX_SOURCE_DIR that CTest sets, else the one the build folder above bin/ was
/// configured from. Throws when neither is known.
std::filesystem::path SourceFolder();

/// The build's "test-output" folder (beside bin/), made on demand, where tests leave
/// pictures for people to look at.
std::filesystem::path OutputFolder();

/// The whole file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);
/// Replaces the file with bytes (test set-up: no atomic write needed).
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

/// Every entry of folder, the folder itself as ".", by its path relative to folder: its
/// kind and mode, owner, and for files the modification time and bytes, for links the
/// target (links are not followed). Two equal results mean nothing there changed.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder);

/// A fresh folder under $TMPDIR (or /tmp), removed with the object.
class TestRoot {
public:
    TestRoot();
    ~TestRoot();
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;
    const std::filesystem::path& Path() const { return mPath; }
private:
    std::filesystem::path mPath;
};

/// Sets (or with nullopt unsets) an environment variable for the object's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value);
    ~ScopedEnv();
private:
    std::string mName;
    std::optional<std::string> mOld;
};

/// Switches LC_ALL for the object's lifetime; Active() is false when the locale is
/// not installed.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name);
    ~ScopedLocale();
    bool Active() const { return mActive; }
private:
    std::string mOld;
    bool mActive = false;
};

}  // namespace vx::test
