#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "host/ViewServices.h"

namespace vx {

class CLayoutSetting;

/// A calendar day.
struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

/// Today's local date; tests install a fixed clock (null: the system's local date).
using TodaySource = std::function<CivilDate()>;
TodaySource SetHeaderFooterClock(TodaySource source);

/// The day as the German short date, "dd.MM.yyyy".
std::string ShortDate(const CivilDate& date);

/// Rebuilds the header and footer display texts of the layout (Texts().extraText1 and
/// extraText2): the free text, the print information (only with an active document)
/// and "date  Page @ / count", each line ended by CR LF. A banner has "1" for "@".
/// Nothing changes while neither header nor footer is shown.
void FormatHeaderFooterText(CLayoutSetting& layout);

/// The block's text with the page number put in for the "@" of its date-and-page line
/// (its last line while datePage is on); an "@" anywhere else stays.
std::string NumberedHeaderFooterBlock(const std::string& text, bool datePage, int pageNumber);

/// The automatic header and footer font size in layout units for a block of lines
/// within offset: never below 20.
int16_t AutoHeaderFooterFontSize(int32_t offset, int32_t percent, int lines);

/// The view's services for core code that holds no view: header and footer texts and
/// fonts; moving items stays with the window.
class CoreViewServices : public ViewServices {
public:
    void FormatHeaderFooterText(int page, CLayoutSetting& layout) override;
    bool EnsureFontAvailable(std::string& face, bool& warn) override;
};

}  // namespace vx
