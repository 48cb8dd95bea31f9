#include "dialogs/HeaderFooterController.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "dialogs/FrameTextRules.h"
#include "model/CLayoutSetting.h"
#include "model/LengthUnits.h"
#include "model/TextAndPathHelpers.h"
#include "platform/system/StringTable.h"

namespace vx::dialogs {
namespace {

using Area = HeaderFooterController::Area;

bool IsHeader(Area a) { return a == Area::Header; }

// The text areas show LF; the layout keeps CR LF.
std::string ToShown(const std::string& stored) {
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i)
        if (!(stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n')) out += stored[i];
    return out;
}
std::string ToStored(const std::string& shown) {
    std::string out;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == '\n' && (i == 0 || shown[i - 1] != '\r')) out += '\r';
        out += shown[i];
    }
    return out;
}

int DialogUnit(int unit) { return unit == 1 ? 1 : 2; }  // other codes work as inch

}  // namespace

CalendarDate LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string FormatGermanDate(const CalendarDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", d.day, d.month, d.year);
    return text;
}

HeaderFooterController::HeaderFooterController(std::function<CalendarDate()> today)
    : mToday(std::move(today)), mSettings(std::make_unique<CLayoutSetting>(false)) {}

HeaderFooterController::~HeaderFooterController() = default;

int HeaderFooterController::SetSettings(const CLayoutSetting& layout) {
    mSettings->CopyFrom(layout, false, false, false);
    return 1;
}

int HeaderFooterController::GetSettings(CLayoutSetting& layout) const {
    layout.CopyFrom(*mSettings, false, false, false);
    return 1;
}

std::vector<int> HeaderFooterController::LineHeightPercents() {
    std::vector<int> out;
    for (int id = IDS_LINE_HEIGHT_110; !LoadString(id).empty(); ++id) out.push_back(std::atoi(LoadString(id).c_str()));
    return out;
}

int32_t HeaderFooterController::MaxHeight() const {
    const LayoutPoint paper = mSettings->GetPaper();
    return std::min(paper.x, paper.y) / 3;
}

FieldRange HeaderFooterController::Range(Area a) const {
    const double most = MaxHeight();
    return Unit(a) == 1 ? FieldRange{0.0, most * 25.4 / 360, 1, 9} : FieldRange{0.0, most / 360, 2, 9};
}

bool HeaderFooterController::PrintsText(Area a) const {
    return (IsHeader(a) ? mSettings->GetHeaderText() : mSettings->GetFooterText()) != 0;
}
bool HeaderFooterController::PrintsInfo(Area a) const {
    return (IsHeader(a) ? mSettings->GetHeaderPrintInfo() : mSettings->GetFooterPrintInfo()) != 0;
}
bool HeaderFooterController::PrintsDatePage(Area a) const {
    return (IsHeader(a) ? mSettings->GetHeaderDatePage() : mSettings->GetFooterDatePage()) != 0;
}
bool HeaderFooterController::UsesFixedDate(Area a) const {
    return (IsHeader(a) ? mSettings->GetHeaderUseFixedDate() : mSettings->GetFooterUseFixedDate()) != 0;
}
ColorRef HeaderFooterController::Colour() const { return mSettings->HeaderFooterFont().color; }
int HeaderFooterController::Justify() const {
    const int16_t j = mSettings->GetHeaderFooterJustify();
    return j == -1 || j == 1 ? j : 0;
}
int16_t HeaderFooterController::Style() const { return mSettings->HeaderFooterFont().style; }

void HeaderFooterController::Init(const std::vector<std::string>& fontFaces) {
    mFaces = fontFaces;
    CLayoutSetting& s = *mSettings;
    mUnit[0] = mUnit[1] = DialogUnit(s.GetUnit());
    for (Area a : {Area::Header, Area::Footer}) {
        const size_t i = Index(a);
        mHeight[i] = FormatLengthInUnit(IsHeader(a) ? s.GetHeaderOffset() : s.GetFooterOffset(), mUnit[i], 360);
        mText[i] = ToShown(IsHeader(a) ? s.Texts().headerText : s.Texts().footerText);
        if (UsesFixedDate(a)) {
            const CalendarDate d = IsHeader(a) ? CalendarDate{s.GetHeaderFixedDate_Year(), s.GetHeaderFixedDate_Month(),
                                                              s.GetHeaderFixedDate_Day()}
                                               : CalendarDate{s.GetFooterFixedDate_Year(), s.GetFooterFixedDate_Month(),
                                                              s.GetFooterFixedDate_Day()};
            mDateLabel[i] = ": " + FormatGermanDate(d);
        } else {
            mDateLabel[i].clear();
        }
    }
    FontSpec& font = s.HeaderFooterFont();
    mFont = FontIndexFor(mFaces, font.face);
    if (mFont >= 0 && !SameFaceName(mFaces[size_t(mFont)], font.face)) font.face = mFaces[size_t(mFont)];
    mSize = FontSizeIndex(font.size, s.GetHeaderFooterFontSizeAuto() != 0);
    if (font.size <= 0) font.size = 1;  // before the division below
    const int32_t percent = (int32_t(s.GetHeaderFooterLineHeight()) * 100 + font.size / 2) / font.size;
    const std::vector<int> percents = LineHeightPercents();
    mLineHeight = NearestEntry(percents, percent);
    s.SetHeaderFooterLineHeightPercent(int16_t(percents.empty() ? 0 : percents[size_t(mLineHeight)]));
}

void HeaderFooterController::TickText(Area a, bool on) {
    if (IsHeader(a)) mSettings->SetHeaderText(on); else mSettings->SetFooterText(on);
}
void HeaderFooterController::TickInfo(Area a, bool on) {
    if (IsHeader(a)) mSettings->SetHeaderPrintInfo(on); else mSettings->SetFooterPrintInfo(on);
}
void HeaderFooterController::TickDatePage(Area a, bool on) {
    if (IsHeader(a)) mSettings->SetHeaderDatePage(on); else mSettings->SetFooterDatePage(on);
}

void HeaderFooterController::StoreFixedDate(Area a, const CalendarDate& d, bool on) {
    CLayoutSetting& s = *mSettings;
    if (IsHeader(a)) {
        s.SetHeaderUseFixedDate(on);
        s.SetHeaderFixedDate_Year(int16_t(d.year));
        s.SetHeaderFixedDate_Month(int16_t(d.month));
        s.SetHeaderFixedDate_Day(int16_t(d.day));
    } else {
        s.SetFooterUseFixedDate(on);
        s.SetFooterFixedDate_Year(int16_t(d.year));
        s.SetFooterFixedDate_Month(int16_t(d.month));
        s.SetFooterFixedDate_Day(int16_t(d.day));
    }
}

void HeaderFooterController::TickFixedDate(Area a, bool on) {
    // The date the user sees today, not the UTC date, which is a day off near midnight.
    const CalendarDate date = on ? mToday() : CalendarDate{};
    StoreFixedDate(a, date, on);
    mDateLabel[Index(a)] = on ? ": " + FormatGermanDate(date) : std::string();
}

void HeaderFooterController::UnitChanged(Area a, int index) {
    const size_t i = Index(a);
    const int32_t value = ParseLengthInUnit(mHeight[i], mUnit[i]);
    mUnit[i] = index == 0 ? 1 : 2;
    mHeight[i] = FormatLengthInUnit(value, mUnit[i], 360);
}

void HeaderFooterController::SelectFont(int index) {
    if (index < 0 || size_t(index) >= mFaces.size()) return;
    mFont = index;
    mSettings->HeaderFooterFont().face = mFaces[size_t(index)];
}

void HeaderFooterController::SelectSize(int index) {
    mSize = index;
    FontSpec& font = mSettings->HeaderFooterFont();
    if (index == 0) {
        mSettings->SetHeaderFooterFontSizeAuto(1);
    } else {
        mSettings->SetHeaderFooterFontSizeAuto(0);
        font.size = int16_t(FontSizePoints(index) * 5);
    }
    const std::vector<int> percents = LineHeightPercents();
    const int percent = percents.empty() ? 100 : percents[size_t(mLineHeight)];
    mSettings->SetHeaderFooterLineHeight(int16_t(percent * font.size / 100));
}

void HeaderFooterController::SelectLineHeight(int index) {
    const std::vector<int> percents = LineHeightPercents();
    if (index < 0 || size_t(index) >= percents.size()) return;
    mLineHeight = index;
    const int percent = percents[size_t(index)];
    mSettings->SetHeaderFooterLineHeight(int16_t(percent * mSettings->HeaderFooterFont().size / 100));
    mSettings->SetHeaderFooterLineHeightPercent(int16_t(percent));
}

void HeaderFooterController::SetColour(ColorRef colour) { mSettings->HeaderFooterFont().color = colour; }

void HeaderFooterController::SetStyleBit(int16_t bit, bool on) {
    int16_t& style = mSettings->HeaderFooterFont().style;
    style = int16_t(on ? style | bit : style & ~bit);
}

void HeaderFooterController::SetJustify(int justify) { mSettings->SetHeaderFooterJustify(int16_t(justify)); }

bool HeaderFooterController::OnOK() {
    mFocus = Focus::None;
    CLayoutSetting& s = *mSettings;
    const int32_t most = MaxHeight();
    int32_t heights[2];
    for (Area a : {Area::Header, Area::Footer}) {
        const size_t i = Index(a);
        heights[i] = ParseLengthInUnit(mHeight[i], mUnit[i]);
        if (heights[i] < kMinHeight || heights[i] > most) {
            ShowValueRangeError(mUnit[i], kMinHeight, most);
            mFocus = IsHeader(a) ? Focus::HeaderHeight : Focus::FooterHeight;
            return false;
        }
    }
    s.SetHeaderOffset(int16_t(heights[0]));
    s.SetFooterOffset(int16_t(heights[1]));
    s.SetHeaderShow(s.GetHeaderText() || s.GetHeaderPrintInfo() || s.GetHeaderDatePage() ? 1 : 0);
    s.SetFooterShow(s.GetFooterText() || s.GetFooterPrintInfo() || s.GetFooterDatePage() ? 1 : 0);
    for (Area a : {Area::Header, Area::Footer}) {
        const std::string stored = ToStored(mText[Index(a)]);
        (IsHeader(a) ? s.Texts().headerText : s.Texts().footerText) = stored;
        if (PrintsText(a) && CountDisplayChars(stored) > kMaxChars) {
            ShowValueRangeError(9, 0, double(kMaxChars));
            mFocus = IsHeader(a) ? Focus::HeaderEdit : Focus::FooterEdit;
            return false;
        }
    }
    return true;
}

}  // namespace vx::dialogs
