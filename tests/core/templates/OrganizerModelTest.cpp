#include "templates/OrganizerModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OrganizerFolder.h"
#include "model/CLayoutSetting.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/StringTable.h"
#include "templates/CategoryNames.h"
#include "templates/TemplateFiles.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

struct Organizer : ::testing::Test {
    test::OrganizerFolder folder;

    OrganizerModel Open(const OrganizeTemplatesState& state = {}) {
        OrganizerModel model(TemplateCatalog(), UserCategoryList(), BuiltinCategoryKeys(), state, folder.CategoryFile());
        model.Open();
        return model;
    }
    static std::vector<std::string> Names(const OrganizerModel& model) {
        std::vector<std::string> names;
        for (const TemplateListItem& item : model.Items()) names.push_back(item.name);
        return names;
    }
    static TemplateTreeSelection Child(const OrganizerModel& model, int root, const std::string& text) {
        const auto& children = model.Tree()[static_cast<size_t>(root)].children;
        for (size_t i = 0; i < children.size(); ++i)
            if (children[i] == text) return {root, static_cast<int>(i)};
        ADD_FAILURE() << "no tree item " << text;
        return {};
    }
};

TEST_F(Organizer, FirstOpeningShowsThreeRootsAndTheBuiltInCategories) {
    OrganizerModel model = Open();
    const auto& tree = model.Tree();
    EXPECT_EQ(tree[0].text, "Kategorie");
    EXPECT_EQ(tree[1].text, "Bildmaske");
    EXPECT_EQ(tree[2].text, "MyTemplate");
    EXPECT_EQ(tree[0].data, 101);
    EXPECT_EQ(tree[2].data, 103);
    EXPECT_EQ(tree[0].children.size(), 7u);
    EXPECT_EQ(tree[0].children[4], "Allgemein");
    EXPECT_EQ(tree[1].children[6], "Foto");
    EXPECT_EQ(tree[2].children, (std::vector<std::string>{"Kunden", "MyTemp"}));
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"Kunden", "MyTemp"}));
    for (const auto& root : tree) EXPECT_TRUE(root.expanded);
    EXPECT_EQ(model.TreeSelection(), (TemplateTreeSelection{0, -1}));
    EXPECT_EQ(model.View(), 1);
    EXPECT_EQ(Names(model), std::vector<std::string>{"Foto.kqt"});
    EXPECT_EQ(model.SelectedItem(), -1);
    EXPECT_FALSE(model.AddCategoryEnabled());
    EXPECT_FALSE(model.DeleteCategoryEnabled());
    EXPECT_FALSE(model.DeleteTemplateEnabled());
    EXPECT_EQ(model.Thumbnails().Count(), 4);
}

TEST_F(Organizer, RootsAndChildrenFilterTheList) {
    // "Mix.kqt" is a user template of two categories, one of them "Kunden"; so is
    // "Zwei.kqt", added after the scan.
    TemplateInfo both;
    both.Path = (folder.templates / "Zwei.kqt").string();
    both.Category = "Kunden:Reise";
    both.IsUserTemplate = 1;
    TemplateCatalog().Add(both);
    OrganizerModel model = Open();
    struct Case {
        int root;
        std::string child;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases{
        {0, "", {"Foto.kqt"}},
        {0, "Privatfoto", {"Foto.kqt"}},
        {0, "Allgemein", {}},
        {1, "", {"Foto.kqt"}},
        {1, "Foto", {"Foto.kqt"}},
        {1, "Karte", {}},
        {2, "", {"Kundenkarte.kqt", "Reise.kqt"}},  // the whole text must be a user category
        {2, "MyTemp", {"Reise.kqt"}},
        {2, "Kunden", {"Kundenkarte.kqt", "Mix.kqt", "Zwei.kqt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.root) + " " + c.child);
        model.SelectTreeItem(c.child.empty() ? TemplateTreeSelection{c.root, -1} : Child(model, c.root, c.child));
        EXPECT_EQ(Names(model), c.names);
        for (const TemplateInfo& info : TemplateCatalog()) EXPECT_EQ(info.Visible, info.CategoryPass);
    }
}

TEST_F(Organizer, ButtonsFollowTheCategoryRules) {
    OrganizerModel model = Open();
    model.SelectTreeItem({2, -1});
    EXPECT_TRUE(model.AddCategoryEnabled());
    model.SelectTreeItem(Child(model, 2, "MyTemp"));
    EXPECT_FALSE(model.AddCategoryEnabled());
    EXPECT_FALSE(model.DeleteCategoryEnabled()) << "Reise.kqt names only MyTemp";
    model.SelectTreeItem(Child(model, 2, "Kunden"));
    EXPECT_FALSE(model.DeleteCategoryEnabled()) << "Kundenkarte.kqt names only Kunden";

    // "Mix.kqt" names "Kunden:Reise": it keeps a category when "Reise" goes.
    UserCategoryList() = {"Kunden", "MyTemp", "Reise"};
    OrganizerModel three = Open();
    three.SelectTreeItem(Child(three, 2, "Reise"));
    EXPECT_TRUE(three.DeleteCategoryEnabled());

    UserCategoryList() = {"Kunden"};
    OrganizerModel single = Open();
    single.SelectTreeItem({2, 0});
    EXPECT_FALSE(single.DeleteCategoryEnabled());

    UserCategoryList() = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    OrganizerModel full = Open();
    full.SelectTreeItem({2, -1});
    EXPECT_FALSE(full.AddCategoryEnabled());
    EXPECT_EQ(full.AddCategory("k").stringId, IDS_USER_CATEGORY_LIMIT);
}

TEST_F(Organizer, AddAndDeleteCategoryWriteTheFileFirst) {
    OrganizerModel model = Open();
    ASSERT_TRUE(model.AddCategory("Partner").ok());
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"Kunden", "MyTemp", "Partner"}));
    EXPECT_EQ(model.Tree()[2].children, UserCategoryList());
    EXPECT_EQ(test::ReadFileBytes(folder.CategoryFile()),
              "[USR_TEMPLATE_FOLDER]\nUsrTemplate0=\"Kunden\"\nUsrTemplate1=\"MyTemp\"\nUsrTemplate2=\"Partner\"\n");

    const std::string before = test::ReadFileBytes(folder.CategoryFile());
    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    EXPECT_EQ(model.AddCategory("Zweite").stringId, IDS_SAVE_FAILED);
    model.SelectTreeItem(Child(model, 2, "Partner"));
    EXPECT_EQ(model.DeleteSelectedCategory().stringId, IDS_SAVE_FAILED);
    FailAtomicWriteStepForTests(AtomicWriteStep::None);
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"Kunden", "MyTemp", "Partner"}));
    EXPECT_EQ(test::ReadFileBytes(folder.CategoryFile()), before);

    const auto templates = test::TreeSnapshot(folder.templates);
    ASSERT_TRUE(model.DeleteSelectedCategory().ok());
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"Kunden", "MyTemp"}));
    EXPECT_EQ(test::ReadFileBytes(folder.CategoryFile()),
              "[USR_TEMPLATE_FOLDER]\nUsrTemplate0=\"Kunden\"\nUsrTemplate1=\"MyTemp\"\n");
    EXPECT_EQ(model.TreeSelection(), (TemplateTreeSelection{0, -1}));
    EXPECT_EQ(test::TreeSnapshot(folder.templates), templates);
}

TEST_F(Organizer, StateIsRestoredOnReopening) {
    OrganizeTemplatesState kept;
    {
        OrganizerModel model = Open();
        model.SelectTreeItem(Child(model, 2, "MyTemp"));
        model.SetView(0);
        model.SelectItem(0);
        model.SetTab(1);
        model.SetRootExpanded(1, false);
        kept = model.Closing();
    }
    EXPECT_EQ(kept.firstOpening, 0);
    EXPECT_EQ(kept.treeSelection, "MyTemp");
    EXPECT_EQ(kept.imageMaskState, 0);
    EXPECT_EQ(kept.categoryState, kTreeItemExpanded);
    EXPECT_EQ(kept.templatePath, (folder.templates / "Reise.kqt").string());

    OrganizerModel again = Open(kept);
    EXPECT_EQ(again.TreeSelectionText(), "MyTemp");
    EXPECT_FALSE(again.Tree()[1].expanded);
    EXPECT_EQ(again.View(), 0);
    EXPECT_EQ(again.Tab(), 1);
    EXPECT_EQ(again.SelectedItem(), 0);
    EXPECT_EQ(again.CurrentRecord().Path, kept.templatePath);
    EXPECT_TRUE(again.DeleteTemplateEnabled());
    EXPECT_EQ(again.Closing(), kept);

    // A selected root wins over the text; a text found nowhere selects nothing.
    kept.myTemplateState = kTreeItemSelected;
    EXPECT_EQ(Open(kept).TreeSelection(), (TemplateTreeSelection{2, -1}));
    kept.myTemplateState = 0;
    kept.treeSelection = "Weg";
    OrganizerModel none = Open(kept);
    EXPECT_EQ(none.TreeSelection().root, -1);
    EXPECT_TRUE(none.Items().empty());
}

TEST_F(Organizer, DeletingATemplateRemovesFilesRecordAndPicture) {
    OrganizerModel model = Open();
    model.SelectItem(0);
    ASSERT_EQ(model.CurrentRecord().Path, (folder.templates / "Foto.kqt").string());
    ASSERT_TRUE(model.DeleteSelectedTemplate().ok());
    EXPECT_FALSE(fs::exists(folder.templates / "Foto.kqt"));
    EXPECT_FALSE(fs::exists(folder.templates / "Foto"));
    EXPECT_EQ(TemplateCatalog().GetSize(), 3);
    EXPECT_EQ(model.Thumbnails().Count(), 3);
    EXPECT_TRUE(model.Items().empty());
    EXPECT_FALSE(model.DeleteTemplateEnabled());
    // Nothing hidden is left behind.
    for (const auto& entry : fs::directory_iterator(folder.templates))
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
}

TEST_F(Organizer, TheOpenLayoutsTemplateIsNotDeleted) {
    CLayoutSetting open(true);
    open.Texts().documentPath = (folder.templates / "Foto.kqt").string();
    folder.app.active = &open;
    const auto before = folder.Snapshot();
    OrganizerModel model = Open();
    model.SelectItem(0);
    EXPECT_EQ(model.CanDeleteSelectedTemplate().stringId, IDS_TEMPLATE_IN_USE);
    EXPECT_EQ(model.DeleteSelectedTemplate().stringId, IDS_TEMPLATE_IN_USE);
    EXPECT_EQ(folder.Snapshot(), before);
    EXPECT_EQ(TemplateCatalog().GetSize(), 4);
    folder.app.active = nullptr;
}

TEST_F(Organizer, AFailedDeletionLeavesEverythingInPlace) {
    OrganizerModel model = Open();
    model.SelectItem(0);
    const auto before = folder.Snapshot();
    FailTemplateFileStepForTests(1);
    EXPECT_EQ(model.DeleteSelectedTemplate().stringId, IDS_TEMPLATE_NOT_DELETED);
    FailTemplateFileStepForTests(0);
    EXPECT_EQ(folder.Snapshot(), before);
    EXPECT_EQ(TemplateCatalog().GetSize(), 4);
    EXPECT_TRUE(model.DeleteTemplateEnabled());
}

TEST_F(Organizer, ColumnClicksSortDescendingFirst) {
    TemplateInfo extra;
    extra.Path = (folder.templates / "Album.kqt").string();
    extra.Category = "General";
    TemplateCatalog().Add(extra);
    OrganizerModel model = Open();
    model.SetView(0);
    model.SelectItem(1);
    model.SortByColumn(0);
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Foto.kqt", "Album.kqt"}));
    EXPECT_EQ(model.SelectedItem(), 1);
    model.SortByColumn(0);
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Album.kqt", "Foto.kqt"}));
    EXPECT_EQ(model.SelectedItem(), 0);
    EXPECT_EQ(model.CurrentRecord().Path, extra.Path);
}

}  // namespace
}  // namespace vx
