#include "ui/shell/DropTargets.h"

#include <wx/app.h>
#include <wx/dnd.h>
#include <wx/docview.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "app/LayoutDrops.h"
#include "document/LayoutDocument.h"
#include "ui/document/GPDocument.h"
#include "ui/shell/GPView.h"
#include "ui/shell/LayoutPane.h"

namespace vx {
namespace {

std::vector<std::filesystem::path> Paths(const wxArrayString& names) {
    std::vector<std::filesystem::path> paths;
    for (const wxString& name : names) paths.emplace_back(std::string(name.utf8_str()));
    return paths;
}

class LayoutDropTarget : public wxFileDropTarget {
public:
    explicit LayoutDropTarget(GPView* view) : mView(view) {}
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) override {
        // The drop source waits for our answer: run the drop once it has its answer.
        GPView* view = mView;
        const auto paths = Paths(names);
        if (wxTheApp) wxTheApp->CallAfter([view, paths] { DropOnLayout(view, paths); });
        return true;
    }

private:
    GPView* mView;
};

class FrameDropTarget : public wxFileDropTarget {
public:
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) override {
        const auto paths = Paths(names);
        if (wxTheApp) wxTheApp->CallAfter([paths] { DropOnFrame(paths); });
        return true;
    }
};

template <class Target, class... A>
void AcceptAll(wxWindow* window, A... args) {
    if (!window) return;
    window->SetDropTarget(new Target(args...));
    for (wxWindow* child : window->GetChildren()) AcceptAll<Target>(child, args...);
}

/// The view if it still belongs to an open document (a drop may arrive after a close).
GPView* LiveView(GPView* view) {
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (!manager || !view) return nullptr;
    for (wxDocument* doc : manager->GetDocumentsVector())
        for (wxView* v : doc->GetViewsVector())
            if (v == view) return view;
    return nullptr;
}

}  // namespace

void AcceptLayoutDrops(wxWindow* window, GPView* view) { AcceptAll<LayoutDropTarget>(window, view); }

void AcceptFrameDrops(wxWindow* window) {
    if (window) window->SetDropTarget(new FrameDropTarget);
}

int DropOnLayout(GPView* view, const std::vector<std::filesystem::path>& files) {
    view = LiveView(view);
    GPDocument* doc = view ? view->Document() : nullptr;
    if (!doc) return -1;
    CGPDocDropDocument target(doc->Core());
    if (wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) top->Raise();
    wxBusyCursor wait;
    const int result = DropFilesOnLayout(&target, files);
    if (LayoutPane* pane = view->Pane()) pane->Invalidate();
    return result;
}

void DropOnFrame(const std::vector<std::filesystem::path>& files) {
    auto* manager = dynamic_cast<GPDocManager*>(wxDocManager::GetDocumentManager());
    DropFilesOnFrame(files, [manager](const std::filesystem::path& path) {
        if (manager) manager->OpenLayoutFile(path);
    });
}

}  // namespace vx
