#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vx {

/// The element names of layout files, one array shared by every context.
inline constexpr int kLayoutXmlNameCount = 202;
extern const std::array<std::string_view, kLayoutXmlNameCount> kLayoutXmlNames;

/// Indices of the names the writer and reader treat by hand.
enum LayoutXmlName : int16_t {
    kXmlRoot = 0,
    kXmlHeader = 1,
    kXmlLayout = 2,
    kXmlObject = 3,
    kXmlVersion = 4,
    kXmlPlatform = 5,
    kXmlOSVersion = 6,
    kXmlLayoutFirst = 7,
    kXmlPreview = 18,
    kXmlNameMyTemplate = 21,
    kXmlLayoutLast = 130,
    kXmlImage = 131,
    kXmlFreeText = 132,
    kXmlFreeLine = 133,
    kXmlImageFirst = 134,
    kXmlRelativeDir = 134,
    kXmlDir = 135,
    kXmlFile = 136,
    kXmlPosition = 137,
    kXmlOffsetOrgPos = 138,
    kXmlImageLast = 180,
    kXmlTextFirst = 181,
    kXmlAngle = 189,
    kXmlTextLast = 191,
    kXmlLineFirst = 192,
    kXmlLineLast = 201,
};

/// The contexts of a layout file; each lists its children in file order.
enum class XmlContext : uint8_t { Root, Header, Layout, Object, Image, FreeText, FreeLine };

/// The name indices of a context's children, in the order they are written.
std::span<const int16_t> LayoutXmlContext(XmlContext context);

/// The position of name among the context's children (exact, case-sensitive), or -1.
int FindInLayoutXmlContext(XmlContext context, std::string_view name);

}  // namespace vx
