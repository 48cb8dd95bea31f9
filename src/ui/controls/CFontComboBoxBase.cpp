#include "ui/controls/CFontComboBoxBase.h"

#include <string>
#include <vector>

#include "dialogs/FontList.h"

wxString ComboCurText(const wxItemContainer& items, const wxTextEntry& entry) {
    const int selection = items.GetSelection();
    if (selection != wxNOT_FOUND) return items.GetString(static_cast<unsigned>(selection));
    return entry.GetValue();
}

void ComboSelectByText(wxItemContainer& items, wxTextEntry& entry, const wxString& text, bool exact) {
    vx::dialogs::ComboEntries entries;
    std::vector<std::string> texts;
    texts.reserve(items.GetCount());
    for (unsigned i = 0; i < items.GetCount(); ++i) texts.push_back(items.GetString(i).utf8_string());
    entries.Assign(std::move(texts));
    const long found = entries.Find(text.utf8_string(), exact);
    items.SetSelection(static_cast<int>(found));
    if (found < 0) entry.ChangeValue(text);
}

CFontComboBoxBase::CFontComboBoxBase(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                                     long style)
    : wxComboBox(parent, id, wxString(), pos, size, 0, nullptr, style) {}

void CFontComboBoxBase::GetCurText(wxString& out) const { out = ComboCurText(*this, *this); }

void CFontComboBoxBase::SelectByText(const wxString& text, bool exact) { ComboSelectByText(*this, *this, text, exact); }
