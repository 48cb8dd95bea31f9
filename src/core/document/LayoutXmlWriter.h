#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <libxml/tree.h>

namespace vx {

class CLayoutSetting;

/// What a layout file carries beside the layout's records.
struct LayoutXmlWriteOptions {
    std::filesystem::path documentPath;  // the file written: relative paths point from it
    int language = 9;                    // the Comment element written
    int16_t version = 1500;
    int16_t platform = 1;                // 1 "Win", 0 "Mac"
    std::string osVersion = "xxx";
};

/// The options of a save to path: version and platform from the application's
/// preferences and its system language (their defaults without an installed
/// ApplicationState), the running kernel's version.
LayoutXmlWriteOptions LayoutXmlWriteOptionsFor(const std::filesystem::path& path);

/// "major.minor_Linux_0" of the running kernel, "xxx" when it cannot be asked.
std::string OsVersionText();

struct XmlDocFree {
    void operator()(xmlDoc* doc) const noexcept { xmlFreeDoc(doc); }
};
using XmlDocument = std::unique_ptr<xmlDoc, XmlDocFree>;

/// The layout file's tree: root with header, layout and (for a layout of `mType` 2)
/// object. Null when a value cannot be written: an enumerated value without a word, a
/// text that is not UTF-8 or too long for its reader, or no memory.
XmlDocument BuildLayoutXml(CLayoutSetting& layout, const LayoutXmlWriteOptions& options);

/// The file's bytes (indented UTF-8), or nullopt as for BuildLayoutXml.
std::optional<std::string> SerializeLayoutXml(CLayoutSetting& layout, const LayoutXmlWriteOptions& options);

/// Writes layout as a layout document or template to path, replacing it atomically:
/// checked for room first (its size and 4096 bytes), a failure leaves the old file as
/// it was. Shows nothing; true when the file was written.
bool SaveLayoutXml(const std::filesystem::path& path, CLayoutSetting& layout);

/// False only when the file parses and its layout names user categories
/// (NameMyTemplate with a text other than the empty value "\"\"").
bool IsStandardTemplateFile(const std::filesystem::path& path);

}  // namespace vx
