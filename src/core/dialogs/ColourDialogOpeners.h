#pragma once

namespace vx {

class CLayoutSetting;

// The steps the openers of the colour dialogs take around them.

/// The layout the input colour defaults edit: the open document's, else the
/// application's default layout; null without an application.
CLayoutSetting* InputColourDefaultsLayout();
/// After OK of the input colour defaults: the change cannot be undone.
void AfterInputColourDefaults();

/// Before the image colour dialog: false after message 10408 when a selected image is
/// greyscale, and false without a message when no image is selected.
bool BeforeImageColour(const CLayoutSetting& layout);
/// After its OK: the selected images' label texts and the print-settings pane.
void AfterImageColour(CLayoutSetting& layout);

}  // namespace vx
