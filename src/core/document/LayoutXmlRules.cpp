#include "document/LayoutXmlRules.h"

#include <algorithm>
#include <climits>
#include <variant>
#include <vector>

#include "document/LayoutPaths.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

using F = XmlForm;
using T = XmlTarget;

// ---- named values, at the record's own width -------------------------------------

CObjNode* Record(XmlTarget target, const XmlScope& s) {
    switch (target) {
        case T::Layout: return static_cast<CObjNode*>(s.layout);
        case T::Image: return static_cast<CObjNode*>(s.image);
        case T::Text: return static_cast<CObjNode*>(s.text);
        case T::Line: return static_cast<CObjNode*>(s.line);
    }
    return nullptr;
}

PropertyValue ReadNamed(const XmlRule& r, const XmlScope& s) {
    PropertyValue v;
    if (CObjNode* rec = Record(r.target, s)) rec->Access(r.property, false, v);
    return v;
}

/// The named value as a number; a Short read unsigned gives words such as 65535 back.
std::optional<int64_t> NamedInt(const XmlRule& r, const XmlScope& s, bool shortUnsigned) {
    PropertyValue v = ReadNamed(r, s);
    if (auto* p = std::get_if<int16_t>(&v)) return shortUnsigned ? int64_t(uint16_t(*p)) : int64_t(*p);
    if (auto* p = std::get_if<int32_t>(&v)) return *p;
    if (auto* p = std::get_if<uint32_t>(&v)) return *p;
    if (auto* p = std::get_if<LayoutPoint>(&v); p && r.component >= 0) return r.component == 0 ? p->x : p->y;
    return std::nullopt;
}

/// Stores value at the property's width: saturated, or with wrap 16-bit values wrapped
/// (words store 65535 as -1).
void SetNamedInt(const XmlRule& r, XmlScope& s, int64_t value, bool wrap) {
    CObjNode* rec = Record(r.target, s);
    if (!rec) return;
    PropertyValue v = ReadNamed(r, s);
    if (std::holds_alternative<int16_t>(v))
        v = wrap ? int16_t(uint16_t(value)) : int16_t(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
    else if (std::holds_alternative<int32_t>(v))
        v = int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    else if (std::holds_alternative<uint32_t>(v))
        v = uint32_t(std::clamp<int64_t>(value, 0, UINT32_MAX));
    else if (auto* p = std::get_if<LayoutPoint>(&v); p && r.component >= 0)
        (r.component == 0 ? p->x : p->y) = int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    else
        return;
    rec->Access(r.property, true, v);
}

std::optional<int64_t> RuleInt(const XmlRule& r, const XmlScope& s, bool shortUnsigned) {
    if (r.getInt) return r.getInt(s);
    return NamedInt(r, s, shortUnsigned);
}

void SetRuleInt(const XmlRule& r, XmlScope& s, int64_t value, bool wrap) {
    if (r.setInt) r.setInt(s, int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)));
    else SetNamedInt(r, s, value, wrap);
}

bool FormatText(std::string_view text, size_t maxChars, std::string& out) {
    if (maxChars && CountCodePoints(text) > maxChars) return false;
    std::optional<std::string> t = ToXmlText(text, true);
    if (!t) return false;
    out = std::move(*t);
    return true;
}

// ---- rule makers ------------------------------------------------------------------

XmlRule Named(int16_t name, XmlForm form, XmlTarget target, std::string_view property, int8_t component = -1) {
    return XmlRule{.name = name, .form = form, .target = target, .property = property, .component = component};
}

/// A word element. Without a fallback word, a value the format has no word for is left
/// out and an empty element keeps what the record holds: written as empty text it read
/// back as another value or failed the read, and refusing the save lost the user's work.
XmlRule Word(int16_t name, XmlTarget target, std::string_view property, std::span<const XmlWord> words,
             const char* writeOther, std::optional<int32_t> readOther, int8_t component = -1) {
    return XmlRule{.name = name, .form = F::Word, .target = target, .property = property,
                   .component = component, .words = words, .writeOther = writeOther,
                   .omitOther = writeOther == nullptr, .readOther = readOther};
}

XmlRule IntField(int16_t name, XmlForm form, int32_t (*get)(const XmlScope&), void (*set)(XmlScope&, int32_t)) {
    return XmlRule{.name = name, .form = form, .getInt = get, .setInt = set};
}

XmlRule TextField(int16_t name, const std::string& (*get)(const XmlScope&), void (*set)(XmlScope&, std::string),
                  bool skipEmpty, uint16_t maxChars = 0) {
    return XmlRule{.name = name, .form = F::Text, .getText = get, .setText = set, .maxChars = maxChars,
                   .skipEmpty = skipEmpty};
}

XmlRule Custom(int16_t name, XmlForm form, bool (*format)(const XmlScope&, std::string&),
               bool (*parse)(XmlScope&, std::string_view)) {
    return XmlRule{.name = name, .form = form, .format = format, .parse = parse};
}

// ---- words ------------------------------------------------------------------------

constexpr XmlWord kPaperOrient[] = {{1, "Landscape"}, {0, "Portrait"}};
constexpr XmlWord kAlignH[] = {{1, "Left"}, {4, "Center"}, {2, "Right"}, {5, "Justify"}};
constexpr XmlWord kAlignV[] = {{1, "Top"}, {4, "Center"}, {2, "Bottom"}};
constexpr XmlWord kAlignR[] = {{0, "Left"}, {1, "Center"}, {65535, "Right"}};
constexpr XmlWord kAlign3[] = {{0, "Left"}, {1, "Center"}, {2, "Right"}};
constexpr XmlWord kSimMethod[] = {{0, "Off"}, {2, "RGB"}, {1, "CMYK"}};
constexpr XmlWord kPrinterControls[] = {{0, "By Application"}, {1, "By Printer Driver"}, {2, "Photo Like"}};
constexpr XmlWord kCutLineMode[] = {{1, "Fotoba"}, {2, "Others"}, {0, "None"}};
constexpr XmlWord kCutLineOthers[] = {{1, "Around Image"}, {2, "At Corner"}};
constexpr XmlWord kAutoRotation[] = {{0, "Off"},
                                     {1, "Use Exif Information"},
                                     {2, "Widthways(CW)"},
                                     {3, "Widthways(CCW)"},
                                     {4, "Lengthways(CW)"},
                                     {5, "Lengthways(CCW)"}};
constexpr XmlWord kMarginMode[] = {{0, "Auto"}, {1, "Custom"}};
constexpr XmlWord kSizeMethod[] = {{1, "Dimensions"}, {2, "Ratio"}};
constexpr XmlWord kImageOption[] = {{0, "Off"}, {1, "AutoFit"}, {2, "AutoCrop"}};
constexpr XmlWord kOffAutoCustom[] = {{0, "Off"}, {1, "Auto"}, {2, "Custom"}};
constexpr XmlWord kLocation[] = {{0, "Top"}, {1, "Bottom"}, {2, "Left"}, {3, "Right"}};
constexpr XmlWord kOrientation[] = {{1, "Portrait"}, {2, "Landscape"}};
constexpr XmlWord kColor[] = {{1, "Black"}, {2, "Color"}, {256, "Greyvance"}};
constexpr XmlWord kCropMode[] = {{0, "Off"}, {1, "Crop"}, {2, "DrawFrame"}};
constexpr XmlWord kSourceMode[] = {{4, "ZEL"}, {6, "ZEL"}, {2, "Exif"}, {0, "RGB Profile"}};
constexpr XmlWord kLineStyle[] = {{0, "Solid"}, {1, "Dash"}};
constexpr XmlWord kArrowMark[] = {{0, "None"}, {1, "OneSide"}, {2, "BothSide"}};
constexpr XmlWord kArrowSize[] = {{1, "Small"}, {2, "Middle"}, {3, "Large"}};
constexpr XmlWord kRotate[] = {{0, "0"}, {1, "90"}, {2, "180"}, {4, "270"}};

// ---- values of several fields or without a name -----------------------------------

bool TemplateWithoutImages(const CLayoutSetting& l) {
    return l.GetTemplate() != 0 && l.GetSaveTemplateWithImages() == 0;
}

template <int Language>
bool CommentWritten(const XmlScope& s) {
    return s.language == Language;
}
template <int Language>
void SetComment(XmlScope& s, std::string text) {
    if (s.language == Language) s.layout->Texts().comment = std::move(text);
}
const std::string& GetComment(const XmlScope& s) { return s.layout->Texts().comment; }

#define VX_LAYOUT_TEXT(field)                                                                  \
    +[](const XmlScope& s) -> const std::string& { return s.layout->Texts().field; },          \
        +[](XmlScope& s, std::string v) { s.layout->Texts().field = std::move(v); }

LayoutRect PaperRect(const CLayoutSetting& l) { return {0, 0, l.GetPaper().x, l.GetPaper().y}; }

bool FormatPaper(const XmlScope& s, std::string& out) {
    out = FormatXmlRect(PaperRect(*s.layout));
    return true;
}
bool ParsePaper(XmlScope& s, std::string_view text) {
    LayoutRect r = PaperRect(*s.layout);
    ParseXmlRect(text, r);
    s.layout->SetPaper({ClampToInt32(int64_t(r.right) - r.left), ClampToInt32(int64_t(r.bottom) - r.top)});
    return true;
}
bool IgnoreText(XmlScope&, std::string_view) { return true; }

template <bool Header>
bool FormatDate(const XmlScope& s, std::string& out) {
    const CLayoutSetting& l = *s.layout;
    out = Header ? FormatXmlDate({l.GetHeaderFixedDate_Year(), l.GetHeaderFixedDate_Month(), l.GetHeaderFixedDate_Day()})
                 : FormatXmlDate({l.GetFooterFixedDate_Year(), l.GetFooterFixedDate_Month(), l.GetFooterFixedDate_Day()});
    return true;
}
template <bool Header>
bool ParseDate(XmlScope& s, std::string_view text) {
    CLayoutSetting& l = *s.layout;
    XmlDate d = Header ? XmlDate{l.GetHeaderFixedDate_Year(), l.GetHeaderFixedDate_Month(), l.GetHeaderFixedDate_Day()}
                       : XmlDate{l.GetFooterFixedDate_Year(), l.GetFooterFixedDate_Month(), l.GetFooterFixedDate_Day()};
    ParseXmlDate(text, d);
    if (Header) {
        l.SetHeaderFixedDate_Year(d.year);
        l.SetHeaderFixedDate_Month(d.month);
        l.SetHeaderFixedDate_Day(d.day);
    } else {
        l.SetFooterFixedDate_Year(d.year);
        l.SetFooterFixedDate_Month(d.month);
        l.SetFooterFixedDate_Day(d.day);
    }
    return true;
}

/// A flag that, read as true, also shows the header or footer (or limits a banner to one
/// page), as the reader of layout files always did.
template <void (CLayoutSetting::*Set)(int32_t), void (CLayoutSetting::*Also)(int32_t)>
bool ParseFlagAlso(XmlScope& s, std::string_view text) {
    const bool on = ParseXmlBool(text);
    (s.layout->*Set)(on ? 1 : 0);
    if (on) (s.layout->*Also)(1);
    return true;
}
bool ParseBanner(XmlScope& s, std::string_view text) {
    const bool on = ParseXmlBool(text);
    s.layout->SetBanner(on ? 1 : 0);
    if (on) s.layout->SetPageMax(1);
    return true;
}

/// "Auto" or whole points of a label or caption font.
template <bool Label>
bool FormatFontSize(const XmlScope& s, std::string& out) {
    const CImageObj& i = *s.image;
    if (Label ? i.GetLabelFontSizeAuto() : i.GetCaptionFontSizeAuto()) out = "Auto";
    else out = FormatXmlPoints(Label ? i.GetLabelFontSize() : i.GetCaptionFontSize());
    return true;
}
template <bool Label>
bool ParseFontSize(XmlScope& s, std::string_view text) {
    CImageObj& i = *s.image;
    const bool automatic = text == "Auto";
    const int16_t size = automatic ? 0 : ParseXmlPoints(text);
    if (Label) {
        i.SetLabelFontSizeAuto(automatic ? 1 : 0);
        i.SetLabelFontSize(size);
    } else {
        i.SetCaptionFontSizeAuto(automatic ? 1 : 0);
        i.SetCaptionFontSize(size);
    }
    return true;
}

/// Orientation words from the quarter-turn bits; flipping (bit 3) has its own element.
int32_t RotateWordValue(int16_t code) { return code & 1 ? 1 : code & 2 ? 2 : code & 4 ? 4 : 0; }
template <bool Frame>
bool FormatRotate(const XmlScope& s, std::string& out) {
    const int16_t code = Frame ? s.image->GetFrameRotate() : s.image->GetRotate();
    out = *FormatXmlWord(kRotate, RotateWordValue(code));
    return true;
}
template <bool Frame>
bool ParseRotate(XmlScope& s, std::string_view text) {
    std::optional<int32_t> v = ParseXmlWord(kRotate, text);
    if (!v) return false;
    CImageObj& i = *s.image;
    const int16_t old = Frame ? i.GetFrameRotate() : i.GetRotate();
    const int16_t code = int16_t((old & 8) | *v);
    Frame ? i.SetFrameRotate(code) : i.SetRotate(code);
    return true;
}

std::optional<bool> StrictBool(std::string_view text) {
    if (text == "true") return true;
    if (text == "false") return false;
    return std::nullopt;
}
bool FormatFlip(const XmlScope& s, std::string& out) {
    out = FormatXmlBool(s.image->GetRotate() & 8);
    return true;
}
bool ParseFlip(XmlScope& s, std::string_view text) {
    std::optional<bool> on = StrictBool(text);
    if (!on) return false;
    s.image->SetRotate(int16_t(*on ? s.image->GetRotate() | 8 : s.image->GetRotate() & ~8));
    return true;
}
bool FormatCropFixed(const XmlScope& s, std::string& out) {
    out = FormatXmlBool(s.image->GetCropMode() != 0);
    return true;
}
bool ParseCropFixed(XmlScope& s, std::string_view text) {
    std::optional<bool> on = StrictBool(text);
    if (!on) return false;
    s.image->SetCropMode(*on ? 1 : 0);
    return true;
}

bool FormatTune(const XmlScope& s, std::string& out) {
    const CImageObj& i = *s.image;
    out = FormatXmlInt(i.GetTuneBright()) + "," + FormatXmlInt(i.GetTuneContrast()) + "," +
          FormatXmlInt(i.GetTuneVivid());
    return true;
}
bool ParseTune(XmlScope& s, std::string_view text) {
    CImageObj& i = *s.image;
    // Three components as a rectangle's first three, each kept at 16 bits.
    LayoutRect r{i.GetTuneContrast(), i.GetTuneBright(), 0, i.GetTuneVivid()};
    ParseXmlRect(std::string(text) + ",0", r);
    i.SetTuneBright(int16_t(std::clamp<int32_t>(r.top, INT16_MIN, INT16_MAX)));
    i.SetTuneContrast(int16_t(std::clamp<int32_t>(r.left, INT16_MIN, INT16_MAX)));
    i.SetTuneVivid(int16_t(std::clamp<int32_t>(r.bottom, INT16_MIN, INT16_MAX)));
    return true;
}

/// Angles of free lines outside -180..180 fail the read.
std::optional<int16_t> LineAngle(std::string_view text) {
    const int32_t v = ParseXmlInt(text);
    if (v < -180 || v > 180) return std::nullopt;
    return int16_t(v);
}
bool ParseLineAngle(XmlScope& s, std::string_view text) {
    std::optional<int16_t> v = LineAngle(text);
    if (v) s.line->SetAngle(*v);
    return v.has_value();
}
bool ParseArrowAngle(XmlScope& s, std::string_view text) {
    std::optional<int16_t> v = LineAngle(text);
    if (v) s.line->SetArrowAngle(*v);
    return v.has_value();
}

bool StampAbsoluteWritten(const XmlScope& s) {
    const CLayoutSetting& l = *s.layout;
    return !l.Texts().imageStampPath.empty() && (TemplateWithoutImages(l) || l.GetRelative() != 1);
}
bool StampRelativeWritten(const XmlScope& s) {
    const CLayoutSetting& l = *s.layout;
    return !l.Texts().imageStampPath.empty() && !TemplateWithoutImages(l) && l.GetRelative() == 1;
}
bool FormatStampRelative(const XmlScope& s, std::string& out) {
    const CLayoutSetting& l = *s.layout;
    return FormatText(MakeRelativePath(s.documentPath, AbsolutePathText(l.Texts().imageStampPath),
                                       l.GetTemplate() != 0),
                      0, out);
}
bool ParseStampRelative(XmlScope& s, std::string_view text) {
    s.layout->Texts().imageStampPath = ResolveRelativePath(s.documentPath, FromXmlText(text)).string();
    return true;
}

bool FixedDateWritten(const XmlScope& s) { return s.layout->GetHeaderUseFixedDate() != 0; }
bool FooterDateWritten(const XmlScope& s) { return s.layout->GetFooterUseFixedDate() != 0; }

std::vector<XmlRule> MakeLayoutRules() {
    const auto comment = [](int16_t name, auto written, auto set) {
        XmlRule r = TextField(name, GetComment, set, false);
        r.written = written;
        return r;
    };
    const auto never = +[](const XmlScope&) { return false; };
    std::vector<XmlRule> v = {
        comment(7, CommentWritten<17>, SetComment<17>),
        comment(8, CommentWritten<9>, SetComment<9>),
        comment(9, CommentWritten<7>, SetComment<7>),
        comment(10, CommentWritten<12>, SetComment<12>),
        comment(11, CommentWritten<16>, SetComment<16>),
        comment(12, CommentWritten<10>, SetComment<10>),
        comment(13, CommentWritten<22>, SetComment<22>),
        comment(14, CommentWritten<19>, SetComment<19>),
        comment(15, CommentWritten<4>, SetComment<4>),
        comment(16, never, +[](XmlScope&, std::string) {}),
        comment(17, CommentWritten<18>, SetComment<18>),
        XmlRule{.name = kXmlPreview, .form = F::Special},
        TextField(19, VX_LAYOUT_TEXT(genreName), true),
        TextField(20, VX_LAYOUT_TEXT(outputImageFormName), true),
        TextField(21, VX_LAYOUT_TEXT(ownTemplateName), true),
        Named(22, F::Bool, T::Layout, "mSaveTemplateWithImages"),
        Custom(23, F::Rect, FormatPaper, ParsePaper),
        Word(24, T::Layout, "mPaperOrient", kPaperOrient, "Portrait", 0),
        Custom(25, F::Rect, FormatPaper, IgnoreText),
        Named(26, F::Short, T::Layout, "mPageNumber"),
        Named(27, F::Short, T::Layout, "mPageMax"),
        Named(28, F::Int, T::Layout, "mPageNum"),
        Named(29, F::Int, T::Layout, "mBannerLength"),
        Named(30, F::Bool, T::Layout, "mFree"),
        Named(31, F::Bool, T::Layout, "mBanner"),
        Word(32, T::Layout, "mAlign", kAlignH, nullptr, std::nullopt, 0),
        Named(33, F::Int, T::Layout, "mSpace", 0),
        Word(34, T::Layout, "mVerticalAlign", kAlignV, nullptr, std::nullopt),
        Named(35, F::Int, T::Layout, "mSpace", 1),
        Word(36, T::Layout, "mAlign", kAlignV, nullptr, std::nullopt, 1),
        TextField(37, +[](const XmlScope& s) -> const std::string& { return s.layout->HeaderFooterFont().face; },
                  +[](XmlScope& s, std::string v) { s.layout->HeaderFooterFont().face = std::move(v); }, true, 32),
        Named(38, F::Bool, T::Layout, "mHeaderFooterFontSizeAuto"),
        IntField(39, F::Points, +[](const XmlScope& s) -> int32_t { return s.layout->HeaderFooterFont().size; },
                 +[](XmlScope& s, int32_t v) { s.layout->HeaderFooterFont().size = int16_t(v); }),
        IntField(40, F::Face, +[](const XmlScope& s) -> int32_t { return s.layout->HeaderFooterFont().style; },
                 +[](XmlScope& s, int32_t v) { s.layout->HeaderFooterFont().style = int16_t(v); }),
        IntField(41, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.layout->HeaderFooterFont().color); },
                 +[](XmlScope& s, int32_t v) { s.layout->HeaderFooterFont().color = ColorRef(v); }),
        Named(42, F::Short, T::Layout, "mHeaderFooterLineHeight"),
        Named(43, F::Short, T::Layout, "mHeaderFooterLineHeightPercent"),
        Word(44, T::Layout, "mHeaderFooterJustify", kAlignR, nullptr, 0),
        Named(45, F::Short, T::Layout, "mHeaderOffset"),
        Named(46, F::Bool, T::Layout, "mHeaderText"),
        Named(47, F::Bool, T::Layout, "mHeaderPrintInfo"),
        Named(48, F::Bool, T::Layout, "mHeaderDatePage"),
        Named(49, F::Bool, T::Layout, "mHeaderUseFixedDate"),
        TextField(50, VX_LAYOUT_TEXT(headerText), true),
        Custom(51, F::Text, FormatDate<true>, ParseDate<true>),
        Named(52, F::Short, T::Layout, "mFooterOffset"),
        Named(53, F::Bool, T::Layout, "mFooterText"),
        Named(54, F::Bool, T::Layout, "mFooterPrintInfo"),
        Named(55, F::Bool, T::Layout, "mFooterDatePage"),
        Named(56, F::Bool, T::Layout, "mFooterUseFixedDate"),
        TextField(57, VX_LAYOUT_TEXT(footerText), true),
        Custom(58, F::Text, FormatDate<false>, ParseDate<false>),
        Named(59, F::Bool, T::Layout, "mZel"),
        TextField(60, VX_LAYOUT_TEXT(rgbSourceProfile), false),
        Word(61, T::Layout, "mColorIntentRGB", kXmlIntentWords, nullptr, std::nullopt),
        Named(62, F::Bool, T::Layout, "mColorEmbedRGB"),
        Word(63, T::Layout, "mColorProof", kSimMethod, nullptr, std::nullopt),
        TextField(64, VX_LAYOUT_TEXT(simulationProfile), false),
        Word(65, T::Layout, "mColorIntentSimulation", kXmlIntentWords, nullptr, std::nullopt),
        TextField(66, VX_LAYOUT_TEXT(monitorProfile), false),
        Word(67, T::Layout, "mColorMatchPrinter", kPrinterControls, nullptr, std::nullopt),
        TextField(68, VX_LAYOUT_TEXT(printerProfile), false),
        Named(69, F::Bool, T::Layout, "mRecommend"),
        XmlRule{.name = 70, .form = F::Word, .words = kCutLineMode, .writeOther = "None", .readOther = 0,
                .getInt = +[](const XmlScope& s) -> int32_t { return s.layout->CutLine().mode; },
                .setInt = +[](XmlScope& s, int32_t v) { s.layout->CutLine().mode = int16_t(v); }},
        XmlRule{.name = 71, .form = F::Word, .words = kCutLineOthers, .writeOther = "At Corner", .readOther = 2,
                .getInt = +[](const XmlScope& s) -> int32_t { return s.layout->CutLine().markType; },
                .setInt = +[](XmlScope& s, int32_t v) { s.layout->CutLine().markType = int16_t(v); }},
        IntField(72, F::Int, +[](const XmlScope& s) { return s.layout->CutLine().cornerLength; },
                 +[](XmlScope& s, int32_t v) { s.layout->CutLine().cornerLength = v; }),
        IntField(73, F::Int, +[](const XmlScope& s) { return s.layout->CutLine().cornerPosition; },
                 +[](XmlScope& s, int32_t v) { s.layout->CutLine().cornerPosition = v; }),
        IntField(74, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.layout->CutLine().color); },
                 +[](XmlScope& s, int32_t v) { s.layout->CutLine().color = ColorRef(v); }),
        Word(75, T::Layout, "mAutoRotate", kAutoRotation, "Off", 0),
        Named(76, F::Bool, T::Layout, "mPreProcessing"),
        IntField(77, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.layout->GetPaperColor()); },
                 +[](XmlScope& s, int32_t v) { s.layout->SetPaperColor(ColorRef(v)); }),
        Word(78, T::Layout, "mLayoutAreaMode", kMarginMode, "Custom", std::nullopt),
        Named(79, F::Rect, T::Layout, "mLayoutAreaMgn"),
        Named(80, F::Bool, T::Layout, "mRelative"),
        Named(81, F::Pair, T::Layout, "mUserDefinePaper"),
        Named(82, F::Pair, T::Image, "mSize"),
        Named(83, F::Pair, T::Image, "mSizePixel"),
        Named(84, F::Pair, T::Image, "mSizeRatio"),
        Word(85, T::Image, "mSizeMethod", kSizeMethod, nullptr, 1),
        Named(86, F::Bool, T::Image, "mSizeRatioMode"),
        Word(87, T::Image, "mImageOptionDimens", kImageOption, nullptr, std::nullopt),
        Word(88, T::Image, "mFrameMode", kOffAutoCustom, nullptr, std::nullopt),
        Named(89, F::Rect, T::Image, "mFrame"),
        Named(90, F::Bool, T::Image, "mFrameColor"),
        IntField(91, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.image->GetFrameColorValue()); },
                 +[](XmlScope& s, int32_t v) { s.image->SetFrameColorValue(ColorRef(v)); }),
        Named(92, F::Bool, T::Image, "mFrameRotation"),
        Named(93, F::Labels, T::Image, "mLabelSelection"),
        TextField(94, +[](const XmlScope& s) -> const std::string& { return s.image->GetLabelFontName(); },
                  +[](XmlScope& s, std::string v) { s.image->SetLabelFontName(std::move(v)); }, true, 32),
        Custom(95, F::Text, FormatFontSize<true>, ParseFontSize<true>),
        IntField(96, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.image->GetLabelFontColor()); },
                 +[](XmlScope& s, int32_t v) { s.image->SetLabelFontColor(ColorRef(v)); }),
        Word(97, T::Image, "mLabelAlign", kAlign3, nullptr, 0),
        Word(98, T::Image, "mLabelLocation", kLocation, nullptr, std::nullopt),
        Named(99, F::Bool, T::Image, "mLabelUpsideDown"),
        TextField(100, +[](const XmlScope& s) -> const std::string& { return s.image->GetCaptionFontName(); },
                  +[](XmlScope& s, std::string v) { s.image->SetCaptionFontName(std::move(v)); }, true, 32),
        Custom(101, F::Text, FormatFontSize<false>, ParseFontSize<false>),
        IntField(102, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.image->GetCaptionFontColor()); },
                 +[](XmlScope& s, int32_t v) { s.image->SetCaptionFontColor(ColorRef(v)); }),
        Word(103, T::Image, "mCaptionAlign", kAlign3, nullptr, 0),
        Word(104, T::Image, "mCaptionLocation", kLocation, nullptr, std::nullopt),
        Named(105, F::Bool, T::Image, "mCaptionUpsideDown"),
        TextField(106, +[](const XmlScope& s) -> const std::string& { return s.image->GetCaptionText(); },
                  +[](XmlScope& s, std::string v) { s.image->SetCaptionText(std::move(v)); }, true),
        Named(107, F::Bool, T::Layout, "mImageStampInUse"),
        TextField(108, VX_LAYOUT_TEXT(imageStampPath), false),
        Custom(109, F::Text, FormatStampRelative, ParseStampRelative),
        Named(110, F::Bool, T::Layout, "mImageStampSettings"),
        Named(111, F::Pair, T::Layout, "mImageStampPosition"),
        Named(112, F::Pair, T::Layout, "mImageStampSize"),
        Named(113, F::Bool, T::Layout, "mImageStampConstrainPropotion"),
        TextField(114, VX_LAYOUT_TEXT(printerName), true),
        TextField(115, VX_LAYOUT_TEXT(printerModel), true),
        Word(116, T::Layout, "mOrientation", kOrientation, nullptr, std::nullopt),
        Named(117, F::Short, T::Layout, "mPaperSize"),
        TextField(118, VX_LAYOUT_TEXT(paperSizeName), true),
        Named(119, F::Int, T::Layout, "mPaperLength"),
        Named(120, F::Int, T::Layout, "mPaperWidth"),
        Named(121, F::Short, T::Layout, "mDefaultSource"),
        TextField(122, VX_LAYOUT_TEXT(paperSourceName), true),
        Named(123, F::Int, T::Layout, "mMediaType"),
        TextField(124, VX_LAYOUT_TEXT(mediaTypeName), true),
        Named(125, F::Short, T::Layout, "mAutoMode"),
        Word(126, T::Layout, "mColor", kColor, "-", 2),
        Named(127, F::Short, T::Layout, "mPrintableArea"),
        Named(128, F::Bool, T::Layout, "mCentered"),
        Named(129, F::Bool, T::Layout, "mHighSpeed"),
        TextField(130, VX_LAYOUT_TEXT(userPresetName), true),
    };
    auto at = [&](int16_t name) -> XmlRule& { return v[size_t(name - kXmlLayoutFirst)]; };
    at(31).parse = ParseBanner;
    at(46).parse = ParseFlagAlso<&CLayoutSetting::SetHeaderText, &CLayoutSetting::SetHeaderShow>;
    at(47).parse = ParseFlagAlso<&CLayoutSetting::SetHeaderPrintInfo, &CLayoutSetting::SetHeaderShow>;
    at(48).parse = ParseFlagAlso<&CLayoutSetting::SetHeaderDatePage, &CLayoutSetting::SetHeaderShow>;
    at(51).written = FixedDateWritten;
    at(53).parse = ParseFlagAlso<&CLayoutSetting::SetFooterText, &CLayoutSetting::SetFooterShow>;
    at(54).parse = ParseFlagAlso<&CLayoutSetting::SetFooterPrintInfo, &CLayoutSetting::SetFooterShow>;
    at(55).parse = ParseFlagAlso<&CLayoutSetting::SetFooterDatePage, &CLayoutSetting::SetFooterShow>;
    at(58).written = FooterDateWritten;
    at(108).written = StampAbsoluteWritten;
    at(109).written = StampRelativeWritten;
    return v;
}

std::vector<XmlRule> MakeImageRules() {
    std::vector<XmlRule> v = {
        XmlRule{.name = kXmlRelativeDir, .form = F::Special},
        XmlRule{.name = kXmlDir, .form = F::Special},
        XmlRule{.name = kXmlFile, .form = F::Special},
        Named(137, F::Pair, T::Image, "mPosition"),
        Named(138, F::Pair, T::Image, "mOffsetOrgPos"),
        Named(139, F::Pair, T::Image, "mSize"),
        Named(140, F::Pair, T::Image, "mSizePixel"),
        Named(141, F::Pair, T::Image, "mSizeRatio"),
        Word(142, T::Image, "mSizeMethod", kSizeMethod, nullptr, 1),
        Named(143, F::Bool, T::Image, "mSizeRatioMode"),
        Word(144, T::Image, "mImageOptionDimens", kImageOption, nullptr, std::nullopt),
        Word(145, T::Image, "mFrameMode", kOffAutoCustom, nullptr, std::nullopt),
        Named(146, F::Rect, T::Image, "mFrame"),
        Named(147, F::Bool, T::Image, "mFrameColor"),
        IntField(148, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.image->GetFrameColorValue()); },
                 +[](XmlScope& s, int32_t v) { s.image->SetFrameColorValue(ColorRef(v)); }),
        Named(149, F::Bool, T::Image, "mFrameRotation"),
        Named(150, F::Rect, T::Image, "mCrop"),
        Word(151, T::Image, "mCropOut", kCropMode, nullptr, std::nullopt),
        IntField(152, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.image->GetCropFrameColor()); },
                 +[](XmlScope& s, int32_t v) { s.image->SetCropFrameColor(ColorRef(v)); }),
        Custom(153, F::Bool, FormatCropFixed, ParseCropFixed),
        Custom(154, F::Word, FormatRotate<false>, ParseRotate<false>),
        Custom(155, F::Word, FormatRotate<true>, ParseRotate<true>),
        Custom(156, F::Bool, FormatFlip, ParseFlip),
        Named(157, F::Labels, T::Image, "mLabelSelection"),
        TextField(158, +[](const XmlScope& s) -> const std::string& { return s.image->GetLabelFontName(); },
                  +[](XmlScope& s, std::string v) { s.image->SetLabelFontName(std::move(v)); }, true, 32),
        Custom(159, F::Text, FormatFontSize<true>, ParseFontSize<true>),
        IntField(160, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.image->GetLabelFontColor()); },
                 +[](XmlScope& s, int32_t v) { s.image->SetLabelFontColor(ColorRef(v)); }),
        Word(161, T::Image, "mLabelAlign", kAlign3, nullptr, 0),
        Word(162, T::Image, "mLabelLocation", kLocation, nullptr, std::nullopt),
        Named(163, F::Bool, T::Image, "mLabelUpsideDown"),
        TextField(164, +[](const XmlScope& s) -> const std::string& { return s.image->GetCaptionFontName(); },
                  +[](XmlScope& s, std::string v) { s.image->SetCaptionFontName(std::move(v)); }, true, 32),
        Custom(165, F::Text, FormatFontSize<false>, ParseFontSize<false>),
        IntField(166, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.image->GetCaptionFontColor()); },
                 +[](XmlScope& s, int32_t v) { s.image->SetCaptionFontColor(ColorRef(v)); }),
        Word(167, T::Image, "mCaptionAlign", kAlign3, nullptr, 0),
        Word(168, T::Image, "mCaptionLocation", kLocation, nullptr, std::nullopt),
        Named(169, F::Bool, T::Image, "mCaptionUpsideDown"),
        TextField(170, +[](const XmlScope& s) -> const std::string& { return s.image->GetCaptionText(); },
                  +[](XmlScope& s, std::string v) { s.image->SetCaptionText(std::move(v)); }, true),
        // Any Zel level without a word of its own (3, the default, among them) is "ZEL".
        Word(171, T::Image, "mUseZelFile", kSourceMode, "ZEL", std::nullopt),
        TextField(172, +[](const XmlScope& s) -> const std::string& { return s.image->GetSourceProfile(); },
                  +[](XmlScope& s, std::string v) { s.image->SetSourceProfile(std::move(v)); }, false, 255),
        Word(173, T::Image, "mProfileIntent", kXmlIntentWords, nullptr, kXmlUnknownIntent),
        Named(174, F::Bool, T::Image, "mProfileUseEmbed"),
        Word(175, T::Image, "mColorProof", kSimMethod, nullptr, std::nullopt),
        TextField(176, +[](const XmlScope& s) -> const std::string& { return s.image->GetSimulationProfile(); },
                  +[](XmlScope& s, std::string v) { s.image->SetSimulationProfile(std::move(v)); }, false),
        Word(177, T::Image, "mColorIntentSimulation", kXmlIntentWords, nullptr, kXmlUnknownIntent),
        Word(178, T::Image, "mTuneMode", kOffAutoCustom, nullptr, std::nullopt),
        Custom(179, F::Text, FormatTune, ParseTune),
        Named(180, F::Pair, T::Image, "mOffsetFromPageTop"),
    };
    for (XmlRule& r : v) r.target = T::Image;
    return v;
}

std::vector<XmlRule> MakeTextRules() {
    std::vector<XmlRule> v = {
        Named(kXmlPosition, F::Pair, T::Text, "mPosition"),
        Named(kXmlOffsetOrgPos, F::Pair, T::Text, "mOffsetOrgPos"),
        TextField(181, +[](const XmlScope& s) -> const std::string& { return s.text->GetText(); },
                  +[](XmlScope& s, std::string v) { s.text->SetText(std::move(v)); }, false),
        TextField(182, +[](const XmlScope& s) -> const std::string& { return s.text->GetFont().face; },
                  +[](XmlScope& s, std::string v) {
                      FontSpec f = s.text->GetFont();
                      f.face = std::move(v);
                      s.text->SetFont(std::move(f));
                  }, true, 32),
        IntField(183, F::Points, +[](const XmlScope& s) -> int32_t { return s.text->GetFont().size; },
                 +[](XmlScope& s, int32_t v) {
                     FontSpec f = s.text->GetFont();
                     f.size = int16_t(v);
                     s.text->SetFont(std::move(f));
                 }),
        IntField(184, F::Face, +[](const XmlScope& s) -> int32_t { return s.text->GetFont().style; },
                 +[](XmlScope& s, int32_t v) {
                     FontSpec f = s.text->GetFont();
                     f.style = int16_t(v);
                     s.text->SetFont(std::move(f));
                 }),
        IntField(185, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.text->GetFont().color); },
                 +[](XmlScope& s, int32_t v) {
                     FontSpec f = s.text->GetFont();
                     f.color = ColorRef(v);
                     s.text->SetFont(std::move(f));
                 }),
        Named(186, F::Short, T::Text, "mTextLineHeight"),
        Word(187, T::Text, "mTextJustify", kAlignR, nullptr, 0),
        Named(188, F::Bool, T::Text, "mColumnarWriting"),
        Named(189, F::Short, T::Text, "mAngle"),
        Named(190, F::Bool, T::Text, "mBackgroundColor"),
        IntField(191, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.text->GetBackgroundColorValue()); },
                 +[](XmlScope& s, int32_t v) { s.text->SetBackgroundColorValue(ColorRef(v)); }),
    };
    for (XmlRule& r : v) r.target = T::Text;
    return v;
}

std::vector<XmlRule> MakeLineRules() {
    std::vector<XmlRule> v = {
        Named(kXmlPosition, F::Pair, T::Line, "mPosition"),
        Named(kXmlOffsetOrgPos, F::Pair, T::Line, "mOffsetOrgPos"),
        Word(192, T::Line, "mLineStyle", kLineStyle, "Dash", std::nullopt),
        // Thickness in whole points, as font sizes.
        IntField(193, F::Int, +[](const XmlScope& s) -> int32_t { return s.line->GetThickness() / 5; },
                 +[](XmlScope& s, int32_t v) { s.line->SetThickness(ClampToInt32(int64_t(v) * 5)); }),
        Named(194, F::Int, T::Line, "mLength"),
        Named(kXmlAngle, F::Short, T::Line, "mAngle"),
        IntField(195, F::Colour, +[](const XmlScope& s) -> int32_t { return int32_t(s.line->GetLineColor()); },
                 +[](XmlScope& s, int32_t v) { s.line->SetLineColor(ColorRef(v)); }),
        Word(196, T::Line, "mArrowMark", kArrowMark, "None", std::nullopt),
        Named(197, F::Short, T::Line, "mArrowAngle"),
        Named(198, F::Bool, T::Line, "mArrowFill"),
        Word(199, T::Line, "mArrowSize", kArrowSize, "Middle", std::nullopt),
        Named(200, F::Pair, T::Line, "mOffsetStart"),
        Named(201, F::Pair, T::Line, "mOffsetEnd"),
    };
    for (XmlRule& r : v) r.target = T::Line;
    v[5].parse = ParseLineAngle;
    v[8].parse = ParseArrowAngle;
    return v;
}

}  // namespace

std::span<const XmlRule> LayoutXmlRules(XmlContext context) {
    static const std::vector<XmlRule> kLayout = MakeLayoutRules();
    static const std::vector<XmlRule> kImage = MakeImageRules();
    static const std::vector<XmlRule> kText = MakeTextRules();
    static const std::vector<XmlRule> kLine = MakeLineRules();
    switch (context) {
        case XmlContext::Layout: return kLayout;
        case XmlContext::Image: return kImage;
        case XmlContext::FreeText: return kText;
        case XmlContext::FreeLine: return kLine;
        default: return {};
    }
}

bool IsXmlRuleWritten(const XmlRule& rule, const XmlScope& scope) {
    if (rule.written) return rule.written(scope);
    if (rule.skipEmpty && rule.getText) return !rule.getText(scope).empty();
    if (rule.omitOther) {
        const std::optional<int64_t> value = RuleInt(rule, scope, true);
        return value && FormatXmlWord(rule.words, int32_t(*value)).has_value();
    }
    return true;
}

bool FormatXmlRule(const XmlRule& r, const XmlScope& s, std::string& out) {
    if (r.format) return r.format(s, out);
    switch (r.form) {
        case F::Text: return r.getText && FormatText(r.getText(s), r.maxChars, out);
        case F::Pair: {
            PropertyValue v = ReadNamed(r, s);
            auto* p = std::get_if<LayoutPoint>(&v);
            if (!p) return false;
            out = FormatXmlPair(*p);
            return true;
        }
        case F::Rect: {
            PropertyValue v = ReadNamed(r, s);
            auto* p = std::get_if<LayoutRect>(&v);
            if (!p) return false;
            out = FormatXmlRect(*p);
            return true;
        }
        case F::Special: return false;
        default: break;
    }
    std::optional<int64_t> value = RuleInt(r, s, r.form == F::Word);
    if (!value) return false;
    switch (r.form) {
        case F::Bool: out = FormatXmlBool(*value != 0); return true;
        case F::Int:
        case F::Short: out = FormatXmlInt(*value); return true;
        case F::Colour: out = FormatXmlColour(ColorRef(*value)); return true;
        case F::Points: out = FormatXmlPoints(int32_t(*value)); return true;
        case F::Face: out = FormatXmlFace(int32_t(*value)); return true;
        case F::Labels: out = FormatXmlLabels(uint32_t(*value)); return true;
        case F::Word: {
            std::optional<std::string_view> word = FormatXmlWord(r.words, int32_t(*value));
            if (!word && !r.writeOther) return false;
            out = word ? std::string(*word) : std::string(r.writeOther);
            return true;
        }
        default: return false;
    }
}

bool ParseXmlRule(const XmlRule& r, XmlScope& s, std::string_view text) {
    if (r.parse) return r.parse(s, text);
    switch (r.form) {
        case F::Bool: SetRuleInt(r, s, ParseXmlBool(text) ? 1 : 0, false); return true;
        case F::Int: SetRuleInt(r, s, ParseXmlInt(text), false); return true;
        case F::Short: SetRuleInt(r, s, ParseXmlShort(text), false); return true;
        case F::Points: SetRuleInt(r, s, ParseXmlPoints(text), false); return true;
        case F::Face: SetRuleInt(r, s, ParseXmlFace(text), false); return true;
        case F::Labels: SetRuleInt(r, s, ParseXmlLabels(text), false); return true;
        case F::Colour: {
            ColorRef c = ColorRef(RuleInt(r, s, false).value_or(0));
            ParseXmlColour(text, c);
            SetRuleInt(r, s, int32_t(c), true);
            return true;
        }
        case F::Pair:
        case F::Rect: {
            CObjNode* rec = Record(r.target, s);
            if (!rec) return false;
            PropertyValue v = ReadNamed(r, s);
            if (auto* p = std::get_if<LayoutPoint>(&v)) ParseXmlPair(text, *p);
            else if (auto* q = std::get_if<LayoutRect>(&v)) ParseXmlRect(text, *q);
            else return false;
            rec->Access(r.property, true, v);
            return true;
        }
        case F::Text: {
            std::string value = FromXmlText(text);
            if (r.maxChars && CountCodePoints(value) > r.maxChars) return false;
            if (r.setText) r.setText(s, std::move(value));
            return true;
        }
        case F::Word: {
            if (r.omitOther && text.empty()) return true;
            std::optional<int32_t> v = ParseXmlWord(r.words, text);
            if (!v) v = r.readOther;
            if (!v) return false;
            SetRuleInt(r, s, *v, true);
            return true;
        }
        case F::Special: return false;
    }
    return false;
}

}  // namespace vx
