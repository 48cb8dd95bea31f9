#include "document/LayoutXmlNames.h"

#include <numeric>
#include <vector>

namespace vx {

const std::array<std::string_view, kLayoutXmlNameCount> kLayoutXmlNames = {
    "root", "header", "layout", "object", "Version", "Platform", "OSVersion",
    // 7 to 130: the layout element's children.
    "Comment", "CommentEnglish", "CommentGerman", "CommentFrench", "CommentItalian",
    "CommentSpanish", "CommentPortuguese", "CommentDutch", "CommentSimplifiedChinese",
    "CommentTraditionalChinese", "CommentKorean", "Preview", "NameGenre", "NameOutputImageForm",
    "NameMyTemplate", "SaveTemplateWithImages", "Paper", "PaperOrient", "Page", "PageNumber",
    "PageMax", "BannerPageNumber", "BannerLength", "Free", "Banner", "AlignHorizontal",
    "AlignHorizontalSpacing", "AlignVertical", "AlignVerticalSpacing", "AlignLine",
    "HeaderFooterFontName", "HeaderFooterFontSizeAuto", "HeaderFooterFontSize",
    "HeaderFooterFontFace", "HeaderFooterFontColor", "HeaderFooterLineHeight",
    "HeaderFooterLineHeightPercent", "HeaderFooterJustify", "HeaderOffset", "HeaderDispText",
    "HeaderDispPrintInfo", "HeaderDispDatePage", "HeaderUseFixedDate", "HeaderText",
    "HeaderFixedDate", "FooterOffset", "FooterDispText", "FooterDispPrintInfo",
    "FooterDispDatePage", "FooterUseFixedDate", "FooterText", "FooterFixedDate", "InputSrcUseZel",
    "InputSrcProfile", "InputSrcIntent", "InputSrcUseEmbedProfile", "InputSimMethod",
    "InputSimProfile", "InputSimIntent", "OutputMonitorProfile", "OutputPrinterControls",
    "OutputPrinterProfile", "OutputRecommend", "CutLineMode", "CutLineOthersType",
    "CutLineCornerLength", "CutLineCornerPosition", "CutLineColor", "AutoRotation",
    "PreProcessing", "PaperColor", "LayoutMarginMode", "LayoutMargin", "SaveRelativePath",
    "UserDefinedPage", "ImageSize", "ImageSizeAbsolute", "ImageSizeRelative", "ImageSizeMethod",
    "ImageSizeRatio", "ImageSizeImageOption", "ImageFrameSetting", "ImageFrameRect",
    "ImageFrameColorValid", "ImageFrameColor", "ImageFrameRotation", "ImageLabelItems",
    "ImageLabelFontName", "ImageLabelFontSize", "ImageLabelFontColor", "ImageLabelAlign",
    "ImageLabelLocation", "ImageLabelUpsideDown", "ImageCaptionFontName", "ImageCaptionFontSize",
    "ImageCaptionFontColor", "ImageCaptionAlign", "ImageCaptionLocation",
    "ImageCaptionUpsideDown", "ImageCaptionString", "ImageStampInUse", "ImageStampFileName",
    "RelativeStampFileName", "ImageStampSettings", "ImageStampPosition", "ImageStampSize",
    "ImageStampConstrainPropotion", "PrinterName", "PrinterModel", "Orientation", "PaperSizeID",
    "PaperSize", "PaperLength", "PaperWidth", "PaperSourceID", "PaperSource", "MediaTypeID",
    "MediaType", "AutoMode", "Color", "PrintableArea", "Centerd", "HighSpeed", "UserPreset",
    "image", "freeText", "freeLine",
    // 134 to 180: the image element's children.
    "RelativeDir", "Dir", "File", "Position", "OffsetOrgPos", "Size", "SizeAbsolute",
    "SizeRelative", "SizeMethod", "SizeRatio", "SizeImageOption", "FrameSetting", "FrameRect",
    "FrameColorValid", "FrameColor", "FrameRotation", "CropArea", "CropMode", "CropFrameColor",
    "CropFixedRatio", "Rotate", "FrameRotate", "Flip", "LabelItems", "LabelFontName",
    "LabelFontSize", "LabelFontColor", "LabelAlign", "LabelLocation", "LabelUpsideDown",
    "CaptionFontName", "CaptionFontSize", "CaptionFontColor", "CaptionAlign", "CaptionLocation",
    "CaptionUpsideDown", "CaptionString", "ImageSrcManagementMode", "ImageSrcProfile",
    "ImageSrcIntent", "ImageSrcUseEmbedProfile", "ImageSimMethod", "ImageSimProfile",
    "ImageSimIntent", "ColorTuneMode", "ColorTune", "OffsetFromPageTop",
    // 181 to 191 free text, 192 to 201 free line.
    "String", "FontName", "FontSize", "FontFace", "FontColor", "LineHeight", "Justify",
    "ColumnarWriting", "Angle", "DispBackGround", "BackGroundColor", "LineStyle", "Thickness",
    "Length", "LineColor", "ArrowMark", "ArrowAngle", "ArrowFill", "ArrowSize", "OffsetStart",
    "OffsetEnd",
};

namespace {

std::vector<int16_t> Range(int16_t first, int16_t last) {
    std::vector<int16_t> v(size_t(last - first + 1));
    std::iota(v.begin(), v.end(), first);
    return v;
}

std::vector<int16_t> Join(std::vector<int16_t> a, const std::vector<int16_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

std::span<const int16_t> LayoutXmlContext(XmlContext context) {
    static const std::vector<int16_t> kRoot = {kXmlHeader, kXmlLayout, kXmlObject};
    static const std::vector<int16_t> kHeader = {kXmlVersion, kXmlPlatform, kXmlOSVersion};
    static const std::vector<int16_t> kLayout = Range(kXmlLayoutFirst, kXmlLayoutLast);
    static const std::vector<int16_t> kObject = {kXmlImage, kXmlFreeText, kXmlFreeLine};
    static const std::vector<int16_t> kImage = Range(kXmlImageFirst, kXmlImageLast);
    static const std::vector<int16_t> kText =
        Join({kXmlPosition, kXmlOffsetOrgPos}, Range(kXmlTextFirst, kXmlTextLast));
    // LineStyle, Thickness, Length, then Angle, then LineColor to OffsetEnd.
    static const std::vector<int16_t> kLine =
        Join(Join({kXmlPosition, kXmlOffsetOrgPos}, Range(kXmlLineFirst, 194)),
             Join({kXmlAngle}, Range(195, kXmlLineLast)));
    switch (context) {
        case XmlContext::Root: return kRoot;
        case XmlContext::Header: return kHeader;
        case XmlContext::Layout: return kLayout;
        case XmlContext::Object: return kObject;
        case XmlContext::Image: return kImage;
        case XmlContext::FreeText: return kText;
        case XmlContext::FreeLine: return kLine;
    }
    return {};
}

int FindInLayoutXmlContext(XmlContext context, std::string_view name) {
    std::span<const int16_t> children = LayoutXmlContext(context);
    for (size_t i = 0; i < children.size(); ++i)
        if (kLayoutXmlNames[size_t(children[i])] == name) return int(i);
    return -1;
}

}  // namespace vx
