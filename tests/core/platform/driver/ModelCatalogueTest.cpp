#include <gtest/gtest.h>

#include "platform/driver/DescribedModuleLocator.h"
#include "platform/driver/ModelCatalogue.h"

namespace vx::test {
namespace {

struct MakeRow {
    const char* makeAndModel;
    const char* model;  // empty: no model named
};

TEST(ModelCatalogue, MakeAndModelNamesADescribedModel) {
    const MakeRow rows[] = {
        {"TEVRA Proof 44", "TEVRA Proof 44"},
        {"tevra proof 44", "TEVRA Proof 44"},
        {"TEVRA Proof 44, 1.0", "TEVRA Proof 44"},
        {"TEVRA Proof 44 (CUPS)", "TEVRA Proof 44"},
        {"TEVRA Proof 440", ""},
        {"TEVRA Proof 44x", ""},
        {"TEVRA Proof 44\xC3\xA4", ""},
        {"TEVRA Proof 4", ""},
        {"TEVRA Proof A3 - CUPS+Gutenprint", "TEVRA Proof A3"},
        {"Printer - IPP Everywhere", ""},
        {"", ""},
    };
    const ModelCatalogue& shipped = ModelCatalogue::Shipped();
    for (const MakeRow& row : rows) {
        SCOPED_TRACE(row.makeAndModel);
        PrintQueue q;
        q.makeAndModel = row.makeAndModel;
        auto m = shipped.ModelForQueue(q);
        EXPECT_EQ(m ? m->name : "", row.model);
    }
}

TEST(ModelCatalogue, TheQueueFilesModelWinsAndTheListedNameIsTheDescriptors) {
    const ModelCatalogue& shipped = ModelCatalogue::Shipped();
    PrintQueue driverless;
    driverless.makeAndModel = "Printer - IPP Everywhere";
    driverless.model = "tevra proof 24";
    ASSERT_NE(shipped.ModelForQueue(driverless), nullptr);
    EXPECT_EQ(shipped.ModelForQueue(driverless)->name, "TEVRA Proof 24");

    PrintQueue mapped;
    mapped.makeAndModel = "TEVRA Proof 44";
    mapped.model = "TEVRA Proof 99";
    EXPECT_EQ(shipped.ModelForQueue(mapped), nullptr) << "the mapping wins, even to an unknown model";

    PrintQueue file;
    file.kind = QueueKind::File;
    file.makeAndModel = "TEVRA Proof 44";
    EXPECT_EQ(shipped.ModelForQueue(file), nullptr) << "a file queue names its model only in Model";

    DescribedModuleLocator locator(shipped);
    EXPECT_EQ(locator.Load(mapped), nullptr);
    EXPECT_NE(locator.Load(driverless), nullptr);
}

}  // namespace
}  // namespace vx::test
