#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include <libxml/xpath.h>

#include "templates/TemplateInfo.h"

namespace vx {

/// The text of the first node the expression selects, when that node's first child is
/// text, with one pair of enclosing double quotes removed. False (text unchanged) when
/// nothing is selected, the node is empty or libxml2 has no memory.
bool GetXPathText(xmlXPathContextPtr context, const char* expression, std::string& text);

/// Text of at least two characters that starts with '"' loses its first and last
/// character; any other text stays.
void StripQuotes(std::string& text);

/// The expression of the comment element in the user's language, e.g.
/// "/root[1]/layout[1]/CommentGerman[1]".
std::string GetTemplateCommentPath();

/// Fills info with the summary of a layout or template file without loading it as a
/// layout: file time and size, the layout's printer, paper and image settings, category
/// and preview. Elements the file lacks leave their fields as they were. False, info
/// unchanged, when the file cannot be parsed; nothing in the file is ever loaded from
/// elsewhere (no network, no entities).
bool ReadTemplateSummary(const std::filesystem::path& path, TemplateInfo& info);

}  // namespace vx
