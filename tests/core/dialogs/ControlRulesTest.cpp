#include "dialogs/ControlRules.h"
#include "dialogs/DisabledItemRules.h"
#include "dialogs/IconButtonRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx::dialogs {
namespace {

TEST(DisabledItemRules, EntriesWithoutBitZeroAreDisabled) {
    const std::vector<uintptr_t> data = {1, 0, 3, 2};
    EXPECT_TRUE(IsItemEnabled(data, 0));
    EXPECT_FALSE(IsItemEnabled(data, 1));
    EXPECT_TRUE(IsItemEnabled(data, 2));
    EXPECT_FALSE(IsItemEnabled(data, 3));
    EXPECT_TRUE(IsItemEnabled(data, -1));
    EXPECT_TRUE(IsItemEnabled(data, 4));
}

TEST(DisabledItemRules, PopupIsOneRowTallerUpToFifteen) {
    EXPECT_EQ(PopupRows(0), 1);
    EXPECT_EQ(PopupRows(3), 4);
    EXPECT_EQ(PopupRows(14), 15);
    EXPECT_EQ(PopupRows(30), 15);
}

TEST(DisabledItemRules, ConfirmingAGreyEntryRestoresThePreviousOne) {
    const std::vector<uintptr_t> data = {1, 0, 1};
    EXPECT_EQ(RestoreAfterConfirm(data, 1, 2), 2);
    EXPECT_FALSE(RestoreAfterConfirm(data, 0, 2).has_value());
}

TEST(DropDownWidth, FollowsEntriesComboAndScreen) {
    // combo 100 wide at x 50, scroll bar 15, screen right 1280
    EXPECT_EQ(DropDownWidth({40, 60}, 100, 15, 50, 1280), 100);
    EXPECT_EQ(DropDownWidth({40, 300}, 100, 15, 50, 1280), 315);
    EXPECT_EQ(DropDownWidth({85}, 100, 15, 50, 1280), 100);  // exactly W - scroll bar
    EXPECT_EQ(DropDownWidth({300}, 100, 15, 1100, 1280), 180);
    EXPECT_EQ(DropDownWidth({}, 100, 15, 50, 1280), 100);
    EXPECT_EQ(DropDownWidth({0, 0}, 100, 15, 50, 1280), 100);
}

TEST(ListRowStyle, StripesKeepOneParityAndHighlightFollowsFocus) {
    const ListPalette p{{255, 255, 255}, {0, 0, 0}, {50, 100, 200}, {255, 255, 254}};
    EXPECT_EQ(ListRowStyle(0, false, false, true, false, p).background, kStripeGrey);
    EXPECT_EQ(ListRowStyle(1, false, false, true, false, p).background, p.window);
    EXPECT_EQ(StripeColour(6, p), kStripeGrey);
    EXPECT_EQ(StripeColour(7, p), p.window);
    EXPECT_TRUE(ListRowStyle(1, true, false, true, false, p).highlighted);
    EXPECT_EQ(ListRowStyle(1, true, false, true, false, p).text, p.highlightText);
    EXPECT_FALSE(ListRowStyle(2, true, false, false, false, p).highlighted);
    EXPECT_TRUE(ListRowStyle(2, true, false, false, true, p).highlighted);
    EXPECT_TRUE(ListRowStyle(2, false, true, false, false, p).highlighted);
}

TEST(MakeGreyIcon, GreysColoursAndKeepsBlackAndAlpha) {
    std::vector<uint8_t> px = {
        0, 0, 255, 255,     // red
        0, 0, 0, 200,       // black
        30, 200, 10, 128,   // R 10, G 200, B 30
        255, 255, 255, 0,   // white, transparent
    };
    MakeGreyIcon(px);
    EXPECT_EQ(std::vector<uint8_t>(px.begin(), px.begin() + 4), (std::vector<uint8_t>{76, 76, 76, 255}));
    EXPECT_EQ(std::vector<uint8_t>(px.begin() + 4, px.begin() + 8), (std::vector<uint8_t>{0, 0, 0, 200}));
    EXPECT_EQ(std::vector<uint8_t>(px.begin() + 8, px.begin() + 12), (std::vector<uint8_t>{123, 123, 123, 128}));
    EXPECT_EQ(std::vector<uint8_t>(px.begin() + 12, px.end()), (std::vector<uint8_t>{255, 255, 255, 0}));
}

TEST(IconButtonColours, IndexAboveFiveChangesNothing) {
    IconButtonColours c(0xC0C0C0, 0x000000);
    EXPECT_EQ(c.Set(6, 0x0000FF), 3);
    for (unsigned i = 0; i < 6; ++i) EXPECT_EQ(c.Get(i), i % 2 ? 0x000000u : 0xC0C0C0u) << i;
    EXPECT_EQ(c.Set(0, 0xB4B4B4), 0);
    EXPECT_EQ(c.Get(0), 0xB4B4B4u);
}

TEST(IconButtonRules, CheckStatesOneAndTwoCheck) {
    EXPECT_FALSE(CheckFromState(0));
    EXPECT_TRUE(CheckFromState(1));
    EXPECT_TRUE(CheckFromState(2));
    EXPECT_FALSE(CheckFromState(3));
}

TEST(IconButtonRules, LookFollowsHoverPressAndPassiveMode) {
    IconButtonState s;
    s.hasIdleIcon = true;
    EXPECT_FALSE(IconButtonLookFor(s).normalIcon);
    EXPECT_FALSE(IconButtonLookFor(s).raisedBorder);
    s.hovered = true;
    EXPECT_TRUE(IconButtonLookFor(s).normalIcon);
    EXPECT_TRUE(IconButtonLookFor(s).raisedBorder);
    EXPECT_EQ(IconButtonLookFor(s).background, 0);
    s.pressed = true;
    EXPECT_TRUE(IconButtonLookFor(s).sunkenBorder);
    IconButtonState passive;
    passive.passive = true;
    passive.pressed = true;
    EXPECT_FALSE(IconButtonLookFor(passive).pressed);
    EXPECT_FALSE(IconButtonLookFor(passive).raisedBorder);  // no text: no border
    passive.hasText = true;
    EXPECT_TRUE(IconButtonLookFor(passive).raisedBorder);
}

}  // namespace
}  // namespace vx::dialogs
