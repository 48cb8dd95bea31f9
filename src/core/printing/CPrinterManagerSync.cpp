// The reconciliation of the bound layout with the open printer.
#include <algorithm>
#include <cmath>

#include "model/CLayoutSetting.h"
#include "platform/driver/ModelChecker.h"
#include "printing/CPrinterManager.h"
#include "printing/DriverItemAccess.h"
#include "printing/ImagingServices.h"
#include "printing/LayoutServices.h"
#include "printing/PrinterUnavailable.h"

namespace vx {
namespace {

using Byte = SettingsChangeRecord::Byte;

constexpr double kLongestRollMm = 15000;  // 15 m of paper in one layout
constexpr int32_t kColourHandlingOff = 3;
constexpr int kHalvedAboveDpi = 700;

int16_t SaturateShort(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

// The values whose change sets the geometry byte.
struct PageGeometryValues {
    int32_t pageNum;
    int16_t pageNumber, pageMax;
    LayoutPoint paper;
    LayoutRect margin, layoutArea, page;

    static PageGeometryValues Of(const CLayoutSetting& l) {
        return {l.GetPageNum(), l.GetPageNumber(), l.GetPageMax(), l.GetPaper(),
                l.GetMargin(), l.GetLayoutAreaMgn(), l.GetPage()};
    }
    bool operator==(const PageGeometryValues&) const = default;
};

}  // namespace

bool CPrinterManager::ApplyOption(OptionList list, int32_t& id, int32_t driverId, uint8_t& changed,
                                  const std::function<int(int32_t)>& set, bool retryFirst) {
    const std::vector<OptionEntry>& entries = List(list);
    if (entries.empty()) return Fail(PrinterFailure::Refused);
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const OptionEntry& e) { return Id16(e.value) == Id16(id); });
    const bool replaced = it == entries.end();
    id = Id16(replaced ? entries.front().value : it->value);
    if (replaced || id != Id16(driverId)) changed = 1;
    if (set(id) == 0) return true;
    if (!retryFirst) return Fail(PrinterFailure::Refused);
    id = Id16(entries.front().value);
    changed = 1;
    return set(id) == 0 || Fail(PrinterFailure::Refused);
}

std::string CPrinterManager::NameIn(OptionList list, int32_t id) const {
    for (const OptionEntry& e : List(list))
        if (Id16(e.value) == Id16(id)) return e.name;
    return {};
}

bool CPrinterManager::SyncLayoutAndDriver(SettingsChangeRecord* record, bool forceGeometry, int pageDelta,
                                          bool printing, bool complete) {
    mFailure = PrinterFailure::None;
    if (record) record->Clear();
    if (!mLayout || !record) return Fail(PrinterFailure::Refused);
    CLayoutSetting& layout = *mLayout;
    SettingsChangeRecord& rec = *record;

    // The roll length asked for, in mm.
    double target = 0;
    if (layout.GetBanner()) {
        if (layout.GetBannerLength() != 0) target = layout.GetBannerLength() * 0.1;
    } else {
        target = double(layout.GetPageNumber()) * layout.GetBannerLength() * 0.1;
    }
    if (!(target > 0)) target = 1.0;
    if (layout.GetBanner() && pageDelta != 0) {
        const int64_t pages = int64_t{layout.GetPageNum()} + pageDelta;
        layout.SetPageNum(pages > 0 ? ClampToInt32(pages) : 1);
    }

    if (!SyncPrinter(layout, rec) || !SyncSource(layout, rec)) return false;
    const int32_t source = Id16(layout.GetDefaultSource());
    layout.SetBanner(IsRollSourceId(source) ? 1 : 0);
    layout.SetNoMargins(IsBorderlessSourceId(source) ? 1 : 0);
    if (!SyncPaperSize(layout, rec) || !SyncOrientation(layout, rec) || !SyncMedia(layout, rec) ||
        !SyncLayoutFlags(layout, rec))
        return false;

    PaperRecord paper;
    if (DriverItemAccess(mModule).GetPaper(paper) != 0) return Fail(PrinterFailure::Refused);
    layout.SetPaperLength(std::max(1, paper.height));
    layout.SetPaperWidth(std::max(1, paper.width));

    const bool settingMoved = rec[Byte::kPrinter] || rec[Byte::kSource] || rec[Byte::kPaperSize] ||
                              rec[Byte::kPrintableArea] || rec[Byte::kOrientation];
    if ((settingMoved || forceGeometry) && !SyncGeometry(layout, rec, pageDelta, target)) return false;
    return SyncModes(layout, rec, printing, complete);
}

bool CPrinterManager::SyncPrinter(CLayoutSetting& layout, SettingsChangeRecord& rec) {
    if (layout.Texts().printerName != mCurrentPrinter) {
        try {
            if (SelectPrinter(layout.Texts().printerName, -1) != 1) return false;
        } catch (const PrinterUnavailable&) {
            return false;  // the failure names the printer
        }
        rec[Byte::kPrinter] = 1;
    }
    std::optional<std::string> model = DriverItemAccess(mModule).ModelName();
    if (!model) return Fail(PrinterFailure::Refused);
    layout.Texts().printerModel = std::move(*model);
    return true;
}

bool CPrinterManager::SyncSource(CLayoutSetting& layout, SettingsChangeRecord& rec) {
    // A layout bound since the last select has no lists yet.
    for (OptionList list : {OptionList::PaperSource, OptionList::PaperSize, OptionList::Media})
        if (List(list).empty()) RebuildList(list);
    DriverItemAccess items(mModule);
    int32_t driverSource = 0;
    if (items.GetValue(DriverItem::Source, driverSource) != 0) return Fail(PrinterFailure::Refused);
    int32_t source = Id16(layout.GetDefaultSource());
    if (rec[Byte::kPrinter] || source != Id16(driverSource)) {
        const auto set = [&](int32_t id) { return items.SetPaperSource(id); };
        if (!ApplyOption(OptionList::PaperSource, source, driverSource, rec[Byte::kSource], set, false))
            return false;
        if (source != Id16(layout.GetDefaultSource())) layout.SetDefaultSource(static_cast<int16_t>(source));
        items.EnableRollOptions(source);
        RebuildList(OptionList::PaperSize);
        RebuildList(OptionList::Media);
    }
    layout.Texts().paperSourceName = NameIn(OptionList::PaperSource, source);
    return true;
}

bool CPrinterManager::SyncPaperSize(CLayoutSetting& layout, SettingsChangeRecord& rec) {
    DriverItemAccess items(mModule);
    PaperRecord paper;
    if (items.GetPaper(paper) != 0) return Fail(PrinterFailure::Refused);
    int32_t id = Id16(layout.GetPaperSize());
    if (rec[Byte::kPrinter] || rec[Byte::kSource] || id != Id16(paper.id)) {
        const auto set = [&](int32_t paperId) { return items.SetPaperSize(paperId); };
        if (!ApplyOption(OptionList::PaperSize, id, paper.id, rec[Byte::kPaperSize], set, true)) return false;
        if (id != Id16(layout.GetPaperSize())) layout.SetPaperSize(static_cast<int16_t>(id));
    }
    layout.Texts().paperSizeName = NameIn(OptionList::PaperSize, id);
    return true;
}

bool CPrinterManager::SyncOrientation(CLayoutSetting& layout, SettingsChangeRecord& rec) {
    DriverItemAccess items(mModule);
    int32_t orientation = 0;
    if (items.GetValue(DriverItem::Orientation, orientation) != 0) return Fail(PrinterFailure::Refused);
    // Any value other than 1 is the second orientation.
    const int32_t wanted = layout.GetOrientation() == 1 ? 1 : 2;
    if (wanted != orientation) {
        rec[Byte::kOrientation] = 1;
        if (items.SetOrientation(wanted) != 0) return Fail(PrinterFailure::Refused);
    }
    layout.SetPaperOrient(wanted == 1 ? 0 : 1);
    return true;
}

bool CPrinterManager::SyncMedia(CLayoutSetting& layout, SettingsChangeRecord& rec) {
    DriverItemAccess items(mModule);
    int32_t driverMedia = 0;
    if (items.GetValue(DriverItem::Media, driverMedia) != 0) return Fail(PrinterFailure::Refused);
    int32_t media = Id16(layout.GetMediaType());
    if (rec[Byte::kPrinter] || media != Id16(driverMedia)) {
        const auto set = [&](int32_t id) { return items.SetMediaType(id); };
        if (!ApplyOption(OptionList::Media, media, driverMedia, rec[Byte::kMedia], set, true)) return false;
        if (media != Id16(layout.GetMediaType())) layout.SetMediaType(media);
    }
    layout.Texts().mediaTypeName = NameIn(OptionList::Media, media);
    return true;
}

bool CPrinterManager::SyncLayoutFlags(CLayoutSetting& layout, SettingsChangeRecord& rec) {
    DriverItemAccess items(mModule);
    const std::optional<int32_t> offered = items.RangeWord(DriverItem::LayoutFlags);
    int32_t flags = 0;
    const bool read = offered && items.GetValue(DriverItem::LayoutFlags, flags) == 0;
    int32_t wanted = flags;
    // A bit the printer offers follows the layout; a layout value it cannot take is cleared.
    const auto follow = [&](int32_t bit, bool on, auto clearInLayout) {
        if (read && (*offered & bit)) {
            if (((flags & bit) != 0) == on) return;
            wanted = on ? (wanted | bit) : (wanted & ~bit);
        } else if (on) {
            clearInLayout();
        } else {
            return;
        }
        rec[Byte::kPrintableArea] = 1;
    };
    follow(kFlagMaximumArea, layout.GetPrintableArea() != 0, [&] { layout.SetPrintableArea(0); });
    follow(kFlagCentred, layout.GetCentered() != 0, [&] { layout.SetCentered(0); });
    // Unread flags leave nothing to write.
    if (read && wanted != flags && items.SetLayoutFlags(wanted) != 0) return Fail(PrinterFailure::Refused);
    return true;
}

bool CPrinterManager::SyncGeometry(CLayoutSetting& layout, SettingsChangeRecord& rec, int pageDelta,
                                   double targetMm) {
    const PageGeometryValues before = PageGeometryValues::Of(layout);
    const bool roll = layout.GetBanner() != 0;
    const bool portrait = layout.GetOrientation() == 1;

    // The page's length along the paper feed, in 0.1 mm and in mm (at least 1 mm).
    const int32_t pageLength = portrait ? layout.GetPaperLength() : layout.GetPaperWidth();
    const double pageMm = std::max(1.0, pageLength * 0.1);
    layout.SetPageMax(roll ? 1 : SaturateShort(std::max<int64_t>(1, int64_t(std::floor(kLongestRollMm / pageMm)))));

    int64_t width = int64_t{layout.GetPaperWidth()} * 360 / 254;
    int64_t height = int64_t{layout.GetPaperLength()} * 360 / 254;
    if (layout.GetNoMargins()) {
        // Borderless: the device's whole page, overspray included.
        if (std::unique_ptr<PrintDevice> device = mModule.CreateDC()) {
            const DeviceCaps caps = device->Caps();
            width = caps.physicalWidth;
            height = caps.physicalHeight;
            if (caps.logPixelsX > kHalvedAboveDpi) {
                width /= 2;
                height /= 2;
            }
            mModule.DeleteDC(std::move(device));
        }
    }

    if (roll) {
        if (layout.GetPageNum() == 0) layout.SetPageNum(layout.GetPageNumber());
        layout.SetPageNumber(1);
        const double total = layout.GetPageNum() * pageMm;
        if (pageDelta == 0 && (total < targetMm - 10 || total > targetMm + 10)) {
            int64_t pages = std::max<int64_t>(1, int64_t(targetMm) / int64_t(pageMm));
            if (pages * pageMm < targetMm) ++pages;
            layout.SetPageNum(ClampToInt32(pages));
        }
        if (layout.GetPageNum() * pageMm > kLongestRollMm)
            layout.SetPageNum(int32_t(std::floor(kLongestRollMm / pageMm)));
        const int64_t pages = layout.GetPageNum();
        layout.SetPaper(portrait ? LayoutPoint{ClampToInt32(width), ClampToInt32(pages * height)}
                                 : LayoutPoint{ClampToInt32(pages * width), ClampToInt32(height)});
        layout.SetBannerLength(ClampToInt32(pages * pageLength));
    } else {
        layout.SetPaper({ClampToInt32(width), ClampToInt32(height)});
        if (layout.GetPageNum() != 0) {
            layout.SetPageNumber(SaturateShort(layout.GetPageNum()));
            layout.SetPageNum(0);
        }
        if (layout.GetPageNumber() < 1) layout.SetPageNumber(1);
        layout.SetBannerLength(pageLength);
    }

    LayoutRect margin;
    if (!DriverItemAccess(mModule).GetPrintableArea(margin)) return Fail(PrinterFailure::Refused);
    if (roll && portrait) margin.top = margin.bottom = 0;
    if (roll && !portrait) margin.left = margin.right = 0;
    layout.SetMargin(margin);
    const LayoutPoint paper = layout.GetPaper();
    const int32_t third = std::min(paper.x, paper.y) / 3;
    if (!layout.GetLayoutAreaMode()) {
        layout.SetLayoutAreaMgn(margin);
    } else {
        LayoutRect own = layout.GetLayoutAreaMgn();
        own.left = std::max(own.left, margin.left);
        own.top = std::max(own.top, margin.top);
        own.right = std::max(own.right, margin.right);
        own.bottom = std::max(own.bottom, margin.bottom);
        if (int64_t{paper.y} - own.top - own.bottom < third) {
            own.top = margin.top;
            own.bottom = margin.bottom;
        }
        if (int64_t{paper.x} - own.left - own.right < third) {
            own.left = margin.left;
            own.right = margin.right;
        }
        layout.SetLayoutAreaMgn(own);
    }
    const LayoutRect m = layout.GetLayoutAreaMode() ? layout.GetLayoutAreaMgn() : layout.GetMargin();
    layout.SetPage({m.left, m.top, ClampToInt32(int64_t{paper.x} - m.right), ClampToInt32(int64_t{paper.y} - m.bottom)});

    if (layout.GetHeaderOffset() > third) layout.SetHeaderOffset(SaturateShort(third));
    if (layout.GetFooterOffset() > third) layout.SetFooterOffset(SaturateShort(third));
    if (!(PageGeometryValues::Of(layout) == before)) rec[Byte::kGeometry] = 1;
    return true;
}

bool CPrinterManager::SyncModes(CLayoutSetting& layout, SettingsChangeRecord& rec, bool printing, bool complete) {
    DriverItemAccess items(mModule);
    PrintModeRecord mode;
    if (items.GetPrintMode(mode) != 0) return Fail(PrinterFailure::Refused);
    mode.modeWord = 1;
    mode.quality = 1;
    mode.ink = kInkColour;
    if (items.SetPrintMode(mode) != 0) return Fail(PrinterFailure::Refused);

    if (items.SetInk(Id16(layout.GetColor())) != 0) {
        if (Id16(layout.GetColor()) == kInkColour) return Fail(PrinterFailure::Refused);
        layout.SetColor(kInkColour);
        if (items.SetInk(kInkColour) != 0) return Fail(PrinterFailure::Refused);
        // Grey working pictures become colour ones again.
        if (layout.GetFirstItem()) mLayoutServices->RebuildWorkingBitmaps(layout);
        if (layout.GetStampImage()) mImaging->ReloadStampPicture(layout);
        rec[Byte::kInk] = 1;
    }

    if (layout.GetAutoMode() == kUltrafine) {
        SpecialModeRecord special;
        bool kept = items.GetSpecialMode(special) == 0;
        if (kept) {
            special.mode = kUltrafine;
            kept = items.SetSpecialMode(special) == 0;
        }
        if (!kept) {
            layout.SetAutoMode(1);
            if (items.SetQuality(1) != 0) return Fail(PrinterFailure::Refused);
        }
    } else if (items.SetQuality(layout.GetAutoMode()) != 0) {
        layout.SetAutoMode(1);
        if (items.SetQuality(1) != 0) return Fail(PrinterFailure::Refused);
    }
    if (!complete) return true;

    if (items.GetPrintMode(mode) != 0) return Fail(PrinterFailure::Refused);
    if (printing && layout.GetColor() == kInkColour) {
        if (items.GetPrintMode(mode) != 0) return Fail(PrinterFailure::Refused);
        const int16_t match = layout.GetColorMatchPrinter();
        if (match == 0 || match == 2) {
            // The printer's own colour handling goes off for the recommended profiles
            // that carry the 'mdea' tag, and whenever the user chose the profile.
            const std::string& profile = layout.Texts().printerProfile;
            const bool off = layout.GetRecommend() == 0 ||
                             (mImaging->ProfileFileExists(profile) && !mImaging->IsPlainProfile(profile));
            if (off && mModule.SetData(DriverItem::ColourHandling, {kColourHandlingOff}) != 0)
                return Fail(PrinterFailure::Refused);
        }
    }

    if (std::optional<int32_t> offered = items.RangeWord(DriverItem::HighSpeed); offered && *offered != 0) {
        int32_t current = 0;
        if (items.GetValue(DriverItem::HighSpeed, current) != 0) return Fail(PrinterFailure::Refused);
        const int32_t wanted = layout.GetHighSpeed() ? 1 : 0;
        if (wanted != current) {
            rec[Byte::kHighSpeed] = 1;
            if (items.SetHighSpeed(wanted) != 0) return Fail(PrinterFailure::Refused);
        }
    }
    return true;
}

}  // namespace vx
