#include "app/PreferencesController.h"

#include <algorithm>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "model/LengthUnits.h"
#include "printing/CPrinterManager.h"
#include "printing/PrinterQueries.h"

namespace vx {
namespace {

int KnownUnit(int unit) { return unit == 2 ? 2 : 1; }

}  // namespace

PreferencesController::FieldRange PreferencesController::RangeFor(int unit) {
    return unit == 2 ? FieldRange{32.0, 1} : FieldRange{812.8, 5};
}

PreferencesController::PreferencesController(AppPreferences& preferences, CLayoutSetting& layout, bool documentOpen,
                                             std::vector<PrinterEntry> printers)
    : mPreferences(preferences), mLayout(layout), mDocumentOpen(documentOpen), mPrinters(std::move(printers)) {
    mUnit = KnownUnit(preferences.unit);
    mGrid = {preferences.gridX, mUnit, {}, false};
    mArrowStep = {preferences.arrowKeyStep, mUnit, {}, false};
    Show(mGrid);
    Show(mArrowStep);
    mStartChoice = std::clamp<int>(preferences.startDocument, 0, 2);
    mQuickPrintChoice = preferences.quickPrint ? 0 : 1;
    mConfirmation = preferences.confirmationDialogs != 0;
    mThumbnails = preferences.highQualityThumbnails != 0;
    size_t slot = 0;
    for (const std::string& name : preferences.directPrintPrinters) {
        if (name.empty()) continue;
        mStore[slot++] = name;
    }
}

void PreferencesController::Show(LengthField& field) {
    // One decimal fewer than the unit's own format: what the edit accepts.
    field.text = FormatLengthInUnit(field.value, field.unit == 2 ? -2 : -1, 360);
    field.edited = false;
}

void PreferencesController::Convert(LengthField& field, int unit) {
    field.value = Value(field);
    field.unit = KnownUnit(unit);
    Show(field);
}

void PreferencesController::Edit(LengthField& field, std::string text) {
    if (text == field.text) return;
    field.text = std::move(text);
    field.edited = true;
}

int32_t PreferencesController::Value(const LengthField& field) {
    return field.edited ? ParseLengthInUnit(field.text, field.unit) : field.value;
}

void PreferencesController::SetUnit(int unit) {
    mUnit = KnownUnit(unit);
    Convert(mGrid, mUnit);
    Convert(mArrowStep, mUnit);
}

void PreferencesController::SetGridUnit(int unit) { Convert(mGrid, unit); }

void PreferencesController::SetArrowStepUnit(int unit) { Convert(mArrowStep, unit); }

std::vector<std::string> PreferencesController::StoreEntries() const {
    std::vector<std::string> entries;
    for (const std::string& name : mStore)
        if (!name.empty()) entries.push_back(name);
    return entries;
}

int PreferencesController::StoreCount() const {
    return int(std::count_if(mStore.begin(), mStore.end(), [](const std::string& s) { return !s.empty(); }));
}

bool PreferencesController::Stored(const std::string& name) const {
    return std::find(mStore.begin(), mStore.end(), name) != mStore.end();
}

void PreferencesController::ChoosePrinter(const std::string& name) { mChosenPrinter = name; }

std::string PreferencesController::ModelText() const {
    for (const PrinterEntry& entry : mPrinters) {
        if (entry.printer != mChosenPrinter) continue;
        const size_t blank = entry.model.find(' ');
        return blank == std::string::npos ? std::string() : entry.model.substr(blank + 1);
    }
    return {};
}

int PreferencesController::ModelIconId() const {
    if (mChosenPrinter.empty()) return 0;
    std::string model;
    for (const PrinterEntry& entry : mPrinters)
        if (entry.printer == mChosenPrinter) model = entry.model;
    switch (GetPrinterModelClass(model)) {
        case 2: return 347;
        case 3: return 345;
        default: return 346;
    }
}

bool PreferencesController::CanAdd() const {
    // Adding nothing would store an empty name, which ends the stored list.
    if (mChosenPrinter.empty() || mPrinters.empty()) return false;
    const int count = StoreCount();
    return count < kStoreSize && !Stored(mChosenPrinter);
}

bool PreferencesController::Add() {
    if (!CanAdd()) return false;
    for (std::string& slot : mStore) {
        if (!slot.empty()) continue;
        slot = mChosenPrinter;
        return true;
    }
    return false;
}

bool PreferencesController::CanDelete(bool storeHasSelection) const { return StoreCount() > 0 && storeHasSelection; }

bool PreferencesController::Delete() {
    const auto found = std::find(mStore.begin(), mStore.end(), mChosenStoreEntry);
    if (mChosenStoreEntry.empty() || found == mStore.end()) return false;
    std::move(found + 1, mStore.end(), found);
    mStore.back().clear();
    // Keep the store filled from the front.
    std::stable_partition(mStore.begin(), mStore.end(), [](const std::string& s) { return !s.empty(); });
    mChosenStoreEntry.clear();
    return true;
}

int PreferencesController::Check() {
    const struct {
        const LengthField& field;
        int controlId;
    } fields[] = {{mGrid, kGridEdit}, {mArrowStep, kArrowStepEdit}};
    for (const auto& f : fields) {
        const int32_t value = Value(f.field);
        if (value >= kMinimumLength && value <= kMaximumLength) continue;
        ShowValueRangeError(f.field.unit, kMinimumLength, kMaximumLength);
        return f.controlId;
    }
    return 0;
}

int PreferencesController::Apply() {
    if (const int failed = Check()) return failed;
    const int32_t grid = Value(mGrid);
    mLayout.SetUnit(int16_t(mUnit));
    mPreferences.unit = int16_t(mUnit);
    mPreferences.arrowKeyStep = Value(mArrowStep);
    mPreferences.startDocument = int16_t(mStartChoice);
    mPreferences.quickPrint = mQuickPrintChoice == 0 ? 1 : 0;
    mPreferences.gridX = mPreferences.gridY = grid;
    mPreferences.confirmationDialogs = mConfirmation ? 1 : 0;
    mPreferences.directPrintPrinters = mStore;
    mPreferences.highQualityThumbnails = mThumbnails ? 1 : 0;
    if (mDocumentOpen) {
        Shell* shell = HostService<Shell>();
        if (PrintSettingsPane* pane = shell ? shell->GetActivePrintSettingsPane() : nullptr) {
            // The unit may have changed: the pane takes it again.
            pane->FillPrinterControls(false);
            pane->UpdateTemplateSettingsText(mLayout);
        }
    }
    return 0;
}

std::vector<PrinterEntry> PreferencesPrinterList(bool documentOpen, CLayoutSetting& defaultLayout) {
    CPrinterManager* manager = CPrinterManager::GetInstance();
    if (!manager) return {};
    if (!documentOpen) manager->BindLayout(&defaultLayout);
    return manager->Printers();
}

}  // namespace vx
