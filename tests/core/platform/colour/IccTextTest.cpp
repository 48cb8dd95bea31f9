#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TestProfiles.h"
#include "platform/colour/ColourProfile.h"
#include "platform/colour/IccText.h"

namespace vx {
namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}

void PutText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

void PutUtf16(Bytes& b, const std::vector<uint16_t>& units) {
    for (uint16_t u : units) {
        b.push_back(uint8_t(u >> 8));
        b.push_back(uint8_t(u));
    }
}

// textDescriptionType: 8-bit part with its count (zero included), then the Unicode part.
Bytes Desc(const std::string& ascii, uint32_t count, const std::vector<uint16_t>& unicode = {}) {
    Bytes b;
    PutText(b, "desc");
    Put32(b, 0);
    Put32(b, count);
    PutText(b, ascii);
    Put32(b, 0);  // Unicode language
    Put32(b, uint32_t(unicode.size()));
    PutUtf16(b, unicode);
    b.resize(b.size() + 3 + 67, 0);  // ScriptCode part
    return b;
}

struct Record {
    std::string languageCountry;  // "enUS"
    std::vector<uint16_t> text;
};

Bytes Mluc(const std::vector<Record>& records, uint32_t recordSize = 12, uint32_t offsetShift = 0) {
    Bytes b;
    PutText(b, "mluc");
    Put32(b, 0);
    Put32(b, uint32_t(records.size()));
    Put32(b, recordSize);
    uint32_t offset = 16 + uint32_t(records.size()) * recordSize;
    for (const Record& r : records) {
        PutText(b, r.languageCountry);
        Put32(b, uint32_t(r.text.size() * 2));
        Put32(b, offset + offsetShift);
        if (recordSize > 12) b.resize(b.size() + (recordSize - 12), 0);
        offset += uint32_t(r.text.size() * 2);
    }
    for (const Record& r : records) PutUtf16(b, r.text);
    return b;
}

std::vector<uint16_t> Units(const std::u16string& s) { return {s.begin(), s.end()}; }

TEST(IccText, DecodesTheThreeTextTypes) {
    struct Case {
        const char* name;
        Bytes tag;
        std::optional<std::string> text;
    };
    Bytes plainText;
    PutText(plainText, "text");
    Put32(plainText, 0);
    PutText(plainText, std::string("Copyright\0rest", 14));
    const std::vector<Case> cases = {
        {"desc ASCII", Desc(std::string("Paper\0", 6), 6), "Paper"},
        {"desc count without the zero", Desc("Paper", 5), "Paper"},
        {"desc Latin-1", Desc("Gr\xF6\xDF" "e", 5), "Größe"},
        {"desc UTF-8 in the 8-bit part", Desc("Gr\xC3\xB6\xC3\x9F" "e", 7), "Größe"},
        {"desc empty 8-bit part uses Unicode", Desc("", 0, Units(u"Farbe")), "Farbe"},
        {"desc count past the tag", Desc("Paper", 400), std::nullopt},
        {"desc count of four gigabytes", Desc("Paper", 0xFFFFFFFFu), std::nullopt},
        {"mluc English among others",
         Mluc({{"deDE", Units(u"Papier")}, {"enUS", Units(u"Paper")}}), "Paper"},
        {"mluc without English takes the first",
         Mluc({{"deDE", Units(u"Papier")}, {"frFR", Units(u"Papier fr")}}), "Papier"},
        {"mluc surrogate pair", Mluc({{"enUS", {'I', 0xD83D, 0xDD8C}}}), "I\xF0\x9F\x96\x8C"},
        {"mluc lone surrogates", Mluc({{"enUS", {'a', 0xD83D, 'b', 0xDD8C}}}), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD"},
        {"mluc stops at a zero", Mluc({{"enUS", {'a', 0, 'b'}}}), "a"},
        {"mluc wider records", Mluc({{"enUS", Units(u"Wide")}}, 20), "Wide"},
        {"mluc records shorter than 12", Mluc({{"enUS", Units(u"x")}}, 8), std::nullopt},
        {"mluc text past the tag", Mluc({{"enUS", Units(u"Paper")}}, 12, 100), std::nullopt},
        {"mluc no records", Mluc({}), std::nullopt},
        {"text", plainText, "Copyright"},
        {"other type", [] { Bytes b; PutText(b, "XYZ "); Put32(b, 0); return b; }(), std::nullopt},
        {"shorter than a type", Bytes{'d', 'e', 's'}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeIccText(c.tag), c.text);
    }
}

TEST(IccText, MlucRecordCountCannotReachPastTheTag) {
    Bytes b = Mluc({{"enUS", Units(u"Paper")}});
    b[8] = 0x10;  // 268 million records
    EXPECT_EQ(DecodeIccText(b), std::nullopt);
}

TEST(IccText, ADescriptionWhoseCountOverrunsIsNoDescription) {
    // The stored count claims more text than the tag holds.
    test::CmsProfile p(cmsCreate_sRGBProfile());
    const Bytes tag = Desc("Paper", 5000);
    cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, nullptr);  // LittleCMS frees raw over cooked wrongly
    cmsWriteRawTag(p.get(), cmsSigProfileDescriptionTag, tag.data(), cmsUInt32Number(tag.size()));
    const Bytes bytes = test::SaveProfile(p.get());
    ColourProfile profile = ColourProfile::OpenMemory(bytes);
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile.Description(), std::nullopt);
}

}  // namespace
}  // namespace vx
