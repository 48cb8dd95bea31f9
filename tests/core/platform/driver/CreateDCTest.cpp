#include <gtest/gtest.h>

#include "OpenedModel.h"

namespace vx::test {
namespace {

using I = DriverItem;

struct DeviceRow {
    const char* model;
    const char* what;
    std::vector<std::pair<I, DriverWords>> sets;
    DeviceCaps expected;
    const char* profile;
};

TEST(CreateDC, GivesTheDeviceOfTheCurrentSettings) {
    // 0.1 mm x resolution / 254, rounded: 30 -> 85, 140 -> 397 at 720; overspray 30 on
    // every side makes A4 2160 x 3030 tenths.
    const DeviceRow rows[] = {
        {"TEVRA Proof 44", "A4 portrait", {}, {720, 720, 5953, 8419, 85, 85, 5783, 7937},
         "TEVRA Proof 44 Fotopapier Hochglanz.icc"},
        {"TEVRA Proof 44", "A4 landscape", {{I::Orientation, {2}}}, {720, 720, 8419, 5953, 85, 85, 7937, 5783},
         "TEVRA Proof 44 Fotopapier Hochglanz.icc"},
        {"TEVRA Proof 44", "A4 borderless, larger by the overspray", {{I::Source, {258}}},
         {720, 720, 6123, 8589, 0, 0, 6123, 8589}, "TEVRA Proof 44 Fotopapier Hochglanz.icc"},
        {"TEVRA Proof 24", "medium Seidenglanz", {{I::PrintMode, {1, 1, 2, 2}}},
         {720, 720, 5953, 8419, 85, 85, 5783, 7937}, "TEVRA Proof 24 Fotopapier Seidenglanz.icc"},
        {"TEVRA Proof A3", "A4 at 360", {{I::PrintMode, {1, 1, 5, 1}}},
         {360, 360, 2976, 4209, 43, 43, 2890, 3968}, "TEVRA Proof A3 Normalpapier.icc"},
    };
    for (const DeviceRow& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.model << ": " << row.what);
        OpenedModel p(row.model);
        for (const auto& [item, value] : row.sets) ASSERT_EQ(p.Set(item, value), 0);
        std::unique_ptr<PrintDevice> dc = p.module.CreateDC(p.handle);
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(dc->Caps(), row.expected);
        EXPECT_EQ(dc->ProfilePath().filename(), row.profile);
        EXPECT_EQ(dc->ProfilePath().parent_path().filename(), "icc");
        EXPECT_EQ(p.module.DeleteDC(p.handle, std::move(dc)), 1);
    }
}

TEST(CreateDC, ResetFollowsLaterSettings) {
    OpenedModel p("TEVRA Proof 44");
    std::unique_ptr<PrintDevice> dc = p.module.CreateDC(p.handle);
    ASSERT_NE(dc, nullptr);
    ASSERT_EQ(p.Set(I::Orientation, {2}), 0);
    EXPECT_EQ(dc->Caps().physicalWidth, 5953) << "a device keeps the settings it was made with";
    EXPECT_EQ(p.module.ResetDC(p.handle, *dc), 1);
    EXPECT_EQ(dc->Caps().physicalWidth, 8419);
}

}  // namespace
}  // namespace vx::test
