#pragma once
#include <string_view>

#include "model/CLayoutObj.h"

namespace vx {

/// The image item (kind 1). Layouts also keep two that are never placed: "BaseImage",
/// the prototype of new image items, and "StampImage", the image stamp.
class CImageObj : public CLayoutObj {
public:
    explicit CImageObj(bool newId, std::string_view name = {});
};

}  // namespace vx
