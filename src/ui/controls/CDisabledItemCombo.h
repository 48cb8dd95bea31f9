#pragma once
#include <cstdint>
#include <vector>

#include <wx/odcombo.h>

/// A drop-down list whose entries can be disabled one by one: bit 0 of an entry's item
/// data enables it, so a newly added entry is disabled until the owner sets it. Grey
/// entries cannot be chosen by mouse, keyboard or a confirmed selection.
class CDisabledItemCombo : public wxOwnerDrawnComboBox {
public:
    CDisabledItemCombo(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                       const wxSize& size = wxDefaultSize);

    void SetItemData(unsigned index, uintptr_t data);
    uintptr_t GetItemData(unsigned index) const;
    /// An index outside the list counts as enabled.
    bool IsItemEnabled(long index) const;
    /// A choice made by the program is the one a grey choice falls back to.
    void Select(int n) override;

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    void OnDrawBackground(wxDC& dc, const wxRect& rect, int item, int flags) const override;

private:
    void OnSelected(wxCommandEvent& event);
    std::vector<uintptr_t> ItemData() const;

    int mConfirmed = wxNOT_FOUND;  // the last choice the owner was told of
};
