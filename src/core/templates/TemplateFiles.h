#pragma once
#include <filesystem>

namespace vx {

// Every file change of template management (renames, copies, deletions, rewrites) lives
// in this unit and passes TemplateFileStep() first, so a test can make any one step fail:
// permissions cannot, since the tests may run as root.

/// False when a test injected a failure at this step; counts the step.
bool TemplateFileStep();
/// Tests: the n-th step from now (1-based) fails; 0 clears. Returns the steps counted so far.
int FailTemplateFileStepForTests(int n);

/// Renames from to to, never replacing an existing to (files and folders); false on
/// failure, nothing changed then.
bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace vx
