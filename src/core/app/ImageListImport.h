#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vx {

class DropDocument;

/// Where image lists go: the active layout's document, and the start-up layout when
/// none is open.
class ImageListHost {
public:
    virtual ~ImageListHost() = default;
    /// The active document with a layout, or null.
    virtual DropDocument* ActiveDocument() = 0;
    /// Opens the layout the start-up document preference asks for (not at start-up);
    /// true when a layout became active.
    virtual bool OpenStartupLayout() = 0;
};

/// The image paths of an image-list file ("[ENTRY] EntryNum", "[IMAGE01] PATH", …), in
/// list order: missing entries are skipped, relative paths resolve against the list's
/// folder, one pair of quotes is stripped, Latin-1 values are read as such. nullopt
/// when the file cannot be read or is no image list.
std::optional<std::vector<std::filesystem::path>> ReadImageListFile(const std::filesystem::path& path);

/// Imports the list file of listFile (the "VO2=" form): read and checked first (10417
/// when it is no list), then into the open layout after question 12301, or into the
/// start-up layout. The file is deleted after its import. 1 when handled (or ignored
/// during a direct print), 0 when nothing was imported.
int ImportImageListFile(ImageListHost& host, const std::filesystem::path& listFile);
/// Imports image paths (the "FM" form); paths without an extension are skipped.
int ImportFileList(ImageListHost& host, const std::vector<std::filesystem::path>& files);

}  // namespace vx
