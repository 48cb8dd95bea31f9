#include "printing/DriverSettingsEditor.h"

#include <optional>

#include "printing/DriverItemAccess.h"

namespace vx {
namespace {

using C = OptionControl;
constexpr int kOpenFromRecord = 2;

void SetButton(OptionControlState& button, bool enabled, bool checked) {
    button.present = true;
    button.enabled = enabled;
    button.checked = checked;
}

// Every id the driver offers for item with its name; the current one selected.
// False when the driver cannot be read.
bool FillList(CDriverModule& module, OptionControlState& combo, DriverItem item, NameKind kind, int32_t current) {
    combo.present = true;
    combo.filled = true;
    combo.items.clear();
    combo.selection = -1;
    DriverValue range;
    if (module.GetRange(item, range) != 0) return false;
    for (int32_t raw : range.words) {
        DriverValue name;
        if (module.GetData(DriverItem::Names, {kind, Id16(raw)}, name) != 0) continue;
        if (Id16(raw) == Id16(current)) combo.selection = static_cast<int>(combo.items.size());
        combo.items.push_back({name.text, Id16(raw)});
    }
    return true;
}

}  // namespace

bool DriverSettingsEditor::Open(const std::string& printer, const std::string& settings) {
    if (IsOpen() && mModule.CloseDriver() == 0) return false;
    mPrinter.clear();
    if (mModule.OpenDriver(kOpenFromRecord, &settings, printer) != 0) return false;
    mPrinter = printer;
    return true;
}

OptionControls DriverSettingsEditor::Controls() {
    OptionControls c;
    if (!IsOpen()) return c;
    DriverItemAccess items(mModule);
    int32_t source = 0, orientation = 0;
    PaperRecord paper;
    PrintModeRecord mode;
    if (items.GetValue(DriverItem::Source, source) != 0 || items.GetPaper(paper) != 0 ||
        items.GetValue(DriverItem::Orientation, orientation) != 0 || items.GetPrintMode(mode) != 0)
        return {};
    if (!FillList(mModule, c[C::PaperSource], DriverItem::Source, kNameSource, source) ||
        !FillList(mModule, c[C::PaperSize], DriverItem::PaperOld, kNamePaper, paper.id) ||
        !FillList(mModule, c[C::Media], DriverItem::Media, kNameMedium, mode.medium))
        return {};
    c[C::PaperSource].enabled = false;
    c[C::PaperSize].enabled = false;
    c[C::Media].enabled = true;
    SetButton(c[C::Orientation1], false, orientation == 1);
    SetButton(c[C::Orientation2], false, orientation != 1);

    const int32_t ink = Id16(mode.ink);
    const bool black = ink == kInkBlack, mono = ink == kInkMonoPhoto;
    SetButton(c[C::InkColour], items.RangeWord(DriverItem::Monochrome) != 1, !black && !mono);
    SetButton(c[C::InkBlack], true, black);
    SetButton(c[C::InkMonoPhoto], items.IsGreyvanceAvailable(mode.medium), mono);
    c[C::InkPicture].present = true;
    c[C::InkPicture].icon = black || mono ? kIconInkBlack : kIconInkColour;

    // The modes this ink offers on this medium; a printer that does not say offers its
    // most.
    std::optional<int32_t> modes = items.RangeWord(DriverItem::InkOnMedium, 1, {Id16(mode.medium), mode.ink});
    if (!modes) modes = items.RangeWord(DriverItem::PrintMode);
    SpecialModeRecord special;
    const bool ultrafine = items.GetSpecialMode(special) == 0 && special.mode == kUltrafine;
    SetButton(c[C::ModeQuality], modes.value_or(1) >= 1, !ultrafine && mode.quality != 2);
    SetButton(c[C::ModeFast], modes.value_or(1) >= 2, !ultrafine && mode.quality == 2);
    SetButton(c[C::ModeUltrafine], items.IsSpecialModeAvailable(mode.ink, mode.medium), ultrafine);

    const std::optional<int32_t> offered = items.RangeWord(DriverItem::HighSpeed);
    int32_t highSpeed = 0;
    const bool on = offered && *offered != 0;
    SetButton(c[C::HighSpeed], on, on && items.GetValue(DriverItem::HighSpeed, highSpeed) == 0 && highSpeed != 0);
    return c;
}

bool DriverSettingsEditor::SetMedia(int32_t media) {
    return IsOpen() && DriverItemAccess(mModule).SetMediaType(media) == 0;
}

bool DriverSettingsEditor::SetInk(int32_t ink) {
    return IsOpen() && DriverItemAccess(mModule).SetInk(ink) == 0;
}

bool DriverSettingsEditor::SetPrintMode(OptionControl mode) {
    if (!IsOpen()) return false;
    DriverItemAccess items(mModule);
    SpecialModeRecord special;
    if (items.GetSpecialMode(special) != 0) return false;
    if (mode == C::ModeUltrafine) {
        special.mode = kUltrafine;
        return items.SetSpecialMode(special) == 0;
    }
    if (mode != C::ModeQuality && mode != C::ModeFast) return false;
    if (special.mode == kUltrafine) {
        special.mode = 0;
        if (items.SetSpecialMode(special) != 0) return false;
    }
    return items.SetQuality(mode == C::ModeFast ? 2 : 1) == 0;
}

bool DriverSettingsEditor::SetHighSpeed(bool on) {
    return IsOpen() && DriverItemAccess(mModule).SetHighSpeed(on ? 1 : 0) == 0;
}

std::string DriverSettingsEditor::Settings() {
    std::string record;
    if (!IsOpen() || mModule.GetDevMode(&record) < 1) return {};
    return record;
}

}  // namespace vx
