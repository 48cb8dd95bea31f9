#include <gtest/gtest.h>

#include <set>

#include "PrinterTestSupport.h"
#include "model/CImageObj.h"
#include "support/printing/FakeModuleLocator.h"

namespace vx::test {
namespace {

using I = DriverItem;
using B = SettingsChangeRecord::Byte;

std::set<size_t> SetBytes(const SettingsChangeRecord& r) {
    std::set<size_t> set;
    for (size_t i = 0; i < SettingsChangeRecord::kSize; ++i)
        if (r[i]) set.insert(i);
    return set;
}

// An A4 sheet of colour photos on the first source and medium, portrait.
void A4Sheet(CLayoutSetting& l) {
    l.SetOrientation(1);
    l.SetDefaultSource(4);
    l.SetPaperSize(9);
    l.SetMediaType(1);
    l.SetColor(2);
    l.SetAutoMode(1);
}

void Roll(CLayoutSetting& l, int32_t bannerLength) {
    l.SetDefaultSource(256);
    l.SetBanner(1);
    l.SetBannerLength(bannerLength);
    l.SetPageNum(0);
}

bool Wrote201(const ShippedPrinters& f) {
    for (const DriverCall& c : f.modules.calls)
        if (c.op == DriverOperation::SetData && c.item == I::ColourHandling && c.words == DriverWords{3}) return true;
    return false;
}

std::string Driver(ShippedPrinters& f, const std::string& key) {
    std::string record;
    f.manager->GetDevMode(&record);
    return RecordFields(record)[key];
}

struct SyncRow {
    const char* what;
    const char* printer;
    std::function<void(CLayoutSetting&)> first;   // the layout before the first reconcile
    bool reconciledFirst;                        // reconcile it once with force-geometry
    std::function<void(CLayoutSetting&)> change;  // then change it
    bool force;
    int delta;
    bool printing;
    bool result;
    std::set<size_t> bytes;
    std::function<void(CLayoutSetting&, ShippedPrinters&)> check;
    std::function<void(ShippedPrinters&)> script = nullptr;
};

std::vector<SyncRow> SyncRows() {
    return {
        {"zero print values, orientation 0 taken as the second", "P44", nullptr, false, nullptr, true, 0, false, true,
         {B::kSource, B::kPaperSize, B::kOrientation, B::kMedia, B::kInk, B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(l.GetDefaultSource(), 4);
             EXPECT_EQ(l.GetPaperSize(), 9);
             EXPECT_EQ(l.GetMediaType(), 1);
             EXPECT_EQ(l.GetColor(), 2);
             EXPECT_EQ(l.GetAutoMode(), 1);
             EXPECT_EQ(l.GetPaperOrient(), 1);
             EXPECT_EQ(l.GetPaperWidth(), 2970);
             EXPECT_EQ(l.GetPaperLength(), 2100);
             EXPECT_EQ(l.GetPaper(), (LayoutPoint{4209, 2976}));
             EXPECT_EQ(l.GetMargin(), (LayoutRect{42, 42, 198, 42}));
             EXPECT_EQ(l.GetPageMax(), 50);
             EXPECT_EQ(l.Texts().printerModel, "TEVRA Proof 44");
             EXPECT_EQ(Driver(f, "orientation"), "2");
         }},
        {"an A3 sheet", "P44", A4Sheet, true, [](CLayoutSetting& l) { l.SetPaperSize(8); }, false, 0, false, true,
         {B::kPaperSize, B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(l.GetPaperLength(), 4200);
             EXPECT_EQ(l.GetPageMax(), 35);
             EXPECT_EQ(l.GetPaper(), (LayoutPoint{4209, 5952}));
             EXPECT_EQ(l.GetPage(), (LayoutRect{42, 42, 4167, 5754}));
             EXPECT_EQ(l.Texts().paperSizeName, "A3 (297 x 420 mm)");
             EXPECT_EQ(Driver(f, "paper"), "8");
         }},
        {"a roll of 1000 mm on 297 mm pages", "P44", A4Sheet, true, [](CLayoutSetting& l) { Roll(l, 10000); }, true,
         0, false, true, {B::kSource, B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(l.GetPageNum(), 4);
             EXPECT_EQ(l.GetPageNumber(), 1);
             EXPECT_EQ(l.GetBannerLength(), 11880);
             EXPECT_EQ(l.GetPageMax(), 1);
             EXPECT_EQ(l.GetPaper(), (LayoutPoint{2976, 4 * 4209}));
             EXPECT_EQ(l.GetMargin(), (LayoutRect{42, 0, 42, 0}));
             EXPECT_EQ(l.Texts().paperSourceName, "Rollenpapier");
             EXPECT_EQ(Driver(f, "roll"), "13");
         }},
        {"a roll of 1000 mm already on three 330 mm pages", "PT",
         [](CLayoutSetting& l) {
             A4Sheet(l);
             Roll(l, 10000);
             l.SetPaperSize(100);
             l.SetPageNum(3);
         },
         false, nullptr, true, 0, false, true, {B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters&) {
             EXPECT_EQ(l.GetPageNum(), 3);
             EXPECT_EQ(l.GetBannerLength(), 9900);
             EXPECT_EQ(l.GetPaper(), (LayoutPoint{2976, 3 * 4677}));
         }},
        {"a roll above 15 m", "P44", A4Sheet, true, [](CLayoutSetting& l) { Roll(l, 200000); }, true, 0, false,
         true, {B::kSource, B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters&) {
             EXPECT_EQ(l.GetPageNum(), 50);
             EXPECT_EQ(l.GetBannerLength(), 148500);
         }},
        {"a roll in the second orientation", "P44", A4Sheet, true,
         [](CLayoutSetting& l) {
             Roll(l, 10000);
             l.SetOrientation(2);
         },
         true, 0, false, true, {B::kSource, B::kOrientation, B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters&) {
             EXPECT_EQ(l.GetPageNum(), 4);
             EXPECT_EQ(l.GetPaper(), (LayoutPoint{4 * 4209, 2976}));
             EXPECT_EQ(l.GetMargin(), (LayoutRect{0, 42, 0, 42}));
             EXPECT_EQ(l.GetPaperOrient(), 1);
         }},
        {"a source the new printer lacks", "P44", [](CLayoutSetting& l) { A4Sheet(l), l.SetDefaultSource(258); },
         true, [](CLayoutSetting& l) { l.Texts().printerName = "PA3"; }, false, 0, false, true,
         {B::kPrinter, B::kSource, B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(l.GetDefaultSource(), 7);
             EXPECT_EQ(l.Texts().paperSourceName, "Automatisch");
             EXPECT_EQ(l.GetNoMargins(), 0);
             EXPECT_EQ(f.manager->CurrentPrinter(), "PA3");
             EXPECT_EQ(l.Texts().printerModel, "TEVRA Proof A3");
         }},
        {"black-and-white photo ink refused", "PA3", A4Sheet, true,
         [](CLayoutSetting& l) {
             l.SetColor(256);
             AddImage(l, 100, 100);
             l.SetStampImage(std::make_unique<CImageObj>(false, "StampImage"));
         },
         false, 0, false, true, {B::kInk},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(l.GetColor(), 2);
             EXPECT_EQ(f.layouts.log, (std::vector<std::string>{"RebuildWorkingBitmaps"}));
             EXPECT_EQ(f.imaging.log, (std::vector<std::string>{"ReloadStampPicture"}));
         }},
        {"colour refused", "P44", A4Sheet, true, nullptr, false, 0, false, false, {}, nullptr,
         [](ShippedPrinters& f) {
             f.modules.refuse = [](const DriverCall& c) {
                 return c.op == DriverOperation::SetData && c.item == I::PrintMode && c.words.at(3) == 2;
             };
         }},
        {"\"Ultrafine\" kept", "P44", A4Sheet, true, [](CLayoutSetting& l) { l.SetAutoMode(15); }, false, 0, false,
         true, {},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(l.GetAutoMode(), 15);
             EXPECT_EQ(Driver(f, "special"), "0 0 15");
         }},
        {"\"Ultrafine\" refused", "P44", A4Sheet, true,
         [](CLayoutSetting& l) {
             l.SetMediaType(4);
             l.SetAutoMode(15);
         },
         false, 0, false, true, {B::kMedia},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(l.GetAutoMode(), 1);
             EXPECT_EQ(Driver(f, "special"), "0 0 0");
         }},
        {"fast refused", "P44", A4Sheet, true,
         [](CLayoutSetting& l) {
             l.SetMediaType(4);
             l.SetAutoMode(2);
         },
         false, 0, false, true, {B::kMedia},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(l.GetAutoMode(), 1);
             EXPECT_EQ(Driver(f, "quality"), "1");
         }},
        {"own margins leaving less than a third across", "P44", A4Sheet, true,
         [](CLayoutSetting& l) {
             l.SetLayoutAreaMode(1);
             l.SetLayoutAreaMgn({1000, 100, 1000, 200});
         },
         true, 0, false, true, {B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters&) {
             EXPECT_EQ(l.GetLayoutAreaMgn(), (LayoutRect{42, 100, 42, 200}));
             EXPECT_EQ(l.GetPage(), (LayoutRect{42, 100, 2934, 4009}));
         }},
        {"a borderless sheet on a 720-dpi model", "P44", A4Sheet, true,
         [](CLayoutSetting& l) { l.SetDefaultSource(258); }, false, 0, false, true, {B::kSource, B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters&) {
             EXPECT_EQ(l.GetNoMargins(), 1);
             EXPECT_EQ(l.GetPaper(), (LayoutPoint{3061, 4294}));
             EXPECT_EQ(l.GetMargin(), (LayoutRect{}));
         }},
        {"maximum area on a printer that lacks it", "PA3", A4Sheet, true,
         [](CLayoutSetting& l) {
             l.SetPrintableArea(1);
             l.SetCentered(1);
         },
         false, 0, false, true, {B::kPrintableArea, B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(l.GetPrintableArea(), 0);
             EXPECT_EQ(l.GetCentered(), 1);
             EXPECT_EQ(Driver(f, "layout"), "1");
             EXPECT_EQ(l.GetMargin(), (LayoutRect{42, 198, 42, 198}));
         }},
        {"maximum area", "P44", A4Sheet, true, [](CLayoutSetting& l) { l.SetPrintableArea(1); }, false, 0, false,
         true, {B::kPrintableArea, B::kGeometry},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(Driver(f, "layout"), "2");
             EXPECT_EQ(l.GetMargin(), (LayoutRect{42, 42, 42, 42}));
         }},
        {"high speed", "P44", A4Sheet, true, [](CLayoutSetting& l) { l.SetHighSpeed(1); }, false, 0, false, true,
         {B::kHighSpeed}, [](CLayoutSetting&, ShippedPrinters& f) { EXPECT_EQ(Driver(f, "highspeed"), "1"); }},
        {"header and footer at most a third", "P44", A4Sheet, true,
         [](CLayoutSetting& l) {
             l.SetHeaderOffset(2000);
             l.SetFooterOffset(500);
         },
         true, 0, false, true, {},
         [](CLayoutSetting& l, ShippedPrinters&) {
             EXPECT_EQ(l.GetHeaderOffset(), 992);
             EXPECT_EQ(l.GetFooterOffset(), 500);
         }},
        {"printing with an own profile", "P44", A4Sheet, true, [](CLayoutSetting& l) { l.SetRecommend(0); }, true, 0,
         true, true, {}, [](CLayoutSetting&, ShippedPrinters& f) {
             EXPECT_TRUE(Wrote201(f));
             EXPECT_EQ(Driver(f, "colour"), "3");
         }},
        {"not printing", "P44", A4Sheet, true, [](CLayoutSetting& l) { l.SetRecommend(0); }, true, 0, false, true,
         {}, [](CLayoutSetting&, ShippedPrinters& f) { EXPECT_FALSE(Wrote201(f)); }},
        {"printing with a recommended profile carrying the tag", "P44", A4Sheet, true,
         [](CLayoutSetting& l) {
             l.SetColorMatchPrinter(2);
             l.Texts().printerProfile = "Mit Markierung";
         },
         true, 0, true, true, {}, [](CLayoutSetting&, ShippedPrinters& f) { EXPECT_TRUE(Wrote201(f)); },
         [](ShippedPrinters& f) { f.imaging.existing = {"Mit Markierung", "Ohne"}; }},
        {"printing with a recommended plain profile", "P44", A4Sheet, true,
         [](CLayoutSetting& l) { l.Texts().printerProfile = "Ohne"; }, true, 0, true, true, {},
         [](CLayoutSetting&, ShippedPrinters& f) { EXPECT_FALSE(Wrote201(f)); },
         [](ShippedPrinters& f) {
             f.imaging.existing = {"Mit Markierung", "Ohne"};
             f.imaging.plain = {"Ohne"};
         }},
        {"another printer", "P44", A4Sheet, true, [](CLayoutSetting& l) { l.Texts().printerName = "P24"; }, false, 0,
         false, true, {B::kPrinter},
         [](CLayoutSetting& l, ShippedPrinters& f) {
             EXPECT_EQ(f.manager->CurrentPrinter(), "P24");
             EXPECT_EQ(l.Texts().printerModel, "TEVRA Proof 24");
             EXPECT_EQ(l.GetDefaultSource(), 4);
         }},
    };
}

TEST(SyncLayoutAndDriver, BringsLayoutAndDriverIntoAgreement) {
    for (const SyncRow& row : SyncRows()) {
        SCOPED_TRACE(row.what);
        ShippedPrinters f;
        f.queues.Add("PT", "TEVRA Rolle");
        f.modules.byQueue["PT"] = &TestModelModules();
        auto layout = std::make_unique<CLayoutSetting>(true);
        if (row.first) row.first(*layout);
        layout->Texts().printerName = row.printer;
        f.manager->BindLayout(layout.get());
        f.manager->SelectPrinter(row.printer, -1);
        SettingsChangeRecord record;
        if (row.reconciledFirst) {
            ASSERT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        }
        if (row.change) row.change(*layout);
        if (row.script) row.script(f);
        f.layouts.log.clear();
        f.imaging.log.clear();
        f.modules.calls.clear();
        record[B::kPrinter] = 1;  // the record is the function's to clear
        EXPECT_EQ(f.manager->SyncLayoutAndDriver(&record, row.force, row.delta, row.printing, true), row.result);
        if (row.result) {
            EXPECT_EQ(SetBytes(record), row.bytes);
        }
        if (row.check) row.check(*layout, f);
    }
}

TEST(SyncLayoutAndDriver, NeedsALayoutAndARecord) {
    ShippedPrinters f;
    SettingsChangeRecord record;
    EXPECT_FALSE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
    auto layout = f.BoundLayout("P44");
    EXPECT_FALSE(f.manager->SyncLayoutAndDriver(nullptr, true, 0, false, true));
}

TEST(SyncLayoutAndDriver, APrinterThatWentAwayGivesFalseWithItsName) {
    ShippedPrinters f;
    auto layout = f.BoundLayout("P44");
    A4Sheet(*layout);
    layout->Texts().printerName = "weg";
    SettingsChangeRecord record;
    EXPECT_FALSE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
    EXPECT_EQ(f.manager->LastFailure(), PrinterFailure::Unavailable);
    EXPECT_EQ(f.manager->LastFailurePrinter(), "weg");
}

// A driver reporting a paper of no length must not divide by zero or overflow the page
// maximum.
TEST(SyncLayoutAndDriver, APaperWithoutLengthKeepsThePageMaximumInRange) {
    ShippedPrinters f;
    FakeModuleLocator fake;
    FakeDriverState& s = *fake.state;
    s.SetRange(I::Source, {4});
    s.SetRange(I::PaperOld, {9});
    s.SetRange(I::Media, {1});
    s.SetRange(I::LayoutFlags, {3});
    s.SetData(I::Source, {4});
    s.SetData(I::Paper, {2100, 0, 2040, 0, 30, 0, 9});
    s.SetData(I::Orientation, {1});
    s.SetData(I::Media, {1});
    s.SetData(I::PrintMode, {1, 1, 1, 2});
    s.SetData(I::LayoutFlags, {0});
    for (auto [kind, id] : {std::pair{kNameSource, 4}, {kNamePaper, 9}, {kNameMedium, 1}})
        s.data[{I::Names, {kind, id}}] = DriverValue{{}, "Name"};
    f.queues.Add("PF", "TEVRA Proof 44");
    f.modules.byQueue["PF"] = &fake;
    auto layout = f.BoundLayout("PF");
    A4Sheet(*layout);
    SettingsChangeRecord record;
    ASSERT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
    EXPECT_EQ(layout->GetPaperLength(), 1);
    EXPECT_EQ(layout->GetPageMax(), 15000);
}

// Each property at a value that needs its full width, read back through the manager.
TEST(SyncLayoutAndDriver, ReadsAndWritesEveryPropertyAtItsOwnWidth) {
    struct Row {
        const char* what;
        const char* printer;
        std::function<void(CLayoutSetting&)> first;  // before the first reconcile, besides an A4 sheet
        std::function<void(CLayoutSetting&)> set;
        bool force;
        int delta;
        std::function<void(CLayoutSetting&, const SettingsChangeRecord&)> check;
    };
    const std::vector<Row> rows = {
        {"mPageNum", "P44", [](CLayoutSetting& l) { Roll(l, 10000); },
         [](CLayoutSetting& l) { l.SetPageNum(69999); }, false, 1,
         [](CLayoutSetting& l, const SettingsChangeRecord&) { EXPECT_EQ(l.GetPageNum(), 70000); }},
        {"mPageNumber", "P44", nullptr, [](CLayoutSetting& l) { l.SetPageNum(30000); }, true, 0,
         [](CLayoutSetting& l, const SettingsChangeRecord&) {
             EXPECT_EQ(l.GetPageNumber(), 30000);
             EXPECT_EQ(l.GetPageNum(), 0);
         }},
        {"mMediaType", "P44", nullptr, [](CLayoutSetting& l) { l.SetMediaType(0x00010002); }, false, 0,
         [](CLayoutSetting& l, const SettingsChangeRecord& r) {
             EXPECT_EQ(l.GetMediaType(), 0x00010002);
             EXPECT_EQ(r[B::kMedia], 1);  // medium 2 differs from the driver's 1, and is kept
             EXPECT_EQ(l.Texts().mediaTypeName, "Fotopapier Seidenglanz");
         }},
        {"mDefaultSource, mPaperSize and mMediaType above 32767", "PB", nullptr,
         [](CLayoutSetting& l) {
             l.SetDefaultSource(static_cast<int16_t>(40000));
             l.SetPaperSize(static_cast<int16_t>(50000));
             l.SetMediaType(0x10000 + 60000);
         },
         true, 0,
         [](CLayoutSetting& l, const SettingsChangeRecord& r) {
             EXPECT_EQ(r[B::kSource] + r[B::kPaperSize] + r[B::kMedia], 0);
             EXPECT_EQ(l.Texts().paperSourceName, "Fach 40000");
             EXPECT_EQ(l.Texts().paperSizeName, "Papier 50000");
             EXPECT_EQ(l.Texts().mediaTypeName, "Medium 60000");
             EXPECT_EQ(l.GetMediaType(), 0x10000 + 60000);
         }},
        {"mColor", "P44", nullptr, [](CLayoutSetting& l) { l.SetColor(256); }, false, 0,
         [](CLayoutSetting& l, const SettingsChangeRecord& r) {
             EXPECT_EQ(l.GetColor(), 256);
             EXPECT_EQ(r[B::kInk], 0);
         }},
        {"mBannerLength", "P44", nullptr, [](CLayoutSetting& l) { Roll(l, 50000); }, true, 0,
         [](CLayoutSetting& l, const SettingsChangeRecord&) { EXPECT_EQ(l.GetBannerLength(), 17 * 2970); }},
        {"mHeaderOffset", "P44", nullptr,
         [](CLayoutSetting& l) {
             l.SetPaperSize(600);  // 1118 x 1580 mm: a third of 15845 units across
             l.SetHeaderOffset(5000);
         },
         true, 0, [](CLayoutSetting& l, const SettingsChangeRecord&) { EXPECT_EQ(l.GetHeaderOffset(), 5000); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ShippedPrinters f;
        f.queues.Add("PB", "TEVRA Breit");
        f.modules.byQueue["PB"] = &TestModelModules();
        auto layout = std::make_unique<CLayoutSetting>(true);
        A4Sheet(*layout);
        if (row.first) row.first(*layout);
        layout->Texts().printerName = row.printer;
        f.manager->BindLayout(layout.get());
        f.manager->SelectPrinter(row.printer, -1);
        SettingsChangeRecord record;
        ASSERT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        row.set(*layout);
        ASSERT_TRUE(f.manager->SyncLayoutAndDriver(&record, row.force, row.delta, false, true));
        row.check(*layout, record);
    }
}

}  // namespace
}  // namespace vx::test
