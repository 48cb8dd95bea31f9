#pragma once
#include <optional>
#include <string_view>
#include <vector>

#include "model/CObjNode.h"

namespace vx::test {

/// One named property as a record class must answer it.
struct ExpectedProperty {
    enum Kind { ReadWrite, ReadOnly, Normalised, Unlisted };
    std::string_view name;
    ValueType type;
    PropertyValue initial;  // value of a new record
    Kind kind = ReadWrite;
    std::optional<PropertyValue> probe = {};  // value written and read back; default by index
};

/// Checks a new record against its expected properties, in declaration order, followed
/// by "mNext": member names and types, defaults, writes read back without touching any
/// other property, refused writes of read-only names and of wrong types, and unknown
/// names (case differs, empty, prefix) that leave buffer and record untouched.
void CheckPropertyTable(CObjNode& record, const std::vector<ExpectedProperty>& expected);

/// The values of every named member of record (Normalised names left out, as reading
/// them may store).
std::vector<PropertyValue> ReadAll(CObjNode& record, const std::vector<ExpectedProperty>& expected);

/// The value of name, read through Access with an empty buffer.
PropertyValue Read(CObjNode& record, std::string_view name);

}  // namespace vx::test

namespace vx::test {

// Expected properties whose new-record value is zero (or the given value).
inline ExpectedProperty Short(std::string_view n, int16_t v = 0) { return {n, ValueType::Short, v}; }
inline ExpectedProperty Long(std::string_view n, int32_t v = 0) { return {n, ValueType::Long, v}; }
inline ExpectedProperty Flag(std::string_view n, int32_t v = 0) { return {n, ValueType::Flag, v}; }
inline ExpectedProperty Point(std::string_view n) { return {n, ValueType::Point, LayoutPoint{}}; }
inline ExpectedProperty Rect(std::string_view n) { return {n, ValueType::Rect, LayoutRect{}}; }
inline ExpectedProperty With(ExpectedProperty e, ExpectedProperty::Kind kind) {
    e.kind = kind;
    return e;
}

}  // namespace vx::test
