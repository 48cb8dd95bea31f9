#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host/OrganizeTemplatesState.h"
#include "platform/system/Status.h"
#include "templates/TemplateChooserModel.h"
#include "templates/TemplateInfo.h"
#include "templates/TemplateThumbnails.h"

namespace vx {

/// Item data of the organiser's three tree roots, in their order.
inline constexpr int32_t kOrganizerRootCategoryData = 101;
inline constexpr int32_t kOrganizerRootImageMaskData = 102;
inline constexpr int32_t kOrganizerRootMyTemplateData = 103;
inline constexpr int kOrganizerRootCount = 3;
/// The index of the root "MyTemplate", whose children are the user categories.
inline constexpr int kOrganizerMyTemplateRoot = 2;

/// The template organiser without its windows: the category tree with its filter, the
/// list, the enabling of the three buttons, adding and deleting user categories and
/// deleting templates, and the state kept between openings. Every change reaches the
/// files first (the user-category file is written at once, atomically); the catalogue
/// and the user-category list follow only when it did. List lines resolve to their
/// records by catalogue index.
class OrganizerModel {
public:
    /// userCategories is kept sorted as the tree shows it; builtinKeys are the built-in
    /// category keys in their order; categoryFile is where the user categories are kept.
    OrganizerModel(CTemplateInfoArray& catalog, std::vector<std::string>& userCategories,
                   std::vector<std::string> builtinKeys, const OrganizeTemplatesState& state,
                   std::filesystem::path categoryFile);

    /// Fills tree and list from the state (the first opening starts afresh).
    void Open();
    /// The state to keep for the next opening.
    OrganizeTemplatesState Closing() const;
    /// After templates or categories changed elsewhere (a rename, a drop): builds tree,
    /// pictures and list again, keeping the selections that still exist.
    void Reload();

    // Tree.
    const std::array<TemplateTreeRoot, kOrganizerRootCount>& Tree() const { return mTree; }
    TemplateTreeSelection TreeSelection() const { return mTreeSel; }
    /// The selected item's text (empty when nothing is selected).
    std::string TreeSelectionText() const;
    void SelectTreeItem(TemplateTreeSelection selection);
    void SetRootExpanded(int root, bool expanded);

    // Buttons.
    bool AddCategoryEnabled() const;
    bool DeleteCategoryEnabled() const;
    bool DeleteTemplateEnabled() const { return mCurrentIndex >= 0; }

    // View and list.
    int View() const { return mView; }
    void SetView(int view);
    const std::vector<TemplateListItem>& Items() const { return mItems; }
    int SelectedItem() const { return mSelected; }
    /// Selects list line index (-1: none, as a click on empty space).
    void SelectItem(int index);
    /// A click on a column header of the report view: a new column sorts descending,
    /// the same column again flips the order.
    void SortByColumn(int column);

    // The selected template.
    int CurrentIndex() const { return mCurrentIndex; }
    const TemplateInfo& CurrentRecord() const { return mCurrent; }
    int Tab() const { return mTab; }
    void SetTab(int tab) { mTab = tab == 1 ? 1 : 0; }
    const TemplateThumbnails& Thumbnails() const { return mThumbnails; }

    // Changes.
    /// Adds a checked name (CheckCategoryName) as a user category.
    Status AddCategory(const std::string& name);
    /// The user category selected in the tree, or empty.
    std::string SelectedUserCategory() const;
    /// Removes the selected user category; no template file changes.
    Status DeleteSelectedCategory();
    /// 59427 when the selected template is the open layout's file.
    Status CanDeleteSelectedTemplate() const;
    /// Deletes the selected template's file and image folder, then its record and
    /// picture; 59427 or 10530 (nothing deleted) when it cannot.
    Status DeleteSelectedTemplate();

private:
    void SortUserCategories();
    void FillTree(bool reset, const OrganizeTemplatesState* remembered);
    void ApplyTreeFilter();
    void FillList(const std::string& selectPath);
    void ShowSelection();
    void ClearCurrent();
    Status SaveCategories(const std::vector<std::string>& names);

    CTemplateInfoArray& mCatalog;
    std::vector<std::string>& mUserCategories;
    std::vector<std::string> mBuiltinKeys;
    std::vector<std::string> mMaskKeys;
    OrganizeTemplatesState mState;
    std::filesystem::path mCategoryFile;

    std::array<TemplateTreeRoot, kOrganizerRootCount> mTree;
    TemplateTreeSelection mTreeSel;

    int mView = 1;
    std::vector<TemplateListItem> mItems;
    int mSelected = -1;
    TemplateListSort mSort;

    TemplateInfo mCurrent;
    int mCurrentIndex = -1;
    int mTab = 0;

    TemplateThumbnails mThumbnails;
};

}  // namespace vx
