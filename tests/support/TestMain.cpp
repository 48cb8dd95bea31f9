#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "host/FatalError.h"
#include "platform/system/Folders.h"
#include "support/TestFolders.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Every suite works in its own folders, never in the user's.
    vx::test::TestRoot root;
    setenv("VELLICOREX_USER_DIR", (root.Path() / "user").c_str(), 1);
    setenv("VELLICOREX_TEMP_DIR", (root.Path() / "temp").c_str(), 1);
    // The build's data folder lies beside bin/, as when installed.
    setenv("VELLICOREX_DATA_DIR", vx::DataFolder().c_str(), 0);
    // As at the program's start-up: CTest runs each test in a process of its own, so no
    // test may count on another having made the folder.
    if (vx::Status st = vx::CreateTempFolder(); !st) {
        std::fprintf(stderr, "cannot create the temporary folder %s\n", vx::TempFolder().c_str());
        return 2;
    }
    // A fatal error inside a test is a failure of that test, not the end of the run.
    vx::SetFatalErrorHook([](int code) { ADD_FAILURE() << "FatalError(" << code << ")"; });
    int result = RUN_ALL_TESTS();
    vx::RemoveTempFolder();
    return result;
}
