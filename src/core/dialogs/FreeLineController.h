#pragma once
#include <string>

#include "dialogs/DialogCheck.h"
#include "model/CLineObj.h"

namespace vx {

/// The free-line dialog without its window: a private copy of a free line, the values
/// its controls show, and the checks and end points of OK.
class FreeLineController {
public:
    static constexpr int kIdThickness = 1150;
    static constexpr int kIdLength = 1148;
    static constexpr int kIdAngle = 1149;

    /// The arrow-head types in the order of their buttons: 90 degrees filled, 90 open,
    /// 60 filled, 60 open.
    enum class ArrowType { Wide, WideOpen, Narrow, NarrowOpen };

    struct Values {
        int lineStyle = 0;  // 0 solid, 1 dashed
        std::string thicknessText;  // whole points
        std::string lengthText;     // in unit
        int unit = 1;               // 1 mm, 2 inch
        std::string angleText;
        ColorRef colour = 0;
        int arrowMark = 0;  // 0 none, 1 start, 2 both
        ArrowType arrowType = ArrowType::Narrow;
        int arrowSize = 1;  // 1 small, 2 medium, 3 large
    };

    /// Copies line into the dialog's own line and loads the values; the unit is its
    /// layout's (inch for anything but mm).
    bool SetLine(const CLineObj& line);
    /// Copies the dialog's line into line (after OK).
    bool GetLine(CLineObj& line) const;

    Values& GetValues() { return mValues; }
    const Values& GetValues() const { return mValues; }
    bool ArrowControlsEnabled() const { return mValues.arrowMark != 0; }
    /// The length field's range and decimals in the current unit.
    double LengthFieldMaximum() const { return mValues.unit == 1 ? 15000.0 : 590.55; }
    int LengthFieldDecimals() const { return mValues.unit == 1 ? 1 : 2; }

    /// The unit list changed: the length text is read in the old unit and shown in the
    /// new one.
    void SetUnit(int unit);

    /// OK: thickness 1..1000 points, length 10 mm..15 m, angle -180..180 degrees, each
    /// refused with its message; else the values and end points go into the copy.
    DialogCheck Apply();

    const CLineObj& Line() const { return mLine; }

private:
    Values mValues;
    CLineObj mLine{false, "CFreeLineDlg"};
};

/// The end points of a line of length at angle whose left end lies at orgPos when
/// unturned, as the free-line dialog computes them.
void FreeLineEnds(LayoutPoint orgPos, int32_t length, int angle, LayoutPoint& start, LayoutPoint& end);

}  // namespace vx
