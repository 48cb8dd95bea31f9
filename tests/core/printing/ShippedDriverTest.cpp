#include <gtest/gtest.h>

#include <filesystem>

#include "PrinterTestSupport.h"
#include "platform/driver/DescribedModuleLocator.h"
#include "platform/driver/ModelCatalogue.h"
#include "platform/spool/QueueFile.h"
#include "platform/spool/QueueSource.h"
#include "platform/system/Folders.h"
#include "printing/CDriverModule.h"
#include "support/TestFolders.h"

namespace vx::test {
namespace {

using I = DriverItem;
using List = CPrinterManager::OptionList;
constexpr const char* kFileQueue = "TEVRA Proof 44 (Datei)";

std::vector<std::string> Names(const std::vector<OptionEntry>& list) {
    std::vector<std::string> names;
    for (const OptionEntry& e : list) names.push_back(e.name);
    return names;
}

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

TEST_F(ShippedDriver, ReconcilesAFreshLayoutWithTheFileQueue) {
    CPrinterManager manager(SystemQueues(), SystemDriverModules());
    EXPECT_EQ(manager.Printers(), (std::vector<PrinterEntry>{{kFileQueue, "TEVRA Proof 44"}}));
    ASSERT_EQ(manager.SelectPrinter(kFileQueue, -1), 1);
    EXPECT_EQ(Names(manager.List(List::PaperSource)),
              (std::vector<std::string>{"Einzelblatt", "Einzelblatt (randlos)", "Rollenpapier",
                                        "Rollenpapier (randlos)"}));
    EXPECT_EQ(Names(manager.List(List::PaperSize)),
              (std::vector<std::string>{"A4 (210 x 297 mm)", "Letter (8,5 x 11 Zoll)", "A3 (297 x 420 mm)",
                                        "13 x 19 Zoll (329 x 483 mm)", "A2 (420 x 594 mm)", "A1 (594 x 841 mm)",
                                        "24 x 36 Zoll (610 x 914 mm)", "A0 (841 x 1189 mm)", "1118 x 1580 mm"}));
    EXPECT_EQ(Names(manager.List(List::Media)),
              (std::vector<std::string>{"Fotopapier Hochglanz", "Fotopapier Seidenglanz", "Proofpapier Halbmatt",
                                        "Fine-Art-Papier Matt", "Normalpapier"}));
    EXPECT_EQ(manager.List(List::MediaProfile).front().name, "TEVRA Proof 44 Fotopapier Hochglanz.icc");

    CLayoutSetting layout(true);
    layout.SetOrientation(1);
    layout.Texts().printerName = kFileQueue;
    manager.BindLayout(&layout);
    SettingsChangeRecord record;
    ASSERT_TRUE(manager.SyncLayoutAndDriver(&record, true, 0, false, true));

    EXPECT_EQ(layout.Texts().paperSourceName, "Einzelblatt");
    EXPECT_EQ(layout.Texts().paperSizeName, "A4 (210 x 297 mm)");
    EXPECT_EQ(layout.Texts().mediaTypeName, "Fotopapier Hochglanz");
    EXPECT_EQ(layout.Texts().printerModel, "TEVRA Proof 44");
    EXPECT_EQ(layout.GetPaperWidth(), 2100);
    EXPECT_EQ(layout.GetPaperLength(), 2970);
    EXPECT_EQ(layout.GetPaper(), (LayoutPoint{2976, 4209}));
    EXPECT_EQ(layout.GetPageMax(), 50);
    EXPECT_EQ(layout.GetMargin(), (LayoutRect{42, 42, 42, 198}));
    EXPECT_EQ(layout.GetMediaType(), 1);
    EXPECT_EQ(layout.GetColor(), 2);
    EXPECT_EQ(layout.GetAutoMode(), 1);
    SettingsChangeRecord expected;
    for (size_t b : {1, 2, 6, 7, 10}) expected[b] = 1;
    EXPECT_EQ(record, expected);

    std::string settings;
    ASSERT_GT(manager.GetDevMode(&settings), 0);
    std::map<std::string, std::string> fields = RecordFields(settings);
    EXPECT_EQ(fields["source"], "4");
    EXPECT_EQ(fields["paper"], "9");
    EXPECT_EQ(fields["media"], "1");
    EXPECT_EQ(fields["ink"], "2");
    EXPECT_EQ(fields["quality"], "1");
    EXPECT_EQ(fields["orientation"], "1");
    ExpectPrinterInvariant(manager);
}

}  // namespace
}  // namespace vx::test
