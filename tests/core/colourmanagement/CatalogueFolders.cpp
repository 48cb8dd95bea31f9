#include "CatalogueFolders.h"

#include <gtest/gtest.h>

#include <fstream>

#include "colourmanagement/ChainTransformCache.h"
#include "colourmanagement/ProfileDirectoryCache.h"
#include "platform/colour/ColourDirectories.h"
#include "platform/system/Folders.h"

namespace fs = std::filesystem;

namespace vx::test {

CatalogueFolders::CatalogueFolders(int count) : mDataFolder(DataFolder()) {
    for (int i = 0; i < count; ++i) {
        mDirs.push_back(mRoot.Path() / ("icc" + std::to_string(i)));
        fs::create_directories(mDirs.back());
    }
    SetColourDirectories(mDirs);
    SharedProfileDirectoryCache().Clear();
    SharedChainTransforms().Clear();
}

CatalogueFolders::~CatalogueFolders() {
    SetColourDirectories(std::nullopt);
    SharedProfileDirectoryCache().Clear();
    SharedChainTransforms().Clear();
}

fs::path CatalogueFolders::Write(int dir, const std::string& name, const std::vector<uint8_t>& bytes) const {
    const fs::path path = Dir(dir) / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    EXPECT_TRUE(out.good()) << path;
    return path;
}

fs::path CatalogueFolders::CopyData(int dir, const fs::path& relative, std::string name) const {
    if (name.empty()) name = relative.filename().string();
    const fs::path target = Dir(dir) / name;
    std::error_code ec;
    fs::copy_file(mDataFolder / relative, target, fs::copy_options::overwrite_existing, ec);
    EXPECT_FALSE(ec) << relative << ": " << ec.message();
    return target;
}

void CatalogueFolders::AddDefaults() const {
    CopyData(0, "icc/sRGB Color Space Profile.ICM");
    CopyData(0, "icc/Marlo_CMYK.icc");
}

std::vector<uint8_t> DescribedSrgb(const std::string& description, double version) {
    return MakeDescribedProfile(version, {{"en", "US", std::wstring(description.begin(), description.end())}});
}

std::vector<uint8_t> SrgbWithTag(const std::string& description, uint32_t signature, size_t bytes) {
    CmsProfile p(cmsCreate_sRGBProfile());
    cmsSetProfileVersion(p.get(), 2.1);
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(mlu, "en", "US", description.c_str());
    cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
    std::vector<uint8_t> data(bytes, 0x5A);
    const char type[4] = {'d', 'a', 't', 'a'};
    std::copy(type, type + 4, data.begin());
    cmsWriteRawTag(p.get(), cmsTagSignature(signature), data.data(), cmsUInt32Number(data.size()));
    return SaveProfile(p.get());
}

}  // namespace vx::test
