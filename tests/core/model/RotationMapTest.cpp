#include <gtest/gtest.h>

#include "model/RotationMap.h"

namespace vx {
namespace {

TEST(RotationMap, MapsSideCodesByTurnMode) {
    struct Case { int mode; int codes[5]; };  // images of codes 0 to 4
    for (const Case& c : {Case{1, {3, 2, 0, 1, 4}}, Case{2, {1, 0, 3, 2, 4}}, Case{4, {2, 3, 1, 0, 4}},
                          Case{3, {0, 1, 2, 3, 4}}, Case{0, {0, 1, 2, 3, 4}}}) {
        for (int code = 0; code <= 4; ++code) {
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << " code " << code);
            EXPECT_EQ(MapRotation(c.mode, code), c.codes[code]);
        }
    }
    EXPECT_EQ(MapRotation(1, -1), -1);
}

TEST(RotationMap, InverseUndoesTheTurn) {
    for (int mode : {1, 2, 4, 7}) {
        for (int code = 0; code <= 3; ++code) {
            EXPECT_EQ(MapRotationInverse(mode, MapRotation(mode, code)), code) << mode << ' ' << code;
            EXPECT_EQ(MapRotation(mode, MapRotationInverse(mode, code)), code) << mode << ' ' << code;
        }
    }
}

}  // namespace
}  // namespace vx
