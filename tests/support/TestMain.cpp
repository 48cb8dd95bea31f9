#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/FatalError.h"
#include "support/TestFolders.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Every suite works in its own folders, never in the user's.
    vx::test::TestRoot root;
    setenv("VELLICOREX_USER_DIR", (root.Path() / "user").c_str(), 1);
    setenv("VELLICOREX_TEMP_DIR", (root.Path() / "temp").c_str(), 1);
    setenv("VELLICOREX_DATA_DIR", VX_DATA_BUILD_DIR, 0);
    // A fatal error inside a test is a failure of that test, not the end of the run.
    vx::SetFatalErrorHook([](int code) { ADD_FAILURE() << "FatalError(" << code << ")"; });
    return RUN_ALL_TESTS();
}
