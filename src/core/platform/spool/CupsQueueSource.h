#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "platform/spool/QueueSource.h"

typedef struct _http_s http_t;

namespace vx {

/// The destinations of the CUPS server that libcups chooses (CUPS_SERVER, client.conf,
/// the local scheduler), without their instances. Each call opens one connection with
/// a bounded time-out; a server that cannot be reached gives no queues, never a hang, and
/// one line on stderr until it is reached again. A server that failed or did not answer
/// within the time-out is not asked again for kRetryAfter, so that a hung server costs one
/// time-out, not one per lookup. The model of a CUPS queue is left empty.
class CupsQueueSource : public QueueSource {
public:
    explicit CupsQueueSource(int timeoutMs = 5000) : mTimeoutMs(timeoutMs) {}

    std::vector<PrintQueue> ListQueues() override;
    std::optional<PrintQueue> FindQueue(std::string_view name) override;
    std::string DefaultQueueName() override;

    static constexpr std::chrono::seconds kRetryAfter{30};

private:
    struct HttpCloser {
        void operator()(http_t* http) const noexcept;
    };
    using Connection = std::unique_ptr<http_t, HttpCloser>;

    Connection Connect();
    /// After a request: a read that ran into the time-out marks the server as down.
    void CheckAnswered();
    void MarkDown();

    int mTimeoutMs;
    bool mReported = false;
    bool mTimedOut = false;
    std::string mServer;      // the server of the last connection attempt
    std::string mDownServer;  // not asked again before mRetryAt
    std::chrono::steady_clock::time_point mRetryAt;
};

}  // namespace vx
