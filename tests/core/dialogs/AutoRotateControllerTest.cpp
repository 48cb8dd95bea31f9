#include <gtest/gtest.h>

#include "../model/LayoutFixture.h"
#include "dialogs/AutoRotateController.h"
#include "model/CLayoutSetting.h"

namespace vx {
namespace {

TEST(AutoRotateController, ChecksTheStoredModesRadioAndGivesTheCheckedOnesMode) {
    for (int16_t stored = 0; stored < 6; ++stored) {
        for (int checked = 0; checked < 6; ++checked) {
            CLayoutSetting layout(true);
            layout.SetAutoRotate(stored);
            AutoRotateController dialog;
            EXPECT_EQ(dialog.SetSettings(layout, 0), 1);
            EXPECT_EQ(dialog.InitialRadio(), stored);
            dialog.Ok(checked);
            EXPECT_EQ(dialog.GetRotateMode(), checked);
        }
    }
}

TEST(AutoRotateController, AnInvalidStoredModeShowsNoRadioAndStaysAsItWas) {
    CLayoutSetting layout(true);
    layout.SetAutoRotate(9);
    AutoRotateController dialog;
    dialog.SetSettings(layout, 0);
    EXPECT_EQ(dialog.InitialRadio(), -1);
    dialog.Ok(-1);
    EXPECT_EQ(dialog.GetRotateMode(), 9) << "65535 never reaches the layout";
}

TEST(AutoRotateController, GetSettingsGivesBackTheCopyUnchanged) {
    test::TestLayout source;
    source.layout.SetAutoRotate(3);
    source.layout.SetFree(1);
    source.layout.Texts().headerText = "Kopf";
    AutoRotateController dialog;
    dialog.SetSettings(source.layout, 0);
    test::TestLayout target(3000, 2000, 50);
    ASSERT_EQ(dialog.GetSettings(target.layout), 1);
    EXPECT_EQ(test::DescribeByName(target.layout), test::DescribeByName(source.layout));
    EXPECT_EQ(target.layout.Texts().headerText, "Kopf");
}

}  // namespace
}  // namespace vx
