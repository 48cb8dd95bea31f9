#pragma once
#include <cstdint>
#include <memory>

namespace vx {

class CLayoutSetting;

/// The auto-rotate dialog's logic ("Automatisch drehen", 209): six radio buttons for
/// the layout's `mAutoRotate` 0 to 5, on a copy of the layout's settings.
class AutoRotateController {
public:
    static constexpr int kModes = 6;
    static constexpr uint16_t kNoMode = 65535;

    AutoRotateController();
    ~AutoRotateController();

    /// Copies the layout's settings (no items) and keeps flag; 1.
    int SetSettings(const CLayoutSetting& layout, int flag);
    /// Copies the settings back into layout; 1.
    int GetSettings(CLayoutSetting& layout) const;
    /// The radio to check when the dialog opens: the copy's mode, -1 (none) for a
    /// value outside 0..5.
    int InitialRadio() const;
    /// OK with the radio checked (-1: none).
    void Ok(int checkedRadio);
    /// The mode chosen at OK. With none checked (the stored value was already invalid)
    /// the stored mode stays, so 65535 never reaches the layout.
    uint16_t GetRotateMode() const;

private:
    std::unique_ptr<CLayoutSetting> mCopy;
    int mFlag = 0;
    uint16_t mMode = kNoMode;
};

}  // namespace vx
