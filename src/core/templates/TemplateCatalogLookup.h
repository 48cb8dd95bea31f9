#pragma once
#include <string_view>

#include "templates/TemplateInfo.h"

namespace vx {

/// The record at index, or null when index is outside the array.
const TemplateInfo* TemplateAtIndex(const CTemplateInfoArray& array, int index);

/// The lowest index whose file name (the text after the last '/' or '\') equals
/// fileName exactly; -1 when none does.
int FindTemplateByFileName(const CTemplateInfoArray& array, std::string_view fileName);

/// The lowest index whose path equals path exactly; -1 when none does.
int FindTemplateByPath(const CTemplateInfoArray& array, std::string_view path);

}  // namespace vx
