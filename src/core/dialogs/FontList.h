#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::dialogs {

/// Height of the font lists' entries, set by the text dialogs from a text measurement
/// before they create their lists; 0 until then. User-interface thread only.
extern int32_t FontListItemHeight;

/// The entry height the font lists use: FontListItemHeight, at least 15.
int FontListEntryHeight();

inline constexpr uint32_t kFontKindPrinter = 0x100;
inline constexpr uint32_t kFontKindOutline = 0x200;  // drawn with the TrueType picture
inline constexpr uint32_t kFontKindDevice = 0x400;

/// Face names longer than this cannot be stored in a layout file.
inline constexpr size_t kMaxFaceNameLength = 32;

/// One installed family as the system reports it.
struct FontFamilyInfo {
    std::string name;
    bool outline = false;  ///< at least one scalable face
};

/// The installed families (fontconfig) with whether each has scalable faces; read
/// once per process.
const std::vector<FontFamilyInfo>& InstalledFontFamilies();

/// One listed font.
struct FontEntry {
    std::string faceName;
    std::string qualifier;  // always empty
    uint8_t charSet = 0;
    uint8_t pitchAndFamily = 0;
    uint32_t kind = 0;
};

/// Entries of a combo, their selection and text, as the font combos keep them.
class ComboEntries {
public:
    const std::vector<std::string>& Texts() const { return mTexts; }
    long Selection() const { return mSelection; }
    const std::string& WindowText() const { return mWindowText; }

    void Assign(std::vector<std::string> texts);
    /// The selected entry's text, or the window text when nothing is selected.
    std::string CurText() const;
    /// Selects the first entry equal to text (exact) or beginning with it, ignoring
    /// ASCII case; with no match nothing is selected and text becomes the window text.
    /// Returns the index or -1.
    long SelectByText(std::string_view text, bool exact);
    void Select(long index);

    /// The first entry from the start equal to / beginning with text, or -1.
    long Find(std::string_view text, bool exact) const;

private:
    std::vector<std::string> mTexts;
    long mSelection = -1;
    std::string mWindowText;
};

/// The list of a font combo: its entries (sorted by name) and its choice.
class FontList {
public:
    /// Refills from families, keeping the current choice (or taking the first entry
    /// when there was none). Bitmap-only families and names too long for a layout file
    /// are left out. printerFonts is accepted for the callers and ignored: the print
    /// system offers no fonts of its own.
    void Fill(const std::vector<FontFamilyInfo>& families, bool printerFonts = false);

    const std::vector<FontEntry>& Entries() const { return mEntries; }
    ComboEntries& Combo() { return mCombo; }
    const ComboEntries& Combo() const { return mCombo; }

private:
    std::vector<FontEntry> mEntries;
    ComboEntries mCombo;
};

}  // namespace vx::dialogs
