#include "document/ClipboardItemsXml.h"

#include <filesystem>
#include <new>
#include <system_error>
#include <unordered_map>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include "document/ImageItemOpener.h"
#include "document/LayoutPaths.h"
#include "document/LayoutXmlNames.h"
#include "document/LayoutXmlRules.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "model/FreeTextItem.h"
#include "model/LayoutLimits.h"
#include "model/ObjectList.h"
#include "templates/XmlText.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

constexpr const char* kHeaderProgram = "Program";
constexpr const char* kHeaderFormat = "Format";
constexpr std::string_view kProgramName = "VellicorEX";
constexpr std::string_view kFormatVersion = "1";

const char* Name(int16_t index) { return kLayoutXmlNames[size_t(index)].data(); }
std::string_view NameOf(const xmlNode* n) { return reinterpret_cast<const char*>(n->name); }
const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

struct DocFree {
    void operator()(xmlDoc* doc) const noexcept { xmlFreeDoc(doc); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

// A layout record that only gives the element rules their scope; the items never
// belong to it for longer than a read.
std::unique_ptr<CLayoutSetting> ScopeLayout() {
    auto layout = std::make_unique<CLayoutSetting>(false);
    layout->SetType(kRecordTypeLayout);
    layout->SetBaseImage(std::make_unique<CImageObj>(false, "BaseImage"));
    return layout;
}

class Writer {
public:
    std::optional<std::string> Write(const CLayoutObj* head) {
        EnsureXmlParser();
        Doc doc(xmlNewDoc(X("1.0")));
        if (!doc) return std::nullopt;
        xmlNodePtr root = xmlNewDocNode(doc.get(), nullptr, X(Name(kXmlRoot)), nullptr);
        if (!root) return std::nullopt;
        xmlDocSetRootElement(doc.get(), root);
        xmlNodePtr header = xmlNewChild(root, nullptr, X(Name(kXmlHeader)), nullptr);
        if (!header || !AddXmlTextElement(header, kHeaderProgram, kProgramName) ||
            !AddXmlTextElement(header, kHeaderFormat, kFormatVersion))
            return std::nullopt;
        xmlNodePtr objects = xmlNewChild(root, nullptr, X(Name(kXmlObject)), nullptr);
        if (!objects) return std::nullopt;
        mScope.layout = mLayout.get();
        for (const CLayoutObj* p = head; p; p = p->NextItem())
            if (!WriteItem(objects, *p)) return std::nullopt;
        return DumpXmlDocument(doc.get());
    }

private:
    // The rules write through the records, which they only read here.
    bool WriteItem(xmlNodePtr objects, const CLayoutObj& item) {
        switch (item.GetKind()) {
            case kKindImage: {
                mScope.image = const_cast<CImageObj*>(static_cast<const CImageObj*>(&item));
                return WriteImage(xmlNewChild(objects, nullptr, X(Name(kXmlImage)), nullptr));
            }
            case kKindText:
                mScope.text = const_cast<CTextObj*>(static_cast<const CTextObj*>(&item));
                return WriteRules(xmlNewChild(objects, nullptr, X(Name(kXmlFreeText)), nullptr), XmlContext::FreeText);
            case kKindLine:
                mScope.line = const_cast<CLineObj*>(static_cast<const CLineObj*>(&item));
                return WriteRules(xmlNewChild(objects, nullptr, X(Name(kXmlFreeLine)), nullptr), XmlContext::FreeLine);
            default: return true;  // cut lines are made again from each layout's settings
        }
    }

    bool WriteImage(xmlNodePtr element) {
        const std::string full = AbsolutePathText(mScope.image->GetFilePath());
        const size_t cut = full.rfind('/');
        const std::string folder = cut == std::string::npos ? std::string() : full.substr(0, cut + 1);
        const std::string file = cut == std::string::npos ? full : full.substr(cut + 1);
        return WriteRules(element, XmlContext::Image, [&](xmlNodePtr parent, int16_t name) {
            if (name == kXmlRelativeDir) return true;
            const std::optional<std::string> text = ToXmlText(name == kXmlDir ? folder : file, true);
            return text && AddXmlTextElement(parent, Name(name), *text) != nullptr;
        });
    }

    template <class Special = bool (*)(xmlNodePtr, int16_t)>
    bool WriteRules(xmlNodePtr parent, XmlContext context,
                    Special special = [](xmlNodePtr, int16_t) { return false; }) {
        if (!parent) return false;
        std::string text;
        for (const XmlRule& rule : LayoutXmlRules(context)) {
            if (rule.form == XmlForm::Special) {
                if (!special(parent, rule.name)) return false;
                continue;
            }
            if (!IsXmlRuleWritten(rule, mScope)) continue;
            text.clear();
            if (!FormatXmlRule(rule, mScope, text) || !AddXmlTextElement(parent, Name(rule.name), text)) return false;
        }
        return true;
    }

    std::unique_ptr<CLayoutSetting> mLayout = ScopeLayout();
    XmlScope mScope;
};

// The rule of an element by its name, per context.
const XmlRule* FindRule(XmlContext context, std::string_view name) {
    using Index = std::unordered_map<std::string_view, const XmlRule*>;
    static const auto build = [](XmlContext c) {
        Index index;
        for (const XmlRule& rule : LayoutXmlRules(c)) index.emplace(kLayoutXmlNames[size_t(rule.name)], &rule);
        return index;
    };
    static const Index image = build(XmlContext::Image), text = build(XmlContext::FreeText),
                       line = build(XmlContext::FreeLine);
    const Index& index = context == XmlContext::Image ? image : context == XmlContext::FreeText ? text : line;
    const auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

class Reader {
public:
    ClipboardItems Read(std::string_view bytes) {
        ClipboardItems out;
        if (bytes.size() > kMaxClipboardBytes) {
            out.status = ClipboardReadStatus::TooLarge;
            return out;
        }
        EnsureXmlParser();
        Doc doc(xmlReadMemory(bytes.data(), int(bytes.size()), nullptr, "UTF-8",
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
        const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
        if (!root || NameOf(root) != Name(kXmlRoot)) return out;
        const xmlNode* header = nullptr;
        const xmlNode* objects = nullptr;
        for (const xmlNode* n = root->children; n; n = n->next) {
            if (n->type != XML_ELEMENT_NODE) continue;
            if (!header && NameOf(n) == Name(kXmlHeader)) header = n;
            else if (header && !objects && NameOf(n) == Name(kXmlObject)) objects = n;
            else return out;
        }
        if (!header || !objects || !HeaderIsOurs(header)) return out;
        int count = 0;
        for (const xmlNode* n = objects->children; n; n = n->next)
            if (n->type == XML_ELEMENT_NODE && ++count > kMaxLayoutObjects) {
                out.status = ClipboardReadStatus::TooMany;
                return out;
            }
        mScope.layout = mLayout.get();
        try {
            for (const xmlNode* n = objects->children; n; n = n->next) {
                if (n->type != XML_ELEMENT_NODE) continue;
                if (!ReadItem(n)) {
                    mLayout->FreeChildren();
                    return out;
                }
            }
        } catch (const std::bad_alloc&) {
            mLayout->FreeChildren();
            return out;
        }
        while (std::unique_ptr<CLayoutObj> item = RemoveObjectAt(mLayout->ItemListHead(), 0)) {
            item->SetOwner(nullptr);
            out.items.push_back(std::move(item));
        }
        out.status = ClipboardReadStatus::Read;
        out.unreadableImages = mUnreadable;
        return out;
    }

private:
    // The element's own text; entity references fail, nothing from a DTD is expanded.
    bool Text(const xmlNode* element) {
        mText.clear();
        for (const xmlNode* n = element->children; n; n = n->next) {
            if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE) {
                if (n->content) mText += reinterpret_cast<const char*>(n->content);
            } else if (n->type != XML_COMMENT_NODE) {
                return false;
            }
        }
        return true;
    }

    bool HeaderIsOurs(const xmlNode* header) {
        bool program = false, format = false;
        for (const xmlNode* n = header->children; n; n = n->next) {
            if (n->type != XML_ELEMENT_NODE) continue;
            if (!Text(n)) return false;
            if (NameOf(n) == kHeaderProgram) program = mText == kProgramName;
            else if (NameOf(n) == kHeaderFormat) format = mText == kFormatVersion;
        }
        return program && format;
    }

    bool ReadRules(const xmlNode* element, XmlContext context, fs::path* imagePath) {
        std::string folder;
        std::string file;
        for (const xmlNode* n = element->children; n; n = n->next) {
            if (n->type != XML_ELEMENT_NODE) continue;
            const XmlRule* found = FindRule(context, NameOf(n));
            if (!found || !Text(n)) return false;
            const XmlRule& rule = *found;
            if (rule.form == XmlForm::Special) {
                if (!imagePath || rule.name == kXmlRelativeDir) return false;
                (rule.name == kXmlDir ? folder : file) = FromXmlText(mText);
                continue;
            }
            if (!ParseXmlRule(rule, mScope, mText)) return false;
        }
        if (imagePath) {
            // Only absolute paths are written; a name with folders of its own is not ours.
            if (folder.empty() || folder.front() != '/' || file.empty() || file.find_first_of("/\\") != std::string::npos)
                return false;
            if (folder.back() != '/') folder += '/';
            *imagePath = folder + file;
        }
        return true;
    }

    bool ReadItem(const xmlNode* element) {
        const std::string_view name = NameOf(element);
        CLayoutObj** list = mLayout->ItemListHead();
        if (name == Name(kXmlImage)) {
            CImageObj* item = ImageItems().CreateImageObj(nullptr, list, "StdImage");
            if (!item) throw std::bad_alloc();
            item->SetOwner(mLayout.get());
            item->SetType(kRecordTypeLayout);
            mScope.image = item;
            fs::path path;
            const bool ok = ReadRules(element, XmlContext::Image, &path);
            mScope.image = mLayout->GetBaseImage();
            if (!ok) return false;
            std::error_code ec;
            if (!fs::is_regular_file(path, ec) || !ImageItems().OpenImageFile(*item, path)) {
                ++mUnreadable;
                (void)RemoveObjectById(list, item);
                return true;
            }
            item->SetFilePath(path);
            ImageItems().EnsureWorkingBitmap(*item);
            ImageItems().RecalcFrameCaption(*item);
            return true;
        }
        if (name == Name(kXmlFreeText)) {
            CTextObj* item = CreateTextObject(mLayout.get(), list);
            if (!item) throw std::bad_alloc();
            mScope.text = item;
            if (!ReadRules(element, XmlContext::FreeText, nullptr)) return false;
            MeasureFreeText(*item);  // without a measurer the stored box stands
            return true;
        }
        if (name == Name(kXmlFreeLine)) {
            CLineObj* item = CreateLineObject(mLayout.get(), list);
            if (!item) throw std::bad_alloc();
            mScope.line = item;
            if (!ReadRules(element, XmlContext::FreeLine, nullptr)) return false;
            ComputeFreeLineGeometry(*item);
            return true;
        }
        return false;
    }

    std::unique_ptr<CLayoutSetting> mLayout = ScopeLayout();
    XmlScope mScope;
    std::string mText;
    int mUnreadable = 0;
};

}  // namespace

std::optional<std::string> WriteClipboardItems(const CLayoutObj* head) {
    try {
        return Writer().Write(head);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

ClipboardItems ReadClipboardItems(std::string_view bytes) { return Reader().Read(bytes); }

}  // namespace vx
