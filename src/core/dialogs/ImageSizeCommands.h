#pragma once

namespace vx {

class CLayoutSetting;

/// "Größe..." of the image menu: the image size dialog on the layout's selected images
/// (SettingsDialogs::RunImageSizeDialog), bracketed by a snapshot. After OK the layout
/// is laid out again; when it would need more pages than allowed (15168) or its pages
/// would print at 90 pixels per inch (59450), the message is shown and the layout and
/// the undo entry are put back. True when the change stands. Needs the application
/// state (undo store) and the settings dialogs; without them nothing runs.
bool RunImageSizeCommand(CLayoutSetting& layout);

/// "Größe..." of the image presets: the dialog on the "BaseImage" prototype of
/// documentLayout, or of the application's default layout when null. After OK with a
/// document, the pane is repainted, its image-size and image-option marks are set for
/// what changed, the undo entry is cleared and the pane's template-settings texts are
/// rebuilt from the default layout. Nothing is laid out. True on OK.
bool RunPresetImageSizeCommand(CLayoutSetting* documentLayout);

}  // namespace vx
