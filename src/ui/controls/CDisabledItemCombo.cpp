#include "ui/controls/CDisabledItemCombo.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include "dialogs/DisabledItemRules.h"

namespace {

const wxColour kGrey(vx::dialogs::kDisabledItemGrey, vx::dialogs::kDisabledItemGrey,
                     vx::dialogs::kDisabledItemGrey);

/// The opened list: a click on a grey row is swallowed and the list stays open.
class DisabledItemPopup : public wxVListBoxComboPopup {
public:
    explicit DisabledItemPopup(CDisabledItemCombo* combo) : mCombo(combo) {}

    bool Create(wxWindow* parent) override {
        if (!wxVListBoxComboPopup::Create(parent)) return false;
        Bind(wxEVT_LEFT_UP, &DisabledItemPopup::OnLeftUp, this);
        return true;
    }

    wxSize GetAdjustedSize(int minWidth, int prefHeight, int maxHeight) override {
        wxSize size = wxVListBoxComboPopup::GetAdjustedSize(minWidth, prefHeight, maxHeight);
        if (mCombo->GetCount() == 0) return size;
        // One row more than the entries, at most 15, inside the popup's border.
        const int rows = vx::dialogs::PopupRows(mCombo->GetCount());
        size.y = wxMin(rows * wxMax(OnMeasureItem(0), 1) + 2, wxMax(maxHeight, 1));
        return size;
    }

private:
    void OnLeftUp(wxMouseEvent& event) {
        const int item = VirtualHitTest(event.GetPosition().y);
        if (item != wxNOT_FOUND && !mCombo->IsItemEnabled(item)) return;
        event.Skip();
    }

    CDisabledItemCombo* mCombo;
};

}  // namespace

CDisabledItemCombo::CDisabledItemCombo(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxOwnerDrawnComboBox(parent, id, wxString(), pos, size, 0, nullptr, wxCB_READONLY) {
    SetPopupControl(new DisabledItemPopup(this));
    Bind(wxEVT_COMBOBOX, &CDisabledItemCombo::OnSelected, this);
}

void CDisabledItemCombo::SetItemData(unsigned index, uintptr_t data) {
    SetClientData(index, reinterpret_cast<void*>(data));
    if (IsShown()) Refresh();
}

uintptr_t CDisabledItemCombo::GetItemData(unsigned index) const {
    return reinterpret_cast<uintptr_t>(GetClientData(index));
}

std::vector<uintptr_t> CDisabledItemCombo::ItemData() const {
    std::vector<uintptr_t> data(GetCount());
    for (unsigned i = 0; i < data.size(); ++i) data[i] = GetItemData(i);
    return data;
}

bool CDisabledItemCombo::IsItemEnabled(long index) const {
    if (index < 0 || index >= static_cast<long>(GetCount())) return true;
    return (GetItemData(static_cast<unsigned>(index)) & 1u) != 0;
}

void CDisabledItemCombo::Select(int n) {
    wxOwnerDrawnComboBox::Select(n);
    mConfirmed = GetSelection();
}

void CDisabledItemCombo::OnSelected(wxCommandEvent& event) {
    if (auto previous = vx::dialogs::RestoreAfterConfirm(ItemData(), event.GetSelection(), mConfirmed)) {
        // A grey entry chosen by keyboard: the previous one comes back, and the owner is
        // told once, after it, so that it reads the restored choice.
        SetSelection(static_cast<int>(*previous));
        CallAfter([this] {
            wxCommandEvent changed(wxEVT_COMBOBOX, GetId());
            changed.SetEventObject(this);
            changed.SetInt(GetSelection());
            if (GetSelection() != wxNOT_FOUND) changed.SetString(GetString(static_cast<unsigned>(GetSelection())));
            ProcessWindowEvent(changed);
        });
        return;
    }
    mConfirmed = event.GetSelection();
    event.Skip();
}

void CDisabledItemCombo::OnDrawBackground(wxDC& dc, const wxRect& rect, int item, int flags) const {
    const bool painting = (flags & wxODCB_PAINTING_CONTROL) != 0;
    const bool enabled = IsEnabled() && IsItemEnabled(item);
    if (!painting && !enabled) {
        // Grey entries never look chosen.
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.DrawRectangle(rect);
        return;
    }
    wxOwnerDrawnComboBox::OnDrawBackground(dc, rect, item, flags);
}

void CDisabledItemCombo::OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const {
    const bool painting = (flags & wxODCB_PAINTING_CONTROL) != 0;
    const wxString text = item >= 0 ? GetString(static_cast<unsigned>(item)) : GetValue();
    const bool enabled = IsEnabled() && IsItemEnabled(item);
    const bool selected = (flags & wxODCB_PAINTING_SELECTED) != 0;
    const wxColour old = dc.GetTextForeground();
    if (!enabled)
        dc.SetTextForeground(kGrey);
    else if (selected && !painting)
        dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT));
    else if (!painting || !selected)
        dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    dc.DrawText(text, rect.x + 2, rect.y + (rect.height - dc.GetCharHeight()) / 2);
    dc.SetTextForeground(old);
}
