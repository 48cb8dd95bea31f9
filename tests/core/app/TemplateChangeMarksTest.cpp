#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/TemplateChangeMarks.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "printing/SettingsChangeRecord.h"
#include "support/RecordingApplicationState.h"

namespace vx::test {
namespace {

std::unique_ptr<CLayoutSetting> LayoutWithBase() {
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage"));
    return layout;
}

struct CurrentInfoGuard {
    CurrentInfoGuard() { CurrentTemplateInfo().RemoveAll(); }
    ~CurrentInfoGuard() { CurrentTemplateInfo().RemoveAll(); }
};

// One table over the thirteen rows: the layout's setting and the text its row shows.
TEST(TemplateChangeMarks, RowValuesFollowTheLayout) {
    InstalledApplicationState app;
    struct Case {
        const char* what;
        int row;
        int displayUnit;
        std::function<void(CLayoutSetting&)> set;
        std::string value;
    };
    const Case cases[] = {
        {"name after the last separator", kRowName, 1, {}, "Karte.kqf"},
        {"note without line breaks", kRowNote, 1, {}, "Zwei Zeilen"},
        {"printer", kRowPrinter, 1, [](CLayoutSetting& l) { l.Texts().printerName = "P44"; }, "P44"},
        {"source", kRowPaperSource, 1, [](CLayoutSetting& l) { l.Texts().paperSourceName = "Rolle"; }, "Rolle"},
        {"paper", kRowPaperSize, 1, [](CLayoutSetting& l) { l.Texts().paperSizeName = "A4"; }, "A4"},
        {"roll in inch", kRowBannerLength, 1,
         [](CLayoutSetting& l) { l.SetBanner(1); l.SetBannerLength(12700); l.SetUnit(2); }, "50.000 Zoll"},
        {"roll in mm", kRowBannerLength, 2,
         [](CLayoutSetting& l) { l.SetBanner(1); l.SetBannerLength(12700); l.SetUnit(1); }, "1270.00 mm"},
        {"sheet", kRowBannerLength, 1, [](CLayoutSetting& l) { l.SetBannerLength(12700); }, "-"},
        {"media", kRowMedia, 1, [](CLayoutSetting& l) { l.Texts().mediaTypeName = "Matt"; }, "Matt"},
        {"portrait", kRowOrientation, 1, [](CLayoutSetting& l) { l.SetOrientation(1); }, "Hochformat"},
        {"landscape", kRowOrientation, 1, [](CLayoutSetting& l) { l.SetOrientation(2); }, "Querformat"},
        {"black", kRowInk, 1, [](CLayoutSetting& l) { l.SetColor(1); }, "Schwarz"},
        {"grey ink", kRowInk, 1, [](CLayoutSetting& l) { l.SetColor(256); }, "Greyvance Photo"},
        {"colour", kRowInk, 1, [](CLayoutSetting& l) { l.SetColor(2); }, "Farbe"},
        {"free", kRowLayoutMode, 1, [](CLayoutSetting& l) { l.SetFree(1); }, "Freies Layout"},
        {"automatic", kRowLayoutMode, 1, {}, "Automatisches Layout"},
        {"size by dimensions", kRowImageSize, 1,
         [](CLayoutSetting& l) { l.GetBaseImage()->SetSizeMethod(1); l.GetBaseImage()->SetSizePixel({3600, 2160}); },
         "Breite = 254.00 mm, Höhe = 152.40 mm"},
        {"size in inch", kRowImageSize, 2,
         [](CLayoutSetting& l) { l.GetBaseImage()->SetSizeMethod(1); l.GetBaseImage()->SetSizePixel({3600, 2160}); },
         "Breite = 10.000 Zoll, Höhe = 6.000 Zoll"},
        {"size by ratio", kRowImageSize, 1,
         [](CLayoutSetting& l) { l.GetBaseImage()->SetSizeMethod(2); l.GetBaseImage()->SetSizeRatio({500, 250}); },
         "Breite = 50.0%, Höhe = 25.0%"},
        {"option off", kRowImageOptions, 1, [](CLayoutSetting& l) { l.GetBaseImage()->SetSizeMethod(1); }, "Aus"},
        {"option fit", kRowImageOptions, 1,
         [](CLayoutSetting& l) { l.GetBaseImage()->SetSizeMethod(1); l.GetBaseImage()->SetImageOptionDimens(1); },
         "Automatisch anpassen"},
        {"option crop", kRowImageOptions, 1,
         [](CLayoutSetting& l) { l.GetBaseImage()->SetSizeMethod(1); l.GetBaseImage()->SetImageOptionDimens(2); },
         "Automatisch zuschneiden"},
        {"option by ratio", kRowImageOptions, 1,
         [](CLayoutSetting& l) { l.GetBaseImage()->SetSizeMethod(2); l.GetBaseImage()->SetImageOptionDimens(1); }, "-"},
        {"rotate exif", kRowAutoRotate, 1, [](CLayoutSetting& l) { l.SetAutoRotate(1); }, "Exif-Information verwenden"},
        {"rotate left", kRowAutoRotate, 1, [](CLayoutSetting& l) { l.SetAutoRotate(3); }, "Querformat (links)"},
        {"rotate portrait left", kRowAutoRotate, 1, [](CLayoutSetting& l) { l.SetAutoRotate(5); }, "Hochformat (links)"},
        {"rotate off", kRowAutoRotate, 1, [](CLayoutSetting& l) { l.SetAutoRotate(9); }, "Aus"},
    };
    for (const Case& c : cases) {
        auto layout = LayoutWithBase();
        if (c.set) c.set(*layout);
        TemplateInfo info;
        info.Path = "C:\\Vorlagen\\Karte.kqf";
        info.Comment = "Zwei\r\n Zeilen";
        const auto values = TemplateSettingValues(TemplateSettingsInfo(*layout, info, c.displayUnit));
        EXPECT_EQ(values[c.row], c.value) << c.what;
    }
    EXPECT_EQ(TemplateFileName("/home/a/Vorlagen/Karte.kqf"), "Karte.kqf");
}

TEST(TemplateChangeMarks, ReconciliationOnlySetsMarks) {
    struct Case {
        size_t byte;
        bool roll;
        std::vector<int> rows;
    };
    using B = SettingsChangeRecord;
    const Case cases[] = {
        {B::kPrinter, false, {kRowPrinter}},
        {B::kSource, false, {kRowPaperSource}},
        {B::kPaperSize, false, {kRowPaperSize}},
        {B::kPaperSize, true, {kRowPaperSize, kRowBannerLength}},
        {B::kMedia, false, {kRowMedia}},
        {B::kInk, false, {kRowInk}},
        {B::kOrientation, false, {}},
        {B::kGeometry, false, {}},
    };
    for (const Case& c : cases) {
        auto layout = LayoutWithBase();
        layout->SetBanner(c.roll ? 1 : 0);
        SettingsChangeRecord record;
        record[c.byte] = 1;
        TemplateChangeMarks marks;
        marks.Mark(kRowNote);
        marks.MarkChangedSettings(*layout, record);
        TemplateChangeMarks expected;
        expected.Mark(kRowNote);  // already set marks stay
        for (int row : c.rows) expected.Mark(row);
        EXPECT_EQ(marks.flags, expected.flags) << "byte " << c.byte << (c.roll ? " roll" : "");
    }
    TemplateChangeMarks untouched;
    MarkChangedSettings(*LayoutWithBase(), nullptr, SettingsChangeRecord{});  // a null record is ignored
    untouched.MarkChangedSettings(*LayoutWithBase(), SettingsChangeRecord{});
    EXPECT_FALSE(untouched.Any());
}

TEST(TemplateChangeMarks, BackupCopyRestoresMarks) {
    TemplateChangeMarks marks;
    marks.Mark(kRowPrinter);
    marks.Mark(kRowAutoRotate);
    marks.StoreMarks();
    const TemplateChangeMarks stored = marks;
    marks.Clear();
    marks.Mark(kRowInk);
    marks.LoadMarks();
    EXPECT_EQ(marks, stored);
    StoreTemplateChangeMarks(nullptr);
    LoadTemplateChangeMarks(nullptr);
    TemplateChangeMarks other;
    LoadTemplateChangeMarks(&other);
    EXPECT_EQ(other, stored);
    marks.Mark(-1);
    marks.Mark(kTemplateSettingRows);
    EXPECT_EQ(marks, stored);
    EXPECT_EQ(TemplateSettingRowOf(TemplateChangeMark::LayoutMode), 9);
    EXPECT_EQ(TemplateSettingRowOf(TemplateChangeMark::AutoRotate), 12);
}

// A marked row counts as unsaved work on every refill; binding clears that once.
TEST(TemplateChangeMarks, ListRowsAndDirtyFlag) {
    InstalledApplicationState app;
    CurrentInfoGuard guard;
    auto layout = LayoutWithBase();
    layout->SetColor(256);
    TemplateInfo info;
    info.Path = "/v/Karte.kqf";
    SetCurrentTemplateInfo(info);
    UpdateTemplateSettingsInfo(*layout);
    ASSERT_EQ(CurrentTemplateInfo().GetSize(), 1);

    TemplateChangeMarks marks;
    auto rows = FillTemplateSettingsList(marks, layout.get());
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows[0], (TemplateSettingsListRow{"Name", "Karte.kqf", false}));
    EXPECT_EQ(rows[5].name, "Banner-Seitenlänge");
    EXPECT_EQ(rows[8].value, "Greyvance Photo");
    EXPECT_EQ(rows[12].name, "Automatisch drehen");
    EXPECT_EQ(layout->GetDirty(), 0);

    marks.Mark(kRowInk);
    rows = FillTemplateSettingsList(marks, layout.get());
    EXPECT_TRUE(rows[8].marked);
    EXPECT_FALSE(rows[7].marked);
    EXPECT_EQ(layout->GetDirty(), 1);
    OnBindingSettled(layout.get());
    EXPECT_EQ(layout->GetDirty(), 0);
    FillTemplateSettingsList(marks, layout.get());
    EXPECT_EQ(layout->GetDirty(), 1);
    OnBindingSettled(nullptr);

    CurrentTemplateInfo().RemoveAll();
    rows = FillTemplateSettingsList(marks, nullptr);
    EXPECT_EQ(rows[0].value, "");
}

}  // namespace
}  // namespace vx::test
