#include "model/ItemFactory.h"

#include <stdexcept>
#include <string>

#include "model/CCutLineObj.h"
#include "model/CImageObj.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"

namespace vx {

std::unique_ptr<CLayoutObj> ItemFactory::Create(int16_t kind, std::string_view name) const {
    switch (kind) {
        case kKindImage: return std::make_unique<CImageObj>(false, name);
        case kKindText: return std::make_unique<CTextObj>(false, name);
        case kKindCutLine: return std::make_unique<CCutLineObj>(false, name);
        case kKindLine: return std::make_unique<CLineObj>(false, name);
        default: throw std::invalid_argument("no item of kind " + std::to_string(kind));
    }
}

const ItemFactory& DefaultItemFactory() {
    static const ItemFactory factory;
    return factory;
}

}  // namespace vx
