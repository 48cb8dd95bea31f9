#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "document/LayoutXmlNames.h"
#include "templates/XmlValueForms.h"

namespace vx {

class CImageObj;
class CLayoutSetting;
class CLineObj;
class CTextObj;

/// The records one element's value belongs to while a context is written or read.
struct XmlScope {
    CLayoutSetting* layout = nullptr;
    CImageObj* image = nullptr;  // "BaseImage" in the layout element, the item in image elements
    CTextObj* text = nullptr;
    CLineObj* line = nullptr;
    int language = 9;                    // which Comment element is written and read
    std::filesystem::path documentPath;  // the file written or read (relative paths)
};

/// The record an element's value lives in.
enum class XmlTarget : uint8_t { Layout, Image, Text, Line };

/// How an element's text is made and read.
enum class XmlForm : uint8_t {
    Bool, Int, Short, Pair, Rect, Colour, Points, Text, Face, Labels, Word,
    Special,  // Preview, Dir, RelativeDir and File: the writer and reader treat them by hand
};

/// One element of a context: its name, its form and where its value lives. A named
/// value goes through Access by `property` at the record's own width (a pair
/// `component` 0 for x, 1 for y, -1 for the whole); other values through getInt/setInt
/// or getText/setText; values of several fields through format/parse.
struct XmlRule {
    int16_t name;
    XmlForm form;
    XmlTarget target = XmlTarget::Layout;
    std::string_view property = {};
    int8_t component = -1;
    std::span<const XmlWord> words = {};
    /// Word form: the text for a value without a word; null leaves such a value out.
    const char* writeOther = nullptr;
    /// Word form: a value without a word is left out, and an empty element keeps what the
    /// record holds (other writers of the format leave such a value as empty text).
    bool omitOther = false;
    /// Word form: the value another word reads as; nullopt fails the read.
    std::optional<int32_t> readOther = std::nullopt;
    int32_t (*getInt)(const XmlScope&) = nullptr;
    void (*setInt)(XmlScope&, int32_t) = nullptr;
    const std::string& (*getText)(const XmlScope&) = nullptr;
    void (*setText)(XmlScope&, std::string) = nullptr;
    /// Text forms: longer texts (in characters) fail the save and the read; 0 no limit.
    uint16_t maxChars = 0;
    /// Whole custom forms; format false aborts the save, parse false fails the read.
    bool (*format)(const XmlScope&, std::string& out) = nullptr;
    bool (*parse)(XmlScope&, std::string_view text) = nullptr;
    /// Null: always written. A text form with written null and skipEmpty is written only
    /// when not empty.
    bool (*written)(const XmlScope&) = nullptr;
    bool skipEmpty = false;
};

/// The rules of a context's children in file order (header and object: none).
std::span<const XmlRule> LayoutXmlRules(XmlContext context);

/// Whether the element is written for this scope: not for a value the format has no
/// word for where the rule leaves it out.
bool IsXmlRuleWritten(const XmlRule& rule, const XmlScope& scope);
/// The element's text; false when the value cannot be written (an enumerated value
/// without a word, text that is not UTF-8 or too long), which aborts the save.
bool FormatXmlRule(const XmlRule& rule, const XmlScope& scope, std::string& out);
/// Stores the element's text (as the file holds it) in the scope's records; false when
/// the text fails the read. An empty text of a rule that leaves out values without a
/// word changes nothing.
bool ParseXmlRule(const XmlRule& rule, XmlScope& scope, std::string_view text);

}  // namespace vx
