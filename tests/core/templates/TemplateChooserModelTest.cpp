#include "templates/TemplateChooserModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "templates/TemplatePropertyRows.h"

namespace vx {
namespace {

struct Rec {
    const char* path;
    const char* model;
    const char* size;
    const char* source;
    const char* category;  // key for a standard template, names for a user one
    const char* mask;
    int user;
    const char* modified;
};

// The shipped set's filter fields, two user templates and a second "Foto.kqt".
const Rec kRecords[] = {
    {"/t/Foto_A4.kqt", "TEVRA Proof 44", "A4 (210 x 297 mm)", "Einzelblatt", "Personal Photo", "Photo", 0, "26.01.05 10:00"},
    {"/t/Version_A_A3.kqt", "TEVRA Proof 44", "A3 (297 x 420 mm)", "Einzelblatt", "Commercial Photo", "A Version", 0, "26.01.04 10:00"},
    {"/t/Karte_10x15.kqt", "TEVRA Proof A3", "10 x 15 cm", "Automatisch", "Business:Shop", "Card", 0, "26.01.03 10:00"},
    {"/t/Kombination_Letter.kqt", "TEVRA Proof A3", "Letter (8.5 x 11 in)", "Einzelblatt", "Education", "Combination", 0, "26.01.02 10:00"},
    {"/t/Ohne_Maske.kqt", "TEVRA Proof A3", "10 x 15 cm", "Einzelblatt", "General", "", 0, "26.01.01 10:00"},
    {"/t/Kunden/Foto.kqt", "TEVRA Proof 24", "A2 (420 x 594 mm)", "Einzelblatt", "Kunden", "Photo", 1, "26.02.01 10:00"},
    {"/t/Reise/Foto.kqt", "TEVRA Proof 24", "A2 (420 x 594 mm)", "Einzelblatt", "Kunden:Reise", "Photo", 1, "26.02.02 10:00"},
};

CTemplateInfoArray Catalogue() {
    CTemplateInfoArray catalog;
    for (const Rec& r : kRecords) {
        TemplateInfo info;
        info.Path = r.path;
        info.PrinterModel = r.model;
        info.PaperSize = r.size;
        info.PaperSource = r.source;
        info.Category = r.category;
        info.ImageMask = r.mask;
        info.IsUserTemplate = r.user;
        info.ModifiedText = r.modified;
        info.PrinterPass = info.PaperSizePass = info.PaperSourcePass = info.CategoryPass = 1;
        catalog.Add(info);
    }
    return catalog;
}

const std::vector<PrinterEntry> kPrinters = {
    {"proof-44", "TEVRA Proof 44"}, {"proof-a3", "TEVRA Proof A3"}, {"proof-a3-office", "TEVRA Proof A3"}};

std::vector<std::string> Names(const TemplateChooserModel& model) {
    std::vector<std::string> names;
    for (const TemplateListItem& item : model.Items()) names.push_back(item.name);
    return names;
}

std::vector<std::string> Paths(const TemplateChooserModel& model, const CTemplateInfoArray& catalog) {
    std::vector<std::string> paths;
    for (const TemplateListItem& item : model.Items()) paths.push_back(catalog.ElementAt(item.catalogIndex).Path);
    return paths;
}

int ChildIndex(const TemplateChooserModel& model, int root, const std::string& text) {
    const auto& children = model.Tree()[root].children;
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i] == text) return static_cast<int>(i);
    return -1;
}

struct Chooser {
    CTemplateInfoArray catalog = Catalogue();
    std::vector<std::string> userCategories{"Reise", "Kunden"};
    TemplateChooserModel model;
    explicit Chooser(const ChooseTemplateState& state = {})
        : model(catalog, SupportedPrinterModels(kPrinters), userCategories, state) {
        model.Open();
    }
};

TEST(TemplateChooserModel, FirstOpeningListsStandardTemplatesInReverseCatalogueOrder) {
    Chooser c;
    EXPECT_EQ(Paths(c.model, c.catalog),
              (std::vector<std::string>{"/t/Ohne_Maske.kqt", "/t/Kombination_Letter.kqt", "/t/Karte_10x15.kqt",
                                        "/t/Version_A_A3.kqt", "/t/Foto_A4.kqt"}));
    EXPECT_EQ(c.model.View(), 1);
    EXPECT_EQ(c.model.SelectedItem(), 0);
    EXPECT_TRUE(c.model.OkEnabled());
    EXPECT_EQ(c.model.ChosenPath(), "/t/Ohne_Maske.kqt");
    EXPECT_TRUE(c.model.Tree()[0].expanded && c.model.Tree()[1].expanded);
    EXPECT_EQ(c.model.TreeSelection(), (TemplateTreeSelection{0, -1}));
    // The user categories are sorted as the tree shows them, and kept so.
    EXPECT_EQ(c.model.Tree()[1].children, (std::vector<std::string>{"Kunden", "Reise"}));
    EXPECT_EQ(c.userCategories, (std::vector<std::string>{"Kunden", "Reise"}));
    EXPECT_EQ(c.model.Thumbnails().Count(), c.catalog.GetSize());
    EXPECT_EQ(c.catalog.ElementAt(5).Visible, 0);
}

TEST(TemplateChooserModel, PrinterFilterListsModelsAndNarrowsSizesAndSources) {
    Chooser c;
    EXPECT_EQ(c.model.Printers(), (std::vector<std::string>{"Alle", "TEVRA Proof 44", "TEVRA Proof A3"}));
    EXPECT_EQ(c.model.PaperSizes(),
              (std::vector<std::string>{"Alle", "A4 (210 x 297 mm)", "A3 (297 x 420 mm)", "10 x 15 cm",
                                        "Letter (8.5 x 11 in)", "A2 (420 x 594 mm)"}));
    c.model.SelectPrinter(2);
    EXPECT_EQ(c.model.PaperSizes(), (std::vector<std::string>{"Alle", "10 x 15 cm", "Letter (8.5 x 11 in)"}));
    EXPECT_EQ(c.model.PaperSources(), (std::vector<std::string>{"Alle", "Automatisch", "Einzelblatt"}));
    EXPECT_EQ(Names(c.model),
              (std::vector<std::string>{"Ohne_Maske.kqt", "Kombination_Letter.kqt", "Karte_10x15.kqt"}));
    c.model.SelectPaperSize(1);
    EXPECT_EQ(c.model.PaperSources(), (std::vector<std::string>{"Alle", "Automatisch", "Einzelblatt"}));
    c.model.SelectPaperSource(1);
    EXPECT_EQ(Names(c.model), (std::vector<std::string>{"Karte_10x15.kqt"}));
    // Another printer starts its size and source from "Alle" again.
    c.model.SelectPrinter(1);
    EXPECT_EQ(c.model.PaperSizeSelection(), 0);
    EXPECT_EQ(c.model.PaperSourceSelection(), 0);
    EXPECT_EQ(Names(c.model), (std::vector<std::string>{"Version_A_A3.kqt", "Foto_A4.kqt"}));
}

TEST(TemplateChooserModel, CategoryTreeFiltersByKeyRootAndUserCategory) {
    Chooser c;
    c.model.SelectTreeItem({0, ChildIndex(c.model, 0, "Werkstatt")});
    EXPECT_EQ(Names(c.model), (std::vector<std::string>{"Karte_10x15.kqt"}));
    c.model.SelectTreeItem({1, -1});
    EXPECT_EQ(Paths(c.model, c.catalog), (std::vector<std::string>{"/t/Reise/Foto.kqt", "/t/Kunden/Foto.kqt"}));
    c.model.SelectTreeItem({1, ChildIndex(c.model, 1, "Kunden")});
    EXPECT_EQ(Paths(c.model, c.catalog), (std::vector<std::string>{"/t/Reise/Foto.kqt", "/t/Kunden/Foto.kqt"}));
    c.model.SelectTreeItem({1, ChildIndex(c.model, 1, "Reise")});
    EXPECT_EQ(Paths(c.model, c.catalog), (std::vector<std::string>{"/t/Reise/Foto.kqt"}));
}

TEST(TemplateChooserModel, ImageMaskTreeMatchesUserTemplatesByWholeCategoryText) {
    Chooser c;
    c.model.SetTreeMode(1);
    EXPECT_EQ(c.model.TreeSelection(), (TemplateTreeSelection{0, -1}));
    // Root "Alle": standard templates with a mask only.
    EXPECT_EQ(Names(c.model), (std::vector<std::string>{"Kombination_Letter.kqt", "Karte_10x15.kqt",
                                                        "Version_A_A3.kqt", "Foto_A4.kqt"}));
    c.model.SelectTreeItem({1, ChildIndex(c.model, 1, "Reise")});
    EXPECT_TRUE(c.model.Items().empty());
    // A category named exactly like the joined text holds it.
    c.userCategories.push_back("Kunden:Reise");
    c.model.SetTreeMode(1);
    c.model.SelectTreeItem({1, ChildIndex(c.model, 1, "Kunden:Reise")});
    EXPECT_EQ(Paths(c.model, c.catalog), (std::vector<std::string>{"/t/Reise/Foto.kqt"}));
}

TEST(TemplateChooserModel, SameFileNameInTwoFoldersResolvesByCatalogueIndex) {
    Chooser c;
    c.model.SelectTreeItem({1, -1});
    ASSERT_EQ(Names(c.model), (std::vector<std::string>{"Foto.kqt", "Foto.kqt"}));
    c.model.SelectItem(1);
    EXPECT_EQ(c.model.ChosenPath(), "/t/Kunden/Foto.kqt");
    EXPECT_EQ(c.model.CurrentIndex(), 5);
    c.model.SelectItem(0);
    EXPECT_EQ(c.model.ChosenPath(), "/t/Reise/Foto.kqt");
    // A view change keeps the very record selected.
    c.model.SelectItem(1);
    c.model.SetView(0);
    EXPECT_EQ(c.model.SelectedItem(), 1);
    EXPECT_EQ(c.model.ChosenPath(), "/t/Kunden/Foto.kqt");
    // And so does reopening.
    const ChooseTemplateState kept = c.model.Closing();
    Chooser again(kept);
    EXPECT_EQ(again.model.ChosenPath(), "/t/Kunden/Foto.kqt");
}

TEST(TemplateChooserModel, EmptyCatalogueGivesEmptyListAndNoChoice) {
    CTemplateInfoArray catalog;
    std::vector<std::string> categories;
    TemplateChooserModel model(catalog, {}, categories, {});
    model.Open();
    EXPECT_TRUE(model.Items().empty());
    EXPECT_FALSE(model.OkEnabled());
    EXPECT_EQ(model.ChosenPath(), "");
    EXPECT_EQ(model.SelectedItem(), -1);
    EXPECT_EQ(MakeTemplatePropertyRows(model.CurrentRecord())[0].value, "-");
    model.SelectItem(0);
    EXPECT_FALSE(model.OkEnabled());
}

TEST(TemplateChooserModel, ClickOnEmptySpaceClearsTheChoice) {
    Chooser c;
    c.model.SelectItem(-1);
    EXPECT_FALSE(c.model.OkEnabled());
    EXPECT_EQ(c.model.ChosenPath(), "");
    EXPECT_EQ(c.model.CurrentRecord().Path, "");
}

TEST(TemplateChooserModel, FirstColumnClickSortsDescendingAndSelectionFollows) {
    Chooser c;
    c.model.SetView(0);
    c.model.SelectItem(2);  // Karte_10x15.kqt
    c.model.SortByColumn(0);
    EXPECT_EQ(Names(c.model), (std::vector<std::string>{"Version_A_A3.kqt", "Ohne_Maske.kqt", "Kombination_Letter.kqt",
                                                        "Karte_10x15.kqt", "Foto_A4.kqt"}));
    EXPECT_EQ(c.model.Items()[c.model.SelectedItem()].name, "Karte_10x15.kqt");
    c.model.SortByColumn(0);
    EXPECT_EQ(Names(c.model).front(), "Foto_A4.kqt");
    // Another column starts descending again.
    c.model.SortByColumn(1);
    EXPECT_EQ(Names(c.model).front(), "Foto_A4.kqt");
    EXPECT_EQ(Names(c.model).back(), "Ohne_Maske.kqt");
    // Case does not count.
    c.catalog.ElementAt(0).Path = "/t/aaa.kqt";
    c.model.SetView(0);
    c.model.SortByColumn(0);
    c.model.SortByColumn(0);
    EXPECT_EQ(Names(c.model).front(), "aaa.kqt");
}

TEST(TemplateChooserModel, CancelAndReopenRestoresEveryChoice) {
    Chooser c;
    c.model.SelectPrinter(2);
    c.model.SelectPaperSize(1);
    c.model.SelectTreeItem({0, ChildIndex(c.model, 0, "Werkstatt")});
    c.model.SetRootExpanded(1, false);
    c.model.SetView(2);
    c.model.SetTab(1);
    const ChooseTemplateState kept = c.model.Closing();
    EXPECT_EQ(kept.firstOpening, 0);
    EXPECT_EQ(kept.printer, "TEVRA Proof A3");
    EXPECT_EQ(kept.paperSize, "10 x 15 cm");
    EXPECT_EQ(kept.paperSource, "Alle");
    EXPECT_EQ(kept.treeSelection, "Werkstatt");
    EXPECT_EQ(kept.allState, kTreeItemExpanded);
    EXPECT_EQ(kept.myTemplateState, 0);

    // The organiser rewrites the flags meanwhile.
    for (TemplateInfo& info : c.catalog) info.CategoryPass = info.Visible = 1;
    TemplateChooserModel again(c.catalog, SupportedPrinterModels(kPrinters), c.userCategories, kept);
    again.Open();
    EXPECT_EQ(again.PrinterSelection(), 2);
    EXPECT_EQ(again.PaperSizes()[again.PaperSizeSelection()], "10 x 15 cm");
    EXPECT_EQ(again.TreeSelectionText(), "Werkstatt");
    EXPECT_EQ(again.View(), 2);
    EXPECT_EQ(again.Tab(), 1);
    EXPECT_FALSE(again.Tree()[1].expanded);
    EXPECT_EQ(Names(again), (std::vector<std::string>{"Karte_10x15.kqt"}));
    EXPECT_EQ(again.ChosenPath(), "/t/Karte_10x15.kqt");
    EXPECT_EQ(again.Closing(), kept);

    // A remembered tree text that no longer exists falls back to "Alle".
    ChooseTemplateState gone = kept;
    gone.treeSelection = "Verschwunden";
    gone.printer = "Nicht da";
    TemplateChooserModel third(c.catalog, SupportedPrinterModels(kPrinters), c.userCategories, gone);
    third.Open();
    EXPECT_EQ(third.TreeSelection(), (TemplateTreeSelection{0, -1}));
    EXPECT_EQ(third.PrinterSelection(), 0);
    // The remembered size is still offered for every printer, so it still applies.
    EXPECT_EQ(Names(third), (std::vector<std::string>{"Ohne_Maske.kqt", "Karte_10x15.kqt"}));
}

}  // namespace
}  // namespace vx
