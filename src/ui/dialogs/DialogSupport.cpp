#include "ui/dialogs/DialogSupport.h"

#include <vector>

#include <wx/ctrlsub.h>
#include <wx/textctrl.h>

#include "dialogs/ImageAlignController.h"
#include "host/ApplicationState.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "model/UndoStore.h"
#include "ui/controls/CNumEdit.h"

namespace vx::dialog_support {

UndoStore& Undo() {
    if (ApplicationState* app = HostService<ApplicationState>()) return app->GetUndoStore();
    static UndoStore spare;
    return spare;
}

wxColour ToWx(uint32_t c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

uint32_t FromWx(const wxColour& c) {
    return uint32_t(c.Red()) | (uint32_t(c.Green()) << 8) | (uint32_t(c.Blue()) << 16);
}

ColourSwatchButton::Chooser SharedColourChooser() {
    return [](wxWindow*, const wxColour& initial) -> std::optional<wxColour> {
        SettingsDialogs* dialogs = HostService<SettingsDialogs>();
        if (!dialogs) return std::nullopt;
        const std::optional<uint32_t> chosen = dialogs->ChooseColour(FromWx(initial));
        if (!chosen) return std::nullopt;
        return ToWx(*chosen);
    };
}

void SetFieldRange(CNumEdit& edit, const dialogs::FieldRange& range, int unit) {
    // Format code = the unit: the field takes the decimals its formatted values carry.
    edit.SetParams(range.minimum, range.maximum, false, short(unit == 1 ? 1 : 2), range.textLimit);
}

void FocusAndSelect(wxTextCtrl& edit) {
    edit.SetFocus();
    edit.SelectAll();
    edit.ShowPosition(0);
}

void FillEntries(wxItemContainer& list, const std::vector<std::string>& texts) {
    list.Clear();
    for (const std::string& t : texts) list.Append(Wx(t));
}

}  // namespace vx::dialog_support
