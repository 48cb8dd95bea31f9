#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

class CLayoutSetting;

/// The duplicate dialog's logic ("Duplizieren", 299): the number of copies, 1 to 99.
class DuplicateController {
public:
    static constexpr int kMinimum = 1;
    static constexpr int kMaximum = 99;
    static constexpr int kTextLimit = 9;
    /// What the edit shows first (all selected).
    static std::string InitialText() { return "1"; }
    /// OK: the text read as a plain number rounded to a whole one ("2.6" is 3). False
    /// after the range message (1 - 99): the edit gets the focus with its text selected.
    bool Accept(std::string_view text);
    int Count() const { return mCount; }

private:
    int mCount = 1;
};

/// Makes count copies of the selection, one DuplicateSelection after another, as one
/// edit with undo code 15 (one undo takes back the whole series). When the paper would
/// pass 15 m (15168) or the cut sheets their limit (59450) everything is put back as it
/// was before the first copy, undo state included; running out of memory (10413) or
/// reaching 999 items (59430) stops and keeps the copies made. Returns the copies kept.
int DuplicateSeveralTimes(CLayoutSetting& layout, int count);

/// The duplicate-several-times command around the dialog: askCount shows the dialog
/// and gives the count, nullopt on Cancel. Afterwards the image information window
/// (when shown) follows the current item and the panes are redrawn. True on OK.
bool RunDuplicateSeveralTimesCommand(CLayoutSetting& layout, const std::function<std::optional<int>()>& askCount);

}  // namespace vx
