#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/ImageAlignController.h"
#include "model/LayoutTypes.h"

namespace vx {
class CLayoutSetting;
class UndoStore;
}

namespace vx::dialogs {

/// The page margins dialog without its window. Nothing reaches the layout before OK.
class MarginsController {
public:
    enum Control : int {
        kManual = 3711,
        kPrinter = 3801,
        kLeft = 3803,
        kTop = 3804,
        kRight = 3805,
        kBottom = 3806,
        kUnit = 3811,
    };
    enum Side { kSideLeft = 0, kSideTop = 1, kSideRight = 2, kSideBottom = 3 };

    explicit MarginsController(UndoStore& undo) : mUndo(undo) {}

    /// Loads mode, unit, paper and the margins shown from layout.
    void SetLayout(CLayoutSetting* layout);
    /// Fills the edits (FillEdits).
    void Initialise() { FillEdits(); }

    int Mode() const { return mMode; }
    int Unit() const { return mUnit; }
    /// The four manual controls are enabled in mode 1 only.
    bool ManualEnabled() const { return mMode != 0; }
    const std::string& Text(Side side) const { return mTexts[size_t(side)]; }
    static int ControlOf(Side side);

    void SetText(Side side, std::string text) { mTexts[size_t(side)] = std::move(text); }
    /// Radio 3801: the printer's margins, shown and fixed.
    void ChoosePrinterMargins();
    /// Radio 3711: manual margins starting from what is shown.
    void ChooseManualMargins() { mMode = 1; }
    /// Combo 3811 changed to entry index.
    void UnitChanged(int index);

    /// The largest margin side can take, in unit (0: 1/360 inch, 1 mm, 2 inch).
    double MaxMargin(Side side, int unit) const;
    /// The range the side's edit gets when it takes the focus.
    FieldRange Range(Side side) const;

    /// Checks, writes with one undo step (code 23) and lays out. True when the dialog
    /// may close; otherwise FocusSide tells which edit to focus.
    bool OnOK();
    std::optional<Side> FocusSide() const { return mFocus; }

private:
    void FillEdits();
    LayoutRect ReadEdits() const;
    static int32_t& Edge(LayoutRect& r, Side side);
    static int32_t Edge(const LayoutRect& r, Side side);

    UndoStore& mUndo;
    CLayoutSetting* mLayout = nullptr;
    int mMode = 0;
    int mUnit = 1;
    LayoutRect mShown;
    LayoutPoint mPaper;
    std::array<std::string, 4> mTexts;
    std::optional<Side> mFocus;
};

}  // namespace vx::dialogs
