#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace vx {

/// The stored form of a path relative to a document: for a layout "./", then "../" for
/// every folder of documentPath after the longest common leading part (compared byte by
/// byte, ending at a '/'), then the rest of path; for a template "./", the template's
/// name without extension, "/", and path's file name (empty for a folder ending in '/').
/// Empty when the two share no folder.
std::string MakeRelativePath(const std::filesystem::path& documentPath, const std::string& path,
                             bool isTemplate);
/// A stored path (relative to the document's folder, '\\' accepted) as an absolute one.
std::filesystem::path ResolveRelativePath(const std::filesystem::path& documentPath,
                                          std::string_view stored);
/// The absolute, lexically normal form of a path, as the folder rule compares it.
std::string AbsolutePathText(const std::filesystem::path& path);

/// Keeps the folder of the image written last, so that an image element names its
/// folder only when it differs from the one before (compared exactly: on a
/// case-sensitive file system /x/Pics/ and /x/pics/ are two folders).
class ImageFolderRule {
public:
    /// The folder of absolutePath ending in '/' when it differs from the remembered one
    /// (which it then becomes), else empty.
    std::string NewFolder(const std::string& absolutePath);
    void Reset() { mFolder.clear(); }

private:
    std::string mFolder;
};

}  // namespace vx
