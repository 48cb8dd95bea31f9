#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

namespace vx {

class CLayoutObj;

/// Makes the empty items that copies of layouts fill. Tests pass one that fails on
/// purpose.
class ItemFactory {
public:
    virtual ~ItemFactory() = default;
    /// A new item of kind (1, 16, 32 or 64) named name, with object id 0. Throws
    /// std::bad_alloc when memory runs out, std::invalid_argument for another kind.
    virtual std::unique_ptr<CLayoutObj> Create(int16_t kind, std::string_view name) const;
};

/// The factory that makes ordinary items.
const ItemFactory& DefaultItemFactory();

}  // namespace vx
