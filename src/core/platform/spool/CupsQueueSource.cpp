#include "platform/spool/CupsQueueSource.h"

#include <cups/cups.h>

#include <cstdio>
#include <memory>
#include <string>

namespace vx {
namespace {

struct DestFree {
    void operator()(cups_dest_t* dest) const noexcept { cupsFreeDests(1, dest); }
};
using NamedDest = std::unique_ptr<cups_dest_t, DestFree>;

class DestList {
public:
    explicit DestList(http_t* http) : mCount(cupsGetDests2(http, &mDests)) {}
    ~DestList() { cupsFreeDests(mCount, mDests); }
    DestList(const DestList&) = delete;
    DestList& operator=(const DestList&) = delete;
    int Count() const { return mCount > 0 && mDests ? mCount : 0; }
    const cups_dest_t& operator[](int i) const { return mDests[i]; }

private:
    cups_dest_t* mDests = nullptr;
    int mCount;
};

// Answering 0 makes libcups give up a read that has waited for the whole time-out.
int GiveUp(http_t*, void* timedOut) {
    *static_cast<bool*>(timedOut) = true;
    return 0;
}

bool Failed() {
    ipp_status_t st = cupsLastError();
    return st >= IPP_STATUS_REDIRECTION_OTHER_SITE && st != IPP_STATUS_ERROR_NOT_FOUND;
}

std::string Option(const cups_dest_t& dest, const char* name) {
    const char* v = cupsGetOption(name, dest.num_options, dest.options);
    return v ? v : "";
}

PrintQueue FromDest(const cups_dest_t& dest) {
    PrintQueue q;
    q.name = dest.name;
    q.kind = QueueKind::Cups;
    q.port = Option(dest, "device-uri");
    q.makeAndModel = Option(dest, "printer-make-and-model");
    q.info = Option(dest, "printer-info");
    return q;
}

// The default destination's queue name (an instance names its queue); empty when none.
std::string DefaultName(http_t* http) {
    NamedDest dest(cupsGetNamedDest(http, nullptr, nullptr));
    return dest && dest->name ? dest->name : "";
}

}  // namespace

void CupsQueueSource::HttpCloser::operator()(http_t* http) const noexcept { httpClose(http); }

void CupsQueueSource::MarkDown() {
    mDownServer = mServer;
    mRetryAt = std::chrono::steady_clock::now() + kRetryAfter;
}

CupsQueueSource::Connection CupsQueueSource::Connect() {
    // libcups keeps the first server it chose for the whole process; forgetting it makes
    // every call follow CUPS_SERVER and client.conf as they are now.
    cupsSetServer(nullptr);
    const char* server = cupsServer();
    mServer = std::string(server) + ":" + std::to_string(ippPort());
    if (mServer == mDownServer && std::chrono::steady_clock::now() < mRetryAt) return nullptr;
    http_t* http = httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                1, mTimeoutMs, nullptr);
    if (!http) {
        // Once per outage: every queue lookup would repeat it otherwise.
        if (!mReported)
            std::fprintf(stderr, "VellicorEX: CUPS server %s%s not reachable (%s); no CUPS queues\n",
                         server, server[0] == '/' ? "" : (":" + std::to_string(ippPort())).c_str(),
                         cupsLastErrorString());
        mReported = true;
        MarkDown();
        return nullptr;
    }
    Connection connection(http);
    mTimedOut = false;
    httpSetTimeout(http, mTimeoutMs / 1000.0, GiveUp, &mTimedOut);
    // A scheduler that takes connections but does not answer would hold some libcups
    // calls far beyond the time-out (cupsGetNamedDest waits minutes): ask a cheap
    // question first, on our own time-out.
    ipp_t* probe = ippNewRequest(IPP_OP_CUPS_GET_DEFAULT);
    ippAddString(probe, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
    ippDelete(cupsDoRequest(http, probe, "/"));
    if (mTimedOut) {
        CheckAnswered();
        return nullptr;
    }
    mReported = false;
    return connection;
}

void CupsQueueSource::CheckAnswered() {
    if (!mTimedOut) return;
    if (!mReported)
        std::fprintf(stderr, "VellicorEX: CUPS server %s did not answer; no CUPS queues\n", mServer.c_str());
    mReported = true;
    MarkDown();
}

std::vector<PrintQueue> CupsQueueSource::ListQueues() {
    std::vector<PrintQueue> queues;
    Connection http = Connect();
    if (!http) return queues;
    DestList dests(http.get());
    CheckAnswered();
    if (dests.Count() == 0 && !mTimedOut && Failed())
        std::fprintf(stderr, "VellicorEX: CUPS gave no queues (%s)\n", cupsLastErrorString());
    std::string defaultName;
    for (int i = 0; i < dests.Count(); ++i)
        if (dests[i].is_default && dests[i].name) defaultName = dests[i].name;
    for (int i = 0; i < dests.Count(); ++i) {
        if (!dests[i].name || dests[i].instance) continue;
        queues.push_back(FromDest(dests[i]));
        queues.back().isDefault = queues.back().name == defaultName;
    }
    return queues;
}

std::optional<PrintQueue> CupsQueueSource::FindQueue(std::string_view name) {
    // "name/instance" is an instance, which is never a queue of its own here.
    if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
    Connection http = Connect();
    if (!http) return std::nullopt;
    NamedDest dest(cupsGetNamedDest(http.get(), std::string(name).c_str(), nullptr));
    CheckAnswered();
    if (!dest || !dest->name) return std::nullopt;
    PrintQueue q = FromDest(*dest);
    q.isDefault = DefaultName(http.get()) == q.name;
    CheckAnswered();
    return q;
}

std::string CupsQueueSource::DefaultQueueName() {
    Connection http = Connect();
    if (!http) return {};
    std::string name = DefaultName(http.get());
    CheckAnswered();
    return name;
}

}  // namespace vx
