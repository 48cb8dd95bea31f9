#include <gtest/gtest.h>

#include "templates/XmlValueForms.h"

namespace vx {
namespace {

TEST(XmlValueForms, ComponentsThatDoNotParseStayAsTheyWere) {
    ColorRef c = 0x00010203;
    ParseXmlColour("300,-4", c);
    EXPECT_EQ(c, 0x000100FFu);
    XmlDate d{2000, 1, 1};
    ParseXmlDate("2026-x-5", d);
    EXPECT_EQ(d, (XmlDate{2026, 1, 1}));
}

TEST(XmlValueForms, TextsThatXmlCannotCarry) {
    EXPECT_EQ(ToXmlText("a\x01\tb\x1F\n\xEF\xBF\xBE" "c\xEF\xBF\xBF", true), "\"a\tb\nc\"");
    EXPECT_EQ(ToXmlText("x\ry", false), "x\ry");
    EXPECT_FALSE(ToXmlText("caf\xE9", true));
    EXPECT_EQ(FromXmlText("no quotes"), "no quotes");
    EXPECT_EQ(FromXmlText("\"\""), "");
}

}  // namespace
}  // namespace vx
