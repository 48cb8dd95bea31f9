#pragma once
#include <memory>

#include "platform/driver/DriverModule.h"
#include "platform/driver/ModelCatalogue.h"

namespace vx {

/// Loads a DataDrivenModule for queues whose model the catalogue describes.
class DescribedModuleLocator : public DriverModuleLocator {
public:
    explicit DescribedModuleLocator(const ModelCatalogue& catalogue) : mCatalogue(catalogue) {}
    std::unique_ptr<DriverModule> Load(const PrintQueue& queue) override;

private:
    const ModelCatalogue& mCatalogue;
};

/// The locator over the shipped descriptors, for the whole process.
DriverModuleLocator& SystemDriverModules();

}  // namespace vx
