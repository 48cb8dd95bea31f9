#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <libxml/tree.h>

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

// Renaming, recategorising and copying templates (the organiser's list, tree and drop
// target). Every rewrite builds the new bytes with libxml2 and replaces the file
// atomically, so a failure leaves the old bytes; copies remove whatever they made.

namespace vx {

/// A template's image folder: its path without the ".kqt" extension (any case); empty
/// for a path without extension, which has none.
std::filesystem::path TemplateImageFolder(const std::filesystem::path& templatePath);

/// text with its image-folder component named base, as a template's relative stamp file
/// ("./Foto/s.jpg") or, with folderOnly, an image's relative folder ("./Foto/") stores
/// it; '\\' is read as '/'. Text without such a component comes back unchanged.
std::string RenameRelativeFolder(std::string_view text, std::string_view base, bool folderOnly);

/// Points the stamp file and every image folder stored in the template at the image
/// folder of the template's own name. False, file unchanged, when it cannot be parsed
/// or written.
bool RewriteTemplateRelativePaths(const std::filesystem::path& templatePath);

/// Sets the template's user category ("NameMyTemplate", which must exist) to category.
bool SetUserCategoryInFile(const std::filesystem::path& templatePath, std::string_view category);

/// Sets the first of "NameMyTemplate", "NameGenre", "NameOutputImageForm" the template
/// has to category.
bool SetTemplateCategoryInFile(const std::filesystem::path& templatePath, std::string_view category);

/// What a copy made, newest last, so that a failed copy can take it away again.
struct CreatedFiles {
    std::vector<std::filesystem::path> files;
    std::vector<std::filesystem::path> folders;
    /// Removes everything listed (files, then folders, newest first) and forgets it.
    void RemoveAll();
};

enum class ImageCopy { Copied, LeftOut, Failed };

/// Copies the image named by fileElement's text from sourceFolder to destinationFolder
/// (made when missing) without replacing anything: a taken name becomes "name[n].ext"
/// (n below 1000) and fileElement is set to it. Equal folders copy nothing. A name that
/// is not a plain file name, or a source that does not exist, is left out.
ImageCopy CopyImageFile(xmlNodePtr fileElement, const std::filesystem::path& sourceFolder,
                        const std::filesystem::path& destinationFolder, CreatedFiles& made);

/// Copies the stamp and every image of doc (read from sourcePath) into the image folder
/// of newPath and points doc's relative folders there. False at the first copy that
/// fails; what was made is in made.
bool CopyTemplateImages(xmlDocPtr doc, const std::filesystem::path& sourcePath,
                        const std::filesystem::path& newPath, CreatedFiles& made);

/// Writes a copy of the standard template at sourcePath as newPath (which must not
/// exist yet): a user template of category only, with its own copies of the images.
/// On failure nothing new is left behind; the source is never changed.
bool WriteCopiedTemplate(const std::filesystem::path& sourcePath, const std::filesystem::path& newPath,
                         std::string_view category);

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
