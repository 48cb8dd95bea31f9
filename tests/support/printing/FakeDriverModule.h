#pragma once
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/driver/DriverModule.h"

namespace vx::test {

/// What every fake module loaded through one FakeModuleLocator answers, and what they
/// did: shared, so that a test scripts it before binding and reads it afterwards.
struct FakeDriverState {
    // Script.
    DriverInfo info{0x30, "TEVRA Proof 44"};
    int infoResult = 1;
    std::set<DriverOperation> withheld;  // operations the module lacks
    int openResult = 0;
    int closeResult = 1;
    /// Answers by (item, query); an entry with an empty query answers any query.
    std::map<std::pair<DriverItem, DriverWords>, DriverValue> ranges, data;
    /// GetCommandLevel; an item not listed answers 1 when it has an answer, else -1.
    std::map<DriverItem, int> commandLevels;
    /// Forced results: the first entry matching the call wins. SetData calls that no
    /// entry refuses store their value as the item's data answer.
    struct Failure {
        DriverOperation op;
        std::optional<DriverItem> item;
        int result;
        std::optional<DriverWords> value;  // SetData only: just this value
    };
    std::vector<Failure> failures;
    std::string devMode = "version=1\nmodel=fake\n";
    DeviceCaps caps{720, 720, 5953, 8419, 85, 85, 5783, 7938};
    std::filesystem::path profile = "/fake/icc/Fake.icc";

    // Record.
    std::vector<std::string> log;  // "Load <queue>", "Open <printer> <port> <mode>", "<Operation> <item>" ...
    int modulesHeld = 0;
    int handlesOpen = 0;
    int devicesHeld = 0;
    int lastOpenMode = -1;
    std::optional<std::string> lastOpenSettings;

    bool Logged(const std::string& entry) const;
    /// Sets an item's data answer for any query.
    void SetData(DriverItem item, DriverWords words) { data[{item, {}}] = DriverValue{std::move(words), {}}; }
    void SetRange(DriverItem item, DriverWords words) { ranges[{item, {}}] = DriverValue{std::move(words), {}}; }
};

/// A driver module that answers from a FakeDriverState.
class FakeDriverModule : public DriverModule {
public:
    explicit FakeDriverModule(std::shared_ptr<FakeDriverState> state);
    ~FakeDriverModule() override;

    bool Provides(DriverOperation op) const override;
    int Open(std::string_view printer, std::string_view port, int mode, const std::string* settings,
             DriverHandle& handle) override;
    int GetDriverInfo(DriverHandle handle, DriverInfo& info) override;
    int GetCommandLevel(DriverHandle handle, DriverItem item) override;
    int GetRange(DriverHandle handle, DriverItem item, const DriverWords& query, DriverValue& range) override;
    int GetData(DriverHandle handle, DriverItem item, const DriverWords& query, DriverValue& value) override;
    int SetData(DriverHandle handle, DriverItem item, const DriverWords& value) override;
    std::unique_ptr<PrintDevice> CreateDC(DriverHandle handle) override;
    int ResetDC(DriverHandle handle, PrintDevice& device) override;
    int DeleteDC(DriverHandle handle, std::unique_ptr<PrintDevice> device) override;
    std::string GetDevMode(DriverHandle handle) override;
    int UpdateDevMode(DriverHandle handle, const std::string& settings) override;
    int Close(DriverHandle handle) override;

private:
    void Log(DriverOperation op, std::optional<DriverItem> item = std::nullopt);
    int Answer(DriverOperation op, DriverHandle handle, DriverItem item, const DriverWords& query, DriverValue& value);
    std::optional<int> Forced(DriverOperation op, std::optional<DriverItem> item,
                              const DriverWords* value = nullptr) const;
    bool IsOpen(DriverHandle handle) const { return mHandles.count(handle) != 0; }

    std::shared_ptr<FakeDriverState> mState;
    std::set<DriverHandle> mHandles;
};

}  // namespace vx::test
