#pragma once
#include <memory>
#include <set>
#include <string>

#include "platform/spool/PrintQueue.h"
#include "support/printing/FakeDriverModule.h"

namespace vx::test {

/// Loads fake modules for queues whose model (or, without one, make-and-model) is one
/// of `models`; logs "Load <queue>".
class FakeModuleLocator : public DriverModuleLocator {
public:
    explicit FakeModuleLocator(std::set<std::string> models = {"TEVRA Proof 44"})
        : models(std::move(models)) {}

    std::set<std::string> models;
    std::shared_ptr<FakeDriverState> state = std::make_shared<FakeDriverState>();

    std::unique_ptr<DriverModule> Load(const PrintQueue& queue) override;
};

}  // namespace vx::test
