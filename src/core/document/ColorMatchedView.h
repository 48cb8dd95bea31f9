#pragma once

namespace vx {

class CLayoutSetting;

/// The colour-matched view pass: rebuilds the working bitmap of every selected image
/// item (and of the image stamp) through the monitor transform, item by item with the
/// progress "Aktualisieren n / total" in the status bar, the busy flag set and the wait
/// cursor shown. An item whose file is gone shows "Datei nicht lesbar." and is skipped;
/// Ctrl with the decimal key stops after the current item. 1 when it ran; 0 without a
/// view state, a view, items or a selected image item.
int ApplyColorMatchedView(CLayoutSetting& layout);

}  // namespace vx
