#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "../platform/colour/TestProfiles.h"
#include "support/TestFolders.h"

namespace vx::test {

/// Colour directories in a fresh temporary folder for the catalogue, restored (and the
/// catalogue's memory of them and the kept transforms forgotten) with the object. The data folder's own
/// profiles (VirIza, the program's) stay where the build put them.
class CatalogueFolders {
public:
    explicit CatalogueFolders(int count = 2);
    ~CatalogueFolders();
    CatalogueFolders(const CatalogueFolders&) = delete;
    CatalogueFolders& operator=(const CatalogueFolders&) = delete;

    const std::filesystem::path& Dir(int i) const { return mDirs.at(size_t(i)); }
    std::filesystem::path Write(int dir, const std::string& name, const std::vector<uint8_t>& bytes) const;
    /// Copies a profile of the data folder as it was when this object was made
    /// (relative path) under a name, by default its own.
    std::filesystem::path CopyData(int dir, const std::filesystem::path& relative, std::string name = {}) const;
    /// The default sRGB and CMYK profiles in directory 0.
    void AddDefaults() const;

private:
    TestRoot mRoot;
    std::filesystem::path mDataFolder;
    std::vector<std::filesystem::path> mDirs;
};

/// A v2 sRGB profile (or v4) described by ASCII text.
std::vector<uint8_t> DescribedSrgb(const std::string& description, double version = 2.1);

/// A described v2 sRGB profile with a raw tag of that signature and size (type
/// signature included).
std::vector<uint8_t> SrgbWithTag(const std::string& description, uint32_t signature, size_t bytes);

/// The description of the build's default sRGB profile.
inline const std::string kSrgbDescription = "sRGB IEC61966-2.1";

}  // namespace vx::test
