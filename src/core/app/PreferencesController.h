#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "printing/PrinterEntries.h"

namespace vx {

class CLayoutSetting;
struct AppPreferences;

/// The preferences dialog without its windows: the general page (unit, grid, arrow
/// step, start choice, quick print, thumbnails) and the printer page (the store of at
/// most eight direct-print printers), the check of OK and what OK writes. Nothing
/// reaches the preferences or the layout before Apply.
///
/// Lengths are kept in 1/360 inch; a field's text is read only when the user edited
/// it, so switching units back and forth never changes a value.
class PreferencesController {
public:
    static constexpr int kStoreSize = 8;
    static constexpr int32_t kMinimumLength = 14;     // about 0.99 mm
    static constexpr int32_t kMaximumLength = 11520;  // 812.8 mm, 32 inches

    // Control ids the check names.
    static constexpr int kGridEdit = 1148;
    static constexpr int kArrowStepEdit = 1149;

    /// The range a length field accepts in unit (1 mm, 2 inch), as CNumEdit takes it.
    struct FieldRange {
        double maximum;
        int16_t formatCode;  // 5 one decimal, 1 two decimals
    };
    static FieldRange RangeFor(int unit);

    /// layout is the active document's, or the default layout when no document is
    /// open (documentOpen false); printers are the supported printers in list order.
    PreferencesController(AppPreferences& preferences, CLayoutSetting& layout, bool documentOpen,
                          std::vector<PrinterEntry> printers);

    // General page.
    int Unit() const { return mUnit; }
    int GridUnit() const { return mGrid.unit; }
    int ArrowStepUnit() const { return mArrowStep.unit; }
    /// The unit list (3614): every field follows it.
    void SetUnit(int unit);
    void SetGridUnit(int unit);
    void SetArrowStepUnit(int unit);
    /// The text each edit shows: its value in its unit, mm with one decimal, inches
    /// with two, or what the user typed.
    const std::string& GridText() const { return mGrid.text; }
    const std::string& ArrowStepText() const { return mArrowStep.text; }
    void EditGridText(std::string text) { Edit(mGrid, std::move(text)); }
    void EditArrowStepText(std::string text) { Edit(mArrowStep, std::move(text)); }

    int StartChoice() const { return mStartChoice; }
    void SetStartChoice(int choice) { mStartChoice = choice; }
    /// 0 quick print enabled, 1 disabled.
    int QuickPrintChoice() const { return mQuickPrintChoice; }
    void SetQuickPrintChoice(int choice) { mQuickPrintChoice = choice; }
    bool ConfirmationEnabled() const { return mQuickPrintChoice == 0; }
    bool Confirmation() const { return mConfirmation; }
    void SetConfirmation(bool on) { mConfirmation = on; }
    bool Thumbnails() const { return mThumbnails; }
    void SetThumbnails(bool on) { mThumbnails = on; }

    // Printer page.
    const std::vector<PrinterEntry>& Printers() const { return mPrinters; }
    const std::array<std::string, kStoreSize>& Store() const { return mStore; }
    /// The store's non-empty slots in slot order.
    std::vector<std::string> StoreEntries() const;
    void ChoosePrinter(const std::string& name);
    const std::string& ChosenPrinter() const { return mChosenPrinter; }
    /// The chosen printer's model after its first blank ("TEVRA Proof 44" shows "Proof 44").
    std::string ModelText() const;
    /// The 48 x 48 icon of the chosen printer's model class: 347, 345 or 346; 0 when
    /// no printer is chosen.
    int ModelIconId() const;
    bool CanAdd() const;
    /// Puts the chosen printer into the first empty slot; false when it cannot.
    bool Add();
    void ChooseStoreEntry(const std::string& name) { mChosenStoreEntry = name; }
    bool CanDelete(bool storeHasSelection) const;
    /// Removes the chosen store entry; later slots move up. False when it is not stored.
    bool Delete();

    /// The OK check: a grid or arrow step outside 14..11520 units shows the range
    /// message in the field's unit and names the field's control id; 0 when both pass.
    int Check();
    /// Check, then writes everything into the preferences and the layout's `mUnit`
    /// and lets the print-settings pane of an open document refill. The failing
    /// control's id, or 0 when written.
    int Apply();

    int32_t GridValue() const { return Value(mGrid); }
    int32_t ArrowStepValue() const { return Value(mArrowStep); }

private:
    struct LengthField {
        int32_t value = 0;
        int unit = 1;
        std::string text;
        bool edited = false;
    };
    static void Show(LengthField& field);
    static void Convert(LengthField& field, int unit);
    static void Edit(LengthField& field, std::string text);
    static int32_t Value(const LengthField& field);
    int StoreCount() const;
    bool Stored(const std::string& name) const;

    AppPreferences& mPreferences;
    CLayoutSetting& mLayout;
    bool mDocumentOpen;
    int mUnit = 1;
    LengthField mGrid;
    LengthField mArrowStep;
    int mStartChoice = 0;
    int mQuickPrintChoice = 1;
    bool mConfirmation = true;
    bool mThumbnails = false;
    std::vector<PrinterEntry> mPrinters;
    std::array<std::string, kStoreSize> mStore;
    std::string mChosenPrinter;
    std::string mChosenStoreEntry;
};

/// The supported printers for the preferences dialog. With no document open the
/// default layout is bound to the printer manager first, as the printer page expects.
std::vector<PrinterEntry> PreferencesPrinterList(bool documentOpen, CLayoutSetting& defaultLayout);

}  // namespace vx
