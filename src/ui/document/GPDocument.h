#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include <wx/docview.h>

#include "document/LayoutDocument.h"
#include "host/DocumentServices.h"

namespace vx {

/// The framework document of one layout: every hook goes to the core document, so no
/// framework text or question is ever shown.
class GPDocument : public wxDocument, public DocumentOwner {
public:
    GPDocument();
    CGPDoc& Core() { return mDoc; }

    bool OnCreate(const wxString& path, long flags) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& file) override;
    bool OnSaveModified() override;
    bool OnCloseDocument() override;
    bool Save() override;
    bool SaveAs() override;
    bool IsModified() const override;
    bool Revert() override { return false; }

    // DocumentOwner
    bool CloseDocument() override;
    void SetDocumentTitle(const std::string& title) override;
    void SetDocumentPath(const std::filesystem::path& path) override;

    /// The framework document around core, or null.
    static GPDocument* Of(const CGPDoc* core);

private:
    /// The layout-mode, grid, stacking, sort, background, margin and settings-dialog
    /// commands, and their menu states.
    void OnSettingCommand(wxCommandEvent& event);
    void OnUpdateSettingCommand(wxUpdateUIEvent& event);
    /// Save template and Save template as, and their menu states.
    void OnTemplateCommand(wxCommandEvent& event);
    void OnUpdateTemplateCommand(wxUpdateUIEvent& event);
    void OnOutputCommand(wxCommandEvent& event);
    void OnUpdateOutputCommand(wxUpdateUIEvent& event);
    /// Print now and print with driver settings, and their menu states.
    void OnPrintCommand(wxCommandEvent& event);
    void OnUpdatePrintCommand(wxUpdateUIEvent& event);

    CGPDoc mDoc{this};
    wxDECLARE_EVENT_TABLE();
};

/// The one template: it takes every path, so only its absence shows the framework's
/// failure text.
class GPDocTemplate : public wxDocTemplate {
public:
    explicit GPDocTemplate(wxDocManager* manager, wxClassInfo* viewClass = nullptr);
    wxDocument* DoCreateDocument() override { return new GPDocument; }
};

/// The document manager: opens by path through the core's request rules, activates a
/// layout that is open already, and keeps a failing recent-file entry listed.
class GPDocManager : public wxDocManager {
public:
    GPDocManager();
    wxDocument* CreateDocument(const wxString& path, long flags = 0) override;
    /// Opens a layout file without any framework text; null when it did not open.
    wxDocument* OpenLayoutFile(const std::filesystem::path& path);

private:
    wxDocument* CreateOrForget(const wxString& path, long flags);
    void OnRecentFile(wxCommandEvent& event);
};

/// The file commands' window services over a document manager.
class WxDocumentServices final : public DocumentServices {
public:
    explicit WxDocumentServices(wxDocManager* manager) : mManager(manager) {}

    std::optional<SaveLayoutChoice> ChooseSaveLayoutPath(const std::filesystem::path& folder,
                                                         const std::string& fileName, bool relative) override;
    void AddRecentFile(const std::filesystem::path& path) override;
    std::filesystem::path DocumentsFolder() override;
    void RenewMainTitle() override {}

private:
    wxDocManager* mManager;
};

}  // namespace vx
