#pragma once
#include <string>

#include "dialogs/ProfileLists.h"

namespace vx {

class CLayoutSetting;

/// The print-settings pane's printer-profile list: entry 0 "Von TEVRA empfohlen" over
/// the recommended file, entry 1 the printer-class default by its description, then the
/// RGB printer and monitor profiles of the colour directories (".icm" files before
/// ".icc" files) whose description differs from entry 1's.
ProfileListModel BuildPrinterProfileList(const std::string& recommendedFile);

/// What the list shows for a layout.
struct PrinterProfileSelection {
    int index = 0;
    bool enabled = true;
};

/// Selects the layout's printer profile in list. While the program matches colours
/// (`mColorMatchPrinter` 0) a chosen profile that the list holds stays chosen; otherwise,
/// or when the recommended one is chosen, the layout takes entry 0's description and
/// `mRecommend` 1. The list is enabled only while the program matches colours.
PrinterProfileSelection SelectLayoutPrinterProfile(CLayoutSetting& layout, const ProfileListModel& list);

/// The user chose entry index: its description becomes the layout's printer profile,
/// `mRecommend` tells whether it is entry 0, and the layout counts as modified.
void ApplyPrinterProfileChoice(CLayoutSetting& layout, const ProfileListModel& list, int index);

}  // namespace vx
