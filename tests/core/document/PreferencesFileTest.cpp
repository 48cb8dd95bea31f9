#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "document/PreferencesFile.h"
#include "host/ApplicationState.h"
#include "model/CLayoutSetting.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

// A preferences record with its default layout, and hooks that know one printer.
struct Prefs {
    AppPreferences p;
    CLayoutSetting layout{true};
    std::vector<int> toolWindowCalls;
    PreferencesHooks hooks;

    Prefs() {
        p.defaultLayout = &layout;
        hooks.isSupportedPrinter = [](std::string_view name) { return name == "Proof 44 Halle"; };
        hooks.showToolWindows = [this](const AppPreferences& a) {
            toolWindowCalls.push_back(a.imageInfoWindow + 2 * a.imagePreviewWindow + 4 * a.directPrintWindow);
        };
    }
    void Parse(std::string_view text) { ParsePreferences(text, p, &layout, hooks); }
};

TEST(PreferencesFileText, WritesEveryKeyInOrderWithTabsAndCrLf) {
    Prefs d;
    d.p.imageInfoX = 845;
    d.p.imagePreviewX = 790;
    d.p.directPrintPrinters[2] = "Proof 44 Halle";
    d.layout.SetMargin(LayoutRect{2, 1, 4, 3});
    d.layout.SetMarginShow(1);
    const std::string text = FormatPreferences(d.p, d.layout);
    EXPECT_TRUE(text.starts_with("Header\r\n\tversion:1500\r\n\tplatform:1\r\nUser\r\n\tdefault\r\n\tinfoShow:false\r\n"));
    EXPECT_NE(text.find("\tinfoOrigin:60,845\r\n\tscopeShow:false\r\n\tscopeOrigin:495,790\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tunit:\"mm\"\r\n\tkeyMove:70\r\n\tappStarts:\"New Document\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tconfirmDialogShow:true\r\n\tdirectPrintPrinter1:\"\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tdirectPrintPrinter3:\"Proof 44 Halle\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\tmargin:1,2,3,4\r\n\tmarginShow:true\r\n\tlayoutMarginShow:false\r\n\tdone\r\n"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 7), "\tdone\r\n");
}

TEST(PreferencesFileText, ARewriteReadsBackEqual) {
    Prefs a;
    a.p.imageInfoWindow = 1;
    a.p.imageInfoX = -20;
    a.p.imageInfoY = 300;
    a.p.imagePreviewSize = 512;
    a.p.imagePreviewMode = 2;
    a.p.ruler = 1;
    a.p.gridX = 35;
    a.p.gridY = 140;
    a.p.snapToGrid = 1;
    a.p.startDocument = 1;
    a.p.quickPrint = 1;
    a.p.confirmationDialogs = 0;
    a.p.unit = 2;
    a.p.arrowKeyStep = -5;
    a.p.directPrintPrinters[7] = "Proof 44 Halle";
    a.p.directPrintWindow = 1;
    a.p.directPrintX = 7;
    a.p.directPrintY = 9;
    a.p.highQualityThumbnails = 1;
    a.layout.SetMargin(LayoutRect{10, 20, 30, 40});
    a.layout.SetLayoutMarginShow(1);

    Prefs b;
    b.Parse(FormatPreferences(a.p, a.layout));
    EXPECT_EQ(FormatPreferences(b.p, b.layout), FormatPreferences(a.p, a.layout));
    EXPECT_EQ(b.p.imageInfoX, -20);
    EXPECT_EQ(b.p.gridY, 140);
    EXPECT_EQ(b.p.startDocument, 1);
    EXPECT_EQ(b.layout.GetUnit(), 2);
    EXPECT_EQ(b.layout.GetKeyMove(), -5);
    EXPECT_EQ(b.layout.GetMargin(), (LayoutRect{10, 20, 30, 40}));
    EXPECT_EQ(b.toolWindowCalls, std::vector<int>{1 + 4});
}

// One value line read into fresh defaults; check names what must have happened.
struct LineCase {
    const char* name;
    const char* text;
    std::function<bool(const Prefs&)> check;
};

TEST(PreferencesFileReader, ReadsValueLinesByTheFileRules) {
    const std::vector<LineCase> cases = {
        {"TRUE is true", "User\n\trulerShow:TRUE\n", [](const Prefs& d) { return d.p.ruler == 1; }},
        {"yes is false", "\trulerShow:true\n\trulerShow:yes\n", [](const Prefs& d) { return d.p.ruler == 0; }},
        {"letters, minus, digits", "\tkeyMove:abc-12x\n",
         [](const Prefs& d) { return d.p.arrowKeyStep == -12 && d.layout.GetKeyMove() == -12; }},
        {"pair vertical first", "\tinfoOrigin:100,200\n",
         [](const Prefs& d) { return d.p.imageInfoY == 100 && d.p.imageInfoX == 200; }},
        {"comment changes nothing", "#\trulerShow:true\n# gridShow:true\n",
         [](const Prefs& d) { return d.p.ruler == 0 && d.p.gridShown == 0; }},
        {"unit Inch", "\tunit:\"Inch\"\n", [](const Prefs& d) { return d.p.unit == 2 && d.layout.GetUnit() == 2; }},
        {"unit MM", "\tunit:\"inch\"\n\tunit:\"MM\"\n", [](const Prefs& d) { return d.p.unit == 1; }},
        {"unknown printer empties", "\tdirectPrintPrinter2:\"Fremddrucker\"\n",
         [](const Prefs& d) { return d.p.directPrintPrinters[1].empty(); }},
        {"known printer kept", "\tdirectPrintPrinter2:\"Proof 44 Halle\"\n",
         [](const Prefs& d) { return d.p.directPrintPrinters[1] == "Proof 44 Halle"; }},
        {"digit after key is no key", "\tgridShow1:true\n", [](const Prefs& d) { return d.p.gridShown == 0; }},
        {"blank ends the key", "\tgrid 35,140\n", [](const Prefs& d) { return d.p.gridY == 35 && d.p.gridX == 140; }},
        {"keys are case-sensitive", "\tRulerShow:true\n", [](const Prefs& d) { return d.p.ruler == 0; }},
        {"appStarts any case", "\tappStarts:\"recently edited document\"\n",
         [](const Prefs& d) { return d.p.startDocument == 1; }},
        {"appStarts other", "\tappStarts:\"Irgendwas\"\n", [](const Prefs& d) { return d.p.startDocument == 2; }},
        {"header values ignored", "Header\n\tversion:7\n\trulerShow:true\nUser\n\tgridShow:true\n",
         [](const Prefs& d) { return d.p.version == 1500 && d.p.ruler == 0 && d.p.gridShown == 1; }},
        {"a value under Layout ends reading", "\tgridShow:true\nLayout\n\trulerShow:true\nUser\n\tgridAlign:true\n",
         [](const Prefs& d) { return d.p.gridShown == 1 && d.p.ruler == 0 && d.p.snapToGrid == 0; }},
        {"16-bit field saturates", "\tscopeMode:70000\n", [](const Prefs& d) { return d.p.imagePreviewMode == 32767; }},
        {"margin needs four numbers", "\tmargin:1,2,3\n",
         [](const Prefs& d) { return d.layout.GetMargin() == LayoutRect{}; }},
        {"empty quotes keep the name", "\tdirectPrintPrinter1:\"Proof 44 Halle\"\n\tdirectPrintPrinter1:\"\"\n",
         [](const Prefs& d) { return d.p.directPrintPrinters[0] == "Proof 44 Halle"; }},
        {"no value keeps the name", "\tdirectPrintPrinter1:\"Proof 44 Halle\"\n\tdirectPrintPrinter1:\n",
         [](const Prefs& d) { return d.p.directPrintPrinters[0] == "Proof 44 Halle"; }},
        {"LF-only file, no tabs", "User\ndefault\nquickPrint:true\ngridShow:true\ndone\n",
         [](const Prefs& d) { return d.p.quickPrint == 1 && d.p.gridShown == 1 && d.toolWindowCalls.size() == 1; }},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        Prefs d;
        d.Parse(c.text);
        EXPECT_TRUE(c.check(d));
    }
}

TEST(PreferencesFileReader, TabsAndNoTabsReadTheSame) {
    Prefs written;
    written.p.ruler = 1;
    written.p.gridX = 11;
    written.p.unit = 2;
    std::string tabbed = FormatPreferences(written.p, written.layout);
    std::string plain;
    for (char c : tabbed)
        if (c != '\t') plain += c;
    Prefs a, b;
    a.Parse(tabbed);
    b.Parse(plain);
    EXPECT_EQ(FormatPreferences(a.p, a.layout), FormatPreferences(b.p, b.layout));
    EXPECT_EQ(a.p.gridX, 11);
}

TEST(PreferencesFileText, LineBreaksInNamesSurviveAsTheStoredByte) {
    Prefs a;
    a.p.directPrintPrinters[0] = "Halle\r\nOst";
    const std::string text = FormatPreferences(a.p, a.layout);
    EXPECT_NE(text.find("\tdirectPrintPrinter1:\"Halle\x10Ost\"\r\n"), std::string::npos);
    Prefs b;
    b.hooks.isSupportedPrinter = [](std::string_view) { return true; };
    b.Parse(text);
    EXPECT_EQ(b.p.directPrintPrinters[0], "Halle\r\nOst");
}

TEST(PreferencesFileReader, QuotedTextIsCutAtACharacterBoundary) {
    // 254 ASCII bytes, then "ä" (two bytes): the 255-byte text room cannot hold it whole.
    std::string name(254, 'x');
    name += "\xC3\xA4";
    Prefs d;
    d.hooks.isSupportedPrinter = [](std::string_view) { return true; };
    d.Parse("\tdirectPrintPrinter1:\"" + name + "\"\n");
    EXPECT_EQ(d.p.directPrintPrinters[0], std::string(254, 'x'));
}

TEST(PreferencesFileReader, ALongLineGoesOnAsTheNextLine) {
    // 511 bytes of a comment, then the rest of the physical line is read as a line.
    std::string line = "#" + std::string(510, ' ') + "rulerShow:true\n";
    Prefs d;
    d.Parse(line);
    EXPECT_EQ(d.p.ruler, 1);
}

TEST(PreferencesFileReader, ABannerDefaultLayoutTakesThePrintersPaper) {
    Prefs d;
    d.layout.SetBanner(1);
    d.layout.SetOrientation(1);
    d.layout.SetPaperLength(5000);
    d.layout.SetPaperWidth(4000);
    d.hooks.paperCaps = [](int32_t& length, int32_t& width, int32_t, int32_t, LayoutPoint) {
        length = 1;
        width = 2;
        return 256;
    };
    d.Parse("");
    EXPECT_EQ(d.layout.GetPaperSize(), 256);
    EXPECT_EQ(d.layout.GetPaperLength(), 5000);
    EXPECT_EQ(d.layout.GetPaperWidth(), 4000);
    EXPECT_EQ(d.layout.GetOrientation(), 2);

    Prefs none;
    none.layout.SetBanner(1);
    none.layout.SetOrientation(2);
    none.hooks.paperCaps = [](int32_t&, int32_t&, int32_t, int32_t, LayoutPoint) { return 0; };
    none.Parse("");
    EXPECT_EQ(none.layout.GetOrientation(), 1);
    EXPECT_EQ(none.layout.GetPaperLength(), 2970);
    EXPECT_EQ(none.layout.GetPaperWidth(), 2100);
}

class PreferencesFileOnDisk : public testing::Test {
protected:
    void TearDown() override { FailAtomicWriteStepForTests(AtomicWriteStep::None); }
    test::TestRoot root;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    fs::path file = PreferencesFilePath(root.Path());
};

TEST_F(PreferencesFileOnDisk, AMissingFileIsCreatedEmptyAndTheDefaultsStay) {
    Prefs d;
    EXPECT_EQ(file.filename(), "VellicorEX_Preferences.ini");
    ASSERT_TRUE(LoadPreferences(file, d.p, d.hooks));
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), 0u);
    Prefs fresh;
    EXPECT_EQ(FormatPreferences(d.p, d.layout), FormatPreferences(fresh.p, fresh.layout));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PreferencesFileOnDisk, AFileThatCanNeitherBeReadNorMadeIsReported) {
    Prefs d;
    fs::path inside = root.Path() / "no-folder" / "x.ini";
    EXPECT_FALSE(LoadPreferences(inside, d.p, d.hooks));
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_SAVE_FAILED});
    EXPECT_EQ(messages.shown[0].icon, Icon::Error);

    fs::create_directory(file);  // a folder where the file should be: unreadable
    messages.shown.clear();
    EXPECT_FALSE(LoadPreferences(file, d.p, d.hooks));
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_FILE_READ_FAILED});
}

TEST_F(PreferencesFileOnDisk, SaveAndLoadRoundTrip) {
    Prefs a;
    a.p.gridShown = 1;
    a.p.directPrintPrinters[0] = "Proof 44 Halle";
    ASSERT_TRUE(SavePreferences(file, a.p));
    Prefs b;
    ASSERT_TRUE(LoadPreferences(file, b.p, b.hooks));
    EXPECT_EQ(test::ReadFileBytes(file), FormatPreferences(b.p, b.layout));
    EXPECT_EQ(b.p.directPrintPrinters[0], "Proof 44 Halle");
}

TEST_F(PreferencesFileOnDisk, AFailedSaveKeepsTheOldFile) {
    const std::string old = "User\r\n\trulerShow:true\r\n# mine\r\n";
    test::WriteFileBytes(file, old);
    Prefs d;
    for (AtomicWriteStep step : {AtomicWriteStep::Create, AtomicWriteStep::Write, AtomicWriteStep::Rename}) {
        FailAtomicWriteStepForTests(step);
        messages.shown.clear();
        EXPECT_FALSE(SavePreferences(file, d.p));
        EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_SAVE_FAILED});
        EXPECT_EQ(test::ReadFileBytes(file), old);
    }
    FailAtomicWriteStepForTests(AtomicWriteStep::None);
    std::vector<fs::path> left;
    for (const auto& e : fs::directory_iterator(root.Path())) left.push_back(e.path());
    EXPECT_EQ(left, std::vector<fs::path>{file});
}

TEST_F(PreferencesFileOnDisk, AReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const std::string old = "User\r\n\tgridShow:true\r\n";
    test::WriteFileBytes(file, old);
    fs::permissions(root.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    Prefs d;
    EXPECT_FALSE(SavePreferences(file, d.p));
    fs::permissions(root.Path(), fs::perms::owner_all);
    EXPECT_EQ(test::ReadFileBytes(file), old);
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_SAVE_FAILED});
}

TEST_F(PreferencesFileOnDisk, WithoutADefaultLayoutNothingIsWritten) {
    AppPreferences p;
    EXPECT_TRUE(SavePreferences(file, p));
    EXPECT_FALSE(fs::exists(file));
}

}  // namespace
}  // namespace vx
