#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/spool/QueueFile.h"
#include "platform/spool/SystemQueueSource.h"
#include "platform/system/Folders.h"
#include "support/TestFolders.h"
#include "support/printing/FakeQueueSource.h"

namespace vx::test {
namespace fs = std::filesystem;
namespace {

struct Expected {
    std::string name;
    QueueKind kind;
    std::string model;
    bool isDefault;
    std::string port;  // empty: not checked
};

struct CupsQueue {
    std::string name;
    bool isDefault = false;
};

struct QueueFileRow {
    const char* what;
    std::optional<std::string> userFile;  // nullopt: the user folder has none
    std::vector<CupsQueue> cups;
    std::vector<Expected> queues;
    std::vector<std::string> leftOut;   // names that must not be found
    std::vector<std::string> messages;  // expected on stderr
};

const QueueFileRow kRows[] = {
    {"none in the user folder: the shipped file is read", std::nullopt, {},
     {{"TEVRA Proof 44 (Datei)", QueueKind::File, "TEVRA Proof 44", true, "/home/tester/VellicorEX Druckausgabe"}},
     {}, {}},
    {"an empty user file: no file queues", "", {}, {}, {"TEVRA Proof 44 (Datei)"}, {}},
    {"a section without Model",
     "[A]\nOutput=/tmp/a\n\n[B]\nModel=TEVRA Proof 44\nOutput=/tmp/b\n", {},
     {{"B", QueueKind::File, "TEVRA Proof 44", false, "/tmp/b"}}, {"A"},
     {"VellicorEX_Queues.ini:1: queue \"A\" left out: no Model"}},
    {"a repeated name: the first stands",
     "[A]\nModel=TEVRA Proof 44\nOutput=/tmp/a\nDefault=1\n[a]\nModel=TEVRA Proof 24\nOutput=/tmp/b\n", {},
     {{"A", QueueKind::File, "TEVRA Proof 44", true, "/tmp/a"}}, {},
     {"VellicorEX_Queues.ini:5: queue \"a\" left out"}},
    {"a relative Output", "[A]\nModel=TEVRA Proof 44\nOutput=Ausgabe\n\n[B]\nModel=X\nOutput=~\n", {}, {},
     {"A", "B"}, {":1: queue \"A\" left out", ":5: queue \"B\" left out"}},
    {"a mapping of an absent CUPS queue", "[gone]\nModel=TEVRA Proof 24\n", {{"present"}},
     {{"present", QueueKind::Cups, "", false, ""}}, {"gone"}, {}},
    {"a mapping of a CUPS queue, names without case", "[Present]\nModel=TEVRA Proof 24\n", {{"present", true}},
     {{"present", QueueKind::Cups, "TEVRA Proof 24", true, ""}}, {}, {}},
    {"a non-ASCII queue name", "[Drucker K\xC3\xBC" "che]\nModel=TEVRA Proof A3\nOutput=/srv/druck\nDefault=1\n", {},
     {{"Drucker K\xC3\xBC" "che", QueueKind::File, "TEVRA Proof A3", true, "/srv/druck"}}, {}, {}},
    {"the CUPS default wins", "[F]\nModel=TEVRA Proof 44\nOutput=/f\nDefault=1\n", {{"c1"}, {"c2", true}},
     {{"c1", QueueKind::Cups, "", false, ""}, {"c2", QueueKind::Cups, "", true, ""},
      {"F", QueueKind::File, "TEVRA Proof 44", false, "/f"}}, {}, {}},
    {"a file queue named like a CUPS queue", "[proof]\nModel=TEVRA Proof 44\nOutput=/x\n", {{"Proof"}},
     {{"Proof", QueueKind::Cups, "", false, ""}}, {}, {"file queue \"proof\" left out"}},
    {"the first Default=1 file queue is the default",
     "\xEF\xBB\xBF; comment\r\n[F1]\r\nModel=TEVRA Proof 44\r\nOutput=/f1\r\n[F2]\r\nModel=TEVRA Proof 24\r\n"
     "Output=/f2\r\nDefault=1\r\n[F3]\r\nModel=TEVRA Proof 24\r\nOutput=/f3\r\nDefault=1\r\n", {},
     {{"F1", QueueKind::File, "TEVRA Proof 44", false, "/f1"}, {"F2", QueueKind::File, "TEVRA Proof 24", true, "/f2"},
      {"F3", QueueKind::File, "TEVRA Proof 24", false, "/f3"}}, {}, {}},
    {"sections that cannot be read",
     "stray line\n[A\nModel=TEVRA Proof 44\nOutput=/a\n[B]\nno separator\nModel=TEVRA Proof 44\nOutput=/b\n"
     "[C]\nModel=TEVRA Proof 44\nModel=TEVRA Proof 24\nOutput=/c\n[]\nModel=TEVRA Proof 44\nOutput=/e\n"
     "[D]\nModel=TEVRA Proof 44\nOutput=/d\nFuture=kept for later\n", {},
     {{"D", QueueKind::File, "TEVRA Proof 44", false, "/d"}}, {"A", "B", "C"},
     {":1: line outside any section", ":2: queue \"A\" left out", ":5: queue \"B\" left out",
      ":9: queue \"C\" left out", ":13: queue \"\" left out"}},
};

TEST(SystemQueueSource, MergesTheQueueFileWithCups) {
    ScopedEnv home("HOME", "/home/tester");
    for (const QueueFileRow& row : kRows) {
        SCOPED_TRACE(row.what);
        const fs::path userFile = UserFolder() / QueueFile::kFileName;
        fs::create_directories(UserFolder());
        fs::remove(userFile);
        if (row.userFile) std::ofstream(userFile, std::ios::binary) << *row.userFile;
        FakeQueueSource cups;
        for (const CupsQueue& c : row.cups) cups.Add(c.name, "Printer - IPP Everywhere").isDefault = c.isDefault;
        SystemQueueSource source(cups);

        testing::internal::CaptureStderr();
        const std::vector<PrintQueue> queues = source.ListQueues();
        const std::string err = testing::internal::GetCapturedStderr();

        ASSERT_EQ(queues.size(), row.queues.size());
        std::string expectedDefault;
        for (size_t i = 0; i < queues.size(); ++i) {
            const Expected& e = row.queues[i];
            SCOPED_TRACE(e.name);
            EXPECT_EQ(queues[i].name, e.name);
            EXPECT_EQ(queues[i].kind, e.kind);
            EXPECT_EQ(queues[i].model, e.model);
            EXPECT_EQ(queues[i].isDefault, e.isDefault);
            if (!e.port.empty()) {
                EXPECT_EQ(queues[i].port, e.port);
            }
            if (e.isDefault) expectedDefault = e.name;
            // A lookup by name finds the queue as the list has it.
            std::optional<PrintQueue> found = source.FindQueue(e.name);
            ASSERT_TRUE(found.has_value());
            EXPECT_EQ(*found, queues[i]);
        }
        EXPECT_EQ(source.DefaultQueueName(), expectedDefault);
        for (const std::string& name : row.leftOut) EXPECT_FALSE(source.FindQueue(name).has_value()) << name;
        for (const std::string& m : row.messages) EXPECT_NE(err.find(m), std::string::npos) << m << "\n" << err;
        if (row.messages.empty()) {
            EXPECT_EQ(err, "");
        }
        fs::remove(userFile);
    }
}

TEST(SystemQueueSource, ReportsABrokenFileOncePerContent) {
    fs::create_directories(UserFolder());
    const fs::path userFile = UserFolder() / QueueFile::kFileName;
    std::ofstream(userFile) << "[A]\nOutput=/a\n";
    FakeQueueSource cups;
    SystemQueueSource source(cups);
    testing::internal::CaptureStderr();
    source.ListQueues();
    source.FindQueue("A");
    source.ListQueues();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "VellicorEX: " + userFile.string() +
                                                          ":1: queue \"A\" left out: no Model\n");
    std::ofstream(userFile) << "[A]\nModel=TEVRA Proof 44\nOutput=/a\n";
    EXPECT_EQ(source.ListQueues().size(), 1u) << "an edited file is read again";
    fs::remove(userFile);
}

}  // namespace
}  // namespace vx::test
