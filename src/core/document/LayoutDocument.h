#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vx {

class CLayoutSetting;

/// The framework document around a CGPDoc (the window side's wxDocument; tests give
/// their own). Core code calls it for what only the framework can do.
class DocumentOwner {
public:
    virtual ~DocumentOwner() = default;
    /// The framework's close of this document: asks CGPDoc::SaveModified and, when that
    /// allows it, closes the views and destroys the document. True when it closed.
    virtual bool CloseDocument() = 0;
    virtual void SetDocumentTitle(const std::string& title) = 0;
    virtual void SetDocumentPath(const std::filesystem::path& path) = 0;
};

/// The application's busy flag (AppPreferences::appBusyFlag; a flag of its own while no
/// ApplicationState is installed).
int32_t& AppBusyFlag();
/// The untitled-layout counter: every new layout takes the next number.
uint16_t& UntitledLayoutCounter();

/// Sets the busy flag for its lifetime and clears it on every way out, exceptions
/// included; each change refreshes the main toolbar.
class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    /// Clears the flag early (before a nested command that sets it again).
    void Release();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool mHeld = true;
};

/// The canonical form of an existing file's path (absolute, links and dots resolved);
/// empty when the file cannot be found.
std::filesystem::path CanonicalFilePath(const std::filesystem::path& path);
/// Length of the path's root: 1 for an absolute path ("/"), 0 otherwise.
size_t GetPathRootLength(const std::string& path);
/// Whether image paths can be stored relative to path: every image item's file and the
/// image stamp file share path's root.
bool CanSaveRelativePaths(const CLayoutSetting& layout, const std::filesystem::path& path);

/// The document of one layout: owns the layout record from New or Open until it
/// closes, keeps a single layout open at a time and carries the file commands. User-
/// interface thread only.
class CGPDoc {
public:
    explicit CGPDoc(DocumentOwner* owner = nullptr);
    ~CGPDoc();
    CGPDoc(const CGPDoc&) = delete;
    CGPDoc& operator=(const CGPDoc&) = delete;

    /// Every document alive, oldest first.
    static const std::vector<CGPDoc*>& OpenDocuments();

    CLayoutSetting* GetLayout() const { return mLayout.get(); }
    /// Makes layout the document's own (tests and the drop of a layout).
    void AdoptLayout(std::unique_ptr<CLayoutSetting> layout);
    /// Frees the layout as the document's end does (undo cleared, active slot cleared).
    void DeleteLayout();

    bool OnNewDocument();
    bool OnOpenDocument(const std::filesystem::path& path);
    void OnFileSave();
    bool OnFileSaveAs() { return DoSaveAs(); }
    bool DoSaveAs();
    void OnFileClose();
    bool SaveModified();
    /// Writes layout to path; 1 when written, 0 (with 59431 shown) when not.
    int SaveLayoutFile(CLayoutSetting* layout, const std::filesystem::path& path);
    int SaveLayoutFile(const std::filesystem::path& path) { return SaveLayoutFile(mLayout.get(), path); }
    /// Load image: the result (0 none, 1 stopped after a refused image, 2 size out of
    /// range, 3 something skipped, 4 memory or item limit).
    int OnLoadImage();
    /// Adds one image file; AddImageFilesToLayout's outcome.
    int AddImageFile(const std::filesystem::path& path);

    bool CanSave() const;
    bool CanSaveAs() const;  // also Close and Load image

    bool CloseRefused() const { return mCloseRefused != 0; }
    void SetCloseRefused(bool refused) { mCloseRefused = refused ? 1 : 0; }
    const std::string& DefaultPath() const { return mDefaultPath; }
    /// The file name of the template the layout came from, empty for a layout file.
    const std::string& TemplateFileName() const { return mTemplateFileName; }
    void SetTemplateFileName(std::string name) { mTemplateFileName = std::move(name); }
    /// Whether the print-settings pane is shown beside the layout (from creation on).
    bool LayoutPanelShown() const { return mLayoutPanel != 0; }
    void SetLayoutPanelShown(bool shown) { mLayoutPanel = shown ? 1 : 0; }

private:
    bool AskRelativeFallback(CLayoutSetting& layout, const std::filesystem::path& path);
    void RefuseCloseOfOthers();
    std::string QuestionName() const;
    CGPDoc* FirstOther() const;

    DocumentOwner* mOwner;
    std::unique_ptr<CLayoutSetting> mLayout;
    int32_t mCloseRefused = 0;
    std::string mDefaultPath;
    std::string mTemplateFileName;
    int32_t mLayoutPanel = 1;
};

/// What adds one image file to a layout: AddImageFilesToLayout with the application's
/// undo store unless replaced (tests script outcomes); returns the previous one.
using ImageFileAdder = std::function<int(CLayoutSetting& layout, const std::filesystem::path& path)>;
ImageFileAdder SetImageFileAdder(ImageFileAdder adder);

/// Adds every file below folder as Load image does, in the image sort's name order;
/// hidden files are skipped and linked folders not followed. stop is set when an
/// outcome or the user ends the walk. The result as CGPDoc::OnLoadImage's.
int AddImagesFromFolder(CGPDoc& doc, const std::filesystem::path& folder, CLayoutSetting& layout, bool& stop);

}  // namespace vx
