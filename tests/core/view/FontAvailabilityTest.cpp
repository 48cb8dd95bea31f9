#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/Fonts.h"
#include "platform/system/MessagePort.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "view/FontAvailability.h"

namespace vx {
namespace {

const std::vector<std::string> kFamilies = {"@MS Gothic", "Alpha Sans With A Really Long Family Name", "Bitstream Serif",
                                            "DejaVu Sans", "Tahoma"};

TEST(IsFontAvailable, FindsFamiliesIgnoringAsciiCaseAndOffersTheFirstStorableOne) {
    struct Case {
        const char* face;
        bool found;
        const char* after;
    };
    for (const Case& c : std::vector<Case>{{"tahoma", true, "tahoma"},
                                           {"DEJAVU SANS", true, "DEJAVU SANS"},
                                           {"Bitstream Serif", true, "Bitstream Serif"},
                                           {"Tahoma ", false, "Bitstream Serif"},
                                           {"@MS Gothic", false, "Bitstream Serif"},  // vertical faces never match
                                           {"", false, "Bitstream Serif"},
                                           {"Tähoma", false, "Bitstream Serif"}}) {
        SCOPED_TRACE(c.face);
        std::string face = c.face;
        EXPECT_EQ(IsFontAvailable(face, kFamilies), c.found);
        EXPECT_EQ(face, c.after);
    }
    std::string face = "Missing";
    EXPECT_FALSE(IsFontAvailable(face, std::vector<std::string>{"@Only Vertical"}));
    EXPECT_EQ(face, "");
}

TEST(EnsureFontAvailable, SubstitutesTahomaThenItsStandInThenTheFirstFamily) {
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    struct Case {
        std::vector<std::string> families;
        const char* substitute;
    };
    for (const Case& c : std::vector<Case>{{kFamilies, "Tahoma"},
                                           {{"Bitstream Serif", "DejaVu Sans"}, "DejaVu Sans"},
                                           {{"Bitstream Serif", "Courier"}, "Bitstream Serif"}}) {
        SCOPED_TRACE(c.substitute);
        bool warn = false;
        std::string face = "Missing Face";
        EXPECT_FALSE(EnsureFontAvailable(face, warn, c.families));
        EXPECT_EQ(face, c.substitute);
        // The substitute is found next time: a layout saved with it is not warned again.
        EXPECT_TRUE(EnsureFontAvailable(face, warn, c.families));
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST(EnsureFontAvailable, WarnsUntilTheUserAnswersOk) {
    test::RecordingMessagePort messages;
    messages.answers = {kIdCancel, kIdCancel, kIdOk};
    test::ScopedPorts ports(&messages);
    bool warn = true;
    std::string installed = "DejaVu Sans";
    EXPECT_TRUE(EnsureFontAvailable(installed, warn, kFamilies));
    EXPECT_TRUE(messages.shown.empty());

    for (int i = 0; i < 5; ++i) {
        std::string face = "Missing " + std::to_string(i);
        EXPECT_FALSE(EnsureFontAvailable(face, warn, kFamilies));
        EXPECT_EQ(face, "Tahoma");
    }
    ASSERT_EQ(messages.shown.size(), 3u);  // Cancel, Cancel, then OK silences the rest
    EXPECT_FALSE(warn);
    EXPECT_EQ(messages.shown[0].id, 10425);
    EXPECT_EQ(messages.shown[0].text, "Fehlende Schriftarten werden durch Standardsystemschriftarten ersetzt.");
    EXPECT_EQ(messages.shown[0].icon, Icon::Error);
    EXPECT_EQ(messages.shown[0].buttons, Buttons::OkCancel);
}

TEST(EnsureFontAvailable, UsesTheInstalledFamilies) {
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    const auto& families = gfx::FontFamilies();
    if (families.empty()) GTEST_SKIP() << "no fonts installed";
    bool warn = false;
    std::string face = families.front();
    EXPECT_TRUE(EnsureFontAvailable(face, warn));
    face = "No Such Family 7f3a";
    EXPECT_FALSE(EnsureFontAvailable(face, warn));
    std::string again = face;
    EXPECT_TRUE(IsFontAvailable(again));
    if (gfx::IsFamilyInstalled("DejaVu Sans") && !gfx::IsFamilyInstalled("Tahoma")) {
        EXPECT_EQ(face, "DejaVu Sans");
    }
}

}  // namespace
}  // namespace vx
