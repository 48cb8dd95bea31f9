#include <gtest/gtest.h>

#include "app/PreferencesController.h"
#include "host/ApplicationState.h"
#include "model/CLayoutSetting.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

const std::vector<PrinterEntry> kPrinters{
    {"TEVRA Proof 24 (Büro)", "TEVRA Proof 24"},
    {"TEVRA Proof 44 (Datei)", "TEVRA Proof 44"},
    {"TEVRA Proof A3 (Labor)", "TEVRA Proof A3"},
};

class PreferencesControllerTest : public testing::Test {
protected:
    PreferencesController Make(bool documentOpen = true) {
        return PreferencesController(preferences, layout, documentOpen, kPrinters);
    }

    AppPreferences preferences;
    CLayoutSetting layout{true};
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
};

TEST_F(PreferencesControllerTest, StartsFromThePreferences) {
    preferences.quickPrint = 1;
    preferences.startDocument = 2;
    preferences.confirmationDialogs = 0;
    preferences.highQualityThumbnails = 1;
    preferences.directPrintPrinters = {"", "A", "", "B", "", "", "", ""};
    PreferencesController c = Make();
    EXPECT_EQ(c.Unit(), 1);
    EXPECT_EQ(c.GridText(), "4.9");
    EXPECT_EQ(c.ArrowStepText(), "4.9");
    EXPECT_EQ(c.StartChoice(), 2);
    EXPECT_EQ(c.QuickPrintChoice(), 0);
    EXPECT_TRUE(c.ConfirmationEnabled());
    EXPECT_FALSE(c.Confirmation());
    EXPECT_TRUE(c.Thumbnails());
    EXPECT_EQ(c.StoreEntries(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(c.Store()[0], "A");
    EXPECT_EQ(c.Store()[1], "B");
}

TEST_F(PreferencesControllerTest, UnitSwitchShowsInchesAndKeepsTheValues) {
    PreferencesController c = Make();
    c.SetUnit(2);
    EXPECT_EQ(c.GridUnit(), 2);
    EXPECT_EQ(c.ArrowStepUnit(), 2);
    EXPECT_EQ(c.GridText(), "0.19");
    EXPECT_EQ(c.ArrowStepText(), "0.19");
    // Back and forth never drifts: the shown text is not read again.
    c.SetUnit(1);
    c.SetUnit(2);
    EXPECT_EQ(c.Apply(), 0);
    EXPECT_EQ(preferences.gridX, 70);
    EXPECT_EQ(preferences.gridY, 70);
    EXPECT_EQ(preferences.arrowKeyStep, 70);
    EXPECT_EQ(preferences.unit, 2);
    EXPECT_EQ(layout.GetUnit(), 2);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PreferencesControllerTest, FieldUnitListConvertsOnlyItsField) {
    PreferencesController c = Make();
    c.SetArrowStepUnit(2);
    EXPECT_EQ(c.ArrowStepText(), "0.19");
    EXPECT_EQ(c.GridText(), "4.9");
    EXPECT_EQ(c.GridUnit(), 1);
    EXPECT_EQ(c.Unit(), 1);
}

TEST_F(PreferencesControllerTest, EditedTextIsReadInItsUnitBeforeASwitch) {
    PreferencesController c = Make();
    c.EditGridText("10.0");  // 141.7 units
    c.SetGridUnit(2);
    EXPECT_EQ(c.GridText(), "0.39");
    EXPECT_EQ(c.GridValue(), 142);
    c.SetGridUnit(1);
    EXPECT_EQ(c.GridText(), "10.0");
}

TEST_F(PreferencesControllerTest, GridOutsideTheRangeIsRefusedWithTheRangeMessage) {
    PreferencesController c = Make();
    c.EditGridText("0.9");  // 13 units
    EXPECT_EQ(c.Apply(), PreferencesController::kGridEdit);
    ASSERT_EQ(messages.Ids(), std::vector<int>{10410});
    EXPECT_EQ(messages.shown[0].text,
              "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: 0.99 mm - 812.80 mm");
    EXPECT_EQ(preferences.gridX, 70);

    c.EditGridText("1.0");  // 14 units
    EXPECT_EQ(c.Apply(), 0);
    EXPECT_EQ(preferences.gridX, 14);
    EXPECT_EQ(preferences.gridY, 14);
}

TEST_F(PreferencesControllerTest, ArrowStepIsCheckedInItsOwnUnit) {
    PreferencesController c = Make();
    c.SetArrowStepUnit(2);
    c.EditArrowStepText("32.01");
    EXPECT_EQ(c.Apply(), PreferencesController::kArrowStepEdit);
    ASSERT_EQ(messages.Ids(), std::vector<int>{10429});
    EXPECT_EQ(preferences.arrowKeyStep, 70);
}

TEST_F(PreferencesControllerTest, OkWritesEveryChoice) {
    PreferencesController c = Make();
    c.SetStartChoice(1);
    c.SetQuickPrintChoice(0);
    c.SetConfirmation(false);
    c.SetThumbnails(true);
    c.ChoosePrinter("TEVRA Proof 44 (Datei)");
    ASSERT_TRUE(c.Add());
    EXPECT_EQ(c.Apply(), 0);
    EXPECT_EQ(preferences.startDocument, 1);
    EXPECT_EQ(preferences.quickPrint, 1);
    EXPECT_EQ(preferences.confirmationDialogs, 0);
    EXPECT_EQ(preferences.highQualityThumbnails, 1);
    EXPECT_EQ(preferences.directPrintPrinters[0], "TEVRA Proof 44 (Datei)");
}

TEST_F(PreferencesControllerTest, CancelLeavesEverythingAsItWas) {
    const AppPreferences before = preferences;
    layout.SetUnit(1);
    {
        PreferencesController c = Make();
        c.SetUnit(2);
        c.EditGridText("9.00");
        c.SetQuickPrintChoice(0);
        c.ChoosePrinter("TEVRA Proof 44 (Datei)");
        c.Add();
    }
    EXPECT_EQ(preferences.unit, before.unit);
    EXPECT_EQ(preferences.gridX, before.gridX);
    EXPECT_EQ(preferences.quickPrint, before.quickPrint);
    EXPECT_EQ(preferences.directPrintPrinters, before.directPrintPrinters);
    EXPECT_EQ(layout.GetUnit(), 1);
}

TEST_F(PreferencesControllerTest, WithoutADocumentOkWritesTheDefaultLayoutsUnit) {
    CLayoutSetting defaults{true};
    PreferencesController c(preferences, defaults, false, kPrinters);
    c.SetUnit(2);
    EXPECT_EQ(c.Apply(), 0);
    EXPECT_EQ(defaults.GetUnit(), 2);
}

TEST_F(PreferencesControllerTest, ModelTextAndIconFollowTheChosenPrinter) {
    PreferencesController c = Make();
    EXPECT_EQ(c.ModelIconId(), 0);
    EXPECT_FALSE(c.CanAdd());
    const struct {
        const char* printer;
        const char* model;
        int icon;
    } cases[] = {
        {"TEVRA Proof 44 (Datei)", "Proof 44", 346},
        {"TEVRA Proof 24 (Büro)", "Proof 24", 347},
        {"TEVRA Proof A3 (Labor)", "Proof A3", 345},
    };
    for (const auto& k : cases) {
        c.ChoosePrinter(k.printer);
        EXPECT_EQ(c.ModelText(), k.model);
        EXPECT_EQ(c.ModelIconId(), k.icon);
    }
}

TEST_F(PreferencesControllerTest, StoreAddRules) {
    PreferencesController c = Make();
    c.ChoosePrinter("TEVRA Proof 44 (Datei)");
    EXPECT_TRUE(c.CanAdd());
    EXPECT_TRUE(c.Add());
    EXPECT_FALSE(c.CanAdd());  // already stored
    EXPECT_FALSE(c.Add());
    c.ChoosePrinter("TEVRA Proof 24 (Büro)");
    EXPECT_TRUE(c.CanAdd());

    preferences.directPrintPrinters = {"1", "2", "3", "4", "5", "6", "7", "8"};
    PreferencesController full = Make();
    full.ChoosePrinter("TEVRA Proof 24 (Büro)");
    EXPECT_FALSE(full.CanAdd());
    EXPECT_FALSE(full.Add());
}

TEST_F(PreferencesControllerTest, DeletingMovesLaterEntriesUp) {
    preferences.directPrintPrinters = {"1", "2", "3", "4", "5", "6", "7", "8"};
    PreferencesController c = Make();
    EXPECT_FALSE(c.CanDelete(false));
    EXPECT_TRUE(c.CanDelete(true));
    c.ChooseStoreEntry("3");
    ASSERT_TRUE(c.Delete());
    EXPECT_EQ(c.Store(), (std::array<std::string, 8>{"1", "2", "4", "5", "6", "7", "8", ""}));
    c.ChoosePrinter("TEVRA Proof 44 (Datei)");
    EXPECT_TRUE(c.Add());
    EXPECT_EQ(c.Store()[7], "TEVRA Proof 44 (Datei)");
    c.ChooseStoreEntry("nicht da");
    EXPECT_FALSE(c.Delete());
}

TEST_F(PreferencesControllerTest, FieldRangesFollowTheUnit) {
    EXPECT_DOUBLE_EQ(PreferencesController::RangeFor(1).maximum, 812.8);
    EXPECT_EQ(PreferencesController::RangeFor(1).formatCode, 5);
    EXPECT_DOUBLE_EQ(PreferencesController::RangeFor(2).maximum, 32.0);
    EXPECT_EQ(PreferencesController::RangeFor(2).formatCode, 1);
}

}  // namespace
}  // namespace vx
