#include <gtest/gtest.h>

#include "document/XmlValueForms.h"

namespace vx {
namespace {

TEST(XmlValueForms, Placeholder) { EXPECT_EQ(FormatXmlBool(true), "true"); }

}  // namespace
}  // namespace vx
