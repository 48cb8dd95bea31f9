#pragma once
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vx {

class CGPDoc;
class CPrinterManager;
struct AppPreferences;

/// What a direct print needs of the application and its windows.
class DirectPrintHost {
public:
    virtual ~DirectPrintHost() = default;
    /// The active layout document, or null.
    virtual CGPDoc* ActiveDocument() = 0;
    /// Opens path as the active document the way the application opens files; null
    /// when it fails (the reason shown).
    virtual CGPDoc* OpenDocument(const std::filesystem::path& path) = 0;
    /// Closes doc without asking (it was opened only to print).
    virtual void CloseDocument(CGPDoc& doc) = 0;
    virtual std::string DocumentTitle(CGPDoc& doc) = 0;
    virtual void SetDocumentTitle(CGPDoc& doc, const std::string& title) = 0;
    /// Whether doc still shows its print-settings pane (its window is open).
    virtual bool HasPrintSettingsPane(CGPDoc& doc) = 0;
    virtual std::vector<std::filesystem::path> RecentFiles() = 0;
    virtual void SetRecentFiles(const std::vector<std::filesystem::path>& files) = 0;
    virtual void BringMainWindowToFront() {}
    /// Lays out, redraws the layout and repaints the print-settings pane of doc.
    virtual void RedrawLayout(CGPDoc& doc) { (void)doc; }
};

/// One of the window's eight printer buttons, from the top.
struct DirectPrintButton {
    std::string printer;  // empty: unused
    int icon = 0;         // 345, 346 or 347 by the printer's model class; 0 unused
};

/// The buttons for the preferences' direct-print printers: the named ones first, in
/// order, then the unused ones.
std::array<DirectPrintButton, 8> DirectPrintButtons(const AppPreferences& preferences, const CPrinterManager& manager);
/// How many buttons high the window is: the used ones, at least one.
int DirectPrintWindowRows(const std::array<DirectPrintButton, 8>& buttons);

/// How a drop ended.
enum class DirectPrintResult {
    Ignored,  // no printer button under the drop
    Refused,  // a message said why; nothing was printed
    Failed,   // the file could not be read or printed; the open layout is as before
    Printed,
};

/// Prints a layout file dropped on a printer button, setting the open layout, its
/// template information, title, zoom, printer and driver settings aside and putting
/// them back on every way out.
class DirectPrintController {
public:
    DirectPrintController(CPrinterManager& manager, DirectPrintHost& host);

    /// files dropped on the button of printer (empty: between buttons or on an unused one).
    DirectPrintResult Drop(const std::string& printer, const std::vector<std::filesystem::path>& files);

private:
    struct SetAside;
    DirectPrintResult PrintInDocument(CGPDoc& doc, const std::filesystem::path& path, const std::string& printer);
    DirectPrintResult PrintWithoutDocument(const std::filesystem::path& path, const std::string& printer);
    bool PrintOn(CGPDoc& doc, const std::string& printer);
    void Finish(CGPDoc* doc, SetAside* aside);

    CPrinterManager& mManager;
    DirectPrintHost& mHost;
    // What this drop found on the open printer; cleared at the start of every drop so an
    // earlier job's printer is never reopened.
    std::string mRememberedPrinter;
    std::optional<std::string> mSavedSettings;
};

}  // namespace vx
