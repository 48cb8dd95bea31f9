#pragma once
#include <string>

#include <wx/dnd.h>
#include <wx/treebase.h>

namespace vx {

class CTemplateListCtrl;
class CTemplateTreeCtrl;

/// The drop target of the organiser's category tree: a template dragged from its list
/// is moved (a user template) or copied (a standard one) into the user category under
/// the pointer. The tree highlights that category and scrolls near its edges.
class CTemplateDropTarget : public wxDropTarget {
public:
    /// Points nearer than this to an edge of the tree scroll it by a line or column.
    static constexpr int kScrollMargin = 10;

    CTemplateDropTarget();

    void SetListCtrl(CTemplateListCtrl* list) { mList = list; }
    void SetTreeCtrl(CTemplateTreeCtrl* tree) { mTree = tree; }

    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override;
    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override;
    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override;
    void OnLeave() override;

    /// What the dropped data holds: the template's path (a real drop fills it itself).
    void SetDroppedPath(const std::string& path);

private:
    std::string PathInFlight() const;
    /// The user category under the point, else an invalid item.
    wxTreeItemId CategoryAt(wxCoord x, wxCoord y) const;
    void ScrollNearEdges(wxCoord x, wxCoord y);

    wxCustomDataObject* mData;  // owned by the base class
    CTemplateListCtrl* mList = nullptr;
    CTemplateTreeCtrl* mTree = nullptr;
};

}  // namespace vx
