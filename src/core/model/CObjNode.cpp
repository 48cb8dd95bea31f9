#include "model/CObjNode.h"

#include <atomic>

namespace vx {
namespace {

std::atomic<uint32_t> gLastObjectId{0};

constexpr std::string_view kNextName = "mNext";

}  // namespace

CObjNode::CObjNode(bool newId) : mObjectId(newId ? ++gLastObjectId : 0) {}

bool CObjNode::Access(std::string_view name, bool write, PropertyValue& value) {
    if (name != kNextName) return false;
    if (!write && (std::holds_alternative<std::monostate>(value) ||
                   std::holds_alternative<CObjNode*>(value)))
        value = mNext;
    return true;
}

std::vector<CPropertyMember> CObjNode::InitPropertyNames() {
    return {CPropertyMember(*this, kNextName, ValueType::Link)};
}

void CObjNode::CopyFrom(const CObjNode& source, bool copyLink) {
    if (copyLink) mNext = source.mNext;
}

}  // namespace vx
