#include "document/TemplateFileWriter.h"

#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include "document/DocumentCommands.h"
#include "document/LayoutPaths.h"
#include "document/LayoutXmlNames.h"
#include "document/LayoutXmlWriter.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutTypes.h"
#include "model/ObjectList.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "templates/XmlText.h"
#include "templates/XmlValueForms.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

// Longer names than the image folder plus a copy name of this many characters are
// refused before anything is copied.
constexpr size_t kMaxCopyPathChars = 255;
// Far more copies of one name than any layout holds: a bound, not a limit users meet.
constexpr int kMaxNameNumber = 100000;

std::string_view ElementName(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::string ElementText(const xmlNode* node) {
    struct Free {
        void operator()(xmlChar* p) const noexcept { xmlFree(p); }
    };
    const std::unique_ptr<xmlChar, Free> text(xmlNodeGetContent(node));
    return text ? FromXmlText(reinterpret_cast<const char*>(text.get())) : std::string();
}

const xmlNode* Child(const xmlNode* parent, std::string_view name) {
    for (const xmlNode* n = parent ? parent->children : nullptr; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE && ElementName(n) == name) return n;
    return nullptr;
}

bool SameBytes(const fs::path& a, const fs::path& b) {
    std::error_code error;
    const auto size = fs::file_size(a, error);
    if (error || fs::file_size(b, error) != size || error) return false;
    std::string first, second;
    return ReadWholeFile(a, first) && ReadWholeFile(b, second) && first == second;
}

bool InFolder(const fs::path& file, const fs::path& folder) {
    return fs::path(AbsolutePathText(file)).parent_path() == fs::path(AbsolutePathText(folder));
}

/// One file the template names: an image item's or the stamp's.
struct TemplateImage {
    CImageObj* item = nullptr;  // null: the stamp
    fs::path source;
    fs::path target;
    bool placed = false;
};

/// Everything the write changes on the layout and in the image folder, put back by
/// Undo() unless the write went through.
class TemplateWrite {
public:
    TemplateWrite(CLayoutSetting& layout, const fs::path& templatePath)
        : mLayout(layout), mPath(templatePath), mFolder(TemplateImageFolder(templatePath)) {}

    bool Run();

private:
    bool PathsFit() const;
    void CollectImages();
    bool CopyImages();
    /// The name the source takes in the folder; copy tells whether it has to be copied
    /// there. Empty when no name is free.
    std::string FreeName(const fs::path& source, bool& copy) const;
    void PointItemsAtCopies();
    void GiveItemsTheirPaths();
    void Clean(const std::vector<std::string>& previous) const;
    void Undo();
    bool Fail();

    CLayoutSetting& mLayout;
    const fs::path mPath;
    const fs::path mFolder;
    std::vector<TemplateImage> mImages;
    std::set<std::string> mTaken;                   // folded names of this save's files
    std::set<std::string> mPrevious;                // folded names the old file named
    std::map<std::string, std::string> mExisting;  // folded name to name, of the folder's files
    std::vector<fs::path> mCreated;
    bool mFolderCreated = false;
    bool mDropStamp = false;
    std::string mKeptStampPath;
    int16_t mKeptPageNumber = 0;
    bool mPageNumberSet = false;
};

bool TemplateWrite::Run() {
    const bool withImages = mLayout.GetSaveTemplateWithImages() != 0;
    mKeptStampPath = mLayout.Texts().imageStampPath;
    if (withImages) {
        CollectImages();
        if (!PathsFit()) return Fail();
    }
    // Read before the write replaces it: cleaning may delete only what it named.
    const std::vector<std::string> previous = FilesNamedInImageFolder(mPath, mFolder);
    for (const std::string& name : previous) mPrevious.insert(AsciiLower(name));

    // The page count and the unused stamp are left out of the file only: a free layout's
    // later pages and the layout's own stamp settings stay as they are until the write
    // went through.
    mKeptPageNumber = mLayout.GetPageNumber();
    mPageNumberSet = true;
    CLayoutObj* const* head = mLayout.ItemListHead();
    if (mLayout.GetFree() == 0 && CountObjectsOfKind(head, kKindText | kKindLine) == 0) mLayout.SetPageNumber(1);
    mDropStamp = mLayout.GetImageStampInUse() == 0 && mLayout.GetStampImage() != nullptr;
    if (mDropStamp) mLayout.Texts().imageStampPath.clear();

    if (withImages && !CopyImages()) return Fail();
    PointItemsAtCopies();
    const int32_t keptTemplate = mLayout.GetTemplate();
    mLayout.SetTemplate(1);
    const bool written = SaveLayoutXml(mPath, mLayout);
    mLayout.SetTemplate(keptTemplate);
    GiveItemsTheirPaths();
    if (!written) return Fail();

    mLayout.SetPageNumber(mKeptPageNumber);
    if (mDropStamp) mLayout.SetStampImage(nullptr);
    Clean(previous);
    return true;
}

void TemplateWrite::CollectImages() {
    for (CLayoutObj* item = mLayout.GetFirstItem(); item; item = item->NextItem())
        if (item->GetKind() == kKindImage) {
            auto* image = static_cast<CImageObj*>(item);
            mImages.push_back({image, image->GetFilePath(), {}, false});
        }
    if (mLayout.GetImageStampInUse() && !mLayout.Texts().imageStampPath.empty())
        mImages.push_back({nullptr, PathFromStored(mLayout.Texts().imageStampPath), {}, false});
}

bool TemplateWrite::PathsFit() const {
    const size_t folderChars = CountCodePoints(PathText(mFolder));
    for (const TemplateImage& image : mImages)
        if (folderChars + 3 + CountCodePoints(PathText(image.source.filename())) > kMaxCopyPathChars) return false;
    return true;
}

std::string TemplateWrite::FreeName(const fs::path& source, bool& copy) const {
    // The name as it is on disk when the candidate can be used, else empty.
    auto usable = [&](const std::string& candidate) -> std::string {
        const std::string folded = AsciiLower(candidate);
        if (mTaken.count(folded)) return {};
        const auto found = mExisting.find(folded);
        if (found == mExisting.end()) {
            copy = true;
            return candidate;
        }
        // The previous version's copy of this very picture is kept as it is.
        copy = false;
        return mPrevious.count(folded) && SameBytes(source, mFolder / found->second) ? found->second : std::string();
    };
    if (std::string name = usable(PathText(source.filename())); !name.empty()) return name;
    const std::string stem = PathText(source.stem());
    const std::string extension = PathText(source.extension());
    for (int n = 0; n < kMaxNameNumber; ++n)
        if (std::string name = usable(stem + std::to_string(n) + extension); !name.empty()) return name;
    return {};
}

bool TemplateWrite::CopyImages() {
    std::error_code error;
    if (!fs::is_directory(mFolder, error)) {
        if (!fs::create_directories(mFolder, error) || error) return false;
        mFolderCreated = true;
    }
    // An image that already lies in the folder keeps its file: copying others first
    // could overwrite it before it is read.
    for (TemplateImage& image : mImages) {
        const std::string folded = AsciiLower(PathText(image.source.filename()));
        if (!InFolder(image.source, mFolder) || mTaken.count(folded)) continue;
        image.target = image.source;
        image.placed = true;
        mTaken.insert(folded);
    }
    // Files the folder holds already are never overwritten: an old copy stays the old
    // template's until the new file is written, and a foreign file is not ours. Names
    // are compared ignoring case, so the folder also survives case-blind media.
    for (fs::directory_iterator it(mFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = PathText(it->path().filename());
        mExisting.emplace(AsciiLower(name), name);
    }
    if (error) return false;
    for (TemplateImage& image : mImages) {
        if (image.placed) continue;
        bool copy = true;
        const std::string name = FreeName(image.source, copy);
        if (name.empty()) return false;
        const fs::path target = mFolder / name;
        if (copy) {
            if (!CopyFileWritable(image.source, target, true)) return false;
            mCreated.push_back(target);
        }
        mTaken.insert(AsciiLower(name));
        image.target = target;
        image.placed = true;
    }
    return true;
}

void TemplateWrite::PointItemsAtCopies() {
    for (TemplateImage& image : mImages) {
        if (!image.placed) continue;
        if (image.item)
            image.item->SetFilePath(image.target);
        else
            mLayout.Texts().imageStampPath = PathText(image.target);
    }
}

void TemplateWrite::GiveItemsTheirPaths() {
    for (TemplateImage& image : mImages) {
        if (image.item)
            image.item->SetFilePath(image.source);
        else
            mLayout.Texts().imageStampPath = mKeptStampPath;
    }
}

void TemplateWrite::Clean(const std::vector<std::string>& previous) const {
    // A file the layout itself still shows stays, also after a save without images:
    // a layout opened from a template may hold the only copy of a picture.
    std::set<std::string> inUse = mTaken;
    auto keep = [&](const fs::path& file) {
        if (!file.empty() && InFolder(file, mFolder)) inUse.insert(AsciiLower(PathText(file.filename())));
    };
    for (CLayoutObj* item = mLayout.GetFirstItem(); item; item = item->NextItem())
        if (item->GetKind() == kKindImage) keep(static_cast<CImageObj*>(item)->GetFilePath());
    keep(PathFromStored(mLayout.Texts().imageStampPath));
    std::error_code error;
    for (const std::string& name : previous) {
        if (inUse.count(AsciiLower(name))) continue;
        const fs::path file = mFolder / name;
        const fs::file_status status = fs::symlink_status(file, error);
        if (error || fs::is_directory(status)) continue;
        fs::remove(file, error);
    }
    // Only an empty folder goes: whatever else it holds is not this template's.
    if (mLayout.GetSaveTemplateWithImages() == 0 && fs::is_directory(mFolder, error) && fs::is_empty(mFolder, error))
        fs::remove(mFolder, error);
}

void TemplateWrite::Undo() {
    std::error_code error;
    for (const fs::path& file : mCreated) fs::remove(file, error);
    if (mFolderCreated && fs::is_empty(mFolder, error)) fs::remove(mFolder, error);
    GiveItemsTheirPaths();
    mLayout.Texts().imageStampPath = mKeptStampPath;
    if (mPageNumberSet) mLayout.SetPageNumber(mKeptPageNumber);
}

bool TemplateWrite::Fail() {
    Undo();
    Messages().Show(IDS_TEMPLATE_NOT_SAVED, {}, Icon::Error, Buttons::Ok);
    return false;
}

}  // namespace

std::vector<std::string> FilesNamedInImageFolder(const fs::path& templatePath, const fs::path& imageFolder) {
    std::vector<std::string> names;
    std::error_code error;
    if (!fs::is_regular_file(templatePath, error)) return names;
    EnsureXmlParser();
    std::unique_ptr<xmlDoc, XmlDocFree> doc(
        xmlReadFile(templatePath.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root) return names;
    auto take = [&](const fs::path& file) {
        if (!file.has_filename() || !InFolder(file, imageFolder)) return;
        names.push_back(PathText(file.filename()));
    };
    // The folder of an image carries over to the next images until one names another,
    // as the writer leaves it out; it starts at the file's own folder.
    std::string folder = PathText(templatePath.parent_path());
    const xmlNode* objects = Child(root, kLayoutXmlNames[kXmlObject]);
    for (const xmlNode* n = objects ? objects->children : nullptr; n; n = n->next) {
        if (n->type != XML_ELEMENT_NODE || ElementName(n) != kLayoutXmlNames[kXmlImage]) continue;
        if (const xmlNode* dir = Child(n, kLayoutXmlNames[kXmlRelativeDir]))
            folder = PathText(ResolveRelativePath(templatePath, ElementText(dir)));
        else if (const xmlNode* absolute = Child(n, kLayoutXmlNames[kXmlDir]))
            folder = ElementText(absolute);
        if (const xmlNode* file = Child(n, kLayoutXmlNames[kXmlFile])) {
            const fs::path stored = PathFromStored(ElementText(file));
            take(PathFromStored(folder) / stored.filename());
        }
    }
    if (const xmlNode* layout = Child(root, kLayoutXmlNames[kXmlLayout])) {
        if (const xmlNode* stamp = Child(layout, "RelativeStampFileName"))
            take(ResolveRelativePath(templatePath, ElementText(stamp)));
        else if (const xmlNode* stamp = Child(layout, "ImageStampFileName"))
            take(PathFromStored(ElementText(stamp)));
    }
    return names;
}

bool WriteTemplateFile(CLayoutSetting& layout, const fs::path& templatePath) {
    return TemplateWrite(layout, templatePath).Run();
}

}  // namespace vx
