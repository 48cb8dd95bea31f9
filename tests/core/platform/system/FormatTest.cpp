#include <gtest/gtest.h>

#include <string>

#include "platform/system/Format.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

TEST(FormatTemplate, FillsConversionsInOrder) {
    struct Case { const char* tmpl; Args args; const char* out; };
    const Case cases[] = {
        {"%s x %s %s", {std::string("10"), std::string("20"), std::string("mm")}, "10 x 20 mm"},
        {"Breite : %.2f %s  Höhe : %.2f %s", {25.4, std::string("mm"), 1.0, std::string("Zoll")},
         "Breite : 25.40 mm  Höhe : 1.00 Zoll"},
        {"%d Pixel - %ld Pixel", {1LL, 30000LL}, "1 Pixel - 30000 Pixel"},
        {"%d", {2.9}, "2"},                       // a double for an integer conversion
        {"%.1f", {7LL}, "7.0"},                   // an integer for a float conversion
        {"%s und %s", {std::string("eins")}, "eins und %s"},  // missing argument stays
        {"100%%", {}, "100%"},
        {"Ende %", {1LL}, "Ende %"},
        {"%5.1f|%-4d|", {3.14159, 7LL}, "  3.1|7   |"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tmpl);
        EXPECT_EQ(FormatTemplate(c.tmpl, c.args), c.out);
    }
}

TEST(FormatC, GrowsPastTheSmallBuffer) {
    std::string longText(1000, 'x');
    EXPECT_EQ(FormatC("<%s>", longText.c_str()), "<" + longText + ">");
}

TEST(StringTable, KnownIdsGiveTheirGermanTextUnknownIdsGiveEmpty) {
    EXPECT_EQ(LoadString(10403), "Unbekannter Fehler.");
    EXPECT_EQ(LoadString(10404), "Windows XP oder 2000 erforderlich.");
    EXPECT_EQ(LoadString(10413), "Nicht genügend Speicher.");
    EXPECT_EQ(LoadString(10417), "Datei nicht lesbar.");
    EXPECT_EQ(LoadString(10421), "Aktuelles Layout verwerfen?");
    EXPECT_EQ(LoadString(IDS_IMAGE_FORMAT_UNSUPPORTED), "Bildformat nicht unterstützt.");
    EXPECT_EQ(LoadString(0), "");
    EXPECT_EQ(LoadString(-5), "");
    EXPECT_EQ(LoadString(99999), "");
    EXPECT_EQ(MessageText(IDS_SAVE_FAILED, {std::string("/a/b.kqf")}),
              "Die Datei „/a/b.kqf“ konnte nicht gespeichert werden.");
}

}  // namespace
}  // namespace vx
