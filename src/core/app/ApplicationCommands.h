#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vx {

class CGPDoc;
class CLayoutSetting;
class CPrinterManager;
class PrintDevice;

/// "Version 1.0" for major 1 and minor 0; with major 0 the patch joins the minor
/// ("Version 0.95" for 0.9.5).
std::string VersionText(int major, int minor, int patch);

/// The user manual: the data folder's "help/index.htm".
std::filesystem::path ManualPath();
/// Opens the manual with launch; shows 10422 when the file is missing. True when it was
/// handed to launch.
bool OpenManual(const std::function<bool(const std::filesystem::path&)>& launch);

/// The menu text of a tool-window toggle (33605 preview, 33604 information, 33401
/// direct print): the "hide" text while the window is shown; empty for other ids.
std::string ToolWindowToggleText(int commandId, bool shown);

enum class ReloadResult { Reloaded, KeptByUser, Failed };
/// Reloads the file of an open document from disk: asks 10421 first when its layout
/// has unsaved changes (KeptByUser on No), keeps the zoom of the old layout and binds
/// the new one everywhere. A file that cannot be read shows 10417 (nothing for a
/// declined or cancelled load) and keeps the open layout (Failed).
ReloadResult ReloadOpenLayout(CGPDoc& doc, const std::filesystem::path& path);

/// The Open command over the chosen files: a file without the layout extension (any
/// case) stops with 10417; the file of an open layout is reloaded; any other goes to
/// open (the framework's open, which closes the open layout first) with the busy flag
/// clear. Does nothing while the busy flag is set or a direct print runs.
void OpenLayoutFiles(const std::vector<std::filesystem::path>& paths,
                     const std::function<void(const std::filesystem::path&)>& open);

/// Whether the auto-rotation command can run: its dialog is bound and a layout window
/// is active.
bool CanRunAutoRotate(bool layoutWindowActive);
/// The auto-rotation command on layout: on OK the undo entry goes, the pane marks a
/// changed rotation mode and renews its template text, and the layout counts as
/// changed. True on OK.
bool RunAutoRotateCommand(CLayoutSetting& layout);

/// What a print job needs from the set-up step: the open printer's settings record
/// and a device made from them.
struct PrintSetupInfo {
    std::string settings;
    std::unique_ptr<PrintDevice> device;
};
/// Fills info from the printer manager's open printer and rebuilds the layout's header
/// and footer texts; 1, or 2 when the record or the device cannot be had.
int ApplyPrintSetup(PrintSetupInfo& info, CPrinterManager& printers, CLayoutSetting* layout);

}  // namespace vx
