#include "document/LayoutPaths.h"

#include "platform/system/Paths.h"

namespace fs = std::filesystem;

namespace vx {

std::string MakeRelativePath(const fs::path& documentPath, const std::string& path, bool isTemplate) {
    if (isTemplate) {
        std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
        return "./" + documentPath.stem().string() + "/" + name;
    }
    const std::string base = documentPath.string();
    size_t common = 0;
    while (common < base.size() && common < path.size() && base[common] == path[common]) ++common;
    const size_t folderEnd = base.rfind('/', common == 0 ? 0 : common - 1);
    if (common == 0 || folderEnd == std::string::npos) return {};
    std::string out = "./";
    for (size_t i = folderEnd + 1; i < base.size(); ++i)
        if (base[i] == '/') out += "../";
    out.append(path, folderEnd + 1, std::string::npos);
    return out;
}

fs::path ResolveRelativePath(const fs::path& documentPath, std::string_view stored) {
    return ResolveStoredPath(documentPath.parent_path(), stored);
}

std::string AbsolutePathText(const fs::path& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    return (ec ? path : absolute).lexically_normal().string();
}

std::string ImageFolderRule::NewFolder(const std::string& absolutePath) {
    const size_t slash = absolutePath.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : absolutePath.substr(0, slash + 1);
    if (folder == mFolder) return {};
    mFolder = folder;
    return folder;
}

}  // namespace vx
