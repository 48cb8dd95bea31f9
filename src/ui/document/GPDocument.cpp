#include "ui/document/GPDocument.h"

#include <algorithm>
#include <system_error>

#include <wx/app.h>
#include <wx/filehistory.h>
#include <wx/stdpaths.h>

#include "document/DocumentCommands.h"
#include "model/CLayoutSetting.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Format.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "templates/TemplateFolders.h"
#include "ui/document/FileDialogs.h"

namespace fs = std::filesystem;

namespace vx {

namespace {
wxString Wx(const std::string& text) { return wxString::FromUTF8(text); }
fs::path PathOf(const wxString& text) { return fs::path(std::string(text.utf8_str())); }
wxWindow* TopWindow() { return wxTheApp ? wxTheApp->GetTopWindow() : nullptr; }
}  // namespace

GPDocument::GPDocument() = default;

GPDocument* GPDocument::Of(const CGPDoc* core) {
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (!manager || !core) return nullptr;
    for (wxDocument* doc : manager->GetDocumentsVector())
        if (auto* gp = dynamic_cast<GPDocument*>(doc); gp && &gp->Core() == core) return gp;
    return nullptr;
}

bool GPDocument::OnCreate(const wxString& path, long flags) {
    // The layout window comes with the main window; until a view class is registered a
    // document lives without one.
    if (GetDocumentTemplate() && GetDocumentTemplate()->GetViewClassInfo())
        return wxDocument::OnCreate(path, flags);
    return true;
}

bool GPDocument::OnNewDocument() {
    if (!mDoc.OnNewDocument()) return false;
    const ViewStateBlock* block = mDoc.GetLayout()->GetViewState();
    SetTitle(Wx(FormatTemplate(LoadString(IDS_UNTITLED_LAYOUT), {(long long)(block ? block->untitledNumber : 0)})));
    SetDocumentSaved(false);
    Modify(false);
    return true;
}

bool GPDocument::OnOpenDocument(const wxString& file) {
    if (!mDoc.OnOpenDocument(PathOf(file))) return false;
    SetFilename(Wx(mDoc.GetLayout()->Texts().documentPath), false);
    SetDocumentSaved(true);
    Modify(false);
    return true;
}

bool GPDocument::OnSaveModified() { return mDoc.SaveModified(); }

bool GPDocument::OnCloseDocument() {
    mDoc.DeleteLayout();
    return true;
}

bool GPDocument::Save() {
    mDoc.OnFileSave();
    return !IsModified();
}

bool GPDocument::SaveAs() { return mDoc.DoSaveAs(); }

bool GPDocument::IsModified() const {
    const CLayoutSetting* layout = mDoc.GetLayout();
    return layout && layout->GetDirty();
}

bool GPDocument::CloseDocument() {
    wxDocManager* manager = GetDocumentManager();
    return manager ? manager->CloseDocument(this) : Close();
}

void GPDocument::SetDocumentTitle(const std::string& title) { SetTitle(Wx(title)); }

void GPDocument::SetDocumentPath(const fs::path& path) {
    SetFilename(Wx(PathText(path)), true);
    SetDocumentSaved(true);
}

GPDocTemplate::GPDocTemplate(wxDocManager* manager, wxClassInfo* viewClass)
    : wxDocTemplate(manager, "Layout", "*", "", "kqf", "GPDocument", "GPView", nullptr, viewClass) {}

GPDocManager::GPDocManager() : wxDocManager(0, true) {
    Bind(wxEVT_MENU, &GPDocManager::OnRecentFile, this, wxID_FILE1, wxID_FILE9);
}

wxDocument* GPDocManager::CreateDocument(const wxString& path, long flags) {
    // The framework refuses a silent New without a path; with the one template it
    // asks nothing anyway.
    if (flags & wxDOC_NEW) return CreateOrForget(path, path.empty() ? flags & ~long(wxDOC_SILENT) : flags | wxDOC_SILENT);
    return OpenLayoutFile(PathOfOpenRequest(std::string(path.utf8_str())));
}

wxDocument* GPDocManager::CreateOrForget(const wxString& path, long flags) {
    const wxDocVector before = GetDocumentsVector();
    wxDocument* made = wxDocManager::CreateDocument(path, flags);
    if (made) return made;
    // The framework deletes a failed document through its last view; one without views
    // is deleted here.
    for (wxDocument* doc : GetDocumentsVector())
        if (std::find(before.begin(), before.end(), doc) == before.end() && doc->GetViewsVector().empty()) delete doc;
    return nullptr;
}

wxDocument* GPDocManager::OpenLayoutFile(const fs::path& request) {
    if (CanonicalFilePath(request).empty()) {
        Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return nullptr;
    }
    if (CGPDoc* open = FindOpenDocument(request)) {
        GPDocument* doc = GPDocument::Of(open);
        if (doc && doc->GetFirstView() && doc->GetFirstView()->GetFrame()) doc->GetFirstView()->GetFrame()->Raise();
        return doc;
    }
    return CreateOrForget(Wx(PathText(request)), wxDOC_SILENT);
}

void GPDocManager::OnRecentFile(wxCommandEvent& event) {
    const size_t index = size_t(event.GetId() - wxID_FILE1);
    wxFileHistory* history = GetFileHistory();
    if (!history || index >= history->GetCount()) return;
    // A file that does not open stays listed.
    OpenLayoutFile(PathOf(history->GetHistoryFile(index)));
}

std::optional<SaveLayoutChoice> WxDocumentServices::ChooseSaveLayoutPath(const fs::path& folder,
                                                                        const std::string& fileName, bool relative) {
    return RunSaveLayoutDialog(TopWindow(), folder, fileName, relative);
}

void WxDocumentServices::AddRecentFile(const fs::path& path) {
    if (mManager) mManager->AddFileToHistory(Wx(PathText(path)));
}

fs::path WxDocumentServices::DocumentsFolder() {
    fs::path folder = PathOf(wxStandardPaths::Get().GetDocumentsDir());
    std::error_code error;
    fs::create_directories(folder, error);
    return folder;
}


}  // namespace vx
