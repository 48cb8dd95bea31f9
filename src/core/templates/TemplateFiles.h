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

namespace vx {

// Deleting templates. Nothing is deleted before every folder of the image tree proved
// it can be emptied and template file and image folder were moved aside under hidden
// names in their own folder. A failure before the first entry is gone puts both back;
// once deleting has begun, what still cannot go stays hidden and the deletion counts.

/// Deletes folder with everything below it; symbolic links are removed, never
/// followed. A folder that does not exist is success. False, everything in place, when
/// it cannot.
bool DeleteFolderTree(const std::filesystem::path& folder);

/// Deletes a template file together with its image folder (the path without its
/// extension): both or, on failure, neither.
bool DeleteTemplateFiles(const std::filesystem::path& templateFile);

}  // namespace vx
