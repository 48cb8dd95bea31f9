#pragma once
#include <wx/panel.h>

#include "templates/TemplateInfo.h"

class wxStaticText;
class wxTextCtrl;
class COwnerDrawListCtrl;

namespace vx {

/// The "Vorschau" page: the template's name (ellipsized, whole as tooltip), its comment
/// and its preview stretched over the picture frame.
class CTemplatePreviewPage : public wxPanel {
public:
    enum { kNameId = 3891, kCommentId = 1148, kFrameId = 3880 };
    explicit CTemplatePreviewPage(wxWindow* parent);

    void SetTemplateInfo(const TemplateInfo& info) { mInfo = info; }
    const TemplateInfo& GetTemplateInfo() const { return mInfo; }
    /// Shows the stored record: name, comment and picture.
    void DrawPreview();

private:
    void OnPaintFrame(wxPaintEvent& event);

    TemplateInfo mInfo;
    wxStaticText* mName = nullptr;
    wxTextCtrl* mComment = nullptr;
    wxWindow* mFrame = nullptr;
};

/// The "Info" page: the 13 properties of the template in a two-column list.
class CTemplatePropertyPage : public wxPanel {
public:
    enum { kListId = 3827 };
    explicit CTemplatePropertyPage(wxWindow* parent);

    /// Keeps a copy, its absolute image size written in the current length unit.
    void SetTemplateInfo(const TemplateInfo& info);
    const TemplateInfo& GetTemplateInfo() const { return mInfo; }
    void FillPropertyList();
    COwnerDrawListCtrl* List() const { return mList; }

private:
    TemplateInfo mInfo;
    COwnerDrawListCtrl* mList = nullptr;
};

}  // namespace vx
