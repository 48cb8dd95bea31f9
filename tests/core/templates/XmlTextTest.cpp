#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include <libxml/parser.h>

#include "templates/XmlText.h"

namespace vx {
namespace {

using Document = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

/// The text of the first child element called name, as a reader of the file gets it.
std::optional<std::string> ChildText(xmlNodePtr parent, std::string_view name) {
    for (xmlNodePtr n = parent->children; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE || name != reinterpret_cast<const char*>(n->name)) continue;
        xmlChar* c = xmlNodeGetContent(n);
        std::string s = c ? reinterpret_cast<const char*>(c) : "";
        xmlFree(c);
        return s;
    }
    return std::nullopt;
}

TEST(XmlText, ElementsHoldExactlyTheirText) {
    EnsureXmlParser();
    Document doc(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")), &xmlFreeDoc);
    xmlNodePtr root = xmlNewDocNode(doc.get(), nullptr, reinterpret_cast<const xmlChar*>("root"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    const std::string text = "\"a &amp; <b> 'c'\"";
    xmlNodePtr added = AddXmlTextElement(root, "Added", text);
    xmlNodePtr edited = AddXmlTextElement(root, "Edited", "old");
    ASSERT_TRUE(added && edited);
    ASSERT_TRUE(SetXmlElementText(edited, text));

    const std::optional<std::string> bytes = DumpXmlDocument(doc.get());
    ASSERT_TRUE(bytes);
    Document read(xmlReadMemory(bytes->data(), int(bytes->size()), nullptr, nullptr, XML_PARSE_NONET), &xmlFreeDoc);
    ASSERT_TRUE(read);
    xmlNodePtr readRoot = xmlDocGetRootElement(read.get());
    ASSERT_TRUE(readRoot);
    EXPECT_EQ(ChildText(readRoot, "Added"), text);
    EXPECT_EQ(ChildText(readRoot, "Edited"), text);
}

}  // namespace
}  // namespace vx
