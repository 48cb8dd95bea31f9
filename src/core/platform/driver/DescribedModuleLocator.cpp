#include "platform/driver/DescribedModuleLocator.h"

#include "platform/driver/DataDrivenModule.h"
#include "platform/spool/PrintQueue.h"

namespace vx {

std::unique_ptr<DriverModule> DescribedModuleLocator::Load(const PrintQueue& queue) {
    std::shared_ptr<const PrinterModel> model = mCatalogue.ModelForQueue(queue);
    if (!model) return nullptr;
    return std::make_unique<DataDrivenModule>(std::move(model));
}

DriverModuleLocator& SystemDriverModules() {
    static DescribedModuleLocator locator(ModelCatalogue::Shipped());
    return locator;
}

}  // namespace vx
