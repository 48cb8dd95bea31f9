#pragma once
#include <vector>

#include <wx/bitmap.h>
#include <wx/odcombo.h>

#include "dialogs/FontList.h"

class wxDC;

/// The sorted list of installed font families, each name behind the picture of its
/// kind. Derives from the owner-drawn combo, as the toolkit's native combo draws no
/// entries of its own; it offers the text operations of CFontComboBoxBase.
class CFontComboBox : public wxOwnerDrawnComboBox {
public:
    CFontComboBox(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                  const wxSize& size = wxDefaultSize);

    /// Refills from the installed families, keeping the current choice. The printer
    /// context and the flag are accepted for the callers: the print system has no
    /// fonts of its own.
    void FillFonts(const wxDC* printerDC = nullptr, int flag = 0);
    /// Refills from the given families.
    void FillFonts(const std::vector<vx::dialogs::FontFamilyInfo>& families);
    void ClearEntries();

    void GetCurText(wxString& out) const;
    void SelectByText(const wxString& text, bool exact);
    /// The listed font of entry n, or null.
    const vx::dialogs::FontEntry* Entry(unsigned n) const;

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    wxCoord OnMeasureItem(size_t item) const override;

private:
    vx::dialogs::FontList mList;
    wxBitmap mPictures;  // two cells of 16 x 15: printer font, outline font
};
