#pragma once
#include <array>
#include <string>
#include <vector>

#include <wx/dataobj.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/treectrl.h>

#include "templates/TemplateChooserModel.h"
#include "templates/TemplateThumbnails.h"

namespace vx {

class CTemplateTreeCtrl;
class CTemplateDropTarget;

/// What the organiser does when its list or tree changed templates under it.
class TemplateOrganizerOwner {
public:
    virtual ~TemplateOrganizerOwner() = default;
    /// After a template rename: rebuild the thumbnails and refill the list.
    virtual void RefreshAfterRename() = 0;
    /// After a drop: rebuild the tree from scratch, the thumbnails and the list, with
    /// nothing selected.
    virtual void RefreshAfterDrop() = 0;
    /// A user category was renamed in the tree; UserCategoryList already has the new name.
    virtual void UserCategoryRenamed(const std::string& oldName, const std::string& newName) = 0;
};

/// The private data format of a template dragged from the list: its path in UTF-8.
const wxDataFormat& TemplateDragFormat();

/// The template list: a report view (name, modification date) or an icon view with the
/// 32- or 64-pixel thumbnails. Every item keeps its catalogue index as item data. In
/// the organiser (wxLC_EDIT_LABELS as extra style) its items are renamed in place and
/// dragged onto the category tree.
class CTemplateListCtrl : public wxListCtrl {
public:
    CTemplateListCtrl(wxWindow* parent, wxWindowID id, const wxSize& size, long extraStyle = 0);

    /// Makes the pictures of the icon views from the thumbnails, index-aligned.
    void SetThumbnails(const TemplateThumbnails& thumbnails);
    /// Refills the list in view (0 report, 1 small, 2 medium) and selects line selected.
    void Fill(const std::vector<TemplateListItem>& items, int view, int selected);
    /// Shows line as the only selection (-1: none), focused and scrolled into view.
    void ShowSelected(int line);

    /// Whether items can be dragged (on after construction; the chooser turns it off).
    void SetDragEnabled(bool enabled) { mDragEnabled = enabled; }
    bool DragEnabled() const { return mDragEnabled; }
    /// The organiser that refreshes after a rename, and its tree (set by the tree's
    /// RegisterDropTarget).
    void SetOrganizer(TemplateOrganizerOwner* owner, CTemplateTreeCtrl* tree);
    /// Ends an open in-place edit with the old name; false when none was open.
    bool CancelLabelEdit();
    /// Makes the organiser rebuild its thumbnails and refill its list.
    void RefreshOwner();

    /// The path being dragged from a list of this process, empty outside a drag: the
    /// drop target decides its effect from it while the data is still in flight.
    static const std::string& DraggedPath();
    /// Runs the drag of line as a drag of the mouse would (the drag loop included).
    void BeginDragOf(long line);

private:
    void OnBeginDrag(wxListEvent& event);
    void OnBeginLabelEdit(wxListEvent& event);
    void OnEndLabelEdit(wxListEvent& event);

    wxImageList mSmall{TemplateThumbnails::kSmallSide, TemplateThumbnails::kSmallSide, false};
    wxImageList mMedium{TemplateThumbnails::kMediumSide, TemplateThumbnails::kMediumSide, false};
    int mView = -1;
    bool mDragEnabled = true;
    std::string mLabelBeforeEdit;
    TemplateOrganizerOwner* mOwner = nullptr;
    CTemplateTreeCtrl* mTree = nullptr;
};

/// The category or image-mask tree: top-level roots with their item data (hidden root
/// above them). In the organiser (wxTR_EDIT_LABELS as extra style) user categories, the
/// children of the "MyTemplate" root, are renamed in place and templates dropped on them.
class CTemplateTreeCtrl : public wxTreeCtrl {
public:
    CTemplateTreeCtrl(wxWindow* parent, wxWindowID id, const wxSize& size, long extraStyle = 0);

    /// Rebuilds the items from the roots and selects selection, without an event.
    void Fill(const std::array<TemplateTreeRoot, 2>& roots, TemplateTreeSelection selection);
    void Fill(const std::vector<TemplateTreeRoot>& roots, TemplateTreeSelection selection);
    /// Which root and child item is (root -1 when none).
    TemplateTreeSelection SelectionOf(const wxTreeItemId& item) const;
    wxTreeItemId ItemOf(TemplateTreeSelection selection) const;
    /// The item data of item: 101 and 102 (103) for the roots, 0 for a child.
    int32_t DataOf(const wxTreeItemId& item) const;
    bool Filling() const { return mFilling; }

    /// Makes this tree the drop target of templates dragged from list; owner refreshes.
    void RegisterDropTarget(CTemplateListCtrl* list, TemplateOrganizerOwner* owner);
    CTemplateDropTarget* DropTarget() const { return mDropTarget; }
    /// Makes the organiser rebuild tree, thumbnails and list (after a drop).
    void RefreshOwner();
    /// Ends an open in-place edit with the old name; false when none was open.
    bool CancelLabelEdit();
    /// Ends an open in-place edit with the typed name; false when none was open.
    bool EndLabelEditNow();
    /// Sorts the children of the "MyTemplate" root and makes UserCategoryList their texts
    /// in that order; false without that root.
    bool RebuildUserCategoryList();

    /// The top-level item with text (none when missing).
    wxTreeItemId RootWithText(const std::string& text) const;
    /// Shows item as the drop target (an invalid item: none).
    void SetDropHighlight(const wxTreeItemId& item);
    wxTreeItemId DropHighlight() const { return mDropHighlight; }

protected:
    int OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) override;

private:
    void OnBeginLabelEdit(wxTreeEvent& event);
    void OnEndLabelEdit(wxTreeEvent& event);
    bool IsUserCategoryItem(const wxTreeItemId& item) const;

    std::vector<wxTreeItemId> mRoots;
    std::vector<std::vector<wxTreeItemId>> mChildren;
    bool mFilling = false;
    std::string mLabelBeforeEdit;
    wxTreeItemId mEditing;
    wxTreeItemId mDropHighlight;
    CTemplateDropTarget* mDropTarget = nullptr;  // owned by the window once registered
    TemplateOrganizerOwner* mOwner = nullptr;
};

}  // namespace vx
