#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "model/LayoutTypes.h"
#include "platform/driver/DriverItem.h"

namespace vx {

class CDriverModule;

/// A driver id as the driver compares it: ids are 16-bit values, whatever width a
/// layout stores them in.
inline int32_t Id16(int32_t id) { return id & 0xFFFF; }

/// The printer manager's getters and setters of the driver's data items. Setters read
/// the current value first and write only what differs. Results are the driver's: 0
/// success, anything else failure.
class DriverItemAccess {
public:
    explicit DriverItemAccess(CDriverModule& module) : mModule(module) {}

    /// The first word of a one-word item (20, 40, 60, 204, 205, 212).
    int GetValue(DriverItem item, int32_t& value);
    /// The first word of an item's range; nullopt when it cannot be read or is empty.
    std::optional<int32_t> RangeWord(DriverItem item, size_t index = 0, const DriverWords& query = {});

    /// The current paper: item 203 when the printer has it, else item 30.
    int GetPaper(PaperRecord& paper);
    int SetPaperSize(int32_t id);
    int SetPaperSource(int32_t id);
    int SetOrientation(int32_t orientation);

    int GetPrintMode(PrintModeRecord& mode);
    int SetPrintMode(const PrintModeRecord& mode);
    /// Mode word 1, quality 1, the medium and colour ink, unless mode word and medium
    /// already are as asked.
    int SetMediaType(int32_t media);
    /// Mode word 1 and the quality, unless both already are.
    int SetQuality(int32_t quality);
    /// Writes the ink and reads it back: -1 when the driver did not keep it.
    int SetInk(int32_t ink);

    int SetHighSpeed(int32_t value);
    /// Copies bits 0 (centred) and 1 (maximum area) of flags into the driver's layout
    /// flags when either differs; when that write fails, the older centring item takes
    /// bit 0 where the printer has it.
    int SetLayoutFlags(int32_t flags);
    int GetSpecialMode(SpecialModeRecord& mode);
    int SetSpecialMode(const SpecialModeRecord& mode);

    /// On a roll source that is the driver's current one, switches on each roll option
    /// the printer offers (0x4, 0x1, 0x8 in this order). 0 when a driver call fails,
    /// else 1.
    int EnableRollOptions(int32_t source);
    /// Whether the printer offers black-and-white photo ink and allows it on the medium.
    bool IsGreyvanceAvailable(int32_t media);
    /// Whether "Ultrafine" is offered for the ink on the medium.
    bool IsSpecialModeAvailable(int32_t colour, int32_t media);
    /// The printer's margins of the current paper in 1/360 inch (0.1 mm truncated
    /// towards zero): 1, or 0 when the driver fails.
    int GetPrintableArea(LayoutRect& margins);
    /// The open printer's model name from its driver information; nullopt on failure.
    std::optional<std::string> ModelName();

private:
    int SetValueIfDiffers(DriverItem item, int32_t value);
    DriverItem PaperItem();

    CDriverModule& mModule;
};

}  // namespace vx
