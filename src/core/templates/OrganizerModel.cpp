#include "templates/OrganizerModel.h"

#include <algorithm>

#include "host/ChooseTemplateState.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "templates/CategoryNames.h"
#include "templates/TemplateCatalogLookup.h"
#include "templates/TemplateFiles.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateNames.h"
#include "templates/TemplatePropertyRows.h"

namespace vx {
namespace {

bool Contains(const std::vector<std::string>& names, const std::string& text) {
    return std::find(names.begin(), names.end(), text) != names.end();
}

}  // namespace

OrganizerModel::OrganizerModel(CTemplateInfoArray& catalog, std::vector<std::string>& userCategories,
                               std::vector<std::string> builtinKeys, const OrganizeTemplatesState& state,
                               std::filesystem::path categoryFile)
    : mCatalog(catalog),
      mUserCategories(userCategories),
      mBuiltinKeys(std::move(builtinKeys)),
      mState(state),
      mCategoryFile(std::move(categoryFile)) {
    if (mBuiltinKeys.empty())
        for (int id = IDS_CATEGORY_KEY_BUSINESS; id <= IDS_CATEGORY_KEY_SHOP; ++id) mBuiltinKeys.push_back(LoadString(id));
    for (int id = IDS_IMAGE_MASK_KEY_A_VERSION; id <= IDS_IMAGE_MASK_KEY_PHOTO; ++id) mMaskKeys.push_back(LoadString(id));
}

void OrganizerModel::Open() {
    mThumbnails.Build(mCatalog);
    if (mState.firstOpening != 1) {
        mTab = mState.tab == 1 ? 1 : 0;
        mView = std::clamp(mState.view, 0, 2);
        FillTree(false, &mState);
        FillList(mState.templatePath);
    } else {
        mTab = 0;
        mView = 1;
        FillTree(true, nullptr);
    }
}

OrganizeTemplatesState OrganizerModel::Closing() const {
    OrganizeTemplatesState s;
    s.firstOpening = 0;
    int32_t* states[kOrganizerRootCount] = {&s.categoryState, &s.imageMaskState, &s.myTemplateState};
    for (int root = 0; root < kOrganizerRootCount; ++root) {
        int32_t bits = mTree[static_cast<size_t>(root)].expanded ? kTreeItemExpanded : 0;
        if (mTreeSel.root == root && mTreeSel.child < 0) bits |= kTreeItemSelected;
        *states[root] = bits;
    }
    s.treeSelection = TreeSelectionText();
    s.view = mView;
    s.templatePath = mCurrentIndex >= 0 ? mCurrent.Path : std::string();
    s.tab = mTab;
    return s;
}

void OrganizerModel::Reload() {
    const OrganizeTemplatesState now = Closing();
    mThumbnails.Build(mCatalog);
    FillTree(false, &now);
    FillList(now.templatePath);
}

void OrganizerModel::SortUserCategories() {
    std::stable_sort(mUserCategories.begin(), mUserCategories.end(),
                     [](const std::string& a, const std::string& b) { return FoldForSort(a) < FoldForSort(b); });
}

void OrganizerModel::FillTree(bool reset, const OrganizeTemplatesState* remembered) {
    SortUserCategories();
    mTree[0] = {LoadString(IDS_TREE_MODE_CATEGORY), kOrganizerRootCategoryData, {}, false};
    for (std::string text : mBuiltinKeys) {
        MapTemplateCategory(text, kTemplateCategories, true);
        mTree[0].children.push_back(std::move(text));
    }
    mTree[1] = {LoadString(IDS_TREE_MODE_IMAGE_MASK), kOrganizerRootImageMaskData, {}, false};
    for (std::string text : mMaskKeys) {
        MapTemplateCategory(text, kImageMasks, true);
        mTree[1].children.push_back(std::move(text));
    }
    mTree[2] = {LoadString(IDS_TREE_ROOT_MY_TEMPLATE), kOrganizerRootMyTemplateData, {}, false};
    for (std::string text : mUserCategories) {
        MapTemplateCategory(text, kCategoriesAndImageMasks, true);
        mTree[2].children.push_back(std::move(text));
    }

    TemplateTreeSelection selection{0, -1};
    if (reset || !remembered) {
        for (TemplateTreeRoot& root : mTree) root.expanded = true;
    } else {
        const int32_t bits[kOrganizerRootCount] = {remembered->categoryState, remembered->imageMaskState,
                                                   remembered->myTemplateState};
        selection = {-1, -1};
        for (int root = 0; root < kOrganizerRootCount; ++root) {
            mTree[static_cast<size_t>(root)].expanded = (bits[root] & kTreeItemExpanded) != 0;
            if (selection.root < 0 && (bits[root] & kTreeItemSelected)) selection = {root, -1};
        }
        for (int root = 0; root < kOrganizerRootCount && selection.root < 0; ++root) {
            const std::vector<std::string>& children = mTree[static_cast<size_t>(root)].children;
            for (size_t c = 0; c < children.size(); ++c)
                if (children[c] == remembered->treeSelection) {
                    selection = {root, static_cast<int>(c)};
                    break;
                }
        }
    }
    mTreeSel = selection;
    ApplyTreeFilter();
    FillList({});
}

std::string OrganizerModel::TreeSelectionText() const {
    if (mTreeSel.root < 0 || mTreeSel.root >= kOrganizerRootCount) return {};
    const TemplateTreeRoot& root = mTree[static_cast<size_t>(mTreeSel.root)];
    if (mTreeSel.child < 0) return root.text;
    if (mTreeSel.child >= static_cast<int>(root.children.size())) return {};
    return root.children[static_cast<size_t>(mTreeSel.child)];
}

void OrganizerModel::ApplyTreeFilter() {
    const int root = mTreeSel.root;
    const bool isRoot = mTreeSel.child < 0;
    std::string key = TreeSelectionText();
    if (!isRoot && root == 1) MapTemplateCategory(key, kImageMasks, false);
    if (!isRoot && root != 1) MapTemplateCategory(key, kTemplateCategories, false);
    // A user category's own name, whatever its display text.
    if (!isRoot && root == kOrganizerMyTemplateRoot) key = SelectedUserCategory();
    for (TemplateInfo& info : mCatalog) {
        bool shown = false;
        if (root < 0) shown = false;
        else if (isRoot && root == 0) shown = Contains(mBuiltinKeys, info.Category);
        else if (isRoot && root == 1) shown = Contains(mMaskKeys, info.ImageMask);
        else if (isRoot) shown = Contains(mUserCategories, info.Category);
        else if (root == 1) shown = info.ImageMask == key;
        else shown = TemplateHasCategory(key, info);
        info.CategoryPass = info.Visible = shown ? 1 : 0;
    }
}

void OrganizerModel::SelectTreeItem(TemplateTreeSelection selection) {
    if (selection.root < 0 || selection.root >= kOrganizerRootCount) return;
    if (selection.child >= static_cast<int>(mTree[static_cast<size_t>(selection.root)].children.size())) return;
    mTreeSel = {selection.root, std::max(selection.child, -1)};
    ApplyTreeFilter();
    FillList({});
}

void OrganizerModel::SetRootExpanded(int root, bool expanded) {
    if (root >= 0 && root < kOrganizerRootCount) mTree[static_cast<size_t>(root)].expanded = expanded;
}

bool OrganizerModel::AddCategoryEnabled() const {
    return mTreeSel.root == kOrganizerMyTemplateRoot && mTreeSel.child < 0 &&
           mUserCategories.size() < kMaxUserCategories;
}

std::string OrganizerModel::SelectedUserCategory() const {
    if (mTreeSel.root != kOrganizerMyTemplateRoot || mTreeSel.child < 0 ||
        mTreeSel.child >= static_cast<int>(mUserCategories.size()))
        return {};
    return mUserCategories[static_cast<size_t>(mTreeSel.child)];
}

bool OrganizerModel::DeleteCategoryEnabled() const {
    const std::string name = SelectedUserCategory();
    if (name.empty() || mUserCategories.size() < 2) return false;
    // A template naming only this category would be left without one.
    return std::none_of(mCatalog.begin(), mCatalog.end(), [&](const TemplateInfo& info) { return info.Category == name; });
}

void OrganizerModel::FillList(const std::string& selectPath) {
    mItems.clear();
    for (int i = 0; i < mCatalog.GetSize(); ++i) {
        const TemplateInfo& info = mCatalog.ElementAt(i);
        if (info.Visible == 1) mItems.push_back({i, TemplateFileNamePart(info.Path), info.ModifiedText});
    }
    mSort = {};
    mSelected = -1;
    if (!selectPath.empty())
        for (size_t i = 0; i < mItems.size(); ++i)
            if (mCatalog.ElementAt(mItems[i].catalogIndex).Path == selectPath) mSelected = static_cast<int>(i);
    ShowSelection();
}

void OrganizerModel::ClearCurrent() {
    mCurrent = TemplateInfo();
    mCurrentIndex = -1;
}

void OrganizerModel::ShowSelection() {
    const TemplateInfo* info = mSelected >= 0 && mSelected < static_cast<int>(mItems.size())
                                   ? TemplateAtIndex(mCatalog, mItems[static_cast<size_t>(mSelected)].catalogIndex)
                                   : nullptr;
    if (!info) {
        ClearCurrent();
        return;
    }
    mCurrent = *info;
    mCurrentIndex = mItems[static_cast<size_t>(mSelected)].catalogIndex;
}

void OrganizerModel::SelectItem(int index) {
    mSelected = index >= 0 && index < static_cast<int>(mItems.size()) ? index : -1;
    ShowSelection();
}

void OrganizerModel::SetView(int view) {
    mView = std::clamp(view, 0, 2);
    FillList(mCurrentIndex >= 0 ? mCurrent.Path : std::string());
}

void OrganizerModel::SortByColumn(int column) {
    if (!mSort.Click(column, mItems)) return;
    mSelected = -1;
    for (size_t i = 0; i < mItems.size() && mCurrentIndex >= 0; ++i)
        if (mItems[i].catalogIndex == mCurrentIndex) mSelected = static_cast<int>(i);
}

Status OrganizerModel::SaveCategories(const std::vector<std::string>& names) {
    return WriteUserCategoryFile(names, mCategoryFile);
}

Status OrganizerModel::AddCategory(const std::string& name) {
    if (name.empty()) return {};
    if (mUserCategories.size() >= kMaxUserCategories) return Status(IDS_USER_CATEGORY_LIMIT);
    std::vector<std::string> names = mUserCategories;
    names.push_back(name);
    if (Status st = SaveCategories(names); !st) return st;
    mUserCategories = std::move(names);
    FillTree(true, nullptr);
    return {};
}

Status OrganizerModel::DeleteSelectedCategory() {
    if (!DeleteCategoryEnabled()) return {};
    std::vector<std::string> names = mUserCategories;
    names.erase(names.begin() + mTreeSel.child);
    if (Status st = SaveCategories(names); !st) return st;
    mUserCategories = std::move(names);
    FillTree(true, nullptr);
    return {};
}

Status OrganizerModel::CanDeleteSelectedTemplate() const {
    if (mCurrentIndex >= 0 && IsActiveDocumentFile(mCurrent.Path)) return Status(IDS_TEMPLATE_IN_USE);
    return {};
}

Status OrganizerModel::DeleteSelectedTemplate() {
    if (mCurrentIndex < 0) return {};
    if (Status st = CanDeleteSelectedTemplate(); !st) return st;
    const std::string path = mCurrent.Path;
    if (!DeleteTemplateFiles(path)) return Status(IDS_TEMPLATE_NOT_DELETED);
    const int index = FindTemplateByPath(mCatalog, path);
    if (index >= 0) mCatalog.RemoveAt(index);
    mThumbnails.Build(mCatalog);
    ClearCurrent();
    ApplyTreeFilter();
    FillList({});
    return {};
}

}  // namespace vx
