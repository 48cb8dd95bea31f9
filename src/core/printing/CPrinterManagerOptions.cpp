// The option controls of the current printer.
#include "model/CLayoutSetting.h"
#include "printing/CPrinterManager.h"
#include "printing/DriverItemAccess.h"

namespace vx {
namespace {

using C = OptionControl;
constexpr int kProbeSlot = 2;

void SetButton(OptionControlState& button, bool enabled, bool checked) {
    button.enabled = enabled;
    button.checked = checked;
}

}  // namespace

void CPrinterManager::FillCombo(OptionControlState& combo, OptionList list, int32_t current) const {
    combo.filled = true;
    combo.items.clear();
    combo.selection = -1;
    for (const OptionEntry& e : List(list)) {
        if (Id16(e.value) == Id16(current)) combo.selection = static_cast<int>(combo.items.size());
        combo.items.push_back({e.name, e.value});
    }
}

int CPrinterManager::CountPrintModes(const PrintModeRecord& mode) {
    DriverItemAccess items(mModule);
    if (std::optional<int32_t> modes = items.RangeWord(DriverItem::InkOnMedium, 1, {Id16(mode.medium), mode.ink}))
        return *modes;
    const std::optional<int32_t> count = items.RangeWord(DriverItem::PrintMode);
    if (!count) return 0;
    if (*count != 2 || mode.quality != 1 || !SaveSlot(kProbeSlot)) return *count;
    // The printer does not say whether this medium takes the fast mode: try it on a
    // copy of its settings.
    PrintModeRecord fast = mode;
    fast.quality = 2;
    items.SetPrintMode(fast);
    PrintModeRecord back;
    const int modes = items.GetPrintMode(back) == 0 && back.quality == 2 ? 2 : 1;
    return RestoreSlot(kProbeSlot, false) ? modes : -1;
}

int CPrinterManager::FillOptionCombos(OptionControls& c) {
    DriverItemAccess items(mModule);

    if (c[C::Printer].present) {
        OptionControlState& combo = c[C::Printer];
        combo.filled = true;
        combo.items.clear();
        combo.selection = -1;
        for (size_t i = 0; i < mPrinters.size(); ++i) {
            if (mPrinters[i].printer == mCurrentPrinter) combo.selection = static_cast<int>(i);
            combo.items.push_back({mPrinters[i].printer, static_cast<int32_t>(i)});
        }
    }
    if (c[C::PaperSource].present) {
        int32_t source = 0;
        if (items.GetValue(DriverItem::Source, source) != 0) return 0;
        FillCombo(c[C::PaperSource], OptionList::PaperSource, source);
    }
    if (c[C::PaperSize].present) {
        PaperRecord paper;
        if (items.GetPaper(paper) != 0) return 0;
        FillCombo(c[C::PaperSize], OptionList::PaperSize, paper.id);
    }
    if (c[C::Media].present) {
        int32_t media = 0;
        if (items.GetValue(DriverItem::Media, media) != 0) return 0;
        FillCombo(c[C::Media], OptionList::Media, media);
    }

    if (c.Has({C::Orientation1, C::Orientation2})) {
        int32_t orientation = 0;
        if (items.GetValue(DriverItem::Orientation, orientation) != 0) return 0;
        c[C::Orientation1].checked = orientation == 1;
        c[C::Orientation2].checked = orientation != 1;
    }

    if (c.Has({C::AreaStandard, C::AreaMaximum, C::AreaCentred})) {
        const std::optional<int32_t> offered = items.RangeWord(DriverItem::LayoutFlags);
        int32_t flags = 0;
        if (offered && items.GetValue(DriverItem::LayoutFlags, flags) == 0) {
            const bool maximum = (*offered & kFlagMaximumArea) != 0, centred = (*offered & kFlagCentred) != 0;
            SetButton(c[C::AreaStandard], maximum, !(flags & kFlagMaximumArea));
            SetButton(c[C::AreaMaximum], maximum, (flags & kFlagMaximumArea) != 0);
            SetButton(c[C::AreaCentred], centred, centred && (flags & kFlagCentred));
        } else {
            SetButton(c[C::AreaStandard], false, true);
            SetButton(c[C::AreaMaximum], false, false);
            SetButton(c[C::AreaCentred], false, false);
        }
    }

    if (c.Has({C::InkColour, C::InkBlack, C::InkMonoPhoto, C::InkPicture})) {
        PrintModeRecord mode;
        if (items.GetPrintMode(mode) != 0) return 0;
        const int32_t media = mLayout ? mLayout->GetMediaType() : mode.medium;
        const int32_t ink = Id16(mode.ink);
        const bool black = ink == kInkBlack, mono = ink == kInkMonoPhoto;
        SetButton(c[C::InkColour], items.RangeWord(DriverItem::Monochrome) != 1, !black && !mono);
        SetButton(c[C::InkBlack], true, black);
        SetButton(c[C::InkMonoPhoto], items.IsGreyvanceAvailable(media), mono);
        c[C::InkPicture].icon = black || mono ? kIconInkBlack : kIconInkColour;
    }

    if (c.Has({C::ModeQuality, C::ModeFast, C::ModeUltrafine})) {
        PrintModeRecord mode;
        if (items.GetPrintMode(mode) != 0) return 0;
        const int modes = CountPrintModes(mode);
        if (modes < 0) return 0;
        if (modes >= 1) {
            c[C::ModeQuality].enabled = true;
            c[C::ModeFast].enabled = modes >= 2;
        }
        const int32_t media = mLayout ? mLayout->GetMediaType() : mode.medium;
        c[C::ModeUltrafine].enabled = items.IsSpecialModeAvailable(mode.ink, media);
        // One radio button of the group: "Ultrafine" before the quality it runs in.
        SpecialModeRecord special;
        const bool ultrafine = items.GetSpecialMode(special) == 0 && special.mode == kUltrafine;
        c[C::ModeUltrafine].checked = ultrafine;
        c[C::ModeQuality].checked = !ultrafine && (mode.quality == 0 || mode.quality == 1);
        c[C::ModeFast].checked = !ultrafine && mode.quality == 2;
    }

    if (c[C::HighSpeed].present) {
        const std::optional<int32_t> offered = items.RangeWord(DriverItem::HighSpeed);
        const bool on = offered && *offered != 0;
        SetButton(c[C::HighSpeed], on, on && mLayout && mLayout->GetHighSpeed() != 0);
    }
    return 1;
}

}  // namespace vx
