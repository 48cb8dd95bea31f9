#include "printing/PrintPaneSections.h"

#include "platform/system/Format.h"

namespace vx {
namespace {

constexpr int kFoldedSection = 25;  // a closed section keeps its title line
constexpr int kPaneWidth = 332;     // the width the layout window's splitter fixes

}  // namespace

PaneArrangement ArrangeSections(const std::array<PaneRect, kPaneControlCount>& c, const std::array<bool, 3>& expanded,
                                const PaneMetrics& metrics) {
    PaneArrangement a;
    for (int i = 0; i < kPaneControlCount; ++i) a.places[i] = {c[i].x, c[i].y, true};
    auto moveBy = [&](int i, int top, int reference) { a.places[i] = {c[i].x, top + c[i].y - c[reference].y, true}; };

    int y0 = kFoldedSection;
    if (expanded[0]) {
        y0 = c[kPaneSection2Button].y;
    } else {
        for (int i = kPanePrinterLabel; i <= kPaneMorePrint; ++i) a.places[i].visible = false;
    }
    a.places[kPaneSeparator1] = {c[kPaneSeparator1].x, y0, true};
    moveBy(kPaneSection2Button, y0, kPaneSeparator1);
    moveBy(kPaneSection2Title, y0, kPaneSeparator1);

    int y1 = y0 + kFoldedSection;
    if (expanded[1]) {
        for (int i = kPaneProfileLabel; i <= kPaneMoreColour; ++i) moveBy(i, y0, kPaneSeparator1);
        y1 = y0 + c[kPaneSection3Button].y - c[kPaneSeparator1].y;
    } else {
        for (int i = kPaneProfileLabel; i <= kPaneMoreColour; ++i) a.places[i].visible = false;
    }
    a.places[kPaneSeparator2] = {c[kPaneSeparator2].x, y1, true};
    moveBy(kPaneSection3Button, y1, kPaneSeparator2);
    moveBy(kPaneSection3Title, y1, kPaneSeparator2);

    int last = kPaneSection3Title;
    if (expanded[2]) {
        moveBy(kPaneTemplateList, y1, kPaneSeparator2);
        moveBy(kPanePencilNote, y1, kPaneSeparator2);
        last = kPanePencilNote;
    } else {
        a.places[kPaneTemplateList].visible = false;
        a.places[kPanePencilNote].visible = false;
    }

    a.scrollWidth = kPaneWidth - 2 * metrics.edgeWidth;
    const int needed = a.places[last].y + c[last].height + metrics.scrollBarHeight;
    a.scrollHeight = metrics.clientHeight > needed ? 0 : needed;
    return a;
}

std::string RollLengthNumber(int32_t bannerLength, int unitItem) {
    const double mm = bannerLength * 0.1;
    if (unitItem == 0) return FormatC("%.2f", mm);
    return FormatC("%.3f", mm * 0.03937007874015748);
}

}  // namespace vx
