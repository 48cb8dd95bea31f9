#include <memory>
#include <string>
#include <vector>

#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "../core/templates/OrganizerFolder.h"
#include "../uicontrols/GalleryFixture.h"
#include "platform/system/StringTable.h"
#include "templates/TemplateCatalogLookup.h"
#include "templates/UserCategoryFile.h"
#include "ui/dialogs/TemplateDropTarget.h"
#include "ui/dialogs/TemplateListControls.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::ReadFileBytes;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

/// The organiser's list and tree over the catalogue, refilled as the organiser would:
/// the tree's three roots with the user categories under "MyTemplate", the list with
/// every record.
class OrganizerFrameTest : public Gallery, public TemplateOrganizerOwner {
protected:
    void SetUp() override {
        Gallery::SetUp();
        mFixture = std::make_unique<test::OrganizerFolder>();
        auto* sizer = new wxBoxSizer(wxHORIZONTAL);
        mTree = new CTemplateTreeCtrl(mPanel, 1000, wxSize(180, 300), wxTR_EDIT_LABELS);
        mList = new CTemplateListCtrl(mPanel, 3885, wxSize(300, 300), wxLC_EDIT_LABELS);
        sizer->Add(mTree, 0, wxEXPAND | wxALL, 6);
        sizer->Add(mList, 1, wxEXPAND | wxALL, 6);
        mPanel->SetSizer(sizer);
        mFrame->Layout();
        mTree->RegisterDropTarget(mList, this);
        FillTree();
        FillList();
        Pump(100);
    }
    void TearDown() override {
        Gallery::TearDown();
        mFixture.reset();
    }

    void FillTree() {
        std::vector<TemplateTreeRoot> roots(3);
        roots[0] = {LoadString(IDS_TREE_MODE_CATEGORY), 101, {"Privatfoto", "Allgemein"}, true};
        roots[1] = {LoadString(IDS_TREE_MODE_IMAGE_MASK), 102, {"Foto"}, true};
        roots[2] = {LoadString(IDS_TREE_ROOT_MY_TEMPLATE), 103, UserCategoryList(), true};
        mTree->Fill(roots, {2, -1});
        mTree->RebuildUserCategoryList();
    }
    void FillList() {
        std::vector<TemplateListItem> items;
        const CTemplateInfoArray& catalog = TemplateCatalog();
        for (int i = 0; i < catalog.GetSize(); ++i)
            items.push_back({i, fs::path(catalog.ElementAt(i).Path).filename().string(), "11.12.26 10:00"});
        mList->Fill(items, 0, -1);
    }
    long LineOf(const std::string& name) const { return mList->FindItem(-1, wxString::FromUTF8(name)); }
    wxTreeItemId Category(const std::string& text) const {
        const wxTreeItemId root = mTree->RootWithText(LoadString(IDS_TREE_ROOT_MY_TEMPLATE));
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = mTree->GetFirstChild(root, cookie); c.IsOk(); c = mTree->GetNextChild(root, cookie))
            if (mTree->GetItemText(c).utf8_string() == text) return c;
        return {};
    }
    wxPoint CentreOf(const wxTreeItemId& item) const {
        wxRect rect;
        EXPECT_TRUE(mTree->GetBoundingRect(item, rect, true));
        return {rect.x + rect.width / 2, rect.y + rect.height / 2};
    }
    std::vector<std::string> CategoryTexts() const {
        std::vector<std::string> texts;
        const wxTreeItemId root = mTree->RootWithText(LoadString(IDS_TREE_ROOT_MY_TEMPLATE));
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = mTree->GetFirstChild(root, cookie); c.IsOk(); c = mTree->GetNextChild(root, cookie))
            texts.push_back(mTree->GetItemText(c).utf8_string());
        return texts;
    }

    void RefreshAfterRename() override {
        ++mRenameRefreshes;
        FillList();
    }
    void RefreshAfterDrop() override {
        ++mDropRefreshes;
        FillTree();
        FillList();
    }
    void UserCategoryRenamed(const std::string& oldName, const std::string& newName) override {
        mCategoryRenames.push_back(oldName + ">" + newName);
    }

    std::unique_ptr<test::OrganizerFolder> mFixture;
    CTemplateTreeCtrl* mTree = nullptr;
    CTemplateListCtrl* mList = nullptr;
    int mRenameRefreshes = 0;
    int mDropRefreshes = 0;
    std::vector<std::string> mCategoryRenames;
};

TEST_F(OrganizerFrameTest, TheLabelEditorRenamesATemplateWithItsImages) {
    const fs::path t = mFixture->templates;
    // A refused name: the message, the old label, no file touched.
    ASSERT_NE(mList->EditLabel(LineOf("Reise.kqt")), nullptr);
    mList->GetEditControl()->SetValue("a;b");
    mList->EndEditLabel(false);
    Pump(50);
    EXPECT_EQ(mFixture->messages.Ids(), std::vector<int>{IDS_TEMPLATE_NAME_CHARS});
    EXPECT_NE(LineOf("Reise.kqt"), -1);
    EXPECT_TRUE(fs::exists(t / "Reise.kqt"));

    // Escape's way out: the typed text is dropped.
    ASSERT_NE(mList->EditLabel(LineOf("Reise.kqt")), nullptr);
    mList->GetEditControl()->SetValue("Anders");
    EXPECT_TRUE(mList->CancelLabelEdit());
    EXPECT_FALSE(mList->CancelLabelEdit());
    Pump(50);
    EXPECT_NE(LineOf("Reise.kqt"), -1);
    EXPECT_EQ(mRenameRefreshes, 0);

    ASSERT_NE(mList->EditLabel(LineOf("Reise.kqt")), nullptr);
    mList->GetEditControl()->SetValue("Urlaub");
    Pump(100);
    SavePng(mFrame, "template_list_label_edit.png");
    mList->EndEditLabel(false);
    EXPECT_TRUE(PumpUntil([&] { return mRenameRefreshes == 1; }, 1000));
    EXPECT_EQ(LineOf("Reise.kqt"), -1);
    EXPECT_EQ(LineOf("Urlaub.kqt"), 3);  // sorted
    EXPECT_EQ(ReadFileBytes(t / "Urlaub" / "c.jpg"), std::string(1000, 'c'));
    EXPECT_TRUE(Contains(ReadFileBytes(t / "Urlaub.kqt"), "\"./Urlaub/\""));
    EXPECT_GE(FindTemplateByPath(TemplateCatalog(), (t / "Urlaub.kqt").string()), 0);

    // Under a built-in category no edit starts.
    mTree->SelectItem(mTree->RootWithText(LoadString(IDS_TREE_MODE_CATEGORY)));
    EXPECT_EQ(mList->EditLabel(LineOf("Foto.kqt")), nullptr);
    EXPECT_EQ(mList->GetEditControl(), nullptr);
}

TEST_F(OrganizerFrameTest, TheTreeRenamesAUserCategoryInPlace) {
    const wxTreeItemId kunden = Category("Kunden");
    ASSERT_TRUE(kunden.IsOk());
    // Roots and built-in categories are not edited.
    mTree->EditLabel(mTree->RootWithText(LoadString(IDS_TREE_ROOT_MY_TEMPLATE)));
    EXPECT_EQ(mTree->GetEditControl(), nullptr);
    EXPECT_FALSE(mTree->EndLabelEditNow());

    mTree->EditLabel(kunden);
    ASSERT_NE(mTree->GetEditControl(), nullptr);
    mTree->GetEditControl()->SetValue("kunden");
    EXPECT_TRUE(mTree->EndLabelEditNow());
    Pump(50);
    EXPECT_EQ(mFixture->messages.Ids(), std::vector<int>{IDS_USER_CATEGORY_EXISTS});
    EXPECT_EQ(CategoryTexts(), (std::vector<std::string>{"Kunden", "MyTemp"}));

    mTree->EditLabel(kunden);
    ASSERT_NE(mTree->GetEditControl(), nullptr);
    mTree->GetEditControl()->SetValue("Partner");
    EXPECT_TRUE(mTree->EndLabelEditNow());
    Pump(50);
    EXPECT_EQ(CategoryTexts(), (std::vector<std::string>{"MyTemp", "Partner"}));
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"MyTemp", "Partner"}));
    EXPECT_EQ(mCategoryRenames, std::vector<std::string>{"Kunden>Partner"});
    EXPECT_TRUE(Contains(ReadFileBytes(mFixture->templates / "Kundenkarte.kqt"), "\"Partner\""));
    EXPECT_TRUE(Contains(ReadFileBytes(mFixture->templates / "Mix.kqt"), "\"Kunden:Reise\""));
    EXPECT_TRUE(Contains(ReadFileBytes(UserCategoryFilePath(mFixture->Root())), "\"Partner\""));
    SavePng(mFrame, "template_tree_renamed.png");

    mTree->EditLabel(Category("MyTemp"));
    mTree->GetEditControl()->SetValue("Egal");
    EXPECT_TRUE(mTree->CancelLabelEdit());
    Pump(50);
    EXPECT_EQ(CategoryTexts(), (std::vector<std::string>{"MyTemp", "Partner"}));
}

TEST_F(OrganizerFrameTest, DropsCopyStandardAndMoveUserTemplates) {
    CTemplateDropTarget* target = mTree->DropTarget();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(mTree->GetDropTarget(), target);
    const wxPoint kunden = CentreOf(Category("Kunden"));
    const wxPoint myTemplate = CentreOf(mTree->RootWithText(LoadString(IDS_TREE_ROOT_MY_TEMPLATE)));
    const wxPoint builtIn = CentreOf(mTree->RootWithText(LoadString(IDS_TREE_MODE_CATEGORY)));

    target->SetDroppedPath(mFixture->PathOf("Foto.kqt"));
    EXPECT_EQ(target->OnEnter(kunden.x, kunden.y, wxDragMove), wxDragCopy);
    EXPECT_EQ(target->OnDragOver(myTemplate.x, myTemplate.y, wxDragMove), wxDragNone);
    EXPECT_FALSE(mTree->DropHighlight().IsOk());
    EXPECT_EQ(target->OnDragOver(builtIn.x, builtIn.y, wxDragMove), wxDragNone);
    EXPECT_EQ(target->OnDragOver(kunden.x, kunden.y, wxDragMove), wxDragCopy);
    EXPECT_EQ(mTree->DropHighlight(), Category("Kunden"));
    Pump(50);
    SavePng(mFrame, "template_drop_highlight.png");
    EXPECT_EQ(target->OnData(kunden.x, kunden.y, wxDragCopy), wxDragCopy);
    EXPECT_FALSE(mTree->DropHighlight().IsOk());
    EXPECT_TRUE(PumpUntil([&] { return mDropRefreshes == 1; }, 1000));
    EXPECT_NE(LineOf("Foto_copy(0).kqt"), -1);
    EXPECT_TRUE(fs::exists(mFixture->templates / "Foto_copy(0)" / "s.jpg"));

    // A user template moves; the root refuses it.
    target->SetDroppedPath(mFixture->PathOf("Reise.kqt"));
    EXPECT_EQ(target->OnData(myTemplate.x, myTemplate.y, wxDragMove), wxDragNone);
    target->SetDroppedPath(mFixture->PathOf("Reise.kqt"));
    const wxPoint kundenNow = CentreOf(Category("Kunden"));
    EXPECT_EQ(target->OnDragOver(kundenNow.x, kundenNow.y, wxDragCopy), wxDragMove);
    EXPECT_EQ(target->OnData(kundenNow.x, kundenNow.y, wxDragMove), wxDragMove);
    EXPECT_TRUE(PumpUntil([&] { return mDropRefreshes == 2; }, 1000));
    EXPECT_TRUE(Contains(ReadFileBytes(mFixture->templates / "Reise.kqt"), "<NameMyTemplate>\"Kunden\"</NameMyTemplate>"));
    target->OnLeave();
}

TEST_F(OrganizerFrameTest, TheOpenTemplateIsNotDragged) {
    CLayoutSetting layout(true);
    layout.Texts().documentPath = mFixture->PathOf("Reise.kqt");
    mFixture->app.active = &layout;
    mList->BeginDragOf(LineOf("Reise.kqt"));
    EXPECT_EQ(mFixture->messages.Ids(), std::vector<int>{IDS_TEMPLATE_IN_USE});
    EXPECT_TRUE(CTemplateListCtrl::DraggedPath().empty());
    mFixture->app.active = nullptr;
}

}  // namespace
}  // namespace vx
