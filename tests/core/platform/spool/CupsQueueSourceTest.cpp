#include <gtest/gtest.h>

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

TEST(CupsQueueSource, InstancesAndEmptyNamesAreNoQueues) {
    CupsQueueSource cups;
    EXPECT_FALSE(cups.FindQueue("").has_value());
    EXPECT_FALSE(cups.FindQueue("queue/instance").has_value());
}

}  // namespace
}  // namespace vx::test
