#include "templates/TemplateSummary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
using XPathContext = std::unique_ptr<xmlXPathContext, Closer<xmlXPathFreeContext>>;
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

/// A pair is stored second component first, so the width is the second number.
void ReadImageSize(xmlXPathContextPtr ctx, bool absolute, int unit, TemplateInfo& info) {
    std::string text;
    const char* element = absolute ? "/root[1]/layout[1]/ImageSize[1]" : "/root[1]/layout[1]/ImageSizeRelative[1]";
    if (!GetXPathText(ctx, element, text)) return;
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

}  // namespace

void StripQuotes(std::string& text) {
    // A lone quote has no inside to keep.
    if (text.size() >= 2 && text.front() == '"') text = text.substr(1, text.size() - 2);
}

bool GetXPathText(xmlXPathContextPtr context, const char* expression, std::string& text) {
    if (!context || !expression) return false;
    XPathObject result(xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression), context));
    if (!result || result->type != XPATH_NODESET || !result->nodesetval || result->nodesetval->nodeNr < 1)
        return false;
    const xmlNode* node = result->nodesetval->nodeTab[0];
    const xmlNode* child = node ? node->children : nullptr;
    // Only character data: an entity reference is never expanded here.
    if (!child || (child->type != XML_TEXT_NODE && child->type != XML_CDATA_SECTION_NODE) || !child->content)
        return false;
    std::string value(reinterpret_cast<const char*>(child->content));
    StripQuotes(value);
    text = std::move(value);
    return true;
}

std::string GetTemplateCommentPath() {
    const char* element = "CommentEnglish";
    switch (UserLanguage()) {
    case kLanguageChinese: element = "CommentSimplifiedChinese"; break;
    case kLanguageGerman: element = "CommentGerman"; break;
    case kLanguageSpanish: element = "CommentSpanish"; break;
    case kLanguageFrench: element = "CommentFrench"; break;
    case kLanguageItalian: element = "CommentItalian"; break;
    case kLanguageJapanese: element = "Comment"; break;
    case kLanguageKorean: element = "CommentKorean"; break;
    case kLanguageDutch: element = "CommentDutch"; break;
    case kLanguagePortuguese: element = "CommentPortuguese"; break;
    default: break;
    }
    return std::string("/root[1]/layout[1]/") + element + "[1]";
}

bool ReadTemplateSummary(const std::filesystem::path& path, TemplateInfo& info) {
    // Time and size come from the file that is parsed, whatever happens to the path.
    OpenFile file(path);
    struct stat st {};
    if (file.Fd() < 0 || ::fstat(file.Fd(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    EnsureParser();
    ParserContext parser(xmlNewParserCtxt());
    if (!parser) return false;
    // No network, no entity substitution, no DTD, and no libxml2 output on stderr.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    Document doc(xmlCtxtReadFd(parser.get(), file.Fd(), path.c_str(), nullptr, options));
    if (!doc || !parser->wellFormed) return false;
    XPathContext ctx(xmlXPathNewContext(doc.get()));
    if (!ctx) return false;

    // Filled in a copy, so that a failure leaves the caller's record as it was.
    TemplateInfo s = info;
    s.Path = path.string();
    StoreFileStatus(st, s);
    const int unit = UserUnit();
    xmlXPathContextPtr c = ctx.get();

    GetXPathText(c, GetTemplateCommentPath().c_str(), s.Comment);
    GetXPathText(c, "/root[1]/layout[1]/PrinterModel[1]", s.PrinterModel);
    GetXPathText(c, "/root[1]/layout[1]/PaperSize[1]", s.PaperSize);
    GetXPathText(c, "/root[1]/layout[1]/PaperSource[1]", s.PaperSource);
    GetXPathText(c, "/root[1]/layout[1]/PaperOrient[1]", s.PaperOrient);

    std::string text;
    if (GetXPathText(c, "/root[1]/layout[1]/Banner[1]", text) && text == "true") {
        s.IsBanner = 1;
        std::string length;
        GetXPathText(c, "/root[1]/layout[1]/BannerLength[1]", length);
        s.PaperLengthText = BannerLengthText(length, unit);
    } else {
        s.IsBanner = 0;
        s.PaperLengthText = "-";
    }

    GetXPathText(c, "/root[1]/layout[1]/MediaType[1]", s.MediaType);
    GetXPathText(c, "/root[1]/layout[1]/NameOutputImageForm[1]", s.ImageMask);
    GetXPathText(c, "/root[1]/layout[1]/Color[1]", s.Color);

    text.clear();
    GetXPathText(c, "/root[1]/layout[1]/Free[1]", text);
    s.LayoutModeText = LoadString(text == "true" ? IDS_FREE_LAYOUT : IDS_AUTOMATIC_LAYOUT);

    text.clear();
    GetXPathText(c, "/root[1]/layout[1]/ImageSizeMethod[1]", text);
    const bool absolute = text == "Dimensions";
    ReadImageSize(c, absolute, unit, s);
    GetXPathText(c, "/root[1]/layout[1]/ImageSizeImageOption[1]", s.ImageOption);
    s.IsAbsoluteSize = absolute ? 1 : 0;
    GetXPathText(c, "/root[1]/layout[1]/AutoRotation[1]", s.AutoRotation);

    s.IsUserTemplate = 0;
    text.clear();
    if (GetXPathText(c, "/root[1]/layout[1]/NameMyTemplate[1]", text) && !text.empty()) {
        s.Category = std::move(text);
        s.IsUserTemplate = 1;
    } else {
        GetXPathText(c, "/root[1]/layout[1]/NameGenre[1]", s.Category);
    }

    text.clear();
    if (GetXPathText(c, "/root[1]/layout[1]/Preview[1]", text) && !text.empty()) {
        // A preview that does not decode is no preview: zeros would reach the JPEG reader.
        std::optional<std::vector<uint8_t>> bytes;
        try {
            bytes = Base64Decode(text);
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
