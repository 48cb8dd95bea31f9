#include "platform/spool/CupsQueueSource.h"

#include <cups/cups.h>

#include <cstdio>
#include <memory>
#include <string>

namespace vx {
namespace {

struct HttpCloser {
    void operator()(http_t* http) const noexcept { httpClose(http); }
};
using HttpConnection = std::unique_ptr<http_t, HttpCloser>;

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
int GiveUp(http_t*, void*) { return 0; }

HttpConnection Connect(int timeoutMs, bool& reported) {
    // libcups keeps the first server it chose for the whole process; forgetting it makes
    // every call follow CUPS_SERVER and client.conf as they are now.
    cupsSetServer(nullptr);
    const char* server = cupsServer();
    http_t* http = httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                1, timeoutMs, nullptr);
    if (!http) {
        // Once per outage: every queue lookup would repeat it otherwise.
        if (!reported)
            std::fprintf(stderr, "VellicorEX: CUPS server %s%s not reachable (%s); no CUPS queues\n",
                         server, server[0] == '/' ? "" : (":" + std::to_string(ippPort())).c_str(),
                         cupsLastErrorString());
        reported = true;
        return nullptr;
    }
    reported = false;
    httpSetTimeout(http, timeoutMs / 1000.0, GiveUp, nullptr);
    return HttpConnection(http);
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

std::vector<PrintQueue> CupsQueueSource::ListQueues() {
    std::vector<PrintQueue> queues;
    HttpConnection http = Connect(mTimeoutMs, mReported);
    if (!http) return queues;
    DestList dests(http.get());
    if (dests.Count() == 0 && Failed())
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
    HttpConnection http = Connect(mTimeoutMs, mReported);
    if (!http) return std::nullopt;
    NamedDest dest(cupsGetNamedDest(http.get(), std::string(name).c_str(), nullptr));
    if (!dest || !dest->name) return std::nullopt;
    PrintQueue q = FromDest(*dest);
    q.isDefault = DefaultName(http.get()) == q.name;
    return q;
}

std::string CupsQueueSource::DefaultQueueName() {
    HttpConnection http = Connect(mTimeoutMs, mReported);
    return http ? DefaultName(http.get()) : std::string();
}

}  // namespace vx
