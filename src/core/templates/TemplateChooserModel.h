#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/ChooseTemplateState.h"
#include "printing/PrinterEntries.h"
#include "templates/TemplateInfo.h"
#include "templates/TemplateThumbnails.h"

namespace vx {

/// The printer filter's entries: each supported printer's model once, in the given
/// order. Queue names never equal the model a template names, so the filter lists models.
std::vector<std::string> SupportedPrinterModels(const std::vector<PrinterEntry>& printers);

/// Item data of the two tree roots.
inline constexpr int32_t kTreeRootAllData = 101;
inline constexpr int32_t kTreeRootMyTemplateData = 102;

/// A root of the chooser's tree with its children's display texts.
struct TemplateTreeRoot {
    std::string text;
    int32_t data = 0;
    std::vector<std::string> children;
    bool expanded = false;
};

/// The selected tree item: a root (child -1) or one of its children; root -1: none.
struct TemplateTreeSelection {
    int root = -1;
    int child = -1;
    bool operator==(const TemplateTreeSelection&) const = default;
};

/// A line of the template list: its catalogue index and the texts of both columns.
struct TemplateListItem {
    int catalogIndex = -1;
    std::string name;      // file name with extension
    std::string modified;  // ModifiedText
};

/// The sort of a template list by a column (0 name, 1 date): a click on another column
/// sorts by it descending, a second click on the same column turns the order round.
struct TemplateListSort {
    int column = -1;
    bool descending = true;
    /// Sorts items for a click on column; false, nothing done, for a column without sort.
    bool Click(int clicked, std::vector<TemplateListItem>& items);
};

/// The template chooser without its windows: filter combos, tree, list, selection and
/// the state kept between openings. It writes the pass flags and Visible of the
/// catalogue's records and reads nothing else; every list line resolves to its record
/// by catalogue index, so templates of one file name in different folders stay apart.
class TemplateChooserModel {
public:
    /// printerModels: the supported printers' models in the manager's order (repeats
    /// are listed once). userCategories is sorted when the tree is filled.
    TemplateChooserModel(CTemplateInfoArray& catalog, std::vector<std::string> printerModels,
                         std::vector<std::string>& userCategories, const ChooseTemplateState& state);

    /// Fills everything from the state (the first opening starts afresh).
    void Open();
    /// The state to keep for the next opening.
    ChooseTemplateState Closing() const;

    // Filter combos: "Alle" first.
    const std::vector<std::string>& Printers() const { return mPrinters; }
    const std::vector<std::string>& PaperSizes() const { return mPaperSizes; }
    const std::vector<std::string>& PaperSources() const { return mPaperSources; }
    int PrinterSelection() const { return mPrinterSel; }
    int PaperSizeSelection() const { return mPaperSizeSel; }
    int PaperSourceSelection() const { return mPaperSourceSel; }
    void SelectPrinter(int index);
    void SelectPaperSize(int index);
    void SelectPaperSource(int index);

    // Tree.
    int TreeMode() const { return mTreeMode; }
    void SetTreeMode(int mode);
    const std::array<TemplateTreeRoot, 2>& Tree() const { return mTree; }
    TemplateTreeSelection TreeSelection() const { return mTreeSel; }
    std::string TreeSelectionText() const;
    void SelectTreeItem(TemplateTreeSelection selection);
    void SetRootExpanded(int root, bool expanded);

    // View and list.
    int View() const { return mView; }
    void SetView(int view);
    const std::vector<TemplateListItem>& Items() const { return mItems; }
    int SelectedItem() const { return mSelected; }
    /// Selects list line index (-1: none, as a click on empty space).
    void SelectItem(int index);
    /// A click on a column header of the report view.
    void SortByColumn(int column);
    int SortColumn() const { return mSort.column; }

    // The selected template.
    int CurrentIndex() const { return mCurrentIndex; }
    const TemplateInfo& CurrentRecord() const { return mCurrent; }
    const std::string& ChosenPath() const { return mChosenPath; }
    bool OkEnabled() const { return mCurrentIndex >= 0; }

    int Tab() const { return mTab; }
    void SetTab(int tab) { mTab = tab == 1 ? 1 : 0; }

    const TemplateThumbnails& Thumbnails() const { return mThumbnails; }

private:
    struct SizeSources {
        std::string size;
        std::vector<std::string> sources;
    };
    struct ModelSizes {
        std::string model;
        std::vector<SizeSources> sizes;
    };

    void BuildPaperMap();
    void FillPrinters(const std::string& wanted);
    void FillPaperSizes(const std::string& wanted);
    void FillPaperSources(const std::string& wanted);
    void ApplyTextFilters();
    void FillTree(bool reset, const ChooseTemplateState* remembered);
    void ApplyTreeFilter();
    void Combine();
    void FillList(int selectIndex);
    void ShowSelection();
    void ClearCurrent();
    int ListIndexOfCatalogIndex(int catalogIndex) const;

    CTemplateInfoArray& mCatalog;
    std::vector<std::string> mPrinterModels;
    std::vector<std::string>& mUserCategories;
    ChooseTemplateState mState;
    std::string mAll;

    std::vector<ModelSizes> mPaperMap;
    std::vector<std::string> mPrinters, mPaperSizes, mPaperSources;
    int mPrinterSel = 0, mPaperSizeSel = 0, mPaperSourceSel = 0;

    int mTreeMode = 0;
    std::array<TemplateTreeRoot, 2> mTree;
    TemplateTreeSelection mTreeSel;

    int mView = 1;
    std::vector<TemplateListItem> mItems;
    int mSelected = 0;
    TemplateListSort mSort;

    TemplateInfo mCurrent;
    int mCurrentIndex = -1;
    std::string mChosenPath;
    int mTab = 0;

    TemplateThumbnails mThumbnails;
};

}  // namespace vx
