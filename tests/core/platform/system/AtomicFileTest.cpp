#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <fstream>

#include "platform/system/AtomicFile.h"
#include "platform/system/IniFile.h"
#include "platform/system/StringTable.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

std::string Read(const fs::path& p) {
    std::string s;
    EXPECT_TRUE(ReadWholeFile(p, s));
    return s;
}

size_t EntriesIn(const fs::path& dir) {
    size_t n = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++n;
    return n;
}

class AtomicWrite : public testing::Test {
protected:
    void TearDown() override { FailAtomicWriteStepForTests(AtomicWriteStep::None); }
    test::TestRoot root;
};

TEST_F(AtomicWrite, ReplacesContentAndKeepsMode) {
    const fs::path f = root.Path() / "layout.kqf";
    ASSERT_TRUE(WriteFileAtomically(f, "old"));
    chmod(f.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(f, "new bytes"));
    EXPECT_EQ(Read(f), "new bytes");
    struct stat st {};
    stat(f.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(EntriesIn(root.Path()), 1u);
}

TEST_F(AtomicWrite, AFailureAtAnyStepKeepsTheOldBytesAndNoTemporaryFile) {
    const fs::path f = root.Path() / "prefs.ini";
    for (AtomicWriteStep step : {AtomicWriteStep::Create, AtomicWriteStep::Write,
                                 AtomicWriteStep::Sync, AtomicWriteStep::Rename}) {
        SCOPED_TRACE(int(step));
        ASSERT_TRUE(WriteFileAtomically(f, "old bytes"));
        FailAtomicWriteStepForTests(step);
        Status st = WriteFileAtomically(f, "new");
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
        EXPECT_EQ(st.stringId, IDS_SAVE_FAILED);
        EXPECT_EQ(Read(f), "old bytes");
        EXPECT_EQ(EntriesIn(root.Path()), 1u);
    }
}

TEST_F(AtomicWrite, MissingFolderFailsAndUnreadableFilesReport) {
    EXPECT_EQ(WriteFileAtomically(root.Path() / "no" / "x", "a").stringId, IDS_SAVE_FAILED);
    std::string s = "unchanged";
    EXPECT_EQ(ReadWholeFile(root.Path() / "missing", s).stringId, IDS_FILE_READ_FAILED);
    EXPECT_EQ(ReadWholeFile(root.Path(), s).stringId, IDS_FILE_READ_FAILED);  // a folder
    EXPECT_EQ(s, "unchanged");
}

TEST(IniFileText, ParsesSectionsKeysAndComments) {
    IniFile ini;
    ini.Parse("\xEF\xBB\xBF; comment\r\n[ENTRY]\r\nEntryNum = 2\r\n\r\n[IMAGE01]\r\nPATH=/a/Größe.jpg\r\n"
              "[image02]\nPATH=C:\\x\\b.tif\nnovalue\n");
    EXPECT_EQ(ini.GetInt("ENTRY", "EntryNum"), 2);
    EXPECT_EQ(ini.GetInt("entry", "entrynum"), 2);
    EXPECT_EQ(ini.GetString("IMAGE01", "PATH"), "/a/Größe.jpg");
    EXPECT_EQ(ini.GetString("IMAGE02", "path"), "C:\\x\\b.tif");
    EXPECT_FALSE(ini.Get("IMAGE03", "PATH"));
    EXPECT_EQ(ini.GetInt("ENTRY", "missing", -1), -1);
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"ENTRY", "IMAGE01", "image02"}));
}

TEST(IniFileText, RewriteChangesOnlyWhatWasSet) {
    IniFile ini;
    ini.Parse("# Einstellungen\n[A]\nx=1\n\n[B]\ny=2\n");
    ini.Set("A", "x", "5");
    ini.Set("a", "z", "neu");
    ini.Set("C", "w", "3");
    EXPECT_TRUE(ini.Remove("B", "Y"));
    EXPECT_FALSE(ini.Remove("B", "y"));
    EXPECT_EQ(ini.Serialise(), "# Einstellungen\n[A]\nx=5\nz=neu\n\n[B]\n[C]\nw=3\n");
    ini.RemoveSection("b");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"A", "C"}));
}

TEST(IniFileText, ColonSeparatedPreferencesWithoutSection) {
    IniFile prefs(':');
    prefs.Parse("#Kommentar\nQuickPrint:1\nDefaultPrinter : TEVRA Proof 44 \n");
    EXPECT_EQ(prefs.GetInt("", "QuickPrint"), 1);
    EXPECT_EQ(prefs.GetString("", "DefaultPrinter"), "TEVRA Proof 44");
    prefs.Set("", "Ruler", "0");
    EXPECT_EQ(prefs.Serialise(), "#Kommentar\nQuickPrint:1\nDefaultPrinter:TEVRA Proof 44\nRuler:0\n");
}

TEST_F(AtomicWrite, IniSaveAndLoadRoundTripAndAFailedSaveKeepsTheFile) {
    const fs::path f = root.Path() / "VellicorEX_TemplatePref.ini";
    IniFile ini;
    ini.Set("USR_TEMPLATE_FOLDER", "UsrTemplate0", "Hochzeit");
    ASSERT_TRUE(ini.Save(f));
    IniFile back;
    ASSERT_TRUE(back.Load(f));
    EXPECT_EQ(back.GetString("USR_TEMPLATE_FOLDER", "UsrTemplate0"), "Hochzeit");

    back.Set("USR_TEMPLATE_FOLDER", "UsrTemplate0", "Anders");
    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    EXPECT_FALSE(back.Save(f));
    FailAtomicWriteStepForTests(AtomicWriteStep::None);
    EXPECT_EQ(Read(f), "[USR_TEMPLATE_FOLDER]\nUsrTemplate0=Hochzeit\n");

    IniFile missing;
    EXPECT_EQ(missing.Load(root.Path() / "none.ini").stringId, IDS_FILE_READ_FAILED);
    EXPECT_TRUE(missing.Sections().empty());
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

bool TmpFileWorks(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

class AtomicWriteTemporaries : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { DisableTmpFileForTests(GetParam()); }
    void TearDown() override {
        DisableTmpFileForTests(false);
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
    }
    test::TestRoot root;
};

TEST_P(AtomicWriteTemporaries, FailuresLeaveTheOldFileAndNothingElse) {
    const fs::path f = root.Path() / "layout.kqf";
    ASSERT_TRUE(WriteFileAtomically(f, "old bytes"));
    chmod(f.c_str(), 0604);
    for (AtomicWriteStep step : {AtomicWriteStep::Create, AtomicWriteStep::Write, AtomicWriteStep::Sync,
                                 AtomicWriteStep::Link, AtomicWriteStep::Rename}) {
        SCOPED_TRACE(int(step));
        FailAtomicWriteStepForTests(step);
        Status st = WriteFileAtomically(f, "new");
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
        // Without O_TMPFILE there is no link step, and the save goes through.
        const bool linkless = step == AtomicWriteStep::Link && (GetParam() || !TmpFileWorks(root.Path()));
        if (linkless) {
            EXPECT_TRUE(st);
            ASSERT_TRUE(WriteFileAtomically(f, "old bytes"));
            continue;
        }
        EXPECT_EQ(st.stringId, IDS_SAVE_FAILED);
        EXPECT_EQ(Read(f), "old bytes");
        EXPECT_EQ(EntriesIn(root.Path()), 1u);
    }
    struct stat st {};
    stat(f.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
}

TEST_P(AtomicWriteTemporaries, ASymlinkedTargetStaysALink) {
    fs::create_directory(root.Path() / "real");
    const fs::path real = root.Path() / "real" / "a.kqf";
    ASSERT_TRUE(WriteFileAtomically(real, "old"));
    chmod(real.c_str(), 0600);
    fs::create_directory_symlink("real", root.Path() / "dirlink");
    fs::create_symlink("dirlink/a.kqf", root.Path() / "first");
    fs::create_symlink(root.Path() / "first", root.Path() / "second");  // a chain

    ASSERT_TRUE(WriteFileAtomically(root.Path() / "second", "new"));
    EXPECT_TRUE(fs::is_symlink(root.Path() / "second"));
    EXPECT_TRUE(fs::is_symlink(root.Path() / "first"));
    EXPECT_EQ(Read(real), "new");
    struct stat st {};
    stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(EntriesIn(root.Path() / "real"), 1u);
    EXPECT_EQ(EntriesIn(root.Path()), 4u);

    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    EXPECT_FALSE(WriteFileAtomically(root.Path() / "second", "lost"));
    EXPECT_EQ(Read(real), "new");
    EXPECT_TRUE(fs::is_symlink(root.Path() / "second"));
    EXPECT_EQ(EntriesIn(root.Path() / "real"), 1u);
}

TEST_P(AtomicWriteTemporaries, AFullFileSizeLimitFailsTheSave) {
    const fs::path f = root.Path() / "big.kqf";
    ASSERT_TRUE(WriteFileAtomically(f, "old"));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(WriteFileAtomically(f, std::string(5000, 'x')) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Read(f), "old");
    EXPECT_EQ(EntriesIn(root.Path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(Both, AtomicWriteTemporaries, testing::Bool(),
                         [](const auto& info) { return info.param ? "NamedTemporary" : "UnnamedTemporary"; });

TEST(AtomicWriteKilled, ASaveKilledBeforeItsRenameLeavesNothing) {
    test::TestRoot root;
    if (!TmpFileWorks(root.Path()))
        GTEST_SKIP() << "the file system of " << root.Path() << " has no O_TMPFILE";
    const fs::path f = root.Path() / "killed.kqf";
    ASSERT_TRUE(WriteFileAtomically(f, "old"));
    for (AtomicWriteStep at : {AtomicWriteStep::Sync, AtomicWriteStep::Link}) {
        static AtomicWriteStep killAt;
        killAt = at;
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SetAtomicWriteStepHookForTests([](AtomicWriteStep step) {
                if (step == killAt) raise(SIGKILL);
            });
            WriteFileAtomically(f, std::string(1 << 20, 'n'));
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(Read(f), "old");
        EXPECT_EQ(EntriesIn(root.Path()), 1u);
    }
}

}  // namespace
}  // namespace vx
