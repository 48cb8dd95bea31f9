#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "ViewFixture.h"
#include "model/Relayout.h"
#include "view/HeaderFooterText.h"
#include "view/TextWork.h"

namespace vx {
namespace {

/// A four-page layout with all three header lines and a fixed clock.
struct Fixture {
    test::PaintHost host;
    std::unique_ptr<CLayoutSetting> layout = test::MakeA4Layout();
    TodaySource previous = SetHeaderFooterClock([] { return CivilDate{2005, 3, 9}; });
    Fixture() {
        layout->SetPageNumber(4);
        layout->SetHeaderShow(1);
        layout->SetHeaderText(1);
        layout->SetHeaderPrintInfo(1);
        layout->SetHeaderDatePage(1);
        layout->Texts().headerText = "Kopf";
        layout->Texts().printerName = "Drucker A";
        layout->Texts().printerProfile = "Profil B";
        host.app.active = layout.get();
    }
    ~Fixture() { SetHeaderFooterClock(previous); }
};

TEST(HeaderFooterText, BuildsTheThreeLinesOfTheBlock) {
    Fixture f;
    FormatHeaderFooterText(*f.layout);
    EXPECT_EQ(f.layout->Texts().extraText1,
              "Kopf\r\nDrucker:Drucker A  Tinte:Farbe  Druckmedium:  Druckprofil:Profil B\r\n"
              "09.03.2005  Page @ / 4\r\n");
    // The footer is built too, though it is off: here it has no lines.
    EXPECT_EQ(f.layout->Texts().extraText2, "");

    // Inks by colour mode; a banner shows page 1.
    f.layout->SetColor(1);
    f.layout->SetBanner(1);
    FormatHeaderFooterText(*f.layout);
    EXPECT_NE(f.layout->Texts().extraText1.find("Tinte:Schwarz"), std::string::npos);
    EXPECT_NE(f.layout->Texts().extraText1.find("Page 1 / 4"), std::string::npos);
    f.layout->SetColor(0x100);
    FormatHeaderFooterText(*f.layout);
    EXPECT_NE(f.layout->Texts().extraText1.find("Tinte:Greyvance Photo"), std::string::npos);

    // Without an active document the print line is empty.
    f.host.app.active = nullptr;
    FormatHeaderFooterText(*f.layout);
    EXPECT_NE(f.layout->Texts().extraText1.find("Kopf\r\n\r\n"), std::string::npos);

    // With neither part shown both texts stay.
    f.layout->SetHeaderShow(0);
    f.layout->Texts().extraText1 = "alt";
    FormatHeaderFooterText(*f.layout);
    EXPECT_EQ(f.layout->Texts().extraText1, "alt");
}

TEST(HeaderFooterText, TodayIsTheLocalDate) {
    Fixture f;
    SetHeaderFooterClock(nullptr);
    // 00:30 local on 2 January is still 1 January in UTC one time zone east.
    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "CET-1", 1);
    tzset();
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 2;
    t.tm_min = 30;
    t.tm_isdst = 0;
    const std::time_t when = std::mktime(&t);
    std::tm utc{};
    gmtime_r(&when, &utc);
    EXPECT_EQ(utc.tm_mday, 1);
    std::tm local{};
    localtime_r(&when, &local);
    EXPECT_EQ(ShortDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}), "02.01.2026");
    // The system clock itself: today's local date.
    FormatHeaderFooterText(*f.layout);
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &local);
    EXPECT_NE(f.layout->Texts().extraText1.find(ShortDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday})),
              std::string::npos);
    if (oldTz) setenv("TZ", saved.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

TEST(HeaderFooterText, RelayoutRebuildsThroughTheViewServices) {
    Fixture f;
    CoreViewServices services;
    ScopedHostService<ViewServices> install{&services};
    UpdateLayoutAndRedraw(*f.layout);
    EXPECT_NE(f.layout->Texts().extraText1.find("09.03.2005  Page @ / 4"), std::string::npos);
    std::string face = "DejaVu Sans";
    bool warn = false;
    EXPECT_TRUE(services.EnsureFontAvailable(face, warn));
}

TEST(HeaderFooterText, PageNumberGoesIntoTheDateLineOnly) {
    const std::string block = "mail@example.de\r\n09.03.2005  Page @ / 3\r\n";
    EXPECT_EQ(NumberedHeaderFooterBlock(block, true, 1), "mail@example.de\r\n09.03.2005  Page 1 / 3\r\n");
    EXPECT_EQ(NumberedHeaderFooterBlock(block, true, 3), "mail@example.de\r\n09.03.2005  Page 3 / 3\r\n");
    EXPECT_EQ(NumberedHeaderFooterBlock(block, false, 3), block);
    EXPECT_EQ(NumberedHeaderFooterBlock("Page @ here\r\n", false, 2), "Page @ here\r\n");
    // The automatic size: never below 20, a percentage of 0 read as 100.
    EXPECT_EQ(AutoHeaderFooterFontSize(330, 110, 3), 100);
    EXPECT_EQ(AutoHeaderFooterFontSize(30, 110, 3), 20);
    EXPECT_EQ(AutoHeaderFooterFontSize(300, 0, 1), 300);
}

TEST(FrameText, SideAndUpsideDownGiveTheAngle) {
    struct Case {
        int side;
        bool upsideDown;
        double angle;
        gfx::RectD box;
    } cases[] = {
        {0, false, 180, {110, 100, 80, 10}},  {0, true, 0, {110, 100, 80, 10}},
        {1, false, 0, {110, 180, 80, 20}},    {1, true, 180, {110, 180, 80, 20}},
        {2, false, 90, {70, 140, 70, 10}},    {2, true, 270, {70, 140, 70, 10}},
        {3, false, -90, {160, 140, 70, 10}},  {3, true, 90, {160, 140, 70, 10}},
    };
    for (const Case& c : cases) {
        FrameTextPlace place;
        // Item (100, 100)-(200, 200); frames left 10, top 10, right 10, bottom 20.
        ASSERT_TRUE(PlaceFrameText(c.side, c.upsideDown, 100, 100, 200, 200, 10, 10, 10, 20, place));
        EXPECT_EQ(place.angle, c.angle) << c.side;
        EXPECT_DOUBLE_EQ(place.box.x, c.box.x) << c.side;
        EXPECT_DOUBLE_EQ(place.box.y, c.box.y) << c.side;
        EXPECT_DOUBLE_EQ(place.box.w, c.box.w) << c.side;
        EXPECT_DOUBLE_EQ(place.box.h, c.box.h) << c.side;
    }
    FrameTextPlace place;
    EXPECT_FALSE(PlaceFrameText(0, false, 100, 100, 200, 200, 10, 0, 10, 20, place));  // no top frame
}

}  // namespace
}  // namespace vx
