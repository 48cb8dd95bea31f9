#pragma once
#include "platform/driver/DriverItem.h"
#include "platform/driver/PrinterModel.h"
#include "platform/driver/PrinterSettings.h"
#include "platform/spool/PrintDevice.h"

namespace vx {

/// The margins in force, as on a portrait sheet: the source's standard or maximum area
/// (layout bit 1); a centred area (layout bit 0 or item 80) takes the larger of top and
/// bottom on both.
Margins CurrentMargins(const PrinterModel& model, const PrinterSettings& s);

/// The current paper as items 30 and 203 report it, in the current orientation: the
/// second orientation exchanges width and height and turns the margins with the sheet
/// (portrait top becomes left, left becomes bottom, bottom right, right top).
PaperRecord CurrentPaper(const PrinterModel& model, const PrinterSettings& s);

/// The device for the settings: the model's resolution; the paper in the current
/// orientation plus, on a borderless source, the overspray on every side; the printable
/// area from the margins. 0.1 mm become pixels rounded to the nearest.
DeviceCaps CurrentDeviceCaps(const PrinterModel& model, const PrinterSettings& s);

}  // namespace vx
