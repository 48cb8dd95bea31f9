#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "OpenedModel.h"
#include "platform/driver/DataDrivenModule.h"

namespace vx::test {
namespace {

using I = DriverItem;

const char* const kModels[] = {"TEVRA Proof 44", "TEVRA Proof 24", "TEVRA Proof A3"};

// What each shipped model answers, item by item.
struct ModelRow {
    const char* model;
    int modelClass, resolution;
    std::set<int> items;
    DriverWords sources, inks;
    int32_t flags;
    DriverWords ultrafineColourMedia;  // range of 214 for (2, 15); empty when no item 214
    int32_t rollOptions;               // range of 205 on source 256; 0 when no item 205
};

const ModelRow kModelRows[] = {
    {"TEVRA Proof 44", 1, 720, {20, 30, 40, 50, 60, 70, 201, 203, 204, 205, 212, 213, 214, 225, 236},
     {4, 258, 256, 257}, {2, 1, 256}, 3, {1, 2, 3}, 0x1 | 0x4 | 0x8},
    {"TEVRA Proof 24", 2, 720, {20, 30, 40, 50, 60, 70, 201, 203, 204, 205, 212, 213, 214, 225, 236},
     {4, 256, 257}, {2, 1, 256}, 3, {1, 2, 3}, 0x1 | 0x4},
    {"TEVRA Proof A3", 3, 360, {20, 30, 40, 50, 60, 70, 80, 201, 204, 213, 236}, {7, 4}, {2, 1}, 1, {}, 0},
};

TEST(DataDrivenModule, AnswersEveryItemAsItsModelDescribesIt) {
    const int all[] = {20, 30, 40, 50, 60, 70, 80, 201, 203, 204, 205, 212, 213, 214, 225, 236};
    for (const ModelRow& row : kModelRows) {
        SCOPED_TRACE(row.model);
        OpenedModel p(row.model);
        DriverInfo info;
        EXPECT_EQ(p.module.GetDriverInfo(p.handle, info), 1);
        EXPECT_EQ(info.family, 0x30);
        EXPECT_EQ(info.model, row.model);
        EXPECT_EQ(p.model->modelClass, row.modelClass);
        EXPECT_EQ(p.model->resolution, row.resolution);
        for (int item : all)
            EXPECT_EQ(p.module.GetCommandLevel(p.handle, I(item)), row.items.count(item) ? 1 : -1) << item;

        EXPECT_EQ(p.Range(I::Source), row.sources);
        EXPECT_EQ(p.Range(I::Inks), row.inks);
        EXPECT_EQ(p.Range(I::LayoutFlags), DriverWords{row.flags});
        EXPECT_EQ(p.Range(I::Monochrome), DriverWords{0});
        EXPECT_EQ(p.Range(I::PrintMode), DriverWords{2});
        // A fresh printer: first source, A4, a photo paper, portrait, colour, quality 1.
        EXPECT_EQ(p.Get(I::Source), DriverWords{row.sources.front()});
        EXPECT_EQ(p.Get(I::Orientation), DriverWords{1});
        EXPECT_EQ(p.Get(I::PrintMode), (DriverWords{0, 1, 1, 2}));
        DriverValue name;
        ASSERT_EQ(p.module.GetData(p.handle, I::Names, {kNameMedium, 1}, name), 0);
        EXPECT_EQ(name.text, "Fotopapier Hochglanz");
        // The paper list of the first source starts with A4 and never offers 256.
        DriverWords papers = p.Range(I::PaperOld);
        ASSERT_FALSE(papers.empty());
        EXPECT_EQ(papers.front(), 9);
        EXPECT_EQ(std::count(papers.begin(), papers.end(), 256), 0);

        DriverValue v;
        EXPECT_EQ(p.module.GetRange(p.handle, I::HighSpeed, {}, v) == 0, row.items.count(212) == 1);
        if (row.items.count(214)) {
            EXPECT_EQ(p.Range(I::SpecialMode, {2, kUltrafine}), row.ultrafineColourMedia);
        }
        if (row.items.count(225)) {
            EXPECT_EQ(p.Range(I::InkOnMedium, {4, 2}), (DriverWords{1, 1})) << "Fine-Art: one mode";
            EXPECT_EQ(p.Range(I::InkOnMedium, {1, 256}), (DriverWords{1, 2}));
            EXPECT_EQ(p.Range(I::InkOnMedium, {5, 256}), (DriverWords{0, 0})) << "Normalpapier refuses 256";
        }
        if (row.items.count(205)) {
            EXPECT_EQ(p.Range(I::RollOptions), DriverWords{0}) << "first source is a sheet source";
            ASSERT_EQ(p.Set(I::Source, {256}), 0);
            EXPECT_EQ(p.Range(I::RollOptions), DriverWords{row.rollOptions});
        }
    }
}

TEST(DataDrivenModule, NamesAnswerForEveryListedId) {
    for (const char* model : kModels) {
        SCOPED_TRACE(model);
        OpenedModel p(model);
        for (const ModelSource& s : p.model->sources) {
            DriverValue v;
            ASSERT_EQ(p.module.GetData(p.handle, I::Names, {kNameSource, s.id}, v), 0);
            EXPECT_EQ(v.text, s.name);
        }
        DriverValue v;
        ASSERT_EQ(p.module.GetData(p.handle, I::Names, {kNameProfilePath, 4}, v), 0);
        EXPECT_EQ(std::filesystem::path(v.text).filename(), std::string(model) + " Fine-Art-Papier Matt.icc");
        EXPECT_TRUE(std::filesystem::path(v.text).is_absolute());
        EXPECT_NE(p.module.GetData(p.handle, I::Names, {kNamePaper, 256}, v), 0);
        EXPECT_NE(p.module.GetData(p.handle, I::Names, {99, 1}, v), 0);
    }
}

// Printable-area terms of A4 in both orientations and printable areas.
struct PaperRow {
    const char* model;
    DriverItem paperItem;
    std::vector<std::pair<I, DriverWords>> sets;
    DriverWords expected;  // {W, H, a, b, c, d, id}
};

TEST(DataDrivenModule, ReportsThePaperInTheCurrentOrientation) {
    const PaperRow rows[] = {
        {"TEVRA Proof 44", I::Paper, {}, {2100, 2970, 2040, 2800, 30, 30, 9}},
        {"TEVRA Proof 44", I::Paper, {{I::Orientation, {2}}}, {2970, 2100, 2800, 2040, 30, 30, 9}},
        {"TEVRA Proof 44", I::Paper, {{I::LayoutFlags, {kFlagMaximumArea}}}, {2100, 2970, 2040, 2910, 30, 30, 9}},
        {"TEVRA Proof 44", I::Paper, {{I::LayoutFlags, {kFlagCentred}}}, {2100, 2970, 2040, 2690, 30, 140, 9}},
        // Roll margins are on the sides only: the sheet turned puts them at top and bottom.
        {"TEVRA Proof 44", I::Paper, {{I::Source, {256}}}, {2100, 2970, 2040, 2970, 30, 0, 9}},
        {"TEVRA Proof 44", I::Paper, {{I::Source, {256}}, {I::Orientation, {2}}}, {2970, 2100, 2970, 2040, 0, 30, 9}},
        {"TEVRA Proof 44", I::Paper, {{I::Source, {258}}}, {2100, 2970, 2100, 2970, 0, 0, 9}},
        {"TEVRA Proof 24", I::Paper, {{I::Paper, {8}}}, {2970, 4200, 2910, 4030, 30, 30, 8}},
        {"TEVRA Proof A3", I::PaperOld, {}, {2100, 2970, 2040, 2800, 30, 30, 9}},
        {"TEVRA Proof A3", I::PaperOld, {{I::Orientation, {2}}}, {2970, 2100, 2800, 2040, 30, 30, 9}},
        {"TEVRA Proof A3", I::PaperOld, {{I::Centring, {1}}}, {2100, 2970, 2040, 2690, 30, 140, 9}},
        {"TEVRA Proof A3", I::PaperOld, {{I::PaperOld, {1003}}}, {1000, 1500, 940, 1330, 30, 30, 1003}},
    };
    for (const PaperRow& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.model << " row expecting " << row.expected[0] << "x" << row.expected[1]);
        OpenedModel p(row.model);
        for (const auto& [item, value] : row.sets) ASSERT_EQ(p.Set(item, value), 0);
        EXPECT_EQ(p.Get(row.paperItem), row.expected);
    }
    // A model with the newer form answers only the older form's range.
    OpenedModel p44("TEVRA Proof 44");
    DriverValue v;
    EXPECT_NE(p44.module.GetData(p44.handle, I::PaperOld, {}, v), 0);
    EXPECT_NE(p44.Set(I::PaperOld, {8}), 0);
}

struct SetRow {
    const char* model;
    const char* what;
    std::vector<std::pair<I, DriverWords>> before;
    std::pair<I, DriverWords> refused;
};

TEST(DataDrivenModule, RefusesWhatTheModelCannotKeepAndChangesNothing) {
    const SetRow rows[] = {
        {"TEVRA Proof 44", "quality 2 on Fine-Art-Papier Matt", {{I::PrintMode, {1, 1, 4, 2}}}, {I::PrintMode, {1, 2, 4, 2}}},
        {"TEVRA Proof 44", "ink 256 on Normalpapier", {{I::PrintMode, {1, 1, 5, 2}}}, {I::PrintMode, {1, 1, 5, 256}}},
        {"TEVRA Proof A3", "ink 256 on a model without it", {}, {I::PrintMode, {1, 1, 1, 256}}},
        {"TEVRA Proof 44", "an ink value no model knows", {}, {I::PrintMode, {1, 1, 1, 3}}},
        {"TEVRA Proof 44", "quality 3", {}, {I::PrintMode, {1, 3, 1, 2}}},
        {"TEVRA Proof 44", "a medium the borderless source lacks", {{I::Source, {258}}}, {I::PrintMode, {1, 1, 4, 2}}},
        {"TEVRA Proof 44", "Ultrafine on Normalpapier", {{I::PrintMode, {1, 1, 5, 2}}}, {I::SpecialMode, {0, 0, 15}}},
        {"TEVRA Proof 44", "Ultrafine with black ink", {{I::PrintMode, {1, 1, 1, 1}}}, {I::SpecialMode, {0, 0, 15}}},
        {"TEVRA Proof 44", "special mode 7", {}, {I::SpecialMode, {0, 0, 7}}},
        {"TEVRA Proof A3", "Ultrafine without item 214", {}, {I::SpecialMode, {0, 0, 15}}},
        {"TEVRA Proof A3", "high speed", {}, {I::HighSpeed, {1}}},
        {"TEVRA Proof 44", "high speed 2", {}, {I::HighSpeed, {2}}},
        {"TEVRA Proof A3", "maximum area", {}, {I::LayoutFlags, {kFlagMaximumArea}}},
        {"TEVRA Proof 44", "roll options on a sheet source", {}, {I::RollOptions, {0x1}}},
        {"TEVRA Proof 24", "roll option 0x8 not offered", {{I::Source, {256}}}, {I::RollOptions, {0x8}}},
        {"TEVRA Proof 44", "colour handling 1", {}, {I::ColourHandling, {1}}},
        {"TEVRA Proof 44", "item 80 on a model without it", {}, {I::Centring, {1}}},
        {"TEVRA Proof 44", "orientation 3", {}, {I::Orientation, {3}}},
        {"TEVRA Proof 44", "an unknown source", {}, {I::Source, {99}}},
        {"TEVRA Proof 44", "a roll paper on sheets", {}, {I::Paper, {1001}}},
        {"TEVRA Proof 44", "paper 256", {}, {I::Paper, {256}}},
        {"TEVRA Proof A3", "a paper the manual feed lacks", {{I::Source, {4}}}, {I::PaperOld, {1003}}},
        {"TEVRA Proof 44", "media are set through item 70", {}, {I::Media, {2}}},
        {"TEVRA Proof 44", "a short print-mode record", {}, {I::PrintMode, {1, 1}}},
        {"TEVRA Proof 44", "a range-only item", {}, {I::Inks, {2}}},
    };
    for (const SetRow& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.model << ": " << row.what);
        OpenedModel p(row.model);
        for (const auto& [item, value] : row.before) ASSERT_EQ(p.Set(item, value), 0);
        const std::string before = p.Record();
        const DriverWords mode = p.Get(I::PrintMode);
        EXPECT_NE(p.Set(row.refused.first, row.refused.second), 0);
        EXPECT_EQ(p.Record(), before);
        EXPECT_EQ(p.Get(I::PrintMode), mode);
    }
}

TEST(DataDrivenModule, MovesDependentSettingsAsAPrinterDoes) {
    {
        SCOPED_TRACE("a source without Letter and Fine-Art takes its first paper and medium");
        OpenedModel p("TEVRA Proof 44");
        ASSERT_EQ(p.Set(I::Paper, {1}), 0);
        ASSERT_EQ(p.Set(I::PrintMode, {1, 1, 4, 256}), 0);
        ASSERT_EQ(p.Set(I::Source, {256}), 0);
        EXPECT_EQ(p.Get(I::Paper).back(), 9);
        EXPECT_EQ(p.Get(I::Media), DriverWords{1});
        EXPECT_EQ(p.Get(I::PrintMode), (DriverWords{1, 1, 1, 256})) << "the ink stays where allowed";
    }
    {
        SCOPED_TRACE("a source that offers the paper keeps it");
        OpenedModel p("TEVRA Proof A3");
        ASSERT_EQ(p.Set(I::Source, {4}), 0);
        ASSERT_EQ(p.Set(I::PaperOld, {258}), 0);
        ASSERT_EQ(p.Set(I::PrintMode, {1, 1, 4, 2}), 0);
        ASSERT_EQ(p.Set(I::Source, {7}), 0);
        EXPECT_EQ(p.Get(I::PaperOld).back(), 258);
        EXPECT_EQ(p.Get(I::Media), DriverWords{1});
    }
    {
        SCOPED_TRACE("leaving the roll clears its options");
        OpenedModel p("TEVRA Proof 44");
        ASSERT_EQ(p.Set(I::Source, {256}), 0);
        ASSERT_EQ(p.Set(I::RollOptions, {0xD}), 0);
        ASSERT_EQ(p.Set(I::Source, {257}), 0);
        EXPECT_EQ(p.Get(I::RollOptions), DriverWords{0xD});
        ASSERT_EQ(p.Set(I::Source, {4}), 0);
        EXPECT_EQ(p.Get(I::RollOptions), DriverWords{0});
    }
    {
        SCOPED_TRACE("a print-mode write ends Ultrafine");
        OpenedModel p("TEVRA Proof 24");
        ASSERT_EQ(p.Set(I::SpecialMode, {0, 0, kUltrafine}), 0);
        EXPECT_EQ(p.Get(I::SpecialMode), (DriverWords{0, 0, kUltrafine}));
        ASSERT_EQ(p.Set(I::PrintMode, {1, 2, 1, 2}), 0);
        EXPECT_EQ(p.Get(I::SpecialMode), (DriverWords{0, 0, 0}));
        EXPECT_EQ(p.Get(I::PrintMode), (DriverWords{1, 2, 1, 2})) << "quality 2 on a two-mode medium";
    }
}

TEST(DataDrivenModule, RefusesCallsWithoutAnOpenHandle) {
    OpenedModel p("TEVRA Proof 44");
    const DriverHandle other = p.handle + 1000;
    DriverValue v;
    DriverInfo info;
    EXPECT_EQ(p.module.GetDriverInfo(other, info), 0);
    EXPECT_EQ(p.module.GetCommandLevel(other, I::Paper), kDriverNoHandle);
    EXPECT_NE(p.module.GetRange(other, I::Source, {}, v), 0);
    EXPECT_NE(p.module.GetData(other, I::Source, {}, v), 0);
    EXPECT_NE(p.module.SetData(other, I::Orientation, {2}), 0);
    EXPECT_EQ(p.module.CreateDC(other), nullptr);
    EXPECT_EQ(p.module.GetDevMode(other), "");
    EXPECT_EQ(p.module.Close(other), 0);
    EXPECT_EQ(p.module.Close(p.handle), 1);
    EXPECT_EQ(p.module.GetDevMode(p.handle), "");
    EXPECT_EQ(p.module.Close(p.handle), 0);
}

TEST(DataDrivenModule, OpenRefusesUnknownModesAndBadRecords) {
    DataDrivenModule m(ModelCatalogue::Shipped().Find("TEVRA Proof 44"));
    DriverHandle h = 0;
    const std::string bad = "version=1\nmodel=TEVRA Proof 24\n";
    EXPECT_EQ(m.Open("q", "p", 1, nullptr, h), kOpenBadMode);
    EXPECT_EQ(m.Open("q", "p", 2, nullptr, h), kOpenBadMode);
    EXPECT_EQ(m.Open("q", "p", 2, &bad, h), kOpenBadSettings);
    EXPECT_EQ(h, 0u) << "a refused open hands out no handle";
    DriverHandle a = 0, b = 0;
    ASSERT_EQ(m.Open("a", "p", 0, nullptr, a), 0);
    ASSERT_EQ(m.Open("b", "p", 0, nullptr, b), 0);
    EXPECT_NE(a, b);
    ASSERT_EQ(m.SetData(a, I::Orientation, {2}), 0);
    DriverValue v;
    ASSERT_EQ(m.GetData(b, I::Orientation, {}, v), 0);
    EXPECT_EQ(v.words, DriverWords{1}) << "each open printer keeps its own settings";
}

}  // namespace
}  // namespace vx::test
