#include "ui/controls/CFontComboBox.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include "platform/system/Folders.h"
#include "ui/controls/CFontComboBoxBase.h"

namespace {

constexpr int kPictureWidth = 16;
constexpr int kPictureHeight = 15;
constexpr int kTextLeft = 22;

}  // namespace

CFontComboBox::CFontComboBox(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxOwnerDrawnComboBox(parent, id, wxString(), pos, size, 0, nullptr, wxCB_SORT) {
    const auto path = vx::DataFolder() / "bitmaps" / "131.png";
    mPictures.LoadFile(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG);
}

void CFontComboBox::FillFonts(const wxDC* /*printerDC*/, int /*flag*/) {
    FillFonts(vx::dialogs::InstalledFontFamilies());
}

void CFontComboBox::FillFonts(const std::vector<vx::dialogs::FontFamilyInfo>& families) {
    // The list keeps the choice across the refill; it learns the current one first.
    mList.Combo().SelectByText(ComboCurText(*this, *this).utf8_string(), true);
    mList.Fill(families);
    ClearEntries();
    Freeze();
    for (size_t i = 0; i < mList.Entries().size(); ++i)
        Append(wxString::FromUTF8(mList.Entries()[i].faceName), reinterpret_cast<void*>(i + 1));
    Thaw();
    SelectByText(wxString::FromUTF8(mList.Combo().CurText()), true);
}

void CFontComboBox::ClearEntries() { Clear(); }

const vx::dialogs::FontEntry* CFontComboBox::Entry(unsigned n) const {
    if (n >= GetCount()) return nullptr;
    const auto index = reinterpret_cast<uintptr_t>(GetClientData(n));
    if (index == 0 || index > mList.Entries().size()) return nullptr;
    return &mList.Entries()[index - 1];
}

void CFontComboBox::GetCurText(wxString& out) const { out = ComboCurText(*this, *this); }

void CFontComboBox::SelectByText(const wxString& text, bool exact) { ComboSelectByText(*this, *this, text, exact); }

wxCoord CFontComboBox::OnMeasureItem(size_t) const { return vx::dialogs::FontListEntryHeight(); }

void CFontComboBox::OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const {
    if (item < 0) return;
    const vx::dialogs::FontEntry* entry = Entry(static_cast<unsigned>(item));
    if (!entry) return;
    const bool selected = (flags & wxODCB_PAINTING_SELECTED) && !(flags & wxODCB_PAINTING_CONTROL);
    if (!IsEnabled())
        dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
    else
        dc.SetTextForeground(wxSystemSettings::GetColour(selected ? wxSYS_COLOUR_HIGHLIGHTTEXT
                                                                  : wxSYS_COLOUR_WINDOWTEXT));
    if ((entry->kind & (vx::dialogs::kFontKindOutline | vx::dialogs::kFontKindDevice)) && mPictures.IsOk()) {
        const int cell = (entry->kind & vx::dialogs::kFontKindOutline) ? 1 : 0;
        const wxBitmap picture = mPictures.GetSubBitmap(wxRect(cell * kPictureWidth, 0, kPictureWidth, kPictureHeight));
        dc.DrawBitmap(picture, rect.x, rect.y, true);
    }
    dc.DrawText(wxString::FromUTF8(entry->faceName), rect.x + kTextLeft, rect.y);
}
