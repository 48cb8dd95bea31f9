#include <gtest/gtest.h>

#include <map>

#include "OpenedModel.h"
#include "platform/driver/SettingsRecord.h"
#include "support/TestFolders.h"

namespace vx::test {
namespace {

using I = DriverItem;

// Every GetData answer of an open printer, for comparing two printers.
std::map<std::pair<int, DriverWords>, DriverValue> AllData(OpenedModel& p) {
    std::map<std::pair<int, DriverWords>, DriverValue> out;
    auto add = [&](I item, DriverWords query) {
        DriverValue v;
        if (p.module.GetData(p.handle, item, query, v) == 0) out[{int(item), query}] = v;
    };
    for (int item : {20, 30, 40, 60, 70, 203, 204, 205, 212, 214}) add(I(item), {});
    for (const ModelMedium& m : p.model->media) add(I::Names, {kNameProfilePath, m.id});
    return out;
}

struct Changes {
    const char* model;
    std::vector<std::pair<I, DriverWords>> sets;
};

// Every setting away from its default, in an order the model accepts.
const Changes kChanges[] = {
    {"TEVRA Proof 44",
     {{I::Source, {257}}, {I::Paper, {605}}, {I::Orientation, {2}}, {I::PrintMode, {1, 2, 2, 2}},
      {I::SpecialMode, {3, 4, kUltrafine}}, {I::LayoutFlags, {3}}, {I::RollOptions, {0x9}},
      {I::HighSpeed, {1}}, {I::ColourHandling, {3}}}},
    {"TEVRA Proof 24",
     {{I::Source, {256}}, {I::Paper, {1002}}, {I::Orientation, {2}}, {I::PrintMode, {1, 1, 5, 1}},
      {I::LayoutFlags, {1}}, {I::RollOptions, {0x4}}, {I::HighSpeed, {1}}, {I::ColourHandling, {3}}}},
    {"TEVRA Proof A3",
     {{I::Source, {4}}, {I::PaperOld, {258}}, {I::Orientation, {2}}, {I::PrintMode, {1, 1, 4, 1}},
      {I::LayoutFlags, {1}}, {I::Centring, {1}}, {I::ColourHandling, {3}}}},
};

void ExpectRoundTrip() {
    for (const Changes& c : kChanges) {
        SCOPED_TRACE(c.model);
        OpenedModel a(c.model);
        for (const auto& [item, value] : c.sets) ASSERT_EQ(a.Set(item, value), 0) << int(item);
        const std::string record = a.Record();

        OpenedModel b(c.model);
        ASSERT_EQ(b.module.Close(b.handle), 1);
        ASSERT_EQ(b.module.Open("again", "port", 2, &record, b.handle), 0);
        EXPECT_EQ(AllData(b), AllData(a));
        EXPECT_EQ(b.Record(), record);
    }
}

TEST(SettingsRecord, ReproducesEverySettingOfEachModel) { ExpectRoundTrip(); }

TEST(SettingsRecord, ReproducesEverySettingUnderAGermanLocale) {
    ScopedLocale german("de_DE.UTF-8");
    if (!german.Active()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    ExpectRoundTrip();
}

TEST(SettingsRecord, WritesTheKeysInOrderAndOnlyThoseOfTheModelsItems) {
    OpenedModel p44("TEVRA Proof 44");
    EXPECT_EQ(p44.Record(),
              "version=1\nmodel=TEVRA Proof 44\norientation=1\nsource=4\npaper=9\nmedia=1\nink=2\n"
              "mode=0\nquality=1\nspecial=0 0 0\nlayout=0\nroll=0\nhighspeed=0\ncolour=0\n");
    OpenedModel a3("TEVRA Proof A3");
    EXPECT_EQ(a3.Record(),
              "version=1\nmodel=TEVRA Proof A3\norientation=1\nsource=7\npaper=9\nmedia=1\nink=2\n"
              "mode=0\nquality=1\nlayout=0\ncolour=0\ncentring=0\n");
}

struct RecordRow {
    const char* what;
    std::string text;
    bool accepted;
};

TEST(SettingsRecord, ReadsStrictly) {
    const std::string base = "version=1\nmodel=TEVRA Proof 44\n";
    const RecordRow rows[] = {
        {"the model's own record", base + "source=4\npaper=8\n", true},
        {"CR LF lines", "version=1\r\nmodel=TEVRA Proof 44\r\npaper=8\r\n", true},
        {"an unknown key", base + "future=7\n", true},
        {"a missing key takes the default", base, true},
        {"a zero for an item the model lacks", base + "centring=0\n", true},
        {"another model's record", "version=1\nmodel=TEVRA Proof 24\n", false},
        {"version 2", "version=2\nmodel=TEVRA Proof 44\n", false},
        {"no version", "model=TEVRA Proof 44\n", false},
        {"a paper the source does not offer", base + "paper=1001\n", false},
        {"ink 256 on a medium that refuses it", base + "media=5\nink=256\n", false},
        {"quality 2 on a one-mode medium", base + "media=4\nquality=2\n", false},
        {"Ultrafine on Normalpapier", base + "media=5\nspecial=0 0 15\n", false},
        {"roll options on a sheet source", base + "roll=1\n", false},
        {"centring=1 on a model without item 80", base + "centring=1\n", false},
        {"a value that is no number", base + "paper=neun\n", false},
        {"a number with trailing text", base + "paper=9x\n", false},
        {"special with two numbers", base + "special=0 15\n", false},
        {"a key given twice", base + "paper=9\npaper=8\n", false},
        {"a line without '='", base + "paper\n", false},
        {"an empty record", "", false},
    };
    auto model = ModelCatalogue::Shipped().Find("TEVRA Proof 44");
    ASSERT_NE(model, nullptr);
    for (const RecordRow& row : rows) {
        SCOPED_TRACE(row.what);
        std::optional<PrinterSettings> s = SettingsRecord::Read(*model, row.text);
        EXPECT_EQ(s.has_value(), row.accepted);
        DataDrivenModule m(model);
        DriverHandle h = 0;
        EXPECT_EQ(m.Open("q", "p", 2, &row.text, h) == 0, row.accepted);
    }
    std::optional<PrinterSettings> s = SettingsRecord::Read(*model, base + "paper=8\n");
    ASSERT_TRUE(s);
    PrinterSettings expected = PrinterSettings::Defaults(*model);
    expected.paper = 8;
    EXPECT_EQ(*s, expected);
}

}  // namespace
}  // namespace vx::test
