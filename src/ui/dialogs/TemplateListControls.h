#pragma once
#include <array>
#include <vector>

#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/treectrl.h>

#include "templates/TemplateChooserModel.h"
#include "templates/TemplateThumbnails.h"

namespace vx {

/// The template list: a report view (name, modification date) or an icon view with the
/// 32- or 64-pixel thumbnails. Every item keeps its catalogue index as item data.
class CTemplateListCtrl : public wxListCtrl {
public:
    CTemplateListCtrl(wxWindow* parent, wxWindowID id, const wxSize& size);

    /// Makes the pictures of the icon views from the thumbnails, index-aligned.
    void SetThumbnails(const TemplateThumbnails& thumbnails);
    /// Refills the list in view (0 report, 1 small, 2 medium) and selects line selected.
    void Fill(const std::vector<TemplateListItem>& items, int view, int selected);
    /// Shows line as the only selection (-1: none), focused and scrolled into view.
    void ShowSelected(int line);

private:
    wxImageList mSmall{TemplateThumbnails::kSmallSide, TemplateThumbnails::kSmallSide, false};
    wxImageList mMedium{TemplateThumbnails::kMediumSide, TemplateThumbnails::kMediumSide, false};
    int mView = -1;
};

/// The category or image-mask tree: roots "Alle" and "MyTemplate" with their item data.
class CTemplateTreeCtrl : public wxTreeCtrl {
public:
    CTemplateTreeCtrl(wxWindow* parent, wxWindowID id, const wxSize& size);

    /// Rebuilds the items from the roots and selects selection, without an event.
    void Fill(const std::array<TemplateTreeRoot, 2>& roots, TemplateTreeSelection selection);
    /// Which root and child item is (root -1 when none).
    TemplateTreeSelection SelectionOf(const wxTreeItemId& item) const;
    wxTreeItemId ItemOf(TemplateTreeSelection selection) const;
    /// The item data of item: 101 and 102 for the roots, 0 for a child.
    int32_t DataOf(const wxTreeItemId& item) const;
    bool Filling() const { return mFilling; }

private:
    std::array<wxTreeItemId, 2> mRoots;
    std::array<std::vector<wxTreeItemId>, 2> mChildren;
    bool mFilling = false;
};

}  // namespace vx
