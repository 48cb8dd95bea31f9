#pragma once
#include <array>
#include <string>
#include <string_view>

#include "templates/TemplateInfo.h"

namespace vx {

/// One line of the template information list: label and shown value.
struct TemplatePropertyRow {
    std::string label;
    std::string value;
};

inline constexpr int kTemplatePropertyRowCount = 13;
using TemplatePropertyRows = std::array<TemplatePropertyRow, kTemplatePropertyRowCount>;

/// The file name of a template path: the text after the last '/' or '\'.
std::string TemplateFileNamePart(std::string_view path);

/// The 13 rows the information page lists for info; an empty value shows as "-".
TemplatePropertyRows MakeTemplatePropertyRows(const TemplateInfo& info);

/// An absolute image size ("Breite = 127.00 mm, Höhe = 84.67 mm", or in "Zoll") written
/// again in unit (1 mm, every other unit inches). Relative sizes and texts whose
/// lengths cannot be found come back unchanged.
std::string RewriteImageSizeText(std::string_view text, int unit);

/// The comment as the preview page shows it: "\r\n" and a bare '\r' or '\n' become one
/// '\n' each, so every break is one line break.
std::string PreviewCommentText(std::string_view comment);

}  // namespace vx
