#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spool/PrintQueue.h"

namespace vx {

/// An opened queue, in place of a spooler printer handle: whoever binds a printer holds
/// one until it lets the printer go.
class QueueHandle {
public:
    explicit QueueHandle(PrintQueue queue) : mQueue(std::move(queue)) {}
    virtual ~QueueHandle() = default;
    QueueHandle(const QueueHandle&) = delete;
    QueueHandle& operator=(const QueueHandle&) = delete;

    const PrintQueue& Queue() const { return mQueue; }

private:
    PrintQueue mQueue;
};

/// Where print queues come from.
class QueueSource {
public:
    virtual ~QueueSource() = default;

    /// Every queue, each at most once; at most one carries the default flag.
    virtual std::vector<PrintQueue> ListQueues() = 0;
    /// One queue looked up by its name alone, without listing the others.
    virtual std::optional<PrintQueue> FindQueue(std::string_view name) = 0;
    /// The default queue's name; empty when there is none.
    virtual std::string DefaultQueueName() = 0;

    /// FindQueue, held as a handle; null when there is no such queue.
    virtual std::unique_ptr<QueueHandle> OpenQueue(std::string_view name);
};

/// The queues of this machine: CUPS and the queue file, for the whole process.
QueueSource& SystemQueues();

}  // namespace vx
