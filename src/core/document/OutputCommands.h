#pragma once

#include "document/ArrangementCommands.h"

namespace vx {

class CGPDoc;
class CImageObj;
class CLayoutSetting;
struct AppPreferences;

/// Command ids of the colour dialogs, rotate and flip, the rotation mode, the image
/// stamp, the print-settings pane and the print presets.
enum OutputCommand : int {
    kCmdPrintPresets = 32807,
    kCmdOutputColor = 32808,
    kCmdImageStamp = 32922,
    kCmdRotate180 = 33200,
    kCmdRotateRight = 33201,
    kCmdRotateLeft = 33202,
    kCmdOriginalOrientation = 33207,
    kCmdFlipHorizontal = 33209,
    kCmdFlipVertical = 33210,
    kCmdImageColor = 33211,
    kCmdRotateWithFrame = 33212,
    kCmdPrintSettingsPane = 33312,
    kCmdRotateInFrame = 33908,
};

/// The image whose rotation mode the two mode commands show: with one image selected
/// the selected image (the last in list order, should several carry the flag), with
/// more the one marked last modified, else the first selected image; null without one.
const CImageObj* RotationModeReference(const CLayoutSetting& layout);

/// Before printing: a black or black-and-white layout (`mColor` 1 or 256) prints colour
/// matched through the default RGB profile, which the pane then shows as its first
/// entry. Any other mode changes nothing.
void ApplyMonochromeCheck(CLayoutSetting& layout);

/// The document's colour, rotate, stamp, pane and preset commands. Each does nothing
/// without a layout. The rulers (33311) are the view's: only their state is answered.
class OutputCommands {
public:
    explicit OutputCommands(CGPDoc& doc) : mDoc(doc) {}

    /// The commands that OnCommand runs.
    static bool Handles(int commandId);
    /// Handles and the rulers, whose state the document's menus also show.
    static bool HandlesState(int commandId);
    /// How the command shows for layout (null: no document), whether the document shows
    /// its print-settings pane, and the bound dialogs; disabled for a command not above.
    static CommandState State(int commandId, const CLayoutSetting* layout, bool panelShown,
                              const BoundDialogs& dialogs);

    /// Runs the command; an unexpected failure goes to FatalError.
    void OnCommand(int commandId);

    void OutputColor();
    void ImageColor();
    void ImageStamp();
    /// Rotates or flips the selected images by op (1, 2, 4, 8, 16), or with 0 puts them
    /// back to the orientation of their file.
    void Transform(int op);
    /// Sets `mFrameRotation` of every selected image as one undoable step (159).
    void SetRotationMode(bool withFrame);
    /// Hides or shows the print-settings pane and keeps the document's flag.
    void TogglePrintSettingsPane();
    void PrintPresets();

private:
    CGPDoc& mDoc;
};

}  // namespace vx
