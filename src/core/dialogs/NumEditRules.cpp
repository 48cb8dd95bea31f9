#include "dialogs/NumEditRules.h"

#include <algorithm>

#include "platform/system/Format.h"
#include "platform/system/Numbers.h"

namespace vx::dialogs {
namespace {

int MaxDecimals(int16_t code) {
    switch (code) {
        case 1: return 2;
        case 2: return 3;
        case 5: return 1;
        default: return -1;  // not counted
    }
}

// The field holds ASCII only (the key filter lets nothing else in), so character
// offsets are byte offsets; anything else is clamped into the text.
void ClampRange(std::string_view text, long& from, long& to) {
    const long n = static_cast<long>(text.size());
    from = std::clamp(from, 0L, n);
    to = std::clamp(to, 0L, n);
    if (from > to) std::swap(from, to);
}

}  // namespace

void NumEditRules::SetParams(double minimum, double maximum, bool wholeNumbersOnly, int16_t formatCode,
                             int textLimit, bool checkOnLeave) {
    mMinimum = minimum;
    mMaximum = maximum;
    mWholeNumbersOnly = wholeNumbersOnly;
    mFormatCode = formatCode;
    mTextLimit = textLimit;
    mCheckOnLeave = checkOnLeave;
}

NumEditRules::Check NumEditRules::CheckText(std::string_view text) const {
    if (text.empty()) return Check::Valid;
    bool started = false, point = false;
    int decimals = 0;
    for (char c : text) {
        if (c == ' ') {
            if (started) return Check::Malformed;
        } else if (c == '-') {
            if (started || !(mMinimum < 0.0)) return Check::Malformed;
            started = true;
        } else if (c == '.') {
            if (point || mWholeNumbersOnly) return Check::Malformed;
            point = started = true;
        } else if (c >= '0' && c <= '9') {
            started = true;
            if (point) ++decimals;
        } else {
            return Check::Malformed;
        }
    }
    const int maxDecimals = MaxDecimals(mFormatCode);
    if (maxDecimals >= 0 && decimals > maxDecimals) return Check::Malformed;
    const double value = AtoF(text);
    if (value > mMaximum) return Check::AboveMaximum;
    if (value < mMinimum) return Check::BelowMinimum;
    return Check::Valid;
}

bool NumEditRules::IsValidText(std::string_view text) const { return CheckText(text) == Check::Valid; }

std::string NumEditRules::LimitText(double limit) const {
    const int decimals = mWholeNumbersOnly ? -1 : MaxDecimals(mFormatCode);
    if (decimals < 0) return FormatC("%d", TruncToInt32(limit));
    return FormatFixed(limit, decimals);
}

std::optional<std::string> NumEditRules::ClampText(std::string_view text) const {
    const double value = AtoF(text);
    if (value > mMaximum) return LimitText(mMaximum);
    if (value < mMinimum) return LimitText(mMinimum);
    return std::nullopt;
}

bool NumEditRules::MayHold(std::string_view text) const {
    const Check check = CheckText(text);
    // Typing toward a positive minimum passes through smaller numbers ("5" on the way
    // to 50 in a 10..100 field); leaving the field and the dialog's OK check the range.
    return check == Check::Valid || (check == Check::BelowMinimum && mMinimum > 0.0);
}

NumEditKeyResult NumEditRules::Decide(const std::string& wouldBe) const {
    switch (CheckText(wouldBe)) {
        case Check::Valid: return {true, std::nullopt};
        case Check::Malformed: return {};
        case Check::AboveMaximum: return {false, LimitText(mMaximum)};
        case Check::BelowMinimum:
            if (mMinimum > 0.0) return {true, std::nullopt};
            return {false, LimitText(mMinimum)};
    }
    return {};
}

NumEditKeyResult NumEditRules::OnChar(std::string_view text, long from, long to, char32_t key) const {
    const bool considered = key == kBackspace || key == ' ' || key == '+' || key == '-' || key == '.' ||
                            (key >= '0' && key <= '9');
    if (!considered) return {};
    return Decide(TextAfterChar(text, from, to, key));
}

NumEditKeyResult NumEditRules::OnDelete(std::string_view text, long from, long to) const {
    return Decide(TextAfterDelete(text, from, to));
}

std::optional<std::string> NumEditRules::OnLeave(std::string_view text) const {
    if (!mCheckOnLeave || text.empty()) return std::nullopt;
    return ClampText(text);
}

std::string TextAfterChar(std::string_view text, long from, long to, char32_t key) {
    ClampRange(text, from, to);
    std::string out(text);
    if (key == NumEditRules::kBackspace) {
        if (from == to) {
            if (from == 0) return out;
            out.erase(static_cast<size_t>(from - 1), 1);
        } else {
            out.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
        }
        return out;
    }
    out.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), 1, static_cast<char>(key));
    return out;
}

std::string TextAfterDelete(std::string_view text, long from, long to) {
    ClampRange(text, from, to);
    std::string out(text);
    if (from == to) {
        if (from < static_cast<long>(out.size())) out.erase(static_cast<size_t>(from), 1);
    } else {
        out.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
    }
    return out;
}

}  // namespace vx::dialogs
