#include "templates/TemplatePropertyRows.h"

#include "model/LengthUnits.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

struct Mapping {
    std::string_view stored;
    int id;
};

constexpr Mapping kOrientations[] = {{"Portrait", IDS_ORIENT_PORTRAIT}, {"Landscape", IDS_ORIENT_LANDSCAPE}};
constexpr Mapping kImageOptions[] = {{"Off", IDS_IMAGE_OPTION_OFF},
                                     {"AutoFit", IDS_IMAGE_OPTION_FIT},
                                     {"AutoCrop", IDS_IMAGE_OPTION_CROP}};
constexpr Mapping kRotations[] = {{"Use Exif Information", IDS_AUTO_ROTATE_EXIF},
                                  {"Widthways(CW)", IDS_AUTO_ROTATE_LANDSCAPE_RIGHT},
                                  {"Widthways(CCW)", IDS_AUTO_ROTATE_LANDSCAPE_LEFT},
                                  {"Lengthways(CW)", IDS_AUTO_ROTATE_PORTRAIT_RIGHT},
                                  {"Lengthways(CCW)", IDS_AUTO_ROTATE_PORTRAIT_LEFT}};

template <size_t N>
std::string Lookup(const Mapping (&table)[N], std::string_view stored, std::string_view otherwise) {
    for (const Mapping& m : table)
        if (m.stored == stored) return LoadString(m.id);
    return std::string(otherwise);
}

std::string InkText(std::string_view color) {
    if (color.empty()) return {};
    if (color == "Black") return LoadString(IDS_TS_INK_BLACK);
    if (color == "Greyvance") return LoadString(IDS_TS_INK_GREYVANCE);
    return LoadString(IDS_TS_INK_COLOUR);
}

std::string WithoutBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

}  // namespace

std::string TemplateFileNamePart(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

TemplatePropertyRows MakeTemplatePropertyRows(const TemplateInfo& info) {
    const std::string rotation = info.AutoRotation.empty() ? std::string()
                                                           : Lookup(kRotations, info.AutoRotation,
                                                                    LoadString(IDS_AUTO_ROTATE_OFF));
    const std::string values[kTemplatePropertyRowCount] = {
        TemplateFileNamePart(info.Path),
        WithoutBreaks(info.Comment),
        info.PrinterModel,
        info.PaperSource,
        info.PaperSize,
        info.IsBanner == 1 ? info.PaperLengthText : std::string(),
        info.MediaType,
        Lookup(kOrientations, info.PaperOrient, ""),
        InkText(info.Color),
        info.LayoutModeText,
        info.ImageSizeText,
        info.IsAbsoluteSize == 1 ? Lookup(kImageOptions, info.ImageOption, "") : std::string(),
        rotation,
    };
    TemplatePropertyRows rows;
    for (int row = 0; row < kTemplatePropertyRowCount; ++row) {
        rows[row].label = LoadString(IDS_TS_ROW_NAME + row);
        rows[row].value = values[row].empty() ? "-" : values[row];
    }
    return rows;
}

std::string RewriteImageSizeText(std::string_view text, int unit) {
    const std::string& mm = LoadString(IDS_UNIT_MM);
    const std::string& inch = LoadString(IDS_UNIT_INCH);
    int storedUnit = 0;
    if (text.find(mm) != std::string_view::npos) storedUnit = 1;
    else if (text.find(inch) != std::string_view::npos) storedUnit = 2;
    if (storedUnit == 0) return std::string(text);
    // The two lengths follow the two "= ".
    const size_t first = text.find('=');
    const size_t second = first == std::string_view::npos ? first : text.find('=', first + 1);
    if (second == std::string_view::npos) return std::string(text);
    const int32_t width = ParseLengthInUnit(text.substr(first + 1), storedUnit);
    const int32_t height = ParseLengthInUnit(text.substr(second + 1), storedUnit);
    const int shownUnit = unit == 1 ? 1 : 2;
    const std::string& unitName = shownUnit == 1 ? mm : inch;
    return LoadString(IDS_LABEL_WIDTH) + " = " + FormatLengthInUnit(width, shownUnit, kUnitsPerInch) + " " +
           unitName + ", " + LoadString(IDS_LABEL_HEIGHT) + " = " +
           FormatLengthInUnit(height, shownUnit, kUnitsPerInch) + " " + unitName;
}

std::string PreviewCommentText(std::string_view comment) {
    std::string out;
    out.reserve(comment.size());
    for (size_t i = 0; i < comment.size(); ++i) {
        const char c = comment[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < comment.size() && comment[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace vx
