#include "platform/spool/CupsSubmission.h"

#include <cups/cups.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace vx {
namespace {

// Connecting and every wait for an answer; a stopped or hung server costs no more.
constexpr int kConnectTimeoutMs = 5000;
constexpr double kAnswerTimeoutSeconds = 30.0;
constexpr size_t kChunk = size_t(256) << 10;
constexpr auto kPumpInterval = std::chrono::milliseconds(50);

template <auto Free>
struct Closer {
    template <class T>
    void operator()(T* p) const noexcept { Free(p); }
};
using Http = std::unique_ptr<http_t, Closer<httpClose>>;
using DestInfo = std::unique_ptr<cups_dinfo_t, Closer<cupsFreeDestInfo>>;

struct DestFree {
    void operator()(cups_dest_t* dest) const noexcept { cupsFreeDests(1, dest); }
};
using Dest = std::unique_ptr<cups_dest_t, DestFree>;

class Options {
public:
    ~Options() { cupsFreeOptions(mCount, mOptions); }
    void Add(const char* name, const std::string& value) {
        mCount = cupsAddOption(name, value.c_str(), mCount, &mOptions);
    }
    int Count() const { return mCount; }
    cups_option_t* Get() const { return mOptions; }

private:
    int mCount = 0;
    cups_option_t* mOptions = nullptr;
};

int GiveUp(http_t*, void*) { return 0; }

// libcups sends without MSG_NOSIGNAL: a scheduler that goes away in the middle of the
// upload would end the program with SIGPIPE. Blocked here, and a pending one taken
// away, the write just fails.
class NoBrokenPipeSignal {
public:
    NoBrokenPipeSignal() {
        sigemptyset(&mPipe);
        sigaddset(&mPipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        mWasPending = sigismember(&pending, SIGPIPE) == 1;
        mBlocked = pthread_sigmask(SIG_BLOCK, &mPipe, &mOld) == 0;
    }
    ~NoBrokenPipeSignal() {
        if (!mBlocked) return;
        sigset_t pending;
        sigpending(&pending);
        if (!mWasPending && sigismember(&pending, SIGPIPE) == 1) {
            const timespec none{0, 0};
            sigtimedwait(&mPipe, nullptr, &none);
        }
        pthread_sigmask(SIG_SETMASK, &mOld, nullptr);
    }
    NoBrokenPipeSignal(const NoBrokenPipeSignal&) = delete;
    NoBrokenPipeSignal& operator=(const NoBrokenPipeSignal&) = delete;

private:
    sigset_t mPipe{};
    sigset_t mOld{};
    bool mWasPending = false;
    bool mBlocked = false;
};

bool IppOk(ipp_status_t st) { return st < IPP_STATUS_REDIRECTION_OTHER_SITE; }

std::string LastError(const char* fallback) {
    const char* text = cupsLastErrorString();
    if (text && *text && cupsLastError() != IPP_STATUS_OK) return text;
    return fallback;
}

CupsSubmitResult Failure(std::string error) {
    return {CupsSubmitResult::Kind::Failed, std::move(error)};
}

// A connection to the scheduler on our own time-outs. Not cupsConnectDest: its
// connection is named after the host in the queue's URI, and when that is spelt other
// than CUPS_SERVER ("localhost", "127.0.0.1") cupsCopyDestInfo asks for the device's
// resource and the scheduler answers that the queue does not exist.
Http ConnectToServer() {
    Http http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectTimeoutMs,
                           nullptr));
    if (http) httpSetTimeout(http.get(), kAnswerTimeoutSeconds, GiveUp, nullptr);
    return http;
}

// A job that was created must not print half a document or wait on the server for
// its missing one: it is cancelled on a connection of its own.
void CancelJob(cups_dest_t* dest, int jobId) {
    if (jobId <= 0) return;
    if (Http http = ConnectToServer()) cupsCancelDestJob(http.get(), dest, jobId);
}

}  // namespace

std::string CupsMediaName(const CupsMedia& media) {
    if (media.width <= 0 || media.length <= 0) return {};
    if (pwg_media_t* pwg = pwgMediaForSize(media.width, media.length); pwg && pwg->pwg) return pwg->pwg;
    char name[IPP_MAX_NAME];
    if (!pwgFormatSizeName(name, sizeof name, "custom", nullptr, media.width, media.length, nullptr)) return {};
    return name;
}

CupsSubmitResult SubmitToCups(const std::string& queue, int fd, const std::string& title,
                              const CupsMedia& media, const std::function<bool()>& pump) {
    NoBrokenPipeSignal noSigpipe;
    // libcups keeps the first server it chose for the process; follow CUPS_SERVER as it is now.
    cupsSetServer(nullptr);
    // Every wait is bounded: libcups's default connection waits minutes on a server
    // that accepts but does not answer.
    Http http = ConnectToServer();
    if (!http) return Failure(LastError(std::strerror(errno ? errno : ECONNREFUSED)));
    Dest dest(cupsGetNamedDest(http.get(), queue.c_str(), nullptr));
    if (!dest) return Failure(LastError("The printer or class does not exist."));
    DestInfo info(cupsCopyDestInfo(http.get(), dest.get()));
    if (!info) return Failure(LastError("The printer does not answer."));

    Options options;
    // Pictures arrive in the printer's colour space already, pages at their size.
    options.Add("cm-calibration", "true");
    options.Add("print-scaling", "none");
    if (std::string name = CupsMediaName(media); !name.empty()) options.Add("media", name);

    int jobId = 0;
    if (!IppOk(cupsCreateDestJob(http.get(), dest.get(), info.get(), &jobId, title.c_str(), options.Count(),
                                 options.Get())) || jobId <= 0)
        return Failure(LastError("The job was refused."));

    auto fail = [&](std::string error) {
        http.reset();  // ends a request that is half sent
        CancelJob(dest.get(), jobId);
        return Failure(std::move(error));
    };
    if (cupsStartDestDocument(http.get(), dest.get(), info.get(), jobId, title.c_str(), CUPS_FORMAT_PDF, 0,
                              nullptr, 1) != HTTP_STATUS_CONTINUE)
        return fail(LastError("The document was refused."));

    if (::lseek(fd, 0, SEEK_SET) != 0) return fail(std::strerror(errno));
    std::vector<char> chunk(kChunk);
    auto lastPump = std::chrono::steady_clock::now();
    for (;;) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(std::strerror(errno));
        if (n == 0) break;
        if (cupsWriteRequestData(http.get(), chunk.data(), static_cast<size_t>(n)) != HTTP_STATUS_CONTINUE)
            return fail(LastError("The connection to the printer broke off."));
        if (pump && std::chrono::steady_clock::now() - lastPump >= kPumpInterval) {
            lastPump = std::chrono::steady_clock::now();
            if (!pump()) {
                http.reset();
                CancelJob(dest.get(), jobId);
                return {CupsSubmitResult::Kind::Cancelled, {}};
            }
        }
    }
    if (!IppOk(cupsFinishDestDocument(http.get(), dest.get(), info.get())))
        return fail(LastError("The document was refused."));
    return {CupsSubmitResult::Kind::Delivered, {}};
}

}  // namespace vx
