#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/driver/ModelCatalogue.h"
#include "platform/spool/QueueFile.h"
#include "platform/spool/QueueSource.h"
#include "platform/system/Folders.h"
#include "printing/CDriverModule.h"
#include "support/TestFolders.h"

namespace vx::test {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Runs only under run_cups_test.sh, which starts the server and names its queues.
class CupsIntegration : public testing::Test {
protected:
    void SetUp() override {
        if (std::string why = Env("VX_CUPS_SKIP"); !why.empty()) GTEST_SKIP() << why;
        if (Env("VX_CUPS_PPD_QUEUE").empty()) GTEST_SKIP() << "not started by run_cups_test.sh";
        ppd = Env("VX_CUPS_PPD_QUEUE");
        driverless = Env("VX_CUPS_DRIVERLESS_QUEUE");
        uri = Env("VX_CUPS_DEVICE_URI");
        std::filesystem::create_directories(UserFolder());
        std::filesystem::remove(UserFolder() / QueueFile::kFileName);
    }
    void TearDown() override { std::filesystem::remove(UserFolder() / QueueFile::kFileName); }

    static const PrintQueue* Named(const std::vector<PrintQueue>& queues, const std::string& name) {
        for (const PrintQueue& q : queues)
            if (q.name == name) return &q;
        return nullptr;
    }
    static std::string ModelOf(const PrintQueue& q) {
        auto m = ModelCatalogue::Shipped().ModelForQueue(q);
        return m ? m->name : "";
    }

    std::string ppd, driverless, uri;
};

TEST_F(CupsIntegration, ListsTheServersQueuesBesideTheFileQueues) {
    const std::vector<PrintQueue> queues = SystemQueues().ListQueues();
    const PrintQueue* p = Named(queues, ppd);
    const PrintQueue* d = Named(queues, driverless);
    const PrintQueue* f = Named(queues, "TEVRA Proof 44 (Datei)");
    ASSERT_NE(p, nullptr);
    ASSERT_NE(d, nullptr);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(p->kind, QueueKind::Cups);
    EXPECT_EQ(p->makeAndModel, "TEVRA Proof 44");
    EXPECT_EQ(p->port, uri);
    EXPECT_TRUE(p->isDefault);
    EXPECT_EQ(ModelOf(*p), "TEVRA Proof 44");
    EXPECT_EQ(ModelOf(*d), "") << "driverless queues report \"" << d->makeAndModel << "\"";
    EXPECT_EQ(f->kind, QueueKind::File);
    EXPECT_FALSE(f->isDefault) << "CUPS names the default";
    EXPECT_EQ(SystemQueues().DefaultQueueName(), ppd);

    std::optional<PrintQueue> found = SystemQueues().FindQueue(ppd);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, *p);
    // A file queue is looked up past the server without waiting for it.
    const auto start = std::chrono::steady_clock::now();
    found = SystemQueues().FindQueue(f->name);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, *f);
}

TEST_F(CupsIntegration, AQueueFileMappingSupportsTheDriverlessQueue) {
    std::ofstream(UserFolder() / QueueFile::kFileName)
        << "[" << driverless << "]\nModel=TEVRA Proof 24\n\n[" << ppd
        << "]\nModel=TEVRA Proof 44\nOutput=/tmp/shadowed\n\n[Proof 24 Datei]\nModel=TEVRA Proof 24\nOutput=/tmp/vx\n";
    const std::vector<PrintQueue> queues = SystemQueues().ListQueues();
    const PrintQueue* d = Named(queues, driverless);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(ModelOf(*d), "TEVRA Proof 24");
    EXPECT_EQ(Named(queues, "TEVRA Proof 44 (Datei)"), nullptr) << "the user's queue file replaces the shipped one";
    ASSERT_NE(Named(queues, "Proof 24 Datei"), nullptr);
    const PrintQueue* p = Named(queues, ppd);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->kind, QueueKind::Cups) << "a file queue named like a CUPS queue is left out";
    std::optional<PrintQueue> found = SystemQueues().FindQueue(driverless);
    ASSERT_TRUE(found);
    EXPECT_EQ(ModelOf(*found), "TEVRA Proof 24");
}

TEST_F(CupsIntegration, OpensThePpdQueueWithItsDeviceUriAsPort) {
    CDriverModule module;
    ASSERT_EQ(module.OpenDriver(0, nullptr, ppd), 0);
    EXPECT_EQ(module.PortName(), uri);
    DriverInfoRecord info{};
    EXPECT_EQ(module.GetDriverInfo(&info), 1);
    EXPECT_STREQ(info.model, "TEVRA Proof 44");
    EXPECT_EQ(module.CloseDriver(), 1);
    EXPECT_EQ(module.OpenDriver(0, nullptr, driverless), -1);
    EXPECT_FALSE(module.IsBound());
}

TEST_F(CupsIntegration, AnUnreachableServerGivesTheFileQueuesOnlyAndQuickly) {
    ScopedEnv server("CUPS_SERVER", "127.0.0.1:" + Env("VX_CUPS_CLOSED_PORT"));
    const auto start = std::chrono::steady_clock::now();
    const std::vector<PrintQueue> queues = SystemQueues().ListQueues();
    EXPECT_FALSE(SystemQueues().FindQueue(ppd).has_value());
    EXPECT_EQ(SystemQueues().DefaultQueueName(), "TEVRA Proof 44 (Datei)");
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(queues.size(), 1u);
    EXPECT_EQ(queues[0].kind, QueueKind::File);
    EXPECT_TRUE(queues[0].isDefault);
    EXPECT_LT(took, std::chrono::seconds(2));
}

}  // namespace
}  // namespace vx::test
