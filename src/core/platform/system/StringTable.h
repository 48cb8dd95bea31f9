#pragma once
#include <string>

#include "platform/system/MessageArgs.h"

namespace vx {

/// Named ids of the German string table (resources/StringTable.inc).
enum StringId : int {
#define VX_STRING(name, id, text) name = id,
#include "resources/StringTable.inc"
#undef VX_STRING
};

/// The German text of a string id, exactly as given; empty for an unknown id.
const std::string& LoadString(int id);

/// LoadString filled with the template's arguments (see FormatTemplate).
std::string MessageText(int id, const Args& args = {});

}  // namespace vx
