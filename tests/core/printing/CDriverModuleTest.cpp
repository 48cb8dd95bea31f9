#include <gtest/gtest.h>

#include <functional>

#include "printing/CDriverModule.h"
#include "support/printing/FakeModuleLocator.h"
#include "support/printing/FakeQueueSource.h"

namespace vx::test {
namespace {

using I = DriverItem;

// A queue source with "TEVRA 1" (described model) and "other" (a model nobody describes),
// and a locator whose modules share one scripted state.
struct Fakes {
    Fakes() {
        queues.Add("TEVRA 1", "TEVRA Proof 44", "ipp://host/printers/one");
        queues.Add("other", "Printer - IPP Everywhere");
    }
    FakeQueueSource queues;
    FakeModuleLocator modules;
    FakeDriverState& state() { return *modules.state; }
};

struct Held {
    int queues, modules, handles;
    bool operator==(const Held&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Held& h) {
    return os << "{queues " << h.queues << ", modules " << h.modules << ", handles " << h.handles << "}";
}

struct BindRow {
    std::string what;
    std::function<void(Fakes&)> script;
    std::function<int(CDriverModule&)> call;
    int result;
    Held held;
    std::function<void(Fakes&)> check;
};

std::vector<BindRow> BindRows() {
    std::string umlauts;
    for (int i = 0; i < 259; ++i) umlauts += "\xC3\xBC";  // 259 characters, 518 bytes
    std::vector<BindRow> rows = {
        {"name of 259 characters, queue exists", [=](Fakes& f) { f.queues.Add(umlauts, "TEVRA Proof 44"); },
         [=](CDriverModule& m) { return m.Bind(umlauts); }, 0, {1, 1, 0}, nullptr},
        {"name of 260 characters", [](Fakes& f) { f.queues.Add(std::string(260, 'a'), "TEVRA Proof 44"); },
         [](CDriverModule& m) { return m.Bind(std::string(260, 'a')); }, -1, {0, 0, 0},
         [](Fakes& f) { EXPECT_FALSE(f.queues.LookedUp()); }},
        {"unknown queue", nullptr, [](CDriverModule& m) { return m.Bind("missing"); }, -1, {0, 0, 0}, nullptr},
        {"queue whose model has no descriptor", nullptr, [](CDriverModule& m) { return m.Bind("other"); }, -1,
         {0, 0, 0}, [](Fakes& f) { EXPECT_TRUE(f.state().Logged("Load other")); }},
        {"Open answers 5", [](Fakes& f) { f.state().openResult = 5; },
         [](CDriverModule& m) { return m.OpenDriver(0, nullptr, "TEVRA 1"); }, 5, {0, 0, 0}, nullptr},
        {"CloseDriver with no driver handle",
         nullptr, [](CDriverModule& m) { EXPECT_EQ(m.Bind("TEVRA 1"), 0); return m.CloseDriver(); }, 1, {0, 0, 0},
         [](Fakes& f) { EXPECT_FALSE(f.state().Logged("Close")); }},
        {"Close answers 0", [](Fakes& f) { f.state().closeResult = 0; },
         [](CDriverModule& m) { EXPECT_EQ(m.OpenDriver(0, nullptr, "TEVRA 1"), 0); return m.CloseDriver(); }, 0,
         {1, 1, 1}, [](Fakes& f) { EXPECT_TRUE(f.state().Logged("Close")); }},
        {"open, then close", nullptr,
         [](CDriverModule& m) { EXPECT_EQ(m.OpenDriver(0, nullptr, "TEVRA 1"), 0); return m.CloseDriver(); }, 1,
         {0, 0, 0}, nullptr},
        {"a new Bind lets the previous printer go", nullptr,
         [](CDriverModule& m) { EXPECT_EQ(m.OpenDriver(0, nullptr, "TEVRA 1"), 0); return m.Bind("missing"); }, -1,
         {0, 0, 0}, [](Fakes& f) { EXPECT_TRUE(f.state().Logged("Close")); }},
    };
    for (int op = 0; op <= static_cast<int>(DriverOperation::Close); ++op) {
        const auto withheld = static_cast<DriverOperation>(op);
        rows.push_back({std::string("module withholding only ") + DriverOperationName(withheld),
                        [=](Fakes& f) { f.state().withheld = {withheld}; },
                        [](CDriverModule& m) { return m.Bind("TEVRA 1"); }, -1, {0, 0, 0}, nullptr});
    }
    return rows;
}

TEST(CDriverModule, BindsOrFailsAndHoldsOnlyWhatItShould) {
    for (const BindRow& row : BindRows()) {
        SCOPED_TRACE(row.what);
        Fakes f;
        if (row.script) row.script(f);
        CDriverModule module(f.queues, f.modules);
        EXPECT_EQ(row.call(module), row.result);
        EXPECT_EQ((Held{f.queues.HeldQueues(), f.state().modulesHeld, f.state().handlesOpen}), row.held);
        EXPECT_EQ(module.IsBound(), row.held.modules > 0);
        if (row.check) row.check(f);
    }
}

TEST(CDriverModule, ForwardsWithTheDriverHandleAndThePrintersNames) {
    Fakes f;
    f.state().SetData(I::Orientation, {2});
    f.state().SetRange(I::Source, {4, 256});
    CDriverModule module(f.queues, f.modules);
    const std::string saved = "version=1\nmodel=TEVRA Proof 44\n";
    ASSERT_EQ(module.OpenDriver(2, &saved, "TEVRA 1"), 0);
    EXPECT_TRUE(f.state().Logged("Open TEVRA 1 ipp://host/printers/one 2"));
    EXPECT_EQ(f.state().lastOpenSettings, saved);
    EXPECT_EQ(module.PortName(), "ipp://host/printers/one");
    EXPECT_NE(module.Handle(), 0u);

    DriverValue v;
    EXPECT_EQ(module.GetData(I::Orientation, v), 0);
    EXPECT_EQ(v.words, DriverWords{2});
    EXPECT_EQ(module.GetRange(I::Source, v), 0);
    EXPECT_EQ(v.words, (DriverWords{4, 256}));
    EXPECT_EQ(module.GetCommandLevel(I::Source), 1);
    EXPECT_EQ(module.GetCommandLevel(I::Centring), -1);
    EXPECT_EQ(module.SetData(I::Orientation, {1}), 0);
    EXPECT_EQ(module.GetData(I::Orientation, v), 0);
    EXPECT_EQ(v.words, DriverWords{1});
    std::string record;
    EXPECT_EQ(module.GetDevMode(nullptr), static_cast<int>(f.state().devMode.size()));
    const int size = module.GetDevMode(&record);
    EXPECT_EQ(size, static_cast<int>(record.size()));
    EXPECT_EQ(record, f.state().devMode);
    std::unique_ptr<PrintDevice> dc = module.CreateDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(f.state().devicesHeld, 1);
    EXPECT_EQ(module.DeleteDC(std::move(dc)), 1);
    EXPECT_EQ(f.state().devicesHeld, 0);
    EXPECT_EQ(module.CloseDriver(), 1);
}

TEST(CDriverModule, RefusesEveryCallWithoutAnOpenDriverHandle) {
    Fakes f;
    f.state().SetData(I::Orientation, {1});
    CDriverModule module(f.queues, f.modules);
    ASSERT_EQ(module.Bind("TEVRA 1"), 0);  // bound, but no printer open
    DriverInfoRecord info{};
    DriverValue v;
    EXPECT_EQ(module.GetDriverInfo(&info), 0);
    EXPECT_EQ(module.GetCommandLevel(I::Orientation), -1);
    EXPECT_NE(module.GetRange(I::Orientation, v), 0);
    EXPECT_NE(module.GetData(I::Orientation, v), 0);
    EXPECT_NE(module.SetData(I::Orientation, {2}), 0);
    EXPECT_EQ(module.CreateDC(), nullptr);
    EXPECT_EQ(module.DeleteDC(std::make_unique<PrintDevice>(DeviceCaps{}, "")), 0);
    EXPECT_EQ(module.GetDevMode(nullptr), 0);
    EXPECT_EQ(f.state().log, std::vector<std::string>{"Load TEVRA 1"}) << "no call reached the module";
}

TEST(CDriverModule, DriverInfoKeepsTheModelNameWithinThirtyOneBytes) {
    struct Row {
        std::string model, expected;
    };
    const std::string thirty(30, 'x');
    const Row rows[] = {
        {"TEVRA Proof 44", "TEVRA Proof 44"},
        {thirty + "y", thirty + "y"},
        {thirty + "yz", thirty + "y"},
        {thirty + "\xC3\xBC", thirty},  // a character is never cut in two
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.model);
        Fakes f;
        f.state().info = {0x30, row.model};
        CDriverModule module(f.queues, f.modules);
        ASSERT_EQ(module.OpenDriver(0, nullptr, "TEVRA 1"), 0);
        DriverInfoRecord info{};
        std::fill(std::begin(info.model), std::end(info.model), 'Q');
        EXPECT_EQ(module.GetDriverInfo(&info), 1);
        EXPECT_EQ(info.family, kSupportedPrinterFamily);
        EXPECT_EQ(std::string(info.model), row.expected);
    }
}

}  // namespace
}  // namespace vx::test
