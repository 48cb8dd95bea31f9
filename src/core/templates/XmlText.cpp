#include "templates/XmlText.h"

#include <mutex>
#include <string>

#include <libxml/parser.h>

namespace vx {

xmlNodePtr AddXmlTextElement(xmlNodePtr parent, const char* name, std::string_view text) {
    const std::string content(text);
    return xmlNewTextChild(parent, nullptr, reinterpret_cast<const xmlChar*>(name),
                           reinterpret_cast<const xmlChar*>(content.c_str()));
}

bool SetXmlElementText(xmlNodePtr node, std::string_view text) {
    if (!node) return false;
    const std::string content(text);
    // xmlNodeSetContent reads entity references: encode first so the text stays as is.
    xmlChar* encoded = xmlEncodeSpecialChars(node->doc, reinterpret_cast<const xmlChar*>(content.c_str()));
    if (!encoded) return false;
    xmlNodeSetContent(node, encoded);
    xmlFree(encoded);
    return true;
}

void EnsureXmlParser() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

std::optional<std::string> DumpXmlDocument(xmlDoc* doc) {
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc, &bytes, &size, "UTF-8", 1);
    if (!bytes || size <= 0) {
        xmlFree(bytes);
        return std::nullopt;
    }
    std::string out(reinterpret_cast<const char*>(bytes), size_t(size));
    xmlFree(bytes);
    return out;
}

}  // namespace vx
