#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "platform/spool/QueueFile.h"
#include "platform/spool/QueueSource.h"

namespace vx {

/// The queues of CUPS together with the queue file: CUPS queues first (mapped to the
/// model the queue file names for them), then the file queues whose name no CUPS queue
/// has. The default is the CUPS default, else the first file queue marked Default=1.
/// The queue file is read at each call; its complaints are printed once per content.
class SystemQueueSource : public QueueSource {
public:
    explicit SystemQueueSource(QueueSource& cups) : mCups(cups) {}

    std::vector<PrintQueue> ListQueues() override;
    std::optional<PrintQueue> FindQueue(std::string_view name) override;
    std::string DefaultQueueName() override;

private:
    const std::vector<QueueFileEntry>& Entries();
    void ApplyMapping(PrintQueue& cupsQueue);

    QueueSource& mCups;
    std::filesystem::path mReadPath;
    std::string mReadText;
    bool mRead = false, mUnreadable = false;
    std::vector<QueueFileEntry> mEntries;
};

}  // namespace vx
