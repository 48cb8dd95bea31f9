#pragma once
#include <string>
#include <vector>

#include "dialogs/DialogCheck.h"
#include "model/CTextObj.h"

namespace vx {

/// The free-text dialog without its window: a private copy of a free text, the values
/// its controls show and the checks and writing of OK.
class FreeTextController {
public:
    static constexpr int kIdFont = 1162;
    static constexpr int kIdSize = 1148;
    static constexpr int kIdText = 1167;
    static constexpr int kIdAngle = 1149;
    static constexpr int kMaxChars = 250;
    static constexpr int kMinPoints = 4;
    static constexpr int kMaxPoints = 4608;

    struct Values {
        std::string face;
        std::string sizeText;  // whole points
        bool bold = false, italic = false, underline = false;
        int justify = 0;  // 0 left, 1 centre, -1 right
        bool vertical = false;
        int lineHeightEntry = 0;
        std::string angleText;
        ColorRef textColour = 0;
        bool background = false;
        ColorRef backgroundColour = 0;
        std::string text;  // line feeds only, as the text field holds it
    };

    /// faces: the font list's entries in their order.
    explicit FreeTextController(std::vector<std::string> faces);

    /// Copies item into the dialog's own text and loads the controls' values from it.
    /// A face that is not listed becomes "Tahoma", its stand-in "DejaVu Sans", or the
    /// first listed face, and the copy keeps that.
    bool SetTextSettings(const CTextObj& item);
    /// Copies the dialog's text into item (after OK).
    bool GetTextSettings(CTextObj& item) const;

    Values& GetValues() { return mValues; }
    const Values& GetValues() const { return mValues; }
    const std::vector<std::string>& Faces() const { return mFaces; }
    /// The line heights in percent, and their texts "150 %".
    const std::vector<int>& LineHeights() const { return mLineHeights; }
    std::vector<std::string> LineHeightTexts() const;

    bool UnderlineEnabled() const { return !mValues.vertical; }
    bool BackgroundColourEnabled() const { return mValues.background; }
    bool OkEnabled() const { return !mValues.text.empty(); }

    /// OK: refuses more than 250 characters and sizes outside 4..4608 points with their
    /// messages, else writes every value into the copy, measures it and keeps it on its
    /// page.
    DialogCheck Apply();

    const CTextObj& Item() const { return mItem; }

private:
    int ListedFace(const std::string& face) const;

    std::vector<std::string> mFaces;
    std::vector<int> mLineHeights;
    Values mValues;
    CTextObj mItem{false, "CGPTextDlg"};
};

/// Text as a free text stores it (CR LF) and as a text field shows it (LF).
std::string TextToItemLines(std::string_view text);
std::string TextToFieldLines(std::string_view text);

}  // namespace vx
