#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class CLayoutSetting;
struct OptionEntry;

/// The profile file the maker recommends for layout: the sRGB file while the printer
/// matches colours itself (`mColorMatchPrinter` 1), else the media-profile entry of the
/// layout's `mMediaType`, else the sRGB file.
std::string GetRecommendedProfileName(const CLayoutSetting& layout, const std::vector<OptionEntry>& mediaProfiles);
/// The same over the program's printer manager (no entries without one).
std::string GetRecommendedProfileName(const CLayoutSetting& layout);

/// What the colour dialogs show as the layout's printer profile: "Von TEVRA empfohlen"
/// when the printer matches colours, or when the recommended profile is chosen and the
/// stored description names that file; otherwise the stored description.
std::string PrinterProfileText(const CLayoutSetting& layout, const std::vector<OptionEntry>& mediaProfiles);
std::string PrinterProfileText(const CLayoutSetting& layout);

/// The picture of a printer model: icon 347 for class 2, 345 for class 3, else 346.
int PrinterModelIcon(std::string_view model);

}  // namespace vx
