#include <gtest/gtest.h>

#include "PrinterTestSupport.h"
#include "support/printing/FakeModuleLocator.h"

namespace vx::test {
namespace {

using I = DriverItem;
using C = OptionControl;

// What a button should be: enabled and checked; nullopt where it is left alone.
struct Button {
    std::optional<bool> enabled, checked;
};

void ExpectButton(const OptionControls& c, C control, Button want, const char* name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(c[control].enabled, want.enabled);
    EXPECT_EQ(c[control].checked, want.checked);
}

// One printer "F" answering from a fake module: an A4 sheet, colour, quality 1.
class OptionControlsOfAFake : public testing::Test {
protected:
    OptionControlsOfAFake() {
        FakeDriverState& s = *fakes.state;
        s.SetRange(I::Source, {4, 256});
        s.SetRange(I::PaperOld, {9, 8});
        s.SetRange(I::Media, {1, 2});
        s.SetRange(I::LayoutFlags, {3});
        s.SetRange(I::Monochrome, {0});
        s.SetRange(I::Inks, {2, 1, 256});
        s.SetRange(I::InkOnMedium, {1, 2});
        s.ranges[{I::SpecialMode, {2, 15}}] = DriverValue{{1}, {}};
        s.SetRange(I::HighSpeed, {1});
        s.SetData(I::Source, {256});
        s.SetData(I::Paper, {2970, 4200, 2910, 4030, 30, 30, 8});
        s.SetData(I::Media, {1});
        s.SetData(I::Orientation, {1});
        s.SetData(I::PrintMode, {1, 1, 1, 2});
        s.SetData(I::LayoutFlags, {0});
        s.SetData(I::SpecialMode, {0, 0, 0});
        const std::pair<int32_t, int32_t> ids[] = {{kNameSource, 4}, {kNameSource, 256}, {kNamePaper, 9},
                                                   {kNamePaper, 8},  {kNameMedium, 1},   {kNameMedium, 2}};
        for (auto [kind, id] : ids) s.data[{I::Names, {kind, id}}] = DriverValue{{}, "N" + std::to_string(id)};
        queues.Add("E", "TEVRA Proof 44");
        queues.Add("F", "TEVRA Proof 44");
        layout.SetMediaType(1);
        layout.SetDefaultSource(256);
        layout.Texts().printerName = "F";
        manager.EnumSupportedPrinters();
        manager.BindLayout(&layout);
        manager.SelectPrinter("F", -1);
    }
    ~OptionControlsOfAFake() override { ExpectPrinterInvariant(manager); }

    FakeDriverState& state() { return *fakes.state; }
    OptionControls Fill(int expected = 1) {
        OptionControls c = OptionControls::All();
        EXPECT_EQ(manager.FillOptionCombos(c), expected);
        return c;
    }

    FakeQueueSource queues;
    FakeModuleLocator fakes;
    CPrinterManager manager{queues, fakes};
    CLayoutSetting layout{true};
};

TEST_F(OptionControlsOfAFake, FillsTheCombosWithTheListsAndSelectsTheCurrentValues) {
    OptionControls c = Fill();
    EXPECT_TRUE(c[C::Printer].filled);
    EXPECT_EQ(c[C::Printer].items, (std::vector<ComboItem>{{"E", 0}, {"F", 1}}));
    EXPECT_EQ(c[C::Printer].selection, 1);
    EXPECT_EQ(c[C::PaperSource].items, (std::vector<ComboItem>{{"N4", 4}, {"N256", 256}}));
    EXPECT_EQ(c[C::PaperSource].selection, 1);
    EXPECT_EQ(c[C::PaperSize].items, (std::vector<ComboItem>{{"N9", 9}, {"N8", 8}}));
    EXPECT_EQ(c[C::PaperSize].selection, 1);
    EXPECT_EQ(c[C::Media].selection, 0);
    EXPECT_EQ(c[C::Orientation1].checked, true);
    EXPECT_EQ(c[C::Orientation2].checked, false);

    state().SetData(I::Orientation, {2});
    c = Fill();
    EXPECT_EQ(c[C::Orientation1].checked, false);
    EXPECT_EQ(c[C::Orientation2].checked, true);
}

TEST_F(OptionControlsOfAFake, OnlyTheGivenGroupsAreTouched) {
    OptionControls c;
    c[C::PaperSize].present = true;
    c[C::InkColour].present = c[C::InkBlack].present = c[C::InkMonoPhoto].present = true;  // no picture
    ASSERT_EQ(manager.FillOptionCombos(c), 1);
    EXPECT_TRUE(c[C::PaperSize].filled);
    EXPECT_FALSE(c[C::PaperSource].filled);
    EXPECT_FALSE(c[C::InkColour].enabled.has_value());
    EXPECT_FALSE(c[C::HighSpeed].enabled.has_value());
}

TEST_F(OptionControlsOfAFake, AFailingCurrentValueEndsWithZero) {
    for (I item : {I::Source, I::Paper, I::Media, I::Orientation, I::PrintMode}) {
        SCOPED_TRACE(static_cast<int>(item));
        state().failures = {{DriverOperation::GetData, item, 1, std::nullopt}};
        OptionControls c = Fill(0);
        EXPECT_FALSE(c[C::HighSpeed].enabled.has_value());  // the last group is never reached
    }
}

TEST_F(OptionControlsOfAFake, InkButtonsFollowTheDriver) {
    struct Row {
        const char* what;
        std::function<void(FakeDriverState&)> script;
        int32_t ink;
        Button colour, black, mono;
        int icon;
    };
    const std::vector<Row> rows = {
        {"colour", nullptr, 2, {true, true}, {true, false}, {true, false}, kIconInkColour},
        {"black", nullptr, 1, {true, false}, {true, true}, {true, false}, kIconInkBlack},
        {"black-and-white photo", nullptr, 256, {true, false}, {true, false}, {true, true}, kIconInkBlack},
        {"another value checks colour", nullptr, 7, {true, true}, {true, false}, {true, false}, kIconInkColour},
        {"a model without colour", [](FakeDriverState& s) { s.SetRange(I::Monochrome, {1}); }, 1,
         {false, false}, {true, true}, {true, false}, kIconInkBlack},
        {"black-and-white photo not offered", [](FakeDriverState& s) { s.SetRange(I::Inks, {2, 1}); }, 2,
         {true, true}, {true, false}, {false, false}, kIconInkColour},
        {"black-and-white photo not on this medium", [](FakeDriverState& s) { s.SetRange(I::InkOnMedium, {0, 2}); },
         2, {true, true}, {true, false}, {false, false}, kIconInkColour},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        state().SetRange(I::Monochrome, {0});
        state().SetRange(I::Inks, {2, 1, 256});
        state().SetRange(I::InkOnMedium, {1, 2});
        if (row.script) row.script(state());
        state().SetData(I::PrintMode, {1, 1, 1, row.ink});
        OptionControls c = Fill();
        ExpectButton(c, C::InkColour, row.colour, "colour");
        ExpectButton(c, C::InkBlack, row.black, "black");
        ExpectButton(c, C::InkMonoPhoto, row.mono, "black-and-white photo");
        EXPECT_EQ(c[C::InkPicture].icon, row.icon);
    }
}

TEST_F(OptionControlsOfAFake, ModeButtonsFollowTheOfferedModes) {
    struct Row {
        const char* what;
        DriverWords inkOnMedium;  // item 225's answer
        DriverWords printMode;
        int32_t special;          // item 214's mode word
        Button quality, fast, ultrafine;
    };
    const std::vector<Row> rows = {
        {"no mode: enabling left alone", {1, 0}, {1, 1, 1, 2}, 0, {std::nullopt, true}, {std::nullopt, false},
         {true, false}},
        {"one mode", {1, 1}, {1, 1, 1, 2}, 0, {true, true}, {false, false}, {true, false}},
        {"two modes, fast", {1, 2}, {1, 2, 1, 2}, 0, {true, false}, {true, true}, {true, false}},
        {"quality 0 counts as quality", {1, 2}, {1, 0, 1, 2}, 0, {true, true}, {true, false}, {true, false}},
        {"\"Ultrafine\" alone", {1, 2}, {1, 1, 1, 2}, 15, {true, false}, {true, false}, {true, true}},
        {"no \"Ultrafine\" for black", {1, 2}, {1, 1, 1, 1}, 0, {true, true}, {true, false}, {false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        state().SetRange(I::InkOnMedium, row.inkOnMedium);
        state().SetData(I::PrintMode, row.printMode);
        state().SetData(I::SpecialMode, {0, 0, row.special});
        OptionControls c = Fill();
        ExpectButton(c, C::ModeQuality, row.quality, "quality");
        ExpectButton(c, C::ModeFast, row.fast, "fast");
        ExpectButton(c, C::ModeUltrafine, row.ultrafine, "Ultrafine");
    }
}

TEST_F(OptionControlsOfAFake, PrintableAreaButtonsFollowTheOfferedFlags) {
    struct Row {
        const char* what;
        std::optional<int32_t> offered, flags;  // nullopt: the read fails
        Button standard, maximum, centred;
    };
    const std::vector<Row> rows = {
        {"both offered, none set", 3, 0, {true, true}, {true, false}, {true, false}},
        {"both offered and set", 3, 3, {true, false}, {true, true}, {true, true}},
        {"centring alone", 1, 1, {false, true}, {false, false}, {true, true}},
        {"maximum alone", 2, 3, {true, false}, {true, true}, {false, false}},
        {"range unreadable", std::nullopt, 0, {false, true}, {false, false}, {false, false}},
        {"flags unreadable", 3, std::nullopt, {false, true}, {false, false}, {false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        state().ranges.erase({I::LayoutFlags, {}});
        state().data.erase({I::LayoutFlags, {}});
        if (row.offered) state().SetRange(I::LayoutFlags, {*row.offered});
        if (row.flags) state().SetData(I::LayoutFlags, {*row.flags});
        OptionControls c = Fill();
        ExpectButton(c, C::AreaStandard, row.standard, "standard");
        ExpectButton(c, C::AreaMaximum, row.maximum, "maximum");
        ExpectButton(c, C::AreaCentred, row.centred, "centred");
    }
}

TEST_F(OptionControlsOfAFake, HighSpeedButtonFollowsTheOfferAndTheLayout) {
    layout.SetHighSpeed(1);
    ExpectButton(Fill(), C::HighSpeed, {true, true}, "offered, on");
    layout.SetHighSpeed(0);
    ExpectButton(Fill(), C::HighSpeed, {true, false}, "offered, off");
    layout.SetHighSpeed(1);
    state().SetRange(I::HighSpeed, {0});
    ExpectButton(Fill(), C::HighSpeed, {false, false}, "not offered");
    state().ranges.erase({I::HighSpeed, {}});
    ExpectButton(Fill(), C::HighSpeed, {false, false}, "no range");
}

// The shipped models after a reconciled A4 sheet in colour on the first medium.
TEST(FillOptionCombos, ShippedModelsFollowTheRules) {
    struct Row {
        const char* printer;
        Button standard, maximum, centred, colour, mono, quality, fast, ultrafine, highSpeed;
    };
    const std::vector<Row> rows = {
        {"P44", {true, true}, {true, false}, {true, false}, {true, true}, {true, false}, {true, true},
         {true, false}, {true, false}, {true, false}},
        {"P24", {true, true}, {true, false}, {true, false}, {true, true}, {true, false}, {true, true},
         {true, false}, {true, false}, {true, false}},
        {"PA3", {false, true}, {false, false}, {true, false}, {true, true}, {false, false}, {true, true},
         {true, false}, {false, false}, {false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.printer);
        ShippedPrinters f;
        auto layout = f.BoundLayout(row.printer);
        layout->SetOrientation(1);
        SettingsChangeRecord record;
        ASSERT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        OptionControls c = OptionControls::All();
        ASSERT_EQ(f.manager->FillOptionCombos(c), 1);
        ExpectButton(c, C::AreaStandard, row.standard, "standard");
        ExpectButton(c, C::AreaMaximum, row.maximum, "maximum");
        ExpectButton(c, C::AreaCentred, row.centred, "centred");
        ExpectButton(c, C::InkColour, row.colour, "colour");
        ExpectButton(c, C::InkBlack, {true, false}, "black");
        ExpectButton(c, C::InkMonoPhoto, row.mono, "black-and-white photo");
        ExpectButton(c, C::ModeQuality, row.quality, "quality");
        ExpectButton(c, C::ModeFast, row.fast, "fast");
        ExpectButton(c, C::ModeUltrafine, row.ultrafine, "Ultrafine");
        ExpectButton(c, C::HighSpeed, row.highSpeed, "high speed");
        EXPECT_EQ(c[C::Media].items.front().text, "Fotopapier Hochglanz");
    }
}

// A model that does not say how many modes a medium has is probed on slot 2: the
// layout and the printer's settings are the same afterwards.
TEST(FillOptionCombos, ProbesTheFastModeWithoutChangingAnything) {
    for (int32_t medium : {1, 4}) {
        SCOPED_TRACE(medium);
        ShippedPrinters f;
        auto layout = f.BoundLayout("PA3");
        layout->SetOrientation(1);
        layout->SetDefaultSource(4);  // the source that offers both media
        layout->SetMediaType(medium);
        AddImage(*layout, 10, 10);
        SettingsChangeRecord record;
        ASSERT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        std::string before, after;
        f.manager->GetDevMode(&before);
        const std::string layoutBefore = DumpLayout(*layout);
        f.modules.calls.clear();

        OptionControls c = OptionControls::All();
        ASSERT_EQ(f.manager->FillOptionCombos(c), 1);
        EXPECT_EQ(c[C::ModeFast].enabled, medium == 1);
        EXPECT_TRUE(std::any_of(f.modules.calls.begin(), f.modules.calls.end(), [](const DriverCall& call) {
            return call.op == DriverOperation::SetData && call.item == I::PrintMode && call.words.at(1) == 2;
        }));
        f.manager->GetDevMode(&after);
        EXPECT_EQ(after, before);
        EXPECT_EQ(DumpLayout(*layout), layoutBefore);
    }
}

}  // namespace
}  // namespace vx::test
