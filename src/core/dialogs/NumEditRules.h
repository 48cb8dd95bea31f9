#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx::dialogs {

/// What a keystroke does to a numeric field.
struct NumEditKeyResult {
    bool accept = false;                 ///< let the control apply the key
    std::optional<std::string> replace;  ///< else put this text (a limit) into the field
};

/// The rules of the numeric field: which texts it holds, what a key turns it into and
/// how a limit is written. Headless; the control feeds it the text and the selection.
class NumEditRules {
public:
    static constexpr char kBackspace = '\b';

    void SetParams(double minimum, double maximum, bool wholeNumbersOnly, int16_t formatCode, int textLimit,
                   bool checkOnLeave);

    /// A well-formed number in the range with no more decimals than the format allows.
    bool IsValidText(std::string_view text) const;

    /// The limit text when text reads as a number beyond the range, else nothing.
    std::optional<std::string> ClampText(std::string_view text) const;

    /// The limit written as the field writes it.
    std::string LimitText(double limit) const;

    /// A typed character (kBackspace included) on text with the selection [from, to).
    NumEditKeyResult OnChar(std::string_view text, long from, long to, char32_t key) const;
    /// The Delete key on text with the selection [from, to).
    NumEditKeyResult OnDelete(std::string_view text, long from, long to) const;

    /// Whether the field may show text at all: valid, or on its way up to a positive
    /// minimum. Text arriving by any other route than a key is held to this.
    bool MayHold(std::string_view text) const;

    /// The text the field takes when it loses the focus: the limit with check-on-leave
    /// when out of range, else nothing.
    std::optional<std::string> OnLeave(std::string_view text) const;

    double Minimum() const { return mMinimum; }
    double Maximum() const { return mMaximum; }
    bool WholeNumbersOnly() const { return mWholeNumbersOnly; }
    int16_t FormatCode() const { return mFormatCode; }
    int TextLimit() const { return mTextLimit; }
    bool CheckOnLeave() const { return mCheckOnLeave; }

private:
    enum class Check { Valid, Malformed, AboveMaximum, BelowMinimum };
    Check CheckText(std::string_view text) const;
    NumEditKeyResult Decide(const std::string& wouldBe) const;

    bool mCheckOnLeave = false;
    bool mWholeNumbersOnly = false;
    double mMaximum = 2147483647.0;
    double mMinimum = -2147483648.0;
    int16_t mFormatCode = 1;
    int mTextLimit = 0;
};

/// The text after a typed character or Backspace replaces the selection [from, to) of
/// text (offsets in characters); Backspace without selection removes the character
/// before the caret.
std::string TextAfterChar(std::string_view text, long from, long to, char32_t key);
/// The text after the Delete key.
std::string TextAfterDelete(std::string_view text, long from, long to);

}  // namespace vx::dialogs
