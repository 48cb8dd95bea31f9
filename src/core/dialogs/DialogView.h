#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace vx::dialogs {

/// The range a numeric edit takes (CNumEdit::SetParams): limits in the field's unit,
/// its format code and text limit.
struct EditRange {
    double minimum = 0;
    double maximum = 0;
    int16_t formatCode = 0;
    int textLimit = 9;
    friend bool operator==(const EditRange&, const EditRange&) = default;
};

/// What one control shows. Radios and check boxes use checked; link icons show linked
/// with checked; edits and statics show text; drop-down lists select selection.
struct ControlView {
    bool enabled = true;
    bool checked = false;
    std::string text;
    int selection = -1;
    std::optional<EditRange> range;
    friend bool operator==(const ControlView&, const ControlView&) = default;
};

/// The controls of one dialog page by control id.
using PageView = std::map<int, ControlView>;

}  // namespace vx::dialogs
