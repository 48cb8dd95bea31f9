#include "ui/dialogs/TemplateListControls.h"

#include <wx/bitmap.h>
#include <wx/image.h>

#include "platform/system/StringTable.h"

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

}  // namespace

CTemplateListCtrl::CTemplateListCtrl(wxWindow* parent, wxWindowID id, const wxSize& size)
    : wxListCtrl(parent, id, wxDefaultPosition, size, wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN) {}

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

CTemplateTreeCtrl::CTemplateTreeCtrl(wxWindow* parent, wxWindowID id, const wxSize& size)
    : wxTreeCtrl(parent, id, wxDefaultPosition, size,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE | wxBORDER_SUNKEN) {}

void CTemplateTreeCtrl::Fill(const std::array<TemplateTreeRoot, 2>& roots, TemplateTreeSelection selection) {
    mFilling = true;
    DeleteAllItems();
    const wxTreeItemId hidden = AddRoot({});
    for (size_t r = 0; r < roots.size(); ++r) {
        mRoots[r] = AppendItem(hidden, U(roots[r].text), -1, -1, new RootData(roots[r].data));
        mChildren[r].clear();
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
    for (int r = 0; r < 2; ++r) {
        if (item == mRoots[r]) return {r, -1};
        for (size_t c = 0; c < mChildren[r].size(); ++c)
            if (item == mChildren[r][c]) return {r, static_cast<int>(c)};
    }
    return {};
}

wxTreeItemId CTemplateTreeCtrl::ItemOf(TemplateTreeSelection selection) const {
    if (selection.root < 0 || selection.root > 1) return {};
    if (selection.child < 0) return mRoots[selection.root];
    if (selection.child >= static_cast<int>(mChildren[selection.root].size())) return {};
    return mChildren[selection.root][static_cast<size_t>(selection.child)];
}

int32_t CTemplateTreeCtrl::DataOf(const wxTreeItemId& item) const {
    const auto* data = item.IsOk() ? dynamic_cast<RootData*>(GetItemData(item)) : nullptr;
    return data ? data->data : 0;
}

}  // namespace vx
