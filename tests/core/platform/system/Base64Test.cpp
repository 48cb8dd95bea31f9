#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/Base64.h"
#include "platform/system/SystemLanguage.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

TEST(Base64, EncodesAndDecodesTheStandardVectors) {
    const std::pair<std::string_view, std::string_view> vectors[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
    };
    for (auto [plain, coded] : vectors) {
        SCOPED_TRACE(std::string(plain));
        EXPECT_EQ(Base64Encode(Bytes(plain)), coded);
        auto back = Base64Decode(coded);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, Bytes(plain));  // the length excludes the padding
    }
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[size_t(i)] = uint8_t(i);
    std::string text = Base64Encode(all);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(Base64Decode(text), all);
}

TEST(Base64, RefusesMalformedTextWhole) {
    for (std::string_view bad : {"Zm9", "Zm9vY", "Zm9v!mFy", "Zm=vYmFy", "Zg==Zg==", "=Zg=", "Z===",
                                 "Zm9v\nYmFy"}) {
        SCOPED_TRACE(std::string(bad));
        EXPECT_FALSE(Base64Decode(bad));
    }
}

struct LanguageCase {
    const char* locale;
    int id;
};

TEST(SystemLanguage, TakesTheFirstTwoLettersOfTheLocale) {
    const LanguageCase cases[] = {
        {"zh_CN.UTF-8", 4}, {"de_DE.UTF-8", 7}, {"es_ES", 10}, {"fr_FR", 12}, {"it_IT", 16},
        {"ja_JP.UTF-8", 17}, {"ko_KR", 18},     {"nl_NL", 19}, {"pt_BR", 22}, {"en_GB.UTF-8", 9},
        {"C", 9},           {"POSIX", 9},       {"pl_PL", 9},  {"", 9},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(LanguageFromLocaleName(c.locale), c.id);
    }
}

TEST(SystemLanguage, PrefersLcAllThenLcMessagesThenLang) {
    test::ScopedEnv all("LC_ALL", "");
    test::ScopedEnv messages("LC_MESSAGES", "fr_FR.UTF-8");
    test::ScopedEnv lang("LANG", "de_DE.UTF-8");
    EXPECT_EQ(GetSystemLanguage(), 12);
    {
        test::ScopedEnv noMessages("LC_MESSAGES", std::nullopt);
        EXPECT_EQ(GetSystemLanguage(), 7);
        test::ScopedEnv japanese("LC_ALL", "ja_JP.UTF-8");
        EXPECT_EQ(GetSystemLanguage(), 17);
    }
    test::ScopedEnv noAll("LC_ALL", std::nullopt);
    test::ScopedEnv noMessages("LC_MESSAGES", std::nullopt);
    test::ScopedEnv noLang("LANG", std::nullopt);
    EXPECT_EQ(GetSystemLanguage(), 9);
}

}  // namespace
}  // namespace vx
