#include "ui/dialogs/DialogViewApply.h"

#include <algorithm>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/controls/CNumEdit.h"

namespace {

const wxBitmap& LinkBitmap(bool linked) {
    static const wxBitmap icons[2] = {
        wxBitmap(wxString::FromUTF8((vx::DataFolder() / "icons" / "299.png").string()), wxBITMAP_TYPE_PNG),
        wxBitmap(wxString::FromUTF8((vx::DataFolder() / "icons" / "297.png").string()), wxBITMAP_TYPE_PNG)};
    return icons[linked ? 1 : 0];
}

void ApplyRange(CNumEdit* edit, const vx::dialogs::EditRange& r) {
    const vx::dialogs::NumEditRules& now = edit->Rules();
    if (now.Minimum() == r.minimum && now.Maximum() == r.maximum && now.FormatCode() == r.formatCode &&
        now.TextLimit() == r.textLimit)
        return;
    edit->SetParams(r.minimum, r.maximum, false, r.formatCode, r.textLimit);
}

}  // namespace

void ApplyPageView(wxWindow* page, const vx::dialogs::PageView& view, std::initializer_list<int> textStatics) {
    for (const auto& [id, control] : view) {
        wxWindow* window = page->FindWindow(id);
        if (!window) continue;
        if (window->IsEnabled() != control.enabled) window->Enable(control.enabled);
        if (auto* radio = dynamic_cast<wxRadioButton*>(window)) {
            // A radio cannot be unchecked by itself: checking its partner does that.
            if (control.checked && !radio->GetValue()) radio->SetValue(true);
        } else if (auto* check = dynamic_cast<wxCheckBox*>(window)) {
            if (check->GetValue() != control.checked) check->SetValue(control.checked);
        } else if (auto* edit = dynamic_cast<CNumEdit*>(window)) {
            if (control.range) ApplyRange(edit, *control.range);
            const wxString text = wxString::FromUTF8(control.text);
            if (edit->GetValue() != text) edit->ChangeValue(text);
        } else if (auto* choice = dynamic_cast<wxChoice*>(window)) {
            if (control.selection >= 0 && choice->GetSelection() != control.selection)
                choice->SetSelection(control.selection);
        } else if (auto* picture = dynamic_cast<wxStaticBitmap*>(window)) {
            SetLinkIcon(picture, control.checked);
        } else if (auto* label = dynamic_cast<wxStaticText*>(window)) {
            if (std::find(textStatics.begin(), textStatics.end(), id) != textStatics.end())
                label->SetLabel(wxString::FromUTF8(control.text));
        }
    }
}

wxChoice* UnitChoice(wxWindow* parent, int id) {
    auto* choice = new wxChoice(parent, id);
    choice->Append(wxString::FromUTF8(vx::LoadString(vx::IDS_UNIT_MM)));
    choice->Append(wxString::FromUTF8(vx::LoadString(vx::IDS_UNIT_INCH)));
    choice->Bind(wxEVT_LEFT_DOWN, [choice](wxMouseEvent& e) {
        FitComboDropDownWidth(choice);
        e.Skip();
    });
    return choice;
}

void SetLinkIcon(wxStaticBitmap* picture, bool linked) {
    const wxBitmap& icon = LinkBitmap(linked);
    if (icon.IsOk() && !picture->GetBitmap().IsSameAs(icon)) picture->SetBitmap(icon);
}

