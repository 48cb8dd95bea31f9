#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "model/GreyConversion.h"

namespace vx {
namespace {

TEST(GreyConversion, ColourRefHasRedInTheLowByte) {
    EXPECT_EQ(GreyFromRGB(0x7F0000FF), 0x7F4C4C4Cu);  // red 255: 76
    EXPECT_EQ(GreyFromRGB(0x0000FF00), 0x00969696u);  // green 255: 150
    EXPECT_EQ(GreyFromRGB(0x00FF0000), 0x001C1C1Cu);  // blue 255: 28
    EXPECT_EQ(GreyFromRGB(0xFFFFFFFF), 0xFFFEFEFEu);  // three truncations lose one
    EXPECT_EQ(GreyFromRGB(0x00000000), 0x00000000u);
}

TEST(GreyConversion, PixelsHaveBlueInTheFirstByte) {
    std::vector<uint8_t> pixels = {0, 0, 255, 128,    // red
                                   255, 0, 0, 255,    // blue
                                   0, 255, 0, 0,      // green, transparent
                                   10, 20, 30, 40,    // red 9 + green 11 + blue 1
                                   9, 9};             // a partial pixel stays
    ConvertPixelsToGrey(pixels);
    EXPECT_EQ(pixels, (std::vector<uint8_t>{76, 76, 76, 128, 28, 28, 28, 255, 150, 150, 150, 0,
                                            21, 21, 21, 40, 9, 9}));
}

}  // namespace
}  // namespace vx
