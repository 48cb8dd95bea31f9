#include <gtest/gtest.h>

#include "platform/system/FourCC.h"
#include "platform/system/Paths.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

TEST(Utf8, CountsCodePointsNotBytes) {
    struct Case { std::string text; size_t count; bool valid; };
    for (const Case& c : {Case{"", 0, true}, Case{"abc", 3, true}, Case{"Größe", 5, true},
                          Case{"€", 1, true}, Case{"a\xFF" "b", 3, false},
                          Case{"\xC3", 1, false},                 // cut sequence
                          Case{"\xE0\x80\x80", 3, false},         // overlong
                          Case{"\xED\xA0\x80", 3, false},         // surrogate
                          Case{"\xF0\x9F\x98\x80", 1, true}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CountCodePoints(c.text), c.count);
        EXPECT_EQ(IsValidUtf8(c.text), c.valid);
    }
}

TEST(Utf8, TruncatesWholeCharactersAndReadsLatin1) {
    EXPECT_EQ(TruncateCodePoints("Größe", 3), "Grö");
    EXPECT_EQ(TruncateCodePoints("ab", 5), "ab");
    EXPECT_EQ(ToUtf8FromUtf8OrLatin1("Gr\xF6\xDF" "e"), "Größe");
    EXPECT_EQ(ToUtf8FromUtf8OrLatin1("Größe"), "Größe");
    EXPECT_TRUE(EqualsNoCaseAscii("IMAGE01", "image01"));
    EXPECT_FALSE(EqualsNoCaseAscii("Ä", "ä"));
    EXPECT_EQ(AsciiLower("X.EPS"), "x.eps");
}

TEST(Utf8, SortKeysFoldCaseAndComposition) {
    // Precomposed and decomposed umlauts, upper and lower case, give one key.
    EXPECT_EQ(FoldForSort("\xC3\x84pfel"), FoldForSort("a\xCC\x88PFEL"));
    EXPECT_EQ(FoldForSort("\xC3\x84pfel"), "\xC3\xA4pfel");
    EXPECT_LT(FoldForSort("Apfel"), FoldForSort("birne"));
    EXPECT_LT(FoldForSort("a10"), FoldForSort("a9"));  // bytewise, not numeric
    EXPECT_EQ(FoldForSort("Gr\xF6\xDF" "E"), FoldForSort("gr\xC3\xB6\xC3\x9F" "e"));  // Latin-1 input
    EXPECT_EQ(FoldForSort(""), "");
}

TEST(Paths, StoredWindowsSeparatorsResolve) {
    EXPECT_EQ(PathFromStored("Bilder\\Urlaub\\a.jpg"), std::filesystem::path("Bilder/Urlaub/a.jpg"));
    EXPECT_EQ(ResolveStoredPath("/home/u/layouts", "..\\bilder\\a.jpg"),
              std::filesystem::path("/home/u/bilder/a.jpg"));
    EXPECT_EQ(ResolveStoredPath("/home/u", "/abs/a.tif"), std::filesystem::path("/abs/a.tif"));
}

TEST(FourCC, FirstCharacterIsTheHighByte) {
    static_assert(FourCC("JPEG") == 0x4A504547);
    EXPECT_EQ(FourCCFromText("raw "), FourCC("raw "));
    EXPECT_EQ(FourCCFromText("Lab"), FourCC("Lab "));
    EXPECT_EQ(FourCCText(FourCC("EPSF")), "EPSF");
}

}  // namespace
}  // namespace vx
