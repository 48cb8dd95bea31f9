// The program started under a German environment: the toolkit's own texts (its file
// dialogs' buttons and places) come out German, while every number the program formats
// and parses reads as it does under "C".
#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <glib.h>
#include <locale.h>

#include <wx/filedlg.h>
#include <wx/string.h>

#include "../ui/ProgramRun.h"
#include "platform/system/CLocale.h"
#include "platform/system/Format.h"
#include "platform/system/Numbers.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"

namespace fs = std::filesystem;

wxIMPLEMENT_APP_NO_MAIN(CGPApp);

namespace vx::test {
namespace {

constexpr const char* kGerman = "de_DE.UTF-8";

/// What the program and the libraries it calls make of numbers, as text: C's printf and
/// strtod, wx's Format and ToDouble, the program's own formatters and readers.
std::vector<std::string> NumberResults() {
    std::vector<std::string> out;
    char text[96];
    std::snprintf(text, sizeof text, "%.2f %g %.1e", 1234.5, 0.25, 1500.0);
    out.push_back(text);
    out.push_back(FormatFixed(std::strtod("12.75", nullptr), 3));
    out.push_back(FormatFixed(std::atof("0.5,5"), 2));
    out.push_back(std::to_string(2.5));
    out.push_back(FormatFixed(2.5, 1) + " " + FormatC("%.3f mm", 32.0));
    out.push_back(FormatFixed(ParseDouble("1.25").value_or(-1), 2));
    out.push_back(wxString::Format("%.1f", 10.5).ToStdString());
    double parsed = -1;
    const bool read = wxString("3.5").ToDouble(&parsed);
    out.push_back((read ? "read " : "refused ") + FormatFixed(parsed, 2));
    const lconv* conv = std::localeconv();
    out.push_back(std::string("point '") + conv->decimal_point + "' group '" + conv->thousands_sep + "'");
    return out;
}

/// The run under LANG=de_DE.UTF-8, no other locale variable set.
class ProgramLocale : public testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* name : {"LC_ALL", "LANGUAGE", "LC_MESSAGES", "LC_CTYPE", "LC_NUMERIC", "LC_TIME"})
            env.push_back(std::make_unique<ScopedEnv>(name, std::nullopt));
        env.push_back(std::make_unique<ScopedEnv>("LANG", kGerman));
        // The file chooser keeps its settings in memory, not in the user's.
        env.push_back(std::make_unique<ScopedEnv>("GSETTINGS_BACKEND", "memory"));
        run = new ProgramRun();
    }
    static void TearDownTestSuite() {
        delete run;
        run = nullptr;
        env.clear();
    }

    static inline ProgramRun* run = nullptr;
    static inline std::vector<std::unique_ptr<ScopedEnv>> env;
};

TEST_F(ProgramLocale, TheToolkitSpeaksGermanAndNumbersStayAsUnderC) {
    const locale_t german = newlocale(LC_ALL_MASK, kGerman, locale_t(0));
    ASSERT_NE(german, locale_t(0)) << kGerman << " is not installed (scripts/setup generates it)";
    freelocale(german);
    ASSERT_TRUE(fs::exists("/usr/share/locale/de/LC_MESSAGES/gtk30.mo"))
        << "GTK's German texts are missing (scripts/setup installs libgtk-3-common)";
    ASSERT_TRUE(run->Started());

    EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), kGerman);
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    // The file chooser's buttons and places, as GTK translates them.
    EXPECT_STREQ(g_dgettext("gtk30", "_Cancel"), "_Abbrechen");
    EXPECT_STREQ(g_dgettext("gtk30", "_Open"), "Ö_ffnen");
    EXPECT_STREQ(g_dgettext("gtk30", "Other Locations"), "Andere Orte");
    EXPECT_STREQ(g_dgettext("gtk30", "Recent"), "Zuletzt verwendet");
    // The system's error texts, which messages quote, keep their umlauts.
    const std::string reason = std::strerror(EINVAL);
    EXPECT_NE(reason.find("ültig"), std::string::npos) << reason;

    const std::vector<std::string> here = NumberResults();
    std::vector<std::string> underC;
    {
        ScopedCLocale c;
        underC = NumberResults();
    }
    EXPECT_EQ(here, underC);
    EXPECT_EQ(here[0], "1234.50 0.25 1.5e+03");
    EXPECT_EQ(here[1], "12.750");
    EXPECT_EQ(here[7], "read 3.50");
    EXPECT_EQ(here[8], "point '.' group ''");

    // A file dialog of the program's kind, shown for a look.
    wxFileDialog dialog(CMainFrame::Get(), wxString::FromUTF8("Bild laden"), run->Root().string(), "",
                        "JPEG (*.jpg)|*.jpg", wxFD_OPEN);
    dialog.Show();
    Settle(40);
    Shot(wxRect(wxPoint(0, 0), wxGetDisplaySize()), "ui-file-dialog-german.png");
    dialog.Hide();
    Settle(5);
}

}  // namespace
}  // namespace vx::test
