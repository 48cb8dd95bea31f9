#pragma once
#include "platform/spool/QueueSource.h"

namespace vx {

/// The destinations of the CUPS server that libcups chooses (CUPS_SERVER, client.conf,
/// the local scheduler), without their instances. Each call opens one connection with
/// a bounded time-out; a server that cannot be reached gives no queues, never a hang, and
/// one line on stderr until it is reached again. The model of a CUPS queue is left empty.
class CupsQueueSource : public QueueSource {
public:
    explicit CupsQueueSource(int timeoutMs = 5000) : mTimeoutMs(timeoutMs) {}

    std::vector<PrintQueue> ListQueues() override;
    std::optional<PrintQueue> FindQueue(std::string_view name) override;
    std::string DefaultQueueName() override;

private:
    int mTimeoutMs;
    bool mReported = false;
};

}  // namespace vx
