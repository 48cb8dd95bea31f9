#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/InstanceRequests.h"
#include "platform/system/Status.h"

class wxSingleInstanceChecker;
class wxIdleEvent;

namespace vx {

class GPDocManager;
class StartupSequence;
class RequestServer;

/// One instance per user: the lock in the user folder, and the request socket in the
/// first instance's temporary folder through which later starts hand over their
/// command lines. The requests wait in a queue until the application is free.
class InstanceChannel {
public:
    enum class Start {
        First,          ///< this run holds the lock and serves requests
        Alone,          ///< no lock could be made: runs without one
        HandedOver,     ///< the running instance took the command line: exit 0
        NotResponding,  ///< another instance holds the lock but never answered: exit 1
    };
    /// Wait between tries, and how long a later start keeps trying.
    static constexpr int kRetryMilliseconds = 100;
    static constexpr int kGiveUpMilliseconds = 5000;

    InstanceChannel();
    ~InstanceChannel();  // releases the lock
    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;

    /// This process's arguments (without the program) as the system passed them.
    static std::vector<std::string> ProcessArguments();

    /// Takes the lock, or hands arguments (argv without the program) to the running
    /// instance. The first instance makes its temporary folder and serves the socket.
    Start Begin(const std::vector<std::string>& arguments);
    /// The temporary folder as Begin made it; shows its message when that failed.
    bool TempFolderReady() const;
    /// Whether this run made the temporary folder (and so removes it at exit).
    bool OwnsTempFolder() const { return mOwnsTempFolder; }

    /// Binds the queue to the application: requests run on idle once start-up is
    /// complete. complete answers whether start-up ran to its end.
    void Attach(GPDocManager* manager, StartupSequence* sequence, std::function<bool()> complete);
    /// Queues this run's own command line behind the requests that came during start-up.
    void QueueOwnCommandLine();
    /// Stops serving and drops what is still queued (with a line on stderr).
    void Stop();

    /// A request as the socket delivers it: queued, the main window raised. False for
    /// bytes that are no request.
    bool Receive(std::string_view bytes);
    const InstanceRequestQueue& Queue() const { return mQueue; }

private:
    bool HandOver(const std::string& bytes) const;
    bool TakeLock();
    void BecomeFirst();
    void OnIdle(wxIdleEvent& event);
    CommandLineResult Run(const InstanceRequest& request);

    std::unique_ptr<wxSingleInstanceChecker> mLock;
    std::unique_ptr<RequestServer> mServer;
    std::filesystem::path mLockFile;
    std::filesystem::path mSocket;
    std::vector<std::string> mOwnArguments;
    std::string mOwnFolder;
    Status mTempFolder;
    bool mOwnsTempFolder = false;
    InstanceRequestQueue mQueue;
    GPDocManager* mManager = nullptr;
    StartupSequence* mSequence = nullptr;
    std::function<bool()> mComplete;
    bool mAttached = false;
};

}  // namespace vx
