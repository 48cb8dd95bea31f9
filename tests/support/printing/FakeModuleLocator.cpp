#include "support/printing/FakeModuleLocator.h"

namespace vx::test {

std::unique_ptr<DriverModule> FakeModuleLocator::Load(const PrintQueue& queue) {
    state->log.push_back("Load " + queue.name);
    const std::string& model = queue.model.empty() ? queue.makeAndModel : queue.model;
    if (models.count(model) == 0) return nullptr;
    return std::make_unique<FakeDriverModule>(state);
}

}  // namespace vx::test
