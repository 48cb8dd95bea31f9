#pragma once
#include <gtest/gtest.h>

#include <wx/gdicmn.h>

#include "ProgramRun.h"

namespace vx {
class CLayoutSetting;
class GPDocument;
}  // namespace vx

namespace vx::test {

/// A suite over one run of the program whose tests work on the layout New opened.
class RunningProgramTest : public testing::Test {
protected:
    /// Starts the run, opens a layout when start-up left none open and gives the main
    /// window its size.
    static void StartRun(const ProgramRun::Setup& setup, wxSize frameSize);
    /// Ends the run.
    static void EndRun();
    /// Fails unless the run started with a layout window open; finds its document.
    void SetUp() override;

    static inline ProgramRun* run = nullptr;
    static inline AnsweringHook* hook = nullptr;
    static inline bool started = false;
    GPDocument* doc = nullptr;
    CLayoutSetting* layout = nullptr;
};

}  // namespace vx::test
