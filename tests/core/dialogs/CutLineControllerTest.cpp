#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../model/LayoutFixture.h"
#include "dialogs/CutLineController.h"
#include "host/DocumentServices.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

using namespace dialogs;
using test::DescribeByName;

struct ColourAnswer : SettingsDialogs {
    std::optional<uint32_t> answer;
    std::vector<uint32_t> asked;
    bool Has(Dialog) override { return false; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<std::filesystem::path> ChooseTemplate() override { return std::nullopt; }
    std::optional<uint32_t> ChooseColour(uint32_t initial) override {
        asked.push_back(initial);
        return answer;
    }
};

struct CutLines : test::TestLayout {
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;

    CutLines() {
        layout.SetUnit(1);
        CutLineSettings& cut = layout.CutLine();
        cut.mode = 2;
        cut.markType = 2;
        cut.cornerLength = 142;
        cut.cornerPosition = 71;
        cut.color = 0x0000FF;
        AddImages(2);
    }
};

TEST(CutLineController, CutterNeedsAlignedRowsOfAnAutomaticLayout) {
    struct Case {
        const char* what;
        bool free;
        int32_t alignX;
        bool cutterEnabled, cutterChecked, offChecked;
        int16_t stored;
    };
    const std::vector<Case> cases = {
        {"free layout", true, 1, false, false, true, 0},
        {"rows aligned otherwise", false, 5, false, true, false, 1},
        {"rows centred", false, 4, true, true, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CutLines t;
        t.layout.SetFree(c.free);
        t.layout.SetAlign({c.alignX, 1});
        t.layout.CutLine().mode = 1;
        CutLineController ctl(t.layout);
        const CutLineView v = ctl.OnInitDialog();
        EXPECT_EQ(v.controls.at(kCutModeCutter).enabled, c.cutterEnabled);
        EXPECT_EQ(v.controls.at(kCutModeCutter).checked, c.cutterChecked);
        EXPECT_EQ(v.controls.at(kCutModeOff).checked, c.offChecked);
        EXPECT_FALSE(v.controls.at(kLengthEdit).enabled);
        EXPECT_FALSE(v.controls.at(kLineColourButton).enabled);
        CutLineView after;
        ASSERT_TRUE(ctl.OnOK(t.undo, after));
        EXPECT_EQ(t.layout.CutLine().mode, c.stored);
    }
}

TEST(CutLineController, LengthsAreCheckedBeforeAnythingIsWritten) {
    struct Case {
        const char* length;
        const char* position;
        bool ok;
        int focus;
        std::string range;
    };
    const std::vector<Case> cases = {
        {"0.9", "5", false, kLengthEdit, "0.99 mm - 101.60 mm"},
        {"101.7", "5", false, kLengthEdit, "0.99 mm - 101.60 mm"},
        {"10", "101.7", false, kPositionEdit, "0.00 mm - 101.60 mm"},
        {"1.0", "0", true, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        CutLines t;
        t.undo.PushUndo(t.layout, 22);
        const std::string undoBefore = DescribeByName(*t.undo.GetUndoLayout());
        const CutLineSettings cutBefore = t.layout.CutLine();
        CutLineController ctl(t.layout);
        ctl.OnInitDialog();
        ctl.OnEditChange(kLengthEdit, c.length);
        ctl.OnEditChange(kPositionEdit, c.position);
        CutLineView v;
        EXPECT_EQ(ctl.OnOK(t.undo, v), c.ok);
        if (c.ok) {
            EXPECT_EQ(t.layout.CutLine().cornerLength, 14);
            EXPECT_EQ(t.layout.CutLine().cornerPosition, 0);
            EXPECT_EQ(t.undo.GetLastUndoCode(), 19);
            continue;
        }
        ASSERT_EQ(t.messages.Ids(), std::vector<int>{IDS_VALUE_RANGE_2DEC});
        EXPECT_NE(t.messages.shown[0].text.find(c.range), std::string::npos) << t.messages.shown[0].text;
        EXPECT_EQ(v.focus, c.focus);
        EXPECT_TRUE(v.selectAll);
        EXPECT_EQ(t.layout.CutLine(), cutBefore);
        EXPECT_EQ(t.layout.GetDirty(), 0);
        EXPECT_EQ(t.undo.GetLastUndoCode(), 22);
        EXPECT_EQ(DescribeByName(*t.undo.GetUndoLayout()), undoBefore);
    }
}

TEST(CutLineController, ModesEnableTheirControlsAndOffKeepsTheLengths) {
    CutLines t;
    CutLineController ctl(t.layout);
    CutLineView v = ctl.OnInitDialog();
    EXPECT_TRUE(v.controls.at(kCutModeOther).checked);
    EXPECT_TRUE(v.controls.at(kCutCornersOnly).checked);
    EXPECT_TRUE(v.controls.at(kLengthEdit).enabled);
    EXPECT_EQ(v.controls.at(kLengthEdit).text, "10.02");
    EXPECT_EQ(v.colour, 0x0000FFu);

    v = ctl.OnAroundImage();
    EXPECT_FALSE(v.controls.at(kLengthEdit).enabled);
    EXPECT_TRUE(v.controls.at(kLineColourButton).enabled);
    v = ctl.OnCornersOnly();
    EXPECT_TRUE(v.controls.at(kPositionUnitCombo).enabled);
    ctl.OnEditChange(kLengthEdit, "20");
    v = ctl.OnModeOff();
    EXPECT_FALSE(v.controls.at(kCutAroundImage).enabled);
    EXPECT_FALSE(v.controls.at(kLengthEdit).enabled);

    CutLineView after;
    ASSERT_TRUE(ctl.OnOK(t.undo, after));
    EXPECT_EQ(t.layout.CutLine().mode, 0);
    EXPECT_EQ(t.layout.CutLine().markType, 2);
    EXPECT_EQ(t.layout.CutLine().cornerLength, 283);  // 20 mm
    EXPECT_EQ(t.layout.CutLine().cornerPosition, 71);
}

TEST(CutLineController, UnitSwitchRewritesTheFieldAndItsRange) {
    CutLines t;
    CutLineController ctl(t.layout);
    ctl.OnInitDialog();
    const CutLineView v = ctl.OnLengthUnitChange(1);
    EXPECT_EQ(v.controls.at(kLengthEdit).text, "0.394");
    EXPECT_EQ(v.controls.at(kLengthEdit).range, (EditRange{0, 4.0, 2, 9}));
    EXPECT_EQ(v.controls.at(kPositionEdit).range, (EditRange{0, 101.6, 1, 9}));
    EXPECT_EQ(v.controls.at(kLengthUnitCombo).selection, 1);
    CutLineView after;
    ASSERT_TRUE(ctl.OnOK(t.undo, after));
    EXPECT_EQ(t.layout.CutLine().cornerLength, 142);
}

TEST(CutLineController, OkTakesUndoMarksDirtyAndRepaintsThePaneOnly) {
    CutLines t;
    ColourAnswer colours;
    colours.answer = 0x00FF00;
    ScopedHostService<SettingsDialogs> installed(&colours);
    ASSERT_EQ(Relayout(t.layout), 1);
    const std::vector<LayoutPoint> positions = {t.layout.GetFirstItem()->GetPosition(),
                                                t.layout.GetFirstItem()->NextItem()->GetPosition()};
    t.layout.GetFirstItem()->SetPosition(5, 5);  // a relayout would move it back

    CutLineController ctl(t.layout);
    ctl.OnInitDialog();
    ctl.OnModeOther();
    const CutLineView chosen = ctl.OnChooseColour();
    EXPECT_EQ(colours.asked, std::vector<uint32_t>{0x0000FF});
    EXPECT_EQ(chosen.colour, 0x00FF00u);
    CutLineView v;
    ASSERT_TRUE(ctl.OnOK(t.undo, v));
    EXPECT_EQ(t.undo.GetLastUndoCode(), 19);
    EXPECT_EQ(t.undo.GetUndoLayout()->CutLine().color, 0x0000FFu);
    EXPECT_EQ(t.layout.CutLine().color, 0x00FF00u);
    EXPECT_EQ(t.layout.GetDirty(), 1);
    EXPECT_EQ(t.host.pane.invalidations, 1);
    EXPECT_EQ(t.layout.GetFirstItem()->GetPosition(), (LayoutPoint{5, 5}));
    EXPECT_EQ(t.layout.GetFirstItem()->NextItem()->GetPosition(), positions[1]);
}

}  // namespace
}  // namespace vx
