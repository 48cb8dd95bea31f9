#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include <wx/bitmap.h>
#include <wx/choice.h>
#include <wx/colour.h>
#include <wx/dialog.h>

#include "dialogs/DialogCheck.h"
#include "host/FatalError.h"
#include "dialogs/ProfileLists.h"
#include "ui/controls/ColourSwatchButton.h"
#include "ui/dialogs/DialogSupport.h"

namespace vx {

/// Where the program's picture of id lies (data folder "icons").
std::filesystem::path IconPath(int id);
/// A picture of the program (data folder "icons", by id) at size x size; an empty
/// bitmap of that size when it is missing.
wxBitmap ResourceIcon(int id, int size);
/// The printer class's picture of a model (icons 345 to 347).
wxBitmap PrinterModelPicture(std::string_view model, int size);

using dialog_support::FromWx;
using dialog_support::SharedColourChooser;
using dialog_support::ToWx;

inline wxString Text(std::string_view utf8) { return wxString::FromUTF8(utf8.data(), utf8.size()); }
inline std::string Utf8(const wxString& text) { return std::string(text.utf8_str()); }

/// An event handler that ends the program through FatalError when something escapes.
template <class Event, class F>
auto Guarded(F f) {
    return [f](Event& event) { RunGuarded([&] { f(event); }); };
}

/// A drop-down that shows the descriptions of a profile list.
class ProfileChoice : public wxChoice {
public:
    ProfileChoice(wxWindow* parent, wxWindowID id);
    void Fill(const ProfileListModel& model, int selection);
    /// Texts as a list of strings, without a model (the intent lists).
    void FillTexts(const std::vector<std::string>& texts, int selection);
    int Entry() const { return GetSelection(); }
};

/// The base of the thin settings dialogs: OK runs Commit, which may refuse and name the
/// control to focus; an accepted OK ends the dialog (or hides it when shown modeless,
/// as the window tests do).
class SettingsDialog : public wxDialog {
public:
    SettingsDialog(wxWindow* parent, const wxString& title);
    /// Presses OK as the button does; true when the dialog accepted.
    bool PressOk();
    bool Accepted() const { return mAccepted; }

protected:
    /// The buttons row with OK and "Abbrechen".
    wxSizer* MakeButtons();
    virtual DialogCheck Commit() = 0;

private:
    bool mAccepted = false;
};

}  // namespace vx
