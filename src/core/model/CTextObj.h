#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/CLayoutObj.h"

namespace vx {

/// The free-text item (kind 16): text, font, background colour and the text box that
/// measuring fills.
class CTextObj : public CLayoutObj {
public:
    /// Corners and edge middles of the turned text box, relative to the position.
    using BoxPoints = std::array<LayoutPoint, 8>;

    explicit CTextObj(bool newId, std::string_view name = {});

    bool Access(std::string_view name, bool write, PropertyValue& value) override;
    std::vector<CPropertyMember> InitPropertyNames() override;
    /// The item base, then text, font, background colour, box and the four properties.
    /// Throws std::invalid_argument when source is no free text.
    void CopyFrom(const CObjNode& source, bool copyLink) override;
    /// Position in whole units plus the first box point, or the third with vertical
    /// (columnar) writing.
    LayoutPoint GetOrigin() const override;

    const std::string& GetText() const { return mText; }
    void SetText(std::string text) { mText = std::move(text); }
    const FontSpec& GetFont() const { return mFont; }
    void SetFont(FontSpec font) { mFont = std::move(font); }
    ColorRef GetBackgroundColorValue() const { return mBackgroundColorValue; }
    void SetBackgroundColorValue(ColorRef c) { mBackgroundColorValue = c; }
    const BoxPoints& GetBoxPoints() const { return mBox; }
    void SetBoxPoints(const BoxPoints& box) { mBox = box; }

    int16_t GetTextLineHeight() const { return mTextLineHeight; }
    void SetTextLineHeight(int16_t v) { mTextLineHeight = v; }
    int16_t GetTextJustify() const { return mTextJustify; }
    void SetTextJustify(int16_t v) { mTextJustify = v; }
    int32_t GetColumnarWriting() const { return mColumnarWriting; }
    void SetColumnarWriting(int32_t v) { mColumnarWriting = v; }
    /// Whether the background colour is painted (the colour itself has no name).
    int32_t GetBackgroundColor() const { return mBackgroundColor; }
    void SetBackgroundColor(int32_t v) { mBackgroundColor = v; }

private:
    static const PropertyTable<CTextObj>& Properties();

    std::string mText;
    FontSpec mFont;
    ColorRef mBackgroundColorValue = 0;
    BoxPoints mBox{};
    int16_t mTextLineHeight = 0;
    int16_t mTextJustify = 0;
    int32_t mColumnarWriting = 0;
    int32_t mBackgroundColor = 0;
};

}  // namespace vx
