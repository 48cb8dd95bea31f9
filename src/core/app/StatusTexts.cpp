#include "app/StatusTexts.h"

#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "model/LengthUnits.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Format.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

int32_t ArgOr(const Args& args, size_t index, int32_t fallback) {
    if (index < args.size())
        if (const long long* value = std::get_if<long long>(&args[index])) return static_cast<int32_t>(*value);
    return fallback;
}

/// The label of a length unit: string 10100 + unit for pixel, mm and inch, so the label
/// always names the unit the numbers are in.
std::string UnitLabel(int unit) {
    switch (unit) {
    case 0: return LoadString(IDS_UNIT_PIXEL);
    case 2:
    case -2: return LoadString(IDS_UNIT_INCH);
    case 3: return LoadString(IDS_UNIT_PAGE);
    case 5: return LoadString(IDS_UNIT_PERCENT);
    default: return LoadString(IDS_UNIT_MM);
    }
}

std::string CountText(int templateId, int32_t a, int32_t b) {
    if (a < 1) return {};
    const std::string suffix = b > 1 ? FormatTemplate(" / %ld", {(long long)b}) : std::string();
    return MessageText(templateId, {(long long)a, suffix});
}

}  // namespace

int16_t& LastStatusCode() {
    static int16_t code = 0;
    return code;
}

StatusUpdate FormatStatusUpdate(int code, const Args& args, const CLayoutSetting* layout, bool quickPrintOn) {
    StatusUpdate update;
    const ViewStateBlock* block = layout ? layout->GetViewState() : nullptr;
    if (!block) return update;
    const int32_t a = ArgOr(args, 0, block->statusA);
    const int32_t b = ArgOr(args, 1, block->statusB);
    const int unit = layout->GetUnit();

    std::string text;
    switch (code) {
    case kStatusReady:
        text = LoadString(IDS_READY);
        update.refreshPages = true;
        break;
    case kStatusCursorPosition: {
        const int64_t num = block->zoomNumerator;
        const int64_t den = block->zoomDenominator;
        if (num == 0) break;
        const std::string label = UnitLabel(unit);
        text = MessageText(IDS_STATUS_CURSOR_POSITION,
                           {FormatLengthInUnit(static_cast<int32_t>(a * den / num), unit, 360), label,
                            FormatLengthInUnit(static_cast<int32_t>(b * den / num), unit, 360), label});
        break;
    }
    case kStatusItemSize:
        text = MessageText(IDS_STATUS_ITEM_SIZE,
                           {FormatLengthInUnit(a, unit, 360), FormatLengthInUnit(b, unit, 360), UnitLabel(unit)});
        break;
    case kStatusLoading: text = CountText(IDS_STATUS_LOADING, a, b); break;
    case kStatusUpdatingCount: text = CountText(IDS_STATUS_UPDATING, a, b); break;
    case kStatusUpdating:
        if (a >= 1) text = MessageText(IDS_STATUS_UPDATING_OF, {(long long)a, (long long)b});
        break;
    case kStatusUnsupported: text = LoadString(IDS_IMAGE_FORMAT_UNSUPPORTED); break;
    case kStatusUnreadable: text = LoadString(IDS_FILE_NOT_READABLE); break;
    case kStatusImageSizeOutOfRange: text = LoadString(IDS_IMAGE_SIZE_OUT_OF_RANGE); break;
    default: break;
    }
    LastStatusCode() = static_cast<int16_t>(code);
    if (!text.empty()) update.message = std::move(text);
    update.quickPrintState = (layout->GetFree() == 0 && quickPrintOn) ? kQuickPrintOn : kQuickPrintBlank;
    return update;
}

std::string QuickPrintPaneText(int state, bool quickPrintOn) {
    switch (state) {
    case kQuickPrintBlank: return LoadString(IDS_QUICK_PRINT_PANE_BLANK);
    case kQuickPrintOn:
    case kQuickPrintDone:
        return LoadString(quickPrintOn ? IDS_QUICK_PRINT_ACTIVE : IDS_QUICK_PRINT_PANE_BLANK);
    case kQuickPrintRunning: return LoadString(IDS_QUICK_PRINT_RUNNING);
    default: return {};
    }
}

}  // namespace vx
