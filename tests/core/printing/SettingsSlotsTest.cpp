#include <gtest/gtest.h>

#include "PrinterTestSupport.h"

namespace vx::test {
namespace {

// A reconciled A4 sheet with two images on "P44".
struct SlotFixture {
    SlotFixture() {
        layout = f.BoundLayout("P44");
        layout->SetOrientation(1);
        layout->RenewViewState().zoomNumerator = 3;
        AddImage(*layout, 100, 200);
        AddImage(*layout, 300, 400);
        SettingsChangeRecord record;
        EXPECT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
    }
    std::string Settings() {
        std::string s;
        f.manager->GetDevMode(&s);
        return s;
    }
    void RemoveQueue(const std::string& name) {
        std::erase_if(f.queues.queues, [&](const PrintQueue& q) { return q.name == name; });
    }

    ShippedPrinters f;
    std::unique_ptr<CLayoutSetting> layout;
};

TEST(SettingsSlots, RestoreBringsBackLayoutPrinterAndSettings) {
    SlotFixture s;
    const std::string layoutBefore = DumpLayout(*s.layout), settingsBefore = s.Settings();
    ASSERT_TRUE(s.f.manager->SaveSlot(0));
    s.layout->SetPaperSize(8);
    AddImage(*s.layout, 500, 600);
    s.layout->GetViewState()->zoomNumerator = 7;
    s.f.manager->SelectPrinter("P24", 256);

    ASSERT_TRUE(s.f.manager->RestoreSlot(0, true));
    EXPECT_EQ(s.f.manager->CurrentPrinter(), "P44");
    EXPECT_EQ(s.Settings(), settingsBefore);
    EXPECT_EQ(s.layout->GetViewState()->zoomNumerator, 7);  // the view keeps its own zoom
    s.layout->GetViewState()->zoomNumerator = 3;
    EXPECT_EQ(DumpLayout(*s.layout), layoutBefore);
}

TEST(SettingsSlots, RestoreWithoutTheLayoutPutsOnlyThePrinterBack) {
    SlotFixture s;
    const std::string settingsBefore = s.Settings();
    ASSERT_TRUE(s.f.manager->SaveSlot(1));
    s.layout->SetPaperSize(8);
    s.f.manager->SelectPrinter("PA3", -1);
    ASSERT_TRUE(s.f.manager->RestoreSlot(1, false));
    EXPECT_EQ(s.layout->GetPaperSize(), 8);
    EXPECT_EQ(s.f.manager->CurrentPrinter(), "P44");
    EXPECT_EQ(s.Settings(), settingsBefore);
}

// A save without an open printer still copies the layout, so a restore never brings
// back an older one.
TEST(SettingsSlots, ASaveWithoutPrinterKeepsTheLayoutItSaw) {
    SlotFixture s;
    ASSERT_TRUE(s.f.manager->SaveSlot(0));
    ASSERT_EQ(s.f.manager->ClosePrinter(), 1);
    s.layout->SetPaperSize(8);
    const std::string saved = DumpLayout(*s.layout);
    ASSERT_TRUE(s.f.manager->SaveSlot(0));
    s.layout->SetPaperSize(1);
    AddImage(*s.layout, 1, 1);

    ASSERT_TRUE(s.f.manager->RestoreSlot(0, true));
    EXPECT_EQ(DumpLayout(*s.layout), saved);
    EXPECT_EQ(s.f.manager->CurrentPrinter(), "");
}

TEST(SettingsSlots, AFailedReopenLeavesNoPrinterButTheLayoutRestored) {
    SlotFixture s;
    const std::string saved = DumpLayout(*s.layout);
    ASSERT_TRUE(s.f.manager->SaveSlot(0));
    s.layout->SetPaperSize(8);
    s.RemoveQueue("P44");

    EXPECT_FALSE(s.f.manager->RestoreSlot(0, true));
    EXPECT_EQ(s.f.manager->LastFailure(), PrinterFailure::Unavailable);
    EXPECT_EQ(s.f.manager->LastFailurePrinter(), "P44");
    EXPECT_EQ(s.f.manager->CurrentPrinter(), "");
    EXPECT_EQ(DumpLayout(*s.layout), saved);
}

TEST(SettingsSlots, NeverRestoresIntoAnotherLayout) {
    SlotFixture s;
    const std::string settingsBefore = s.Settings();
    ASSERT_TRUE(s.f.manager->SaveSlot(0));
    CLayoutSetting other(true);
    other.Texts().printerName = "P44";
    AddImage(other, 5, 5);
    const std::string otherBefore = DumpLayout(other);
    s.f.manager->BindLayout(&other);
    s.f.manager->SelectPrinter("P24", -1);

    EXPECT_FALSE(s.f.manager->RestoreSlot(0, true));
    EXPECT_EQ(DumpLayout(other), otherBefore);
    EXPECT_EQ(s.f.manager->CurrentPrinter(), "P44");
    EXPECT_EQ(s.Settings(), settingsBefore);
}

TEST(SettingsSlots, AnUnreadableRecordOrAnUnsavedSlotRestoresNothing) {
    SlotFixture s;
    s.f.modules.refuse = [](const DriverCall& c) { return c.op == DriverOperation::GetDevMode; };
    EXPECT_FALSE(s.f.manager->SaveSlot(0));
    s.f.modules.refuse = nullptr;
    s.layout->SetPaperSize(8);
    for (int slot : {0, 2}) {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(s.f.manager->RestoreSlot(slot, true));
        EXPECT_EQ(s.layout->GetPaperSize(), 8);
        EXPECT_EQ(s.f.manager->CurrentPrinter(), "P44");
    }
    EXPECT_THROW(s.f.manager->SaveSlot(3), std::out_of_range);
}

}  // namespace
}  // namespace vx::test
