// The print commands' window side: the document's handlers and the shell's Print now.
#include "document/PrintCommands.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "ui/CMainFrame.h"
#include "ui/document/GPDocument.h"
#include "ui/shell/CommandIds.h"

namespace vx {

void GPDocument::OnPrintCommand(wxCommandEvent& event) { PrintCommands(mDoc).OnCommand(FromWxId(event.GetId())); }

void GPDocument::OnUpdatePrintCommand(wxUpdateUIEvent& event) {
    const CLayoutSetting* layout = mDoc.GetLayout();
    const bool hasView = layout && FindLayoutView(*layout);
    const CommandState state = PrintCommands::State(FromWxId(event.GetId()), layout, hasView,
                                                    BoundDialogs::Of(HostService<SettingsDialogs>()));
    event.Enable(state.enabled);
}

}  // namespace vx

// The quick print after loading and the direct-print window print the active layout.
void CMainFrame::PrintNow() {
    wxDocument* current = mManager ? mManager->GetCurrentDocument() : nullptr;
    if (!current && mManager && mManager->GetDocumentsVector().size() == 1) current = mManager->GetDocumentsVector()[0];
    if (auto* doc = dynamic_cast<vx::GPDocument*>(current)) vx::PrintCommands(doc->Core()).OnCommand(vx::kCmdFilePrint);
}
