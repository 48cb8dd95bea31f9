#pragma once
#include <string>

#include "host/HostService.h"

namespace vx {

class CLayoutSetting;
class LayoutView;
class PrintSettingsPane;

/// Status-bar texts by code, as StatusPort::UpdateStatusText takes them.
enum StatusCode : int {
    kStatusReady = 1,
    kStatusCursorPosition = 2,
    kStatusItemSize = 3,
    kStatusLoading = 4,         // images loaded and to load, from the ViewStateBlock
    kStatusUpdatingCount = 5,
    kStatusUpdating = 6,        // "Aktualisieren %ld / %ld"
    kStatusUnsupported = 7,
    kStatusUnreadable = 13,
    kStatusImageSizeOutOfRange = 14,
};

/// The application shell as core code uses it: the windows of the open layout and the
/// main frame's services. The window side implements it (HostService<Shell>); without
/// one there is no view and no pane. Status texts go through StatusPort, the cancel
/// key (Ctrl with the decimal key) through ProgressPort::IsCancelled, unexpected
/// failures through FatalError.
class Shell {
public:
    virtual ~Shell() = default;

    /// The layout view of the open document that holds layout, or null.
    virtual LayoutView* FindLayoutView(const CLayoutSetting& layout) = 0;
    /// The layout view of the active layout, or null.
    virtual LayoutView* GetLayoutView() = 0;
    /// The print-settings pane of the active document, or null without one.
    virtual PrintSettingsPane* GetActivePrintSettingsPane() = 0;

    /// Whether the main frame is creating a view (the save question then offers Yes and
    /// No only).
    virtual bool IsViewCreating() = 0;
    /// Set by a layout view when its window is created, cleared by its initial update.
    virtual void SetViewCreating(bool creating) { (void)creating; }
    /// With flag bit 0 set, updates the command states of the main toolbar and repaints it.
    virtual void RefreshToolBar(int flags) = 0;
    /// Text of status-bar pane 1: 11 while a quick print runs, 12 afterwards.
    virtual void SetQuickPrintStatus(int state) = 0;
    /// Title of the open layout's child frame.
    virtual void SetLayoutTitle(const std::string& text) = 0;
    /// Prints the active document at once, without the print dialog, and returns when
    /// the job has ended or was cancelled.
    virtual void PrintNow() = 0;
    /// Shows or hides the print-settings pane of the active layout window; shown again
    /// it takes back the width it had when hidden.
    virtual void ShowPrintSettingsPane(bool shown) { (void)shown; }
    /// The main toolbar's printer picture (bitmap 394, 395 or 396 for the printer's model
    /// class 1, 2 or 3), repainted.
    virtual void SetPrintToolBarPicture(int bitmapId) { (void)bitmapId; }
};

/// The layout view of the open document that holds layout; null without one or
/// without a shell.
inline LayoutView* FindLayoutView(const CLayoutSetting& layout) {
    Shell* shell = HostService<Shell>();
    return shell ? shell->FindLayoutView(layout) : nullptr;
}

}  // namespace vx
