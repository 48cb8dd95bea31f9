#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/ImageAlignController.h"
#include "model/LayoutTypes.h"

namespace vx {
class CLayoutSetting;
}

namespace vx::dialogs {

/// A calendar date.
struct CalendarDate {
    int year = 0, month = 0, day = 0;
};
/// Today in local time.
CalendarDate LocalToday();
/// "TT.MM.JJJJ".
std::string FormatGermanDate(const CalendarDate& date);

/// The header and footer dialog's logic. It works on its own copy of the layout's
/// settings: every change goes into the copy at once, OK checks heights and texts,
/// and the opener takes the copy back after OK (GetSettings).
class HeaderFooterController {
public:
    enum Control : int {
        kHeaderText = 1081, kFooterText = 1082,
        kHeaderDatePage = 1033, kHeaderFixedDate = 1034, kFooterDatePage = 1035, kFooterFixedDate = 1036,
        kHeaderEdit = 1153, kHeaderHeight = 1154, kFooterEdit = 1156, kFooterHeight = 1157,
        kFont = 1162, kSize = 1163, kLineHeight = 1164, kColour = 1165,
        kLeft = 1168, kCentre = 1169, kRight = 1170, kBold = 1171, kItalic = 1172, kUnderline = 1173,
        kFooterUnit = 3615, kHeaderPrintInfo = 3797, kFooterPrintInfo = 3798, kHeaderUnit = 3799,
        kHeaderDateLabel = 3800, kFooterDateLabel = 3801,
    };
    enum class Area { Header, Footer };
    /// Which control OK focuses after a refusal.
    enum class Focus { None, HeaderHeight, FooterHeight, HeaderEdit, FooterEdit };
    static constexpr int32_t kMinHeight = 20;
    static constexpr size_t kMaxChars = 250;

    explicit HeaderFooterController(std::function<CalendarDate()> today = LocalToday);
    ~HeaderFooterController();

    /// Copies every setting of layout into the dialog's own record; 1.
    int SetSettings(const CLayoutSetting& layout);
    /// Copies the dialog's settings into layout; 1.
    int GetSettings(CLayoutSetting& layout) const;
    const CLayoutSetting& Settings() const { return *mSettings; }

    /// Fills the view state from the settings (fontFaces: the font list's entries).
    void Init(const std::vector<std::string>& fontFaces);

    /// The line heights offered, in percent.
    static std::vector<int> LineHeightPercents();

    const std::string& HeightText(Area a) const { return mHeight[Index(a)]; }
    int Unit(Area a) const { return mUnit[Index(a)]; }
    FieldRange Range(Area a) const;
    /// The area's text as its text area shows it (LF between lines).
    const std::string& AreaText(Area a) const { return mText[Index(a)]; }
    bool PrintsText(Area a) const;
    bool PrintsInfo(Area a) const;
    bool PrintsDatePage(Area a) const;
    bool UsesFixedDate(Area a) const;
    /// The fixed-date box is enabled while date and page number are printed.
    bool FixedDateEnabled(Area a) const { return PrintsDatePage(a); }
    const std::string& FixedDateLabel(Area a) const { return mDateLabel[Index(a)]; }
    int FontIndex() const { return mFont; }
    int SizeIndex() const { return mSize; }
    int LineHeightIndex() const { return mLineHeight; }
    ColorRef Colour() const;
    /// -1 right, 1 centre, else left.
    int Justify() const;
    int16_t Style() const;

    void SetHeightText(Area a, std::string text) { mHeight[Index(a)] = std::move(text); }
    void SetAreaText(Area a, std::string text) { mText[Index(a)] = std::move(text); }
    void TickText(Area a, bool on);
    void TickInfo(Area a, bool on);
    void TickDatePage(Area a, bool on);
    void TickFixedDate(Area a, bool on);
    void UnitChanged(Area a, int index);
    void SelectFont(int index);
    void SelectSize(int index);
    void SelectLineHeight(int index);
    void SetColour(ColorRef colour);
    /// B, I, U: 0x100, 0x200, 0x400 set or cleared.
    void SetStyleBit(int16_t bit, bool on);
    /// L, C, R clicked while ticked: 0, 1 or -1.
    void SetJustify(int justify);

    /// Checks heights and texts into the copy; false with Focus set after a refusal.
    bool OnOK();
    Focus FocusAfterRefusal() const { return mFocus; }

private:
    static size_t Index(Area a) { return a == Area::Header ? 0 : 1; }
    int32_t MaxHeight() const;
    void StoreFixedDate(Area a, const CalendarDate& date, bool on);

    std::function<CalendarDate()> mToday;
    std::unique_ptr<CLayoutSetting> mSettings;
    std::vector<std::string> mFaces;
    std::string mHeight[2], mText[2], mDateLabel[2];
    int mUnit[2] = {1, 1};
    int mFont = -1, mSize = 0, mLineHeight = 0;
    Focus mFocus = Focus::None;
};

}  // namespace vx::dialogs
