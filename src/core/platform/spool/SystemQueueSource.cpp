#include "platform/spool/SystemQueueSource.h"

#include <cstdio>
#include <system_error>

#include "platform/spool/CupsQueueSource.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/Paths.h"
#include "platform/system/Utf8.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

PrintQueue FileQueue(const QueueFileEntry& e) {
    PrintQueue q;
    q.name = e.name;
    q.kind = QueueKind::File;
    q.port = PathText(e.output);
    q.model = e.model;
    return q;
}

}  // namespace

QueueSource& SystemQueues() {
    static CupsQueueSource cups;
    static SystemQueueSource system(cups);
    return system;
}

const std::vector<QueueFileEntry>& SystemQueueSource::Entries() {
    fs::path path = QueueFile::InForce();
    std::string text;
    std::error_code ec;
    const bool unreadable = fs::exists(path, ec) && !ReadWholeFile(path, text);
    if (mRead && path == mReadPath && text == mReadText && unreadable == mUnreadable) return mEntries;
    if (unreadable)
        std::fprintf(stderr, "VellicorEX: %s cannot be read; no file queues\n", PathText(path).c_str());
    mEntries = QueueFile::Parse(text, PathText(path));
    mReadPath = path;
    mReadText = std::move(text);
    mUnreadable = unreadable;
    mRead = true;
    return mEntries;
}

void SystemQueueSource::ApplyMapping(PrintQueue& q) {
    for (const QueueFileEntry& e : Entries())
        if (!e.IsFileQueue() && EqualsNoCaseAscii(e.name, q.name)) q.model = e.model;
}

std::vector<PrintQueue> SystemQueueSource::ListQueues() {
    std::vector<PrintQueue> queues = mCups.ListQueues();
    bool haveDefault = false;
    for (PrintQueue& q : queues) {
        ApplyMapping(q);
        haveDefault = haveDefault || q.isDefault;
    }
    const size_t cupsCount = queues.size();
    for (const QueueFileEntry& e : Entries()) {
        if (!e.IsFileQueue()) continue;
        bool taken = false;
        for (size_t i = 0; i < cupsCount && !taken; ++i)
            taken = EqualsNoCaseAscii(queues[i].name, e.name);
        if (taken) {
            std::fprintf(stderr, "VellicorEX: file queue \"%s\" left out: a CUPS queue has its name\n",
                         e.name.c_str());
            continue;
        }
        queues.push_back(FileQueue(e));
        if (e.isDefault && !haveDefault) queues.back().isDefault = haveDefault = true;
    }
    return queues;
}

std::optional<PrintQueue> SystemQueueSource::FindQueue(std::string_view name) {
    if (std::optional<PrintQueue> q = mCups.FindQueue(name)) {
        ApplyMapping(*q);
        return q;
    }
    for (const QueueFileEntry& e : Entries())
        if (e.IsFileQueue() && EqualsNoCaseAscii(e.name, name)) {
            PrintQueue q = FileQueue(e);
            q.isDefault = e.isDefault && EqualsNoCaseAscii(DefaultQueueName(), e.name);
            return q;
        }
    return std::nullopt;
}

std::string SystemQueueSource::DefaultQueueName() {
    if (std::string name = mCups.DefaultQueueName(); !name.empty()) return name;
    for (const QueueFileEntry& e : Entries())
        if (e.IsFileQueue() && e.isDefault && !mCups.FindQueue(e.name)) return e.name;
    return {};
}

}  // namespace vx
