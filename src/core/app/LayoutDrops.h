#pragma once
#include <filesystem>
#include <functional>
#include <vector>

namespace vx {

class CGPDoc;
class CLayoutSetting;

/// The document of the layout window as a drop uses it.
class DropDocument {
public:
    virtual ~DropDocument() = default;
    /// The document's layout, or null.
    virtual CLayoutSetting* Layout() = 0;
    /// Adds one image file; CGPDoc::AddImageFile's outcome.
    virtual int AddImageFile(const std::filesystem::path& path) = 0;
    /// Adds the images of a folder (recursively); the drop's result, stop set when the
    /// walk ended early.
    virtual int AddImagesFromFolder(const std::filesystem::path& folder, bool& stop) = 0;
};

/// A CGPDoc as a drop target.
class CGPDocDropDocument final : public DropDocument {
public:
    explicit CGPDocDropDocument(CGPDoc& doc) : mDoc(doc) {}
    CLayoutSetting* Layout() override;
    int AddImageFile(const std::filesystem::path& path) override;
    int AddImagesFromFolder(const std::filesystem::path& folder, bool& stop) override;

private:
    CGPDoc& mDoc;
};

/// Files and folders dropped on the layout window, added in drop order with one undo
/// entry; status 7 when one was not taken, else ready. A quick print prints the new
/// images once and leaves the layout as it was. Nothing happens while a direct print
/// runs or the busy flag is set. The result: 0 all taken, 1 stopped after a refused
/// image, 2 size out of range, 3 something skipped, 4 memory or item limit; -1 ignored.
int DropFilesOnLayout(DropDocument* doc, const std::vector<std::filesystem::path>& files);

/// Files dropped on the main frame: only the first counts, and it must be a layout
/// file ("Datei nicht lesbar." otherwise); the file of an open layout is reloaded, any
/// other opened through open. Nothing happens while a direct print runs or the busy
/// flag is set.
void DropFilesOnFrame(const std::vector<std::filesystem::path>& files,
                      const std::function<void(const std::filesystem::path&)>& open);

}  // namespace vx
