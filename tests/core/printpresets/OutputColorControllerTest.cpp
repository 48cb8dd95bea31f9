#include <gtest/gtest.h>

#include "../colourmanagement/CatalogueFolders.h"
#include "../printing/PrinterTestSupport.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "dialogs/OutputColorController.h"
#include "platform/system/StringTable.h"
#include "printing/PrinterEntries.h"
#include "support/RecordingPorts.h"

namespace vx::test {
namespace {

// An sRGB profile of the printer class.
std::vector<uint8_t> PrinterProfile(const std::string& description) {
    std::vector<uint8_t> bytes = DescribedSrgb(description);
    const char cls[4] = {'p', 'r', 't', 'r'};
    std::copy(cls, cls + 4, bytes.begin() + 12);
    return bytes;
}

// Colour folders with the defaults, a second monitor profile and two printer profiles;
// a layout on "P44" whose medium 1 has "Medium.icc" as its profile.
struct OutputFixture {
    OutputFixture() {
        folders.AddDefaults();
        folders.Write(0, "Monitor B.icm", DescribedSrgb("Monitor B"));
        folders.Write(0, "Drucker A.icc", PrinterProfile("Drucker A"));
        folders.Write(1, "Medium.icc", PrinterProfile("Mein Medium"));
        layout = f.BoundLayout("P44");
        layout->SetColor(2);
        layout->SetMediaType(1);
        SettingsChangeRecord record;
        EXPECT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        layout->SetColorProfDisplay(1);
        layout->Texts().monitorProfile = kSrgbDescription;
        layout->SetColorMatchPrinter(0);
        layout->SetRecommend(0);
        layout->Texts().printerProfile = "Drucker A";
        layout->SetDirty(0);
        f.modules.calls.clear();
    }
    std::unique_ptr<OutputColorController> Controller(bool bound = true) {
        return std::make_unique<OutputColorController>(*layout, bound ? f.manager.get() : nullptr, media);
    }
    int IndexOf(const OutputColorController& c, const std::string& description) {
        const auto& e = c.PrinterList().Entries();
        for (size_t i = 1; i < e.size(); ++i)
            if (e[i].description == description) return int(i);
        return -1;
    }

    CatalogueFolders folders;
    ShippedPrinters f;
    std::unique_ptr<CLayoutSetting> layout;
    std::vector<OptionEntry> media{{1, "Medium.icc"}, {3, "Fehlt.icc"}};
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};
};

TEST(OutputColorController, ListsLeadWithTheDefaultsAndTheRecommendation) {
    OutputFixture t;
    auto c = t.Controller();
    const auto& monitor = c->MonitorList().Entries();
    ASSERT_GE(monitor.size(), 2u);
    EXPECT_EQ(monitor[0].fileName, std::string(kDefaultRgbProfileFile));
    EXPECT_EQ(monitor[0].description, kSrgbDescription);
    EXPECT_EQ(std::count_if(monitor.begin(), monitor.end(), [](auto& e) { return e.description == "Monitor B"; }), 1);
    EXPECT_EQ(std::count_if(monitor.begin(), monitor.end(), [](auto& e) { return e.fileName == "Drucker A.icc"; }), 0);

    const auto& printer = c->PrinterList().Entries();
    ASSERT_GE(printer.size(), 4u);
    EXPECT_EQ(printer[0].description, LoadString(IDS_RECOMMENDED_PROFILE));
    EXPECT_EQ(printer[0].fileName, "Medium.icc");
    EXPECT_EQ(printer[1].fileName, std::string(kDefaultRgbProfileFile));
    for (const char* d : {"Monitor B", "Drucker A", "Mein Medium"})
        EXPECT_EQ(std::count_if(printer.begin(), printer.end(), [d](auto& e) { return e.description == d; }), 1) << d;
    // The CMYK default is no RGB profile; the sRGB default is not repeated.
    EXPECT_EQ(std::count_if(printer.begin(), printer.end(), [](auto& e) { return e.fileName == "Marlo_CMYK.icc"; }), 0);
    EXPECT_EQ(std::count_if(printer.begin(), printer.end(),
                            [](auto& e) { return e.fileName == kDefaultRgbProfileFile; }),
              1);
}

// The radios, the printer list and the path text, step by step.
TEST(OutputColorController, RadiosDisableTheListAndApplicationRestoresIt) {
    OutputFixture t;
    auto c = t.Controller();
    const int druckerA = t.IndexOf(*c, "Drucker A");
    ASSERT_GT(druckerA, 1);
    struct Step {
        const char* what;
        std::function<void()> act;
        int index;
        bool enabled;
        std::string path;
    };
    const Step steps[] = {
        {"opened", [] {}, druckerA, true, ""},
        {"driver", [&] { c->ChooseControl(kControlByDriver); }, 0, false, kSrgbDescription},
        {"application", [&] { c->ChooseControl(kControlByApplication); }, druckerA, true, ""},
        {"photo type", [&] { c->ChooseControl(kControlPhotoType); }, 0, false, "Mein Medium"},
        {"driver after photo type", [&] { c->ChooseControl(kControlByDriver); }, 0, false, kSrgbDescription},
        {"application again", [&] { c->ChooseControl(kControlByApplication); }, druckerA, true, ""},
        {"entry 0", [&] { c->ChoosePrinter(0); }, 0, true, "Mein Medium"},
        {"entry 1", [&] { c->ChoosePrinter(1); }, 1, true, ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(c->PrinterIndex(), s.index);
        EXPECT_EQ(c->PrinterListEnabled(), s.enabled);
        EXPECT_EQ(c->PathText(), s.path);
    }
}

TEST(OutputColorController, PathTextFollowsTheRecommendedProfile) {
    struct Case {
        const char* what;
        int control, recommend, media;
        int index;
        std::string path;
    };
    const Case cases[] = {
        {"recommended, medium with a profile", 0, 1, 1, 0, "Mein Medium"},
        {"recommended, medium without an entry", 0, 1, 2, 0, kSrgbDescription},
        {"recommended, profile file missing", 0, 1, 3, 0, kSrgbDescription},
        {"driver", 1, 0, 1, 0, kSrgbDescription},
        {"photo type", 2, 0, 1, 0, "Mein Medium"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        OutputFixture t;
        t.layout->SetColorMatchPrinter(int16_t(k.control));
        t.layout->SetRecommend(k.recommend);
        t.layout->SetMediaType(k.media);
        auto c = t.Controller(false);
        EXPECT_EQ(c->PrinterIndex(), k.index);
        EXPECT_EQ(c->PathText(), k.path);
    }
}

TEST(OutputColorController, OkWritesWhatDiffersAndReconcilesOnlyThen) {
    {
        SCOPED_TRACE("no change");
        OutputFixture t;
        const std::string before = DumpLayout(*t.layout);
        auto c = t.Controller();
        EXPECT_TRUE(c->Commit());
        EXPECT_TRUE(t.f.modules.calls.empty());
        EXPECT_EQ(t.layout->GetDirty(), 1);
        t.layout->SetDirty(0);
        EXPECT_EQ(DumpLayout(*t.layout), before);
    }
    {
        SCOPED_TRACE("entry 0");
        OutputFixture t;
        auto c = t.Controller();
        c->ChoosePrinter(0);
        c->ChooseMonitor(1);
        EXPECT_TRUE(c->Commit());
        EXPECT_FALSE(t.f.modules.calls.empty());
        EXPECT_EQ(t.layout->GetRecommend(), 1);
        EXPECT_EQ(t.layout->Texts().printerProfile, "Mein Medium");
        EXPECT_EQ(t.layout->GetColorProfDisplay(), 2);
        EXPECT_EQ(t.layout->Texts().monitorProfile, c->MonitorList().At(1).description);
        EXPECT_TRUE(t.messages.shown.empty());
    }
    {
        SCOPED_TRACE("another entry, driver");
        OutputFixture t;
        t.layout->SetRecommend(1);
        auto c = t.Controller();
        EXPECT_EQ(c->PrinterIndex(), 0);
        const int druckerA = t.IndexOf(*c, "Drucker A");
        c->ChoosePrinter(druckerA);
        EXPECT_TRUE(c->Commit());
        EXPECT_EQ(t.layout->GetRecommend(), 0);
        EXPECT_EQ(t.layout->Texts().printerProfile, "Drucker A");
        OutputFixture u;
        auto d = u.Controller();
        d->ChooseControl(kControlByDriver);
        EXPECT_TRUE(d->Commit());
        EXPECT_EQ(u.layout->GetColorMatchPrinter(), 1);
        EXPECT_EQ(u.layout->GetRecommend(), 1);
        EXPECT_EQ(u.layout->Texts().printerProfile, kSrgbDescription);
    }
    {
        SCOPED_TRACE("a layout no printer holds is written without reconciling");
        OutputFixture t;
        auto c = t.Controller(false);
        c->ChooseControl(kControlPhotoType);
        EXPECT_TRUE(c->Commit());
        EXPECT_TRUE(t.f.modules.calls.empty());
        EXPECT_EQ(t.layout->GetColorMatchPrinter(), 2);
        EXPECT_EQ(t.layout->Texts().printerProfile, "Mein Medium");
    }
}

// A printer that refuses the change: 19602, and the old values are back.
TEST(OutputColorController, ARefusalPutsTheOldValuesBack) {
    for (int n : {1, 2, 3}) {
        SCOPED_TRACE(n);
        OutputFixture t;
        const std::string before = DumpLayout(*t.layout);
        std::string settings;
        t.f.manager->GetDevMode(&settings);
        t.f.modules.calls.clear();
        auto c = t.Controller();
        c->ChooseControl(kControlPhotoType);
        c->ChooseMonitor(1);
        t.f.modules.failCall = n;
        EXPECT_FALSE(c->Commit());
        t.f.modules.failCall = 0;
        EXPECT_EQ(t.messages.Ids(), std::vector<int>{IDS_PRINT_SETTINGS_NOT_APPLIED});
        EXPECT_EQ(DumpLayout(*t.layout), before);
        EXPECT_EQ(t.layout->GetColorMatchPrinter(), 0);
        EXPECT_EQ(t.layout->GetColorProfDisplay(), 1);
        std::string after;
        t.f.manager->GetDevMode(&after);
        EXPECT_EQ(after, settings);
    }
}

}  // namespace
}  // namespace vx::test
