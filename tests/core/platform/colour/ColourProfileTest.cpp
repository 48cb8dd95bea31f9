#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "TestProfiles.h"
#include "platform/colour/ColourProfile.h"
#include "platform/system/Folders.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

using test::CmsProfile;
using test::MakeDescribedProfile;
using Bytes = std::vector<uint8_t>;

void SetBigEndian32(Bytes& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v >> 24);
    b[at + 1] = uint8_t(v >> 16);
    b[at + 2] = uint8_t(v >> 8);
    b[at + 3] = uint8_t(v);
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

Bytes SrgbBytes() {
    CmsProfile p(cmsCreate_sRGBProfile());
    return test::SaveProfile(p.get());
}

struct MemoryCase {
    const char* name;
    std::function<void(Bytes&)> change;
    bool opens;
};

TEST(ColourProfileMemory, RefusesSizesThatDoNotFitTheData) {
    const std::vector<MemoryCase> cases = {
        {"as written", [](Bytes&) {}, true},
        {"trailing bytes beyond the size field", [](Bytes& b) { b.resize(b.size() + 50, 0xAB); }, true},
        {"truncated by one byte", [](Bytes& b) { b.pop_back(); }, false},
        {"size field one past the data", [](Bytes& b) { SetBigEndian32(b, 0, uint32_t(b.size() + 1)); }, false},
        {"size field of four gigabytes", [](Bytes& b) { SetBigEndian32(b, 0, 0xFFFFFFFFu); }, false},
        {"size field below the header", [](Bytes& b) { SetBigEndian32(b, 0, 100); }, false},
        {"size field zero", [](Bytes& b) { SetBigEndian32(b, 0, 0); }, false},
        {"shorter than a header", [](Bytes& b) { b.resize(127); }, false},
        {"empty", [](Bytes& b) { b.clear(); }, false},
        {"no profile signature", [](Bytes& b) { b[36] = 'x'; }, false},
        {"a version LittleCMS does not know", [](Bytes& b) { b[8] = 7; }, false},
    };
    for (const MemoryCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes b = SrgbBytes();
        c.change(b);
        ColourProfile p = ColourProfile::OpenMemory(b);
        EXPECT_EQ(bool(p), c.opens);
    }
}

TEST(ColourProfileMemory, KeepsItsOwnCopyOfTheBytes) {
    Bytes b = SrgbBytes();
    ColourProfile p = ColourProfile::OpenMemory(b);
    std::fill(b.begin(), b.end(), 0);
    b.clear();
    b.shrink_to_fit();
    ASSERT_TRUE(p);
    EXPECT_EQ(p.Description(), "sRGB built-in");
}

TEST(ColourProfileFile, OpensOnlyWholeProfiles) {
    test::TestRoot root;
    const Bytes good = SrgbBytes();
    auto write = [&](const char* name, const Bytes& b) {
        std::ofstream(root.Path() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
        return root.Path() / name;
    };
    ColourProfile p = ColourProfile::OpenFile(write("good.icc", good));
    ASSERT_TRUE(p);
    EXPECT_EQ(p.Header().size, good.size());
    EXPECT_EQ(p.Header().deviceClass, kClassMonitor);
    EXPECT_EQ(p.Header().colourSpace, kSpaceRgb);
    EXPECT_EQ(p.Header().pcs, kSpaceXyz);
    EXPECT_TRUE(p.IsValid());

    EXPECT_FALSE(ColourProfile::OpenFile(write("cut.icc", Bytes(good.begin(), good.end() - 1))));
    EXPECT_FALSE(ColourProfile::OpenFile(write("tiny.icc", Bytes(good.begin(), good.begin() + 3))));
    Bytes unsigned_ = good;  // size fits, but no "acsp": LittleCMS refuses the header
    unsigned_[36] = 'x';
    EXPECT_FALSE(ColourProfile::OpenFile(write("unsigned.icc", unsigned_)));
    EXPECT_FALSE(ColourProfile::OpenFile(root.Path() / "missing.icc"));
    EXPECT_FALSE(ColourProfile::OpenFile(root.Path()));  // a folder
}

TEST(ColourProfileValidity, NeedsVersionDescriptionAndAnIntent) {
    struct Case {
        const char* name;
        std::function<Bytes()> make;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"version 4 sRGB", [] { return SrgbBytes(); }, true},
        {"version 2 sRGB", [] { return MakeDescribedProfile(2.1, {{"en", "US", L"x"}}); }, true},
        {"version 3", [] { Bytes b = SrgbBytes(); b[8] = 3; return b; }, false},
        {"version 1", [] { Bytes b = SrgbBytes(); b[8] = 1; return b; }, false},
        {"no description",
         [] {
             CmsProfile p(cmsCreate_sRGBProfile());
             cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, nullptr);
             return test::SaveProfile(p.get());
         },
         false},
        {"no colour tables",
         [] {
             CmsProfile p(cmsCreateProfilePlaceholder(nullptr));
             cmsSetDeviceClass(p.get(), cmsSigDisplayClass);
             cmsSetColorSpace(p.get(), cmsSigRgbData);
             cmsSetPCS(p.get(), cmsSigXYZData);
             cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
             cmsMLUsetASCII(mlu, "en", "US", "empty");
             cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, mlu);
             cmsMLUfree(mlu);
             return test::SaveProfile(p.get());
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes b = c.make();
        ColourProfile p = ColourProfile::OpenMemory(b);
        ASSERT_TRUE(p);
        EXPECT_EQ(p.IsValid(), c.valid);
    }
    EXPECT_FALSE(ColourProfile().IsValid());
}

TEST(ColourProfileDescription, ReadsVersion2And4TextsAsUtf8) {
    struct Case {
        const char* name;
        double version;
        std::vector<test::DescriptionEntry> desc;
        std::string expected;
    };
    const std::wstring longText(300, L'\u00e9');
    const std::vector<Case> cases = {
        {"v2 ASCII", 2.1, {{"en", "US", L"Proof Paper"}}, "Proof Paper"},
        {"v2 Latin-1", 2.1, {{"en", "US", L"Fotopapier Hochgl\u00e4nzend"}}, "Fotopapier Hochglänzend"},
        {"v4 English among others", 4.3,
         {{"de", "DE", L"Farbraum"}, {"en", "US", L"Colour space"}, {"fr", "FR", L"Espace"}},
         "Colour space"},
        {"v4 without English takes the first", 4.3,
         {{"de", "DE", L"Gr\u00f6\u00dfe"}, {"fr", "FR", L"Taille"}}, "Größe"},
        // UTF-16 in the file: a surrogate pair.
        {"v4 outside the first plane", 4.3, {{"en", "US", {L'I', L'n', L'k', wchar_t(0xD83D), wchar_t(0xDD8C)}}},
         "Ink\xF0\x9F\x96\x8C"},
        {"v4 Cyrillic", 4.3, {{"en", "US", L"\u0426\u0432\u0435\u0442"}}, "Цвет"},
        {"v4 long text is cut", 4.3, {{"en", "US", longText}}, Repeat("é", 259)},
        {"v2 long text is cut", 2.1, {{"en", "US", std::wstring(400, L'a')}}, std::string(259, 'a')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes b = MakeDescribedProfile(c.version, c.desc);
        ColourProfile p = ColourProfile::OpenMemory(b);
        ASSERT_TRUE(p);
        EXPECT_EQ(p.Header().version >> 24, uint32_t(c.version));
        EXPECT_EQ(p.Description(), c.expected);
    }
}

TEST(ColourProfileDescription, KeepsUtf8WrittenIntoAVersion2Text) {
    // Some writers put UTF-8 bytes into the 7-bit text of version 2.
    CmsProfile p(cmsCreate_sRGBProfile());
    cmsSetProfileVersion(p.get(), 2.1);
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(mlu, "en", "US", "Gr\xC3\xB6\xC3\x9F" "e");
    cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
    const Bytes b = test::SaveProfile(p.get());
    EXPECT_EQ(ColourProfile::OpenMemory(b).Description(), "Größe");
}

TEST(ColourProfileDescription, AbsentTagGivesNothing) {
    CmsProfile p(cmsCreate_sRGBProfile());
    cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, nullptr);
    const Bytes b = test::SaveProfile(p.get());
    ColourProfile profile = ColourProfile::OpenMemory(b);
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile.Description(), std::nullopt);
    EXPECT_EQ(ColourProfile().Description(), std::nullopt);
}

TEST(ColourProfileRawTag, ReadsPrivateTagsUpToALimit) {
    const uint32_t mdea = FourCC("mdea");
    for (size_t size : {size_t(0), size_t(100), size_t(512), size_t(600)}) {
        SCOPED_TRACE(size);
        CmsProfile p(cmsCreate_sRGBProfile());
        Bytes data(size);
        for (size_t i = 0; i < size; ++i) data[i] = uint8_t(i * 7);
        if (size) cmsWriteRawTag(p.get(), cmsTagSignature(mdea), data.data(), cmsUInt32Number(size));
        const Bytes b = test::SaveProfile(p.get());
        ColourProfile profile = ColourProfile::OpenMemory(b);
        ASSERT_TRUE(profile);
        auto tag = profile.RawTag(mdea, 512);
        if (size == 0 || size > 512) {
            EXPECT_EQ(tag, std::nullopt);
        } else {
            EXPECT_EQ(tag, data);
        }
    }
}

TEST(ColourProfileFile, ReadsTagsOnBothSidesOfTheFirstBlock) {
    // Tags are read from the first block kept at opening or from the file: one private tag
    // straddling the block's end, one wholly after it, and tags pointing past the end.
    test::TestRoot root;
    const uint32_t straddling = FourCC("zst1"), after = FourCC("zst2");
    CmsProfile p(cmsCreate_sRGBProfile());
    Bytes first(6000), second(3000);
    for (size_t i = 0; i < first.size(); ++i) first[i] = uint8_t(i * 13);
    for (size_t i = 0; i < second.size(); ++i) second[i] = uint8_t(i * 5 + 1);
    cmsWriteRawTag(p.get(), cmsTagSignature(straddling), first.data(), cmsUInt32Number(first.size()));
    cmsWriteRawTag(p.get(), cmsTagSignature(after), second.data(), cmsUInt32Number(second.size()));
    const Bytes bytes = test::SaveProfile(p.get());
    const auto path = root.Path() / "gross.icc";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    ColourProfile opened = ColourProfile::OpenFile(path);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.RawTag(straddling, 1 << 16), first);
    EXPECT_EQ(opened.RawTag(after, 1 << 16), second);
    EXPECT_TRUE(opened.Description().has_value());
    EXPECT_TRUE(opened.IsValid());

    // The same file cut short after its size field was written: the late tag cannot be read.
    Bytes cut = bytes;
    cut.resize(bytes.size() - 1000);
    SetBigEndian32(cut, 0, uint32_t(cut.size()));
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(cut.data()), std::streamsize(cut.size()));
    ColourProfile shortened = ColourProfile::OpenFile(path);
    ASSERT_TRUE(shortened);
    EXPECT_EQ(shortened.RawTag(after, 1 << 16), std::nullopt);
}

TEST(ColourProfileFile, LargeTablesReadFromTheFileMatchTheBytesInMemory) {
    // A printer profile's tables lie far beyond the first block and are read in small
    // pieces: its transform must be the same as from the same bytes in memory.
    const auto path = DataFolder() / "icc" / "TEVRA Proof 44 Fotopapier Hochglanz.icc";
    std::ifstream in(path, std::ios::binary);
    const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 65536u);
    ColourProfile fromFile = ColourProfile::OpenFile(path);
    ColourProfile fromMemory = ColourProfile::OpenMemory(bytes);
    ASSERT_TRUE(fromFile);
    ASSERT_TRUE(fromMemory);
    CmsProfile srgb(cmsCreate_sRGBProfile());
    auto transform = [&](const ColourProfile& p) {
        cmsHTRANSFORM t = cmsCreateTransform(srgb.get(), TYPE_RGB_8, p.Handle(), TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
        EXPECT_NE(t, nullptr);
        Bytes in(3 * 216), out(in.size());
        for (size_t i = 0; i < 216; ++i) {
            in[3 * i] = uint8_t(i % 6 * 51);
            in[3 * i + 1] = uint8_t(i / 6 % 6 * 51);
            in[3 * i + 2] = uint8_t(i / 36 * 51);
        }
        if (t) cmsDoTransform(t, in.data(), out.data(), 216);
        if (t) cmsDeleteTransform(t);
        return out;
    };
    EXPECT_EQ(transform(fromFile), transform(fromMemory));
    EXPECT_EQ(fromFile.Description(), fromMemory.Description());
}

TEST(ColourProfileRawTag, GivesTheStoredBytesOfKnownTags) {
    const Bytes b = SrgbBytes();
    ColourProfile p = ColourProfile::OpenMemory(b);
    auto wtpt = p.RawTag(FourCC("wtpt"), 512);
    ASSERT_TRUE(wtpt);
    ASSERT_EQ(wtpt->size(), 20u);
    EXPECT_EQ(std::string(wtpt->begin(), wtpt->begin() + 4), "XYZ ");
}

}  // namespace
}  // namespace vx
