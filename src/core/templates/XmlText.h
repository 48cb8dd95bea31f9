#pragma once
#include <optional>
#include <string>
#include <string_view>

#include <libxml/tree.h>

namespace vx {

/// Adds a leaf element whose text in the file is exactly text: libxml2 escapes it when
/// it writes, so nothing is escaped here. Null when libxml2 has no memory.
xmlNodePtr AddXmlTextElement(xmlNodePtr parent, const char* name, std::string_view text);

/// Replaces an element's content by exactly text (for edits of single values).
bool SetXmlElementText(xmlNodePtr node, std::string_view text);

/// Initialises libxml2 once for the process; it is never cleaned up before exit, as
/// other readers share its state.
void EnsureXmlParser();

/// The document as indented UTF-8 text; nullopt when libxml2 has no memory.
std::optional<std::string> DumpXmlDocument(xmlDoc* doc);

}  // namespace vx
