#include "dialogs/FreeTextController.h"

#include <charconv>
#include <cstdlib>
#include <optional>

#include "model/CLayoutSetting.h"
#include "model/ClampedMove.h"
#include "model/FreeTextItem.h"
#include "model/LengthUnits.h"
#include "model/TextAndPathHelpers.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

constexpr std::string_view kStandInFace = "DejaVu Sans";

// The whole number at the start of text (blanks skipped); nullopt when there is none.
std::optional<long long> ParseWhole(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc()) return std::nullopt;
    (void)end;
    return v;
}

}  // namespace

std::string TextToItemLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\n') out += '\r';
        out += text[i];
    }
    return out;
}

std::string TextToFieldLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

FreeTextController::FreeTextController(std::vector<std::string> faces) : mFaces(std::move(faces)) {
    for (int id = IDS_LINE_HEIGHT_110; id <= IDS_LINE_HEIGHT_250; ++id) {
        const std::string& t = LoadString(id);
        if (t.empty()) break;
        mLineHeights.push_back(std::atoi(t.c_str()));
    }
}

std::vector<std::string> FreeTextController::LineHeightTexts() const {
    std::vector<std::string> texts;
    for (int p : mLineHeights) texts.push_back(std::to_string(p) + " " + LoadString(IDS_UNIT_PERCENT));
    return texts;
}

int FreeTextController::ListedFace(const std::string& face) const {
    for (size_t i = 0; i < mFaces.size(); ++i)
        if (EqualsNoCaseAscii(mFaces[i], face)) return int(i);
    return -1;
}

bool FreeTextController::SetTextSettings(const CTextObj& item) {
    mItem.CopyFrom(item, false);
    mItem.SetOwner(item.GetOwner());
    FontSpec font = mItem.GetFont();
    int listed = ListedFace(font.face);
    if (listed < 0) listed = ListedFace(LoadString(IDS_SUBSTITUTE_FONT));
    if (listed < 0) listed = ListedFace(std::string(kStandInFace));
    if (listed < 0 && !mFaces.empty()) listed = 0;
    if (listed >= 0) font.face = mFaces[size_t(listed)];
    if (font.size < 1) font.size = 1;
    mItem.SetFont(font);

    Values& v = mValues;
    v.face = font.face;
    v.sizeText = std::to_string(font.size / 5);
    const int percent = (mItem.GetTextLineHeight() * 100 + font.size / 2) / font.size;
    v.lineHeightEntry = 0;
    for (size_t i = 1; i < mLineHeights.size(); ++i)
        if (std::abs(mLineHeights[i] - percent) < std::abs(mLineHeights[size_t(v.lineHeightEntry)] - percent))
            v.lineHeightEntry = int(i);
    v.textColour = font.color;
    v.justify = mItem.GetTextJustify() == -1 ? -1 : mItem.GetTextJustify() == 1 ? 1 : 0;
    v.bold = font.style & 0x100;
    v.italic = font.style & 0x200;
    v.vertical = mItem.GetColumnarWriting() == 1;
    v.underline = !v.vertical && (font.style & 0x400);
    v.angleText = std::to_string(mItem.GetAngle());
    v.background = mItem.GetBackgroundColor() != 0;
    v.backgroundColour = mItem.GetBackgroundColorValue();
    v.text = TextToFieldLines(mItem.GetText());
    return true;
}

bool FreeTextController::GetTextSettings(CTextObj& item) const {
    CLayoutSetting* owner = item.GetOwner();
    item.CopyFrom(mItem, false);
    item.SetOwner(owner);
    return true;
}

DialogCheck FreeTextController::Apply() {
    const Values& v = mValues;
    if (CountDisplayChars(v.text) > size_t(kMaxChars)) {
        ShowValueRangeError(9, 0, kMaxChars);
        return {kIdText};
    }
    const std::optional<long long> points = ParseWhole(v.sizeText);
    // Above 4608 points the size would no longer fit the stored 16-bit value for long.
    if (!points || *points < kMinPoints || *points > kMaxPoints) {
        ShowValueRangeError(4, kMinPoints, kMaxPoints);
        return {kIdSize};
    }
    // The field's range keeps the angle within a half turn; a text that got past it
    // is refused rather than wrapped into the 16-bit angle.
    const std::optional<long long> angle = ParseWhole(v.angleText.empty() ? "0" : v.angleText);
    if (!angle || *angle < -180 || *angle > 180) {
        ShowValueRangeError(-1, -180, 180);
        return {kIdAngle};
    }
    FontSpec font = mItem.GetFont();
    font.face = v.face;
    font.size = int16_t(*points * 5);
    font.style = int16_t((v.bold ? 0x100 : 0) | (v.italic ? 0x200 : 0) | (v.underline && !v.vertical ? 0x400 : 0));
    font.color = v.textColour;
    mItem.SetFont(font);
    const int percent = mLineHeights.empty() ? 100 : mLineHeights[size_t(v.lineHeightEntry)];
    mItem.SetTextLineHeight(int16_t(percent * font.size / 100));
    mItem.SetTextJustify(int16_t(v.justify));
    mItem.SetText(TextToItemLines(v.text));
    mItem.SetColumnarWriting(v.vertical ? 1 : 0);
    mItem.SetAngle(int16_t(*angle));
    mItem.SetBackgroundColor(v.background ? 1 : 0);
    mItem.SetBackgroundColorValue(v.backgroundColour);
    MeasureFreeText(mItem);
    if (CLayoutSetting* owner = mItem.GetOwner()) MoveItemClamped(mItem, 0, 0, ShownPageIndex(*owner));
    return {};
}

}  // namespace vx
