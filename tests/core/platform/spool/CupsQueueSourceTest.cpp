#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "platform/spool/CupsQueueSource.h"
#include "support/TestFolders.h"

namespace vx::test {
namespace {

TEST(CupsQueueSource, AnUnreachableServerGivesNoQueuesOneLineAndNoWait) {
    TestRoot root;
    for (const std::string& server : {(root.Path() / "none.sock").string(), std::string("127.0.0.1:1")}) {
        SCOPED_TRACE(server);
        ScopedEnv env("CUPS_SERVER", server);
        CupsQueueSource cups;
        const auto start = std::chrono::steady_clock::now();
        testing::internal::CaptureStderr();
        EXPECT_TRUE(cups.ListQueues().empty());
        EXPECT_FALSE(cups.FindQueue("TEVRA").has_value());
        EXPECT_EQ(cups.DefaultQueueName(), "");
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find("not reachable"), std::string::npos) << err;
    }
}

// A server that takes connections (the kernel completes them from the backlog) and
// never answers, like a hung scheduler.
class SilentServer {
public:
    SilentServer() {
        mFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (mFd < 0 || bind(mFd, reinterpret_cast<sockaddr*>(&a), len) != 0 || listen(mFd, 16) != 0 ||
            getsockname(mFd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        mPort = ntohs(a.sin_port);
    }
    ~SilentServer() {
        if (mFd >= 0) close(mFd);
    }
    int Port() const { return mPort; }
    /// Connections made so far (taken from the backlog without blocking).
    int Connections() {
        fcntl(mFd, F_SETFL, O_NONBLOCK);
        int n = 0;
        for (int c; (c = accept(mFd, nullptr, nullptr)) >= 0; ++n) close(c);
        return n;
    }

private:
    int mFd = -1;
    int mPort = 0;
};

TEST(CupsQueueSource, AServerThatDoesNotAnswerCostsOneTimeOutNotOnePerLookup) {
    SilentServer server;
    ASSERT_NE(server.Port(), 0);
    ScopedEnv env("CUPS_SERVER", "127.0.0.1:" + std::to_string(server.Port()));
    CupsQueueSource cups(300);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(cups.ListQueues().empty());
    EXPECT_GE(server.Connections(), 1);
    // Later lookups do not ask the silent server again.
    EXPECT_FALSE(cups.FindQueue("TEVRA").has_value());
    EXPECT_EQ(cups.DefaultQueueName(), "");
    EXPECT_TRUE(cups.ListQueues().empty());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("did not answer"), std::string::npos) << err;

    // Another server is asked at once.
    SilentServer other;
    ScopedEnv env2("CUPS_SERVER", "127.0.0.1:" + std::to_string(other.Port()));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(cups.FindQueue("TEVRA").has_value());
    testing::internal::GetCapturedStderr();
    EXPECT_GE(other.Connections(), 1);
}

TEST(CupsQueueSource, InstancesAndEmptyNamesAreNoQueues) {
    CupsQueueSource cups;
    EXPECT_FALSE(cups.FindQueue("").has_value());
    EXPECT_FALSE(cups.FindQueue("queue/instance").has_value());
}

}  // namespace
}  // namespace vx::test
