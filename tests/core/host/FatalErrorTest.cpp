#include <gtest/gtest.h>

#include <stdexcept>

#include "host/FatalError.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

TEST(FatalError, AnExceptionInAGuardedHandlerReachesTheHookWith255) {
    std::vector<int> codes;
    FatalErrorHook old = SetFatalErrorHook([&](int code) { codes.push_back(code); });
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("bug"); }));
    EXPECT_FALSE(RunGuarded([] { throw 0; }));  // the original's integer exceptions too
    int ran = 0;
    EXPECT_TRUE(RunGuarded([&] { ++ran; }));
    SetFatalErrorHook(std::move(old));
    EXPECT_EQ(codes, (std::vector<int>{255, 255}));
    EXPECT_EQ(ran, 1);
}

TEST(FatalErrorDeathTest, DefaultShowsUnknownErrorAndExitsWith255) {
    FatalErrorHook old = SetFatalErrorHook({});
    EXPECT_EXIT(
        {
            test::RecordingMessagePort messages;
            test::ScopedPorts ports(&messages);
            RunGuarded([] { throw std::logic_error("bug"); });
        },
        testing::ExitedWithCode(255), "Unbekannter Fehler|unexpected exception");
    EXPECT_EXIT(FatalError(-1), testing::ExitedWithCode(255), "Unbekannter Fehler");
    SetFatalErrorHook(std::move(old));
}

}  // namespace
}  // namespace vx
