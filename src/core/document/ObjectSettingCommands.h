#pragma once
#include <cstdint>
#include <filesystem>

#include "document/ArrangementCommands.h"

namespace vx {

class CGPDoc;
class CLayoutSetting;
struct AppPreferences;

/// Command ids of replace image, background colour, margin displays, page margins,
/// alignment, labels, size, caption and the image presets.
enum ObjectSettingCommand : int {
    kCmdImageAlign = 32902,
    kCmdBackgroundWhite = 32923,
    kCmdBackgroundBlack = 32924,
    kCmdBackgroundOther = 32925,
    kCmdPageMargins = 32926,
    kCmdPresetImageSize = 33000,
    kCmdReplaceImage = 33002,
    kCmdPresetCaption = 33007,
    kCmdPresetLabels = 33008,
    kCmdPresetInputColors = 33009,
    kCmdImageSize = 33100,
    kCmdLabels = 33103,
    kCmdCaption = 33104,
    kCmdShowPrintMargins = 33309,
    kCmdShowPageMargins = 33310,
};

inline constexpr uint32_t kBackgroundBlack = 0;
inline constexpr uint32_t kBackgroundWhite = 0xFFFFFF;

/// The object-setting commands of one document: they work on its layout, open the
/// settings dialogs through SettingsDialogs and bracket them (snapshot, restore on
/// Cancel or refusal, discarding the undo entry after a preset OK).
class ObjectSettingCommands {
public:
    explicit ObjectSettingCommands(CGPDoc& doc) : mDoc(doc) {}

    static bool Handles(int commandId);
    /// How the command shows for layout (null: no document), the preferences and the
    /// bound dialogs; disabled for a command not above. The presets need no layout.
    static CommandState State(int commandId, const CLayoutSetting* layout, const AppPreferences& preferences,
                              const BoundDialogs& dialogs);

    /// Runs the command; an unexpected failure goes to FatalError.
    void OnCommand(int commandId);

    /// Replace image: the chosen file goes into every selected image, as one undoable
    /// edit (code 26) that is put back whole when any step refuses. Nothing while the
    /// busy flag is set.
    void ReplaceImage();
    /// Replaces the selected images with the file at path (the steps after the file
    /// dialog). True when the layout took it.
    bool ReplaceImageWith(const std::filesystem::path& path);
    /// 32923, 32924 and the colour dialog's answer: nothing when the colour is in force.
    void SetBackgroundColor(uint32_t colour);
    void ChooseBackgroundColor();
    void TogglePrintMargins();
    void TogglePageMargins();
    void PageMargins();
    void ImageAlign();
    void Labels(bool preset);
    void Caption(bool preset);
    void ImageSize();
    void InputColorDefaults();

    /// 33000: the size dialog for the image presets of layout, or of the application's
    /// default layout when layout is null (no document active).
    static void PresetImageSize(CLayoutSetting* layout);

private:
    CGPDoc& mDoc;
};

}  // namespace vx
