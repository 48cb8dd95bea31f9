#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/spool/QueueSource.h"

namespace vx::test {

/// Scripted queues. Logs every call ("List", "Find <name>", "Default") and counts the
/// handles of OpenQueue that are still alive.
class FakeQueueSource : public QueueSource {
public:
    std::vector<PrintQueue> queues;  // the default is the one marked so
    std::vector<std::string> log;

    /// Adds a CUPS queue; returns it for further settings.
    PrintQueue& Add(std::string name, std::string makeAndModel, std::string port = "ipp://fake/printer");

    std::vector<PrintQueue> ListQueues() override;
    std::optional<PrintQueue> FindQueue(std::string_view name) override;
    std::string DefaultQueueName() override;
    std::unique_ptr<QueueHandle> OpenQueue(std::string_view name) override;

    int HeldQueues() const { return *mHeld; }
    /// Whether any call looked a queue up.
    bool LookedUp() const;

private:
    std::shared_ptr<int> mHeld = std::make_shared<int>(0);
};

}  // namespace vx::test
