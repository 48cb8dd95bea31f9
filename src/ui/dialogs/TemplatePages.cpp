#include "ui/dialogs/TemplatePages.h"

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "imaging/DibBuffer.h"
#include "imaging/Thumbnail.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/StringTable.h"
#include "templates/TemplatePropertyRows.h"
#include "ui/controls/COwnerDrawListCtrl.h"
#include "ui/controls/ControlUtilities.h"

namespace vx {
namespace {

wxString U(const std::string& text) { return wxString::FromUTF8(text); }

/// The preview stretched to width x height with a smoothing reduction, as a wx image.
wxImage StretchedPreview(const TemplateInfo& info, int width, int height) {
    if (!info.PreviewBytes || info.PreviewBytes->empty() || width <= 0 || height <= 0) return {};
    DibBufferPtr picture = CreateThumbnailDIB(info.PreviewBytes->data(), info.PreviewBytes->size());
    if (!picture) return {};
    const Rect16 r = DibBuffer::GetRect(picture.get());
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    uint8_t* bits = DibBuffer::GetBits(picture.get());
    if (w <= 0 || h <= 0 || !bits) return {};
    gfx::CairoSurface source(cairo_image_surface_create_for_data(bits, CAIRO_FORMAT_RGB24, w, h,
                                                            DibBuffer::GetRowBytes(picture.get())));
    gfx::ImageSurface out(width, height, true);
    if (!out.Valid() || cairo_surface_status(source.get()) != CAIRO_STATUS_SUCCESS) return {};
    {
        gfx::Canvas canvas(out.Native(), gfx::kScreenPixelsPerInch);
        canvas.DrawSurface(source.get(), {0, 0, double(w), double(h)}, {0, 0, double(width), double(height)},
                           gfx::Filter::Good);
    }
    wxImage image(width, height, false);
    const uint8_t* data = out.Data();
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data + static_cast<size_t>(y) * static_cast<size_t>(out.Stride());
        for (int x = 0; x < width; ++x, rgb += 3) {
            rgb[0] = row[4 * x + 2];
            rgb[1] = row[4 * x + 1];
            rgb[2] = row[4 * x + 0];
        }
    }
    return image;
}

}  // namespace

CTemplatePreviewPage::CTemplatePreviewPage(wxWindow* parent) : wxPanel(parent, 317) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    nameRow->Add(new wxStaticText(this, wxID_ANY, U(LoadString(IDS_TEMPLATE_PAGE_NAME))), 0,
                 wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    mName = new wxStaticText(this, kNameId, "-", wxDefaultPosition, wxDefaultSize, wxST_ELLIPSIZE_END);
    nameRow->Add(mName, 1, wxALIGN_CENTER_VERTICAL);
    sizer->Add(nameRow, 0, wxEXPAND | wxALL, 5);
    mFrame = new wxWindow(this, kFrameId, wxDefaultPosition, wxSize(128, 128), wxBORDER_SIMPLE);
    mFrame->SetBackgroundStyle(wxBG_STYLE_PAINT);
    mFrame->Bind(wxEVT_PAINT, &CTemplatePreviewPage::OnPaintFrame, this);
    sizer->Add(mFrame, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, 5);
    sizer->Add(new wxStaticText(this, wxID_ANY, U(LoadString(IDS_TEMPLATE_PAGE_COMMENT))), 0, wxLEFT | wxRIGHT, 5);
    mComment = new wxTextCtrl(this, kCommentId, {}, wxDefaultPosition, wxSize(-1, 60),
                              wxTE_MULTILINE | wxTE_READONLY);
    // Stretched down to 5 pixels above the page's bottom edge.
    sizer->Add(mComment, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 5);
    SetSizer(sizer);
}

void CTemplatePreviewPage::DrawPreview() {
    const std::string name = TemplateFileNamePart(mInfo.Path);
    mName->SetLabel(name.empty() ? wxString("-") : U(name));
    mName->SetToolTip(U(name));
    mComment->ChangeValue(U(PreviewCommentText(mInfo.Comment)));
    mFrame->Refresh();
}

void CTemplatePreviewPage::OnPaintFrame(wxPaintEvent&) {
    wxPaintDC dc(mFrame);
    const wxSize size = mFrame->GetClientSize();
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    if (TemplateFileNamePart(mInfo.Path).empty()) return;
    const wxImage image = StretchedPreview(mInfo, size.x, size.y);
    if (image.IsOk()) dc.DrawBitmap(wxBitmap(image), 0, 0);
}

CTemplatePropertyPage::CTemplatePropertyPage(wxWindow* parent) : wxPanel(parent, 318) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    mList = new COwnerDrawListCtrl(this, kListId, wxDefaultPosition, wxSize(260, 240),
                                   wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_NO_HEADER);
    mList->AppendColumn({});
    mList->AppendColumn({});
    sizer->Add(mList, 1, wxEXPAND | wxALL, 2);
    SetSizer(sizer);
    mList->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        const int half = std::max(20, (mList->GetClientSize().x) / 2);
        mList->SetColumnWidth(0, half);
        mList->SetColumnWidth(1, half);
        event.Skip();
    });
    AddListCellToolTips(mList);
    FillPropertyList();
}

void CTemplatePropertyPage::SetTemplateInfo(const TemplateInfo& info) {
    mInfo = info;
    ApplicationState* app = HostService<ApplicationState>();
    const int unit = app ? app->Preferences().unit : 1;
    mInfo.ImageSizeText = RewriteImageSizeText(mInfo.ImageSizeText, unit);
}

void CTemplatePropertyPage::FillPropertyList() {
    mList->DeleteAllItems();
    const TemplatePropertyRows rows = MakeTemplatePropertyRows(mInfo);
    for (int row = 0; row < kTemplatePropertyRowCount; ++row) {
        const long item = mList->InsertItem(row, U(rows[row].label));
        mList->SetItem(item, 1, U(rows[row].value));
    }
    mList->Restripe();
}

}  // namespace vx
