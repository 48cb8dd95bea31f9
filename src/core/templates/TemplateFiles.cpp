#include "templates/TemplateFiles.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <libxml/parser.h>
#include <libxml/xpath.h>

#include "platform/system/AtomicFile.h"
#include "platform/system/Utf8.h"
#include "templates/TemplateSummary.h"
#include "templates/XmlText.h"
#include "templates/XmlValueForms.h"

namespace vx {

namespace {
std::atomic<int> gStepsTaken{0};
std::atomic<int> gFailAt{0};
}  // namespace

bool TemplateFileStep() {
    const int step = ++gStepsTaken;
    const int failAt = gFailAt.load();
    return failAt == 0 || step != failAt;
}

int FailTemplateFileStepForTests(int n) {
    const int taken = gStepsTaken.load();
    gFailAt = n == 0 ? 0 : taken + n;
    return taken;
}

bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!TemplateFileStep()) return false;
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

}  // namespace vx

// Renaming, recategorising and copying templates.

namespace vx {
namespace {

namespace fs = std::filesystem;

struct XmlDocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, XmlDocFree>;

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// Read through our own reader: libxml2 would take some file names as URIs.
XmlDoc ParseTemplateFile(const fs::path& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes) || bytes.size() > size_t(INT32_MAX)) return nullptr;
    EnsureXmlParser();
    return XmlDoc(xmlReadMemory(bytes.data(), int(bytes.size()), nullptr, nullptr, kParseOptions));
}

bool IsElement(const xmlNode* n, const char* name) {
    return n && n->type == XML_ELEMENT_NODE && xmlStrEqual(n->name, BAD_CAST name);
}

xmlNodePtr FirstChildElement(xmlNodePtr parent, const char* name) {
    for (xmlNodePtr n = parent ? parent->children : nullptr; n; n = n->next)
        if (IsElement(n, name)) return n;
    return nullptr;
}

// The same nodes as "/root[1]/layout[1]/<name>[1]", without an XPath evaluation each.
xmlNodePtr LayoutElement(xmlDocPtr doc, const char* name) {
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!IsElement(root, "root")) return nullptr;
    return FirstChildElement(FirstChildElement(root, "layout"), name);
}

xmlNodePtr FirstObject(xmlDocPtr doc) {
    xmlNodePtr root = xmlDocGetRootElement(doc);
    return IsElement(root, "root") ? FirstChildElement(root, "object") : nullptr;
}

/// The element's text in the quoted form, quotes removed.
std::string QuotedText(xmlNodePtr node) {
    std::string text;
    if (xmlChar* content = node ? xmlNodeGetContent(node) : nullptr) {
        text = reinterpret_cast<const char*>(content);
        xmlFree(content);
    }
    StripQuotes(text);
    return text;
}

bool SetQuotedText(xmlNodePtr node, std::string_view text) {
    const std::optional<std::string> quoted = ToXmlText(text, true);
    return quoted && SetXmlElementText(node, *quoted);
}

/// Unlinks and frees node together with the blank text that follows it (its line break).
void RemoveElement(xmlNodePtr node) {
    xmlNodePtr next = node->next;
    if (next && next->type == XML_TEXT_NODE && xmlIsBlankNode(next)) {
        xmlUnlinkNode(next);
        xmlFreeNode(next);
    }
    xmlUnlinkNode(node);
    xmlFreeNode(node);
}

bool SaveTemplateDocument(xmlDocPtr doc, const fs::path& path) {
    const std::optional<std::string> bytes = DumpXmlDocument(doc);
    if (!bytes || !TemplateFileStep()) return false;
    return bool(WriteFileAtomically(path, *bytes));
}

bool SetCategoryElement(const fs::path& path, std::string_view category, std::initializer_list<const char*> names) {
    XmlDoc doc = ParseTemplateFile(path);
    if (!doc) return false;
    for (const char* name : names)
        if (xmlNodePtr node = LayoutElement(doc.get(), name))
            return SetQuotedText(node, category) && SaveTemplateDocument(doc.get(), path);
    return false;
}

enum class FileCopy { Ok, Exists, Failed };

FileCopy CopyFileNoReplace(const fs::path& from, const fs::path& to) {
    if (!TemplateFileStep()) return FileCopy::Failed;
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return FileCopy::Failed;
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return FileCopy::Failed;
    }
    // O_EXCL also refuses a dangling link at the target instead of writing through it.
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
    if (out < 0) {
        const bool exists = errno == EEXIST;
        ::close(in);
        return exists ? FileCopy::Exists : FileCopy::Failed;
    }
    bool ok = true;
    bool kernelCopy = true;
    std::vector<char> buffer;
    for (;;) {
        if (kernelCopy) {
            const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(1) << 30, 0);
            if (n > 0) continue;
            if (n == 0) break;
            if (errno == EINTR) continue;
            if (errno != ENOSYS && errno != EXDEV && errno != EINVAL && errno != EOPNOTSUPP) {
                ok = false;
                break;
            }
            kernelCopy = false;  // the offsets are where the kernel left them
            buffer.resize(size_t(1) << 20);
        }
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < n && ok;) {
            const ssize_t w = ::write(out, buffer.data() + done, size_t(n - done));
            if (w > 0)
                done += w;
            else if (w < 0 && errno == EINTR)
                continue;
            else
                ok = false;
        }
        if (!ok) break;
    }
    ::close(in);
    if (::close(out) != 0) ok = false;
    if (!ok) {
        ::unlink(to.c_str());
        return FileCopy::Failed;
    }
    return FileCopy::Ok;
}

bool MakeFolder(const fs::path& folder, CreatedFiles& made) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return true;
    if (!TemplateFileStep() || ::mkdir(folder.c_str(), 0777) != 0) return false;
    made.folders.push_back(folder);
    return true;
}

/// A name the copy may use inside a folder: no folder part and no way up.
bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name.find_first_of("/\\") == std::string_view::npos &&
           name.find("..") == std::string_view::npos && name != ".";
}

}  // namespace

fs::path TemplateImageFolder(const fs::path& templatePath) {
    const std::string name = templatePath.filename().string();
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return templatePath.parent_path() / name.substr(0, dot);
}

std::string RenameRelativeFolder(std::string_view text, std::string_view base, bool folderOnly) {
    std::string t(text);
    for (char& c : t)
        if (c == '\\') c = '/';
    const size_t last = t.rfind('/');
    if (last == std::string::npos) return std::string(text);
    size_t start = 0;  // where the component to replace begins
    size_t end = last;  // and ends (exclusive)
    if (folderOnly && last + 1 < t.size()) {
        start = last + 1;
        end = t.size();
    } else {
        if (last == 0) return std::string(text);
        const size_t previous = t.rfind('/', last - 1);
        start = previous == std::string::npos ? 0 : previous + 1;
    }
    const std::string_view component = std::string_view(t).substr(start, end - start);
    // "./s.jpg" names the template's own folder, not an image folder.
    if (component.empty() || component == "." || component == "..") return std::string(text);
    return t.substr(0, start) + std::string(base) + t.substr(end);
}

bool RewriteTemplateRelativePaths(const fs::path& templatePath) {
    const std::string base = TemplateImageFolder(templatePath).filename().string();
    if (base.empty()) return false;
    XmlDoc doc = ParseTemplateFile(templatePath);
    if (!doc) return false;
    if (xmlNodePtr stamp = LayoutElement(doc.get(), "RelativeStampFileName")) {
        const std::string text = QuotedText(stamp);
        if (!text.empty() && !SetQuotedText(stamp, RenameRelativeFolder(text, base, false))) return false;
    }
    xmlNodePtr object = FirstObject(doc.get());
    for (xmlNodePtr image = object ? object->children : nullptr; image; image = image->next) {
        if (!IsElement(image, "image")) continue;
        xmlNodePtr folder = FirstChildElement(image, "RelativeDir");
        const std::string text = QuotedText(folder);
        if (!text.empty() && !SetQuotedText(folder, RenameRelativeFolder(text, base, true))) return false;
    }
    return SaveTemplateDocument(doc.get(), templatePath);
}

bool SetUserCategoryInFile(const fs::path& templatePath, std::string_view category) {
    return SetCategoryElement(templatePath, category, {"NameMyTemplate"});
}

bool SetTemplateCategoryInFile(const fs::path& templatePath, std::string_view category) {
    return SetCategoryElement(templatePath, category, {"NameMyTemplate", "NameGenre", "NameOutputImageForm"});
}

void CreatedFiles::RemoveAll() {
    std::error_code ec;
    for (auto it = files.rbegin(); it != files.rend(); ++it) fs::remove(*it, ec);
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) fs::remove(*it, ec);
    files.clear();
    folders.clear();
}

ImageCopy CopyImageFile(xmlNodePtr fileElement, const fs::path& sourceFolder, const fs::path& destinationFolder,
                        CreatedFiles& made) {
    std::error_code ec;
    if (!fileElement || sourceFolder.empty() || destinationFolder.empty() || !fs::is_directory(sourceFolder, ec))
        return ImageCopy::LeftOut;
    const std::string name = QuotedText(fileElement);
    if (!IsPlainFileName(name) || !fs::is_regular_file(sourceFolder / name, ec)) return ImageCopy::LeftOut;
    // Copying a file onto itself would only truncate it.
    if (fs::equivalent(sourceFolder, destinationFolder, ec)) return ImageCopy::Copied;
    if (!MakeFolder(destinationFolder, made)) return ImageCopy::Failed;
    const fs::path source = sourceFolder / name;
    switch (CopyFileNoReplace(source, destinationFolder / name)) {
        case FileCopy::Ok: made.files.push_back(destinationFolder / name); return ImageCopy::Copied;
        case FileCopy::Failed: return ImageCopy::Failed;
        case FileCopy::Exists: break;
    }
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = stem.size() == name.size() ? std::string() : name.substr(dot);
    for (int n = 0; n < 1000; ++n) {
        const std::string candidate = stem + "[" + std::to_string(n) + "]" + extension;
        switch (CopyFileNoReplace(source, destinationFolder / candidate)) {
            case FileCopy::Ok:
                made.files.push_back(destinationFolder / candidate);
                return SetQuotedText(fileElement, candidate) ? ImageCopy::Copied : ImageCopy::Failed;
            case FileCopy::Failed: return ImageCopy::Failed;
            case FileCopy::Exists: break;
        }
    }
    return ImageCopy::Failed;
}

bool CopyTemplateImages(xmlDocPtr doc, const fs::path& sourcePath, const fs::path& newPath, CreatedFiles& made) {
    const fs::path sourceFolder = TemplateImageFolder(sourcePath);
    const fs::path newFolder = TemplateImageFolder(newPath);
    const std::string base = newFolder.filename().string();
    if (base.empty()) return false;
    if (xmlNodePtr stamp = LayoutElement(doc, "RelativeStampFileName")) {
        std::string text = QuotedText(stamp);
        if (!text.empty()) {
            if (!SetQuotedText(stamp, RenameRelativeFolder(text, base, false)) || !MakeFolder(newFolder, made))
                return false;
            for (char& c : text)
                if (c == '\\') c = '/';
            const fs::path stored(text);
            const fs::path source = stored.is_absolute() ? stored : sourcePath.parent_path() / stored;
            const std::string name = stored.filename().string();
            std::error_code ec;
            if (IsPlainFileName(name) && fs::is_regular_file(source, ec)) {
                switch (CopyFileNoReplace(source, newFolder / name)) {
                    case FileCopy::Ok: made.files.push_back(newFolder / name); break;
                    case FileCopy::Exists: break;  // never overwritten
                    case FileCopy::Failed: return false;
                }
            }
        }
    }
    xmlNodePtr object = FirstObject(doc);
    for (xmlNodePtr image = object ? object->children : nullptr; image; image = image->next) {
        if (!IsElement(image, "image")) continue;
        xmlNodePtr folder = FirstChildElement(image, "RelativeDir");
        const std::string text = QuotedText(folder);
        if (!text.empty() && !SetQuotedText(folder, RenameRelativeFolder(text, base, true))) return false;
        if (CopyImageFile(FirstChildElement(image, "File"), sourceFolder, newFolder, made) == ImageCopy::Failed)
            return false;
    }
    return true;
}

bool WriteCopiedTemplate(const fs::path& sourcePath, const fs::path& newPath, std::string_view category) {
    XmlDoc doc = ParseTemplateFile(sourcePath);
    if (!doc) return false;
    xmlNodePtr genre = LayoutElement(doc.get(), "NameGenre");
    xmlNodePtr mask = LayoutElement(doc.get(), "NameOutputImageForm");
    if (!genre && !mask) return false;
    xmlNodePtr replaced = genre ? genre : mask;
    if (genre && mask) RemoveElement(mask);
    // A standard template may carry an empty user category, which would be read first.
    while (xmlNodePtr old = LayoutElement(doc.get(), "NameMyTemplate")) RemoveElement(old);
    xmlNodePtr user = xmlNewDocNode(doc.get(), nullptr, BAD_CAST "NameMyTemplate", nullptr);
    if (!user) return false;
    if (!SetQuotedText(user, category)) {
        xmlFreeNode(user);
        return false;
    }
    xmlReplaceNode(replaced, user);
    xmlFreeNode(replaced);

    CreatedFiles made;
    bool ok = CopyTemplateImages(doc.get(), sourcePath, newPath, made);
    if (ok) {
        // Written whole under a hidden name first, then put in place without replacing.
        const fs::path hidden = newPath.parent_path() / ("." + newPath.filename().string() + ".copy");
        ok = SaveTemplateDocument(doc.get(), hidden);
        if (ok) {
            made.files.push_back(hidden);
            ok = RenameNoReplace(hidden, newPath);
            if (ok) made.files.pop_back();
        }
    }
    if (!ok) made.RemoveAll();
    return ok;
}

}  // namespace vx

// Deleting templates.

namespace vx {
namespace {

namespace fs = std::filesystem;

enum class EntryKind { Missing, Folder, Other, Error };

// lstat: a link is an entry of its own, never what it names.
EntryKind KindOf(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? EntryKind::Missing : EntryKind::Error;
    return S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

bool ListFolder(const fs::path& folder, std::vector<fs::path>& entries) {
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::none, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) entries.push_back(it->path());
    return !ec;
}

// Every entry can leave its folder: each folder below is readable and writable.
bool CanEmpty(const fs::path& folder) {
    if (!TemplateFileStep() || ::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) return false;
    std::vector<fs::path> entries;
    if (!ListFolder(folder, entries)) return false;
    for (const fs::path& entry : entries) {
        const EntryKind kind = KindOf(entry);
        if (kind == EntryKind::Error) return false;
        if (kind == EntryKind::Folder && !CanEmpty(entry)) return false;
    }
    return true;
}

// Renames path to a hidden unused name beside it.
bool MoveAside(const fs::path& path, fs::path& aside) {
    const std::string base = "." + path.filename().string() + ".deleting-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        aside = path.parent_path() / (base + std::to_string(attempt));
        errno = 0;
        if (RenameNoReplace(path, aside)) return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

// Deletes moved-aside entries. Until the first entry is gone a failure stops it, so
// everything can return; after that it deletes what it can and leaves the rest hidden,
// since bringing back a template without some of its images would be worse.
class Remover {
public:
    /// False when it stopped with nothing deleted.
    bool Remove(const fs::path& path) {
        const EntryKind kind = KindOf(path);
        if (kind == EntryKind::Missing) return true;
        if (kind == EntryKind::Folder) {
            std::vector<fs::path> entries;
            if (!ListFolder(path, entries) && !mRemovedAny) return false;
            for (const fs::path& entry : entries)
                if (!Remove(entry)) return false;
        }
        const bool removed = kind != EntryKind::Error && TemplateFileStep() &&
                             (kind == EntryKind::Folder ? ::rmdir(path.c_str()) : ::unlink(path.c_str())) == 0;
        if (removed) mRemovedAny = true;
        return removed || mRemovedAny;
    }

private:
    bool mRemovedAny = false;
};

// Puts a moved-aside entry back under its name; what could not be deleted stays.
void PutBack(const fs::path& aside, const fs::path& original) {
    if (KindOf(aside) != EntryKind::Missing) (void)::renameat2(AT_FDCWD, aside.c_str(), AT_FDCWD, original.c_str(), RENAME_NOREPLACE);
}

// The image folder checked and moved aside; aside stays empty when there is none.
bool PrepareFolder(const fs::path& folder, fs::path& aside) {
    aside.clear();
    switch (KindOf(folder)) {
    case EntryKind::Missing: return true;
    case EntryKind::Error: return false;
    case EntryKind::Other:
        // A link in place of the folder goes as a link; any other file is not ours.
        {
            struct stat st {};
            if (::lstat(folder.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
        }
        break;
    case EntryKind::Folder:
        if (!CanEmpty(folder)) return false;
        break;
    }
    const fs::path parent = folder.has_parent_path() ? folder.parent_path() : fs::path(".");
    if (::access(parent.c_str(), W_OK | X_OK) != 0) return false;
    return MoveAside(folder, aside);
}

}  // namespace

bool DeleteFolderTree(const fs::path& folder) {
    fs::path aside;
    if (!PrepareFolder(folder, aside)) return false;
    if (aside.empty()) return true;
    if (Remover().Remove(aside)) return true;
    PutBack(aside, folder);
    return false;
}

bool DeleteTemplateFiles(const fs::path& templateFile) {
    if (KindOf(templateFile) != EntryKind::Other) return false;
    fs::path folder = templateFile;
    folder.replace_extension();
    fs::path folderAside, fileAside;
    if (!PrepareFolder(folder, folderAside)) return false;
    if (!MoveAside(templateFile, fileAside)) {
        if (!folderAside.empty()) PutBack(folderAside, folder);
        return false;
    }
    Remover remover;
    if ((folderAside.empty() || remover.Remove(folderAside)) && remover.Remove(fileAside)) return true;
    if (!folderAside.empty()) PutBack(folderAside, folder);
    PutBack(fileAside, templateFile);
    return false;
}

}  // namespace vx
