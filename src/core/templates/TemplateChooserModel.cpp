#include "templates/TemplateChooserModel.h"

#include <algorithm>

#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "templates/TemplateCatalogLookup.h"
#include "templates/TemplateNames.h"
#include "templates/TemplatePropertyRows.h"

namespace vx {
namespace {

constexpr int kCategoryKeyFirst = IDS_CATEGORY_KEY_BUSINESS;
constexpr int kCategoryKeyLast = IDS_CATEGORY_KEY_SHOP;
constexpr int kMaskKeyFirst = IDS_IMAGE_MASK_KEY_A_VERSION;
constexpr int kMaskKeyLast = IDS_IMAGE_MASK_KEY_PHOTO;

void AddOnce(std::vector<std::string>& into, const std::string& text) {
    if (std::find(into.begin(), into.end(), text) == into.end()) into.push_back(text);
}

int IndexOr0(const std::vector<std::string>& entries, const std::string& wanted) {
    if (wanted.empty()) return 0;
    const auto it = std::find(entries.begin(), entries.end(), wanted);
    return it == entries.end() ? 0 : static_cast<int>(it - entries.begin());
}

}  // namespace

std::vector<std::string> SupportedPrinterModels(const std::vector<PrinterEntry>& printers) {
    std::vector<std::string> models;
    for (const PrinterEntry& entry : printers)
        if (!entry.model.empty()) AddOnce(models, entry.model);
    return models;
}

TemplateChooserModel::TemplateChooserModel(CTemplateInfoArray& catalog, std::vector<std::string> printerModels,
                                           std::vector<std::string>& userCategories,
                                           const ChooseTemplateState& state)
    : mCatalog(catalog),
      mPrinterModels(std::move(printerModels)),
      mUserCategories(userCategories),
      mState(state),
      mAll(LoadString(IDS_FILTER_ALL)) {}

void TemplateChooserModel::Open() {
    BuildPaperMap();
    if (mState.firstOpening == 0) {
        FillPrinters(mState.printer);
        FillPaperSizes(mState.paperSize);
        FillPaperSources(mState.paperSource);
        ApplyTextFilters();
        mTab = mState.tab == 1 ? 1 : 0;
        mTreeMode = mState.treeMode == 1 ? 1 : 0;
        mChosenPath = mState.templatePath;
        FillTree(false, &mState);
        mThumbnails.Build(mCatalog);
        mView = std::clamp(mState.view, 0, 2);
        // The remembered template by its path: another of the same file name is another.
        const int catalogIndex = FindTemplateByPath(mCatalog, mState.templatePath);
        Combine();
        FillList(0);
        const int line = ListIndexOfCatalogIndex(catalogIndex);
        if (line > 0) {
            mSelected = line;
            ShowSelection();
        }
    } else {
        mTab = 0;
        mTreeMode = 0;
        FillTree(true, nullptr);
        mThumbnails.Build(mCatalog);
        mView = 1;
        FillPrinters({});
        FillPaperSizes({});
        FillPaperSources({});
        for (TemplateInfo& info : mCatalog) info.PrinterPass = info.PaperSizePass = info.PaperSourcePass = 1;
        Combine();
        FillList(0);
    }
}

ChooseTemplateState TemplateChooserModel::Closing() const {
    ChooseTemplateState s;
    s.firstOpening = 0;
    s.printer = mPrinters.empty() ? std::string() : mPrinters[static_cast<size_t>(mPrinterSel)];
    s.paperSize = mPaperSizes.empty() ? std::string() : mPaperSizes[static_cast<size_t>(mPaperSizeSel)];
    s.paperSource = mPaperSources.empty() ? std::string() : mPaperSources[static_cast<size_t>(mPaperSourceSel)];
    s.treeMode = mTreeMode;
    for (int root = 0; root < 2; ++root) {
        int32_t bits = mTree[root].expanded ? kTreeItemExpanded : 0;
        if (mTreeSel.root == root && mTreeSel.child < 0) bits |= kTreeItemSelected;
        (root == 0 ? s.allState : s.myTemplateState) = bits;
    }
    s.treeSelection = TreeSelectionText();
    s.view = mView;
    s.templatePath = mCurrentIndex >= 0 ? mCurrent.Path : std::string();
    s.tab = mTab;
    return s;
}

void TemplateChooserModel::BuildPaperMap() {
    mPaperMap.clear();
    for (const TemplateInfo& info : mCatalog) {
        auto model = std::find_if(mPaperMap.begin(), mPaperMap.end(),
                                  [&](const ModelSizes& m) { return m.model == info.PrinterModel; });
        if (model == mPaperMap.end()) model = mPaperMap.insert(mPaperMap.end(), ModelSizes{info.PrinterModel, {}});
        auto size = std::find_if(model->sizes.begin(), model->sizes.end(),
                                 [&](const SizeSources& s) { return s.size == info.PaperSize; });
        if (size == model->sizes.end()) size = model->sizes.insert(model->sizes.end(), SizeSources{info.PaperSize, {}});
        AddOnce(size->sources, info.PaperSource);
    }
}

void TemplateChooserModel::FillPrinters(const std::string& wanted) {
    mPrinters = {mAll};
    for (const std::string& model : mPrinterModels) AddOnce(mPrinters, model);
    mPrinterSel = IndexOr0(mPrinters, wanted);
}

void TemplateChooserModel::FillPaperSizes(const std::string& wanted) {
    mPaperSizes = {mAll};
    const bool anyPrinter = mPrinterSel == 0;
    for (const ModelSizes& model : mPaperMap) {
        if (!anyPrinter && model.model != mPrinters[static_cast<size_t>(mPrinterSel)]) continue;
        for (const SizeSources& size : model.sizes) AddOnce(mPaperSizes, size.size);
    }
    mPaperSizeSel = IndexOr0(mPaperSizes, wanted);
}

void TemplateChooserModel::FillPaperSources(const std::string& wanted) {
    mPaperSources = {mAll};
    const bool anyPrinter = mPrinterSel == 0;
    const bool anySize = mPaperSizeSel == 0;
    for (const ModelSizes& model : mPaperMap) {
        if (!anyPrinter && model.model != mPrinters[static_cast<size_t>(mPrinterSel)]) continue;
        for (const SizeSources& size : model.sizes) {
            if (!anySize && size.size != mPaperSizes[static_cast<size_t>(mPaperSizeSel)]) continue;
            for (const std::string& source : size.sources) AddOnce(mPaperSources, source);
        }
    }
    mPaperSourceSel = IndexOr0(mPaperSources, wanted);
}

void TemplateChooserModel::ApplyTextFilters() {
    const auto pass = [](const std::vector<std::string>& entries, int sel, const std::string& value) {
        return sel == 0 || entries[static_cast<size_t>(sel)] == value ? 1 : 0;
    };
    for (TemplateInfo& info : mCatalog) {
        info.PrinterPass = pass(mPrinters, mPrinterSel, info.PrinterModel);
        info.PaperSizePass = pass(mPaperSizes, mPaperSizeSel, info.PaperSize);
        info.PaperSourcePass = pass(mPaperSources, mPaperSourceSel, info.PaperSource);
    }
}

void TemplateChooserModel::SelectPrinter(int index) {
    mPrinterSel = std::clamp(index, 0, static_cast<int>(mPrinters.size()) - 1);
    FillPaperSizes({});
    FillPaperSources({});
    ApplyTextFilters();
    Combine();
    FillList(0);
}

void TemplateChooserModel::SelectPaperSize(int index) {
    mPaperSizeSel = std::clamp(index, 0, static_cast<int>(mPaperSizes.size()) - 1);
    FillPaperSources({});
    ApplyTextFilters();
    Combine();
    FillList(0);
}

void TemplateChooserModel::SelectPaperSource(int index) {
    mPaperSourceSel = std::clamp(index, 0, static_cast<int>(mPaperSources.size()) - 1);
    ApplyTextFilters();
    Combine();
    FillList(0);
}

void TemplateChooserModel::FillTree(bool reset, const ChooseTemplateState* remembered) {
    mTree[0] = {mAll, kTreeRootAllData, {}, false};
    const int first = mTreeMode == 0 ? kCategoryKeyFirst : kMaskKeyFirst;
    const int last = mTreeMode == 0 ? kCategoryKeyLast : kMaskKeyLast;
    const int table = mTreeMode == 0 ? kTemplateCategories : kImageMasks;
    for (int id = first; id <= last; ++id) {
        std::string text = LoadString(id);
        MapTemplateCategory(text, table, true);
        mTree[0].children.push_back(std::move(text));
    }
    // The user categories are kept sorted as the tree shows them.
    std::stable_sort(mUserCategories.begin(), mUserCategories.end(),
                     [](const std::string& a, const std::string& b) { return FoldForSort(a) < FoldForSort(b); });
    mTree[1] = {LoadString(IDS_TREE_ROOT_MY_TEMPLATE), kTreeRootMyTemplateData, mUserCategories, false};

    TemplateTreeSelection selection{0, -1};
    if (reset || !remembered) {
        mTree[0].expanded = mTree[1].expanded = true;
    } else {
        mTree[0].expanded = (remembered->allState & kTreeItemExpanded) != 0;
        mTree[1].expanded = (remembered->myTemplateState & kTreeItemExpanded) != 0;
        selection = {-1, -1};
        if (remembered->allState & kTreeItemSelected) selection = {0, -1};
        else if (remembered->myTemplateState & kTreeItemSelected) selection = {1, -1};
        else
            for (int root = 0; root < 2 && selection.root < 0; ++root)
                for (size_t c = 0; c < mTree[root].children.size(); ++c)
                    if (mTree[root].children[c] == remembered->treeSelection) {
                        selection = {root, static_cast<int>(c)};
                        break;
                    }
        // With nothing to select, the flags of an earlier filter (the organiser's) would
        // decide the list: start from "Alle" instead.
        if (selection.root < 0) selection = {0, -1};
    }
    mTreeSel = selection;
    ApplyTreeFilter();
}

void TemplateChooserModel::ApplyTreeFilter() {
    const TemplateTreeRoot& root = mTree[static_cast<size_t>(std::max(mTreeSel.root, 0))];
    std::string key = TreeSelectionText();
    MapTemplateCategory(key, mTreeMode == 0 ? kTemplateCategories : kImageMasks, false);
    const bool allRoot = mTreeSel.child < 0 && root.data == kTreeRootAllData;
    const bool myRoot = mTreeSel.child < 0 && root.data == kTreeRootMyTemplateData;
    for (TemplateInfo& info : mCatalog) {
        bool pass;
        if (mTreeMode == 0) pass = TemplateHasCategory(key, info);
        else pass = info.IsUserTemplate == 1 ? info.Category == key : info.ImageMask == key;
        if (allRoot && info.IsUserTemplate == 0 && (mTreeMode == 0 || !info.ImageMask.empty())) pass = true;
        if (myRoot && info.IsUserTemplate == 1) pass = true;
        info.CategoryPass = pass ? 1 : 0;
    }
}

std::string TemplateChooserModel::TreeSelectionText() const {
    if (mTreeSel.root < 0 || mTreeSel.root > 1) return {};
    const TemplateTreeRoot& root = mTree[static_cast<size_t>(mTreeSel.root)];
    if (mTreeSel.child < 0) return root.text;
    if (mTreeSel.child >= static_cast<int>(root.children.size())) return {};
    return root.children[static_cast<size_t>(mTreeSel.child)];
}

void TemplateChooserModel::SetTreeMode(int mode) {
    mTreeMode = mode == 1 ? 1 : 0;
    FillTree(true, nullptr);
    Combine();
    FillList(0);
}

void TemplateChooserModel::SelectTreeItem(TemplateTreeSelection selection) {
    if (selection.root < 0 || selection.root > 1) return;
    if (selection.child >= static_cast<int>(mTree[static_cast<size_t>(selection.root)].children.size())) return;
    mTreeSel = {selection.root, std::max(selection.child, -1)};
    ApplyTreeFilter();
    Combine();
    FillList(0);
}

void TemplateChooserModel::SetRootExpanded(int root, bool expanded) {
    if (root == 0 || root == 1) mTree[static_cast<size_t>(root)].expanded = expanded;
}

void TemplateChooserModel::Combine() {
    for (TemplateInfo& info : mCatalog)
        info.Visible = info.PrinterPass == 1 && info.PaperSizePass == 1 && info.PaperSourcePass == 1 &&
                               info.CategoryPass == 1
                           ? 1
                           : 0;
}

void TemplateChooserModel::FillList(int selectIndex) {
    mItems.clear();
    // Each record goes on top, so the list reads in reverse catalogue order.
    for (int i = mCatalog.GetSize() - 1; i >= 0; --i) {
        const TemplateInfo& info = mCatalog.ElementAt(i);
        if (info.Visible == 1) mItems.push_back({i, TemplateFileNamePart(info.Path), info.ModifiedText});
    }
    mSort = {};
    if (mItems.empty()) {
        mSelected = -1;
        ClearCurrent();
        return;
    }
    mSelected = std::clamp(selectIndex, 0, static_cast<int>(mItems.size()) - 1);
    ShowSelection();
}

void TemplateChooserModel::ClearCurrent() {
    mCurrent = TemplateInfo();
    mCurrentIndex = -1;
    mChosenPath.clear();
}

void TemplateChooserModel::ShowSelection() {
    const TemplateInfo* info =
        mSelected >= 0 && mSelected < static_cast<int>(mItems.size())
            ? TemplateAtIndex(mCatalog, mItems[static_cast<size_t>(mSelected)].catalogIndex)
            : nullptr;
    if (!info) {
        ClearCurrent();
        return;
    }
    mCurrent = *info;
    mCurrentIndex = mItems[static_cast<size_t>(mSelected)].catalogIndex;
    mChosenPath = info->Path;
}

void TemplateChooserModel::SelectItem(int index) {
    mSelected = index >= 0 && index < static_cast<int>(mItems.size()) ? index : -1;
    ShowSelection();
}

void TemplateChooserModel::SetView(int view) {
    mView = std::clamp(view, 0, 2);
    const int current = mCurrentIndex;
    FillList(0);
    if (mItems.empty()) return;
    const int line = ListIndexOfCatalogIndex(current);
    mSelected = line >= 0 ? line : 0;
    ShowSelection();
}

int TemplateChooserModel::ListIndexOfCatalogIndex(int catalogIndex) const {
    if (catalogIndex < 0) return -1;
    for (size_t i = 0; i < mItems.size(); ++i)
        if (mItems[i].catalogIndex == catalogIndex) return static_cast<int>(i);
    return -1;
}

void TemplateChooserModel::SortByColumn(int column) {
    const int selectedCatalog =
        mSelected >= 0 && mSelected < static_cast<int>(mItems.size()) ? mItems[static_cast<size_t>(mSelected)].catalogIndex : -1;
    if (!mSort.Click(column, mItems)) return;
    if (selectedCatalog >= 0) mSelected = ListIndexOfCatalogIndex(selectedCatalog);
}

bool TemplateListSort::Click(int clicked, std::vector<TemplateListItem>& items) {
    if (clicked != 0 && clicked != 1) return false;
    descending = clicked == column ? !descending : true;
    column = clicked;
    struct Keyed {
        std::string key;
        TemplateListItem item;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(items.size());
    for (TemplateListItem& item : items) keyed.push_back({FoldForSort(column == 0 ? item.name : item.modified), std::move(item)});
    const bool down = descending;
    std::stable_sort(keyed.begin(), keyed.end(),
                     [down](const Keyed& a, const Keyed& b) { return down ? b.key < a.key : a.key < b.key; });
    items.clear();
    for (Keyed& k : keyed) items.push_back(std::move(k.item));
    return true;
}

}  // namespace vx
