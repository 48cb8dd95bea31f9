#include <gtest/gtest.h>

#include <filesystem>

#include "platform/driver/ModelCatalogue.h"
#include "platform/spool/QueueFile.h"
#include "platform/spool/QueueSource.h"
#include "platform/system/Folders.h"
#include "printing/CDriverModule.h"
#include "support/TestFolders.h"

namespace vx::test {
namespace {

using I = DriverItem;
constexpr const char* kFileQueue = "TEVRA Proof 44 (Datei)";

// The build's data folder, an empty user folder and no CUPS server.
class ShippedDriver : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove(UserFolder() / QueueFile::kFileName);
        testing::internal::CaptureStderr();
    }
    void TearDown() override { testing::internal::GetCapturedStderr(); }

    TestRoot root;
    ScopedEnv server{"CUPS_SERVER", (root.Path() / "no-cups.sock").string()};
};

TEST_F(ShippedDriver, ListsTheShippedFileQueueAsSupportedDefault) {
    std::vector<PrintQueue> queues = SystemQueues().ListQueues();
    ASSERT_EQ(queues.size(), 1u);
    EXPECT_EQ(queues[0].name, kFileQueue);
    EXPECT_EQ(queues[0].kind, QueueKind::File);
    EXPECT_TRUE(queues[0].isDefault);
    auto model = ModelCatalogue::Shipped().ModelForQueue(queues[0]);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->name, "TEVRA Proof 44");
    EXPECT_EQ(SystemQueues().DefaultQueueName(), kFileQueue);
}

TEST_F(ShippedDriver, OpensTheFileQueueAndLetsEverythingGo) {
    CDriverModule module;
    ASSERT_EQ(module.OpenDriver(0, nullptr, kFileQueue), 0);
    EXPECT_TRUE(std::filesystem::path(module.PortName()).is_absolute());
    DriverInfoRecord info{};
    EXPECT_EQ(module.GetDriverInfo(&info), 1);
    EXPECT_EQ(info.family, 0x30);
    EXPECT_STREQ(info.model, "TEVRA Proof 44");
    std::unique_ptr<PrintDevice> dc = module.CreateDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->Caps().logPixelsX, 720);
    EXPECT_EQ(dc->Caps().physicalWidth, 5953);
    EXPECT_EQ(dc->Caps().physicalHeight, 8419);
    EXPECT_EQ(module.DeleteDC(std::move(dc)), 1);
    EXPECT_EQ(module.CloseDriver(), 1);
    EXPECT_FALSE(module.IsBound());
    EXPECT_EQ(module.Handle(), 0u);
}

TEST_F(ShippedDriver, ASavedRecordReopensTheSameSettingsAndAForeignOneIsRefused) {
    CDriverModule module;
    ASSERT_EQ(module.OpenDriver(0, nullptr, kFileQueue), 0);
    ASSERT_EQ(module.SetData(I::Source, {256}), 0);
    ASSERT_EQ(module.SetData(I::Paper, {605}), 0);
    ASSERT_EQ(module.SetData(I::PrintMode, {1, 2, 3, 1}), 0);
    std::string record;
    ASSERT_GT(module.GetDevMode(&record), 0);
    DriverValue paper, mode;
    ASSERT_EQ(module.GetData(I::Paper, paper), 0);
    ASSERT_EQ(module.GetData(I::PrintMode, mode), 0);
    ASSERT_EQ(module.CloseDriver(), 1);

    ASSERT_EQ(module.OpenDriver(2, &record, kFileQueue), 0);
    DriverValue v;
    EXPECT_EQ(module.GetData(I::Paper, v), 0);
    EXPECT_EQ(v, paper);
    EXPECT_EQ(module.GetData(I::PrintMode, v), 0);
    EXPECT_EQ(v, mode);
    ASSERT_EQ(module.CloseDriver(), 1);

    const std::string foreign = "version=1\nmodel=TEVRA Proof A3\n";
    EXPECT_NE(module.OpenDriver(2, &foreign, kFileQueue), 0);
    EXPECT_FALSE(module.IsBound());
}

}  // namespace
}  // namespace vx::test
