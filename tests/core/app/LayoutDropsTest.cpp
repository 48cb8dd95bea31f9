#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../document/DocumentFixtures.h"
#include "../document/LayoutLoadFixtures.h"
#include "app/LayoutDrops.h"
#include "document/LayoutDocument.h"
#include "document/LayoutXmlWriter.h"
#include "model/ImageAdding.h"
#include "model/ObjectList.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/StringTable.h"
#include "support/RecordingHost.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

/// The layout window's document: adds an image item for every file whose outcome is
/// "done", and records what it was asked.
struct FakeDropDocument : DropDocument {
    std::unique_ptr<CLayoutSetting> layout = test::MakeSavableLayout();
    std::map<std::string, int> outcomes;  // by file name; missing: done
    std::vector<std::string> asked;
    std::function<void()> duringAdd;

    FakeDropDocument() {
        layout->RenewViewState();
        layout->SetFree(0);
    }
    CLayoutSetting* Layout() override { return layout.get(); }
    int AddImageFile(const fs::path& path) override {
        const std::string name = path.filename().string();
        asked.push_back(name);
        if (duringAdd) duringAdd();
        const int outcome = outcomes.count(name) ? outcomes[name] : kAddDone;
        if (outcome == kAddDone) test::AddImage(*layout, path.string());
        return outcome;
    }
    int AddImagesFromFolder(const fs::path& folder, bool& stop) override {
        asked.push_back(folder.filename().string() + "/");
        return 0;
    }
    size_t Images() const { return test::Images(*layout).size(); }
};

class LayoutDrop : public test::LayoutLoadTest {
protected:
    LayoutDrop() {
        app.undo = &undo;
        shell.shell.view = &shell.view;
    }
    ~LayoutDrop() override { EXPECT_EQ(AppBusyFlag(), 0) << "the busy flag was left set"; }

    std::vector<int> StatusCodes() const {
        std::vector<int> codes;
        for (const auto& u : status.updates) codes.push_back(u.code);
        return codes;
    }

    UndoStore undo;
    test::RecordingHost shell;
    FakeDropDocument doc;
};

TEST_F(LayoutDrop, TwoImagesAndATextFileEndWithUnsupported) {
    doc.outcomes = {{"notes.txt", kAddNothing}};
    const int result = DropFilesOnLayout(&doc, {Touch("a.jpg"), Touch("b.jpg"), Touch("notes.txt")});
    EXPECT_EQ(result, 3);
    EXPECT_EQ(doc.Images(), 2u);
    EXPECT_EQ(doc.asked, (std::vector<std::string>{"a.jpg", "b.jpg", "notes.txt"}));
    EXPECT_EQ(StatusCodes().back(), kStatusUnsupported);
    // The count shown while loading, and what is left of it: the text file went back.
    EXPECT_EQ(status.updates[0].args, (Args{1LL, 3LL}));
    EXPECT_EQ(doc.layout->GetViewState()->statusA, 2);
    EXPECT_EQ(undo.GetLastUndoCode(), 36);
    EXPECT_TRUE(undo.CanUndo());
    ASSERT_NE(undo.GetUndoLayout(), nullptr);
    EXPECT_EQ(CountObjects(undo.GetUndoLayout()->ItemListHead()), 0) << "undo holds the layout before the drop";
    EXPECT_FALSE(shell.shell.toolBarRefreshes.empty());
}

TEST_F(LayoutDrop, RefusingOutcomesStopAndKeepEarlierImages) {
    const struct Case {
        int outcome;
        int result;
    } cases[] = {{kAddRemovedAgain, 1}, {kAddSizeOutOfRange, 2}, {kAddOutOfMemory, 4}, {kAddItemLimit, 4}};
    const std::vector<fs::path> files = {Touch("a.jpg"), Touch("b.jpg"), Touch("c.jpg")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outcome);
        FakeDropDocument fresh;
        fresh.outcomes = {{"b.jpg", c.outcome}};
        EXPECT_EQ(DropFilesOnLayout(&fresh, files), c.result);
        EXPECT_EQ(fresh.asked, (std::vector<std::string>{"a.jpg", "b.jpg"}));
        EXPECT_EQ(fresh.Images(), 1u);
        EXPECT_EQ(StatusCodes().back(), kStatusReady);
    }
}

TEST_F(LayoutDrop, MissingEntriesAreSkippedAndFoldersWalked) {
    fs::create_directories(root.Path() / "Ordner");
    EXPECT_EQ(DropFilesOnLayout(&doc, {root.Path() / "weg.jpg", root.Path() / "Ordner", Touch("a.jpg")}), 0);
    EXPECT_EQ(doc.asked, (std::vector<std::string>{"Ordner/", "a.jpg"}));
}

TEST_F(LayoutDrop, TheCancelChordStopsAfterTheCurrentFile) {
    progress.cancelAfterChecks = 1;
    EXPECT_EQ(DropFilesOnLayout(&doc, {Touch("a.jpg"), Touch("b.jpg"), Touch("c.jpg")}), 0);
    EXPECT_EQ(doc.asked, (std::vector<std::string>{"a.jpg", "b.jpg"}));
    EXPECT_EQ(doc.Images(), 2u);
    EXPECT_EQ(StatusCodes().back(), kStatusReady);
}

TEST_F(LayoutDrop, QuickPrintPrintsOnceAndLeavesTheLayoutAsBefore) {
    app.preferences.quickPrint = 1;
    app.preferences.confirmationDialogs = 0;
    test::AddImage(*doc.layout, "/alt.jpg");
    DropFilesOnLayout(&doc, {Touch("a.jpg"), Touch("b.jpg")});
    EXPECT_EQ(shell.shell.printNowAt, std::vector<int>{11});
    ASSERT_EQ(doc.Images(), 1u);
    EXPECT_EQ(test::Images(*doc.layout)[0]->GetFilePath(), "/alt.jpg");
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(StatusCodes().back(), kStatusReady);

    // Free layout: nothing is printed and the images stay.
    shell.shell.printNowAt.clear();
    doc.layout->SetFree(1);
    DropFilesOnLayout(&doc, {Touch("c.jpg")});
    EXPECT_TRUE(shell.shell.printNowAt.empty());
    EXPECT_EQ(doc.Images(), 2u);
}

TEST_F(LayoutDrop, ADropWhileBusyOrPrintingChangesNothing) {
    test::AddImage(*doc.layout, "/alt.jpg");
    undo.PushUndo(*doc.layout, 7);
    AppBusyFlag() = 1;
    EXPECT_EQ(DropFilesOnLayout(&doc, {Touch("a.jpg")}), -1);
    EXPECT_EQ(AppBusyFlag(), 1) << "the flag belongs to the command that set it";
    AppBusyFlag() = 0;
    app.importLocked = true;
    EXPECT_EQ(DropFilesOnLayout(&doc, {Touch("a.jpg")}), -1);
    EXPECT_TRUE(doc.asked.empty());
    EXPECT_EQ(doc.Images(), 1u);
    EXPECT_TRUE(undo.CanUndo());
    EXPECT_EQ(undo.GetLastUndoCode(), 7);
    EXPECT_TRUE(status.updates.empty());
    EXPECT_EQ(DropFilesOnLayout(nullptr, {Touch("a.jpg")}), -1);
}

TEST_F(LayoutDrop, TheBusyFlagIsHeldWhileFilesLoad) {
    std::vector<int32_t> seen;
    doc.duringAdd = [&] { seen.push_back(AppBusyFlag()); };
    DropFilesOnLayout(&doc, {Touch("a.jpg"), Touch("b.jpg")});
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 1}));
}

class FrameDrop : public test::LayoutLoadTest {
protected:
    FrameDrop() {
        app.undo = &undo;
        shell.shell.view = &shell.view;
    }
    ~FrameDrop() override { EXPECT_EQ(AppBusyFlag(), 0); }

    void Drop(const std::vector<fs::path>& files) {
        DropFilesOnFrame(files, [&](const fs::path& p) {
            opened.push_back(p.filename().string());
            openedWhileBusy.push_back(AppBusyFlag());
        });
    }

    UndoStore undo;
    test::RecordingHost shell;
    std::vector<std::string> opened;
    std::vector<int32_t> openedWhileBusy;
};

TEST_F(FrameDrop, OnlyTheFirstLayoutFileOpens) {
    Drop({Touch("eins.kqf"), Touch("zwei.kqf"), Touch("drei.KQF")});
    EXPECT_EQ(opened, std::vector<std::string>{"eins.kqf"});
    EXPECT_EQ(openedWhileBusy, std::vector<int32_t>{0});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FrameDrop, AnImageFileIsNotReadable) {
    Drop({Touch("bild.jpg"), Touch("eins.kqf")});
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_FILE_NOT_READABLE});
}

TEST_F(FrameDrop, ClearsTheUndoOfTheOpenLayoutAndIsRefusedWhileBusy) {
    CLayoutSetting layout(true);
    app.active = &layout;
    undo.PushUndo(layout, 7);
    AppBusyFlag() = 1;
    Drop({Touch("eins.kqf")});
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(AppBusyFlag(), 1) << "an ignored drop leaves the flag to its owner";
    EXPECT_FALSE(undo.CanUndo());
    AppBusyFlag() = 0;

    app.importLocked = true;
    undo.PushUndo(layout, 7);
    Drop({Touch("eins.kqf")});
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(undo.CanUndo()) << "a drop during a direct print does not even clear the undo";
}

}  // namespace
}  // namespace vx
