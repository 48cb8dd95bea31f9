#include "document/XmlText.h"

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

}  // namespace vx
