#include <gtest/gtest.h>

#include "PrinterTestSupport.h"
#include "printing/DriverSettingsEditor.h"

namespace vx::test {
namespace {

using C = OptionControl;

std::string Selected(const OptionControlState& combo) {
    return combo.selection >= 0 ? combo.items.at(size_t(combo.selection)).text : std::string();
}

int32_t IdOf(const OptionControlState& combo, const std::string& name) {
    for (const ComboItem& item : combo.items)
        if (item.text == name) return item.data;
    ADD_FAILURE() << "no entry " << name;
    return -1;
}

class DriverSettingsEditorTest : public testing::Test {
protected:
    void SetUp() override {
        layout = f.BoundLayout("P44");
        layout->SetOrientation(2);
        SettingsChangeRecord record;
        ASSERT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, true, true));
        ASSERT_GE(f.manager->GetDevMode(&settings), 1);
    }

    ShippedPrinters f;
    std::unique_ptr<CLayoutSetting> layout;
    std::string settings;
    DriverSettingsEditor editor{f.queues, f.modules};
};

TEST_F(DriverSettingsEditorTest, ShowsThePrintersOptionsWithSourcePaperAndOrientationFixed) {
    ASSERT_TRUE(editor.Open("P44", settings));
    EXPECT_EQ(editor.Settings(), settings) << "opening from a record changes nothing";
    const OptionControls c = editor.Controls();
    EXPECT_EQ(Selected(c[C::Media]), "Fotopapier Hochglanz");
    EXPECT_EQ(c[C::Media].items.size(), 5u);
    EXPECT_TRUE(c[C::Media].enabled.value_or(false));
    for (C fixed : {C::PaperSource, C::PaperSize, C::Orientation1, C::Orientation2}) {
        EXPECT_TRUE(c[fixed].present);
        EXPECT_FALSE(c[fixed].enabled.value_or(true)) << int(fixed);
    }
    EXPECT_FALSE(Selected(c[C::PaperSource]).empty());
    EXPECT_EQ(Selected(c[C::PaperSize]).rfind("A4", 0), 0u) << Selected(c[C::PaperSize]);
    EXPECT_TRUE(c[C::Orientation2].checked.value_or(false)) << "landscape, as the layout has it";
    EXPECT_TRUE(c[C::InkColour].checked.value_or(false));
    EXPECT_TRUE(c[C::ModeQuality].checked.value_or(false));
    EXPECT_TRUE(c[C::HighSpeed].present);
}

TEST_F(DriverSettingsEditorTest, EachChoiceReachesTheDriversRecord) {
    ASSERT_TRUE(editor.Open("P44", settings));
    ASSERT_TRUE(editor.SetMedia(IdOf(editor.Controls()[C::Media], "Fotopapier Seidenglanz")));
    ASSERT_TRUE(editor.SetPrintMode(C::ModeFast));
    const bool highSpeed = editor.Controls()[C::HighSpeed].checked.value_or(false);
    ASSERT_TRUE(editor.SetHighSpeed(!highSpeed));
    const OptionControls c = editor.Controls();
    EXPECT_EQ(Selected(c[C::Media]), "Fotopapier Seidenglanz");
    EXPECT_EQ(c[C::HighSpeed].checked.value_or(false), !highSpeed);
    EXPECT_TRUE(c[C::ModeFast].checked.value_or(false));
    EXPECT_FALSE(c[C::ModeQuality].checked.value_or(true));

    // Another editor opened from the record shows the same choices.
    const std::string edited = editor.Settings();
    EXPECT_NE(edited, settings);
    DriverSettingsEditor again(f.queues, f.modules);
    ASSERT_TRUE(again.Open("P44", edited));
    EXPECT_EQ(Selected(again.Controls()[C::Media]), "Fotopapier Seidenglanz");
    EXPECT_EQ(RecordFields(again.Settings()), RecordFields(edited));
}

TEST_F(DriverSettingsEditorTest, ARefusedChoiceLeavesTheDriversValue) {
    ASSERT_TRUE(editor.Open("P44", settings));
    f.modules.refuse = [](const DriverCall& c) { return c.op == DriverOperation::SetData; };
    EXPECT_FALSE(editor.SetMedia(IdOf(editor.Controls()[C::Media], "Normalpapier")));
    EXPECT_FALSE(editor.SetHighSpeed(!editor.Controls()[C::HighSpeed].checked.value_or(false)));
    f.modules.refuse = nullptr;
    EXPECT_EQ(Selected(editor.Controls()[C::Media]), "Fotopapier Hochglanz");
    EXPECT_EQ(editor.Settings(), settings);
}

TEST_F(DriverSettingsEditorTest, APrinterThatCannotBeOpenedLeavesNothingOpen) {
    EXPECT_FALSE(editor.Open("Unbekannt", settings));
    EXPECT_FALSE(editor.IsOpen());
    EXPECT_TRUE(editor.Settings().empty());
    EXPECT_TRUE(editor.Controls()[C::Media].items.empty());
    EXPECT_FALSE(editor.SetMedia(1));
}

}  // namespace
}  // namespace vx::test
