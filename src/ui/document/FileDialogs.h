#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <wx/filedlg.h>

#include "host/DocumentServices.h"

namespace vx {

/// The dialog of the Open command: one layout file at a time.
class CFileOpenDlg : public wxFileDialog {
public:
    CFileOpenDlg(wxWindow* parent, const std::string& tableFilter, const std::filesystem::path& folder);
};

/// The dialog that picks image files, several at once, with the toolkit's preview.
class CGetImageDlg : public wxFileDialog {
public:
    CGetImageDlg(wxWindow* parent, const std::string& tableFilter, const std::filesystem::path& folder);
    std::vector<std::filesystem::path> ChosenPaths() const;
};

/// The save dialog of a layout with the relative-path box below the file chooser.
class CSaveLayoutDlg : public wxFileDialog {
public:
    CSaveLayoutDlg(wxWindow* parent, const std::filesystem::path& folder, const std::string& fileName, bool relative);
    /// The box's state: preset by the constructor, read after the dialog closed.
    bool Relative() const;

private:
    static wxWindow* CreateRelativeBox(wxWindow* parent);
    bool mRelative;
};

/// The save dialog shown until the user cancels or names an acceptable file (a refused
/// name reopens it with that name, without a message).
std::optional<SaveLayoutChoice> RunSaveLayoutDialog(wxWindow* parent, const std::filesystem::path& folder,
                                                    const std::string& fileName, bool relative);

/// The image files for Load image; empty on Cancel.
std::vector<std::filesystem::path> ChooseImageFilesWithDialog(wxWindow* parent, const std::filesystem::path& folder);

}  // namespace vx
