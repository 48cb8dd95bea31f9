#include <gtest/gtest.h>

#include "ViewCoreFixture.h"
#include <clocale>
#include "view/GoToPage.h"
#include "view/ZoomPageBar.h"

namespace vx {
namespace {

/// The bar's controls as lists and fields.
struct RecordingBarControls : ZoomPageBarControls {
    std::vector<std::string> zoomEntries, pageEntries;
    int zoomSelection = -1, pageSelection = -1;
    std::string zoomText, pageText;
    int pageRebuilds = 0;

    void SetZoomEntries(const std::vector<std::string>& labels) override { zoomEntries = labels; }
    void SelectZoomEntry(int index) override {
        zoomSelection = index;
        zoomText = zoomEntries.at(size_t(index));
    }
    void SetZoomText(const std::string& text) override {
        zoomSelection = -1;
        zoomText = text;
    }
    void SetPageEntries(const std::vector<std::string>& entries) override {
        pageEntries = entries;
        ++pageRebuilds;
    }
    void SelectPageEntry(int index) override {
        pageSelection = index;
        pageText = pageEntries.at(size_t(index));
    }
    void SetPageText(const std::string& text) override { pageText = text; }
};

struct ZoomPageBar : test::ViewCoreTest {
    RecordingBarControls controls;
    ZoomPageBarLogic bar{controls};
    void SetUp() override {
        ViewCoreTest::SetUp();
        bar.InitBar();
        tools.bar = &bar;
    }
};

TEST(TypedZoom, PercentagesBecomeRatiosWithinTheTablesLimits) {
    struct Case {
        const char* text;
        ZoomRatio ratio;
        const char* label;
    };
    for (const Case& c : {Case{"250", {250, 100}, "250%"}, Case{"250%", {250, 100}, "250%"},
                          Case{"0.5", {100, 3333}, "3%"}, Case{"100", {100, 100}, "100%"},
                          Case{"2000", {1600, 100}, "1600%"}, Case{"150.7", {150, 100}, "150.7%"},
                          Case{"-5", {100, 3333}, "3%"}, Case{"50", {100, 200}, "50%"}, Case{"33", {100, 303}, "33%"},
                          Case{"66,67", {100, 151}, "66%"}, Case{" 12.5 %", {100, 800}, "12.5%"}}) {
        SCOPED_TRACE(c.text);
        const std::optional<TypedZoom> typed = ParseTypedZoom(c.text);
        ASSERT_TRUE(typed);
        EXPECT_EQ(typed->ratio, c.ratio);
        EXPECT_EQ(typed->label, c.label);
    }
    for (const char* text : {"abc", "nan", "inf", "0", "", "%", "0x20"}) EXPECT_FALSE(ParseTypedZoom(text)) << text;
}

TEST(TypedZoom, ReadsDotsUnderAGermanLocale) {
    const char* previous = setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale";
    const std::optional<TypedZoom> typed = ParseTypedZoom("150.7");
    setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->ratio, (ZoomRatio{150, 100}));
}

TEST(TypedPage, NumbersInRangeOnly) {
    EXPECT_EQ(ParseTypedPage("3 / 7", 7), 3);
    EXPECT_EQ(ParseTypedPage("2x", 7), 2);
    EXPECT_EQ(ParseTypedPage("7", 7), 7);
    for (const char* text : {"0", "8", "99999999999", "-1", "abc", "/ 3"}) EXPECT_FALSE(ParseTypedPage(text, 7)) << text;
    EXPECT_EQ(ZoomPercentText({1, 7}), "14.29%");
    EXPECT_EQ(PageListEntry(2, 3), "2 / 3");
}

TEST_F(ZoomPageBar, InitFillsTheTableAndOnePage) {
    EXPECT_EQ(controls.zoomEntries.size(), 21u);
    EXPECT_EQ(controls.zoomEntries.front(), "1600%");
    EXPECT_EQ(controls.zoomText, "100%");
    EXPECT_EQ(bar.ZoomIndex(), 9);
    EXPECT_EQ(controls.pageEntries, (std::vector<std::string>{"1 / 1"}));
}

TEST_F(ZoomPageBar, SetZoomSelectsARowOrShowsThePercentage) {
    bar.SetZoom(2, 3);
    EXPECT_EQ(controls.zoomText, "66.67%");
    EXPECT_EQ(bar.ZoomIndex(), 10);
    EXPECT_EQ(Zoom(), (ZoomRatio{2, 3}));  // a row the view did not have is applied
    bar.SetZoom(2, 2);
    EXPECT_EQ(controls.zoomText, "100.00%");
    bar.SetZoom(3, 5);
    EXPECT_EQ(controls.zoomText, "60.00%");
    EXPECT_EQ(bar.ZoomIndex(), 10);
    EXPECT_EQ(bar.Ratio(), (ZoomRatio{3, 5}));
    bar.ShowZoomPercent();
    EXPECT_EQ(controls.zoomText, "60.00%");
}

TEST_F(ZoomPageBar, SetZoomDoesNotApplyTheRatioTheViewHas) {
    core.SetZoom(1, 2);
    const size_t redraws = window.redraws.size();
    bar.SetZoom(1, 2);
    EXPECT_EQ(window.redraws.size(), redraws);
    EXPECT_EQ(controls.zoomText, "50%");
}

TEST_F(ZoomPageBar, ListChoicesTypingAndButtonsChangeTheView) {
    bar.OnZoomSelected(8);
    EXPECT_EQ(Zoom(), (ZoomRatio{2, 1}));
    EXPECT_EQ(bar.ZoomIndex(), 8);
    bar.OnZoomTyped("250");
    EXPECT_EQ(Zoom(), (ZoomRatio{250, 100}));
    EXPECT_EQ(controls.zoomText, "250%");
    EXPECT_EQ(bar.ZoomIndex(), 8);
    // No number: the recorded row and its ratio come back.
    bar.OnZoomTyped("abc");
    EXPECT_EQ(controls.zoomText, "200%");
    EXPECT_EQ(Zoom(), (ZoomRatio{2, 1}));
    bar.OnZoomIn();
    EXPECT_EQ(Zoom(), (ZoomRatio{3, 1}));
    EXPECT_EQ(controls.zoomText, "300%");
    bar.OnZoomOut();
    bar.OnZoomOut();
    EXPECT_EQ(controls.zoomText, "100%");
    bar.OnZoomSelected(-1);
    EXPECT_EQ(controls.zoomText, "100.00%");
}

TEST_F(ZoomPageBar, PagesFollowTheViewAndTypedPagesAreChecked) {
    bar.SetPages(1, 3);
    EXPECT_EQ(controls.pageText, "2 / 3");
    EXPECT_EQ(controls.pageRebuilds, 2);
    bar.SetPages(2, 3);
    EXPECT_EQ(controls.pageRebuilds, 2);  // same count: only selected
    bar.SetPages(7, 3);
    EXPECT_EQ(bar.PageIndex(), 2);

    bar.OnPageSelected(1);
    EXPECT_EQ(core.GetCurrentPage(), 1);
    bar.OnPageTyped("3 / 3");
    EXPECT_EQ(core.GetCurrentPage(), 2);
    EXPECT_EQ(controls.pageText, "3 / 3");
    for (const char* text : {"0", "4", "99999999999"}) {
        bar.OnPageTyped(text);
        EXPECT_EQ(controls.pageSelection, 1) << text;
        EXPECT_EQ(core.GetCurrentPage(), 2);
    }
    bar.OnPageTyped("2x");
    EXPECT_EQ(core.GetCurrentPage(), 1);

    bar.OnNextPage();
    EXPECT_EQ(core.GetCurrentPage(), 2);
    EXPECT_EQ(controls.pageSelection, 2);
    bar.OnNextPage();  // on the last page: nothing
    EXPECT_EQ(core.GetCurrentPage(), 2);
    bar.OnPrevPage();
    EXPECT_EQ(core.GetCurrentPage(), 1);
    EXPECT_EQ(controls.pageSelection, 1);
}

TEST_F(ZoomPageBar, ControlsAreEnabledWhileALayoutIsOpen) {
    EXPECT_TRUE(ZoomPageBarLogic::ControlsEnabled());
    app.active = nullptr;
    EXPECT_FALSE(ZoomPageBarLogic::ControlsEnabled());
}

TEST_F(ZoomPageBar, GoToPageChecksTheRange) {
    GoToPageController dialog;
    dialog.SetPages(2, 4);
    EXPECT_EQ(dialog.InitialText(), "2");
    EXPECT_EQ(dialog.CountText(), "/ 4 Seite");
    for (const char* text : {"0", "5", "abc"}) {
        EXPECT_FALSE(dialog.Accept(text)) << text;
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_EQ(messages.shown.back().id, 10523);
        EXPECT_NE(messages.shown.back().text.find("Gültiger Bereich: 1 Seite - 4 Seite"), std::string::npos)
            << messages.shown.back().text;
    }
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_TRUE(dialog.Accept("3"));
    EXPECT_EQ(dialog.GetPageNumber(), 3);
    EXPECT_EQ(messages.shown.size(), 3u);
}

}  // namespace
}  // namespace vx
