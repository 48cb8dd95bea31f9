#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../document/DocumentFixtures.h"
#include "../document/LayoutLoadFixtures.h"
#include "app/ImageListImport.h"
#include "app/LayoutDrops.h"
#include "document/LayoutDocument.h"
#include "model/ImageAdding.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"
#include "support/RecordingHost.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

struct FakeDocument : DropDocument {
    std::unique_ptr<CLayoutSetting> layout = test::MakeSavableLayout();
    std::map<std::string, int> outcomes;
    std::vector<std::string> asked;

    FakeDocument() {
        layout->RenewViewState();
        layout->SetFree(0);
    }
    CLayoutSetting* Layout() override { return layout.get(); }
    int AddImageFile(const fs::path& path) override {
        asked.push_back(path.filename().string());
        const int outcome = outcomes.count(path.filename().string()) ? outcomes[path.filename().string()] : kAddDone;
        if (outcome == kAddDone) test::AddImage(*layout, path.string());
        return outcome;
    }
    int AddImagesFromFolder(const fs::path&, bool&) override { return 0; }
    size_t Images() const { return test::Images(*layout).size(); }
};

struct FakeHost : ImageListHost {
    FakeDocument* open = nullptr;     // the active document
    FakeDocument* startup = nullptr;  // what OpenStartupLayout makes active
    int startupCalls = 0;
    DropDocument* ActiveDocument() override { return open; }
    bool OpenStartupLayout() override {
        ++startupCalls;
        open = startup;
        return startup != nullptr;
    }
};

class ImageLists : public test::LayoutLoadTest {
protected:
    ImageLists() {
        app.undo = &undo;
        shell.shell.view = &shell.view;
    }
    ~ImageLists() override { EXPECT_EQ(AppBusyFlag(), 0); }

    fs::path List(const std::string& name, const std::string& text) { return WriteText(name, text); }

    UndoStore undo;
    test::RecordingHost shell;
    FakeDocument doc;
    FakeHost host;
};

TEST_F(ImageLists, ListFilesTable) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> files;  // relative to the test root
    } cases[] = {
        {"gaps.ini", "[ENTRY]\nEntryNum=3\n[IMAGE01]\nPATH=/p/a.jpg\n[IMAGE03]\nPATH=/p/c.jpg\n", {"/p/a.jpg", "/p/c.jpg"}},
        {"hundred.ini", "[ENTRY]\nEntryNum=100\n[IMAGE100]\nPATH=/p/h.jpg\n", {"/p/h.jpg"}},
        {"sentinel.ini", "[ENTRY]\nEntryNum=2\n[IMAGE01]\nPATH=zorquint\n[IMAGE02]\nPATH=\"/p/q.jpg\"\n", {"/p/q.jpg"}},
        {"huge.ini", "[entry]\nentrynum=2000000000\n[IMAGE01]\npath=/p/a.jpg\n[IMAGE02]\nPATH=/p/b.jpg\n",
         {"/p/a.jpg", "/p/b.jpg"}},
        {"negative.ini", "[ENTRY]\nEntryNum=-4\n[IMAGE01]\nPATH=/p/a.jpg\n", {}},
        {"sub/relative.ini", "[ENTRY]\nEntryNum=1\n[IMAGE01]\nPATH=bilder\\r.jpg\n", {"sub/bilder/r.jpg"}},
        {"latin1.ini", "[ENTRY]\nEntryNum=1\n[IMAGE01]\nPATH=/p/B\xe4r.jpg\n", {"/p/B\xc3\xa4r.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto files = ReadImageListFile(List(c.name, c.text));
        ASSERT_TRUE(files);
        std::vector<fs::path> expected;
        for (const std::string& f : c.files) expected.push_back(f[0] == '/' ? fs::path(f) : root.Path() / f);
        EXPECT_EQ(*files, expected);
    }
    EXPECT_FALSE(ReadImageListFile(root.Path() / "fehlt.ini"));
    EXPECT_FALSE(ReadImageListFile(List("other.ini", "[Other]\nx=1\n")));
    EXPECT_FALSE(ReadImageListFile(root.Path()));
}

TEST_F(ImageLists, AListIntoTheOpenLayoutAfterYesAndItsFileGoes) {
    host.open = &doc;
    const fs::path list = List("l.ini", "[ENTRY]\nEntryNum=3\n[IMAGE01]\nPATH=" + Touch("a.jpg").string() +
                                            "\n[IMAGE03]\nPATH=" + Touch("c.jpg").string() + "\n");
    messages.answer = kIdYes;
    EXPECT_EQ(ImportImageListFile(host, list), 1);
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_IMPORT_IMAGE_LIST_QUESTION});
    EXPECT_EQ(doc.asked, (std::vector<std::string>{"a.jpg", "c.jpg"}));
    EXPECT_EQ(doc.Images(), 2u);
    EXPECT_FALSE(fs::exists(list));
    EXPECT_EQ(undo.GetLastUndoCode(), 5);
    EXPECT_EQ(host.startupCalls, 0);
}

TEST_F(ImageLists, NoKeepsLayoutAndFileAndBadListsShow10417) {
    host.open = &doc;
    const fs::path list = List("l.ini", "[ENTRY]\nEntryNum=1\n[IMAGE01]\nPATH=/p/a.jpg\n");
    messages.answer = kIdNo;
    EXPECT_EQ(ImportImageListFile(host, list), 0);
    EXPECT_TRUE(doc.asked.empty());
    EXPECT_TRUE(fs::exists(list));

    // Checked before the question; a file that is no list is never deleted.
    messages.shown.clear();
    const fs::path other = List("notes.txt", "hello");
    EXPECT_EQ(ImportImageListFile(host, other), 0);
    EXPECT_EQ(ImportImageListFile(host, root.Path() / "fehlt.ini"), 0);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{IDS_FILE_NOT_READABLE, IDS_FILE_NOT_READABLE}));
    EXPECT_TRUE(fs::exists(other));
}

TEST_F(ImageLists, WithoutALayoutTheStartupLayoutTakesTheList) {
    // None could be opened: nothing is imported and the file stays.
    const fs::path list = List("l.ini", "[ENTRY]\nEntryNum=1\n[IMAGE01]\nPATH=/p/a.jpg\n");
    EXPECT_EQ(ImportImageListFile(host, list), 0);
    EXPECT_EQ(host.startupCalls, 1);
    EXPECT_TRUE(fs::exists(list));

    host.startup = &doc;
    EXPECT_EQ(ImportFileList(host, {Touch("a.jpg"), root.Path() / "ohne", Touch("b.jpg")}), 1);
    EXPECT_TRUE(messages.shown.empty()) << "a new layout is not asked about";
    EXPECT_EQ(doc.asked, (std::vector<std::string>{"a.jpg", "b.jpg"}));
}

TEST_F(ImageLists, RefusingResultsStopTheImport) {
    host.open = &doc;
    messages.answer = kIdYes;
    for (int outcome : {kAddRemovedAgain, kAddSizeOutOfRange, kAddOutOfMemory, kAddItemLimit}) {
        SCOPED_TRACE(outcome);
        FakeDocument fresh;
        host.open = &fresh;
        fresh.outcomes = {{"b.jpg", outcome}};
        EXPECT_EQ(ImportFileList(host, {Touch("a.jpg"), Touch("b.jpg"), Touch("c.jpg")}), 1);
        EXPECT_EQ(fresh.asked, (std::vector<std::string>{"a.jpg", "b.jpg"}));
    }
    // A file that was not taken does not stop it.
    FakeDocument fresh;
    host.open = &fresh;
    fresh.outcomes = {{"b.jpg", kAddNothing}};
    ImportFileList(host, {Touch("a.jpg"), Touch("b.jpg"), Touch("c.jpg")});
    EXPECT_EQ(fresh.asked.size(), 3u);
}

TEST_F(ImageLists, QuickPrintPrintsOnceAndLeavesTheLayoutAsItWas) {
    app.preferences.quickPrint = 1;
    app.preferences.confirmationDialogs = 0;
    host.open = &doc;
    messages.answer = kIdYes;
    test::AddImage(*doc.layout, "/alt.jpg");
    EXPECT_EQ(ImportFileList(host, {Touch("a.jpg"), Touch("b.jpg")}), 1);
    EXPECT_EQ(shell.shell.printNowAt, std::vector<int>{11});
    EXPECT_EQ(doc.Images(), 1u);
    EXPECT_FALSE(undo.CanUndo());

    // Free layout: no print, the images stay.
    shell.shell.printNowAt.clear();
    doc.layout->SetFree(1);
    ImportFileList(host, {Touch("c.jpg")});
    EXPECT_TRUE(shell.shell.printNowAt.empty());
    EXPECT_EQ(doc.Images(), 2u);
}

TEST_F(ImageLists, ADirectPrintLeavesTheListAlone) {
    app.importLocked = true;
    host.open = &doc;
    const fs::path list = List("l.ini", "[ENTRY]\nEntryNum=1\n[IMAGE01]\nPATH=/p/a.jpg\n");
    EXPECT_EQ(ImportImageListFile(host, list), 1);
    EXPECT_TRUE(fs::exists(list));
    EXPECT_TRUE(doc.asked.empty());
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace vx
