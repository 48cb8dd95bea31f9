#include "ui/document/GPDocument.h"

#include <algorithm>
#include <system_error>

#include <wx/app.h>
#include <wx/filehistory.h>
#include <wx/stdpaths.h>

#include "document/ArrangementCommands.h"
#include "document/DocumentCommands.h"
#include "document/ObjectSettingCommands.h"
#include "document/TemplateCommands.h"
#include "document/OutputCommands.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Format.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "templates/TemplateFolders.h"
#include "ui/document/FileDialogs.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/MenuTable.h"

namespace fs = std::filesystem;

namespace vx {

namespace {
wxString Wx(const std::string& text) { return wxString::FromUTF8(text); }
fs::path PathOf(const wxString& text) { return fs::path(std::string(text.utf8_str())); }
wxWindow* TopWindow() { return wxTheApp ? wxTheApp->GetTopWindow() : nullptr; }
}  // namespace

// The document's own commands by command id; the main frame sees only what no
// document takes.
wxBEGIN_EVENT_TABLE(GPDocument, wxDocument)
    EVT_MENU(ToWxId(32900), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32900), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32901), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32901), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32804), GPDocument::OnTemplateCommand)
    EVT_UPDATE_UI(ToWxId(32804), GPDocument::OnUpdateTemplateCommand)
    EVT_MENU(ToWxId(32805), GPDocument::OnTemplateCommand)
    EVT_UPDATE_UI(ToWxId(32805), GPDocument::OnUpdateTemplateCommand)
    EVT_MENU(ToWxId(33303), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33303), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33304), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33304), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33909), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33909), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33101), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33101), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33600), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33600), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32914), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32914), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32915), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32915), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32916), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32916), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32917), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32917), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32918), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32918), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32903), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32903), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32904), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32904), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32905), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32905), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32906), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32906), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32907), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32907), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32908), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32908), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32910), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32910), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32911), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32911), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32921), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32921), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33601), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33601), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33002), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33002), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32924), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32924), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32923), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32923), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32925), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32925), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33309), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33309), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33310), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33310), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32926), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32926), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32902), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(32902), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33103), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33103), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33100), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33100), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33104), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33104), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33008), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33008), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33000), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33000), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33007), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33007), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(33009), GPDocument::OnSettingCommand)
    EVT_UPDATE_UI(ToWxId(33009), GPDocument::OnUpdateSettingCommand)
    EVT_MENU(ToWxId(32808), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(32808), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33211), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33211), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33200), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33200), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33201), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33201), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33202), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33202), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33209), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33209), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33210), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33210), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33207), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33207), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33212), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33212), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33908), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33908), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(32922), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(32922), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(33312), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(33312), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(32807), GPDocument::OnOutputCommand)
    EVT_UPDATE_UI(ToWxId(32807), GPDocument::OnUpdateOutputCommand)
    EVT_UPDATE_UI(ToWxId(33311), GPDocument::OnUpdateOutputCommand)
    EVT_MENU(ToWxId(57607), GPDocument::OnPrintCommand)
    EVT_UPDATE_UI(ToWxId(57607), GPDocument::OnUpdatePrintCommand)
    EVT_MENU(ToWxId(32811), GPDocument::OnPrintCommand)
    EVT_UPDATE_UI(ToWxId(32811), GPDocument::OnUpdatePrintCommand)
wxEND_EVENT_TABLE()

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

void GPDocument::OnSettingCommand(wxCommandEvent& event) {
    const int id = FromWxId(event.GetId());
    if (ArrangementCommands::Handles(id))
        ArrangementCommands(mDoc).OnCommand(id);
    else
        ObjectSettingCommands(mDoc).OnCommand(id);
}

void GPDocument::OnUpdateSettingCommand(wxUpdateUIEvent& event) {
    const int id = FromWxId(event.GetId());
    static AppPreferences fallback;
    ApplicationState* app = HostService<ApplicationState>();
    const AppPreferences& preferences = app ? app->Preferences() : fallback;
    const BoundDialogs dialogs = BoundDialogs::Of(HostService<SettingsDialogs>());
    const CommandState state = ArrangementCommands::Handles(id)
                                   ? ArrangementCommands::State(id, mDoc.GetLayout(), preferences, dialogs)
                                   : ObjectSettingCommands::State(id, mDoc.GetLayout(), preferences, dialogs);
    event.Enable(state.enabled);
    if (IsCheckCommand(id)) event.Check(state.checked);
    if (!state.text.empty()) event.SetText(Wx(state.text));
}

void GPDocument::OnTemplateCommand(wxCommandEvent& event) { TemplateCommands(mDoc).OnCommand(FromWxId(event.GetId())); }

void GPDocument::OnUpdateTemplateCommand(wxUpdateUIEvent& event) {
    static AppPreferences fallback;
    ApplicationState* app = HostService<ApplicationState>();
    const CommandState state = TemplateCommands::State(FromWxId(event.GetId()), mDoc.GetLayout(),
                                                       app ? app->Preferences() : fallback,
                                                       BoundDialogs::Of(HostService<SettingsDialogs>()));
    event.Enable(state.enabled);
}

void GPDocument::OnOutputCommand(wxCommandEvent& event) { OutputCommands(mDoc).OnCommand(FromWxId(event.GetId())); }

void GPDocument::OnUpdateOutputCommand(wxUpdateUIEvent& event) {
    const int id = FromWxId(event.GetId());
    const CommandState state = OutputCommands::State(id, mDoc.GetLayout(), mDoc.LayoutPanelShown(),
                                                     BoundDialogs::Of(HostService<SettingsDialogs>()));
    event.Enable(state.enabled);
    if (IsCheckCommand(id)) event.Check(state.checked);
    if (!state.text.empty()) event.SetText(Wx(state.text));
}

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
