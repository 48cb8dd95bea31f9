#include "view/HeaderFooterText.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "view/FontAvailability.h"

namespace vx {
namespace {

TodaySource& Clock() {
    static TodaySource source;
    return source;
}

CivilDate Today() {
    if (Clock()) return Clock()();
    // The local day: the UTC day would show yesterday for the first hours after midnight.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string DatePageLine(bool fixed, int16_t year, int16_t month, int16_t day, const CLayoutSetting& layout) {
    const CivilDate date = fixed ? CivilDate{year, month, day} : Today();
    const std::string page = layout.GetBanner() ? "1" : "@";
    return ShortDate(date) + "  Page " + page + " / " + std::to_string(layout.GetPageNumber());
}

std::string PrintInfoLine(const CLayoutSetting& layout) {
    ApplicationState* app = HostService<ApplicationState>();
    if (!app || !app->ActiveLayoutSlot()) return {};
    const int ink = layout.GetColor() == 1 ? IDS_INK_BLACK : layout.GetColor() == 0x100 ? IDS_INK_GREYVANCE : IDS_INK_COLOUR;
    std::string medium;
    if (const CPrinterManager* printers = CPrinterManager::GetInstance())
        for (const OptionEntry& e : printers->List(CPrinterManager::OptionList::Media))
            if ((uint32_t(e.value) & 0xFFFF) == (uint32_t(layout.GetMediaType()) & 0xFFFF)) {
                medium = e.name;
                break;
            }
    return MessageText(IDS_PRINT_INFO_LINE, {layout.Texts().printerName, LoadString(ink), medium,
                                             layout.Texts().printerProfile});
}

}  // namespace

TodaySource SetHeaderFooterClock(TodaySource source) {
    TodaySource old = std::move(Clock());
    Clock() = std::move(source);
    return old;
}

std::string ShortDate(const CivilDate& d) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", d.day, d.month, d.year);
    return buffer;
}

void FormatHeaderFooterText(CLayoutSetting& layout) {
    if (!layout.GetHeaderShow() && !layout.GetFooterShow()) return;
    const std::string info = PrintInfoLine(layout);
    const std::string headerDate =
        DatePageLine(layout.GetHeaderUseFixedDate(), layout.GetHeaderFixedDate_Year(),
                     layout.GetHeaderFixedDate_Month(), layout.GetHeaderFixedDate_Day(), layout);
    const std::string footerDate =
        DatePageLine(layout.GetFooterUseFixedDate(), layout.GetFooterFixedDate_Year(),
                     layout.GetFooterFixedDate_Month(), layout.GetFooterFixedDate_Day(), layout);
    const auto block = [&](bool text, const std::string& free, bool printInfo, bool datePage, const std::string& date) {
        std::string s;
        if (text) s += free + "\r\n";
        if (printInfo) s += info + "\r\n";
        if (datePage) s += date + "\r\n";
        return s;
    };
    LayoutTexts& t = layout.Texts();
    t.extraText1 = block(layout.GetHeaderText(), t.headerText, layout.GetHeaderPrintInfo(), layout.GetHeaderDatePage(),
                         headerDate);
    t.extraText2 = block(layout.GetFooterText(), t.footerText, layout.GetFooterPrintInfo(), layout.GetFooterDatePage(),
                         footerDate);
}

std::string NumberedHeaderFooterBlock(const std::string& text, bool datePage, int pageNumber) {
    if (!datePage) return text;
    std::string s = text;
    size_t end = s.size();
    while (end > 0 && (s[end - 1] == '\n' || s[end - 1] == '\r')) --end;
    const size_t lineStart = s.find_last_of("\r\n", end == 0 ? 0 : end - 1);
    const size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    const size_t at = s.rfind("Page @", end);
    if (at == std::string::npos || at < from) return s;
    s.replace(at + 5, 1, std::to_string(pageNumber));
    return s;
}

int16_t AutoHeaderFooterFontSize(int32_t offset, int32_t percent, int lines) {
    // A percentage of 0 (a damaged file) would divide by zero: read as 100.
    if (percent <= 0) percent = 100;
    if (lines <= 0) lines = 1;
    const int64_t size = int64_t(offset) * 100 / percent / lines;
    return int16_t(std::clamp<int64_t>(size, 20, INT16_MAX));
}

void CoreViewServices::FormatHeaderFooterText(int, CLayoutSetting& layout) { vx::FormatHeaderFooterText(layout); }

bool CoreViewServices::EnsureFontAvailable(std::string& face, bool& warn) { return vx::EnsureFontAvailable(face, warn); }

}  // namespace vx
