#include "templates/TemplateSummary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include <libxml/parser.h>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/LengthUnits.h"
#include "platform/system/Base64.h"
#include "platform/system/Format.h"
#include "platform/system/Numbers.h"
#include "platform/system/StringTable.h"
#include "platform/system/SystemLanguage.h"

namespace vx {
namespace {

template <auto Free>
struct Closer {
    template <class T>
    void operator()(T* p) const noexcept { Free(p); }
};
using ParserContext = std::unique_ptr<xmlParserCtxt, Closer<xmlFreeParserCtxt>>;
using Document = std::unique_ptr<xmlDoc, Closer<xmlFreeDoc>>;
using XPathObject = std::unique_ptr<xmlXPathObject, Closer<xmlXPathFreeObject>>;

constexpr int kMillimetreUnit = 1;
constexpr double kInchesPerMillimetre = 0.03937007874015748;

void EnsureParser() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

int UserLanguage() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? app->GetSystemLanguage() : GetSystemLanguage();
}

int UserUnit() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? app->Preferences().unit : AppPreferences{}.unit;
}

int32_t SaturatedInt32(long long v) {
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

/// "%d,%d" as sscanf reads it: both numbers or nothing.
std::optional<std::pair<int32_t, int32_t>> ParseIntPair(std::string_view text) {
    size_t used = 0;
    std::optional<long long> first = ParseLong(text, &used);
    if (!first || used >= text.size() || text[used] != ',') return std::nullopt;
    std::optional<long long> second = ParseLong(text.substr(used + 1));
    if (!second) return std::nullopt;
    return std::pair{SaturatedInt32(*first), SaturatedInt32(*second)};
}

/// An open file, closed with the object.
class OpenFile {
public:
    explicit OpenFile(const std::filesystem::path& path)
        // Non-blocking, so that a pipe named like a template cannot stall the scan.
        : mFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~OpenFile() {
        if (mFd >= 0) ::close(mFd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int Fd() const { return mFd; }

private:
    int mFd;
};

void StoreFileStatus(const struct stat& st, TemplateInfo& info) {
    std::tm local {};
    const time_t modified = st.st_mtime;
    if (localtime_r(&modified, &local)) {
        char text[32];
        if (std::strftime(text, sizeof text, "%y.%m.%d %H:%M", &local) > 0) info.ModifiedText = text;
    }
    info.SizeText = std::to_string(static_cast<long long>(st.st_size));
}

std::string BannerLengthText(std::string_view tenthsOfMm, int unit) {
    const double mm = static_cast<double>(AtoL(tenthsOfMm)) * 0.1;
    if (unit == kMillimetreUnit) return FormatC("%.2f", mm) + LoadString(IDS_UNIT_MM);
    return FormatC("%.3f", mm * kInchesPerMillimetre) + LoadString(IDS_UNIT_INCH);
}

std::string LengthWithUnit(int32_t value, int unit) {
    const bool mm = unit == kMillimetreUnit;
    return FormatLengthInUnit(value, mm ? 1 : 2, kUnitsPerInch) + " " + LoadString(mm ? IDS_UNIT_MM : IDS_UNIT_INCH);
}

/// The character data that stands first in node: an entity reference is never expanded.
const xmlNode* TextChild(const xmlNode* node) {
    const xmlNode* child = node ? node->children : nullptr;
    if (!child || (child->type != XML_TEXT_NODE && child->type != XML_CDATA_SECTION_NODE) || !child->content)
        return nullptr;
    return child;
}

bool NodeText(const xmlNode* node, std::string& text) {
    const xmlNode* child = TextChild(node);
    if (!child) return false;
    std::string value(reinterpret_cast<const char*>(child->content));
    StripQuotes(value);
    text = std::move(value);
    return true;
}

/// The first child elements of the layout element that the summary reads, found in one
/// walk as "/root[1]/layout[1]/Name[1]" would find each (elements without namespace).
class LayoutElements {
public:
    enum Field {
        kComment, kPrinterModel, kPaperSize, kPaperSource, kPaperOrient, kBanner, kBannerLength,
        kMediaType, kImageMask, kColor, kFree, kImageSizeMethod, kImageSize, kImageSizeRelative,
        kImageOption, kAutoRotation, kNameMyTemplate, kNameGenre, kPreview, kFieldCount
    };

    LayoutElements(const xmlDoc* doc, const char* commentElement) {
        mNames = {commentElement, "PrinterModel", "PaperSize", "PaperSource", "PaperOrient", "Banner",
                  "BannerLength", "MediaType", "NameOutputImageForm", "Color", "Free", "ImageSizeMethod",
                  "ImageSize", "ImageSizeRelative", "ImageSizeImageOption", "AutoRotation", "NameMyTemplate",
                  "NameGenre", "Preview"};
        const xmlNode* layout = FirstChild(xmlDocGetRootElement(const_cast<xmlDoc*>(doc)), "root", "layout");
        if (!layout) return;
        for (const xmlNode* n = layout->children; n; n = n->next) {
            if (!IsPlainElement(n)) continue;
            for (size_t f = 0; f < mNames.size(); ++f)
                if (!mNodes[f] && xmlStrEqual(n->name, BAD_CAST mNames[f])) {
                    mNodes[f] = n;
                    break;
                }
        }
    }

    /// As GetXPathText: false and text unchanged when the element is missing or empty.
    bool Text(Field f, std::string& text) const { return NodeText(mNodes[f], text); }
    /// The text without copying it, quotes kept; empty when missing.
    std::string_view RawText(Field f) const {
        const xmlNode* text = TextChild(mNodes[f]);
        return text ? std::string_view(reinterpret_cast<const char*>(text->content)) : std::string_view();
    }

private:
    static bool IsPlainElement(const xmlNode* n) { return n->type == XML_ELEMENT_NODE && !n->ns; }

    static const xmlNode* FirstChild(const xmlNode* root, const char* rootName, const char* name) {
        if (!root || !IsPlainElement(root) || !xmlStrEqual(root->name, BAD_CAST rootName)) return nullptr;
        for (const xmlNode* n = root->children; n; n = n->next)
            if (IsPlainElement(n) && xmlStrEqual(n->name, BAD_CAST name)) return n;
        return nullptr;
    }

    std::array<const char*, kFieldCount> mNames{};
    std::array<const xmlNode*, kFieldCount> mNodes{};
};

/// A pair is stored second component first, so the width is the second number.
void ReadImageSize(const LayoutElements& layout, bool absolute, int unit, TemplateInfo& info) {
    std::string text;
    if (!layout.Text(absolute ? LayoutElements::kImageSize : LayoutElements::kImageSizeRelative, text)) return;
    std::optional<std::pair<int32_t, int32_t>> pair = ParseIntPair(text);
    if (!pair) return;
    const int32_t height = pair->first;
    const int32_t width = pair->second;
    const std::string& widthLabel = LoadString(IDS_LABEL_WIDTH);
    const std::string& heightLabel = LoadString(IDS_LABEL_HEIGHT);
    if (absolute)
        info.ImageSizeText = widthLabel + " = " + LengthWithUnit(width, unit) + ", " + heightLabel + " = " +
                             LengthWithUnit(height, unit);
    else
        info.ImageSizeText = FormatC("%s = %.1f%%, %s = %.1f%%", widthLabel.c_str(), width * 0.1,
                                     heightLabel.c_str(), height * 0.1);
}

const char* TemplateCommentElement() {
    switch (UserLanguage()) {
    case kLanguageChinese: return "CommentSimplifiedChinese";
    case kLanguageGerman: return "CommentGerman";
    case kLanguageSpanish: return "CommentSpanish";
    case kLanguageFrench: return "CommentFrench";
    case kLanguageItalian: return "CommentItalian";
    case kLanguageJapanese: return "Comment";
    case kLanguageKorean: return "CommentKorean";
    case kLanguageDutch: return "CommentDutch";
    case kLanguagePortuguese: return "CommentPortuguese";
    default: return "CommentEnglish";
    }
}

}  // namespace

void StripQuotes(std::string& text) {
    // A lone quote has no inside to keep.
    if (text.size() >= 2 && text.front() == '"') text = text.substr(1, text.size() - 2);
}

bool GetXPathText(xmlXPathContextPtr context, const char* expression, std::string& text) {
    if (!context || !expression) return false;
    // A faulty expression is the caller's to hear about through the result, not on stderr.
    const xmlStructuredErrorFunc previous = context->error;
    context->error = [](void*, auto*) {};
    XPathObject result(xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression), context));
    context->error = previous;
    if (!result || result->type != XPATH_NODESET || !result->nodesetval || result->nodesetval->nodeNr < 1)
        return false;
    return NodeText(result->nodesetval->nodeTab[0], text);
}

std::string GetTemplateCommentPath() {
    return std::string("/root[1]/layout[1]/") + TemplateCommentElement() + "[1]";
}

bool ReadTemplateSummary(const std::filesystem::path& path, TemplateInfo& info) {
    // Time and size come from the file that is parsed, whatever happens to the path.
    OpenFile file(path);
    struct stat st {};
    if (file.Fd() < 0 || ::fstat(file.Fd(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    EnsureParser();
    ParserContext parser(xmlNewParserCtxt());
    if (!parser) return false;
    // No network, no entity substitution, no DTD, and no libxml2 output on stderr. The tree
    // is only read: short texts may live inside their nodes.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT;
    Document doc(xmlCtxtReadFd(parser.get(), file.Fd(), path.c_str(), nullptr, options));
    if (!doc || !parser->wellFormed) return false;
    using E = LayoutElements;
    const LayoutElements layout(doc.get(), TemplateCommentElement());

    // Filled in a copy, so that a failure leaves the caller's record as it was.
    TemplateInfo s = info;
    s.Path = path.string();
    StoreFileStatus(st, s);
    const int unit = UserUnit();

    layout.Text(E::kComment, s.Comment);
    layout.Text(E::kPrinterModel, s.PrinterModel);
    layout.Text(E::kPaperSize, s.PaperSize);
    layout.Text(E::kPaperSource, s.PaperSource);
    layout.Text(E::kPaperOrient, s.PaperOrient);

    std::string text;
    if (layout.Text(E::kBanner, text) && text == "true") {
        s.IsBanner = 1;
        std::string length;
        layout.Text(E::kBannerLength, length);
        s.PaperLengthText = BannerLengthText(length, unit);
    } else {
        s.IsBanner = 0;
        s.PaperLengthText = "-";
    }

    layout.Text(E::kMediaType, s.MediaType);
    layout.Text(E::kImageMask, s.ImageMask);
    layout.Text(E::kColor, s.Color);

    text.clear();
    layout.Text(E::kFree, text);
    s.LayoutModeText = LoadString(text == "true" ? IDS_FREE_LAYOUT : IDS_AUTOMATIC_LAYOUT);

    text.clear();
    layout.Text(E::kImageSizeMethod, text);
    const bool absolute = text == "Dimensions";
    ReadImageSize(layout, absolute, unit, s);
    layout.Text(E::kImageOption, s.ImageOption);
    s.IsAbsoluteSize = absolute ? 1 : 0;
    layout.Text(E::kAutoRotation, s.AutoRotation);

    s.IsUserTemplate = 0;
    text.clear();
    if (layout.Text(E::kNameMyTemplate, text) && !text.empty()) {
        s.Category = std::move(text);
        s.IsUserTemplate = 1;
    } else {
        layout.Text(E::kNameGenre, s.Category);
    }

    // The picture is decoded from the parsed text in place: it is the bulk of the file.
    std::string_view preview = layout.RawText(E::kPreview);
    if (preview.size() >= 2 && preview.front() == '"') preview = preview.substr(1, preview.size() - 2);
    if (!preview.empty()) {
        // A preview that does not decode is no preview: zeros would reach the JPEG reader.
        std::optional<std::vector<uint8_t>> bytes;
        try {
            bytes = Base64Decode(preview);
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (bytes && !bytes->empty() && bytes->size() <= size_t(std::numeric_limits<int32_t>::max())) {
            s.PreviewLength = static_cast<int32_t>(bytes->size());
            s.PreviewBytes = std::make_shared<const std::vector<uint8_t>>(std::move(*bytes));
        } else {
            s.PreviewLength = 0;
            s.PreviewBytes.reset();
        }
    }

    s.PrinterPass = 1;
    s.PaperSizePass = 1;
    s.PaperSourcePass = 1;
    s.CategoryPass = 1;
    info = std::move(s);
    return true;
}

}  // namespace vx
