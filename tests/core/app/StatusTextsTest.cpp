#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/StatusTexts.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "model/ViewStateBlock.h"

namespace vx {
namespace {

/// A layout in automatic layout at zoom 1/1 with the given unit.
struct StatusLayout {
    CLayoutSetting layout{true};
    ViewStateBlock& block;
    explicit StatusLayout(int unit = 1) : block(layout.RenewViewState()) {
        layout.SetUnit(static_cast<int16_t>(unit));
        layout.SetFree(0);
    }
};

TEST(StatusTexts, TextsByCode) {
    struct Case {
        const char* name;
        int code;
        Args args;
        int unit;
        int zoomNum, zoomDen;
        std::optional<std::string> text;
    };
    const std::vector<Case> cases = {
        {"ready", kStatusReady, {}, 1, 1, 1, "Bereit"},
        {"loading 3 of 1", kStatusLoading, {3LL, 1LL}, 1, 1, 1, "Laden 3"},
        {"loading 3 of 12", kStatusLoading, {3LL, 12LL}, 1, 1, 1, "Laden 3 / 12"},
        {"loading 0 keeps the pane", kStatusLoading, {0LL, 12LL}, 1, 1, 1, std::nullopt},
        {"updating 2 of 5", kStatusUpdatingCount, {2LL, 5LL}, 1, 1, 1, "Aktualisieren 2 / 5"},
        {"updating of a total", kStatusUpdating, {2LL, 1LL}, 1, 1, 1, "Aktualisieren 2 / 1"},
        {"updating 0 keeps the pane", kStatusUpdating, {0LL, 4LL}, 1, 1, 1, std::nullopt},
        {"unsupported", kStatusUnsupported, {}, 1, 1, 1, "Bildformat nicht unterstützt."},
        {"unreadable", kStatusUnreadable, {}, 1, 1, 1, "Datei nicht lesbar."},
        {"size out of range", kStatusImageSizeOutOfRange, {}, 1, 1, 1,
         "Die Bildgröße ist außerhalb des gültigen Bereiches."},
        // 1 inch = 360 units; 1 mm = 14.17 units.
        {"position at 1/2 doubles", kStatusCursorPosition, {360LL, 180LL}, 2, 1, 2,
         "X = 2.000 Zoll , Y = 1.000 Zoll"},
        {"position in mm", kStatusCursorPosition, {1417LL, 0LL}, 1, 1, 1, "X = 99.98 mm , Y = 0.00 mm"},
        {"position at zoom 0/1 shows nothing", kStatusCursorPosition, {360LL, 360LL}, 2, 0, 1, std::nullopt},
        {"size in inches names inches", kStatusItemSize, {720LL, 360LL}, 2, 1, 2, "2.000 x 1.000 Zoll"},
        {"size in mm", kStatusItemSize, {1417LL, 1417LL}, 1, 1, 1, "99.98 x 99.98 mm"},
        {"code 9 changes no text", 9, {}, 1, 1, 1, std::nullopt},
        {"code 12 changes no text", 12, {}, 1, 1, 1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StatusLayout s(c.unit);
        s.block.zoomNumerator = c.zoomNum;
        s.block.zoomDenominator = c.zoomDen;
        const StatusUpdate u = FormatStatusUpdate(c.code, c.args, &s.layout, false);
        EXPECT_EQ(u.message, c.text);
        EXPECT_EQ(u.quickPrintState, std::optional<int>(kQuickPrintBlank));
        EXPECT_EQ(u.refreshPages, c.code == kStatusReady);
        EXPECT_EQ(LastStatusCode(), c.code);
    }
}

TEST(StatusTexts, ValuesComeFromTheViewStateWithoutArguments) {
    StatusLayout s;
    s.block.statusA = 4;
    s.block.statusB = 9;
    EXPECT_EQ(FormatStatusUpdate(kStatusLoading, {}, &s.layout, false).message, "Laden 4 / 9");
}

TEST(StatusTexts, QuickPrintPaneFollowsLayoutModeAndSwitch) {
    StatusLayout s;
    EXPECT_EQ(FormatStatusUpdate(10, {}, &s.layout, true).quickPrintState, kQuickPrintOn);
    EXPECT_EQ(FormatStatusUpdate(kStatusReady, {}, &s.layout, false).quickPrintState, kQuickPrintBlank);
    s.layout.SetFree(1);
    EXPECT_EQ(FormatStatusUpdate(kStatusReady, {}, &s.layout, true).quickPrintState, kQuickPrintBlank);

    const std::string blank(32, ' ');
    EXPECT_EQ(QuickPrintPaneText(kQuickPrintBlank, true), blank);
    EXPECT_EQ(QuickPrintPaneText(kQuickPrintOn, true), "Die Schnelldruckfunktion ist aktiviert.");
    EXPECT_EQ(QuickPrintPaneText(kQuickPrintOn, false), blank);
    EXPECT_EQ(QuickPrintPaneText(kQuickPrintDone, true), "Die Schnelldruckfunktion ist aktiviert.");
    EXPECT_EQ(QuickPrintPaneText(kQuickPrintDone, false), blank);
    EXPECT_EQ(QuickPrintPaneText(kQuickPrintRunning, false), "Die Schnelldruckfunktion arbeitet.");
    EXPECT_EQ(QuickPrintPaneText(13, true), "");
}

TEST(StatusTexts, WithoutALayoutNothingChanges) {
    const StatusUpdate u = FormatStatusUpdate(kStatusUnsupported, {}, nullptr, true);
    EXPECT_FALSE(u.message);
    EXPECT_FALSE(u.quickPrintState);
    CLayoutSetting noBlock(true);
    if (!noBlock.GetViewState()) EXPECT_FALSE(FormatStatusUpdate(kStatusReady, {}, &noBlock, true).message);
}

}  // namespace
}  // namespace vx
