#include "ui/document/FileDialogs.h"

#include <wx/checkbox.h>
#include <wx/panel.h>
#include <wx/sizer.h>

#include "document/FileDialogRules.h"
#include "host/QuickTimePresent.h"
#include "platform/system/Paths.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

wxString Wx(const std::string& text) { return wxString::FromUTF8(text); }
wxString Wx(const fs::path& path) { return wxString::FromUTF8(PathText(path)); }
fs::path PathOf(const wxString& text) { return fs::path(std::string(text.utf8_str())); }

constexpr const char* kRelativeBoxText =
    "Verwenden Sie zum Speichern des Layouts im Bilddatenordner eine relative Pfadangabe.";
constexpr int kRelativeBoxId = 1081;

// The extra control is made by a plain function, so the state it starts from has to
// reach it from outside: the dialog sets it just before it is shown.
bool gRelativePreset = false;

}  // namespace

// wxFD_FILE_MUST_EXIST and wxFD_OVERWRITE_PROMPT stay off: the toolkit would answer in
// English, and the document asks about existing files itself.
CFileOpenDlg::CFileOpenDlg(wxWindow* parent, const std::string& tableFilter, const fs::path& folder)
    : wxFileDialog(parent, wxFileSelectorPromptStr, Wx(folder), wxEmptyString, Wx(ToDialogFilter(tableFilter)),
                   wxFD_OPEN) {}

CGetImageDlg::CGetImageDlg(wxWindow* parent, const std::string& tableFilter, const fs::path& folder)
    : wxFileDialog(parent, wxFileSelectorPromptStr, Wx(folder), wxEmptyString, Wx(ToDialogFilter(tableFilter)),
                   wxFD_OPEN | wxFD_MULTIPLE | wxFD_PREVIEW) {}

std::vector<fs::path> CGetImageDlg::ChosenPaths() const {
    wxArrayString paths;
    GetPaths(paths);
    std::vector<fs::path> out;
    for (const wxString& p : paths) out.push_back(PathOf(p));
    return out;
}

CSaveLayoutDlg::CSaveLayoutDlg(wxWindow* parent, const fs::path& folder, const std::string& fileName, bool relative)
    : wxFileDialog(parent, wxFileSelectorPromptStr, Wx(folder), Wx(fileName),
                   Wx(ToDialogFilter(LoadString(IDS_LAYOUT_FILTER))), wxFD_SAVE),
      mRelative(relative) {
    gRelativePreset = relative;
    SetExtraControlCreator(&CSaveLayoutDlg::CreateRelativeBox);
}

wxWindow* CSaveLayoutDlg::CreateRelativeBox(wxWindow* parent) {
    auto* panel = new wxPanel(parent);
    auto* box = new wxCheckBox(panel, kRelativeBoxId, Wx(std::string(kRelativeBoxText)));
    box->SetValue(gRelativePreset);
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(box, 0, wxALL, 4);
    panel->SetSizerAndFit(sizer);
    return panel;
}

bool CSaveLayoutDlg::Relative() const {
    if (wxWindow* extra = GetExtraControl())
        if (auto* box = dynamic_cast<wxCheckBox*>(extra->FindWindow(kRelativeBoxId))) return box->GetValue();
    return mRelative;
}

std::optional<SaveLayoutChoice> RunSaveLayoutDialog(wxWindow* parent, const fs::path& folder,
                                                    const std::string& fileName, bool relative) {
    fs::path startFolder = folder;
    std::string name = fileName;
    for (;;) {
        CSaveLayoutDlg dialog(parent, startFolder, name, relative);
        if (dialog.ShowModal() != wxID_OK) return std::nullopt;
        const fs::path chosen = PathOf(dialog.GetPath());
        relative = dialog.Relative();
        if (IsAcceptableLayoutFileName(chosen)) return SaveLayoutChoice{chosen, relative};
        startFolder = chosen.parent_path();
        name = PathText(chosen.filename());
    }
}

std::vector<fs::path> ChooseImageFilesWithDialog(wxWindow* parent, const fs::path& folder) {
    CGetImageDlg dialog(parent, LoadString(QuickTimePresent ? IDS_IMAGE_FILTER_ALL : IDS_IMAGE_FILTER), folder);
    if (dialog.ShowModal() != wxID_OK) return {};
    return dialog.ChosenPaths();
}

}  // namespace vx
