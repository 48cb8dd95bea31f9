#include "platform/driver/DescriptorReader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <charconv>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/driver/ModelChecker.h"
#include "platform/system/AtomicFile.h"

namespace vx {
namespace {

constexpr size_t kMaxDescriptorBytes = 1 << 20;

struct DocFree {
    void operator()(xmlDoc* d) const noexcept { xmlFreeDoc(d); }
};
struct CtxtFree {
    void operator()(xmlParserCtxt* c) const noexcept { xmlFreeParserCtxt(c); }
};

bool Is(const xmlNode* n, const char* name) {
    return n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), name) == 0;
}

int LineOf(const xmlNode* n) { return static_cast<int>(xmlGetLineNo(n)); }

std::optional<std::string> Attr(const xmlNode* n, const char* name) {
    xmlChar* v = xmlGetProp(n, reinterpret_cast<const xmlChar*>(name));
    if (!v) return std::nullopt;
    std::string s(reinterpret_cast<const char*>(v));
    xmlFree(v);
    return s;
}

std::optional<int32_t> ParseInt(std::string_view s) {
    int32_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}

/// Reads attributes into a model, remembering the first one that is missing or no number.
class AttrReader {
public:
    explicit AttrReader(DescriptorProblem& problem) : mProblem(problem) {}

    int32_t Int(const xmlNode* n, const char* name, std::optional<int32_t> fallback = std::nullopt) {
        std::optional<std::string> text = Attr(n, name);
        if (!text) {
            if (fallback) return *fallback;
            Fail(n, name);
            return 0;
        }
        std::optional<int32_t> v = ParseInt(*text);
        if (!v) Fail(n, name);
        return v.value_or(0);
    }

    std::vector<int32_t> List(const xmlNode* n, const char* name, bool optional = false) {
        std::vector<int32_t> out;
        std::optional<std::string> text = Attr(n, name);
        if (!text) {
            if (!optional) Fail(n, name);
            return out;
        }
        std::string_view s = *text;
        while (true) {
            size_t b = s.find_first_not_of(" \t\r\n");
            if (b == std::string_view::npos) break;
            s.remove_prefix(b);
            size_t e = s.find_first_of(" \t\r\n");
            std::optional<int32_t> v = ParseInt(s.substr(0, e));
            if (!v) {
                Fail(n, name);
                return {};
            }
            out.push_back(*v);
            if (e == std::string_view::npos) break;
            s.remove_prefix(e);
        }
        return out;
    }

    Margins MarginsOf(const xmlNode* n, const char* name) {
        std::vector<int32_t> v = List(n, name);
        if (v.size() != 4) {
            Fail(n, name);
            return {};
        }
        return Margins{v[0], v[1], v[2], v[3]};
    }

    std::string Text(const xmlNode* n, const char* name) { return Attr(n, name).value_or(""); }
    bool Flag(const xmlNode* n, const char* name) { return Int(n, name, 0) != 0; }

private:
    void Fail(const xmlNode* n, const char* name) {
        if (!mProblem.ok()) return;
        mProblem = {DescriptorFault::BadValue, LineOf(n), name};
    }
    DescriptorProblem& mProblem;
};

void ReadChildren(const xmlNode* root, PrinterModel& m, AttrReader& r) {
    for (const xmlNode* n = root->children; n; n = n->next) {
        if (Is(n, "paper")) {
            ModelPaper p;
            p.id = r.Int(n, "id");
            p.width = r.Int(n, "width");
            p.height = r.Int(n, "height");
            p.name = r.Text(n, "name");
            p.line = LineOf(n);
            m.papers.push_back(std::move(p));
        } else if (Is(n, "source")) {
            ModelSource s;
            s.id = r.Int(n, "id");
            s.name = r.Text(n, "name");
            s.papers = r.List(n, "papers");
            s.media = r.List(n, "media");
            s.roll = r.Flag(n, "roll");
            s.borderless = r.Flag(n, "borderless");
            s.standard = r.MarginsOf(n, "margins");
            s.maximum = r.MarginsOf(n, "maximum-margins");
            s.rollOptions = r.Int(n, "roll-options", 0);
            s.overspray = r.Int(n, "overspray", 0);
            s.line = LineOf(n);
            m.sources.push_back(std::move(s));
        } else if (Is(n, "medium")) {
            ModelMedium md;
            md.id = r.Int(n, "id");
            md.name = r.Text(n, "name");
            md.profile = r.Text(n, "profile");
            md.line = LineOf(n);
            for (const xmlNode* k = n->children; k; k = k->next)
                if (Is(k, "ink"))
                    md.inks.push_back({r.Int(k, "id"), r.Int(k, "modes", 1), r.Flag(k, "ultrafine")});
            m.media.push_back(std::move(md));
        }
    }
}

}  // namespace

DescriptorProblem DescriptorReader::Parse(std::string_view xml, PrinterModel& m) {
    std::unique_ptr<xmlParserCtxt, CtxtFree> ctxt(xmlNewParserCtxt());
    if (!ctxt) throw std::bad_alloc();
    // No network, no entity expansion from outside, and no libxml2 output on stderr.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    std::unique_ptr<xmlDoc, DocFree> doc(xmlCtxtReadMemory(
        ctxt.get(), xml.data(), static_cast<int>(xml.size()), nullptr, "UTF-8", options));
    if (!doc || !ctxt->wellFormed) {
        const xmlError* err = xmlCtxtGetLastError(ctxt.get());
        return {DescriptorFault::NotWellFormed, err ? err->line : 0, err && err->message ? err->message : ""};
    }
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root || !Is(root, "printer-model")) return {DescriptorFault::NotADescriptor, root ? LineOf(root) : 0, ""};
    DescriptorProblem problem;
    AttrReader r(problem);
    if (r.Int(root, "format") != 1 && problem.ok())
        return {DescriptorFault::UnknownFormat, LineOf(root), Attr(root, "format").value_or("")};
    m.name = r.Text(root, "name");
    m.family = r.Int(root, "family");
    m.modelClass = r.Int(root, "class");
    m.resolution = r.Int(root, "resolution");
    m.items = PrinterModel::CommonItems();
    for (int32_t item : r.List(root, "items", true)) m.items.push_back(item);
    m.inks = r.List(root, "inks");
    m.layoutFlags = r.Int(root, "layout-flags", 0);
    m.largestWidth = r.Int(root, "largest-width");
    m.largestLength = r.Int(root, "largest-length");
    ReadChildren(root, m, r);
    return problem;
}

DescriptorProblem DescriptorReader::Read(const std::filesystem::path& file, PrinterModel& m) {
    std::error_code ec;
    auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxDescriptorBytes) return {DescriptorFault::Unreadable, 0, ec ? ec.message() : "too large"};
    std::string text;
    if (!ReadWholeFile(file, text)) return {DescriptorFault::Unreadable, 0, ""};
    m = PrinterModel{};
    m.file = file;
    if (DescriptorProblem p = Parse(text, m); !p.ok()) return p;
    return CheckModel(m);
}

const char* DescriptorFaultText(DescriptorFault f) {
    switch (f) {
    case DescriptorFault::None: return "no fault";
    case DescriptorFault::Unreadable: return "the file cannot be read";
    case DescriptorFault::NotWellFormed: return "not well-formed XML";
    case DescriptorFault::NotADescriptor: return "the root element is not printer-model";
    case DescriptorFault::UnknownFormat: return "unknown descriptor format";
    case DescriptorFault::BadValue: return "an attribute is missing or not a number";
    case DescriptorFault::BadName: return "the model name is empty, longer than 31 bytes or does not begin with \"TEVRA \"";
    case DescriptorFault::BadFamily: return "the family code is outside 0..65535";
    case DescriptorFault::BadClass: return "the model class is not 1, 2 or 3";
    case DescriptorFault::BadResolution: return "the resolution is outside 72..2880";
    case DescriptorFault::UnknownItem: return "an unknown data item is listed";
    case DescriptorFault::IdOutOfRange: return "an id lies outside 1..65535";
    case DescriptorFault::RepeatedId: return "an id repeats within its list";
    case DescriptorFault::UserDefinedPaper: return "paper 256 is the user-defined size and cannot be listed";
    case DescriptorFault::PaperSideOutOfRange: return "a paper side lies outside 10..15000 mm";
    case DescriptorFault::PaperTooLargeForItem30: return "a paper side exceeds 3276.7 mm on a model without item 203";
    case DescriptorFault::MissingName: return "a paper, source or medium has no name";
    case DescriptorFault::SourceWithoutPapers: return "a source lists no paper";
    case DescriptorFault::SourceWithoutMedia: return "a source lists no medium";
    case DescriptorFault::UnknownPaper: return "a source lists an unknown paper";
    case DescriptorFault::UnknownMedium: return "a source lists an unknown medium";
    case DescriptorFault::RollSourceId: return "roll sources are 256 and 257, and only they";
    case DescriptorFault::BorderlessSourceId: return "a borderless source has an id outside the borderless ids, or another source has one";
    case DescriptorFault::BorderlessMargins: return "only borderless sources have zero margins, and they have no others";
    case DescriptorFault::RollOptionsNotOnRoll: return "roll options other than 0x1, 0x4, 0x8, or on a source that is not a roll source";
    case DescriptorFault::MediumWithoutProfile: return "a medium has no profile";
    case DescriptorFault::MediumWithoutInk: return "a medium takes no ink";
    case DescriptorFault::UnknownInk: return "an ink is not one the model offers";
    case DescriptorFault::BadModeCount: return "a print-mode count is not 1 or 2";
    case DescriptorFault::NoPrintableArea: return "margins leave no printable area";
    case DescriptorFault::NothingDescribed: return "the model lists no papers, sources, media or inks";
    case DescriptorFault::BadLargestPaper: return "the largest user-defined paper is out of range";
    case DescriptorFault::RepeatedModel: return "an earlier descriptor describes this model";
    }
    return "unknown fault";
}

}  // namespace vx
