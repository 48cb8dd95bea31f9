#include "ui/dialogs/TemplateListControls.h"

#include <algorithm>

#include <wx/bitmap.h>
#include <wx/dnd.h>
#include <wx/image.h>
#include <wx/textctrl.h>

#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "templates/TemplateCatalogLookup.h"
#include "templates/TemplateOrganizing.h"
#include "templates/UserCategories.h"
#include "templates/UserCategoryFile.h"
#include "ui/dialogs/TemplateDropTarget.h"

namespace vx {
namespace {

wxString U(const std::string& text) { return wxString::FromUTF8(text); }

wxBitmap BitmapOf(const gfx::ImageSurface& surface, int side) {
    wxImage image(side, side, false);
    if (surface.Valid() && surface.Width() == side && surface.Height() == side) {
        unsigned char* rgb = image.GetData();
        for (int y = 0; y < side; ++y) {
            const uint8_t* row = surface.Data() + static_cast<size_t>(y) * static_cast<size_t>(surface.Stride());
            for (int x = 0; x < side; ++x, rgb += 3) {
                rgb[0] = row[4 * x + 2];
                rgb[1] = row[4 * x + 1];
                rgb[2] = row[4 * x + 0];
            }
        }
    } else {
        image.SetRGB(wxRect(0, 0, side, side), 255, 255, 255);
    }
    return wxBitmap(image);
}

class RootData : public wxTreeItemData {
public:
    explicit RootData(int32_t data) : data(data) {}
    int32_t data;
};

std::string& DraggedPathStore() {
    static std::string path;
    return path;
}

}  // namespace

const wxDataFormat& TemplateDragFormat() {
    static const wxDataFormat format("application/x-vellicorex-template");
    return format;
}

CTemplateListCtrl::CTemplateListCtrl(wxWindow* parent, wxWindowID id, const wxSize& size, long extraStyle)
    : wxListCtrl(parent, id, wxDefaultPosition, size, wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN | extraStyle) {
    Bind(wxEVT_LIST_BEGIN_DRAG, &CTemplateListCtrl::OnBeginDrag, this);
    Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, &CTemplateListCtrl::OnBeginLabelEdit, this);
    Bind(wxEVT_LIST_END_LABEL_EDIT, &CTemplateListCtrl::OnEndLabelEdit, this);
}

void CTemplateListCtrl::SetOrganizer(TemplateOrganizerOwner* owner, CTemplateTreeCtrl* tree) {
    mOwner = owner;
    mTree = tree;
}

bool CTemplateListCtrl::CancelLabelEdit() {
    if (!GetEditControl()) return false;
    EndEditLabel(true);
    SetFocus();
    return true;
}

void CTemplateListCtrl::RefreshOwner() {
    if (mOwner) mOwner->RefreshAfterRename();
}

const std::string& CTemplateListCtrl::DraggedPath() { return DraggedPathStore(); }

void CTemplateListCtrl::OnBeginDrag(wxListEvent& event) {
    if (mDragEnabled) BeginDragOf(event.GetIndex());
}

void CTemplateListCtrl::BeginDragOf(long line) {
    if (line < 0 || line >= GetItemCount()) return;
    const TemplateInfo* record = TemplateAtIndex(TemplateCatalog(), static_cast<int>(GetItemData(line)));
    if (!record || RefuseOpenTemplate(*record)) return;
    const std::string path = record->Path;
    wxCustomDataObject data(TemplateDragFormat());
    data.SetData(path.size(), path.data());
    DraggedPathStore() = path;
    wxDropSource source(data, this);
    const wxDragResult result = source.DoDragDrop(wxDrag_AllowMove);
    DraggedPathStore().clear();
    if (result != wxDragCopy && result != wxDragMove && mTree) mTree->SetDropHighlight({});
}

void CTemplateListCtrl::OnBeginLabelEdit(wxListEvent& event) {
    mLabelBeforeEdit = GetItemText(event.GetIndex()).utf8_string();
    const wxTreeItemId category = mTree ? mTree->GetSelection() : wxTreeItemId();
    if (!category.IsOk() || !CanRenameTemplatesUnder(mTree->GetItemText(category).utf8_string())) event.Veto();
}

void CTemplateListCtrl::OnEndLabelEdit(wxListEvent& event) {
    if (event.IsEditCancelled()) return;
    const long line = event.GetIndex();
    // The control shows no typed text: only a name the files were renamed to.
    event.Veto();
    const std::optional<std::string> name =
        RenameTemplate(TemplateCatalog(), static_cast<int>(GetItemData(line)), event.GetLabel().utf8_string());
    if (!name) return;
    SetItemText(line, U(*name));
    // The catalogue was sorted again: lines and thumbnails follow once the edit is over.
    CallAfter([this] { RefreshOwner(); });
}

void CTemplateListCtrl::SetThumbnails(const TemplateThumbnails& thumbnails) {
    mSmall.RemoveAll();
    mMedium.RemoveAll();
    for (int i = 0; i < thumbnails.Count(); ++i) {
        mSmall.Add(BitmapOf(thumbnails.Small(i), TemplateThumbnails::kSmallSide));
        mMedium.Add(BitmapOf(thumbnails.Medium(i), TemplateThumbnails::kMediumSide));
    }
}

void CTemplateListCtrl::Fill(const std::vector<TemplateListItem>& items, int view, int selected) {
    Freeze();
    ClearAll();
    if (view == 0) {
        SetSingleStyle(wxLC_REPORT);
        const int usable = std::max(60, GetClientSize().x);
        AppendColumn(U(LoadString(IDS_COLUMN_FILE_NAME)), wxLIST_FORMAT_LEFT, usable * 2 / 3);
        AppendColumn(U(LoadString(IDS_COLUMN_MODIFIED)), wxLIST_FORMAT_LEFT, usable / 3);
    } else {
        SetSingleStyle(wxLC_ICON);
        SetImageList(view == 1 ? &mSmall : &mMedium, wxIMAGE_LIST_NORMAL);
    }
    mView = view;
    for (size_t i = 0; i < items.size(); ++i) {
        const TemplateListItem& item = items[i];
        const long line = view == 0 ? InsertItem(static_cast<long>(i), U(item.name))
                                    : InsertItem(static_cast<long>(i), U(item.name), item.catalogIndex);
        if (view == 0) SetItem(line, 1, U(item.modified));
        SetItemData(line, item.catalogIndex);
    }
    Thaw();
    ShowSelected(items.empty() ? -1 : selected);
}

void CTemplateListCtrl::ShowSelected(int line) {
    for (long i = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i != -1;
         i = GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        SetItemState(i, 0, wxLIST_STATE_SELECTED);
    if (line < 0 || line >= GetItemCount()) return;
    SetItemState(line, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    EnsureVisible(line);
}

CTemplateTreeCtrl::CTemplateTreeCtrl(wxWindow* parent, wxWindowID id, const wxSize& size, long extraStyle)
    : wxTreeCtrl(parent, id, wxDefaultPosition, size,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE | wxBORDER_SUNKEN | extraStyle) {
    Bind(wxEVT_TREE_BEGIN_LABEL_EDIT, &CTemplateTreeCtrl::OnBeginLabelEdit, this);
    Bind(wxEVT_TREE_END_LABEL_EDIT, &CTemplateTreeCtrl::OnEndLabelEdit, this);
}

void CTemplateTreeCtrl::Fill(const std::array<TemplateTreeRoot, 2>& roots, TemplateTreeSelection selection) {
    Fill(std::vector<TemplateTreeRoot>(roots.begin(), roots.end()), selection);
}

void CTemplateTreeCtrl::Fill(const std::vector<TemplateTreeRoot>& roots, TemplateTreeSelection selection) {
    mFilling = true;
    DeleteAllItems();
    mDropHighlight = {};
    mEditing = {};
    mRoots.clear();
    mChildren.assign(roots.size(), {});
    const wxTreeItemId hidden = AddRoot({});
    for (size_t r = 0; r < roots.size(); ++r) {
        mRoots.push_back(AppendItem(hidden, U(roots[r].text), -1, -1, new RootData(roots[r].data)));
        for (const std::string& child : roots[r].children)
            mChildren[r].push_back(AppendItem(mRoots[r], U(child), -1, -1, new RootData(0)));
        if (roots[r].expanded) Expand(mRoots[r]);
    }
    const wxTreeItemId item = ItemOf(selection);
    if (item.IsOk()) SelectItem(item);
    mFilling = false;
}

TemplateTreeSelection CTemplateTreeCtrl::SelectionOf(const wxTreeItemId& item) const {
    if (!item.IsOk()) return {};
    for (size_t r = 0; r < mRoots.size(); ++r) {
        if (item == mRoots[r]) return {static_cast<int>(r), -1};
        for (size_t c = 0; c < mChildren[r].size(); ++c)
            if (item == mChildren[r][c]) return {static_cast<int>(r), static_cast<int>(c)};
    }
    return {};
}

wxTreeItemId CTemplateTreeCtrl::ItemOf(TemplateTreeSelection selection) const {
    if (selection.root < 0 || selection.root >= static_cast<int>(mRoots.size())) return {};
    const size_t root = static_cast<size_t>(selection.root);
    if (selection.child < 0) return mRoots[root];
    if (selection.child >= static_cast<int>(mChildren[root].size())) return {};
    return mChildren[root][static_cast<size_t>(selection.child)];
}

int32_t CTemplateTreeCtrl::DataOf(const wxTreeItemId& item) const {
    const auto* data = item.IsOk() ? dynamic_cast<RootData*>(GetItemData(item)) : nullptr;
    return data ? data->data : 0;
}

void CTemplateTreeCtrl::RegisterDropTarget(CTemplateListCtrl* list, TemplateOrganizerOwner* owner) {
    mOwner = owner;
    mDropTarget = new CTemplateDropTarget();
    mDropTarget->SetListCtrl(list);
    mDropTarget->SetTreeCtrl(this);
    SetDropTarget(mDropTarget);  // the window owns it from now on
    if (list) list->SetOrganizer(owner, this);
}

void CTemplateTreeCtrl::RefreshOwner() {
    if (mOwner) mOwner->RefreshAfterDrop();
}

bool CTemplateTreeCtrl::CancelLabelEdit() {
    if (!GetEditControl() || !mEditing.IsOk()) return false;
    EndEditLabel(mEditing, true);
    SetFocus();
    return true;
}

bool CTemplateTreeCtrl::EndLabelEditNow() {
    if (!GetEditControl() || !mEditing.IsOk()) return false;
    EndEditLabel(mEditing, false);
    SetFocus();
    return true;
}

wxTreeItemId CTemplateTreeCtrl::RootWithText(const std::string& text) const {
    for (const wxTreeItemId& root : mRoots)
        if (GetItemText(root).utf8_string() == text) return root;
    return {};
}

bool CTemplateTreeCtrl::RebuildUserCategoryList() {
    const wxTreeItemId root = RootWithText(LoadString(IDS_TREE_ROOT_MY_TEMPLATE));
    if (!root.IsOk()) return false;
    SortChildren(root);
    std::vector<wxTreeItemId> children;
    std::vector<std::string> names;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(root, cookie); child.IsOk(); child = GetNextChild(root, cookie)) {
        children.push_back(child);
        names.push_back(GetItemText(child).utf8_string());
    }
    for (size_t r = 0; r < mRoots.size(); ++r)
        if (mRoots[r] == root) mChildren[r] = std::move(children);
    UserCategoryList() = std::move(names);
    return true;
}

void CTemplateTreeCtrl::SetDropHighlight(const wxTreeItemId& item) {
    if (mDropHighlight.IsOk() && mDropHighlight != item) SetItemDropHighlight(mDropHighlight, false);
    if (item.IsOk()) SetItemDropHighlight(item, true);
    mDropHighlight = item;
}

int CTemplateTreeCtrl::OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) {
    const std::string ta = GetItemText(a).utf8_string();
    const std::string tb = GetItemText(b).utf8_string();
    return UserCategoryLess(ta, tb) ? -1 : UserCategoryLess(tb, ta) ? 1 : 0;
}

bool CTemplateTreeCtrl::IsUserCategoryItem(const wxTreeItemId& item) const {
    if (!item.IsOk() || std::find(mRoots.begin(), mRoots.end(), item) != mRoots.end()) return false;
    const wxTreeItemId parent = GetItemParent(item);
    return parent.IsOk() && GetItemText(parent).utf8_string() == LoadString(IDS_TREE_ROOT_MY_TEMPLATE);
}

void CTemplateTreeCtrl::OnBeginLabelEdit(wxTreeEvent& event) {
    if (!IsUserCategoryItem(event.GetItem())) {
        event.Veto();
        return;
    }
    mEditing = event.GetItem();
    mLabelBeforeEdit = GetItemText(mEditing).utf8_string();
}

void CTemplateTreeCtrl::OnEndLabelEdit(wxTreeEvent& event) {
    mEditing = {};
    if (event.IsEditCancelled()) return;
    const wxTreeItemId item = event.GetItem();
    const std::string oldName = GetItemText(item).utf8_string();
    // The item shows no typed text: only a name that was accepted, trimmed.
    event.Veto();
    const std::optional<std::string> name = RenameUserCategory(TemplateCatalog(), oldName, event.GetLabel().utf8_string(),
                                                               UserCategoryFilePath(UserFolder()));
    if (!name) return;
    SetItemText(item, U(*name));
    if (mOwner) mOwner->UserCategoryRenamed(oldName, *name);
    RebuildUserCategoryList();
}

}  // namespace vx
