#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/RecentFileList.h"
#include "app/SettingsStore.h"
#include "app/WindowPlacement.h"
#include "platform/system/AtomicFile.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

class SettingsFolder : public testing::Test {
protected:
    void TearDown() override { FailAtomicWriteStepForTests(AtomicWriteStep::None); }
    test::TestRoot root;
    fs::path file = root.Path() / "VellicorEX_Settings.ini";
};

using SettingsStoreTest = SettingsFolder;

TEST_F(SettingsStoreTest, LivesInTheUserFolder) {
    test::ScopedEnv user("VELLICOREX_USER_DIR", root.Path().string());
    SettingsStore store;
    EXPECT_EQ(store.Path(), file);
}

TEST_F(SettingsStoreTest, WritesThroughAndReadsBackInANewStore) {
    {
        SettingsStore store(file);
        EXPECT_TRUE(store.SetInt("Window", "left", -40));
        EXPECT_TRUE(store.SetString("Settings", "WindowPos", "0,1,2,3,4,5,6,7,8,9"));
        EXPECT_TRUE(store.SetSwitch(SettingsStore::kHideQuickTimeAlert, 3));
        EXPECT_TRUE(store.SetSwitch(SettingsStore::kHideUsersAlert, 0xFFFFFFFFu));
    }
    SettingsStore again(file);
    EXPECT_EQ(again.GetInt("Window", "left"), -40);
    EXPECT_EQ(again.GetInt("window", "LEFT"), -40);  // names ignore case, as registry names did
    EXPECT_EQ(again.GetString("Settings", "WindowPos"), "0,1,2,3,4,5,6,7,8,9");
    EXPECT_EQ(again.GetSwitch("HideQTAlert"), 3u);
    EXPECT_EQ(again.GetSwitch("HideUsersAlert"), 0xFFFFFFFFu);
    // The switches lead the file, before any section.
    EXPECT_LT(test::ReadFileBytes(file).find("HideQTAlert=3"), test::ReadFileBytes(file).find("[Window]"));
}

TEST_F(SettingsStoreTest, WhatCannotBeReadIsZero) {
    test::WriteFileBytes(file,
             "HideQTAlert=zwei\nHideHDDSpaceAlert=1x\nHideUsersAlert=-1\n"
             "[Window]\nleft=99999999999\ntop=\nright=12\n");
    SettingsStore store(file);
    EXPECT_EQ(store.GetSwitch("HideQTAlert"), 0u);
    EXPECT_EQ(store.GetSwitch("HideHDDSpaceAlert"), 0u);
    EXPECT_EQ(store.GetSwitch("HideUsersAlert"), 0xFFFFFFFFu);  // the same 32 bits
    EXPECT_EQ(store.GetInt("Window", "left"), 0);
    EXPECT_EQ(store.GetInt("Window", "top", 7), 7);
    EXPECT_EQ(store.GetInt("Window", "right"), 12);
    EXPECT_EQ(store.GetInt("Nowhere", "x"), 0);

    fs::remove(file);
    fs::create_directory(file);  // unreadable: a folder in its place
    SettingsStore broken(file);
    EXPECT_EQ(broken.GetSwitch("HideQTAlert"), 0u);
}

TEST_F(SettingsStoreTest, TextValuesComeBackExactly) {
    const std::vector<std::string> values = {"/home/anna/Layout mit Leerzeichen.kqf ", "  links",
                                             "\"in Anführungszeichen\"", "\"", "a=b;c", ""};
    {
        SettingsStore store(file);
        for (size_t i = 0; i < values.size(); ++i)
            EXPECT_TRUE(store.SetString("Recent File List", "File" + std::to_string(i + 1), values[i]));
        EXPECT_FALSE(store.SetString("Recent File List", "File9", "/a\nFile10=/etc/passwd"));
        EXPECT_FALSE(store.SetString("Recent File List", "File9", "/a\rb"));
        EXPECT_EQ(store.GetString("Recent File List", "File9", "fehlt"), "fehlt");
    }
    SettingsStore again(file);
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.GetString("Recent File List", "File" + std::to_string(i + 1)), values[i]);
    EXPECT_EQ(again.GetString("Recent File List", "File10", "fehlt"), "fehlt");
}

TEST_F(SettingsStoreTest, AFailedWriteIsIgnoredAndKeepsTheFile) {
    SettingsStore store(file);
    ASSERT_TRUE(store.SetSwitch(SettingsStore::kHideDiskSpaceAlert, 1));
    const std::string before = test::ReadFileBytes(file);
    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    EXPECT_FALSE(store.SetSwitch(SettingsStore::kHideDiskSpaceAlert, 0));
    EXPECT_EQ(store.GetSwitch(SettingsStore::kHideDiskSpaceAlert), 0u);  // for this run
    EXPECT_EQ(test::ReadFileBytes(file), before);

    SettingsStore nowhere(root.Path() / "missing" / "s.ini");
    EXPECT_FALSE(nowhere.SetInt("Window", "show", 1));
}

TEST_F(SettingsStoreTest, ABatchWritesOnce) {
    SettingsStore store(file);
    int writes = 0;
    static int* counter = nullptr;
    counter = &writes;
    SetAtomicWriteStepHookForTests([](AtomicWriteStep step) {
        if (step == AtomicWriteStep::Rename) ++*counter;
    });
    EXPECT_TRUE(store.Batch([](SettingsStore& s) {
        EXPECT_TRUE(s.SetInt("Window", "left", 1));
        EXPECT_TRUE(s.SetInt("Window", "top", 2));
        EXPECT_TRUE(s.Remove("Recent File List"));
    }));
    SetAtomicWriteStepHookForTests(nullptr);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(SettingsStore(file).GetInt("Window", "top"), 2);
}

// ---- window placement ----

TEST(WindowPlacementText, TenNumbersRoundTripNineAreIgnored) {
    WindowPlacement p{0, 3, -1, -1, -8, -8, ScreenRect{10, 20, 810, 620}};
    EXPECT_EQ(FormatWindowPlacement(p), "0,3,-1,-1,-8,-8,10,20,810,620");
    EXPECT_EQ(ParseWindowPlacement(FormatWindowPlacement(p)), p);

    const std::vector<std::pair<const char*, bool>> cases = {
        {"0,1,2,3,4,5,6,7,8,9", true},
        {" 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 trailing", true},  // as sscanf: blanks before numbers, rest ignored
        {"0,1,2,3,4,5,6,7,8", false},
        {"0,1,2,3,4,5,6,7,8,", false},
        {"0;1;2;3;4;5;6;7;8;9", false},
        {"0,1,2,3,4,x,6,7,8,9", false},
        {"", false},
    };
    for (const auto& [text, ok] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseWindowPlacement(text).has_value(), ok);
    }
}

using WindowPlacementStore = SettingsFolder;

TEST_F(WindowPlacementStore, TheWindowRectangleWinsOverThePlacement) {
    const std::vector<ScreenRect> displays = {{0, 0, 1280, 1024}};
    SettingsStore store(file);
    EXPECT_FALSE(ReadStartupRect(store, displays).has_value());

    WriteWindowPlacement(store, WindowPlacement{7, 1, 0, 0, 0, 0, ScreenRect{100, 100, 900, 700}});
    EXPECT_EQ(store.GetString("Settings", "WindowPos"), "0,1,0,0,0,0,100,100,900,700");  // flags 0
    EXPECT_EQ(ReadStartupRect(store, displays), (ScreenRect{100, 100, 900, 700}));

    WriteWindowRect(store, ScreenRect{50, 60, 1050, 860}, kShowMaximized);
    SettingsStore again(file);
    EXPECT_EQ(ReadStartupRect(again, displays), (ScreenRect{50, 60, 1050, 860}));
    EXPECT_EQ(ReadShowState(again), kShowMaximized);

    // An empty "Window" rectangle leaves the placement.
    WriteWindowRect(again, ScreenRect{0, 0, 0, 0}, kShowNormal);
    EXPECT_EQ(ReadStartupRect(again, displays), (ScreenRect{100, 100, 900, 700}));
    // Nine numbers: no placement.
    again.SetString("Settings", "WindowPos", "0,1,0,0,0,0,100,100,900");
    EXPECT_FALSE(ReadStartupRect(again, displays).has_value());
}

TEST_F(WindowPlacementStore, TheShowStateDefaultsToNormalAndIsNeverHidden) {
    SettingsStore store(file);
    EXPECT_EQ(ReadShowState(store), kShowNormal);
    store.SetInt("Window", "show", kShowHide);
    EXPECT_EQ(ReadShowState(store), kShowNormal);
    store.SetInt("Window", "show", kShowMinimized);
    EXPECT_EQ(ReadShowState(store), kShowMinimized);
}

TEST(WindowPlacementDisplays, ARectangleOnNoDisplayReturnsToThePrimaryOne) {
    const std::vector<ScreenRect> two = {{0, 0, 1280, 1024}, {1280, 0, 3200, 1080}};
    struct Case {
        const char* name;
        ScreenRect in, out;
    };
    const std::vector<Case> cases = {
        {"on the primary", {100, 100, 900, 700}, {100, 100, 900, 700}},
        {"on the second", {2000, 100, 2800, 700}, {2000, 100, 2800, 700}},
        {"partly visible", {-700, -10, 100, 590}, {-700, -10, 100, 590}},
        {"right of all", {4000, 100, 4800, 700}, {480, 100, 1280, 700}},
        {"above all", {100, -900, 900, -300}, {100, 0, 900, 600}},
        {"larger than the primary", {-5000, -5000, -1000, -3000}, {0, 0, 1280, 1024}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MoveOntoDisplays(c.in, two), c.out);
    }
    EXPECT_EQ(MoveOntoDisplays({4000, 0, 4100, 100}, {}), (ScreenRect{4000, 0, 4100, 100}));
}

// ---- recent files ----

TEST(RecentFiles, MostRecentFirstTenAtMostNoDuplicates) {
    RecentFileList list;
    for (int i = 1; i <= 12; ++i) list.Add("/daten/layout" + std::to_string(i) + ".kqf");
    ASSERT_EQ(list.Size(), 10u);
    EXPECT_EQ(list.At(0), "/daten/layout12.kqf");
    EXPECT_EQ(list.At(9), "/daten/layout3.kqf");
    list.Add("/daten/./layout7.kqf");  // the same file moves up
    EXPECT_EQ(list.Size(), 10u);
    EXPECT_EQ(list.At(0), "/daten/layout7.kqf");
    EXPECT_EQ(list.At(1), "/daten/layout12.kqf");
    list.RemoveFirst();
    EXPECT_EQ(list.At(0), "/daten/layout12.kqf");
    EXPECT_EQ(list.Size(), 9u);

    RecentFileList empty;
    empty.RemoveFirst();
    empty.Add("/daten/zwei\nZeilen.kqf");
    EXPECT_TRUE(empty.Empty());
    empty.Add("relativ.kqf");
    EXPECT_TRUE(empty.At(0).is_absolute());
}

TEST(RecentFiles, TheMenuShowsBareFileNames) {
    RecentFileList list;
    list.Add("/home/anna/Aufträge/Müller & Söhne.kqf");
    list.Add("/tmp/b.kqf");
    EXPECT_EQ(list.MenuText(0), "&1 b.kqf");
    EXPECT_EQ(list.MenuText(1), "&2 Müller && Söhne.kqf");
}

using RecentFilesStore = SettingsFolder;

TEST_F(RecentFilesStore, WrittenAsFile1ToFileNAndReadBack) {
    SettingsStore store(file);
    store.SetString("Recent File List", "File9", "/alt/vergessen.kqf");
    RecentFileList list;
    list.Add("/a/eins.kqf");
    list.Add("/a/zwei.kqf");
    ASSERT_TRUE(list.Write(store));
    EXPECT_EQ(store.GetString("Recent File List", "File1"), "/a/zwei.kqf");
    EXPECT_EQ(store.GetString("Recent File List", "File2"), "/a/eins.kqf");
    EXPECT_EQ(store.GetString("Recent File List", "File9"), "");

    SettingsStore again(file);
    again.SetString("Recent File List", "File5", "/a/zwei.kqf");  // a repeat is read once
    RecentFileList read;
    read.Read(again);
    EXPECT_EQ(read.Entries(), (std::vector<fs::path>{"/a/zwei.kqf", "/a/eins.kqf"}));
}

}  // namespace
}  // namespace vx
