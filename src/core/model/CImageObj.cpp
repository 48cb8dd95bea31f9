#include "model/CImageObj.h"

namespace vx {

CImageObj::CImageObj(bool newId, std::string_view name) : CLayoutObj(newId, name, kKindImage) {}

}  // namespace vx
