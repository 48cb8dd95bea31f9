#include "printing/PrintPresetsController.h"

#include <utility>

#include "model/CLayoutSetting.h"
#include "model/Relayout.h"
#include "printing/CPrinterManager.h"
#include "printing/SettingsTransaction.h"
#include "printing/TemplateMarksPort.h"

namespace vx {
namespace {

constexpr int kNoRow = -1;

constexpr int16_t kModeUltrafine = 15;

using C = OptionControl;

}  // namespace

PrintPresetsController::PrintPresetsController(CPrinterManager& manager, CLayoutSetting& layout,
                                               TemplateMarksPort& marks, Hooks hooks)
    : mManager(manager), mLayout(layout), mMarks(marks), mHooks(std::move(hooks)) {}

OptionControls PrintPresetsController::Controls(PresetPart part) const {
    OptionControls c;
    auto present = [&c](std::initializer_list<C> controls) {
        for (C control : controls) c[control].present = true;
    };
    switch (part) {
    case PresetPart::Dialog: present({C::Printer}); break;
    case PresetPart::PaperPage:
        present({C::PaperSource, C::PaperSize, C::Orientation1, C::Orientation2, C::AreaStandard, C::AreaMaximum,
                 C::AreaCentred});
        break;
    case PresetPart::MediaPage:
        present({C::Media, C::InkColour, C::InkBlack, C::InkMonoPhoto, C::InkPicture, C::ModeQuality, C::ModeFast,
                 C::ModeUltrafine, C::HighSpeed});
        break;
    }
    // Only the manager's bound layout speaks for the open printer.
    if (mManager.GetLayout() == &mLayout) mManager.FillOptionCombos(c);
    return c;
}

bool PrintPresetsController::Run(std::function<void(CLayoutSetting&)> write, int row, Question question,
                                 bool paperPage) {
    if (mManager.GetLayout() != &mLayout) return false;
    SettingsChange change;
    change.write = [this, write = std::move(write), row](CLayoutSetting& layout) {
        if (write) write(layout);
        if (row != kNoRow && mHooks.markRow) mHooks.markRow(row);
    };
    return RunChange(change, question) && Finish(paperPage);
}

bool PrintPresetsController::RunChange(const SettingsChange& change, Question question) {
    SettingsTransaction::Hooks hooks;
    hooks.confirm = [this, question](const SettingsChangeRecord& r) {
        bool rearranges = false;
        if (question == Question::PaperSize) rearranges = r[SettingsChangeRecord::kPaperSize] != 0;
        else if (question == Question::Arrangement)
            rearranges = r[SettingsChangeRecord::kSource] || r[SettingsChangeRecord::kPaperSize] ||
                         r[SettingsChangeRecord::kPrintableArea] || r[SettingsChangeRecord::kOrientation];
        return !rearranges || !mHooks.confirm || mHooks.confirm(mLayout);
    };
    hooks.refresh = mHooks.refresh;
    SettingsChangeRecord record;
    return SettingsTransaction(mManager, mMarks, hooks).Run(change, record);
}

bool PrintPresetsController::Finish(bool paperPage) {
    if (paperPage && mLayout.GetBanner() && mHooks.markRow) mHooks.markRow(kRowBannerLength);
    if (mHooks.refresh) mHooks.refresh();
    if (mLayout.GetPageMax() < mLayout.GetPageNumber()) {
        mLayout.SetPageNumber(mLayout.GetPageMax());
        UpdateLayoutAndRedraw(mLayout);
    }
    return true;
}

bool PrintPresetsController::ApplyPrinter(const std::string& name) {
    if (mManager.GetLayout() != &mLayout || name.empty() || name == mLayout.Texts().printerName) return false;
    SettingsChange change;
    change.printer = name;
    change.scratchFirst = true;
    change.forceGeometry = true;
    if (!RunChange(change, Question::PaperSize)) return false;
    if (mHooks.markRow) mHooks.markRow(kRowPrinter);
    return Finish(false);
}

bool PrintPresetsController::ApplySource(int32_t id) {
    const int16_t value = static_cast<int16_t>(id);
    if (value == mLayout.GetDefaultSource()) return false;
    return Run([value](CLayoutSetting& l) { l.SetDefaultSource(value); }, kRowPaperSource, Question::Arrangement, true);
}

bool PrintPresetsController::ApplyPaperSize(int32_t id) {
    const int16_t value = static_cast<int16_t>(id);
    if (value == mLayout.GetPaperSize()) return false;
    return Run([value](CLayoutSetting& l) { l.SetPaperSize(value); }, kRowPaperSize, Question::Arrangement, true);
}

bool PrintPresetsController::ApplyOrientation(int orientation) {
    const int16_t value = orientation == 1 ? 1 : 2;
    if (value == mLayout.GetOrientation()) return false;
    return Run([value](CLayoutSetting& l) { l.SetOrientation(value); }, kRowOrientation, Question::Arrangement,
               true);
}

bool PrintPresetsController::ApplyPrintableArea(int area) {
    const int16_t value = area ? 1 : 0;
    if (value == mLayout.GetPrintableArea()) return false;
    return Run([value](CLayoutSetting& l) { l.SetPrintableArea(value); }, kNoRow, Question::Arrangement, true);
}

bool PrintPresetsController::ApplyCentred(bool centred) {
    return Run([centred](CLayoutSetting& l) { l.SetCentered(centred ? 1 : 0); }, kNoRow, Question::Arrangement,
               true);
}

bool PrintPresetsController::SpinRoll(int delta) {
    if (mManager.GetLayout() != &mLayout || !mLayout.GetBanner()) return false;
    SettingsChange change;
    change.forceGeometry = true;
    change.pageDelta = delta > 0 ? 1 : -1;
    change.write = [this](CLayoutSetting&) {
        if (mHooks.markRow) mHooks.markRow(kRowBannerLength);
    };
    return RunChange(change, Question::None) && Finish(false);
}

bool PrintPresetsController::ApplyMedia(int32_t id) {
    // The option lists hold 16-bit ids; media ids are stored sign-extended.
    const int32_t value = static_cast<int16_t>(id);
    if (value == mLayout.GetMediaType()) return false;
    return Run([value](CLayoutSetting& l) { l.SetMediaType(value); }, kRowMedia, Question::None, false);
}

bool PrintPresetsController::ApplyInk(int32_t colour) {
    const int16_t value = static_cast<int16_t>(colour);
    return Run([value](CLayoutSetting& l) { l.SetColor(value); }, kRowInk, Question::None, false);
}

bool PrintPresetsController::ApplyMode(int16_t mode) {
    if (mode != kModeUltrafine && mode == mLayout.GetAutoMode()) return false;
    return Run([mode](CLayoutSetting& l) { l.SetAutoMode(mode); }, kNoRow, Question::None, false);
}

void PrintPresetsController::SetHighSpeed(bool on) {
    mLayout.SetHighSpeed(on ? 1 : 0);
    if (mHooks.refresh) mHooks.refresh();
}

void PrintPresetsController::SetPreProcessing(bool on) { mLayout.SetPreProcessing(on ? 1 : 0); }

}  // namespace vx
