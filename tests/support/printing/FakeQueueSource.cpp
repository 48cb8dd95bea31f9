#include "support/printing/FakeQueueSource.h"

#include "platform/system/Utf8.h"

namespace vx::test {
namespace {

class CountedHandle : public QueueHandle {
public:
    CountedHandle(PrintQueue q, std::shared_ptr<int> held) : QueueHandle(std::move(q)), mHeld(std::move(held)) {
        ++*mHeld;
    }
    ~CountedHandle() override { --*mHeld; }

private:
    std::shared_ptr<int> mHeld;
};

}  // namespace

PrintQueue& FakeQueueSource::Add(std::string name, std::string makeAndModel, std::string port) {
    PrintQueue q;
    q.name = std::move(name);
    q.makeAndModel = std::move(makeAndModel);
    q.port = std::move(port);
    queues.push_back(std::move(q));
    return queues.back();
}

std::vector<PrintQueue> FakeQueueSource::ListQueues() {
    log.push_back("List");
    return queues;
}

std::optional<PrintQueue> FakeQueueSource::FindQueue(std::string_view name) {
    log.push_back("Find " + std::string(name));
    for (const PrintQueue& q : queues)
        if (EqualsNoCaseAscii(q.name, name)) return q;
    return std::nullopt;
}

std::string FakeQueueSource::DefaultQueueName() {
    log.push_back("Default");
    for (const PrintQueue& q : queues)
        if (q.isDefault) return q.name;
    return {};
}

std::unique_ptr<QueueHandle> FakeQueueSource::OpenQueue(std::string_view name) {
    std::optional<PrintQueue> q = FindQueue(name);
    if (!q) return nullptr;
    return std::make_unique<CountedHandle>(std::move(*q), mHeld);
}

bool FakeQueueSource::LookedUp() const {
    for (const std::string& entry : log)
        if (entry.rfind("Find ", 0) == 0) return true;
    return false;
}

}  // namespace vx::test
