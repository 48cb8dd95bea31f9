#include "ui/dialogs/TemplateDropTarget.h"

#include <algorithm>

#include "host/FatalError.h"
#include "platform/system/StringTable.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateOrganizing.h"
#include "ui/dialogs/TemplateListControls.h"

namespace vx {
namespace {

wxDragResult ResultOf(TemplateDropEffect effect) {
    switch (effect) {
        case TemplateDropEffect::Move: return wxDragMove;
        case TemplateDropEffect::Copy: return wxDragCopy;
        case TemplateDropEffect::None: break;
    }
    return wxDragNone;
}

}  // namespace

CTemplateDropTarget::CTemplateDropTarget() : mData(new wxCustomDataObject(TemplateDragFormat())) {
    SetDataObject(mData);
}

void CTemplateDropTarget::SetDroppedPath(const std::string& path) { mData->SetData(path.size(), path.data()); }

std::string CTemplateDropTarget::PathInFlight() const {
    // Over the tree the data is still in flight; a drag of this process names its path.
    if (!CTemplateListCtrl::DraggedPath().empty()) return CTemplateListCtrl::DraggedPath();
    if (mData->GetSize() == 0 || !mData->GetData()) return {};
    return std::string(static_cast<const char*>(mData->GetData()), mData->GetSize());
}

wxTreeItemId CTemplateDropTarget::CategoryAt(wxCoord x, wxCoord y) const {
    if (!mTree) return {};
    int flags = 0;
    const wxTreeItemId item = mTree->HitTest(wxPoint(x, y), flags);
    if (!item.IsOk() || item == mTree->RootWithText(LoadString(IDS_TREE_ROOT_MY_TEMPLATE))) return {};
    return IsUserCategoryName(mTree->GetItemText(item).utf8_string()) ? item : wxTreeItemId();
}

void CTemplateDropTarget::ScrollNearEdges(wxCoord x, wxCoord y) {
    const wxSize client = mTree->GetClientSize();
    int column = 0, line = 0;
    mTree->GetViewStart(&column, &line);
    if (y <= kScrollMargin)
        --line;
    else if (y >= client.y - kScrollMargin)
        ++line;
    if (x <= kScrollMargin)
        --column;
    else if (x >= client.x - kScrollMargin)
        ++column;
    mTree->Scroll(std::max(column, 0), std::max(line, 0));
}

wxDragResult CTemplateDropTarget::OnEnter(wxCoord, wxCoord, wxDragResult) {
    wxDragResult result = wxDragNone;
    RunGuarded([&] { result = ResultOf(DropEffectFor(TemplateCatalog(), PathInFlight())); });
    return result;
}

wxDragResult CTemplateDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult) {
    wxDragResult result = wxDragNone;
    RunGuarded([&] {
        const TemplateDropEffect effect = DropEffectFor(TemplateCatalog(), PathInFlight());
        if (!mTree || effect == TemplateDropEffect::None) return;
        ScrollNearEdges(x, y);
        const wxTreeItemId item = CategoryAt(x, y);
        mTree->SetDropHighlight(item);
        if (!item.IsOk()) return;
        mTree->Expand(item);
        result = ResultOf(effect);
    });
    return result;
}

wxDragResult CTemplateDropTarget::OnData(wxCoord x, wxCoord y, wxDragResult) {
    wxDragResult result = wxDragNone;
    RunGuarded([&] {
        GetData();  // outside a real drop the data object keeps what it holds
        const std::string path = PathInFlight();
        mData->SetData(0, "");
        const wxTreeItemId item = CategoryAt(x, y);
        if (mTree) mTree->SetDropHighlight({});
        if (!item.IsOk()) return;
        const TemplateDropEffect effect = DropEffectFor(TemplateCatalog(), path);
        if (!DropTemplateOnCategory(TemplateCatalog(), path, mTree->GetItemText(item).utf8_string(), GetTemplateFolder()))
            return;
        result = ResultOf(effect);
        // The tree is rebuilt once the drag loop is done with its items.
        CTemplateTreeCtrl* tree = mTree;
        tree->CallAfter([tree] { tree->RefreshOwner(); });
    });
    return result;
}

void CTemplateDropTarget::OnLeave() {
    RunGuarded([&] {
        if (mTree) mTree->SetDropHighlight({});
    });
}

}  // namespace vx
