#pragma once
#include <cstdint>
#include <type_traits>
#include <variant>

#include "model/LayoutTypes.h"

namespace vx {

class CObjNode;
class DibBuffer;

/// Value types of named properties. Flags are 32-bit values used as booleans, but
/// stored unchanged (one flag member keeps an index). Codes are four-character codes or
/// bit sets; a bitmap is an image item's working picture.
enum class ValueType : uint8_t { Short, Long, Flag, Point, Rect, Link, Code, Bitmap };

/// One property value as `Access` carries it. An empty value (monostate) is a read
/// buffer that takes whatever type the property has.
using PropertyValue = std::variant<std::monostate, int16_t, int32_t, LayoutPoint, LayoutRect,
                                   CObjNode*, uint32_t, DibBuffer*>;

/// The C++ type that carries a value type.
template <ValueType T> struct PropertyCTypeOf;
template <> struct PropertyCTypeOf<ValueType::Short> { using type = int16_t; };
template <> struct PropertyCTypeOf<ValueType::Long> { using type = int32_t; };
template <> struct PropertyCTypeOf<ValueType::Flag> { using type = int32_t; };
template <> struct PropertyCTypeOf<ValueType::Point> { using type = LayoutPoint; };
template <> struct PropertyCTypeOf<ValueType::Rect> { using type = LayoutRect; };
template <> struct PropertyCTypeOf<ValueType::Link> { using type = CObjNode*; };
template <> struct PropertyCTypeOf<ValueType::Code> { using type = uint32_t; };
template <> struct PropertyCTypeOf<ValueType::Bitmap> { using type = DibBuffer*; };
template <ValueType T> using PropertyCType = typename PropertyCTypeOf<T>::type;

/// Whether value holds the C++ type of `type`.
inline bool HoldsType(const PropertyValue& value, ValueType type) {
    switch (type) {
        case ValueType::Short: return std::holds_alternative<int16_t>(value);
        case ValueType::Long:
        case ValueType::Flag: return std::holds_alternative<int32_t>(value);
        case ValueType::Point: return std::holds_alternative<LayoutPoint>(value);
        case ValueType::Rect: return std::holds_alternative<LayoutRect>(value);
        case ValueType::Link: return std::holds_alternative<CObjNode*>(value);
        case ValueType::Code: return std::holds_alternative<uint32_t>(value);
        case ValueType::Bitmap: return std::holds_alternative<DibBuffer*>(value);
    }
    return false;
}

}  // namespace vx
