#include <gtest/gtest.h>

#include <algorithm>

#include "PrinterTestSupport.h"
#include "printing/BusyIndicator.h"
#include "printing/PrinterQueries.h"
#include "printing/PrinterUnavailable.h"
#include "support/printing/FakeModuleLocator.h"

namespace vx::test {
namespace {

using I = DriverItem;
using List = CPrinterManager::OptionList;

void Name(FakeDriverState& s, int32_t kind, int32_t id, std::string text) {
    s.data[{I::Names, {kind, id}}] = DriverValue{{}, std::move(text)};
}

int Count(const std::vector<std::string>& log, const std::string& entry) {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

// Queues "b", "B" and "a" of a described model, one without a module, one whose module
// lacks an operation and one of another family; the described model's options scripted.
struct ListFakes {
    ListFakes() {
        for (const char* name : {"b", "B", "a"}) queues.Add(name, "TEVRA Proof 44");
        queues.Add("fremd", "Other Printer");
        queues.Add("ohne", "TEVRA Proof 44");
        queues.Add("familie", "TEVRA Proof 44");
        incomplete.state->withheld = {DriverOperation::UpdateDevMode};
        otherFamily.state->info.family = 0x31;
        modules.byQueue = {{"ohne", &incomplete}, {"familie", &otherFamily}};

        FakeDriverState& s = state();
        s.SetRange(I::Source, {4, 256});
        s.SetRange(I::PaperOld, {9, 256, 8});
        s.SetRange(I::Media, {1, 2});
        s.SetData(I::Source, {4});
        Name(s, kNameSource, 4, "Einzelblatt");
        Name(s, kNameSource, 256, "Rollenpapier");
        Name(s, kNamePaper, 9, "A4");
        Name(s, kNamePaper, 256, "Benutzerdefiniert");
        Name(s, kNamePaper, 8, "A3");
        Name(s, kNameMedium, 1, "Hochglanz");
        Name(s, kNameMedium, 2, "Matt");
        Name(s, kNameProfilePath, 1, "/usr/share/vellicorex/icc/TEVRA Hochglanz.icc");
        Name(s, kNameProfilePath, 2, "C:\\Programme\\TEVRA\\Matt.icc");
    }
    FakeDriverState& state() { return *fakes.state; }

    FakeQueueSource queues;
    FakeModuleLocator fakes, incomplete, otherFamily;
    ScriptedModules modules{fakes};
};

class PrinterLists : public testing::Test, protected ListFakes {
protected:
    ~PrinterLists() override { ExpectPrinterInvariant(manager); }
    CPrinterManager manager{queues, modules};
};

TEST_F(PrinterLists, ListsSupportedPrintersInByteOrderWithoutDuplicates) {
    const std::vector<PrinterEntry> expected = {
        {"B", "TEVRA Proof 44"}, {"a", "TEVRA Proof 44"}, {"b", "TEVRA Proof 44"}};
    EXPECT_EQ(manager.Printers(), expected);
    manager.ClearPrinterList();
    EXPECT_TRUE(manager.Printers().empty());
    EXPECT_EQ(manager.EnumSupportedPrinters(), 1);
    EXPECT_EQ(manager.EnumSupportedPrinters(), 1);
    EXPECT_EQ(manager.Printers(), expected);
    EXPECT_EQ(manager.GetPrinterModelName("a"), "TEVRA Proof 44");
    EXPECT_EQ(manager.GetPrinterModelName("A"), "");
    EXPECT_EQ(manager.GetPrinterModelName("fremd"), "");
    // Probing leaves nothing open.
    EXPECT_EQ(state().handlesOpen, 0);
    EXPECT_EQ(queues.HeldQueues(), 0);
}

TEST_F(PrinterLists, NoSupportedPrinterGivesZero) {
    FakeQueueSource none;
    none.Add("fremd", "Other Printer");
    CPrinterManager empty(none, modules);
    EXPECT_TRUE(empty.Printers().empty());
    EXPECT_EQ(empty.EnumSupportedPrinters(), 0);
}

TEST_F(PrinterLists, EnumeratingKeepsTheOpenPrinterOpen) {
    manager.SelectPrinter("a", -1);
    EXPECT_EQ(manager.EnumSupportedPrinters(), 1);
    EXPECT_TRUE(manager.IsDriverOpen());
    EXPECT_EQ(manager.CurrentPrinter(), "a");
}

TEST_F(PrinterLists, BuildsTheOptionListsFromTheDriver) {
    ASSERT_EQ(manager.SelectPrinter("a", -1), 1);
    EXPECT_EQ(manager.List(List::PaperSource),
              (std::vector<OptionEntry>{{4, "Einzelblatt"}, {256, "Rollenpapier"}}));
    EXPECT_EQ(manager.List(List::PaperSize), (std::vector<OptionEntry>{{9, "A4"}, {8, "A3"}}));
    EXPECT_EQ(manager.List(List::Media), (std::vector<OptionEntry>{{1, "Hochglanz"}, {2, "Matt"}}));
    EXPECT_EQ(manager.List(List::MediaProfile),
              (std::vector<OptionEntry>{{1, "TEVRA Hochglanz.icc"}, {2, "Matt.icc"}}));
    EXPECT_EQ(manager.ApplicationPrinter(), "a");
    manager.BindLayout(nullptr);
    for (List l : {List::PaperSource, List::PaperSize, List::Media, List::MediaProfile})
        EXPECT_TRUE(manager.List(l).empty());
}

TEST_F(PrinterLists, AFailingNameQueryEndsAListButOnlySkipsAProfile) {
    state().SetRange(I::PaperOld, {9, 5, 8});  // no name for 5
    state().SetRange(I::Media, {3, 1, 2});     // no names at all for 3
    ASSERT_EQ(manager.SelectPrinter("a", -1), 1);
    EXPECT_EQ(manager.List(List::PaperSize), (std::vector<OptionEntry>{{9, "A4"}}));
    EXPECT_TRUE(manager.List(List::Media).empty());
    EXPECT_EQ(manager.List(List::MediaProfile),
              (std::vector<OptionEntry>{{1, "TEVRA Hochglanz.icc"}, {2, "Matt.icc"}}));
}

TEST_F(PrinterLists, SelectingTheCurrentPrinterAppliesTheSourceWithoutReopening) {
    ASSERT_EQ(manager.SelectPrinter("a", -1), 1);
    const int opens = Count(state().log, "Open a ipp://fake/printer 0");
    state().SetRange(I::PaperOld, {8});
    ASSERT_EQ(manager.SelectPrinter("a", 256), 1);
    EXPECT_EQ(Count(state().log, "Open a ipp://fake/printer 0"), opens);
    EXPECT_EQ(state().data[std::pair(I::Source, DriverWords{})].words, (DriverWords{256}));
    EXPECT_EQ(manager.List(List::PaperSize), (std::vector<OptionEntry>{{8, "A3"}}));
}

TEST_F(PrinterLists, IsBusyWhileItAppliesASource) {
    struct Busy : BusyIndicator {
        std::vector<std::string> log;
        void BeginBusy() override { log.push_back("begin"); }
        void EndBusy() override { log.push_back("end"); }
    } busy;
    manager.BindServices(nullptr, nullptr, &busy);
    ASSERT_EQ(manager.SelectPrinter("a", -1), 1);
    EXPECT_EQ(busy.log, (std::vector<std::string>{"begin", "end"}));
}

TEST_F(PrinterLists, APrinterThatCannotBeOpenedThrowsAndLeavesNoneOpen) {
    ASSERT_EQ(manager.SelectPrinter("a", -1), 1);
    try {
        manager.SelectPrinter("weg", -1);
        FAIL() << "no exception";
    } catch (const PrinterUnavailable& e) {
        EXPECT_EQ(e.Printer(), "weg");
    }
    EXPECT_EQ(manager.LastFailure(), PrinterFailure::Unavailable);
    EXPECT_EQ(manager.LastFailurePrinter(), "weg");
    EXPECT_EQ(manager.CurrentPrinter(), "");
    EXPECT_EQ(state().handlesOpen, 0);
}

TEST_F(PrinterLists, APrinterThatWillNotCloseStaysCurrent) {
    ASSERT_EQ(manager.SelectPrinter("a", -1), 1);
    state().closeResult = 0;
    EXPECT_EQ(manager.SelectPrinter("b", -1), 0);
    EXPECT_EQ(manager.LastFailure(), PrinterFailure::Refused);
    EXPECT_EQ(manager.CurrentPrinter(), "a");
    EXPECT_EQ(manager.ClosePrinter(), 0);
    EXPECT_EQ(manager.CurrentPrinter(), "a");
    state().closeResult = 1;
    EXPECT_EQ(manager.ClosePrinter(), 1);
    EXPECT_EQ(manager.CurrentPrinter(), "");
}

TEST_F(PrinterLists, OpenPrinterReopensFromASettingsRecord) {
    ASSERT_EQ(manager.SelectPrinter("a", -1), 1);
    const std::string record = "version=1\nmodel=fake\nsource=256\n";
    ASSERT_EQ(manager.OpenPrinter("b", &record), 1);
    EXPECT_EQ(state().lastOpenMode, 2);
    EXPECT_EQ(state().lastOpenSettings, record);
    EXPECT_EQ(manager.CurrentPrinter(), "b");
    EXPECT_EQ(state().handlesOpen, 1);
    state().openResult = 2;
    EXPECT_EQ(manager.OpenPrinter("a", &record), 0);
    EXPECT_EQ(manager.LastFailure(), PrinterFailure::Refused);
    EXPECT_EQ(manager.CurrentPrinter(), "");
}

// Printable area: paper 2100 x 2970 with a = 2040, b = 2800, c = d = 30 (0.1 mm).
TEST_F(PrinterLists, PrintableAreaFromEitherPaperItem) {
    const DriverWords paper = {2100, 2970, 2040, 2800, 30, 30, 9};
    for (I item : {I::Paper, I::PaperOld}) {
        SCOPED_TRACE(static_cast<int>(item));
        state().data.erase({I::Paper, {}});
        state().data.erase({I::PaperOld, {}});
        state().SetData(item, paper);
        ASSERT_EQ(manager.SelectPrinter(item == I::Paper ? "a" : "b", -1), 1);
        LayoutRect area;
        ASSERT_EQ(manager.GetPrintableArea(0, area), 1);
        EXPECT_EQ(area, (LayoutRect{42, 42, 42, 198}));
    }
    state().data.erase({I::PaperOld, {}});
    LayoutRect area;
    EXPECT_EQ(manager.GetPrintableArea(0, area), 0);
}

TEST_F(PrinterLists, HandsOutTheSettingsRecordAndADevice) {
    std::string record;
    EXPECT_LT(manager.GetDevMode(&record), 1);
    EXPECT_EQ(manager.CreatePrinterDC(), nullptr);
    ASSERT_EQ(manager.SelectPrinter("a", -1), 1);
    EXPECT_EQ(manager.GetDevMode(nullptr), static_cast<int>(state().devMode.size()));
    EXPECT_EQ(manager.GetDevMode(&record), static_cast<int>(state().devMode.size()));
    EXPECT_EQ(record, state().devMode);
    std::unique_ptr<PrintDevice> device = manager.CreatePrinterDC();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Caps(), state().caps);
}

TEST_F(PrinterLists, TheApplicationPrinterIsTheDefaultOnceSet) {
    std::string name;
    EXPECT_FALSE(manager.DefaultPrinterName(name));
    queues.queues[1].isDefault = true;
    ASSERT_TRUE(manager.DefaultPrinterName(name));
    EXPECT_EQ(name, "B");
    EXPECT_EQ(manager.SetApplicationPrinter("nirgends"), 0);
    EXPECT_EQ(manager.SetApplicationPrinter("a"), 1);
    ASSERT_TRUE(manager.DefaultPrinterName(name));
    EXPECT_EQ(name, "a");
}

// Nearest paper of the default printer's model: A4 (9), a second A4 (1001), A3 (8);
// the largest paper 329 x 15000 mm.
struct NearestRow {
    int32_t width, height;
    bool swap;
    int mode;
    int32_t id, paperWidth, paperHeight;
};

TEST(FindNearestPaperSize, TakesTheNearestPaperOrAUserDefinedOne) {
    TestModels models({R"(<printer-model format="1" name="TEVRA Test" family="48" class="2"
        resolution="720" items="203" inks="2" layout-flags="3" largest-width="3290" largest-length="150000">
      <paper id="9" width="2100" height="2970" name="A4"/>
      <paper id="1001" width="2100" height="2970" name="A4 quer"/>
      <paper id="8" width="2970" height="4200" name="A3"/>
      <source id="4" name="Einzelblatt" papers="9 1001 8" media="1" margins="30 30 30 140"
              maximum-margins="30 30 30 30"/>
      <medium id="1" name="Papier" profile="Papier.icc"><ink id="2" modes="2"/></medium>
    </printer-model>)"});
    FakeQueueSource queues;
    queues.Add("Test", "TEVRA Test").isDefault = true;
    FakeModuleLocator modules;
    CPrinterManager manager(queues, modules, models.Catalogue());

    const std::vector<NearestRow> rows = {
        {2976, 4209, false, 0, 9, 2100, 2970},    // tie with 1001: the first
        {4209, 2976, true, 0, 9, 2100, 2970},     // papers exchanged
        {2980, 4212, false, 0, 9, 2100, 2970},    // distance 4
        {2982, 4209, false, 0, 256, 2104, 2970},  // distance 6: user-defined
        {3600, 7200, false, 0, 256, 2540, 5080},
        {6000, 7200, false, 0, 0, 0, 0},          // wider than the largest paper
        {2976, 99999, false, 1, 9, 2100, 2970},   // mode 1: the width alone counts
        {99999, 2976, true, 1, 9, 2100, 2970},    // mode 1, exchanged: the height alone
        {7200, 3600, true, 0, 256, 5080, 2540},   // the largest paper exchanged too
    };
    for (const NearestRow& r : rows) {
        SCOPED_TRACE(testing::Message() << r.width << " x " << r.height << " swap " << r.swap << " mode " << r.mode);
        int32_t w = -1, h = -1;
        EXPECT_EQ(manager.FindNearestPaperSize(r.width, r.height, r.swap, r.mode, w, h), r.id);
        EXPECT_EQ(w, r.paperWidth);
        EXPECT_EQ(h, r.paperHeight);
    }

    int32_t length = -1, width = -1;
    EXPECT_EQ(QueryPrinterPaperCaps(manager, length, width, 1, 0, LayoutPoint{2976, 99999}), 9);
    EXPECT_EQ(width, 2100);
    EXPECT_EQ(length, 2970);

    queues.Add("Fremd", "Other Printer");
    ASSERT_EQ(manager.SetApplicationPrinter("Fremd"), 1);
    int32_t w = -1, h = -1;
    EXPECT_EQ(manager.FindNearestPaperSize(2976, 4209, false, 0, w, h), 0);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST(GetPrinterModelClass, ByTheShippedDescriptors) {
    EXPECT_EQ(GetPrinterModelClass(""), 0);
    EXPECT_EQ(GetPrinterModelClass("TEVRA Proof 44"), 1);
    EXPECT_EQ(GetPrinterModelClass("TEVRA Proof 24"), 2);
    EXPECT_EQ(GetPrinterModelClass("TEVRA Proof A3"), 3);
    EXPECT_EQ(GetPrinterModelClass("Unbekannter Drucker"), 1);
}

}  // namespace
}  // namespace vx::test
