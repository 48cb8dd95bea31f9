#include "document/LayoutXmlWriter.h"

#include <sys/utsname.h>

#include <cstdio>

#include <libxml/parser.h>
#include <libxml/xpath.h>

#include "document/LayoutPaths.h"
#include "document/LayoutXmlNames.h"
#include "document/LayoutXmlRules.h"
#include "document/PreviewPicture.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/FreeSpace.h"
#include "platform/system/SystemLanguage.h"
#include "templates/XmlText.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

const char* Name(int16_t index) { return kLayoutXmlNames[size_t(index)].data(); }

/// One save: the tree under construction and what its element writers share.
class LayoutXmlWriter {
public:
    LayoutXmlWriter(CLayoutSetting& layout, const LayoutXmlWriteOptions& options) : mOptions(options) {
        mScope.layout = &layout;
        mScope.language = options.language;
        mScope.documentPath = options.documentPath;
    }

    XmlDocument Build() {
        EnsureXmlParser();
        XmlDocument doc(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
        if (!doc) return nullptr;
        xmlNodePtr root = xmlNewDocNode(doc.get(), nullptr, reinterpret_cast<const xmlChar*>(Name(kXmlRoot)), nullptr);
        if (!root) return nullptr;
        xmlDocSetRootElement(doc.get(), root);
        if (!WriteHeaderXml(Container(root, kXmlHeader))) return nullptr;
        if (!WriteLayoutXml(Container(root, kXmlLayout))) return nullptr;
        if (mScope.layout->GetType() == kRecordTypeLayout) {
            mFolders.Reset();
            if (!WriteObjectsXml(Container(root, kXmlObject))) return nullptr;
        }
        return doc;
    }

private:
    static xmlNodePtr Container(xmlNodePtr parent, int16_t name) {
        return xmlNewChild(parent, nullptr, reinterpret_cast<const xmlChar*>(Name(name)), nullptr);
    }
    static bool Leaf(xmlNodePtr parent, int16_t name, std::string_view text) {
        return AddXmlTextElement(parent, Name(name), text) != nullptr;
    }

    bool WriteHeaderXml(xmlNodePtr header) {
        return header && Leaf(header, kXmlVersion, std::to_string(mOptions.version)) &&
               Leaf(header, kXmlPlatform, mOptions.platform == 0 ? "Mac" : "Win") &&
               Leaf(header, kXmlOSVersion, mOptions.osVersion);
    }

    /// The children of one context by its rules; special elements by special.
    template <class Special>
    bool WriteRules(xmlNodePtr parent, XmlContext context, Special special) {
        if (!parent) return false;
        std::string text;
        for (const XmlRule& rule : LayoutXmlRules(context)) {
            if (rule.form == XmlForm::Special) {
                if (!special(parent, rule.name)) return false;
                continue;
            }
            if (!IsXmlRuleWritten(rule, mScope)) continue;
            text.clear();
            if (!FormatXmlRule(rule, mScope, text) || !Leaf(parent, rule.name, text)) return false;
        }
        return true;
    }

    bool WriteLayoutXml(xmlNodePtr layout) {
        mScope.image = mScope.layout->GetBaseImage();
        if (!mScope.image) return false;
        return WriteRules(layout, XmlContext::Layout, [&](xmlNodePtr parent, int16_t) {
            return Leaf(parent, kXmlPreview, MakePreviewText(*mScope.layout));
        });
    }

    bool WriteObjectsXml(xmlNodePtr objects) {
        if (!objects) return false;
        const CLayoutSetting& l = *mScope.layout;
        const bool images = l.GetTemplate() == 0 || l.GetSaveTemplateWithImages() != 0;
        for (CLayoutObj* item = l.GetFirstItem(); item; item = item->NextItem()) {
            bool ok = true;
            switch (item->GetKind()) {
                case kKindImage:
                    if (images) ok = WriteImageXml(Container(objects, kXmlImage), static_cast<CImageObj&>(*item));
                    break;
                case kKindText:
                    if (!static_cast<CTextObj&>(*item).GetText().empty())
                        ok = WriteFreeTextXml(Container(objects, kXmlFreeText), static_cast<CTextObj&>(*item));
                    break;
                case kKindLine:
                    ok = WriteFreeLineXml(Container(objects, kXmlFreeLine), static_cast<CLineObj&>(*item));
                    break;
                default: break;  // cut lines are made again from the layout's settings
            }
            if (!ok) return false;
        }
        return true;
    }

    bool WriteImageXml(xmlNodePtr element, CImageObj& image) {
        mScope.image = &image;
        const std::string full = AbsolutePathText(image.GetFilePath());
        const std::string folder = mFolders.NewFolder(full);
        const bool relative = mScope.layout->GetRelative() == 1;
        return WriteRules(element, XmlContext::Image, [&](xmlNodePtr parent, int16_t name) {
            std::optional<std::string> text;
            if (name == kXmlRelativeDir || name == kXmlDir) {
                if (folder.empty() || relative != (name == kXmlRelativeDir)) return true;
                text = ToXmlText(relative ? MakeRelativePath(mOptions.documentPath, folder,
                                                             mScope.layout->GetTemplate() != 0)
                                          : folder,
                                 true);
            } else {
                text = ToXmlText(full.substr(full.rfind('/') + 1), true);
            }
            return text && Leaf(parent, name, *text);
        });
    }

    bool WriteFreeTextXml(xmlNodePtr element, CTextObj& text) {
        mScope.text = &text;
        return WriteRules(element, XmlContext::FreeText, [](xmlNodePtr, int16_t) { return false; });
    }

    bool WriteFreeLineXml(xmlNodePtr element, CLineObj& line) {
        mScope.line = &line;
        return WriteRules(element, XmlContext::FreeLine, [](xmlNodePtr, int16_t) { return false; });
    }

    const LayoutXmlWriteOptions& mOptions;
    XmlScope mScope;
    ImageFolderRule mFolders;
};

}  // namespace

std::string OsVersionText() {
    utsname name{};
    int major = 0;
    int minor = 0;
    if (uname(&name) != 0 || std::sscanf(name.release, "%d.%d", &major, &minor) != 2) return "xxx";
    return std::to_string(major) + "." + std::to_string(minor) + "_Linux_0";
}

LayoutXmlWriteOptions LayoutXmlWriteOptionsFor(const fs::path& path) {
    LayoutXmlWriteOptions o;
    o.documentPath = AbsolutePathText(path);
    if (ApplicationState* app = HostService<ApplicationState>()) {
        o.version = app->Preferences().version;
        o.platform = app->Preferences().platform;
        o.language = app->GetSystemLanguage();
    } else {
        const AppPreferences defaults;
        o.version = defaults.version;
        o.platform = defaults.platform;
        o.language = GetSystemLanguage();
    }
    o.osVersion = OsVersionText();
    return o;
}

XmlDocument BuildLayoutXml(CLayoutSetting& layout, const LayoutXmlWriteOptions& options) {
    return LayoutXmlWriter(layout, options).Build();
}

std::optional<std::string> SerializeLayoutXml(CLayoutSetting& layout, const LayoutXmlWriteOptions& options) {
    XmlDocument doc = BuildLayoutXml(layout, options);
    if (!doc) return std::nullopt;
    return DumpXmlDocument(doc.get());
}

bool SaveLayoutXml(const fs::path& path, CLayoutSetting& layout) {
    std::optional<std::string> bytes = SerializeLayoutXml(layout, LayoutXmlWriteOptionsFor(path));
    if (!bytes) return false;
    // The file replaced is where the space is taken, also behind a symbolic link.
    fs::path folder = ResolveSaveTarget(path).parent_path();
    if (folder.empty()) folder = ".";
    std::optional<uint64_t> room = FreeBytesAt(folder);
    if (!room || *room < bytes->size() + 4096) return false;
    return bool(WriteFileAtomically(path, *bytes));
}

bool IsStandardTemplateFile(const fs::path& path) {
    EnsureXmlParser();
    XmlDocument doc(xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc) return true;
    bool standard = true;
    if (xmlXPathContextPtr context = xmlXPathNewContext(doc.get())) {
        xmlXPathObjectPtr found =
            xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>("/root[1]/layout[1]/NameMyTemplate[1]"), context);
        if (found && found->nodesetval && found->nodesetval->nodeNr > 0) {
            if (xmlChar* text = xmlNodeGetContent(found->nodesetval->nodeTab[0])) {
                const std::string_view value(reinterpret_cast<const char*>(text));
                standard = value.empty() || value == "\"\"";
                xmlFree(text);
            }
        }
        xmlXPathFreeObject(found);
        xmlXPathFreeContext(context);
    }
    return standard;
}

}  // namespace vx
