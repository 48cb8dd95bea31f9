#pragma once

namespace vx {

class CLayoutObj;
class CLayoutSetting;
class CTextObj;

/// A new free text in the default face, 10 points, black on white, centred, line pitch
/// 75, owned by layout (may be null) and appended to the list at listHead, becoming its
/// head when the list is empty. Null when memory runs out or listHead is null.
CTextObj* CreateTextObject(CLayoutSetting* layout, CLayoutObj** listHead);

/// Measures the text's lines with the installed TextMeasurer and makes the unturned box
/// (`mOrgSize`: widest line by line pitch times line count, exchanged for vertical
/// writing), then turns it (ComputeRotatedTextBox). An item measured before keeps its
/// turned box's top-left corner where it was on the page. False when the text is
/// empty, no measurer is installed or it has no font (the item unchanged then), or when
/// the box has no extent along the writing direction.
bool MeasureFreeText(CTextObj& item);

/// Turns the unturned box (`mOffsetOrgPos`, `mOrgSize`) by `mAngle` around its centre
/// into the box points, and makes `mPosition` and `mSize` the box's bounding rectangle;
/// the box points and `mOffsetOrgPos` stay relative to the new position. A text turned
/// by more than 90 degrees that would reach past the right edge of its layout's `mPage`
/// is moved left to end on it.
void ComputeRotatedTextBox(CTextObj& item);

}  // namespace vx
