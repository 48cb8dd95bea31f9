#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/FrameTextController.h"

namespace vx::dialogs {

/// The labels dialog's logic: the 25 label items as ticks, the ready-made combinations
/// and what OK writes. Programmatic ticks change no combination in between.
class LabelsController : public FrameTextController {
public:
    enum Control : int { kCombination = 3813, kItems = 3819 };
    static constexpr int kRows = 25;
    static constexpr int kCombinations = 14;
    static constexpr int kCustom = kCombinations - 1;  ///< "Benutzerdefiniert", never chosen

    explicit LabelsController(UndoStore& undo) : FrameTextController(undo, Kind::Labels) {}
    bool Init(const std::vector<std::string>& fontFaces);

    /// The rows' texts: "Nummer" ... "Blitz".
    static std::vector<std::string> RowTexts();
    /// The combination texts: "Aus" ... "Benutzerdefiniert".
    static std::vector<std::string> CombinationTexts();
    /// The combination of mask, kCustom for any mask not listed.
    static int CombinationForMask(uint32_t mask);
    /// The mask of combination index (0 for an index not listed).
    static uint32_t MaskForCombination(int index);

    uint32_t Mask() const { return mMask; }
    int Combination() const { return mCombination; }
    bool Ticked(int row) const { return row >= 0 && row < kRows && (mMask >> row) & 1u; }
    bool Applying() const { return mApplying; }

    /// The user ticked or cleared row.
    void SetRowTicked(int row, bool ticked);
    /// A double-click on row toggles it; -1 (no row) does nothing.
    void ToggleRow(int row);
    /// The user chose combination index: its items are ticked.
    void ChooseCombination(int index);
    /// The list closed: "Benutzerdefiniert" shown falls back to the mask's combination.
    void CombinationClosed();

    /// Writes the labels (undo code 33) and lays out; always closes.
    void OnOK();

private:
    uint32_t mMask = 0;
    int mCombination = 0;
    bool mApplying = false;
};

}  // namespace vx::dialogs
