#include "templates/TemplateInfo.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace vx {
namespace {

TemplateInfo Filled(const std::string& path) {
    TemplateInfo info;
    info.Path = path;
    info.Comment = "Notiz";
    info.PrinterPass = info.PaperSizePass = info.PaperSourcePass = info.CategoryPass = info.Visible = 1;
    info.IsBanner = info.IsAbsoluteSize = info.IsUserTemplate = 1;
    info.PreviewBytes = std::make_shared<const std::vector<uint8_t>>(std::vector<uint8_t>{0xFF, 0xD8});
    info.PreviewLength = 2;
    return info;
}

TEST(TemplateInfo, ClearEmptiesEverythingButThePreview) {
    TemplateInfo info = Filled("/t/a.kqt");
    const auto preview = info.PreviewBytes;
    info.Clear();
    EXPECT_EQ(info.Path, "");
    EXPECT_EQ(info.Comment, "");
    EXPECT_EQ(info.PrinterPass, 0);
    EXPECT_EQ(info.Visible, 0);
    EXPECT_EQ(info.IsUserTemplate, 0);
    EXPECT_EQ(info.PreviewBytes, preview);
    EXPECT_EQ(info.PreviewLength, 2);
}

TEST(CTemplateInfoArray, HoldsRecordsByValueSharingTheirPreviews) {
    CTemplateInfoArray array;
    EXPECT_EQ(array.Add(Filled("/t/a.kqt")), 0);
    EXPECT_EQ(array.Add(Filled("/t/b.kqt")), 1);
    TemplateInfo copy = array.GetAt(0);
    copy.Comment = "geändert";
    EXPECT_EQ(array.GetAt(0).Comment, "Notiz");
    EXPECT_EQ(copy.PreviewBytes, array.GetAt(0).PreviewBytes);

    array.SetAt(1, copy);
    EXPECT_EQ(array.GetAt(1).Path, "/t/a.kqt");
    EXPECT_EQ(array.GetAt(1).Comment, "geändert");

    // New elements are empty records with integers and preview 0.
    array.SetSize(4);
    EXPECT_EQ(array.GetSize(), 4);
    EXPECT_EQ(array.GetAt(3).Path, "");
    EXPECT_EQ(array.GetAt(3).PrinterPass, 0);
    EXPECT_EQ(array.GetAt(3).PreviewLength, 0);
    EXPECT_FALSE(array.GetAt(3).PreviewBytes);

    array.RemoveAt(0);
    EXPECT_EQ(array.GetSize(), 3);
    EXPECT_EQ(array.GetAt(0).Comment, "geändert");
    EXPECT_THROW(array.GetAt(3), std::out_of_range);
    EXPECT_THROW(array.SetAt(-1, copy), std::out_of_range);
    EXPECT_THROW(array.RemoveAt(3), std::out_of_range);
    array.SetSize(0);
    array.FreeExtra();
    EXPECT_TRUE(array.IsEmpty());
    // The preview outlives the records that held it as long as a copy does.
    ASSERT_TRUE(copy.PreviewBytes);
    EXPECT_EQ(copy.PreviewBytes->size(), 2u);
}

TEST(CurrentTemplateInfo, HoldsOnlyTheLatestSummary) {
    SetCurrentTemplateInfo(Filled("/t/a.kqf"));
    SetCurrentTemplateInfo(Filled("/t/b.kqf"));
    ASSERT_EQ(CurrentTemplateInfo().GetSize(), 1);
    EXPECT_EQ(CurrentTemplateInfo().GetAt(0).Path, "/t/b.kqf");
    EXPECT_NE(&CurrentTemplateInfo(), &TemplateCatalog());
    CurrentTemplateInfo().SetSize(0);
}

}  // namespace
}  // namespace vx
