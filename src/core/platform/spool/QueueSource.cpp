#include "platform/spool/QueueSource.h"

namespace vx {

std::unique_ptr<QueueHandle> QueueSource::OpenQueue(std::string_view name) {
    std::optional<PrintQueue> q = FindQueue(name);
    return q ? std::make_unique<QueueHandle>(std::move(*q)) : nullptr;
}

}  // namespace vx
